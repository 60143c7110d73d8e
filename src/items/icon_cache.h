// Small copies of icon files at the size a popup row draws them, kept in a cache folder so
// that a popup's rows need not decode a 256-pixel picture each time the program starts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// What a cached copy was made from: the source file's size and last-write time (as the
// system reports it). A copy whose stamp differs from the source's is stale and unused.
struct IconStamp {
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;
  bool operator==(const IconStamp&) const = default;
};

// Premultiplied 32-bit pixels, row after row, blue in the low byte (as GDI+ keeps them).
struct CachedIcon {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

inline constexpr int kLargestCachedIcon = 256;

// The cache folder inside the user icon folder ("" without one).
std::string IconCacheFolder(const std::string& userIconFolder);
// The cache file of `iconFile`: its name (cut short) and a hash of its whole path, which
// Windows compares without case, so two pictures of one name in different folders differ.
std::string IconCacheFile(const std::string& cacheFolder, const std::string& iconFile);

std::string EncodeCachedIcon(const CachedIcon& icon, const IconStamp& source);
// The copy in `bytes` when it is whole and was made from a source with this stamp.
std::optional<CachedIcon> DecodeCachedIcon(std::string_view bytes, const IconStamp& source);

}  // namespace kivo
