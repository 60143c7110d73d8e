// The item context menu of a ring slot or a popup row: which of its nine entries are
// offered for which entry, what each entry does, and moving an entry to another place of
// its list (ChangePosition) with the icon images in step (the ExchangeCache port). Free of
// any window: the menu on screen is ui/win32/item_menu.
#pragma once

#include <array>

#include "core/shell_utilities.h"
#include "core/store.h"

namespace kivo {

// The entries by index; 2 and 7 are separators.
enum ItemMenuIndex : int {
  kMenuAddShortcut = 0,
  kMenuDelete = 1,
  kMenuFirstSeparator = 2,
  kMenuMoveUp = 3,
  kMenuMoveDown = 4,
  kMenuMoveFirst = 5,
  kMenuMoveLast = 6,
  kMenuSecondSeparator = 7,
  kMenuProperties = 8,
};
inline constexpr int kItemMenuEntryCount = 9;

// The entries' captions (UTF-8), "" for a separator.
inline constexpr std::array<const char*, kItemMenuEntryCount> kItemMenuCaptions = {
    "添加快捷方式", "删除快捷方式", "", "上移", "下移", "移至顶部", "移至底部", "", "属性"};

constexpr bool IsMenuSeparator(int index) {
  return index == kMenuFirstSeparator || index == kMenuSecondSeparator;
}

// The first ring slot that can move; slots 0..3 (the user, the computer, the recycle bin
// and the all-programs group) stay where they are.
inline constexpr int kFirstMovableSlot = 4;
// The fullest a dock group (36) or the all-programs group (1024) can get.
inline constexpr int kDockGroupCapacity = 36;

// What the menu acts on, set by the window that opened it.
struct ItemMenuContext {
  int member = -1;    // the item number the menu acts on
  int slot = -1;      // the ring slot, or for a popup row the slot (group) of the open list
  int position = -1;  // a popup row: its index in Groups(slot).Members (1..Count)

  // On the ring the member is its own slot; a popup row's member never is.
  bool OnRing() const { return member == slot; }
};

using ItemMenuAvailability = std::array<bool, kItemMenuEntryCount>;

// PrepareItemMenu's rules: which entries are on for the context, with `iconCount` the
// last ring slot shown. A context outside the tables turns every entry off.
ItemMenuAvailability PrepareItemMenu(const ItemMenuContext& context, const ShortcutStore& store,
                                     int iconCount);

// Keeps the icon images in step with records that change places. Variants 0..4 (the full
// image and the four ring sizes) travel with an entry; variants 5 and 6 stay with the slot.
class ExchangeCache {
 public:
  virtual ~ExchangeCache() = default;
  // Variants 0..4 of `item` into the holding area.
  virtual void Save(int item) = 0;
  // Variants 0..4 of `source` into `target`. The source may be left without them: every
  // move fills it again (or restores it) before it ends.
  virtual void Copy(int target, int source) = 0;
  // The holding area into variants 0..4 of `item`.
  virtual void Restore(int item) = 0;
};

enum class MoveMode : int { Up = 3, Down = 4, First = 5, Last = 6 };

// Where a move changed something.
enum class MoveResult { None, Ring, Popup };

// ChangePosition: a ring entry changes slots with its records and images (each slot keeps
// its own number in Members(0) and ItemIndex, and its member capacity); a popup row moves
// inside its group's Members. Moves stay within slots 4..iconCount on the ring and within
// 1..Count in a popup whatever the context says; anything else changes nothing.
MoveResult ChangePosition(ShortcutStore& store, int iconCount, const ItemMenuContext& context,
                          MoveMode mode, ExchangeCache& cache);

// What the menu's commands ask of the rest of the program.
class ItemMenuHost {
 public:
  virtual ~ItemMenuHost() = default;
  // The popup closes and the dock is dismissed before a dialog or a question.
  virtual void CloseWindows() = 0;
  // "Are you sure to delete the selected shortcut?"; true for Yes.
  virtual bool ConfirmDelete() = 0;
  // Deletes the entry (asking for a group itself); true when it was deleted.
  virtual bool DeleteItem(int item) = 0;
  // The ring shows its slots anew / the open list shows its members anew.
  virtual void RefreshDock() = 0;
  virtual void RefreshPopup() = 0;
  virtual void SaveStore() = 0;
  // The properties dialog for the context member, or for a new member when `addShortcut`.
  virtual void ShowProperties(bool addShortcut) = 0;
};

// The question before a single shortcut is deleted: Yes and No, No the default.
ShellMessage DeleteShortcutQuestion();

// Which kinds are deleted only after the question: a single shortcut on the ring or in a
// group.
bool DeleteAsks(const ShortcutStore& store, int item);

// Runs entry `index` for the context. An entry that is off (the menu went stale) or a
// separator does nothing. `addShortcut` is the flag the properties dialog reads.
void RunItemMenuCommand(int index, const ItemMenuContext& context, ShortcutStore& store,
                        int iconCount, ExchangeCache& cache, ItemMenuHost& host, bool& addShortcut);

}  // namespace kivo
