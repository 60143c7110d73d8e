#include "items/item_menu.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kivo {
namespace {

constexpr int kShown = 24;  // IconCount of the test ring

std::size_t At(int i) {
  return static_cast<std::size_t>(i);
}

// Slots 0..3 as a first start leaves them, 4..kShown alternating shortcuts and groups,
// group 5 with five members, group 6 with one, group 7 full.
ShortcutStore MakeStore() {
  ShortcutStore store;
  store.Items[0].ItemType = kItemUser;
  store.Items[1].ItemType = kItemSystemObject;
  store.Items[2].ItemType = kItemRecycleBin;
  store.Items[3].ItemType = kItemAllProgramsGroup;
  for (int slot = 0; slot <= kLastRingGroup; ++slot) {
    store.Items[At(slot)].ItemIndex = slot;
    store.Items[At(slot)].Title = "slot " + std::to_string(slot);
    store.Groups[At(slot)].Members[0] = slot;
  }
  for (int slot = 4; slot <= kLastRingGroup; ++slot) {
    store.Items[At(slot)].ItemType = slot % 2 == 0 ? kItemRingShortcut : kItemGroup;
  }
  int next = kFirstUserItem;
  auto add = [&](int group, int count) {
    ItemGroup& g = store.Groups[At(group)];
    for (int m = 1; m <= count; ++m) {
      g.Members[At(m)] = next;
      store.Items[At(next)].ItemType = kItemGroupMember;
      store.Items[At(next)].ItemIndex = next;
      ++next;
    }
    g.Count = count;
  };
  add(5, 5);   // 129..133
  add(7, 36);  // 134..169
  store.Items[6].ItemType = kItemGroup;
  add(6, 1);  // 170
  add(3, 10);
  return store;
}

std::string Row(const ItemMenuAvailability& on) {
  std::string text;
  for (const bool entry : on) text += entry ? '1' : '0';
  return text;
}

TEST(ItemMenu, AvailabilityTable) {
  struct Case {
    const char* what;
    int member, slot, position;
    int kind;  // -1 keeps the store's kind
    int iconCount;
    const char* expected;  // entries 0..8
  };
  const std::vector<Case> cases = {
      {"ring shortcut in the middle", 8, 8, -1, -1, kShown, "011111111"},
      {"blank slot", 8, 8, -1, kItemShortcut, kShown, "101111110"},
      {"unused slot", 8, 8, -1, kItemUnused, kShown, "101111110"},
      {"group with room", 5, 5, -1, -1, kShown, "111111111"},
      {"full group", 7, 7, -1, -1, kShown, "011111111"},
      {"all programs with room", 3, 3, -1, -1, kShown, "111000011"},
      {"user entry", 0, 0, -1, -1, kShown, "000000001"},
      {"recycle bin", 2, 2, -1, -1, kShown, "000000001"},
      {"built-in command in a slot", 9, 9, -1, kItemBuiltInCommand, kShown, "000000001"},
      {"a kind nobody knows", 9, 9, -1, 3, kShown, "000000000"},
      {"slot 4", 4, 4, -1, -1, kShown, "011010111"},
      {"slot IconCount", kShown, kShown, -1, -1, kShown, "011101011"},
      {"blank slot IconCount", kShown, kShown, -1, kItemShortcut, kShown, "101101010"},
      {"group in slot 4, all eight shown", 4, 4, -1, kItemGroup, 8, "111010111"},
      {"slot past IconCount", 25, 25, -1, -1, kShown, "111000011"},
      {"slot past the tables' rings", 36, 36, -1, -1, 40, "011101011"},
      {"first popup member", 129, 5, 1, -1, kShown, "011010111"},
      {"middle popup member", 131, 5, 3, -1, kShown, "011111111"},
      {"last popup member", 133, 5, 5, -1, kShown, "011101011"},
      {"only popup member", 170, 6, 1, -1, kShown, "011000011"},
      {"full group's last member", 169, 7, 36, -1, kShown, "011101011"},
      {"stale position finds the member", 133, 5, 1, -1, kShown, "011101011"},
      {"member not in the group", 170, 5, 1, -1, kShown, "011000011"},
      {"command row in a list", 70, 0, 1, kItemBuiltInCommand, kShown, "000000001"},
      {"member out of range", 1025, 5, 1, -1, kShown, "000000000"},
      {"slot out of range", 129, 37, 1, -1, kShown, "000000000"},
  };
  for (const Case& c : cases) {
    ShortcutStore store = MakeStore();
    if (c.kind != -1) store.Items[At(c.member % kItemCount)].ItemType = c.kind;
    const ItemMenuContext context{c.member, c.slot, c.position};
    EXPECT_EQ(Row(PrepareItemMenu(context, store, c.iconCount)), c.expected) << c.what;
  }
}

TEST(ItemMenu, FullAllProgramsGroupOffersNoNewShortcut) {
  ShortcutStore store = MakeStore();
  ItemGroup& all = store.Groups[kAllProgramsGroup];
  for (int m = 1; m <= 1024; ++m) all.Members[At(m)] = m;
  all.Count = 1024;
  EXPECT_EQ(Row(PrepareItemMenu({3, 3, -1}, store, kShown)), "011000011");
  all.Count = 1023;
  EXPECT_EQ(Row(PrepareItemMenu({3, 3, -1}, store, kShown)), "111000011");
}

// Images by item number: variant v of item i starts as 100 * i + v.
class FakeCache : public ExchangeCache {
 public:
  FakeCache() {
    for (int i = 0; i < kItemCount; ++i) {
      for (int v = 0; v < 7; ++v) images[At(i)][At(v)] = 100 * i + v;
    }
  }
  void Save(int item) override {
    for (int v = 0; v <= 4; ++v) hold[At(v)] = images[At(item)][At(v)];
    ++calls;
  }
  void Copy(int target, int source) override {
    for (int v = 0; v <= 4; ++v) images[At(target)][At(v)] = images[At(source)][At(v)];
    ++calls;
  }
  void Restore(int item) override {
    for (int v = 0; v <= 4; ++v) images[At(item)][At(v)] = hold[At(v)];
    ++calls;
  }
  std::array<std::array<int, 7>, kItemCount> images{};
  std::array<int, 5> hold{};
  int calls = 0;
};

// Checks that slot `slot` now holds what slot `from` held before: records, members and
// its images 0..4, with its own number and its own variants 5 and 6.
void ExpectSlotFrom(const ShortcutStore& before, const ShortcutStore& after, const FakeCache& cache,
                    int slot, int from) {
  SCOPED_TRACE("slot " + std::to_string(slot) + " from " + std::to_string(from));
  ShortcutItem expected = before.Items[At(from)];
  expected.ItemIndex = slot;
  EXPECT_EQ(after.Items[At(slot)], expected);
  const ItemGroup& group = after.Groups[At(slot)];
  EXPECT_EQ(group.Members[0], slot);
  EXPECT_EQ(group.Count, before.Groups[At(from)].Count);
  EXPECT_EQ(group.Members.size(), before.Groups[At(slot)].Members.size());
  for (int m = 1; m < static_cast<int>(group.Members.size()); ++m) {
    EXPECT_EQ(group.Members[At(m)], before.Groups[At(from)].Members[At(m)]) << "member " << m;
  }
  for (int v = 0; v <= 4; ++v) EXPECT_EQ(cache.images[At(slot)][At(v)], 100 * from + v);
  for (int v = 5; v <= 6; ++v) EXPECT_EQ(cache.images[At(slot)][At(v)], 100 * slot + v);
}

TEST(ItemMenu, RingMovesCarryRecordsAndImagesAtBothEnds) {
  struct Case {
    int slot;
    MoveMode mode;
    std::map<int, int> from;  // slot -> the slot it now holds; the others stay
  };
  const std::vector<Case> cases = {
      {9, MoveMode::Up, {{8, 9}, {9, 8}}},
      {5, MoveMode::Up, {{4, 5}, {5, 4}}},
      {4, MoveMode::Down, {{4, 5}, {5, 4}}},
      {kShown - 1, MoveMode::Down, {{kShown - 1, kShown}, {kShown, kShown - 1}}},
      {kShown, MoveMode::Up, {{kShown - 1, kShown}, {kShown, kShown - 1}}},
      {9, MoveMode::First, {{4, 9}, {5, 4}, {6, 5}, {7, 6}, {8, 7}, {9, 8}}},
      {5, MoveMode::First, {{4, 5}, {5, 4}}},
      {kShown, MoveMode::First, {}},  // filled below: everything shifts
      {4, MoveMode::Last, {}},
      {20, MoveMode::Last, {{20, 21}, {21, 22}, {22, 23}, {23, 24}, {24, 20}}},
  };
  for (Case c : cases) {
    if (c.from.empty()) {
      for (int s = 4; s <= kShown; ++s) {
        if (c.mode == MoveMode::First) c.from[s] = s == 4 ? kShown : s - 1;
        if (c.mode == MoveMode::Last) c.from[s] = s == kShown ? 4 : s + 1;
      }
    }
    SCOPED_TRACE("slot " + std::to_string(c.slot) + " mode " +
                 std::to_string(static_cast<int>(c.mode)));
    const ShortcutStore before = MakeStore();
    ShortcutStore store = before;
    FakeCache cache;
    ASSERT_EQ(ChangePosition(store, kShown, {c.slot, c.slot, -1}, c.mode, cache), MoveResult::Ring);
    for (int s = 0; s < kGroupCount; ++s) {
      const auto it = c.from.find(s);
      ExpectSlotFrom(before, store, cache, s, it == c.from.end() ? s : it->second);
    }
    // Group members and everything past the ring are untouched.
    for (int i = kGroupCount; i < kItemCount; ++i) {
      ASSERT_EQ(store.Items[At(i)], before.Items[At(i)]) << i;
    }
  }
}

TEST(ItemMenu, RingMovesStayWithinSlotsFourToIconCount) {
  const std::vector<std::pair<int, MoveMode>> refused = {
      {4, MoveMode::Up},        {4, MoveMode::First}, {kShown, MoveMode::Down},
      {kShown, MoveMode::Last}, {3, MoveMode::Down},  {3, MoveMode::Last},
      {2, MoveMode::Down},      {0, MoveMode::Up},    {25, MoveMode::Up},
      {25, MoveMode::First},    {36, MoveMode::Up},   {-1, MoveMode::Down},
  };
  for (const auto& [slot, mode] : refused) {
    const ShortcutStore before = MakeStore();
    ShortcutStore store = before;
    FakeCache cache;
    EXPECT_EQ(ChangePosition(store, kShown, {slot, slot, -1}, mode, cache), MoveResult::None)
        << slot << " mode " << static_cast<int>(mode);
    EXPECT_EQ(cache.calls, 0);
    for (int s = 0; s < kGroupCount; ++s) {
      EXPECT_EQ(store.Groups[At(s)], before.Groups[At(s)]) << s;
      EXPECT_EQ(store.Items[At(s)], before.Items[At(s)]) << s;
    }
  }
}

// Member capacity belongs to the slot: a record that moves takes its members, never its
// room for them, and one with more members than the other slot holds does not move.
TEST(ItemMenu, MemberCapacityStaysWithTheSlot) {
  ShortcutStore store = MakeStore();
  store.Groups[9].Members.resize(1025, 0);  // a slot with all-programs room
  FakeCache cache;
  ASSERT_EQ(ChangePosition(store, kShown, {9, 9, -1}, MoveMode::Up, cache), MoveResult::Ring);
  EXPECT_EQ(store.Groups[8].Members.size(), 37u);
  EXPECT_EQ(store.Groups[9].Members.size(), 1025u);
  EXPECT_EQ(store.Groups[8].Count, 0);
  EXPECT_EQ(store.Groups[9].Count, 0);

  ItemGroup& big = store.Groups[9];
  for (int m = 1; m <= 40; ++m) big.Members[At(m)] = 200 + m;
  big.Count = 40;
  const ShortcutStore before = store;
  for (const MoveMode mode : {MoveMode::Up, MoveMode::Down, MoveMode::First, MoveMode::Last}) {
    EXPECT_EQ(ChangePosition(store, kShown, {9, 9, -1}, mode, cache), MoveResult::None);
  }
  for (int s = 0; s < kGroupCount; ++s) EXPECT_EQ(store.Groups[At(s)], before.Groups[At(s)]);
}

// Whatever the kinds and the menu's state, every move any entry offers keeps the ring's
// numbering, and group 3 with its 1024 member slots never leaves slot 3.
TEST(ItemMenu, OfferedMovesKeepTheRingWhole) {
  const std::vector<int> kinds = {
      kItemUnused,      kItemRingShortcut, kItemShortcut,         kItemGroup,
      kItemGroupMember, kItemRecycleBin,   kItemAllProgramsGroup, kItemUser};
  const ShortcutStore base = MakeStore();
  ShortcutStore store = base;
  for (const int iconCount : {8, 24, 36}) {
    for (int slot = 0; slot <= kLastRingGroup; ++slot) {
      for (const int kind : kinds) {
        for (int mode = kMenuMoveUp; mode <= kMenuMoveLast; ++mode) {
          for (int s = 0; s < kGroupCount; ++s) {
            store.Items[At(s)] = base.Items[At(s)];
            store.Groups[At(s)] = base.Groups[At(s)];
          }
          store.Items[At(slot)].ItemType = kind;
          const ItemMenuContext context{slot, slot, -1};
          const bool offered = PrepareItemMenu(context, store, iconCount)[At(mode)];
          FakeCache cache;
          const MoveResult result =
              ChangePosition(store, iconCount, context, static_cast<MoveMode>(mode), cache);
          SCOPED_TRACE("slot " + std::to_string(slot) + " kind " + std::to_string(kind) + " mode " +
                       std::to_string(mode) + " shown " + std::to_string(iconCount));
          // What is offered moves; entries that can move are offered exactly where they can.
          if (offered) {
            EXPECT_EQ(result, MoveResult::Ring);
          }
          if (kind <= kItemGroupMember) {
            EXPECT_EQ(offered, result == MoveResult::Ring);
          } else {
            EXPECT_FALSE(offered);
          }
          ASSERT_EQ(store.Groups[kAllProgramsGroup], base.Groups[kAllProgramsGroup]);
          for (int s = 0; s < kGroupCount; ++s) {
            ASSERT_EQ(store.Items[At(s)].ItemIndex, s);
            ASSERT_EQ(store.Groups[At(s)].Members[0], s);
            ASSERT_EQ(store.Groups[At(s)].Members.size(), At(GroupCapacity(s) + 1));
            if (s != slot && (s < kFirstMovableSlot || s > iconCount)) {
              ASSERT_EQ(store.Items[At(s)], base.Items[At(s)]);
            }
          }
        }
      }
    }
  }
}

TEST(ItemMenu, PopupMovesAtBothEnds) {
  struct Case {
    int position;
    MoveMode mode;
    std::vector<int> expected;  // members 1..5 afterwards; empty: nothing moves
  };
  const std::vector<Case> cases = {
      {3, MoveMode::Up, {129, 131, 130, 132, 133}},
      {2, MoveMode::Up, {130, 129, 131, 132, 133}},
      {1, MoveMode::Up, {}},
      {1, MoveMode::Down, {130, 129, 131, 132, 133}},
      {4, MoveMode::Down, {129, 130, 131, 133, 132}},
      {5, MoveMode::Down, {}},
      {4, MoveMode::First, {132, 129, 130, 131, 133}},
      {5, MoveMode::First, {133, 129, 130, 131, 132}},
      {1, MoveMode::First, {}},
      {2, MoveMode::Last, {129, 131, 132, 133, 130}},
      {1, MoveMode::Last, {130, 131, 132, 133, 129}},
      {5, MoveMode::Last, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("position " + std::to_string(c.position) + " mode " +
                 std::to_string(static_cast<int>(c.mode)));
    const ShortcutStore before = MakeStore();
    ShortcutStore store = before;
    FakeCache cache;
    const int member = before.Groups[5].Members[At(c.position)];
    const MoveResult result = ChangePosition(store, kShown, {member, 5, c.position}, c.mode, cache);
    EXPECT_EQ(cache.calls, 0);
    const ItemGroup& group = store.Groups[5];
    EXPECT_EQ(group.Members[0], 5);
    EXPECT_EQ(group.Count, 5);
    EXPECT_EQ(group.Members[6], 0);
    if (c.expected.empty()) {
      EXPECT_EQ(result, MoveResult::None);
      EXPECT_EQ(group, before.Groups[5]);
      continue;
    }
    EXPECT_EQ(result, MoveResult::Popup);
    EXPECT_EQ(std::vector<int>(group.Members.begin() + 1, group.Members.begin() + 6), c.expected);
    for (int i = 0; i < kItemCount; ++i) ASSERT_EQ(store.Items[At(i)], before.Items[At(i)]) << i;
  }
}

TEST(ItemMenu, PopupMoveInTheFullAllProgramsGroupKeepsItsMemberSlots) {
  ShortcutStore store = MakeStore();
  ItemGroup& all = store.Groups[kAllProgramsGroup];
  for (int m = 1; m <= 1024; ++m) all.Members[At(m)] = m;
  all.Count = 1024;
  FakeCache cache;
  ASSERT_EQ(ChangePosition(store, kShown, {1, 3, 1}, MoveMode::Last, cache), MoveResult::Popup);
  EXPECT_EQ(all.Members.size(), 1025u);
  EXPECT_EQ(all.Members[1024], 1);
  EXPECT_EQ(all.Members[1], 2);
  ASSERT_EQ(ChangePosition(store, kShown, {1, 3, 1024}, MoveMode::First, cache), MoveResult::Popup);
  for (int m = 1; m <= 1024; ++m) ASSERT_EQ(all.Members[At(m)], m);
}

class RecordingHost : public ItemMenuHost {
 public:
  void CloseWindows() override { log += "close;"; }
  bool ConfirmDelete() override {
    log += "ask;";
    return answer;
  }
  bool DeleteItem(int item) override {
    log += "delete " + std::to_string(item) + ";";
    return deletes;
  }
  void RefreshDock() override { log += "dock;"; }
  void RefreshPopup() override { log += "popup;"; }
  void SaveStore() override { log += "save;"; }
  void ShowProperties(bool add) override { log += add ? "add;" : "properties;"; }
  std::string log;
  bool answer = true;
  bool deletes = true;
};

TEST(ItemMenu, Commands) {
  struct Case {
    const char* what;
    int index;
    ItemMenuContext context;
    bool answer, deletes;
    const char* log;
    bool addFlag;
  };
  const std::vector<Case> cases = {
      {"add to a group", kMenuAddShortcut, {5, 5, -1}, true, true, "close;add;", true},
      {"add, turned off on a shortcut", kMenuAddShortcut, {8, 8, -1}, true, true, "", false},
      {"delete a shortcut, Yes",
       kMenuDelete,
       {8, 8, -1},
       true,
       true,
       "close;ask;delete 8;dock;save;",
       false},
      {"delete a shortcut, No", kMenuDelete, {8, 8, -1}, false, true, "close;ask;", false},
      {"delete a member, Yes",
       kMenuDelete,
       {130, 5, 2},
       true,
       true,
       "close;ask;delete 130;dock;save;",
       false},
      {"delete a group asks nothing here",
       kMenuDelete,
       {5, 5, -1},
       false,
       true,
       "close;delete 5;dock;save;",
       false},
      {"delete a group, declined", kMenuDelete, {5, 5, -1}, true, false, "close;delete 5;", false},
      {"delete, off on the user entry", kMenuDelete, {0, 0, -1}, true, true, "", false},
      {"properties", kMenuProperties, {8, 8, -1}, true, true, "close;properties;", false},
      {"ring move", kMenuMoveUp, {8, 8, -1}, true, true, "dock;save;", false},
      {"popup move", kMenuMoveLast, {130, 5, 2}, true, true, "popup;save;", false},
      {"move turned off", kMenuMoveUp, {4, 4, -1}, true, true, "", false},
      {"separator", kMenuFirstSeparator, {8, 8, -1}, true, true, "", false},
      {"no such entry", 9, {8, 8, -1}, true, true, "", false},
  };
  for (const Case& c : cases) {
    ShortcutStore store = MakeStore();
    FakeCache cache;
    RecordingHost host;
    host.answer = c.answer;
    host.deletes = c.deletes;
    bool add = false;
    RunItemMenuCommand(c.index, c.context, store, kShown, cache, host, add);
    EXPECT_EQ(host.log, c.log) << c.what;
    EXPECT_EQ(add, c.addFlag) << c.what;
  }
}

TEST(ItemMenu, CaptionsAndQuestionKinds) {
  EXPECT_STREQ(kItemMenuCaptions[kMenuAddShortcut], "添加快捷方式");
  EXPECT_STREQ(kItemMenuCaptions[kMenuMoveFirst], "移至顶部");
  EXPECT_STREQ(kItemMenuCaptions[kMenuProperties], "属性");
  for (int i = 0; i < kItemMenuEntryCount; ++i) {
    EXPECT_EQ(IsMenuSeparator(i), std::string(kItemMenuCaptions[At(i)]).empty()) << i;
  }
  ShortcutStore store = MakeStore();
  std::string asks;
  for (const int kind : {0, 1, 2, 4, 5, 6, 9, 11, 12}) {
    store.Items[8].ItemType = kind;
    if (DeleteAsks(store, 8)) asks += std::to_string(kind);
  }
  EXPECT_EQ(asks, "15");
  EXPECT_FALSE(DeleteAsks(store, -1));
  const ShellMessage question = DeleteShortcutQuestion();
  EXPECT_EQ(question.text, "Are you sure to delete the selected shortcut?");
  EXPECT_EQ(question.title, "Delete Shortcut");
  EXPECT_EQ(question.buttons, MessageButtons::YesNo);
  EXPECT_EQ(question.icon, MessageIcon::Question);
  EXPECT_TRUE(question.defaultNo);
  EXPECT_FALSE(DeleteAsks(store, kItemCount));
}

}  // namespace
}  // namespace kivo
