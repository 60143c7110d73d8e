#include "dialogs/property_rules.h"

#include <gtest/gtest.h>

#include "item_world.h"
#include "items/builtin_items.h"

namespace kivo {
namespace {

class ScriptedQuestions : public PropertyPrompts {
 public:
  bool Ask(const ShellMessage& question) override {
    asked.push_back(question.text);
    return answer;
  }
  void Tell(const ShellMessage& message) override { told.push_back(message.text); }
  bool answer = true;
  std::vector<std::string> asked, told;
};

bool SameStore(const ShortcutStore& a, const ShortcutStore& b) {
  return a.Items == b.Items && a.Groups == b.Groups;
}

// Slot 10 holds notepad, slot 12 a group whose one member is calc, 2 and 3 are fixed.
struct PropertyWorld : testing::ItemWorld {
  PropertyWorld() {
    for (const char* exe : {"C:\\Windows\\notepad.exe", "C:\\Tools\\calc.exe",
                            "C:\\Browser\\browse.exe", "C:\\Mail\\mail.exe"}) {
      files.WriteFileFlushed(exe, "MZ");
    }
    files.WriteFileFlushed("C:\\Pics\\star.png", "png");
    icons.good = {"C:\\WINDOWS\\NOTEPAD.EXE", "C:\\TOOLS\\CALC.EXE", "C:\\PICS\\STAR.PNG"};
    for (int n = 4; n <= kLastRingGroup; ++n) MakeBlankShortcut(Item(n), paths);
    Item(3).ItemType = kItemAllProgramsGroup;
    Item(2).ItemType = kItemRecycleBin;
    registry.Put(RegistryRoot::ClassesRoot, "http\\shell\\open\\command", "",
                 RegistryData{kRegSz, std::string("\"C:\\Browser\\browse.exe\" %1") + '\0'});
    registry.Put(RegistryRoot::ClassesRoot, "mailto\\shell\\open\\command", "",
                 RegistryData{kRegSz, std::string("C:\\Mail\\mail.exe %1") + '\0'});
    EXPECT_EQ(editor.AddToGroup("C:\\Windows\\notepad.exe", 10), 10);
    MakeGroup(12, "Tools");
    member = editor.AddToGroup("C:\\Tools\\calc.exe", 12);
    EXPECT_GT(member, 128);
  }
  PropertyEditor Edit(int item, int slot, int position = -1) {
    return PropertyEditor(context, ItemMenuContext{item, slot, position}, false, questions, 6);
  }
  PropertyEditor Add(int slot) {
    return PropertyEditor(context, ItemMenuContext{slot, slot, -1}, true, questions, 6);
  }
  ScriptedQuestions questions;
  int member = 0;
};

// An item's kind, title, path, arguments and window state.
auto Fields(const ShortcutItem& item) {
  return std::tuple(static_cast<int>(item.ItemType), item.Title.str(), item.LinkPath.str(),
                    item.Arguments.str(), item.RunWindow);
}

PropertyInput InputFrom(const PropertyView& v) {
  return PropertyInput{v.title, v.link, v.arguments, v.runWindow, v.target};
}

TEST(PropertyTexts, LinkKindCaptionsAndTypes) {
  const char* kinds[] = {
      "'Internet' Shortcut", "'Check Email' Shortcut",         "'System Folders & Drives Group'",
      "'Accessories Group'", "'Microsoft Office Suite Group'", "'Website Group'"};
  for (std::size_t i = 0; i < std::size(kinds); ++i) {
    EXPECT_EQ(LinkKindCaptions(true)[i], std::string("Add New ") + kinds[i]);
    EXPECT_EQ(LinkKindCaptions(false)[i], std::string("Replace by  New ") + kinds[i]);
  }

  // Per kind code: S shortcut, G group, Y system, - not a kind.
  const std::string types = "SSS-GSY--YYYY";
  for (int kind = 0; kind < static_cast<int>(types.size()); ++kind) {
    const char t = types[static_cast<std::size_t>(kind)];
    if (t == '-') continue;
    EXPECT_EQ(PropertyTypeOf(kind), t == 'S'   ? PropertyType::Shortcut
                                    : t == 'G' ? PropertyType::Group
                                               : PropertyType::System)
        << kind;
  }
}

TEST(Reload, WhatEachEntryMayUse) {
  PropertyWorld w;
  const struct {
    int item, slot;
    PropertyType type;
    std::array<bool, 3> typeEnabled;
    bool linkEnabled, linkKinds;
  } cases[] = {
      {10, 10, PropertyType::Shortcut, {true, true, false}, true, true},
      // A popup row can never become a group: it has no member list of its own.
      {w.member, 12, PropertyType::Shortcut, {true, false, false}, true, true},
      {12, 12, PropertyType::Group, {true, true, false}, false, true},
      {3, 3, PropertyType::System, {false, false, true}, false, false},
      {2, 2, PropertyType::System, {false, false, true}, false, false},
  };
  for (const auto& c : cases) {
    const PropertyView v = w.Edit(c.item, c.slot).Reload();
    EXPECT_EQ(
        std::tuple(v.caption, v.type, v.typeEnabled, v.linkEnabled, v.argumentsEnabled,
                   v.linkKindsEnabled),
        std::tuple("Properties", c.type, c.typeEnabled, c.linkEnabled, c.linkEnabled, c.linkKinds))
        << c.item;
  }
  const PropertyView add = w.Add(12).Reload();
  EXPECT_EQ(add.caption, "Add Shortcut");
  EXPECT_EQ(add.typeEnabled, (std::array<bool, 3>{}));
  EXPECT_EQ(add.iconEnabled, (std::array<bool, 3>{}));
  EXPECT_TRUE(add.linkEnabled && add.title.empty());
}

TEST(OkEditMode, TypedFieldsWinAndTheCustomIconStays) {
  PropertyWorld w;
  PropertyEditor editor = w.Edit(10, 10);
  ASSERT_TRUE(editor.ChangeIcon("C:\\Pics\\star.png"));
  const std::string custom = w.Item(10).CustomIconFile.str();
  ASSERT_TRUE(custom.starts_with(w.paths.UserIconFolder));
  PropertyInput input = InputFrom(editor.Reload());
  EXPECT_EQ(input.title, "notepad");
  input = {"My Editor", input.link, "-n readme.txt", 2, "C:\\Windows\\notepad.exe "};
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  const ShortcutItem& item = w.Item(10);
  EXPECT_EQ(Fields(item), std::tuple(kItemRingShortcut, "My Editor", "C:\\Windows\\notepad.exe",
                                     "-n readme.txt", 2));
  EXPECT_EQ(item.CustomIconFile.str(), custom);
  EXPECT_TRUE(w.files.FileExists(custom)) << "the user's picture is not deleted";
  EXPECT_EQ(w.images.loaded.back(), 10) << "images reloaded with the custom icon";

  // A new path brings its own target and title when they were not touched.
  input = InputFrom(editor.Reload());
  input.link = "C:\\Tools\\calc.exe";
  input.title = "";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  EXPECT_EQ(item.TargetPath.str(), "C:\\Tools\\calc.exe");
  EXPECT_EQ(item.Title.str(), "calc");

  // A typed target wins over the one the rebuild found; the other fields stay as stored.
  input = InputFrom(editor.Reload());
  input.arguments = "/x";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  input = InputFrom(editor.Reload());
  input.target = "C:\\Windows\\notepad.exe";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  EXPECT_EQ(item.TargetPath.str(), "C:\\Windows\\notepad.exe");
  EXPECT_EQ(item.Arguments.str(), "/x");
}

TEST(OkEditMode, NoUsablePathWritesNothing) {
  PropertyWorld w;
  const ShortcutStore before = w.store;
  PropertyEditor editor = w.Edit(10, 10);
  PropertyInput input{"Changed", "C:\\nowhere\\gone.exe", "", 0, "D:\\missing.exe"};
  EXPECT_EQ(editor.Ok(input), OkResult::NotSaved);
  EXPECT_TRUE(SameStore(w.store, before));
  // The target text serves when the link text names nothing.
  input.target = "C:\\Tools\\calc.exe";
  EXPECT_EQ(editor.Ok(input), OkResult::Saved);
  EXPECT_EQ(w.Item(10).LinkPath.str(), "C:\\Tools\\calc.exe");
}

TEST(OkAddMode, ASlotIsFilledItselfAndAGroupGetsANewLastMember) {
  PropertyWorld w;
  PropertyEditor add = w.Add(11);
  PropertyInput input{"", "C:\\Tools\\calc.exe", "/s", 0, ""};
  ASSERT_EQ(add.Ok(input), OkResult::Saved);
  EXPECT_EQ(add.item(), 11);
  EXPECT_EQ(Fields(w.Item(11)),
            std::tuple(kItemRingShortcut, "calc", "C:\\Tools\\calc.exe", "/s", 0));
  EXPECT_EQ(w.Group(11).Count, 0) << "no member list nobody shows";

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

  PropertyEditor member = w.Add(12);
  ASSERT_EQ(member.Ok({"Notes", "C:\\Windows\\notepad.exe", "", 1, ""}), OkResult::Saved);
  ASSERT_EQ(w.Group(12).Count, 2);
  EXPECT_EQ(w.Group(12).Members[1], w.member);
  const int added = w.Group(12).Members[2];
  EXPECT_EQ(added, member.item());
  EXPECT_EQ(Fields(w.Item(added)),
            std::tuple(kItemGroupMember, "Notes", "C:\\Windows\\notepad.exe", "", 1));
}

TEST(SwitchType, QuestionsAndWhatYesDoes) {
  PropertyWorld w;
  w.questions.answer = false;
  const ShortcutStore before = w.store;
  EXPECT_EQ(w.Edit(10, 10).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  // A popup row or a fixed slot never changes type, and nobody is asked.
  EXPECT_EQ(w.Edit(w.member, 12, 1).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_EQ(w.Edit(3, 3).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_EQ(w.Edit(2, 2).SwitchType(PropertyType::Shortcut), ChoiceResult::Declined);
  EXPECT_TRUE(SameStore(w.store, before));
  EXPECT_EQ(w.questions.asked,
            (std::vector<std::string>{"This operation will delete this shortcut, continue?"}));

  w.questions.answer = true;
  EXPECT_EQ(w.Edit(10, 10).SwitchType(PropertyType::Group), ChoiceResult::Changed);
  EXPECT_EQ(w.Item(10).ItemType, kItemGroup);
  EXPECT_EQ(w.Item(10).Title.str(), "新建组  (空)");
  EXPECT_EQ(w.Item(10).IconFile.str(), w.SysIcon("Group.png"));
  EXPECT_EQ(w.Group(10).Count, 0);

  w.questions.answer = false;
  EXPECT_EQ(w.Edit(12, 12).SwitchType(PropertyType::Shortcut), ChoiceResult::Declined);
  EXPECT_EQ(w.questions.asked.back(),
            "This operation will delete all items of this group, continue?");
  EXPECT_EQ(w.Group(12).Count, 1);
  w.questions.answer = true;
  EXPECT_EQ(w.Edit(12, 12).SwitchType(PropertyType::Shortcut), ChoiceResult::Changed);
  EXPECT_EQ(w.Item(12).ItemType, kItemShortcut);
  EXPECT_EQ(w.Item(w.member).ItemType, kItemUnused) << "the members are freed";
}

TEST(LinkKinds, EveryReplaceAsksAndNoChangesNothing) {
  PropertyWorld w;
  w.questions.answer = false;
  const ShortcutStore before = w.store;
  // Slot 11 is blank: it is asked about too.
  for (const auto& [item, slot] : {std::pair{10, 10}, {11, 11}, {12, 12}, {w.member, 12}}) {
    for (int k = 0; k < kLinkKindCount; ++k) {
      w.questions.asked.clear();
      EXPECT_EQ(w.Edit(item, slot).ChooseLinkKind(static_cast<LinkKind>(k)),
                ChoiceResult::Declined);
      EXPECT_TRUE(SameStore(w.store, before)) << item << " " << k;
      // A popup row offers no group kinds, so nothing is asked for them.
      const auto asked = item == w.member && k >= 2
                             ? std::vector<std::string>{}
                             : std::vector{std::string("Are you sure to replace?")};
      EXPECT_EQ(w.questions.asked, asked) << item << " " << k;
    }
  }
}

TEST(LinkKinds, YesRebuildsTheSlotAsTheDefaultKind) {
  PropertyWorld w;
  w.files.CreateFolder("C:\\Windows\\system32\\");
  w.files.WriteFileFlushed("C:\\Windows\\system32\\notepad.exe", "MZ");
  EXPECT_EQ(w.Edit(12, 12).ChooseLinkKind(LinkKind::Accessories), ChoiceResult::Changed);
  EXPECT_EQ(w.Item(12).ItemType, kItemGroup);
  EXPECT_EQ(w.Item(12).IconFile.str(), w.SysIcon("WinGroup.png"));
  ASSERT_EQ(w.Group(12).Count, 1);
  EXPECT_EQ(w.Group(12).Members[1], w.member) << "the old member's item was freed and reused";
  EXPECT_EQ(w.Item(w.member).LinkPath.str(), "C:\\Windows\\system32\\notepad.exe");

  // Add mode on a blank slot makes the group there without asking.
  w.questions.asked.clear();
  EXPECT_EQ(w.Add(14).ChooseLinkKind(LinkKind::WebSites), ChoiceResult::Added);
  EXPECT_TRUE(w.questions.asked.empty());
  EXPECT_EQ(w.Item(14).ItemType, kItemGroup);
  EXPECT_EQ(w.Group(14).Count, 13);

  // A popup row becomes the web browser entry, and stays a member of its list.
  const int row = w.Group(14).Members[3];
  EXPECT_EQ(w.Edit(row, 14, 3).ChooseLinkKind(LinkKind::Internet), ChoiceResult::Changed);
  EXPECT_EQ(Fields(w.Item(row)),
            std::tuple(kItemGroupMember, "互联网", "C:\\Browser\\browse.exe", "", 0));
  EXPECT_EQ(w.Item(row).IconFile.str(), w.SysIcon("Internet.png"));
  EXPECT_EQ(w.Group(14).Count, 13);
}

TEST(Icons, ChangeFailsLoudlyAndRestoreDropsTheCustomIcon) {
  PropertyWorld w;
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
}

}  // namespace
}  // namespace kivo
