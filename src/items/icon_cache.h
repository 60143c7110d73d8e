// Small copies of icon files at the sizes the program keeps them (a popup row's 32 pixels,
// the ring's 128), kept in a cache folder so that neither the ring at start-up nor a
// popup's rows need decode a 256-pixel picture each time the program starts.
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
// The sizes copies are kept at: a popup row's icon, and the longer side of a ring icon
// (nothing on the ring is drawn larger than its centre icon).
inline constexpr int kRowCopySize = 32;
inline constexpr int kRingCopySize = 128;

// The cache folder inside the user icon folder ("" without one).
std::string IconCacheFolder(const std::string& userIconFolder);
// The cache file of `iconFile` at `copySize`: its name (cut short) and a hash of its whole
// path, which Windows compares without case, so two pictures of one name in different
// folders differ. A row's copy ends in ".px32", a copy at another size carries that size
// before it ("….128.px32"), so the two never overwrite each other.
std::string IconCacheFile(const std::string& cacheFolder, const std::string& iconFile,
                          int copySize = kRowCopySize);

std::string EncodeCachedIcon(const CachedIcon& icon, const IconStamp& source);
// The copy in `bytes` when it is whole and was made from a source with this stamp.
std::optional<CachedIcon> DecodeCachedIcon(std::string_view bytes, const IconStamp& source);

}  // namespace kivo
