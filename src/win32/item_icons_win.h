// An item's icon images in the image tables: loaded from its icon files (or the shell's
// icon for its path), released, and deleted together with its icon files.
#pragma once

#include <string>

#include "core/file_system.h"
#include "core/store.h"
#include "dock/ring_geometry.h"
#include "win32/image_tables.h"

namespace kivo::win {

// The template whose images an item without any icon borrows, by its class: a shortcut
// file the blank shortcut (40), a program the application (41), a document the file (39).
int TemplateIconFor(const ShortcutItem& item);

// Loads item `number`'s icon: the custom icon file, else the icon file, else the shell's
// icon for its path. Ring entries get the image in full and at the ring's icon size, group
// members and commands a 32 x 32 image, the user entry its picture with a clear frame.
// Without any source the item borrows a template's images through its ItemIndex.
void LoadItemIcon(ShortcutStore& store, ImageTables& images, const RingMetrics& metrics,
                  int number);

// Releases the item's images (every variant).
void ReleaseItemImages(ImageTables& images, int number);

// Releases the item's images and deletes its icon files, only ever the program's own
// copies in the user icon folder (a built-in entry's file of the system icon folder is
// shared, and a damaged store must not name a user's document for deletion).
void DeleteItemIcons(const ShortcutStore& store, ImageTables& images, FileSystem& fs,
                     const std::string& userIconFolder, int number);

}  // namespace kivo::win
