// The ring a first start comes up with: the all-programs group, system folders and drives,
// the accessories, the Office programs, web sites, the web browser and the mail program.
#pragma once

#include <cstdint>
#include <string>

#include "items/item_context.h"
#include "items/item_editor.h"

namespace kivo {

enum DefaultSlotKind : int {
  kDefaultAllPrograms = 0,
  kDefaultSystemFolders = 1,
  kDefaultAccessories = 2,
  kDefaultOffice = 3,
  kDefaultWebSites = 4,
  kDefaultBrowser = 5,
  kDefaultMail = 6,
};

// Builds default kind 0..6 into ring slot `slot` (0: slot kind + 3). `osMajor` is the
// running Windows' major version (Explorer is offered from 5 on).
void BuildDefaultSlot(ItemContext& context, ItemEditor& editor, int kind, int slot,
                      std::uint32_t osMajor);

// Slots 3..9 get the default kinds 0..6, built without any question.
void BuildDefaultGroups(ItemContext& context, std::uint32_t osMajor);

// Adds every file and folder directly inside `folder` to the group in `slot`; hidden
// entries (such as a desktop's "desktop.ini") are left out.
void AddFolderFiles(ItemContext& context, ItemEditor& editor, const std::string& folder, int slot);

}  // namespace kivo
