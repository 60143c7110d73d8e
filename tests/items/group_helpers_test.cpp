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
  w.settings.IconCount = 12;
  for (int n = 4; n <= 12; ++n) w.Item(n).ItemType = kItemGroup;
  EXPECT_EQ(FindFreeItem(w.store, w.settings.IconCount, 1), 3);
  w.Item(7) = ShortcutItem{};
  w.Item(7).ItemType = kItemRingShortcut;
  w.Item(7).LinkPath = "D:\\a.exe";
  w.Item(7).IconFile = w.paths.UserIconFolder + "3.png";
  w.Item(7).CustomIconFile = w.SysIcon("Google.png");
  w.files.Put(w.Item(7).IconFile, "png");
  w.files.Put(w.SysIcon("Google.png"), "png");
  const std::string cache = IconCacheFolder(w.paths.UserIconFolder);
  const std::string ownCopy = IconCacheFile(cache, w.Item(7).IconFile);
  const std::string ownRingCopy = IconCacheFile(cache, w.Item(7).IconFile, kRingCopySize);
  const std::string sysCopy = IconCacheFile(cache, w.SysIcon("Google.png"));
  for (const std::string& copy : {ownCopy, ownRingCopy, sysCopy}) w.files.Put(copy, "px");

  EXPECT_EQ(DeleteItem(w.context, 7, false), 1);
  EXPECT_EQ(w.Item(7).ItemType, kItemShortcut);
  EXPECT_EQ(w.Item(7).Title, kBlankShortcutTitle);
  EXPECT_EQ(w.Item(7).IconFile, w.SysIcon("Shortcut.png"));
  EXPECT_EQ(w.Item(7).LinkPath, "");
  EXPECT_FALSE(w.files.FileExists(w.paths.UserIconFolder + "3.png"));
  EXPECT_TRUE(w.files.FileExists(w.SysIcon("Google.png"))) << "never the system icon folder";
  EXPECT_FALSE(w.files.FileExists(ownCopy)) << "the small copy goes with its icon";
  EXPECT_FALSE(w.files.FileExists(ownRingCopy)) << "and so does the ring's";
  EXPECT_TRUE(w.files.FileExists(sysCopy));
  EXPECT_EQ(w.images.released, std::vector<int>{7});
  EXPECT_EQ(w.images.loaded.back(), 7);
  EXPECT_TRUE(w.prompts.asked.empty());
  EXPECT_EQ(FindFreeItem(w.store, w.settings.IconCount, 1), 7);

  w.Group(3).Count = 1024;
  w.Item(7).ItemType = kItemGroup;
  EXPECT_EQ(FindFreeItem(w.store, w.settings.IconCount, 1), 0);
}

TEST(DeleteItem, GroupsAskAndFreeTheirMembers) {
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
  w.prompts.asked.clear();
  EXPECT_EQ(DeleteItem(w.context, 6, true), 1);
  EXPECT_TRUE(w.prompts.asked.empty());
}

TEST(DeleteItem, AllProgramsGroupIsEmptiedButStays) {
  ItemWorld w;
  FillGroup(w, 3, 2);
  w.Item(3).ItemType = kItemAllProgramsGroup;
  w.Item(3).LinkPath = "D:\\";
  EXPECT_EQ(DeleteItem(w.context, 3, false), 1);
  EXPECT_EQ(w.prompts.asked.back(), "delete all programs");
  EXPECT_EQ(w.Item(3).ItemType, kItemAllProgramsGroup);
  EXPECT_EQ(w.Item(3).Title, "Docs (空)");
  EXPECT_EQ(w.Item(3).LinkPath, "");
  EXPECT_EQ(w.Group(3).Count, 0);
}

TEST(RemoveGroupMember, ShiftsTheRestAndKeepsTheTitleTrue) {
  ItemWorld w;
  FillGroup(w, 8, 36);
  ASSERT_EQ(w.Item(8).Title, "Docs (满)");
  const int second = w.Group(8).Members[2];
  const int third = w.Group(8).Members[3];
  EXPECT_EQ(DeleteItem(w.context, second, false), 1);
  EXPECT_EQ(w.Group(8).Count, 35);
  EXPECT_EQ(w.Group(8).Members[2], third);
  EXPECT_EQ(w.Group(8).Members[36], 0);
  EXPECT_EQ(w.Item(8).Title, "Docs");
  EXPECT_EQ(w.Item(second).ItemType, kItemUnused);

  ItemWorld one;
  FillGroup(one, 4, 1);
  RemoveGroupMember(one.context, one.Group(4).Members[1]);
  EXPECT_EQ(one.Item(4).Title, "Docs (空)");

  // Not in any group: left alone.
  one.Item(500).ItemType = kItemGroupMember;
  RemoveGroupMember(one.context, 500);
  EXPECT_EQ(one.Item(500).ItemType, kItemGroupMember);
}

TEST(GetDefaultClient, UserChoiceThenSchemeCommand) {
  ItemWorld w;
  const auto text = [](const std::string& s) { return RegistryData{kRegSz, s + '\0'}; };
  EXPECT_EQ(GetDefaultClient(w.context, ClientKind::WebBrowser), "");

  w.registry.Put(RegistryRoot::ClassesRoot, "http\\shell\\open\\command", "",
                 text("\"%SystemRoot%\\browser.EXE\" -nohome \"%1\""));
  EXPECT_EQ(GetDefaultClient(w.context, ClientKind::WebBrowser), "C:\\Windows\\browser.EXE");

  w.registry.Put(RegistryRoot::CurrentUser,
                 "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\"
                 "UserChoice",
                 "Progid", text("FancyHTML"));
  w.registry.Put(RegistryRoot::ClassesRoot, "FancyHTML\\shell\\open\\command", "",
                 text("C:\\Fancy\\fancy.exe --url %1"));
  EXPECT_EQ(GetDefaultClient(w.context, ClientKind::WebBrowser), "C:\\Fancy\\fancy.exe");

  w.registry.Put(RegistryRoot::ClassesRoot, "mailto\\shell\\open\\command", "",
                 text("rundll32 mail.dll"));
  EXPECT_EQ(GetDefaultClient(w.context, ClientKind::Mail), "") << "no program named";
}

}  // namespace
}  // namespace kivo
