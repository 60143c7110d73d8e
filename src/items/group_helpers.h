// Small operations on the store that several windows share: deleting entries, removing a
// group member, finding room for a new item, and the default web browser and mail program.
#pragma once

#include <string>

#include "items/item_context.h"

namespace kivo {

// FindFreeItem's answer when every item for group members is taken.
inline constexpr int kNoFreeItem = -1;

// Mode 0: the first unused item from 129 on, kNoFreeItem when there is none (the store
// file holds exactly 1025 items, so the table never grows). Any other mode: the first ring
// slot from 4 to `iconCount` that is unused or blank; else 3 while the all-programs group
// has room, else 0.
int FindFreeItem(const ShortcutStore& store, int iconCount, int mode);

// Releases the item's images and deletes its own icon files (only the program's copies in
// the user icon folder).
void DeleteItemIcons(ItemContext& context, int item);

// Deletes one icon file when it is the program's own copy in the user icon folder.
void DeleteOwnIconFile(ItemContext& context, const std::string& iconFile);

// Takes item `item` out of the first group 3..36 that lists it; the item's icons go and it
// becomes unused again, free for the next shortcut. An item no group lists is left alone.
void RemoveGroupMember(ItemContext& context, int item);

// Deletes a ring shortcut (it becomes a blank slot), a group (asked unless `quiet`; its
// members are freed), a group member, or empties the all-programs group (asked unless
// `quiet`; the entry stays). 1 when done, 0 when the user declined.
int DeleteItem(ItemContext& context, int item, bool quiet);

enum class ClientKind { WebBrowser = 0, Mail = 1 };

// The program the user chose for web pages or mail (the scheme's UserChoice, then the
// class's and the scheme's open command), expanded; "" when none is registered.
std::string GetDefaultClient(ItemContext& context, ClientKind kind);

}  // namespace kivo
