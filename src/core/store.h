// The shortcut store: 1025 items and 37 groups, addressed by number for the whole run.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/fixed_text.h"

namespace kivo {

// Item kinds (ItemType).
enum ItemKind : std::int32_t {
  kItemUnused = 0,
  kItemRingShortcut = 1,  // a shortcut standing in a ring slot
  kItemShortcut = 2,      // a blank ring slot
  kItemGroupMember = 5,   // a shortcut inside a group
  kItemGroup = 4,
  kItemAllProgramsGroup = 6,
  kItemRecycleBin = 9,
  kItemSystemObject = 10,
  kItemBuiltInCommand = 11,
  kItemUser = 12,
};

struct ShortcutItem {
  std::int32_t ItemType = 0;
  std::uint8_t ItemClass = 0;
  bool IsSystem = false;
  std::int32_t CommandId = 0;
  std::int16_t Reserved = 0;
  std::int32_t ItemIndex = 0;
  FixedText<255> LinkPath;
  FixedText<128> Title;
  FixedText<255> CustomIconFile;
  FixedText<255> IconFile;
  FixedText<255> TargetPath;
  FixedText<128> Arguments;
  std::int32_t RunWindow = 0;  // 0 normal, 1 minimized, 2 maximized

  friend bool operator==(const ShortcutItem&, const ShortcutItem&) = default;
};

struct ItemGroup {
  // Slots 1..Count hold the members in display order; slot 0 holds the group's number.
  std::vector<std::int32_t> Members;
  std::int32_t Count = 0;

  friend bool operator==(const ItemGroup&, const ItemGroup&) = default;
};

inline constexpr int kItemCount = 1025;  // items 0..1024
inline constexpr int kGroupCount = 37;   // groups 0..36
inline constexpr int kAllProgramsGroup = 3;
inline constexpr int kFirstRingGroup = 3;
inline constexpr int kLastRingGroup = 36;
inline constexpr int kFirstTemplateItem = 37;
// The recycle bin's entry, and the two templates it shows: the bin empty or full.
inline constexpr int kRecycleBinItem = 2;
inline constexpr int kRecycleEmptyTemplate = 37;
inline constexpr int kRecycleFullTemplate = 38;
inline constexpr int kFirstBuiltInCommand = 65;
inline constexpr int kLastBuiltInCommand = 128;
inline constexpr int kFirstUserItem = 129;
inline constexpr int kLastItem = kItemCount - 1;

// How many members a group can hold: 1024 for group 3, 36 for the others.
constexpr int GroupCapacity(int group) {
  return group == kAllProgramsGroup ? 1024 : 36;
}

class ShortcutStore {
 public:
  ShortcutStore();

  std::array<ShortcutItem, kItemCount> Items;
  std::array<ItemGroup, kGroupCount> Groups;

  // Back to the state right after the tables were created: every item unused, every
  // group empty with its member slots sized.
  void Clear();
};

// Refreshes the " (满)" / " (空)" mark at the end of group entry `group`'s title.
void UpdateGroupTitle(ShortcutStore& store, int group);

}  // namespace kivo
