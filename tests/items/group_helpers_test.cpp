#include "items/group_helpers.h"

#include <gtest/gtest.h>

#include "item_world.h"
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

// A deleted ring shortcut becomes a blank slot offered again; only its own icons go.
TEST(DeleteItem, RingShortcutLosesOnlyItsOwnIcons) {
  ItemWorld w;
  for (int n = 4; n <= 12; ++n) w.Item(n).ItemType = kItemGroup;
  w.Item(7).ItemType = kItemRingShortcut;
  w.Item(7).IconFile = w.paths.UserIconFolder + "3.png";
  w.Item(7).CustomIconFile = w.SysIcon("Google.png");
  const std::string cache = IconCacheFolder(w.paths.UserIconFolder);
  // The first three go, the system icon and its cached copy stay.
  const std::string files[] = {w.Item(7).IconFile.str(), IconCacheFile(cache, w.Item(7).IconFile),
                               IconCacheFile(cache, w.Item(7).IconFile, kRingCopySize),
                               w.SysIcon("Google.png"),
                               IconCacheFile(cache, w.SysIcon("Google.png"))};
  for (const std::string& file : files) w.files.Put(file, "png");
  EXPECT_EQ(FindFreeItem(w.store, 12, 1), 3);
  EXPECT_EQ(DeleteItem(w.context, 7, false), 1);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(w.files.FileExists(files[i]), i >= 3) << files[i];
  EXPECT_TRUE(w.prompts.asked.empty());
  EXPECT_EQ(FindFreeItem(w.store, 12, 1), 7);
}

TEST(DeleteItem, GroupsAskAndFreeTheirMembersTheAllProgramsGroupStays) {
  ItemWorld w;
  FillGroup(w, 5, 3);
  const ShortcutStore before = w.store;
  for (const bool yes : {false, true}) {
    w.prompts.answer = yes;
    EXPECT_EQ(DeleteItem(w.context, 5, false), yes ? 1 : 0);
    EXPECT_EQ(w.store.Items == before.Items, !yes);
  }
  EXPECT_EQ(w.Group(5).Count, 0);
  for (int m = kFirstUserItem; m < kFirstUserItem + 3; ++m) {
    EXPECT_EQ(w.Item(m).ItemType, kItemUnused);
    EXPECT_FALSE(w.files.FileExists(w.paths.UserIconFolder + std::to_string(m) + ".png"));
  }
  FillGroup(w, 6, 1);
  EXPECT_EQ(DeleteItem(w.context, 6, true), 1);  // quiet: no question
  FillGroup(w, 3, 2);
  w.Item(3).ItemType = kItemAllProgramsGroup;
  EXPECT_EQ(DeleteItem(w.context, 3, false), 1);
  EXPECT_EQ(w.prompts.asked,
            (std::vector<std::string>{"delete group", "delete group", "delete all programs"}));
  EXPECT_EQ(w.Item(3).ItemType, kItemAllProgramsGroup);
  EXPECT_EQ(w.Group(3).Count, 0);
}

TEST(RemoveGroupMember, ShiftsTheRestAndKeepsTheTitleTrue) {
  ItemWorld w;
  FillGroup(w, 8, 36);
  const int second = w.Group(8).Members[2], third = w.Group(8).Members[3];
  EXPECT_EQ(DeleteItem(w.context, second, false), 1);
  EXPECT_EQ(std::tuple(w.Group(8).Count, w.Group(8).Members[2], w.Group(8).Members[36]),
            std::tuple(35, third, 0));
  EXPECT_EQ(w.Item(8).Title, "Docs");
  EXPECT_EQ(w.Item(second).ItemType, kItemUnused);
}

}  // namespace
}  // namespace kivo
