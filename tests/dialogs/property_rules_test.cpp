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

// Slot 10 holds notepad, slot 12 a group whose one member is calc, 2 is fixed.
struct PropertyTest : ::testing::Test, testing::ItemWorld {
  PropertyTest() {
    for (const char* file : {"C:\\Windows\\notepad.exe", "C:\\Tools\\calc.exe",
                             "C:\\Browser\\browse.exe", "C:\\Pics\\star.png"}) {
      files.WriteFileFlushed(file, "MZ");
    }
    icons.good = {"C:\\WINDOWS\\NOTEPAD.EXE", "C:\\TOOLS\\CALC.EXE", "C:\\PICS\\STAR.PNG"};
    for (int n = 4; n <= kLastRingGroup; ++n) MakeBlankShortcut(Item(n), paths);
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
  bool Kept(const ShortcutStore& old) {
    return store.Items == old.Items && store.Groups == old.Groups;
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

// The user's own picture survives every save; replaced or restored, its file is deleted.
TEST_F(PropertyTest, OkTypedFieldsWinTheCustomIconStaysAndNoUsablePathWritesNothing) {
  PropertyEditor dialog = Edit(10, 10);
  const std::size_t count = files.AllFiles().size();
  EXPECT_FALSE(dialog.ChangeIcon("C:\\Pics\\broken.png"));
  EXPECT_EQ(questions.told.size(), 1u);
  ASSERT_TRUE(dialog.ChangeIcon("C:\\Pics\\star.png") && dialog.ChangeIcon("C:\\Pics\\star.png"));
  EXPECT_EQ(files.AllFiles().size(), count + 1);
  const std::string custom = Item(10).CustomIconFile.str();
  PropertyInput input{"My Editor", dialog.Reload().link, "-n readme.txt", 2,
                      "C:\\Windows\\notepad.exe "};
  ASSERT_EQ(dialog.Ok(input), OkResult::Saved);
  const ShortcutItem& item = Item(10);
  EXPECT_EQ(Fields(item), std::tuple(kItemRingShortcut, "My Editor", "C:\\Windows\\notepad.exe",
                                     "-n readme.txt", 2));
  EXPECT_TRUE(item.CustomIconFile.str() == custom && files.FileExists(custom));

  // A new path brings its own target and title when they were not touched.
  input = InputFrom(dialog.Reload());
  input.link = "C:\\Tools\\calc.exe";
  input.title = "";
  ASSERT_EQ(dialog.Ok(input), OkResult::Saved);
  EXPECT_EQ(std::tuple(item.TargetPath.str(), item.Title.str()),
            std::tuple("C:\\Tools\\calc.exe", "calc"));

  // A typed target wins over the one the rebuild found; the other fields stay as stored.
  input = InputFrom(dialog.Reload());
  input.arguments = "/x";
  ASSERT_EQ(dialog.Ok(input), OkResult::Saved);
  input = InputFrom(dialog.Reload());
  input.target = "C:\\Windows\\notepad.exe";
  ASSERT_EQ(dialog.Ok(input), OkResult::Saved);
  EXPECT_EQ(std::tuple(item.TargetPath.str(), item.Arguments.str()),
            std::tuple("C:\\Windows\\notepad.exe", "/x"));

  const ShortcutStore before = store;
  EXPECT_EQ(dialog.Ok({"Changed", "C:\\nowhere\\gone.exe", "", 0, "D:\\missing.exe"}),
            OkResult::NotSaved);
  EXPECT_TRUE(Kept(before));
  ASSERT_TRUE(dialog.RestoreIcon());
  EXPECT_EQ(files.AllFiles().size(), count);
}

TEST_F(PropertyTest, AddFillsABlankSlotAndReplacesAShortcutOnlyAfterTheQuestion) {
  PropertyInput input{"", "C:\\Tools\\calc.exe", "/s", 0, ""};
  ASSERT_EQ(Add(11).Ok(input), OkResult::Saved);
  EXPECT_EQ(Fields(Item(11)),
            std::tuple(kItemRingShortcut, "calc", "C:\\Tools\\calc.exe", "/s", 0));
  prompts.answer = false;
  PropertyEditor again = Add(11);
  input.link = "C:\\Windows\\notepad.exe";
  EXPECT_EQ(again.Ok(input), OkResult::NotSaved);
  EXPECT_EQ(Item(11).LinkPath.str(), "C:\\Tools\\calc.exe");
  prompts.answer = true;
  EXPECT_EQ(again.Ok(input), OkResult::Saved);
  EXPECT_EQ(Item(11).LinkPath.str(), "C:\\Windows\\notepad.exe");
}

// Every change of type or link kind that deletes something asks first, and No changes
// nothing; a popup row never becomes a group, a fixed slot never changes.
TEST_F(PropertyTest, EveryReplaceAsksAndNoChangesNothing) {
  questions.answer = false;
  const ShortcutStore before = store;
  for (const auto& [item, slot] : {std::pair{10, 10}, {11, 11}, {12, 12}, {member, 12}}) {
    for (int k = 0; k < kLinkKindCount; ++k) {
      questions.asked.clear();
      EXPECT_EQ(Edit(item, slot).ChooseLinkKind(static_cast<LinkKind>(k)), ChoiceResult::Declined);
      // A popup row offers no group kinds, so nothing is asked for them.
      EXPECT_EQ(questions.asked.size(), item == member && k >= 2 ? 0u : 1u) << item << k;
    }
  }
  EXPECT_EQ(Edit(10, 10).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_EQ(Edit(12, 12).SwitchType(PropertyType::Shortcut), ChoiceResult::Declined);
  questions.answer = true;
  EXPECT_EQ(Edit(member, 12, 1).SwitchType(PropertyType::Group), ChoiceResult::Declined);
  EXPECT_EQ(Edit(2, 2).SwitchType(PropertyType::Shortcut), ChoiceResult::Declined);
  EXPECT_FALSE(Edit(member, 12).Reload().typeEnabled[1]) << "a popup row has no list of its own";
  EXPECT_TRUE(Kept(before));
}

TEST_F(PropertyTest, YesChangesTheTypeOrRebuildsTheSlotAsTheDefaultKind) {
  EXPECT_EQ(Edit(10, 10).SwitchType(PropertyType::Group), ChoiceResult::Changed);
  EXPECT_EQ(std::tuple(Item(10).ItemType, Group(10).Count), std::tuple(kItemGroup, 0));
  EXPECT_EQ(Edit(12, 12).SwitchType(PropertyType::Shortcut), ChoiceResult::Changed);
  EXPECT_EQ(Item(member).ItemType, kItemUnused) << "the members are freed";

  EXPECT_EQ(Add(14).ChooseLinkKind(LinkKind::WebSites), ChoiceResult::Added);
  EXPECT_EQ(std::tuple(Item(14).ItemType, Group(14).Count), std::tuple(kItemGroup, 13));
  EXPECT_EQ(questions.asked.size(), 2u) << "the blank slot 14 is filled without asking";
}

}  // namespace
}  // namespace kivo
