// The icon cache (items/icon_cache.h) on disk: small copies read into GDI+ bitmaps and
// written beside the user's icons.
#pragma once

#include <optional>
#include <string>

#include "items/icon_cache.h"
#include "platform/win32/gdiplus_api.h"

namespace kivo::win {

// The file's size and last-write time, or nothing when it does not exist (or is a folder).
std::optional<IconStamp> SourceStamp(const std::string& file);

// The cached copy of a source with `stamp`, or null when there is none or it is stale.
GpBitmapPtr ReadCachedIcon(const std::string& cacheFile, const IconStamp& stamp);

// Writes `image` as the cached copy, through a temporary file moved into place so a reader
// never sees half a copy. A copy that cannot be written is simply not there next time.
void WriteCachedIcon(const std::string& cacheFolder, const std::string& cacheFile,
                     Gdiplus::GpImage* image, const IconStamp& stamp);

}  // namespace kivo::win
