// Pictures read into GDI+ bitmaps from bytes and from files.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32/gdiplus_api.h"

namespace kivo::win {

// A bitmap decoded from PNG (or any GDI+ format) bytes, or null.
GpBitmapPtr DecodeImage(const void* bytes, std::size_t size);
// A bitmap loaded from a file, fully read into memory so the file is not kept open.
GpBitmapPtr LoadImageFile(const std::wstring& path);

}  // namespace kivo::win
