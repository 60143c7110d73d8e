#include "items/icon_cache.h"

#include <cstddef>

#include "core/text.h"

namespace kivo {
namespace {

constexpr std::string_view kMagic = "KIC1";
constexpr std::size_t kHeaderSize = 4 + 4 + 4 + 8 + 8;
constexpr std::size_t kLongestName = 48;

void Put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t Take(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

}  // namespace

std::string IconCacheFolder(const std::string& userIconFolder) {
  if (userIconFolder.empty()) return {};
  std::string folder = userIconFolder;
  if (folder.back() != '\\') folder += '\\';
  return folder + "cache\\";
}

std::string IconCacheFile(const std::string& cacheFolder, const std::string& iconFile,
                          int copySize) {
  if (cacheFolder.empty() || iconFile.empty()) return {};
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : AsciiUpper(iconFile)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  std::string name = iconFile.substr(iconFile.find_last_of("\\/:") + 1);
  if (name.size() > kLongestName) {
    std::size_t cut = kLongestName;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[static_cast<std::size_t>(i)] = kHex[hash & 0xF];
  std::string file = cacheFolder + name + "." + hex;
  if (copySize != kRowCopySize) file.append(".").append(std::to_string(copySize));
  return file + ".px32";
}

std::string EncodeCachedIcon(const CachedIcon& icon, const IconStamp& source) {
  std::string out(kMagic);
  Put(out, static_cast<std::uint32_t>(icon.width), 4);
  Put(out, static_cast<std::uint32_t>(icon.height), 4);
  Put(out, source.size, 8);
  Put(out, source.writeTime, 8);
  for (const std::uint32_t pixel : icon.pixels) Put(out, pixel, 4);
  return out;
}

std::optional<CachedIcon> DecodeCachedIcon(std::string_view bytes, const IconStamp& source) {
  if (bytes.size() < kHeaderSize || bytes.substr(0, 4) != kMagic) return std::nullopt;
  const std::uint64_t width = Take(bytes, 4, 4);
  const std::uint64_t height = Take(bytes, 8, 4);
  if (width == 0 || height == 0 || width > kLargestCachedIcon || height > kLargestCachedIcon ||
      bytes.size() != kHeaderSize + width * height * 4) {
    return std::nullopt;
  }
  if (IconStamp{Take(bytes, 12, 8), Take(bytes, 20, 8)} != source) return std::nullopt;
  CachedIcon icon{static_cast<int>(width), static_cast<int>(height), {}};
  icon.pixels.resize(static_cast<std::size_t>(width * height));
  for (std::size_t i = 0; i < icon.pixels.size(); ++i) {
    icon.pixels[i] = static_cast<std::uint32_t>(Take(bytes, kHeaderSize + 4 * i, 4));
  }
  return icon;
}

}  // namespace kivo
