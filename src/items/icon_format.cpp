#include "items/icon_format.h"

#include <algorithm>

#include "core/startup.h"

namespace kivo {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kIcoEntrySize = 16;
constexpr std::size_t kDibHeaderMin = 40;

std::uint16_t U16(ByteSpan data, std::size_t at) {
  return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

std::uint32_t U32(ByteSpan data, std::size_t at) {
  return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
         static_cast<std::uint32_t>(data[at + 2]) << 16 |
         static_cast<std::uint32_t>(data[at + 3]) << 24;
}

int Pixels(std::uint8_t stored) {
  return stored == 0 ? 256 : stored;
}

// The image count of a sound icon header whose entries all fit in the data, else 0.
std::size_t EntryCount(ByteSpan data, std::size_t entrySize) {
  if (data.size() < kHeaderSize || U16(data, 0) != 0 || U16(data, 2) != 1) return 0;
  const std::size_t count = U16(data, 4);
  if (count == 0 || count > (data.size() - kHeaderSize) / entrySize) return 0;
  return count;
}

// Entries with a bit count outside 1..32 are never chosen; otherwise the widest, then the
// deepest, and the earlier of equals.
std::optional<std::size_t> ChooseBest(const std::vector<IconEntry>& entries,
                                      const std::vector<std::uint16_t>& bitCounts) {
  std::optional<std::size_t> best;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (bitCounts[i] < 1 || bitCounts[i] > 32) continue;
    if (!best || entries[i].width > entries[*best].width ||
        (entries[i].width == entries[*best].width && bitCounts[i] > bitCounts[*best]))
      best = i;
  }
  return best;
}

// The fields both directory kinds start their entries with.
IconEntry ReadEntryHead(ByteSpan data, std::size_t at) {
  IconEntry e;
  e.width = Pixels(data[at]);
  e.height = Pixels(data[at + 1]);
  e.colorCount = data[at + 2];
  e.planes = U16(data, at + 4);
  e.bitCount = U16(data, at + 6);
  e.bytes = U32(data, at + 8);
  return e;
}

}  // namespace

std::vector<IconEntry> ParseGroupIcon(ByteSpan data) {
  const std::size_t count = EntryCount(data, kGroupEntrySize);
  std::vector<IconEntry> entries;
  entries.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + i * kGroupEntrySize;
    IconEntry e = ReadEntryHead(data, at);
    e.resourceId = U16(data, at + 12);
    entries.push_back(e);
  }
  return entries;
}

std::vector<IconEntry> ParseIcoDirectory(ByteSpan data) {
  const std::size_t count = EntryCount(data, kIcoEntrySize);
  const std::size_t directoryEnd = kHeaderSize + count * kIcoEntrySize;
  std::vector<IconEntry> entries;
  entries.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + i * kIcoEntrySize;
    IconEntry e = ReadEntryHead(data, at);
    e.offset = U32(data, at + 12);
    if (e.bytes == 0 || e.offset < directoryEnd || e.offset > data.size() ||
        e.bytes > data.size() - e.offset)
      return {};
    entries.push_back(e);
  }
  return entries;
}

ByteSpan IcoImageBytes(ByteSpan data, const IconEntry& entry) {
  if (entry.offset > data.size() || entry.bytes > data.size() - entry.offset) return {};
  return data.subspan(entry.offset, entry.bytes);
}

bool IsPng(ByteSpan data) {
  return data.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), data.begin());
}

std::optional<std::size_t> ChooseGroupIconEntry(const std::vector<IconEntry>& entries) {
  std::vector<std::uint16_t> bitCounts;
  bitCounts.reserve(entries.size());
  for (const auto& e : entries) bitCounts.push_back(e.bitCount);
  return ChooseBest(entries, bitCounts);
}

std::uint16_t IcoImageBitCount(ByteSpan data, const IconEntry& entry) {
  if (entry.bitCount != 0) return entry.bitCount;
  const ByteSpan image = IcoImageBytes(data, entry);
  if (IsPng(image)) return 32;
  // BITMAPINFOHEADER: size (4), width (4), height (4), planes (2), bit count (2) ...
  if (image.size() >= kDibHeaderMin && U32(image, 0) >= kDibHeaderMin) return U16(image, 14);
  return 0;
}

std::optional<IconImageSize> ReadIconImageSize(ByteSpan image) {
  constexpr std::uint32_t kMaxSide = 1024;
  auto side = [](std::uint32_t value) { return value >= 1 && value <= kMaxSide; };
  if (IsPng(image)) {
    // The first chunk: length (4), "IHDR", width and height big-endian.
    constexpr std::size_t kIhdrEnd = 8 + 8 + 8;
    if (image.size() < kIhdrEnd || image[12] != 'I' || image[13] != 'H' || image[14] != 'D' ||
        image[15] != 'R')
      return std::nullopt;
    auto big = [&](std::size_t at) {
      return static_cast<std::uint32_t>(image[at]) << 24 |
             static_cast<std::uint32_t>(image[at + 1]) << 16 |
             static_cast<std::uint32_t>(image[at + 2]) << 8 |
             static_cast<std::uint32_t>(image[at + 3]);
    };
    const std::uint32_t width = big(16);
    const std::uint32_t height = big(20);
    if (!side(width) || !side(height)) return std::nullopt;
    return IconImageSize{static_cast<int>(width), static_cast<int>(height)};
  }
  // BITMAPINFOHEADER: size (4), width (4), height (4, the colour image and the mask).
  if (image.size() < kDibHeaderMin || U32(image, 0) < kDibHeaderMin) return std::nullopt;
  const std::uint32_t width = U32(image, 4);
  const std::uint32_t height = U32(image, 8) / 2;
  if (!side(width) || !side(height)) return std::nullopt;
  return IconImageSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<std::size_t> ChooseIcoEntry(ByteSpan data, const std::vector<IconEntry>& entries) {
  std::vector<std::uint16_t> bitCounts;
  std::vector<IconEntry> real = entries;
  bitCounts.reserve(entries.size());
  for (auto& e : real) {
    bitCounts.push_back(IcoImageBitCount(data, e));
    if (const auto size = ReadIconImageSize(IcoImageBytes(data, e))) e.width = size->width;
  }
  return ChooseBest(real, bitCounts);
}

std::string ResourceLookupName(const ResourceName& name) {
  if (!name.isId) return name.text;
  std::string text = "#";  // appended, not "#" + ...: GCC 12 -O3 misreports that as overlapping
  text += std::to_string(name.id);
  return text;
}

std::optional<ResourceName> ChooseGroupIconName(const std::vector<ResourceName>& enumerated,
                                                int index) {
  if (index < 0) {
    // Widened before negating: -INT_MIN does not fit an int.
    const std::int64_t id = -static_cast<std::int64_t>(index);
    if (id > 0xFFFF) return std::nullopt;
    return ResourceName{true, static_cast<std::uint16_t>(id), {}};
  }
  if (enumerated.empty()) return std::nullopt;
  const auto wanted = static_cast<std::size_t>(index);
  return wanted < enumerated.size() ? enumerated[wanted] : enumerated.back();
}

std::string NewIconFileName(const FileSystem& fs, const std::string& iconFolder) {
  for (std::uint64_t n = 0;; ++n) {
    std::string name = iconFolder + std::to_string(n) + ".png";
    if (!fs.FileExists(name) && !fs.FolderExists(name)) return name;
  }
}

}  // namespace kivo
