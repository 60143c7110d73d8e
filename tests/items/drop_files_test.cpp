#include "items/drop_files.h"

#include <gtest/gtest.h>

#include "item_world.h"
#include "items/group_helpers.h"

namespace kivo {
namespace {

using testing::ItemWorld;

class ScriptedDropHost : public DropHost {
 public:
  bool Show(const ShellMessage& message) override {
    shown.push_back(message);
    return answer;
  }
  std::string AskText(const std::string& prompt, const std::string& title) override {
    asked.push_back(title + ": " + prompt);
    return name;
  }
  bool Recycle(const std::string& path) override {
    recycled.push_back(path);
    return path.find("stuck") == std::string::npos;
  }
  bool answer = true;
  std::string name;
  std::vector<ShellMessage> shown;
  std::vector<std::string> asked;
  std::vector<std::string> recycled;
};

struct DropWorld : ItemWorld {
  DropWorld() {
    // A ring like a first start's: the user entry, the recycle bin, the all-programs
    // group, a system object, blank slots after.
    Item(0).ItemType = kItemUser;
    Item(1).ItemType = kItemSystemObject;
    Item(2).ItemType = kItemRecycleBin;
    Item(3).ItemType = kItemAllProgramsGroup;
    Item(3).Title = "All programs (空)";
    for (int slot = 4; slot <= 36; ++slot) Item(slot).ItemType = kItemShortcut;
    settings.IconCount = 24;
  }
  // `count` document members in group `slot`.
  void Fill(int slot, int count) {
    editor.SetQuiet(true);
    for (int i = 0; i < count; ++i) {
      const std::string path = "D:\\fill" + std::to_string(slot) + "-" + std::to_string(i);
      files.Put(path, "x");
      ASSERT_NE(editor.AddToGroup(path, slot), 0) << i;
    }
    editor.SetQuiet(false);
  }
  std::vector<std::string> Docs(int count, const std::string& stem = "D:\\drop") {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
      out.push_back(stem + std::to_string(i) + ".txt");
      files.Put(out.back(), "text");
    }
    return out;
  }
  // A ring shortcut in `slot` to a program, with the fields a link leaves.
  void MakeShortcut(int slot, const std::string& program) {
    files.Put(program, "MZ");
    Item(slot).ItemType = kItemShortcut;
    ASSERT_EQ(editor.AddToGroup(program, slot), slot);
    Item(slot).TargetPath = program;
    Item(slot).Arguments = "--old";
    Item(slot).RunWindow = 2;
  }
  DropOutcome Drop(int slot, std::vector<std::string> dropped) {
    return DropFiles(context, editor, host, slot, std::move(dropped));
  }
  std::vector<std::string> MemberPaths(int slot) {
    std::vector<std::string> out;
    for (int i = 1; i <= Group(slot).Count; ++i) {
      out.push_back(Item(Group(slot).Members[static_cast<std::size_t>(i)]).LinkPath.str());
    }
    return out;
  }
  ScriptedDropHost host;
};

TEST(DragOverBadge, EveryKindWithAndWithoutFiles) {
  struct Case {
    int kind;
    DropBadge withFiles;
  };
  const Case cases[] = {
      {kItemUnused, DropBadge::NoDrop},
      {kItemRingShortcut, DropBadge::ReplaceIcon},
      {kItemShortcut, DropBadge::AddIcon},
      {kItemGroup, DropBadge::AddIcon},
      {kItemGroupMember, DropBadge::NoDrop},
      {kItemAllProgramsGroup, DropBadge::AddIcon},
      {kItemRecycleBin, DropBadge::AddIcon},
      {kItemSystemObject, DropBadge::NoDrop},
      {kItemBuiltInCommand, DropBadge::NoDrop},
      {kItemUser, DropBadge::AddIcon},
      {7, DropBadge::NoDrop},
      {-3, DropBadge::NoDrop},
  };
  for (const Case& c : cases) {
    DropWorld w;
    w.Item(5).ItemType = c.kind;
    EXPECT_EQ(DragOverBadge(w.store, w.settings, 5, true), c.withFiles) << c.kind;
    // Without files on offer, or with dragging locked, nothing can be dropped anywhere.
    EXPECT_EQ(DragOverBadge(w.store, w.settings, 5, false), DropBadge::NoDrop) << c.kind;
    w.settings.LockDragging = true;
    EXPECT_EQ(DragOverBadge(w.store, w.settings, 5, true), DropBadge::NoDrop) << c.kind;
  }
}

TEST(DragOverBadge, NoTargetShowsNothing) {
  DropWorld w;
  for (int target : {-1, -100, 37, 1000}) {
    EXPECT_EQ(DragOverBadge(w.store, w.settings, target, true), DropBadge::None) << target;
  }
  w.settings.LockDragging = true;
  EXPECT_EQ(DragOverBadge(w.store, w.settings, -1, true), DropBadge::None);
}

TEST(DragOverBadge, GroupsUntilFull) {
  struct Case {
    int slot, kind, members;
    DropBadge badge;
  };
  const Case cases[] = {
      {7, kItemGroup, 0, DropBadge::AddIcon},
      {7, kItemGroup, 35, DropBadge::AddIcon},
      {7, kItemGroup, 36, DropBadge::NoDrop},
      {3, kItemAllProgramsGroup, 36, DropBadge::AddIcon},
      {3, kItemAllProgramsGroup, 1023, DropBadge::AddIcon},
      {3, kItemAllProgramsGroup, 1024, DropBadge::NoDrop},
  };
  for (const Case& c : cases) {
    DropWorld w;
    w.Item(c.slot).ItemType = c.kind;
    w.Group(c.slot).Count = c.members;
    EXPECT_EQ(DragOverBadge(w.store, w.settings, c.slot, true), c.badge)
        << c.slot << " with " << c.members;
  }
}

TEST(DragOverBadge, CentreWhileAPlaceIsFree) {
  DropWorld w;
  EXPECT_EQ(DragOverBadge(w.store, w.settings, 0, true), DropBadge::AddIcon);
  for (int slot = 4; slot <= 36; ++slot) w.Item(slot).ItemType = kItemGroup;
  // Only the all-programs group is left.
  EXPECT_EQ(DragOverBadge(w.store, w.settings, 0, true), DropBadge::AddIcon);
  w.Group(3).Count = 1024;
  EXPECT_EQ(DragOverBadge(w.store, w.settings, 0, true), DropBadge::NoDrop);
}

TEST(DropFiles, OnePathByTargetKind) {
  struct Case {
    int kind;
    DropResult result;
    int added;
    bool asksToReplace;
  };
  const Case cases[] = {
      {kItemShortcut, DropResult::Added, 1, false},
      {kItemGroup, DropResult::Added, 1, false},
      {kItemRingShortcut, DropResult::Added, 1, true},
      {kItemSystemObject, DropResult::Refused, 0, false},
      {kItemBuiltInCommand, DropResult::Refused, 0, false},
      {kItemUnused, DropResult::Refused, 0, false},
  };
  for (const Case& c : cases) {
    DropWorld w;
    w.Item(6).ItemType = c.kind;
    const ShortcutItem before = w.Item(6);
    const auto paths = w.Docs(1);
    EXPECT_EQ(w.Drop(6, paths), (DropOutcome{c.result, 6, c.added})) << c.kind;
    EXPECT_EQ(w.prompts.asked.size(), c.asksToReplace ? 1u : 0u) << c.kind;
    EXPECT_TRUE(w.host.shown.empty()) << c.kind;
    if (c.result == DropResult::Refused) {
      EXPECT_EQ(w.Item(6), before) << c.kind;
    }
    if (c.kind == kItemGroup) {
      EXPECT_EQ(w.MemberPaths(6), paths);
    } else if (c.added == 1) {
      EXPECT_EQ(w.Item(6).ItemType, kItemRingShortcut);
      EXPECT_EQ(w.Item(6).LinkPath, paths[0]);
    }
  }
}

TEST(DropFiles, NothingHappensWithoutTargetOrWithDraggingLocked) {
  DropWorld w;
  const auto paths = w.Docs(2);
  const ShortcutStore before = w.store;
  EXPECT_EQ(w.Drop(-1, paths).result, DropResult::Ignored);
  EXPECT_EQ(w.Drop(37, paths).result, DropResult::Ignored);
  EXPECT_EQ(w.Drop(5, {}).result, DropResult::Ignored);
  w.settings.LockDragging = true;
  EXPECT_EQ(w.Drop(5, paths).result, DropResult::Ignored);
  EXPECT_EQ(w.Drop(2, paths).result, DropResult::Ignored);
  EXPECT_TRUE(w.store.Items == before.Items);
  EXPECT_TRUE(w.host.shown.empty());
  EXPECT_TRUE(w.host.recycled.empty());
}

TEST(DropFiles, FullGroupsAreReportedOnceAndTakeNothing) {
  for (int slot : {3, 7}) {
    DropWorld w;
    w.Item(slot).ItemType = slot == 3 ? kItemAllProgramsGroup : kItemGroup;
    w.Group(slot).Count = slot == 3 ? 1024 : 36;
    const ShortcutStore before = w.store;
    EXPECT_EQ(w.Drop(slot, w.Docs(3)), (DropOutcome{DropResult::Full, slot, 0}));
    ASSERT_EQ(w.host.shown.size(), 1u);
    EXPECT_EQ(w.host.shown[0].text,
              "This group is full. Please choose another group or create a new group!");
    EXPECT_EQ(w.host.shown[0].title, "Add Shortcut");
    EXPECT_EQ(w.host.shown[0].icon, MessageIcon::Information);
    EXPECT_TRUE(w.store.Items == before.Items);
  }
}

TEST(DropFiles, ManyPathsOnABlankSlotMakeANamedGroup) {
  for (const std::string typed : {"Work", "", "   "}) {
    DropWorld w;
    w.host.name = typed;
    const auto paths = w.Docs(3);
    EXPECT_EQ(w.Drop(8, paths), (DropOutcome{DropResult::Added, 8, 3}));
    ASSERT_EQ(w.host.asked.size(), 1u);
    EXPECT_EQ(w.host.asked[0],
              "Add Shortcut Group: Kivo Launcher will create a new shortcut group for you. "
              "Please enter the new group name.");
    const ShortcutItem& group = w.Item(8);
    EXPECT_EQ(group.ItemType, kItemGroup);
    EXPECT_EQ(group.Title.str(), typed == "Work" ? "Work" : "New Group");
    EXPECT_EQ(group.ItemIndex, 8);
    EXPECT_EQ(group.IconFile, w.SysIcon("Group.png"));
    EXPECT_EQ(w.MemberPaths(8), paths);
    EXPECT_NE(std::find(w.images.loaded.begin(), w.images.loaded.end(), 8), w.images.loaded.end());
  }
}

TEST(DropFiles, AShortcutTurnedIntoAGroupKeepsItsTargetAsFirstMemberAndNoLinkFields) {
  DropWorld w;
  w.MakeShortcut(5, "C:\\Tools\\old.exe");
  w.Item(5).IconFile = w.paths.UserIconFolder + "old.png";
  w.files.Put(w.Item(5).IconFile, "png");
  w.host.name = "Tools";
  const auto paths = w.Docs(2);
  EXPECT_EQ(w.Drop(5, paths), (DropOutcome{DropResult::Added, 5, 3}));
  const ShortcutItem& group = w.Item(5);
  EXPECT_EQ(group.ItemType, kItemGroup);
  EXPECT_EQ(group.Title.str(), "Tools");
  // A left click opens the group: nothing of the old shortcut is left to launch.
  EXPECT_EQ(group.LinkPath.str(), "");
  EXPECT_EQ(group.TargetPath.str(), "");
  EXPECT_EQ(group.Arguments.str(), "");
  EXPECT_EQ(group.RunWindow, 0);
  EXPECT_EQ(group.ItemClass, 0);
  EXPECT_FALSE(w.files.FileExists(w.paths.UserIconFolder + "old.png"));
  EXPECT_EQ(w.MemberPaths(5), (std::vector<std::string>{"C:\\Tools\\old.exe", paths[0], paths[1]}));
  // The group is made without the replace question.
  EXPECT_TRUE(w.prompts.asked.empty());
}

TEST(DropFiles, ListsStopSilentlyAtTheGroupsLimit) {
  struct Case {
    int slot, kind, members, dropped, added;
  };
  const Case cases[] = {
      {7, kItemGroup, 30, 40, 6},
      {7, kItemGroup, 0, 36, 36},
      {7, kItemGroup, 35, 2, 1},
      {3, kItemAllProgramsGroup, 1020, 10, 4},
      {3, kItemAllProgramsGroup, 36, 10, 10},
      {9, kItemShortcut, 0, 40, 36},  // a blank slot turned into a group of 36
  };
  for (const Case& c : cases) {
    DropWorld w;
    w.Item(c.slot).ItemType = c.kind;
    if (c.members <= 36) {
      w.Fill(c.slot, c.members);
    } else {
      w.Group(c.slot).Count = c.members;  // more than the items the store has left
    }
    EXPECT_EQ(w.Drop(c.slot, w.Docs(c.dropped)), (DropOutcome{DropResult::Added, c.slot, c.added}))
        << c.slot << " " << c.members << "+" << c.dropped;
    EXPECT_EQ(w.Group(c.slot).Count, c.members + c.added);
    EXPECT_TRUE(w.host.shown.empty());
  }
}

TEST(DropFiles, AFullStoreIsToldOnceAndEndsTheList) {
  DropWorld w;
  const int free = kLastItem - kFirstUserItem + 1;
  EXPECT_EQ(w.Drop(3, w.Docs(free + 30)), (DropOutcome{DropResult::Added, 3, free}));
  EXPECT_EQ(w.prompts.asked, std::vector<std::string>{"store full"});
}

TEST(DropFiles, CentreGoesToTheFirstFreePlace) {
  DropWorld w;
  w.Item(4).ItemType = kItemGroup;
  const auto paths = w.Docs(1);
  EXPECT_EQ(w.Drop(0, paths), (DropOutcome{DropResult::Added, 5, 1}));
  EXPECT_EQ(w.Item(5).LinkPath, paths[0]);
  EXPECT_EQ(w.Item(0).ItemType, kItemUser);
  EXPECT_TRUE(w.host.shown.empty());
}

TEST(DropFiles, CentreFallsBackToAllProgramsWithANotice) {
  DropWorld w;
  for (int slot = 4; slot <= 36; ++slot) w.Item(slot).ItemType = kItemGroup;
  const auto paths = w.Docs(2);
  EXPECT_EQ(w.Drop(0, paths), (DropOutcome{DropResult::Added, 3, 2}));
  ASSERT_EQ(w.host.shown.size(), 1u);
  EXPECT_EQ(w.host.shown[0].text,
            "Desktop Group is full. The selected shortcut will be added to All programs Group");
  EXPECT_EQ(w.host.shown[0].icon, MessageIcon::None);
  EXPECT_EQ(w.host.shown[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(w.MemberPaths(3), paths);
  EXPECT_TRUE(w.host.asked.empty());  // a group takes a list without a name
}

TEST(DropFiles, CentreWithNoPlaceLeftStopsWithTheFullMessage) {
  DropWorld w;
  for (int slot = 4; slot <= 36; ++slot) w.Item(slot).ItemType = kItemGroup;
  w.Group(3).Count = 1024;
  const ShortcutStore before = w.store;
  EXPECT_EQ(w.Drop(0, w.Docs(2)).result, DropResult::Full);
  ASSERT_EQ(w.host.shown.size(), 1u);
  EXPECT_EQ(w.host.shown[0], GroupFullMessage());
  // Nothing is ever put into the centre entry itself.
  EXPECT_TRUE(w.store.Items == before.Items);
}

TEST(DropFiles, CentreTakesAnUnusedPlaceLikeABlankOne) {
  DropWorld w;
  w.Item(4).ItemType = kItemUnused;
  EXPECT_EQ(w.Drop(0, w.Docs(1)), (DropOutcome{DropResult::Added, 4, 1}));
  EXPECT_EQ(w.Item(4).ItemType, kItemRingShortcut);
}

TEST(DropFiles, RecycleBinAsksThenMovesEveryPath) {
  for (bool yes : {true, false}) {
    DropWorld w;
    w.host.answer = yes;
    const std::vector<std::string> paths{"D:\\a.txt", "D:\\stuck.txt", "D:\\Folder"};
    const ShortcutStore before = w.store;
    const DropOutcome outcome = w.Drop(2, paths);
    ASSERT_EQ(w.host.shown.size(), 1u);
    EXPECT_EQ(w.host.shown[0].text,
              "Are you sure you want to move the selected files and folders to the Recycle Bin?");
    EXPECT_EQ(w.host.shown[0].title, "Delete File");
    EXPECT_EQ(w.host.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(w.host.shown[0].icon, MessageIcon::Question);
    EXPECT_TRUE(w.host.shown[0].defaultNo);
    if (yes) {
      EXPECT_EQ(outcome, (DropOutcome{DropResult::Recycled, 2, 2}));
      EXPECT_EQ(w.host.recycled, paths);
    } else {
      EXPECT_EQ(outcome, (DropOutcome{DropResult::RecycleDeclined, 2, 0}));
      EXPECT_TRUE(w.host.recycled.empty());
    }
    EXPECT_TRUE(w.store.Items == before.Items);
  }
}

TEST(DropFiles, AtMostTheFirst1024PathsAreTaken) {
  DropWorld w;
  std::vector<std::string> paths(1100, "D:\\bin.dat");
  paths[1023] = "D:\\last.dat";
  paths[1024] = "D:\\beyond.dat";
  w.Drop(2, paths);
  ASSERT_EQ(w.host.recycled.size(), 1024u);
  EXPECT_EQ(w.host.recycled.back(), "D:\\last.dat");
}

}  // namespace
}  // namespace kivo
