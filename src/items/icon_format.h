// Icon containers read without trusting them: ".ico" files and the group-icon resources of
// programs and libraries, the choice of one image among theirs, and the names of the files
// that extracted icons are written to. Every length, count and offset is checked against
// the bytes at hand; damaged data gives an empty result, never a read outside the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"

namespace kivo {

using ByteSpan = std::span<const std::uint8_t>;

inline ByteSpan AsBytes(std::string_view bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// One image as a directory lists it. Width and height are in pixels (a stored 0 means 256).
struct IconEntry {
  int width = 0;
  int height = 0;
  std::uint8_t colorCount = 0;
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t bytes = 0;       // size of the image data
  std::uint16_t resourceId = 0;  // group icons: the RT_ICON resource holding the image
  std::uint32_t offset = 0;      // ".ico" files: where the image data begins
  friend bool operator==(const IconEntry&, const IconEntry&) = default;
};

// The entries of an RT_GROUP_ICON resource (6-byte header, 14-byte entries). Empty when the
// header is not an icon header, lists no image, or lists more entries than the data holds.
std::vector<IconEntry> ParseGroupIcon(ByteSpan data);

// The entries of an ".ico" file (6-byte header, 16-byte entries), each with image data that
// lies wholly inside the file, after the directory, and is not empty. Empty when the header
// is not an icon header, lists no image, lists more entries than the file holds, or when any
// entry's image is empty or reaches past the end: such a file is damaged, not partly usable.
std::vector<IconEntry> ParseIcoDirectory(ByteSpan data);

// The image bytes of an entry returned by ParseIcoDirectory for the same data.
ByteSpan IcoImageBytes(ByteSpan data, const IconEntry& entry);

// True when the data begins with the 8-byte PNG signature.
bool IsPng(ByteSpan data);

// The best image of an icon group: entries whose bit count lies outside 1..32 are skipped;
// the widest wins, among equal widths the deepest; ties keep the earlier entry.
std::optional<std::size_t> ChooseGroupIconEntry(const std::vector<IconEntry>& entries);

// The bit count an ".ico" image really has: the directory's value when it is set, otherwise
// 32 for PNG data and the DIB header's bit count for DIB data; 0 when unknown.
std::uint16_t IcoImageBitCount(ByteSpan data, const IconEntry& entry);

// The size an icon image really has, from its own header: a PNG's IHDR, or a DIB's
// BITMAPINFOHEADER (whose height counts the mask too and is halved). Nothing when the
// header is cut or names a size outside 1..1024 pixels.
struct IconImageSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const IconImageSize&, const IconImageSize&) = default;
};
std::optional<IconImageSize> ReadIconImageSize(ByteSpan image);

// The best image of an ".ico" file, by the group rule applied to the real bit counts (many
// writers leave the directory's bit count at 0) and the real widths (a directory may list
// another size than the image has): a 256-pixel 32-bit image first, then the widest and
// deepest.
std::optional<std::size_t> ChooseIcoEntry(ByteSpan data, const std::vector<IconEntry>& entries);

// A resource name as EnumResourceNames reports it: a 16-bit identifier or a text name.
struct ResourceName {
  bool isId = false;
  std::uint16_t id = 0;
  std::string text;
  friend bool operator==(const ResourceName&, const ResourceName&) = default;
};

// The name to look up for FindResource: "#" and the decimal identifier, or the text name.
std::string ResourceLookupName(const ResourceName& name);

// Which group icon an icon index names. index >= 0: the index-th of the enumerated names,
// the last one when there are fewer; index < 0: the resource whose identifier is -index.
// Nothing when no group was enumerated or -index is no valid identifier (1..65535).
std::optional<ResourceName> ChooseGroupIconName(const std::vector<ResourceName>& enumerated,
                                                int index);

// The first "<n>.png" (n = 0, 1, 2 ...) in `iconFolder` (ending in "\") that is neither a
// file nor a folder. Nothing is reserved: the name is taken only by writing the file, so two
// calls without a write in between return the same name.
std::string NewIconFileName(const FileSystem& fs, const std::string& iconFolder);

}  // namespace kivo
