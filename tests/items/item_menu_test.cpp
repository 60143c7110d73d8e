#include "items/item_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kivo {
namespace {

std::size_t At(int i) {
  return static_cast<std::size_t>(i);
}

// Slots 0..3 as a first start leaves them, 4..36 alternating shortcuts and groups; group 5
// holds 129..133, group 7 is full, group 6 holds 170 alone, group 3 ten members.
ShortcutStore MakeStore() {
  ShortcutStore store;
  const int builtIn[] = {kItemUser, kItemSystemObject, kItemRecycleBin, kItemAllProgramsGroup};
  for (int slot = 0; slot <= kLastRingGroup; ++slot) {
    store.Items[At(slot)].ItemType = slot < 4   ? builtIn[slot]
                                     : slot % 2 ? kItemGroup
                                                : kItemRingShortcut;
    store.Items[At(slot)].ItemIndex = slot;
    store.Items[At(slot)].Title = std::to_string(slot);
    store.Groups[At(slot)].Members[0] = slot;
  }
  int next = kFirstUserItem;
  for (const auto& [group, count] : {std::pair{5, 5}, {7, 36}, {6, 1}, {3, 10}}) {
    for (int m = 1; m <= count; ++m) {
      store.Groups[At(group)].Members[At(m)] = next;
      store.Items[At(next)].ItemType = kItemGroupMember;
      store.Items[At(next)].ItemIndex = next;
      ++next;
    }
    store.Groups[At(group)].Count = count;
  }
  return store;
}

// Images by item number: variant v of item i starts as 100 * i + v.
class FakeCache : public ExchangeCache {
 public:
  FakeCache() {
    for (int i = 0; i < kItemCount; ++i)
      for (int v = 0; v < 7; ++v) images[At(i)][At(v)] = 100 * i + v;
  }
  void Save(int item) override { Move(hold, images[At(item)]); }
  void Copy(int target, int source) override { Move(images[At(target)], images[At(source)]); }
  void Restore(int item) override { Move(images[At(item)], hold); }
  void Move(std::array<int, 7>& to, const std::array<int, 7>& from) {
    std::copy_n(from.begin(), 5, to.begin());
    ++calls;
  }
  std::array<std::array<int, 7>, kItemCount> images{};
  std::array<int, 7> hold{};
  int calls = 0;
};

// Whatever the kinds, a move is offered exactly where it happens. A ring entry moved from
// `slot` lands in its target and the entries between shift one place towards `slot`; each
// slot keeps its number, its member room and its variants 5 and 6. A refused move changes
// nothing, and group 3 with its 1024 member slots never leaves slot 3.
TEST(ItemMenu, OfferedMovesShiftTheRingAndKeepItWhole) {
  const ShortcutStore base = MakeStore();
  ShortcutStore store = base;
  for (const int iconCount : {8, 24, 36}) {
    for (int slot = -1; slot <= kLastRingGroup + 1; ++slot) {
      for (const int kind : {0, 1, 2, 4, 5, 6, 9, 12}) {
        for (int mode = kMenuMoveUp; mode <= kMenuMoveLast; ++mode) {
          // Only the ring changes: resetting it alone keeps the test quick.
          std::copy_n(base.Items.begin(), kGroupCount, store.Items.begin());
          std::copy_n(base.Groups.begin(), kGroupCount, store.Groups.begin());
          if (slot >= 0 && slot <= kLastRingGroup) store.Items[At(slot)].ItemType = kind;
          const std::vector<ShortcutItem> items(store.Items.begin(),
                                                store.Items.begin() + kGroupCount);
          const ItemMenuContext context{slot, slot, -1};
          const bool offered = PrepareItemMenu(context, store, iconCount)[At(mode)];
          FakeCache cache;
          const bool moved = ChangePosition(store, iconCount, context, static_cast<MoveMode>(mode),
                                            cache) == MoveResult::Ring;
          SCOPED_TRACE(std::to_string(slot) + " kind " + std::to_string(kind) + " mode " +
                       std::to_string(mode) + " shown " + std::to_string(iconCount));
          ASSERT_EQ(offered, kind <= kItemGroupMember && moved);
          ASSERT_TRUE(moved || cache.calls == 0);
          const int target = !moved                   ? slot
                             : mode == kMenuMoveUp    ? slot - 1
                             : mode == kMenuMoveDown  ? slot + 1
                             : mode == kMenuMoveFirst ? kFirstMovableSlot
                                                      : std::min(iconCount, kLastRingGroup);
          const int low = std::min(slot, target), high = std::max(slot, target);
          for (int s = 0; s < kGroupCount; ++s) {
            const int from = s < low || s > high ? s
                             : s == target       ? slot
                                                 : s + (target < slot ? -1 : 1);
            ShortcutItem item = items[At(from)];
            item.ItemIndex = s;
            ItemGroup group = base.Groups[At(from)];
            group.Members[0] = s;
            ASSERT_EQ(store.Items[At(s)], item) << s;
            ASSERT_EQ(store.Groups[At(s)], group) << s;
            for (int v = 0; v < 7; ++v)
              ASSERT_EQ(cache.images[At(s)][At(v)], 100 * (v < 5 ? from : s) + v);
          }
        }
      }
    }
  }
}

// Member room belongs to the slot: a record moves with its members, never its room, and
// one with more members than the other slot holds does not move.
TEST(ItemMenu, MemberCapacityStaysWithTheSlot) {
  ShortcutStore store = MakeStore();
  store.Groups[9].Members.resize(1025, 0);
  FakeCache cache;
  ASSERT_EQ(ChangePosition(store, 24, {9, 9, -1}, MoveMode::Up, cache), MoveResult::Ring);
  EXPECT_EQ(std::pair(store.Groups[8].Members.size(), store.Groups[9].Members.size()),
            std::pair(std::size_t{37}, std::size_t{1025}));
  for (int m = 1; m <= 40; ++m) store.Groups[9].Members[At(m)] = 200 + m;
  store.Groups[9].Count = 40;
  const ShortcutStore before = store;
  for (const MoveMode mode : {MoveMode::Up, MoveMode::Down, MoveMode::First, MoveMode::Last}) {
    EXPECT_EQ(ChangePosition(store, 24, {9, 9, -1}, mode, cache), MoveResult::None);
  }
  EXPECT_TRUE(store.Groups == before.Groups);
}

}  // namespace
}  // namespace kivo
