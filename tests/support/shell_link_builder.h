// Shell link files (".lnk") built byte by byte, with the fields the shell under Wine reads
// badly. Texts are UTF-8 written as UTF-16, or the ANSI bytes given for the ANSI fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kivo::testing {

inline std::string Le(std::size_t value, int bytes = 4) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}

inline void SetU32(std::string& out, std::size_t at, std::uint32_t value) {
  out.replace(at, 4, Le(value));
}

inline std::string Zeros(std::size_t count) {
  return std::string(count, '\0');
}

// UTF-8 (well formed, Basic Multilingual Plane only) as UTF-16 little-endian bytes.
inline std::string Utf16Le(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i++]);
    const std::size_t more = c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    std::size_t code = more == 0 ? c : c & (more == 1 ? 0x1Fu : 0x0Fu);
    for (std::size_t k = 0; k < more; ++k) code = code << 6 | (utf8[i++] & 0x3Fu);
    out += Le(code, 2);
  }
  return out;
}

// The location block. ANSI texts are written as given; with `unicode` the block has the
// 0x24-byte header and the Unicode forms of the base path and the suffix as well.
// `netName` ("\\server\share") makes it a network location instead of a local one.
struct LinkInfoFields {
  std::string ansiBasePath, ansiSuffix;
  bool unicode = false;
  std::string unicodeBasePath, unicodeSuffix, netName;
};

inline LinkInfoFields LocalInfo(std::string base, std::string suffix) {
  return {std::move(base), std::move(suffix), false, {}, {}, {}};
}

inline LinkInfoFields UnicodeInfo(std::string ansiBase, std::string ansiSuffix, std::string base,
                                  std::string suffix) {
  return {std::move(ansiBase), std::move(ansiSuffix), true, std::move(base), std::move(suffix), {}};
}

// `idList` holds the item list's bytes (items and terminator); `unicode` writes the string
// data as UTF-16; the environment texts go in both the ANSI and the Unicode field.
struct ShellLinkFields {
  std::optional<std::string> idList;
  std::optional<LinkInfoFields> linkInfo;
  bool unicode = true;
  std::optional<std::string> name, relativePath, workingDir, arguments, iconLocation;
  std::optional<std::string> environmentTarget, environmentIcon;
  std::uint32_t extraFlags = 0;
  std::int32_t iconIndex = 0;
  std::uint32_t showCommand = 1;
  bool terminalBlock = true;
};

inline std::string IdItem(std::string_view bytes) {
  return Le(bytes.size() + 2, 2) += bytes;
}

// An item list as Windows 10 writes it: the computer, the drive, one item per name with the
// long name in a version 9 extension block that Wine's shell misreads. Short names: ANSI 8.3.
inline std::string WindowsItemList(char drive, const std::vector<std::string>& shortNames,
                                   const std::vector<std::string>& longNames) {
  std::string list = IdItem(
      std::string("\x1F\x50\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 18));
  list += IdItem(std::string("\x2F") + drive + ":\\" + Zeros(19));
  for (std::size_t i = 0; i < shortNames.size(); ++i) {
    // Type, file size, DOS date and time, attributes, the short name.
    const bool last = i + 1 == shortNames.size();
    const std::string item = std::string(last ? "\x32" : "\x31") + Zeros(1) + Le(last ? 1234 : 0) +
                             Le(0x5A2B3C4D) + Le(last ? 0x20 : 0x10, 2) + shortNames[i] +
                             Zeros(shortNames[i].size() % 2 == 0 ? 2 : 1);
    // Size, version, signature, creation and access times, identifier, file reference,
    // long string size and reserved, the long name, the item's offset.
    const std::string ext = Le(9, 2) + Le(0xBEEF0004) + Le(0x5A2B3C4D) + Le(0x5A2B3C4D) + Le(0x2E) +
                            "\x11\x22\x33\x44\x55\x66\x77\x88" + Zeros(22) + Utf16Le(longNames[i]) +
                            Zeros(2) + Le(item.size(), 2);
    list += IdItem(item + Le(ext.size() + 2, 2) + ext);
  }
  return list + Zeros(2);
}

inline std::string BuildLinkInfo(const LinkInfoFields& fields) {
  const std::size_t headerSize = fields.unicode ? 0x24 : 0x1C;
  const bool network = !fields.netName.empty();
  std::string body;  // what follows the header, at offsets from the block's start
  auto add = [&](const std::string& bytes) {
    body += bytes;
    return headerSize + body.size() - bytes.size();
  };
  std::size_t volume = 0, base = 0, net = 0, baseWide = 0, suffixWide = 0;
  if (!network) {
    // Size, drive type (fixed), serial, label offset, an empty label.
    volume = add(Le(0x11) + Le(3) + Le(0x1234ABCD) + Le(0x10) + Zeros(1));
    base = add(fields.ansiBasePath + Zeros(1));
  } else {
    // Size, flags (no device name, no provider), name offset, device offset, provider.
    net = add(Le(0x14 + fields.netName.size() + 1) + Le(0) + Le(0x14) + Zeros(8) + fields.netName +
              Zeros(1));
  }
  const std::size_t suffix = add(fields.ansiSuffix + Zeros(1));
  if (fields.unicode && !network) baseWide = add(Utf16Le(fields.unicodeBasePath) + Zeros(2));
  if (fields.unicode) suffixWide = add(Utf16Le(fields.unicodeSuffix) + Zeros(2));
  std::string out = Le(headerSize + body.size()) + Le(headerSize) + Le(network ? 2 : 1) +
                    Le(volume) + Le(base) + Le(net) + Le(suffix);
  return out + (fields.unicode ? Le(baseWide) + Le(suffixWide) : "") + body;
}

inline std::string EnvironmentBlock(std::uint32_t signature, const std::string& text) {
  std::string ansi = text, wide = Utf16Le(text);
  ansi.resize(260, '\0');
  wide.resize(520, '\0');
  return Le(0x314) + Le(signature) + ansi + wide;
}

inline std::string BuildShellLink(const ShellLinkFields& f) {
  std::uint32_t flags = f.extraFlags | (f.environmentIcon ? 0x4000 : 0);
  const bool present[] = {f.idList.has_value(),
                          f.linkInfo.has_value(),
                          f.name.has_value(),
                          f.relativePath.has_value(),
                          f.workingDir.has_value(),
                          f.arguments.has_value(),
                          f.iconLocation.has_value(),
                          f.unicode,
                          false,
                          f.environmentTarget.has_value()};
  for (std::uint32_t b = 0; b < std::size(present); ++b) flags |= present[b] ? 1u << b : 0u;
  // Header size, class id, flags, file attributes, times and file size, icon index, show
  // command, hot key and reserved.
  std::string out = Le(0x4C) + std::string("\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 16) +
                    Le(flags) + Le(0x20) + Zeros(28) + Le(static_cast<std::uint32_t>(f.iconIndex)) +
                    Le(f.showCommand) + Zeros(12);
  if (f.idList) out += Le(f.idList->size(), 2) + *f.idList;
  if (f.linkInfo) out += BuildLinkInfo(*f.linkInfo);
  for (const auto* text :
       {&f.name, &f.relativePath, &f.workingDir, &f.arguments, &f.iconLocation}) {
    if (!*text) continue;
    const std::string bytes = f.unicode ? Utf16Le(**text) : **text;
    out += Le(f.unicode ? bytes.size() / 2 : bytes.size(), 2) + bytes;
  }
  if (f.environmentTarget) out += EnvironmentBlock(0xA0000001, *f.environmentTarget);
  if (f.environmentIcon) out += EnvironmentBlock(0xA0000007, *f.environmentIcon);
  return f.terminalBlock ? out + Le(0) : out;
}

}  // namespace kivo::testing
