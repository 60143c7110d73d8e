#include "items/builtin_items.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(BuiltInItems, CommandListsTemplatesAndBlankSlotsFollowingTheSettings) {
  AppPaths paths;
  paths.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
  paths.UserPicture = "C:\\Data\\KivoIcons\\User Icon.ico";
  ShortcutStore store;
  Settings settings;
  DefineBuiltInItems(store, settings, paths, "alice", false);
  const auto item = [&](int n) -> const ShortcutItem& {
    return store.Items[static_cast<std::size_t>(n)];
  };
  EXPECT_EQ(item(0).ItemType, kItemUser);
  EXPECT_EQ(item(0).Title.str() + item(0).IconFile.str(), "alice");
  EXPECT_EQ(item(2).ItemType, kItemRecycleBin);
  EXPECT_EQ(item(2).IconFile, "C:\\Kivo\\SysIcons\\RecycleEmpty.png");
  for (const auto& [g, first, count] : {std::tuple{0, 65, 16}, {1, 81, 14}, {2, 101, 3}}) {
    const ItemGroup& group = store.Groups[static_cast<std::size_t>(g)];
    EXPECT_EQ(group.Count, count);
    for (int i = 1; i <= count; ++i) {
      const int n = group.Members[static_cast<std::size_t>(i)];
      EXPECT_EQ(n, first + i - 1);
      EXPECT_TRUE(item(n).ItemType == kItemBuiltInCommand && item(n).CommandId == n &&
                  item(n).IsSystem)
          << n;
    }
  }
  EXPECT_EQ(item(65).Title, "打开alice'的文档");
  EXPECT_EQ(item(72).Title.str() + item(74).Title.str() + item(74).IconFile.str(),
            "总是隐藏桌面图标禁止拖放图标C:\\Kivo\\SysIcons\\Lock Dragging.png");
  for (int n = 9; n <= 36; ++n)
    EXPECT_TRUE(item(n).ItemType == kItemShortcut && item(n).Title == kBlankShortcutTitle) << n;
  EXPECT_EQ(item(8).ItemType, kItemUnused) << "slots 3..8 are the default groups'";
  EXPECT_EQ(item(500).ItemIndex, 500);

  settings.LockDragging = true;
  settings.HideDesktopIcons = 1;
  DefineBuiltInItems(store, settings, paths, "bob", true);
  EXPECT_EQ(item(72).Title.str() + item(74).Title.str() + item(74).IconFile.str(),
            "总是显示桌面图标允许拖放图标C:\\Kivo\\SysIcons\\Allow Dragging.png");
  EXPECT_EQ(item(0).IconFile, "C:\\Data\\KivoIcons\\User Icon.ico");
}

}  // namespace
}  // namespace kivo
