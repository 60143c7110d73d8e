// The properties dialog on screen, over the rules of dialogs/property_rules: modal, owned
// by the dock, editing the item menu's context member or adding a shortcut to its slot.
#pragma once

#include <windows.h>

#include <cstdint>

#include "items/item_context.h"
#include "items/item_menu.h"

namespace kivo::win {

// Shows the dialog and waits until it closes. True when the store changed (the windows
// show the entries anew and the store is saved by the caller).
bool ShowPropertyDialog(HWND owner, ItemContext& items, const ItemMenuContext& context,
                        bool addShortcut, std::uint32_t osMajor);

}  // namespace kivo::win
