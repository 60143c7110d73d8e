#include "items/builtin_items.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

AppPaths Paths() {
  AppPaths paths;
  paths.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
  paths.UserIconFolder = "C:\\Data\\KivoIcons\\";
  paths.UserPicture = "C:\\Data\\KivoIcons\\User Icon.ico";
  return paths;
}

TEST(BuiltInItems, CommandListsTemplatesAndBlankSlots) {
  ShortcutStore store;
  Settings settings;
  DefineBuiltInItems(store, settings, Paths(), "alice", false);

  EXPECT_EQ(store.Items[0].ItemType, kItemUser);
  EXPECT_EQ(store.Items[0].Title, "alice");
  EXPECT_EQ(store.Items[0].IconFile, "");
  EXPECT_EQ(store.Items[2].ItemType, kItemRecycleBin);
  EXPECT_EQ(store.Items[2].IconFile, "C:\\Kivo\\SysIcons\\RecycleEmpty.png");

  const std::pair<int, int> lists[] = {{65, 16}, {81, 14}, {101, 3}};
  for (int g = 0; g < 3; ++g) {
    const auto [first, count] = lists[g];
    EXPECT_EQ(store.Groups[static_cast<std::size_t>(g)].Count, count);
    for (int i = 1; i <= count; ++i) {
      const int item =
          store.Groups[static_cast<std::size_t>(g)].Members[static_cast<std::size_t>(i)];
      EXPECT_EQ(item, first + i - 1);
      EXPECT_EQ(store.Items[static_cast<std::size_t>(item)].ItemType, kItemBuiltInCommand);
      EXPECT_EQ(store.Items[static_cast<std::size_t>(item)].CommandId, item);
      EXPECT_TRUE(store.Items[static_cast<std::size_t>(item)].IsSystem);
    }
  }
  EXPECT_EQ(store.Items[65].Title, "打开alice'的文档");
  EXPECT_EQ(store.Items[72].Title, "总是隐藏桌面图标");
  EXPECT_EQ(store.Items[74].Title, "禁止拖放图标");
  EXPECT_EQ(store.Items[74].IconFile, "C:\\Kivo\\SysIcons\\Lock Dragging.png");

  for (int n = 9; n <= 36; ++n) {
    EXPECT_EQ(store.Items[static_cast<std::size_t>(n)].ItemType, kItemShortcut);
    EXPECT_EQ(store.Items[static_cast<std::size_t>(n)].Title, kBlankShortcutTitle);
  }
  EXPECT_EQ(store.Items[8].ItemType, kItemUnused) << "slots 3..8 are the default groups'";
  EXPECT_EQ(store.Items[500].ItemIndex, 500);
}

TEST(BuiltInItems, FollowTheSettingsAndTheUserPicture) {
  ShortcutStore store;
  Settings settings;
  settings.LockDragging = true;
  settings.HideDesktopIcons = 1;
  DefineBuiltInItems(store, settings, Paths(), "bob", true);
  EXPECT_EQ(store.Items[74].Title, "允许拖放图标");
  EXPECT_EQ(store.Items[74].IconFile, "C:\\Kivo\\SysIcons\\Allow Dragging.png");
  EXPECT_EQ(store.Items[72].Title, "总是显示桌面图标");
  EXPECT_EQ(store.Items[0].IconFile, "C:\\Data\\KivoIcons\\User Icon.ico");
}

}  // namespace
}  // namespace kivo
