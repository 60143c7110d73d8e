#include "items/drop_files.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "item_world.h"
#include "items/group_helpers.h"

namespace kivo {
namespace {

class ScriptedDropHost : public DropHost {
 public:
  bool Show(const ShellMessage& message) override { return shown.push_back(message), answer; }
  std::string AskText(const std::string& prompt, const std::string&) override {
    return asked.push_back(prompt), "";
  }
  bool Recycle(const std::string& path) override {
    return recycled.push_back(path), path.find("stuck") == std::string::npos;
  }
  bool answer = true;
  std::vector<ShellMessage> shown;
  std::vector<std::string> asked, recycled;
};

// A first start's ring: the user entry, a system object, the recycle bin, the all-programs
// group, blank slots after; `groups` turns slots 4..36 into groups.
struct DropWorld : testing::ItemWorld {
  explicit DropWorld(bool groups = false) {
    const int builtIn[] = {kItemUser, kItemSystemObject, kItemRecycleBin, kItemAllProgramsGroup};
    for (int slot = 0; slot <= 36; ++slot)
      Item(slot).ItemType = slot < 4 ? builtIn[slot] : groups ? kItemGroup : kItemShortcut;
    settings.IconCount = 24;
  }
  std::vector<std::string> Docs(int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
      files.Put(out.emplace_back("D:\\drop" + std::to_string(i)), "x");
    return out;
  }
  DropOutcome Drop(int slot, std::vector<std::string> dropped) {
    return DropFiles(context, editor, host, slot, std::move(dropped));
  }
  std::vector<std::string> MemberPaths(int slot) {
    std::vector<std::string> out;
    for (int i = 1; i <= Group(slot).Count; ++i)
      out.push_back(Item(Group(slot).Members[static_cast<std::size_t>(i)]).LinkPath.str());
    return out;
  }
  ScriptedDropHost host;
};

// Rows: target, kind (-1 keeps it), members of the target (of group 3 for the centre),
// flags (f files on offer, l dragging locked, g slots 4..36 groups), then the badge: None,
// NoDrop, AddIcon or ReplaceIcon as -, N, A, R.
TEST(DragOverBadge, ByKindFillAndSetting) {
  const char* const cases[] = {
      "5 0 0 f N",     "5 1 0 f R",     "5 2 0 f A",   "5 4 0 f A",     "5 5 0 f N",  "5 6 0 f A",
      "5 9 0 f A",     "5 10 0 f N",    "5 11 0 f N",  "5 12 0 f A",    "5 7 0 f N",  "5 -3 0 f N",
      "5 2 0 - N",     "5 1 0 fl N",    "-1 -1 0 f -", "37 -1 0 fl -",  "7 4 35 f A", "7 4 36 f N",
      "3 -1 1023 f A", "3 -1 1024 f N", "0 -1 0 fg A", "0 -1 1024 fg N"};
  for (const char* row : cases) {
    int target = 0, kind = 0, members = 0;
    char flags[4] = {}, badge = 0;
    ASSERT_EQ(std::sscanf(row, "%d %d %d %3s %c", &target, &kind, &members, flags, &badge), 5);
    const std::string on = flags;
    DropWorld w(on.find('g') != std::string::npos);
    w.settings.LockDragging = on.find('l') != std::string::npos;
    if (kind != -1) w.Item(target).ItemType = kind;
    if (members != 0) w.Group(target == 0 ? 3 : target).Count = members;
    const DropBadge shown = DragOverBadge(w.store, w.settings, target, on.find('f') != on.npos);
    EXPECT_EQ("-NAR"[static_cast<int>(shown)], badge) << row;
  }
}

TEST(DropFiles, OnePathByTargetKindAndNothingWithoutTargetOrWithDraggingLocked) {
  for (const int kind : {kItemShortcut, kItemGroup, kItemRingShortcut, kItemSystemObject,
                         kItemBuiltInCommand, kItemUnused}) {
    DropWorld w;
    w.Item(6).ItemType = kind;
    const ShortcutItem before = w.Item(6);
    const auto paths = w.Docs(1);
    const bool added = kind == kItemShortcut || kind == kItemGroup || kind == kItemRingShortcut;
    EXPECT_EQ(w.Drop(6, paths),
              (DropOutcome{added ? DropResult::Added : DropResult::Refused, 6, added}));
    // Only a shortcut standing in the slot asks before it is replaced.
    EXPECT_EQ(w.prompts.asked.size(), kind == kItemRingShortcut ? 1u : 0u) << kind;
    EXPECT_TRUE(added || w.Item(6) == before) << kind;
    EXPECT_EQ(kind == kItemGroup ? w.MemberPaths(6)[0] : w.Item(6).LinkPath.str(),
              added ? paths[0] : "");
  }
  DropWorld w;
  const auto paths = w.Docs(2);
  const ShortcutStore before = w.store;
  for (const auto& [slot, dropped, locked] : {std::tuple{-1, paths, false},
                                              {37, paths, false},
                                              {5, std::vector<std::string>{}, false},
                                              {5, paths, true},
                                              {2, paths, true}}) {
    w.settings.LockDragging = locked;
    EXPECT_EQ(w.Drop(slot, dropped).result, DropResult::Ignored) << slot;
  }
  EXPECT_TRUE(w.store.Items == before.Items && w.host.recycled.empty());
}

// Lists stop silently at the group's limit; a group already full is told so once; a full
// store is told once and ends the list.
TEST(DropFiles, GroupAndStoreLimits) {
  const int free = kLastItem - kFirstUserItem + 1;
  // clang-format off
  const struct { int slot, kind, members, dropped; DropResult result; int added; } cases[] = {
      {7, kItemGroup, 30, 40, DropResult::Added, 6},
      {7, kItemGroup, 36, 3, DropResult::Full, 0},
      {3, kItemAllProgramsGroup, 1020, 10, DropResult::Added, 4},
      {3, kItemAllProgramsGroup, 1024, 3, DropResult::Full, 0},
      {9, kItemShortcut, 0, 40, DropResult::Added, 36},  // a blank slot turned into a group
      {3, kItemAllProgramsGroup, 0, free + 30, DropResult::Added, free},
  };
  // clang-format on
  for (const auto& c : cases) {
    DropWorld w;
    w.Item(c.slot).ItemType = c.kind;
    w.Group(c.slot).Count = c.members;  // fake members: the store's items stay free
    const ShortcutStore before = w.store;
    EXPECT_EQ(w.Drop(c.slot, w.Docs(c.dropped)), (DropOutcome{c.result, c.slot, c.added}))
        << c.slot << " " << c.members << "+" << c.dropped;
    EXPECT_EQ(w.Group(c.slot).Count, c.members + c.added);
    const bool full = c.result == DropResult::Full;
    EXPECT_EQ(w.host.shown,
              full ? std::vector<ShellMessage>{GroupFullMessage()} : std::vector<ShellMessage>{});
    EXPECT_TRUE(!full || w.store.Items == before.Items);
    EXPECT_EQ(w.prompts.asked, c.added == free ? std::vector<std::string>{"store full"}
                                               : std::vector<std::string>{});
  }
}

// The recycle bin asks, then moves every path, at most the first 1024.
TEST(DropFiles, RecycleBinAsksThenMovesEveryPath) {
  std::vector<std::string> paths(1100, "D:\\a.txt");
  paths[1] = "D:\\stuck.txt";
  paths[1023] = "D:\\last.dat";
  for (bool yes : {true, false}) {
    DropWorld w;
    w.host.answer = yes;
    const ShortcutStore before = w.store;
    EXPECT_EQ(
        w.Drop(2, paths),
        (DropOutcome{yes ? DropResult::Recycled : DropResult::RecycleDeclined, 2, yes ? 1023 : 0}));
    EXPECT_EQ(w.host.shown, std::vector<ShellMessage>{RecycleDroppedQuestion()});
    EXPECT_EQ(w.host.recycled, yes ? std::vector<std::string>(paths.begin(), paths.begin() + 1024)
                                   : std::vector<std::string>{});
    EXPECT_TRUE(w.store.Items == before.Items);
  }
}

}  // namespace
}  // namespace kivo
