// The item context menu on screen: opened by a right-button release on a ring slot or on a
// popup row, with the entries the rules offer (the others greyed), at the pointer. The
// chosen command runs once the menu has closed; moves keep the icon images in step through
// TableExchangeCache.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "core/settings.h"
#include "core/store.h"
#include "gfx/win32/image_tables.h"
#include "items/item_context.h"
#include "items/item_menu.h"
#include "platform/win32/gdiplus_api.h"

namespace kivo::win {

class DockWindow;
class PopupWindow;

// ExchangeCache over the icon table: variants 0..4 move with an entry (as bitmaps, not
// copies), variants 5 and 6 stay with the slot.
class TableExchangeCache final : public ExchangeCache {
 public:
  explicit TableExchangeCache(ImageTables& images) : images_(images) {}
  void Save(int item) override;
  void Copy(int target, int source) override;
  void Restore(int item) override;

 private:
  static constexpr int kMovingVariants = 5;
  ImageTables& images_;
  std::array<GpBitmapPtr, kMovingVariants> hold_;
};

// Shows the nine entries at the pointer, owned by `owner` (brought to the foreground
// first, so that a click elsewhere closes the menu); entries `on` leaves off are greyed.
// The chosen entry's index, or -1 when the menu was dismissed.
int TrackItemMenu(HWND owner, const ItemMenuAvailability& on);

class ItemMenu final : private ItemMenuHost {
 public:
  struct Parts {
    ShortcutStore& store;
    const Settings& settings;
    ItemContext& items;
    ImageTables& images;
    std::function<void()> saveStore;
  };
  explicit ItemMenu(Parts parts) : parts_(std::move(parts)), cache_(parts_.images) {}

  void Bind(DockWindow& dock, PopupWindow& popup) {
    dock_ = &dock;
    popup_ = &popup;
  }
  // The menu for ring slot `slot`, and for the member `item` at `position` of the open
  // list of group `group`.
  void OpenForSlot(int slot);
  void OpenForMember(int item, int group, int position);

  const ItemMenuContext& context() const { return context_; }
  // Set by "添加快捷方式" for the properties dialog, which then adds a member to the
  // context slot's group instead of editing the context member; it clears it once used.
  bool addShortcut() const { return addShortcut_; }
  void ClearAddShortcut() { addShortcut_ = false; }

 private:
  void Open(HWND owner);
  // ItemMenuHost
  void CloseWindows() override;
  bool ConfirmDelete() override;
  bool DeleteItem(int item) override;
  void RefreshDock() override;
  void RefreshPopup() override;
  void SaveStore() override;
  void ShowProperties(bool addShortcut) override;

  Parts parts_;
  TableExchangeCache cache_;
  DockWindow* dock_ = nullptr;
  PopupWindow* popup_ = nullptr;
  ItemMenuContext context_;
  bool addShortcut_ = false;
};

}  // namespace kivo::win
