// Icons of programs, libraries and ".ico" files written out as 32-bit PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "items/icon_format.h"
#include "platform/win32/gdiplus_api.h"

namespace kivo::win {

// Writes the image as a PNG file with the GDI+ PNG encoder and no parameters.
Gdiplus::GpStatus SavePng(Gdiplus::GpImage* image, const std::string& file);

// The colour pixels of an icon with their own alpha channel, top row first, as 32-bit ARGB
// values (GDI+ would take the transparency from the mask alone and lose soft edges). Empty
// when the icon has no 32-bit colour bitmap or leaves its alpha channel unused.
std::vector<std::uint32_t> IconAlphaPixels(HICON icon, int& width, int& height);

// The icon as a 32-bit ARGB bitmap with pixels of its own: its own alpha channel when it
// uses one (IconAlphaPixels), otherwise as GDI+ reads it with its mask. Null on failure.
GpBitmapPtr IconBitmap(HICON icon);

// The icon the shell shows for a path (any file, folder or drive) as IconBitmap makes it,
// or null when the shell has none (a path that does not exist).
GpBitmapPtr ShellIconBitmap(const std::string& path);

// Writes one icon image as `pngFile`: PNG data byte for byte; DIB data (the RT_ICON layout)
// as a width x height 32-bit image, keeping its alpha channel when `bitCount` is 32.
// An existing `pngFile` is replaced. False when nothing was written.
bool WriteIconImage(ByteSpan image, int width, int height, std::uint16_t bitCount,
                    const std::string& pngFile);

// The best image of one icon group of a program or library, written as `pngFile`. `index`
// >= 0 picks the index-th group (the last one when there are fewer); < 0 the group whose
// resource identifier is -index. The module is only mapped as data: none of its code runs.
bool ExtractResourceIcon(const std::string& module, int index, const std::string& pngFile);

// An ".ico" file (or a PNG file under that name) written as `pngFile`.
bool ConvertIcoFile(const std::string& icoFile, const std::string& pngFile);

// A picture of any kind GDI+ reads (BMP, JPEG, PNG, GIF) made the user's picture: at most
// kUserPictureSize pixels on its longer side, its proportions kept, written as PNG data
// under `iconFile` ("User Icon.ico"). The old picture is replaced only by a whole new one.
inline constexpr int kUserPictureSize = 256;
bool SaveUserPicture(const std::string& picture, const std::string& iconFile);

}  // namespace kivo::win
