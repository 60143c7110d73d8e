// An item's icon images in the image tables: loaded from its icon files (or the shell's
// icon for its path) and released.
#pragma once

#include <string>

#include "core/store.h"
#include "dock/ring_geometry.h"
#include "gfx/win32/image_tables.h"

namespace kivo::win {

// Popup rows keep one image, in this variant: 32 x 32 at 96 dpi, scaled to the metrics' dpi.
inline constexpr int kPopupVariant = 4;
inline constexpr int kPopupIconSize = 32;

// The template whose images an item without any icon borrows, by its class: a shortcut
// file the blank shortcut (40), a program the application (41), a document the file (39).
int TemplateIconFor(const ShortcutItem& item);

// Loads item `number`'s icon: the custom icon file, else the icon file, else the shell's
// icon for its path. Ring entries get the image in full and at the ring's icon size, group
// members and commands a 32 x 32 image (at 96 dpi; ScaleToDpi(32) at the metrics' dpi),
// the user entry its picture with a clear frame.
// Without any source the item borrows a template's images through its ItemIndex.
// With `cacheFolder` (IconCacheFolder of the user icon folder), a popup row's square image
// and a ring entry's image scaled to the centre icon's size (both at the ring's dpi) are read
// from their copies there when the icon file has not changed since, and written there after
// decoding the file.
void LoadItemIcon(ShortcutStore& store, ImageTables& images, const RingMetrics& metrics, int number,
                  const std::string& cacheFolder = {});

// Releases the item's images (every variant).
void ReleaseItemImages(ImageTables& images, int number);

}  // namespace kivo::win
