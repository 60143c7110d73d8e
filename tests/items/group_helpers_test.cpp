#include "items/group_helpers.h"

#include <gtest/gtest.h>

#include "item_world.h"
#include "items/builtin_items.h"
#include "items/icon_cache.h"

namespace kivo {
namespace {

using testing::ItemWorld;

// Group `slot` with `count` document members, each with its own icon file.
void FillGroup(ItemWorld& w, int slot, int count) {
  w.MakeGroup(slot, "Docs");
  for (int i = 0; i < count; ++i) {
    const std::string path = "D:\\doc" + std::to_string(slot) + "-" + std::to_string(i);
    w.files.Put(path, "x");
    ASSERT_NE(w.editor.AddToGroup(path, slot), 0);
    const int member = w.Group(slot).Members[static_cast<std::size_t>(i + 1)];
    w.Item(member).IconFile = w.paths.UserIconFolder + std::to_string(member) + ".png";
    w.files.Put(w.Item(member).IconFile, "png");
  }
}

TEST(DeleteItem, RingShortcutBecomesABlankSlotOfferedAgainAndOnlyItsOwnIconsGo) {
  ItemWorld w;
  for (int n = 4; n <= 12; ++n) w.Item(n).ItemType = kItemGroup;
  EXPECT_EQ(FindFreeItem(w.store, 12, 1), 3);
  w.Item(12).ItemType = kItemShortcut;  // the last slot shown is free as well
  EXPECT_EQ(FindFreeItem(w.store, 12, 1), 12);
  w.Item(12).ItemType = kItemGroup;
  w.Item(7) = ShortcutItem{};
  w.Item(7).ItemType = kItemRingShortcut;
  w.Item(7).LinkPath = "D:\\a.exe";
  w.Item(7).IconFile = w.paths.UserIconFolder + "3.png";
  w.Item(7).CustomIconFile = w.SysIcon("Google.png");
  const std::string cache = IconCacheFolder(w.paths.UserIconFolder);
  const std::string ownCopy = IconCacheFile(cache, w.Item(7).IconFile);
  const std::string ownRingCopy = IconCacheFile(cache, w.Item(7).IconFile, kRingCopySize);
  const std::string sysCopy = IconCacheFile(cache, w.SysIcon("Google.png"));
  for (const std::string& file :
       {w.Item(7).IconFile.str(), w.SysIcon("Google.png"), ownCopy, ownRingCopy, sysCopy})
    w.files.Put(file, "png");
  EXPECT_EQ(DeleteItem(w.context, 7, false), 1);
  EXPECT_EQ(w.Item(7).ItemType, kItemShortcut);
  EXPECT_EQ(w.Item(7).Title, kBlankShortcutTitle);
  EXPECT_EQ(w.Item(7).IconFile, w.SysIcon("Shortcut.png"));
  EXPECT_EQ(w.Item(7).LinkPath, "");
  // The own icon and its copies go; never the system icon folder.
  EXPECT_FALSE(w.files.FileExists(w.paths.UserIconFolder + "3.png") ||
               w.files.FileExists(ownCopy) || w.files.FileExists(ownRingCopy));
  EXPECT_TRUE(w.files.FileExists(w.SysIcon("Google.png")) && w.files.FileExists(sysCopy));
  EXPECT_EQ(w.images.released, std::vector<int>{7});
  EXPECT_EQ(w.images.loaded.back(), 7);
  EXPECT_TRUE(w.prompts.asked.empty());
  EXPECT_EQ(FindFreeItem(w.store, 12, 1), 7);
  w.Group(3).Count = 1024;
  w.Item(7).ItemType = kItemGroup;
  EXPECT_EQ(FindFreeItem(w.store, 12, 1), 0);
}

TEST(DeleteItem, GroupsAskAndFreeTheirMembersTheAllProgramsGroupStays) {
  ItemWorld w;
  FillGroup(w, 5, 3);
  const ShortcutStore before = w.store;
  w.prompts.answer = false;
  EXPECT_EQ(DeleteItem(w.context, 5, false), 0);
  EXPECT_EQ(w.store.Items, before.Items);
  w.prompts.answer = true;
  EXPECT_EQ(DeleteItem(w.context, 5, false), 1);
  EXPECT_EQ(w.prompts.asked, (std::vector<std::string>{"delete group", "delete group"}));
  EXPECT_EQ(w.Item(5).ItemType, kItemShortcut);
  EXPECT_EQ(w.Group(5).Count, 0);
  for (int m = kFirstUserItem; m < kFirstUserItem + 3; ++m) {
    EXPECT_EQ(w.Item(m).ItemType, kItemUnused) << "freed for the next shortcut";
    EXPECT_FALSE(w.files.FileExists(w.paths.UserIconFolder + std::to_string(m) + ".png"));
  }
  EXPECT_EQ(FindFreeItem(w.store, 24, 0), kFirstUserItem);
  // Quiet: no question.
  FillGroup(w, 6, 1);
  EXPECT_EQ(DeleteItem(w.context, 6, true), 1);
  EXPECT_EQ(w.prompts.asked.size(), 2u);

  FillGroup(w, 3, 2);
  w.Item(3).ItemType = kItemAllProgramsGroup;
  w.Item(3).LinkPath = "D:\\";
  EXPECT_EQ(DeleteItem(w.context, 3, false), 1);
  EXPECT_EQ(w.prompts.asked.back(), "delete all programs");
  EXPECT_EQ(w.Item(3).ItemType, kItemAllProgramsGroup);
  EXPECT_EQ(w.Item(3).Title.str() + w.Item(3).LinkPath.str(), "Docs (空)");
  EXPECT_EQ(w.Group(3).Count, 0);
}

TEST(RemoveGroupMember, ShiftsTheRestAndKeepsTheTitleTrue) {
  ItemWorld w;
  FillGroup(w, 8, 36);
  ASSERT_EQ(w.Item(8).Title, "Docs (满)");
  const int second = w.Group(8).Members[2], third = w.Group(8).Members[3];
  EXPECT_EQ(DeleteItem(w.context, second, false), 1);
  EXPECT_EQ(w.Group(8).Count, 35);
  EXPECT_EQ(w.Group(8).Members[2], third);
  EXPECT_EQ(w.Group(8).Members[36], 0);
  EXPECT_EQ(w.Item(8).Title, "Docs");
  EXPECT_EQ(w.Item(second).ItemType, kItemUnused);
  FillGroup(w, 4, 1);
  RemoveGroupMember(w.context, w.Group(4).Members[1]);
  EXPECT_EQ(w.Item(4).Title, "Docs (空)");
  // Not in any group: left alone.
  w.Item(500).ItemType = kItemGroupMember;
  RemoveGroupMember(w.context, 500);
  EXPECT_EQ(w.Item(500).ItemType, kItemGroupMember);
}

}  // namespace
}  // namespace kivo
