#include "items/item_menu.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kivo {
namespace {

constexpr std::size_t At(int index) {
  return static_cast<std::size_t>(index);
}

bool IsItem(int item) {
  return item >= 0 && item <= kLastItem;
}

bool IsGroup(int group) {
  return group >= 0 && group < kGroupCount;
}

// The last slot a ring entry can move to: the last one shown, never past the tables.
int LastMovableSlot(int iconCount) {
  return std::min(iconCount, kLastRingGroup);
}

// The members a group record really holds: Count, cut to its member slots.
int MemberCount(const ItemGroup& group) {
  const int room = static_cast<int>(group.Members.size()) - 1;
  return std::clamp(group.Count, 0, std::max(room, 0));
}

// The context member's index in its popup's Members: the position the popup gave when it
// still names the member (the list may have skipped a damaged number), else the member's
// first place in the group, else 0.
int MemberPosition(const ShortcutStore& store, const ItemMenuContext& context) {
  if (!IsGroup(context.slot)) return 0;
  const ItemGroup& group = store.Groups[At(context.slot)];
  const int count = MemberCount(group);
  if (context.position >= 1 && context.position <= count &&
      group.Members[At(context.position)] == context.member) {
    return context.position;
  }
  for (int m = 1; m <= count; ++m) {
    if (group.Members[At(m)] == context.member) return m;
  }
  return 0;
}

void TurnOff(ItemMenuAvailability& on, int first, int last) {
  for (int i = first; i <= last; ++i) on[At(i)] = false;
}

// Slot `slot` takes over the group record `group` but keeps its own member slots: the
// capacity belongs to the slot (1024 members only for slot 3), never to the entry.
void PutGroup(ShortcutStore& store, int slot, const ItemGroup& group) {
  ItemGroup& target = store.Groups[At(slot)];
  const int count = MemberCount(group);
  std::fill(target.Members.begin(), target.Members.end(), 0);
  std::copy_n(group.Members.begin() + 1, count, target.Members.begin() + 1);
  target.Count = count;
  target.Members[0] = slot;
}

void PutItem(ShortcutStore& store, int slot, const ShortcutItem& item) {
  ShortcutItem& target = store.Items[At(slot)];
  target = item;
  target.ItemIndex = slot;
}

// Every group record that will land in slots first..last fits that slot's member slots.
bool GroupsFit(const ShortcutStore& store, int first, int last) {
  int most = 0;
  int least = kItemCount;
  for (int slot = first; slot <= last; ++slot) {
    const ItemGroup& group = store.Groups[At(slot)];
    most = std::max(most, MemberCount(group));
    least = std::min(least, static_cast<int>(group.Members.size()) - 1);
  }
  return most <= least;
}

MoveResult MoveOnRing(ShortcutStore& store, int iconCount, int slot, MoveMode mode,
                      ExchangeCache& cache) {
  const int last = LastMovableSlot(iconCount);
  if (slot < kFirstMovableSlot || slot > last) return MoveResult::None;
  int target = slot;
  switch (mode) {
    case MoveMode::Up:
      target = slot - 1;
      break;
    case MoveMode::Down:
      target = slot + 1;
      break;
    case MoveMode::First:
      target = kFirstMovableSlot;
      break;
    case MoveMode::Last:
      target = last;
      break;
  }
  if (target == slot || target < kFirstMovableSlot || target > last) return MoveResult::None;
  if (!GroupsFit(store, std::min(slot, target), std::max(slot, target))) return MoveResult::None;

  const ItemGroup keptGroup = store.Groups[At(slot)];
  const ShortcutItem keptItem = store.Items[At(slot)];
  cache.Save(slot);
  // The entries between the two places each go one slot towards the one that was left
  // (for a move by one place that is the neighbour alone), and the moved entry lands.
  const int step = target < slot ? -1 : 1;
  for (int j = slot; j != target; j += step) {
    const ItemGroup next = store.Groups[At(j + step)];
    PutGroup(store, j, next);
    PutItem(store, j, store.Items[At(j + step)]);
    cache.Copy(j, j + step);
  }
  PutGroup(store, target, keptGroup);
  PutItem(store, target, keptItem);
  cache.Restore(target);
  return MoveResult::Ring;
}

MoveResult MoveInPopup(ShortcutStore& store, const ItemMenuContext& context, MoveMode mode) {
  const int position = MemberPosition(store, context);
  if (position == 0) return MoveResult::None;
  ItemGroup& group = store.Groups[At(context.slot)];
  const int count = MemberCount(group);
  int target = position;
  switch (mode) {
    case MoveMode::Up:
      target = position - 1;
      break;
    case MoveMode::Down:
      target = position + 1;
      break;
    case MoveMode::First:
      target = 1;
      break;
    case MoveMode::Last:
      target = count;
      break;
  }
  if (target == position || target < 1 || target > count) return MoveResult::None;
  auto members = group.Members.begin();
  if (target < position) {
    std::rotate(members + target, members + position, members + position + 1);
  } else {
    std::rotate(members + position, members + position + 1, members + target + 1);
  }
  return MoveResult::Popup;
}

}  // namespace

ItemMenuAvailability PrepareItemMenu(const ItemMenuContext& context, const ShortcutStore& store,
                                     int iconCount) {
  ItemMenuAvailability on{};
  if (!IsItem(context.member) || !IsGroup(context.slot)) return on;
  on.fill(true);
  const int kind = store.Items[At(context.member)].ItemType;
  const bool ownGroup = IsGroup(context.member);
  const int ownCount = ownGroup ? store.Groups[At(context.member)].Count : 0;
  switch (kind) {
    case kItemRingShortcut:
    case kItemGroupMember:
      on[kMenuAddShortcut] = false;
      break;
    case kItemUnused:
    case kItemShortcut:
      on[kMenuDelete] = false;
      on[kMenuProperties] = false;
      break;
    case kItemGroup:
      if (!ownGroup || ownCount >= kDockGroupCapacity) on[kMenuAddShortcut] = false;
      break;
    case kItemAllProgramsGroup:
      if (!ownGroup || ownCount >= GroupCapacity(kAllProgramsGroup)) {
        on[kMenuAddShortcut] = false;
      }
      TurnOff(on, kMenuMoveUp, kMenuMoveLast);
      break;
    default:
      // Built-in entries offer only their properties; a kind the store does not know
      // (3, or below 0) offers nothing.
      TurnOff(on, kMenuAddShortcut, kMenuSecondSeparator);
      if (kind <= kItemAllProgramsGroup) on[kMenuProperties] = false;
      break;
  }

  bool firstPlace = false;
  bool lastPlace = false;
  if (context.OnRing()) {
    // Only slots 4..iconCount move, whatever their kinds.
    const int last = LastMovableSlot(iconCount);
    firstPlace = context.slot <= kFirstMovableSlot || context.slot > last;
    lastPlace = context.slot >= last || context.slot < kFirstMovableSlot;
  } else {
    const int position = MemberPosition(store, context);
    const int count = MemberCount(store.Groups[At(context.slot)]);
    firstPlace = position <= 1;
    lastPlace = position == 0 || position >= count;
  }
  if (firstPlace) {
    on[kMenuMoveUp] = false;
    on[kMenuMoveFirst] = false;
  }
  if (lastPlace) {
    on[kMenuMoveDown] = false;
    on[kMenuMoveLast] = false;
  }
  return on;
}

MoveResult ChangePosition(ShortcutStore& store, int iconCount, const ItemMenuContext& context,
                          MoveMode mode, ExchangeCache& cache) {
  if (!IsItem(context.member) || !IsGroup(context.slot)) return MoveResult::None;
  if (context.OnRing()) return MoveOnRing(store, iconCount, context.slot, mode, cache);
  return MoveInPopup(store, context, mode);
}

ShellMessage DeleteShortcutQuestion() {
  return ShellMessage{"Are you sure to delete the selected shortcut?",
                      "Delete Shortcut",
                      MessageButtons::YesNo,
                      MessageIcon::Question,
                      true,
                      false};
}

bool DeleteAsks(const ShortcutStore& store, int item) {
  if (!IsItem(item)) return false;
  const int kind = store.Items[At(item)].ItemType;
  return kind == kItemRingShortcut || kind == kItemGroupMember;
}

void RunItemMenuCommand(int index, const ItemMenuContext& context, ShortcutStore& store,
                        int iconCount, ExchangeCache& cache, ItemMenuHost& host,
                        bool& addShortcut) {
  if (index < 0 || index >= kItemMenuEntryCount || IsMenuSeparator(index)) return;
  if (!PrepareItemMenu(context, store, iconCount)[At(index)]) return;
  switch (index) {
    case kMenuAddShortcut:
      addShortcut = true;
      host.CloseWindows();
      host.ShowProperties(true);
      return;
    case kMenuDelete:
      host.CloseWindows();
      if (DeleteAsks(store, context.member) && !host.ConfirmDelete()) return;
      if (!host.DeleteItem(context.member)) return;
      host.RefreshDock();
      host.SaveStore();
      return;
    case kMenuProperties:
      host.CloseWindows();
      host.ShowProperties(false);
      return;
    default:
      break;
  }
  switch (ChangePosition(store, iconCount, context, static_cast<MoveMode>(index), cache)) {
    case MoveResult::Ring:
      host.RefreshDock();
      break;
    case MoveResult::Popup:
      host.RefreshPopup();
      break;
    case MoveResult::None:
      break;
  }
  // A move is written at once, even one that changed nothing.
  host.SaveStore();
}

}  // namespace kivo
