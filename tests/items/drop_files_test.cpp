#include "items/drop_files.h"

#include <gtest/gtest.h>

#include "item_world.h"
#include "items/group_helpers.h"

namespace kivo {
namespace {

class ScriptedDropHost : public DropHost {
 public:
  bool Show(const ShellMessage& message) override { return shown.push_back(message), answer; }
  std::string AskText(const std::string&, const std::string&) override { return ""; }
  bool Recycle(const std::string& path) override {
    return recycled.push_back(path), path.find("stuck") == std::string::npos;
  }
  bool answer = true;
  std::vector<ShellMessage> shown;
  std::vector<std::string> recycled;
};

// A first start's ring: user, system object, recycle bin, all-programs group, blank slots.
struct DropWorld : testing::ItemWorld {
  DropWorld() {
    const int builtIn[] = {kItemUser, kItemSystemObject, kItemRecycleBin, kItemAllProgramsGroup};
    for (int slot = 0; slot <= 36; ++slot)
      Item(slot).ItemType = slot < 4 ? builtIn[slot] : kItemShortcut;
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
  ScriptedDropHost host;
};

TEST(DropFiles, OnePathByTargetKindAndNothingWithoutTargetOrWithDraggingLocked) {
  for (const int kind : {kItemShortcut, kItemGroup, kItemRingShortcut, kItemSystemObject,
                         kItemBuiltInCommand, kItemUnused}) {
    DropWorld w;
    w.Item(6).ItemType = kind;
    const ShortcutItem before = w.Item(6);
    const bool added = kind == kItemShortcut || kind == kItemGroup || kind == kItemRingShortcut;
    EXPECT_EQ(w.Drop(6, w.Docs(1)),
              (DropOutcome{added ? DropResult::Added : DropResult::Refused, 6, added}));
    EXPECT_TRUE(added ? w.Item(6).LinkPath == "D:\\drop0" || kind == kItemGroup
                      : w.Item(6) == before)
        << kind;
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

// A list stops silently at the group's limit; a full group or store is told so once.
TEST(DropFiles, GroupAndStoreLimits) {
  const int free = kLastItem - kFirstUserItem + 1;
  // clang-format off
  const struct { int slot, kind, members, dropped; DropResult result; int added; } cases[] = {
      {7, kItemGroup, 30, 40, DropResult::Added, 6},
      {7, kItemGroup, 36, 3, DropResult::Full, 0},
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
