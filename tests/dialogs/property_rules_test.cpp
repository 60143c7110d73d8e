#include "dialogs/property_rules.h"

#include <gtest/gtest.h>

#include "item_world.h"
#include "items/builtin_items.h"

namespace kivo {
namespace {

using testing::ItemWorld;

class ScriptedQuestions : public PropertyPrompts {
 public:
  bool Ask(const ShellMessage& question) override {
    asked.push_back(question.text);
    return answer;
  }
  void Tell(const ShellMessage& message) override { told.push_back(message.text); }
  bool answer = true;
  std::vector<std::string> asked;
  std::vector<std::string> told;
};

bool SameStore(const ShortcutStore& a, const ShortcutStore& b) {
  return a.Items == b.Items && a.Groups == b.Groups;
}

struct PropertyWorld : ItemWorld {
  PropertyWorld() {
    files.WriteFileFlushed("C:\\Windows\\notepad.exe", "MZ");
    files.WriteFileFlushed("C:\\Tools\\calc.exe", "MZ");
    icons.good = {"C:\\WINDOWS\\NOTEPAD.EXE", "C:\\TOOLS\\CALC.EXE", "C:\\PICS\\STAR.PNG"};
    files.WriteFileFlushed("C:\\Pics\\star.png", "png");
    for (int n = 4; n <= kLastRingGroup; ++n) MakeBlankShortcut(Item(n), paths);
    Item(3).ItemType = kItemAllProgramsGroup;
    Item(2).ItemType = kItemRecycleBin;
    files.WriteFileFlushed("C:\\Browser\\browse.exe", "MZ");
    registry.Put(RegistryRoot::ClassesRoot, "http\\shell\\open\\command", "",
                 RegistryData{kRegSz, std::string("\"C:\\Browser\\browse.exe\" %1") + '\0'});
    files.WriteFileFlushed("C:\\Mail\\mail.exe", "MZ");
    registry.Put(RegistryRoot::ClassesRoot, "mailto\\shell\\open\\command", "",
                 RegistryData{kRegSz, std::string("C:\\Mail\\mail.exe %1") + '\0'});
  }
  // A shortcut in ring slot `slot`, made from a path as a drop would.
  void RingShortcut(int slot, const std::string& path) {
    ASSERT_EQ(editor.AddToGroup(path, slot), slot);
  }
  // A group in `slot` with one member made from `path`; returns the member.
  int GroupWithMember(int slot, const std::string& path) {
    MakeGroup(slot, "Tools");
    return editor.AddToGroup(path, slot);
  }
  PropertyEditor Edit(int member, int slot, int position = -1) {
    return PropertyEditor(context, ItemMenuContext{member, slot, position}, false, questions, 6);
  }
  PropertyEditor Add(int slot) {
    return PropertyEditor(context, ItemMenuContext{slot, slot, -1}, true, questions, 6);
  }
  ScriptedQuestions questions;
};

PropertyInput InputFrom(const PropertyView& v) {
  return PropertyInput{v.title, v.link, v.arguments, v.runWindow, v.target};
}

TEST(LinkKindCaptions, ExactTextsInBothModes) {
  const auto add = LinkKindCaptions(true);
  const auto replace = LinkKindCaptions(false);
  EXPECT_EQ(add[0], "Add New 'Internet' Shortcut");
  EXPECT_EQ(add[1], "Add New 'Check Email' Shortcut");
  EXPECT_EQ(add[2], "Add New 'System Folders & Drives Group'");
  EXPECT_EQ(add[3], "Add New 'Accessories Group'");
  EXPECT_EQ(add[4], "Add New 'Microsoft Office Suite Group'");
  EXPECT_EQ(add[5], "Add New 'Website Group'");
  for (std::size_t i = 0; i < add.size(); ++i) {
    EXPECT_EQ(replace[i], "Replace by  New " + add[i].substr(std::string("Add New ").size()));
  }
}

TEST(PropertyTypeOf, EveryKindCode) {
  const std::pair<int, PropertyType> table[] = {
      {0, PropertyType::Shortcut}, {1, PropertyType::Shortcut}, {2, PropertyType::Shortcut},
      {4, PropertyType::Group},    {5, PropertyType::Shortcut}, {6, PropertyType::System},
      {9, PropertyType::System},   {10, PropertyType::System},  {11, PropertyType::System},
      {12, PropertyType::System}};
  for (const auto& [kind, type] : table) EXPECT_EQ(PropertyTypeOf(kind), type) << kind;
}

TEST(Reload, WhatEachEntryMayUse) {
  PropertyWorld w;
  w.RingShortcut(10, "C:\\Windows\\notepad.exe");
  const int member = w.GroupWithMember(12, "C:\\Tools\\calc.exe");
  ASSERT_GT(member, 128);
  struct Case {
    int member, slot;
    PropertyType type;
    std::array<bool, 3> typeEnabled;
    bool linkEnabled, linkKinds;
  };
  const Case cases[] = {
      {10, 10, PropertyType::Shortcut, {true, true, false}, true, true},
      // A popup row can never become a group: it has no member list of its own.
      {member, 12, PropertyType::Shortcut, {true, false, false}, true, true},
      {12, 12, PropertyType::Group, {true, true, false}, false, true},
      {3, 3, PropertyType::System, {false, false, true}, false, false},
      {2, 2, PropertyType::System, {false, false, true}, false, false},
  };
  for (const Case& c : cases) {
    const PropertyView v = w.Edit(c.member, c.slot).Reload();
    EXPECT_EQ(v.caption, "Properties");
    EXPECT_EQ(v.type, c.type) << c.member;
    EXPECT_EQ(v.typeEnabled, c.typeEnabled) << c.member;
    EXPECT_EQ(v.linkEnabled, c.linkEnabled) << c.member;
    EXPECT_EQ(v.argumentsEnabled, c.linkEnabled) << c.member;
    EXPECT_EQ(v.linkKindsEnabled, c.linkKinds) << c.member;
  }
  const PropertyView shortcut = w.Edit(10, 10).Reload();
  EXPECT_EQ(shortcut.link, "C:\\Windows\\notepad.exe");
  EXPECT_EQ(shortcut.title, "notepad");
  const PropertyView add = w.Add(12).Reload();
  EXPECT_EQ(add.caption, "Add Shortcut");
  EXPECT_EQ(add.typeEnabled, (std::array<bool, 3>{false, false, false}));
  EXPECT_EQ(add.iconEnabled, (std::array<bool, 3>{false, false, false}));
  EXPECT_TRUE(add.linkEnabled && add.title.empty());
}

TEST(OkEditMode, TypedFieldsSurviveTheRebuildAndTheCustomIconStays) {
  PropertyWorld w;
  w.RingShortcut(10, "C:\\Windows\\notepad.exe");
  PropertyEditor editor = w.Edit(10, 10);
  ASSERT_TRUE(editor.ChangeIcon("C:\\Pics\\star.png"));
  const std::string custom = w.Item(10).CustomIconFile.str();
  ASSERT_TRUE(custom.starts_with(w.paths.UserIconFolder));

  PropertyInput input = InputFrom(editor.Reload());
  input.title = "My Editor";
  input.arguments = "-n readme.txt";
  input.runWindow = 2;
  input.target = "C:\\Windows\\notepad.exe ";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  const ShortcutItem& item = w.Item(10);
  EXPECT_EQ(item.Title.str(), "My Editor");
  EXPECT_EQ(item.Arguments.str(), "-n readme.txt");
  EXPECT_EQ(item.RunWindow, 2);
  EXPECT_EQ(item.LinkPath.str(), "C:\\Windows\\notepad.exe");
  EXPECT_EQ(item.CustomIconFile.str(), custom);
  EXPECT_TRUE(w.files.FileExists(custom)) << "the user's picture is not deleted";
  EXPECT_EQ(w.images.loaded.back(), 10) << "images reloaded with the custom icon";

  // A typed target wins over the one the rebuild found.
  input = InputFrom(editor.Reload());
  input.target = "C:\\Tools\\calc.exe";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  EXPECT_EQ(w.Item(10).TargetPath.str(), "C:\\Tools\\calc.exe");
  EXPECT_EQ(w.Item(10).Arguments.str(), "-n readme.txt") << "unchanged fields stay as stored";
}

TEST(OkEditMode, ANewPathBringsItsOwnTargetWhenTheTargetWasNotTouched) {
  PropertyWorld w;
  w.RingShortcut(10, "C:\\Windows\\notepad.exe");
  PropertyEditor editor = w.Edit(10, 10);
  PropertyInput input = InputFrom(editor.Reload());
  input.link = "C:\\Tools\\calc.exe";
  input.title = "";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  EXPECT_EQ(w.Item(10).TargetPath.str(), "C:\\Tools\\calc.exe");
  EXPECT_EQ(w.Item(10).Title.str(), "calc");
}

TEST(OkEditMode, NoUsablePathWritesNothing) {
  PropertyWorld w;
  w.RingShortcut(10, "C:\\Windows\\notepad.exe");
  const ShortcutStore before = w.store;
  PropertyEditor editor = w.Edit(10, 10);
  PropertyInput input = InputFrom(editor.Reload());
  input.link = "C:\\nowhere\\gone.exe";
  input.target = "D:\\missing.exe";
  input.title = "Changed";
  EXPECT_EQ(editor.Ok(input), OkResult::NotSaved);
  EXPECT_TRUE(SameStore(w.store, before));
  // The target text serves when the link text names nothing.
  input.target = "C:\\Tools\\calc.exe";
  EXPECT_EQ(editor.Ok(input), OkResult::Saved);
  EXPECT_EQ(w.Item(10).LinkPath.str(), "C:\\Tools\\calc.exe");
}

TEST(OkAddMode, ABlankOrShortcutSlotIsFilledItself) {
  PropertyWorld w;
  PropertyEditor add = w.Add(11);
  PropertyInput input = InputFrom(add.Reload());
  input.link = "C:\\Tools\\calc.exe";
  input.arguments = "/s";
  ASSERT_EQ(add.Ok(input), OkResult::Saved);
  EXPECT_EQ(add.item(), 11);
  EXPECT_EQ(w.Item(11).ItemType, kItemRingShortcut);
  EXPECT_EQ(w.Item(11).Arguments.str(), "/s");
  EXPECT_EQ(w.Group(11).Count, 0) << "no member list nobody shows";
  for (int n = kFirstUserItem; n <= kLastItem; ++n) ASSERT_EQ(w.Item(n).ItemType, 0) << n;

  // A shortcut slot is replaced only after the question.
  w.prompts.answer = false;
  PropertyEditor again = w.Add(11);
  input.link = "C:\\Windows\\notepad.exe";
  EXPECT_EQ(again.Ok(input), OkResult::NotSaved);
  EXPECT_EQ(w.prompts.asked, (std::vector<std::string>{"replace"}));
  EXPECT_EQ(w.Item(11).LinkPath.str(), "C:\\Tools\\calc.exe");
  w.prompts.answer = true;
  EXPECT_EQ(again.Ok(input), OkResult::Saved);
  EXPECT_EQ(w.Item(11).LinkPath.str(), "C:\\Windows\\notepad.exe");
}

TEST(OkAddMode, AGroupGetsANewLastMember) {
  PropertyWorld w;
  const int first = w.GroupWithMember(12, "C:\\Tools\\calc.exe");
  PropertyEditor add = w.Add(12);
  PropertyInput input = InputFrom(add.Reload());
  input.link = "C:\\Windows\\notepad.exe";
  input.title = "Notes";
  input.runWindow = 1;
  ASSERT_EQ(add.Ok(input), OkResult::Saved);
  ASSERT_EQ(w.Group(12).Count, 2);
  EXPECT_EQ(w.Group(12).Members[1], first);
  const int added = w.Group(12).Members[2];
  EXPECT_EQ(added, add.item());
  EXPECT_EQ(w.Item(added).ItemType, kItemGroupMember);
  EXPECT_EQ(w.Item(added).Title.str(), "Notes");
  EXPECT_EQ(w.Item(added).RunWindow, 1);
  EXPECT_EQ(w.Item(12).Title.str(), "Tools") << "the empty mark went with the members";
}

TEST(SwitchType, QuestionsAndWhatYesDoes) {
  PropertyWorld w;
  w.RingShortcut(10, "C:\\Windows\\notepad.exe");
  w.questions.answer = false;
  const ShortcutStore before = w.store;
  EXPECT_EQ(w.Edit(10, 10).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_TRUE(SameStore(w.store, before));
  EXPECT_EQ(w.questions.asked.back(), "This operation will delete this shortcut, continue?");

  w.questions.answer = true;
  EXPECT_EQ(w.Edit(10, 10).SwitchType(PropertyType::Group), ChoiceResult::Changed);
  EXPECT_EQ(w.Item(10).ItemType, kItemGroup);
  EXPECT_EQ(w.Item(10).Title.str(), "新建组  (空)");
  EXPECT_EQ(w.Item(10).IconFile.str(), w.SysIcon("Group.png"));
  EXPECT_EQ(w.Group(10).Count, 0);

  ASSERT_GT(w.editor.AddToGroup("C:\\Tools\\calc.exe", 10), 128);
  const int member = w.Group(10).Members[1];
  w.questions.answer = false;
  EXPECT_EQ(w.Edit(10, 10).SwitchType(PropertyType::Shortcut), ChoiceResult::Declined);
  EXPECT_EQ(w.questions.asked.back(),
            "This operation will delete all items of this group, continue?");
  EXPECT_EQ(w.Group(10).Count, 1);
  w.questions.answer = true;
  EXPECT_EQ(w.Edit(10, 10).SwitchType(PropertyType::Shortcut), ChoiceResult::Changed);
  EXPECT_EQ(w.Item(10).ItemType, kItemShortcut);
  EXPECT_EQ(w.Item(member).ItemType, kItemUnused) << "the members are freed";
}

TEST(SwitchType, APopupRowOrAFixedSlotNeverBecomesAGroup) {
  PropertyWorld w;
  const int member = w.GroupWithMember(12, "C:\\Tools\\calc.exe");
  const ShortcutStore before = w.store;
  EXPECT_EQ(w.Edit(member, 12, 1).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_EQ(w.Edit(3, 3).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_EQ(w.Edit(2, 2).SwitchType(PropertyType::Shortcut), ChoiceResult::Declined);
  EXPECT_TRUE(w.questions.asked.empty());
  EXPECT_TRUE(SameStore(w.store, before));
}

TEST(LinkKinds, EveryReplaceAsksAndNoChangesNothing) {
  PropertyWorld w;
  w.RingShortcut(10, "C:\\Windows\\notepad.exe");
  const int member = w.GroupWithMember(12, "C:\\Tools\\calc.exe");
  w.questions.answer = false;
  const ShortcutStore before = w.store;
  // Slot 11 is blank (kind 2): it is asked about too.
  for (const auto& [item, slot] : {std::pair{10, 10}, {11, 11}, {12, 12}, {member, 12}}) {
    for (int k = 0; k < kLinkKindCount; ++k) {
      w.questions.asked.clear();
      const LinkKind kind = static_cast<LinkKind>(k);
      EXPECT_EQ(w.Edit(item, slot).ChooseLinkKind(kind), ChoiceResult::Declined);
      EXPECT_TRUE(SameStore(w.store, before)) << item << " " << k;
      // A popup row offers no group kinds, so nothing is asked for them.
      const bool rowGroupKind = item == member && k >= 2;
      EXPECT_EQ(w.questions.asked.size(), rowGroupKind ? 0u : 1u) << item << " " << k;
      if (!rowGroupKind && !w.questions.asked.empty()) {
        EXPECT_EQ(w.questions.asked[0], "Are you sure to replace?");
      }
    }
  }
}

TEST(LinkKinds, YesRebuildsTheSlotAsTheDefaultKind) {
  PropertyWorld w;
  w.files.CreateFolder("C:\\Windows\\system32\\");
  w.files.WriteFileFlushed("C:\\Windows\\system32\\notepad.exe", "MZ");
  const int member = w.GroupWithMember(12, "C:\\Tools\\calc.exe");
  EXPECT_EQ(w.Edit(12, 12).ChooseLinkKind(LinkKind::Accessories), ChoiceResult::Changed);
  EXPECT_EQ(w.Item(12).ItemType, kItemGroup);
  EXPECT_EQ(w.Item(12).IconFile.str(), w.SysIcon("WinGroup.png"));
  ASSERT_EQ(w.Group(12).Count, 1);
  EXPECT_EQ(w.Group(12).Members[1], member) << "the old member's item was freed and reused";
  EXPECT_EQ(w.Item(w.Group(12).Members[1]).LinkPath.str(), "C:\\Windows\\system32\\notepad.exe");

  // Add mode on a blank slot makes the group there without asking.
  w.questions.asked.clear();
  PropertyEditor add = w.Add(14);
  EXPECT_EQ(add.ChooseLinkKind(LinkKind::WebSites), ChoiceResult::Added);
  EXPECT_TRUE(w.questions.asked.empty());
  EXPECT_EQ(w.Item(14).ItemType, kItemGroup);
  EXPECT_EQ(w.Group(14).Count, 13);

  // A popup row becomes the web browser entry, and stays a member of its list.
  const int row = w.Group(14).Members[3];
  EXPECT_EQ(w.Edit(row, 14, 3).ChooseLinkKind(LinkKind::Internet), ChoiceResult::Changed);
  EXPECT_EQ(w.Item(row).ItemType, kItemGroupMember);
  EXPECT_EQ(w.Item(row).LinkPath.str(), "C:\\Browser\\browse.exe");
  EXPECT_EQ(w.Item(row).Title.str(), "互联网");
  EXPECT_EQ(w.Item(row).IconFile.str(), w.SysIcon("Internet.png"));
  EXPECT_EQ(w.Group(14).Count, 13);
}

TEST(Icons, ChangeFailsLoudlyAndRestoreDropsTheCustomIcon) {
  PropertyWorld w;
  w.RingShortcut(10, "C:\\Windows\\notepad.exe");
  PropertyEditor editor = w.Edit(10, 10);
  EXPECT_FALSE(editor.ChangeIcon("C:\\Pics\\broken.png"));
  EXPECT_EQ(w.questions.told, (std::vector<std::string>{"Change icon failed"}));
  EXPECT_EQ(w.Item(10).CustomIconFile.str(), "");
  const auto filesBefore = w.files.AllFiles();
  ASSERT_TRUE(editor.ChangeIcon("C:\\Pics\\star.png"));
  const std::string first = w.Item(10).CustomIconFile.str();
  ASSERT_TRUE(editor.ChangeIcon("C:\\Pics\\star.png"));
  EXPECT_FALSE(w.files.FileExists(first) && first != w.Item(10).CustomIconFile.str())
      << "the replaced custom icon is deleted";
  ASSERT_TRUE(editor.RestoreIcon());
  EXPECT_EQ(w.Item(10).CustomIconFile.str(), "");
  EXPECT_EQ(w.files.AllFiles().size(), filesBefore.size()) << "no icon file left behind";
  EXPECT_EQ(w.Item(10).LinkPath.str(), "C:\\Windows\\notepad.exe");
}

}  // namespace
}  // namespace kivo
