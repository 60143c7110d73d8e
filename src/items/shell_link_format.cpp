#include "items/shell_link_format.h"

#include <algorithm>
#include <array>

#include "core/text.h"

namespace kivo {
namespace {

constexpr std::size_t kHeaderSize = 0x4C;
// CLSID_ShellLink, {00021401-0000-0000-C000-000000000046}, as the file stores it.
constexpr std::array<unsigned char, 16> kShellLinkClass = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// The location block's header without and with the Unicode offsets.
constexpr std::uint32_t kLinkInfoHeader = 0x1C;
constexpr std::uint32_t kLinkInfoUnicodeHeader = 0x24;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kNetworkLinkAndPathSuffix = 0x2;
constexpr std::uint32_t kVolumeIdMin = 0x10;
constexpr std::uint32_t kNetworkLinkMin = 0x14;
constexpr std::uint32_t kNetworkLinkUnicode = 0x1C;

// The environment blocks: size, signature, 260 ANSI bytes, 260 UTF-16 units.
constexpr std::size_t kEnvironmentBlockSize = 0x314;
constexpr std::size_t kEnvironmentAnsiChars = 260;

// Bounded reads from one block of bytes: every read names the block it stays inside.
class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}

  std::size_t size() const { return data_.size(); }
  bool Has(std::size_t at, std::size_t count) const {
    return at <= data_.size() && count <= data_.size() - at;
  }
  std::optional<std::uint16_t> U16(std::size_t at) const {
    if (!Has(at, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(Byte(at) | Byte(at + 1) << 8);
  }
  std::optional<std::uint32_t> U32(std::size_t at) const {
    if (!Has(at, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(Byte(at)) | static_cast<std::uint32_t>(Byte(at + 1)) << 8 |
           static_cast<std::uint32_t>(Byte(at + 2)) << 16 |
           static_cast<std::uint32_t>(Byte(at + 3)) << 24;
  }
  std::optional<Bytes> Sub(std::size_t at, std::size_t count) const {
    if (!Has(at, count)) return std::nullopt;
    return Bytes(data_.substr(at, count));
  }
  std::string_view View(std::size_t at, std::size_t count) const { return data_.substr(at, count); }
  // A NUL-terminated ANSI text from `at`; nothing when it has no NUL inside the block.
  std::optional<std::string_view> AnsiZ(std::size_t at) const {
    if (at >= data_.size()) return std::nullopt;
    const std::size_t end = data_.find('\0', at);
    if (end == std::string_view::npos) return std::nullopt;
    return data_.substr(at, end - at);
  }
  // A NUL-terminated UTF-16 text from `at` (any alignment), as its bytes.
  std::optional<std::string_view> Utf16Z(std::size_t at) const {
    for (std::size_t end = at; Has(end, 2); end += 2) {
      if (Byte(end) == 0 && Byte(end + 1) == 0) return data_.substr(at, end - at);
    }
    return std::nullopt;
  }

 private:
  unsigned Byte(std::size_t at) const { return static_cast<unsigned char>(data_[at]); }
  std::string_view data_;
};

// A fixed-size text field: up to its first NUL (or whole when it has none).
std::string_view UntilNul(std::string_view field) {
  return field.substr(0, std::min(field.find('\0'), field.size()));
}

std::string_view UntilNulUnit(std::string_view field) {
  std::size_t units = field.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    if (field[2 * i] == '\0' && field[2 * i + 1] == '\0') units = i;
  }
  return field.substr(0, units * 2);
}

// A text of the location block at `offset`: ANSI or UTF-16. An offset of 0 means the block
// does not hold the text; any other offset must lie behind the header.
bool ReadInfoText(const Bytes& block, std::uint32_t offset, std::uint32_t headerSize, bool wide,
                  const AnsiCodec& codec, std::string& out) {
  if (offset == 0) return true;
  if (offset < headerSize) return false;
  const auto text = wide ? block.Utf16Z(offset) : block.AnsiZ(offset);
  if (!text) return false;
  out = wide ? Utf16LeToUtf8(*text) : codec.Decode(*text);
  return true;
}

bool ReadVolume(const Bytes& info, std::uint32_t offset, ShellLinkFile& link) {
  const auto size = info.U32(offset);
  if (!size || *size < kVolumeIdMin || !info.Has(offset, *size)) return false;
  link.driveType = info.U32(offset + 4).value_or(0);
  return true;
}

bool ReadNetwork(const Bytes& info, std::uint32_t offset, const AnsiCodec& codec,
                 ShellLinkFile& link) {
  const auto size = info.U32(offset);
  if (!size || *size < kNetworkLinkMin) return false;
  const auto block = info.Sub(offset, *size);
  if (!block) return false;
  const std::uint32_t netName = block->U32(8).value_or(0);
  if (netName != 0 && !ReadInfoText(*block, netName, kNetworkLinkMin, false, codec, link.netName))
    return false;
  if (netName > kNetworkLinkMin) {
    // A block with Unicode names lists their offsets after the ANSI ones.
    if (*size < kNetworkLinkUnicode) return false;
    std::string wide;
    if (!ReadInfoText(*block, *block->U32(0x14), kNetworkLinkUnicode, true, codec, wide))
      return false;
    if (!wide.empty()) link.netName = wide;
  }
  return true;
}

bool ReadLinkInfo(const Bytes& info, const AnsiCodec& codec, ShellLinkFile& link) {
  const std::uint32_t headerSize = info.U32(4).value_or(0);
  if (headerSize != kLinkInfoHeader &&
      (headerSize < kLinkInfoUnicodeHeader || headerSize > info.size()))
    return false;
  const std::uint32_t flags = *info.U32(8);
  const bool unicode = headerSize >= kLinkInfoUnicodeHeader;
  if ((flags & kVolumeIdAndLocalBasePath) != 0) {
    const std::uint32_t volume = *info.U32(12);
    const std::uint32_t basePath = *info.U32(16);
    if (volume < headerSize || basePath == 0 || !ReadVolume(info, volume, link) ||
        !ReadInfoText(info, basePath, headerSize, false, codec, link.localBasePath))
      return false;
    std::string wide;
    if (unicode && !ReadInfoText(info, *info.U32(28), headerSize, true, codec, wide)) return false;
    if (!wide.empty()) link.localBasePath = wide;
  }
  if ((flags & kNetworkLinkAndPathSuffix) != 0 && !ReadNetwork(info, *info.U32(20), codec, link))
    return false;
  if (!ReadInfoText(info, *info.U32(24), headerSize, false, codec, link.commonPathSuffix))
    return false;
  std::string wide;
  if (unicode && !ReadInfoText(info, *info.U32(32), headerSize, true, codec, wide)) return false;
  if (!wide.empty()) link.commonPathSuffix = wide;
  return true;
}

// One counted string of the string data at `at`, moving `at` past it.
bool ReadCountedText(const Bytes& file, std::size_t& at, bool unicode, const AnsiCodec& codec,
                     std::string& out) {
  const auto count = file.U16(at);
  if (!count) return false;
  const std::size_t bytes = std::size_t{*count} * (unicode ? 2 : 1);
  if (!file.Has(at + 2, bytes)) return false;
  const std::string_view text = file.View(at + 2, bytes);
  out = unicode ? Utf16LeToUtf8(text) : codec.Decode(text);
  at += 2 + bytes;
  return true;
}

// An environment block's target: the Unicode field when it is set, else the ANSI one.
std::string EnvironmentText(const Bytes& block, const AnsiCodec& codec) {
  const std::string_view ansi = UntilNul(block.View(8, kEnvironmentAnsiChars));
  const std::string_view wide =
      UntilNulUnit(block.View(8 + kEnvironmentAnsiChars, 2 * kEnvironmentAnsiChars));
  return wide.empty() ? codec.Decode(ansi) : Utf16LeToUtf8(wide);
}

bool ReadExtraData(const Bytes& file, std::size_t at, const AnsiCodec& codec, ShellLinkFile& link) {
  // The blocks end with a terminal block smaller than 4 bytes; a file that simply ends
  // (some writers leave the terminal block out) ends them too, but not a cut size.
  while (at < file.size()) {
    const auto size32 = file.U32(at);
    if (!size32) return false;
    const std::uint32_t size = *size32;
    if (size < 4) break;
    const auto block = file.Sub(at, size);
    if (!block || size < 8) return false;
    const std::uint32_t signature = *block->U32(4);
    if (signature == kEnvironmentBlock || signature == kIconEnvironmentBlock) {
      if (size < kEnvironmentBlockSize) return false;
      (signature == kEnvironmentBlock ? link.environmentTarget : link.environmentIcon) =
          EnvironmentText(*block, codec);
    }
    at += size;
  }
  return true;
}

}  // namespace

std::optional<ShellLinkFile> ReadShellLinkFile(std::string_view bytes, const AnsiCodec& codec) {
  if (bytes.size() > kMaxShellLinkBytes) return std::nullopt;
  const Bytes file(bytes);
  if (file.U32(0) != kHeaderSize || !file.Has(0, kHeaderSize) ||
      !std::equal(kShellLinkClass.begin(), kShellLinkClass.end(), bytes.begin() + 4,
                  [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }))
    return std::nullopt;

  ShellLinkFile link;
  link.flags = *file.U32(20);
  link.fileAttributes = *file.U32(24);
  link.iconIndex = static_cast<std::int32_t>(*file.U32(56));
  link.showCommand = *file.U32(60);
  link.hotKey = *file.U16(64);
  std::size_t at = kHeaderSize;

  if ((link.flags & kLinkHasIdList) != 0) {
    const auto size = file.U16(at);
    if (!size || !file.Has(at + 2, *size)) return std::nullopt;
    link.idListBytes = *size;
    at += 2 + std::size_t{*size};
  }

  if ((link.flags & kLinkHasLinkInfo) != 0) {
    const auto size = file.U32(at);
    if (!size || *size < kLinkInfoHeader) return std::nullopt;
    const auto info = file.Sub(at, *size);
    if (!info || !ReadLinkInfo(*info, codec, link)) return std::nullopt;
    at += *size;
    if ((link.flags & kLinkForceNoLinkInfo) != 0) {
      // The writer said the block is not to be used.
      link.localBasePath.clear();
      link.commonPathSuffix.clear();
      link.netName.clear();
    } else {
      link.hasLinkInfo = true;
    }
  }

  const bool unicode = (link.flags & kLinkIsUnicode) != 0;
  const std::pair<ShellLinkFlag, std::string*> strings[] = {
      {kLinkHasName, &link.name},
      {kLinkHasRelativePath, &link.relativePath},
      {kLinkHasWorkingDir, &link.workingDir},
      {kLinkHasArguments, &link.arguments},
      {kLinkHasIconLocation, &link.iconLocation},
  };
  for (const auto& [flag, text] : strings) {
    if ((link.flags & flag) != 0 && !ReadCountedText(file, at, unicode, codec, *text))
      return std::nullopt;
  }

  if (!ReadExtraData(file, at, codec, link)) return std::nullopt;
  return link;
}

std::string LinkInfoTarget(const ShellLinkFile& link) {
  const std::string& base = !link.localBasePath.empty() ? link.localBasePath : link.netName;
  if (base.empty()) return {};
  const std::string& suffix = link.commonPathSuffix;
  if (suffix.empty() || base.back() == '\\' || suffix.front() == '\\') return base + suffix;
  return base + "\\" + suffix;
}

}  // namespace kivo
