#include "dialogs/property_rules.h"

#include <gtest/gtest.h>

#include "item_world.h"
#include "items/builtin_items.h"

namespace kivo {
namespace {

struct ScriptedQuestions : PropertyPrompts {
  bool Ask(const ShellMessage& question) override { return asked.push_back(question.text), answer; }
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
    for (const char* file : {"C:\\Windows\\notepad.exe", "C:\\Tools\\calc.exe",
                             "C:\\Browser\\browse.exe", "C:\\Pics\\star.png"}) {
      files.WriteFileFlushed(file, "MZ");
    }
    icons.good = {"C:\\WINDOWS\\NOTEPAD.EXE", "C:\\TOOLS\\CALC.EXE", "C:\\PICS\\STAR.PNG"};
    for (int n = 4; n <= kLastRingGroup; ++n) MakeBlankShortcut(Item(n), paths);
    Item(3).ItemType = kItemAllProgramsGroup;
    Item(2).ItemType = kItemRecycleBin;
    for (const char* scheme : {"http", "mailto"}) {
      registry.Put(RegistryRoot::ClassesRoot, scheme + std::string("\\shell\\open\\command"), "",
                   RegistryData{kRegSz, std::string("\"C:\\Browser\\browse.exe\" %1") + '\0'});
    }
    editor.AddToGroup("C:\\Windows\\notepad.exe", 10);
    MakeGroup(12, "Tools");
    member = editor.AddToGroup("C:\\Tools\\calc.exe", 12);
  }
  PropertyEditor Edit(int item, int slot, int position = -1, bool add = false) {
    return PropertyEditor(context, ItemMenuContext{item, slot, position}, add, questions, 6);
  }
  PropertyEditor Add(int slot) { return Edit(slot, slot, -1, true); }
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

TEST(Reload, WhatEachEntryMayUse) {
  PropertyWorld w;
  // A popup row can never become a group: it has no member list of its own.
  const std::tuple<int, int, std::array<bool, 3>, bool, bool> cases[] = {
      {10, 10, {true, true, false}, true, true},
      {w.member, 12, {true, false, false}, true, true},
      {12, 12, {true, true, false}, false, true},
      {3, 3, {false, false, true}, false, false}};
  for (const auto& [item, slot, typeEnabled, link, kinds] : cases) {
    const PropertyView v = w.Edit(item, slot).Reload();
    EXPECT_EQ(std::tuple(v.typeEnabled, v.linkEnabled, v.argumentsEnabled, v.linkKindsEnabled),
              std::tuple(typeEnabled, link, link, kinds))
        << item;
  }
}

TEST(OkEditMode, TypedFieldsWinTheCustomIconStaysAndNoUsablePathWritesNothing) {
  PropertyWorld w;
  PropertyEditor editor = w.Edit(10, 10);
  ASSERT_TRUE(editor.ChangeIcon("C:\\Pics\\star.png"));
  const std::string custom = w.Item(10).CustomIconFile.str();
  PropertyInput input = InputFrom(editor.Reload());
  input = {"My Editor", input.link, "-n readme.txt", 2, "C:\\Windows\\notepad.exe "};
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  const ShortcutItem& item = w.Item(10);
  EXPECT_EQ(Fields(item), std::tuple(kItemRingShortcut, "My Editor", "C:\\Windows\\notepad.exe",
                                     "-n readme.txt", 2));
  EXPECT_EQ(item.CustomIconFile.str(), custom);
  EXPECT_TRUE(w.files.FileExists(custom)) << "the user's picture is not deleted";

  // A new path brings its own target and title when they were not touched.
  input = InputFrom(editor.Reload());
  input.link = "C:\\Tools\\calc.exe";
  input.title = "";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  EXPECT_EQ(std::tuple(item.TargetPath.str(), item.Title.str()),
            std::tuple("C:\\Tools\\calc.exe", "calc"));

  // A typed target wins over the one the rebuild found; the other fields stay as stored.
  input = InputFrom(editor.Reload());
  input.arguments = "/x";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  input = InputFrom(editor.Reload());
  input.target = "C:\\Windows\\notepad.exe";
  ASSERT_EQ(editor.Ok(input), OkResult::Saved);
  EXPECT_EQ(std::tuple(item.TargetPath.str(), item.Arguments.str()),
            std::tuple("C:\\Windows\\notepad.exe", "/x"));

  const ShortcutStore before = w.store;
  EXPECT_EQ(editor.Ok({"Changed", "C:\\nowhere\\gone.exe", "", 0, "D:\\missing.exe"}),
            OkResult::NotSaved);
  EXPECT_TRUE(SameStore(w.store, before));
}

TEST(OkAddMode, ABlankSlotIsFilledAndAShortcutReplacedOnlyAfterTheQuestion) {
  PropertyWorld w;
  PropertyInput input{"", "C:\\Tools\\calc.exe", "/s", 0, ""};
  ASSERT_EQ(w.Add(11).Ok(input), OkResult::Saved);
  EXPECT_EQ(Fields(w.Item(11)),
            std::tuple(kItemRingShortcut, "calc", "C:\\Tools\\calc.exe", "/s", 0));
  w.prompts.answer = false;
  PropertyEditor again = w.Add(11);
  input.link = "C:\\Windows\\notepad.exe";
  EXPECT_EQ(again.Ok(input), OkResult::NotSaved);
  EXPECT_EQ(w.Item(11).LinkPath.str(), "C:\\Tools\\calc.exe");
  w.prompts.answer = true;
  EXPECT_EQ(again.Ok(input), OkResult::Saved);
  EXPECT_EQ(w.Item(11).LinkPath.str(), "C:\\Windows\\notepad.exe");
}

// Every change of type or link kind that deletes something asks first, and No changes
// nothing; a popup row never becomes a group, a fixed slot never changes.
TEST(Choices, EveryReplaceAsksAndNoChangesNothing) {
  PropertyWorld w;
  w.questions.answer = false;
  const ShortcutStore before = w.store;
  for (const auto& [item, slot] : {std::pair{10, 10}, {11, 11}, {12, 12}, {w.member, 12}}) {
    for (int k = 0; k < kLinkKindCount; ++k) {
      w.questions.asked.clear();
      EXPECT_EQ(w.Edit(item, slot).ChooseLinkKind(static_cast<LinkKind>(k)),
                ChoiceResult::Declined);
      // A popup row offers no group kinds, so nothing is asked for them.
      EXPECT_EQ(w.questions.asked.size(), item == w.member && k >= 2 ? 0u : 1u) << item << k;
    }
  }
  EXPECT_EQ(w.Edit(10, 10).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_EQ(w.Edit(12, 12).SwitchType(PropertyType::Shortcut), ChoiceResult::Declined);
  w.questions.answer = true;
  EXPECT_EQ(w.Edit(w.member, 12, 1).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_EQ(w.Edit(2, 2).SwitchType(PropertyType::Shortcut), ChoiceResult::Declined);
  EXPECT_TRUE(SameStore(w.store, before));
}

TEST(Choices, YesChangesTheTypeOrRebuildsTheSlotAsTheDefaultKind) {
  PropertyWorld w;
  EXPECT_EQ(w.Edit(10, 10).SwitchType(PropertyType::Group), ChoiceResult::Changed);
  EXPECT_EQ(std::tuple(w.Item(10).ItemType, w.Group(10).Count), std::tuple(kItemGroup, 0));
  EXPECT_EQ(w.Edit(12, 12).SwitchType(PropertyType::Shortcut), ChoiceResult::Changed);
  EXPECT_EQ(w.Item(w.member).ItemType, kItemUnused) << "the members are freed";

  EXPECT_EQ(w.Add(14).ChooseLinkKind(LinkKind::WebSites), ChoiceResult::Added);
  EXPECT_EQ(std::tuple(w.Item(14).ItemType, w.Group(14).Count), std::tuple(kItemGroup, 13));
  // A popup row becomes the web browser entry, and stays a member of its list.
  const int row = w.Group(14).Members[3];
  EXPECT_EQ(w.Edit(row, 14, 3).ChooseLinkKind(LinkKind::Internet), ChoiceResult::Changed);
  EXPECT_EQ(Fields(w.Item(row)),
            std::tuple(kItemGroupMember, "互联网", "C:\\Browser\\browse.exe", "", 0));
  EXPECT_EQ(w.Group(14).Count, 13);
  EXPECT_EQ(w.questions.asked.size(), 3u) << "the blank slot 14 is filled without asking";
}

TEST(Icons, ChangeFailsLoudlyAndRestoreDropsTheCustomIcon) {
  PropertyWorld w;
  PropertyEditor editor = w.Edit(10, 10);
  const std::size_t files = w.files.AllFiles().size();
  EXPECT_FALSE(editor.ChangeIcon("C:\\Pics\\broken.png"));
  EXPECT_EQ(w.questions.told.size(), 1u);
  ASSERT_TRUE(editor.ChangeIcon("C:\\Pics\\star.png"));
  ASSERT_TRUE(editor.ChangeIcon("C:\\Pics\\star.png"));
  EXPECT_EQ(w.files.AllFiles().size(), files + 1) << "the replaced custom icon is deleted";
  ASSERT_TRUE(editor.RestoreIcon());
  EXPECT_EQ(w.Item(10).CustomIconFile.str(), "");
  EXPECT_EQ(w.files.AllFiles().size(), files) << "no icon file left behind";
}

}  // namespace
}  // namespace kivo
