// The program's skin images (PNG resources of type "CUSTOM") and the item icon images,
// loaded into the image tables and pre-scaled to the sizes the ring draws them at.
#pragma once

#include <windows.h>

#include <string>

#include "core/store.h"
#include "dock/ring_geometry.h"
#include "gfx/win32/image_tables.h"

namespace kivo::win {

// The 17 skin names in the order the skin numbers follow.
inline constexpr const wchar_t* kSkinNames[] = {
    L"LOGO",         L"BACKSELECTCOLOR",  L"MENUSELECT",     L"MENUMOUSEDOWN", L"MENUUPUNSELECT",
    L"MENUUPSELECT", L"MENUDOWNUNSELECT", L"MENUDOWNSELECT", L"MENUSPACE",     L"MENUBODY",
    L"MENUTOP",      L"MENUBOTTOM",       L"BORDER",         L"NODROP",        L"ADDICON",
    L"REPLACEICON",  L"DELICON"};

// The skin number a skin name is stored under, or -1.
int SkinNumberOf(const std::wstring& name);

// A PNG resource of type "CUSTOM" from `module`, decoded; null when missing or broken.
GpBitmapPtr LoadSkinResource(HMODULE module, const wchar_t* name);

// Every skin but the group list's into the image tables, and icon 0 (the LOGO overlay): the
// user picture when `userPicture` names a readable image, else the LOGO skin, at
// `pictureSize` square (the centre icon's size, 128 at 96 dpi). Returns how many skins were
// loaded.
int LoadRingSkins(ImageTables& images, HMODULE module, const std::string& userPicture,
                  int pictureSize = kCentreIconSize);
// The group list's skins (MENU…), pre-scaled to `dpi` as BuildPopupVariants does, unless
// they are loaded already: decoded when a list first opens, so a start does not pay for
// them in time or memory. Returns how many were loaded now.
int LoadListSkins(ImageTables& images, HMODULE module, int dpi);
// Both of the above.
int LoadSkins(ImageTables& images, HMODULE module, const std::string& userPicture,
              int pictureSize = kCentreIconSize);
// Icon 0 again, after the user picture changed (the skins must be loaded). Its pre-scaled
// variants are the caller's to rebuild.
void SetUserPicture(ImageTables& images, const std::string& userPicture,
                    int size = kCentreIconSize);

// The ring's pre-scaled variants: the slot background at N and M, the disc at its own
// size, and every loaded icon at N, M, C and 32 (scaled to the dpi; a variant already made
// at its size, from the current picture, is kept); away from 96 dpi also the delete
// animation's frames and the group popup's skins at the ring's dpi (the list opens beside
// the ring, on its monitor).
void BuildRingVariants(ImageTables& images, const RingMetrics& metrics);

// The group popup's skin pieces pre-scaled to `dpi` as variant kPopupSkinVariant, at the
// sizes PopupSizesAt gives; nothing at 96 dpi, where the skins have the list's sizes.
void BuildPopupVariants(ImageTables& images, int dpi);

}  // namespace kivo::win
