#include "ui/win32/item_menu.h"

#include <cstddef>
#include <memory>
#include <type_traits>

#include "items/group_helpers.h"
#include "platform/win32/message_win.h"
#include "platform/win32/os_version_win.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/property_dialog.h"
#include "ui/win32/dock_window.h"
#include "ui/win32/popup_window.h"

namespace kivo::win {
namespace {

// Command identifiers are the entries' indexes plus one: TrackPopupMenu answers 0 for none.
constexpr UINT_PTR kFirstCommand = 1;

struct MenuDeleter {
  void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

}  // namespace

void TableExchangeCache::Save(int item) {
  for (int v = 0; v < kMovingVariants; ++v) {
    hold_[static_cast<std::size_t>(v)] = images_.Take(ImageTable::Icon, item, v);
  }
}

void TableExchangeCache::Copy(int target, int source) {
  for (int v = 0; v < kMovingVariants; ++v) {
    images_.Put(ImageTable::Icon, target, v, images_.Take(ImageTable::Icon, source, v));
  }
}

void TableExchangeCache::Restore(int item) {
  for (int v = 0; v < kMovingVariants; ++v) {
    images_.Put(ImageTable::Icon, item, v, std::move(hold_[static_cast<std::size_t>(v)]));
  }
}

int TrackItemMenu(HWND owner, const ItemMenuAvailability& on) {
  MenuPtr menu(::CreatePopupMenu());
  if (!menu) return -1;
  for (int i = 0; i < kItemMenuEntryCount; ++i) {
    if (IsMenuSeparator(i)) {
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT state = on[static_cast<std::size_t>(i)] ? MF_ENABLED : MF_GRAYED;
    ::AppendMenuW(menu.get(), MF_STRING | state, kFirstCommand + static_cast<UINT_PTR>(i),
                  Widen(kItemMenuCaptions[static_cast<std::size_t>(i)]).c_str());
  }
  POINT point{};
  ::GetCursorPos(&point);
  // The owner must be in front, or the menu would not close when the user clicks
  // elsewhere.
  if (owner != nullptr) ::SetForegroundWindow(owner);
  const BOOL chosen =
      ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                       point.x, point.y, 0, owner, nullptr);
  // The system's advice: a message to the owner lets the menu's loop end cleanly.
  if (owner != nullptr) ::PostMessageW(owner, WM_NULL, 0, 0);
  const int index = chosen - static_cast<int>(kFirstCommand);
  return index >= 0 && index < kItemMenuEntryCount ? index : -1;
}

void ItemMenu::OpenForSlot(int slot) {
  context_ = ItemMenuContext{slot, slot, -1};
  Open(dock_ != nullptr ? dock_->handle() : nullptr);
}

void ItemMenu::OpenForMember(int item, int group, int position) {
  context_ = ItemMenuContext{item, group, position};
  // The list's own window owns the menu: it stays in front, so the list stays open.
  Open(popup_ != nullptr ? popup_->handle() : nullptr);
}

void ItemMenu::Open(HWND owner) {
  const int iconCount = parts_.settings.IconCount;
  const int index = TrackItemMenu(owner, PrepareItemMenu(context_, parts_.store, iconCount));
  if (index < 0) return;
  RunItemMenuCommand(index, context_, parts_.store, iconCount, cache_, *this, addShortcut_);
  if (dock_ != nullptr && ::GetForegroundWindow() == dock_->handle()) {
    dock_->Handle(DockEvent::Simple(DockEvent::Kind::EscCancel));
  }
}

void ItemMenu::CloseWindows() {
  if (popup_ != nullptr && popup_->controller().open()) {
    popup_->Handle(PopupEvent::Close());
    if (dock_ != nullptr) dock_->Handle(DockEvent::Simple(DockEvent::Kind::PopupClosed));
  }
  if (dock_ != nullptr) dock_->Handle(DockEvent::Simple(DockEvent::Kind::EscCancel));
}

bool ItemMenu::ConfirmDelete() {
  return ShowShellMessage(DeleteShortcutQuestion());
}

bool ItemMenu::DeleteItem(int item) {
  return kivo::DeleteItem(parts_.items, item, false) == 1;
}

void ItemMenu::RefreshDock() {
  if (dock_ == nullptr) return;
  // Pictures changed under the same numbers: what is on screen is stale.
  dock_->Invalidate();
  dock_->Handle(DockEvent::Simple(DockEvent::Kind::Refresh));
}

void ItemMenu::RefreshPopup() {
  if (popup_ != nullptr) popup_->Handle(PopupEvent::Refresh());
}

void ItemMenu::SaveStore() {
  if (parts_.saveStore) parts_.saveStore();
}

void ItemMenu::ShowProperties(bool addShortcut) {
  const std::uint32_t osMajor = [] {
    const auto version = ReadOsVersion();
    return version ? version->major : 0u;
  }();
  const HWND owner = dock_ != nullptr ? dock_->handle() : nullptr;
  const bool changed = ShowPropertyDialog(owner, parts_.items, context_, addShortcut, osMajor);
  // The flag is used up once the dialog has closed, whatever it did.
  addShortcut_ = false;
  if (!changed) return;
  RefreshDock();
  // A popup row's group shows its members anew when it opens next; the open one now.
  if (popup_ != nullptr && popup_->controller().open()) RefreshPopup();
  SaveStore();
}

}  // namespace kivo::win
