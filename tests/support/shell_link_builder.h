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

inline void PutLe(std::string& out, std::uint32_t value, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

inline void SetU32(std::string& out, std::size_t at, std::uint32_t value) {
  std::string bytes;
  PutLe(bytes, value);
  out.replace(at, 4, bytes);
}

// UTF-8 (well formed, Basic Multilingual Plane only) as UTF-16 little-endian bytes.
inline std::string Utf16Le(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::uint32_t code = length == 1 ? c : c & (length == 2 ? 0x1Fu : 0x0Fu);
    for (std::size_t k = 1; k < length; ++k)
      code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
    i += length;
    PutLe(out, code, 2);
  }
  return out;
}

// The location block. ANSI texts are written as given; with `unicode` the block has the
// 0x24-byte header and the Unicode forms of the base path and the suffix as well.
struct LinkInfoFields {
  std::string ansiBasePath;
  std::string ansiSuffix;
  bool unicode = false;
  std::string unicodeBasePath;
  std::string unicodeSuffix;
  std::string netName;  // "\\server\share": a network location instead of a local one
};

inline LinkInfoFields LocalInfo(std::string base, std::string suffix) {
  return {std::move(base), std::move(suffix), false, {}, {}, {}};
}

inline LinkInfoFields UnicodeInfo(std::string ansiBase, std::string ansiSuffix, std::string base,
                                  std::string suffix) {
  return {std::move(ansiBase), std::move(ansiSuffix), true, std::move(base), std::move(suffix), {}};
}

struct ShellLinkFields {
  std::optional<std::string> idList;  // the item list's bytes (its items and terminator)
  std::optional<LinkInfoFields> linkInfo;
  bool unicode = true;  // string data as UTF-16, else as the bytes given
  std::optional<std::string> name;
  std::optional<std::string> relativePath;
  std::optional<std::string> workingDir;
  std::optional<std::string> arguments;
  std::optional<std::string> iconLocation;
  std::optional<std::string> environmentTarget;  // written in both the ANSI and the Unicode field
  std::optional<std::string> environmentIcon;
  std::uint32_t extraFlags = 0;
  std::int32_t iconIndex = 0;
  std::uint32_t showCommand = 1;
  bool terminalBlock = true;
};

inline std::string IdItem(std::string_view bytes) {
  std::string out;
  PutLe(out, static_cast<std::uint32_t>(bytes.size() + 2), 2);
  return out += bytes;
}

// An item list the way Windows 10 writes one: the computer, the drive, then one file-system
// item per name with the long name in an extension block of version 9, whose layout the
// shell under Wine does not expect. `shortNames` are the 8.3 names, ANSI.
inline std::string WindowsItemList(char drive, const std::vector<std::string>& shortNames,
                                   const std::vector<std::string>& longNames) {
  std::string list = IdItem(
      std::string("\x1F\x50\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 18));
  std::string root = std::string("\x2F") + drive + ":\\";
  root.resize(23, '\0');
  list += IdItem(root);
  for (std::size_t i = 0; i < shortNames.size(); ++i) {
    const bool last = i + 1 == shortNames.size();
    std::string item(1, last ? '\x32' : '\x31');
    item.push_back('\0');
    PutLe(item, last ? 1234u : 0u);  // file size
    PutLe(item, 0x5A2B3C4D);         // DOS date and time
    PutLe(item, last ? 0x20u : 0x10u, 2);
    item += shortNames[i] + std::string(1, '\0');
    if (item.size() % 2 != 0) item.push_back('\0');
    // Size (set below), version, signature, creation and access times, identifier.
    std::string extension;
    for (std::uint32_t value : {0u, 9u}) PutLe(extension, value, 2);
    for (std::uint32_t value : {0xBEEF0004u, 0x5A2B3C4Du, 0x5A2B3C4Du}) PutLe(extension, value);
    PutLe(extension, 0x2E);
    extension.append("\x11\x22\x33\x44\x55\x66\x77\x88", 8);  // file reference
    extension.append(22, '\0');                               // long string size, reserved
    extension += Utf16Le(longNames[i]) + std::string(2, '\0');
    PutLe(extension, static_cast<std::uint32_t>(item.size()), 2);
    extension[0] = static_cast<char>(extension.size() & 0xFF);
    extension[1] = static_cast<char>(extension.size() >> 8);
    list += IdItem(item + extension);
  }
  return list + std::string(2, '\0');
}

inline std::string BuildLinkInfo(const LinkInfoFields& fields) {
  const std::uint32_t headerSize = fields.unicode ? 0x24 : 0x1C;
  const bool network = !fields.netName.empty();
  std::string body;  // what follows the header, at offsets from the block's start
  auto offset = [&] { return static_cast<std::uint32_t>(headerSize + body.size()); };
  std::uint32_t volume = 0, base = 0, net = 0, baseWide = 0, suffixWide = 0;
  if (!network) {
    volume = offset();
    // Size, drive type (fixed), serial, label offset, an empty label.
    for (std::uint32_t value : {0x11u, 3u, 0x1234ABCDu, 0x10u}) PutLe(body, value);
    body.push_back('\0');
    base = offset();
    body += fields.ansiBasePath + std::string(1, '\0');
  } else {
    net = offset();
    // Size, flags (no device name, no provider), name offset, device offset, provider.
    PutLe(body, static_cast<std::uint32_t>(0x14 + fields.netName.size() + 1));
    for (std::uint32_t value : {0u, 0x14u, 0u, 0u}) PutLe(body, value);
    body += fields.netName + std::string(1, '\0');
  }
  const std::uint32_t suffix = offset();
  body += fields.ansiSuffix + std::string(1, '\0');
  if (fields.unicode) {
    if (!network) {
      baseWide = offset();
      body += Utf16Le(fields.unicodeBasePath) + std::string(2, '\0');
    }
    suffixWide = offset();
    body += Utf16Le(fields.unicodeSuffix) + std::string(2, '\0');
  }
  std::string out;
  for (std::uint32_t value : {static_cast<std::uint32_t>(headerSize + body.size()), headerSize,
                              network ? 0x2u : 0x1u, volume, base, net, suffix}) {
    PutLe(out, value);
  }
  if (fields.unicode) {
    PutLe(out, baseWide);
    PutLe(out, suffixWide);
  }
  return out + body;
}

inline std::string EnvironmentBlock(std::uint32_t signature, const std::string& text) {
  std::string out;
  PutLe(out, 0x314);
  PutLe(out, signature);
  std::string ansi = text, wide = Utf16Le(text);
  ansi.resize(260, '\0');
  wide.resize(520, '\0');
  return out + ansi + wide;
}

inline std::string BuildShellLink(const ShellLinkFields& fields) {
  std::uint32_t flags = fields.extraFlags;
  const std::pair<bool, std::uint32_t> bits[] = {{fields.idList.has_value(), 0x1},
                                                 {fields.linkInfo.has_value(), 0x2},
                                                 {fields.name.has_value(), 0x4},
                                                 {fields.relativePath.has_value(), 0x8},
                                                 {fields.workingDir.has_value(), 0x10},
                                                 {fields.arguments.has_value(), 0x20},
                                                 {fields.iconLocation.has_value(), 0x40},
                                                 {fields.unicode, 0x80},
                                                 {fields.environmentTarget.has_value(), 0x200},
                                                 {fields.environmentIcon.has_value(), 0x4000}};
  for (const auto& [on, bit] : bits) flags |= on ? bit : 0;

  std::string out;
  PutLe(out, 0x4C);
  out.append("\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 16);
  PutLe(out, flags);
  PutLe(out, 0x20);      // file attributes
  out.append(28, '\0');  // creation, access and write times, file size
  PutLe(out, static_cast<std::uint32_t>(fields.iconIndex));
  PutLe(out, fields.showCommand);
  out.append(12, '\0');  // hot key, reserved
  if (fields.idList) {
    PutLe(out, static_cast<std::uint32_t>(fields.idList->size()), 2);
    out += *fields.idList;
  }
  if (fields.linkInfo) out += BuildLinkInfo(*fields.linkInfo);
  for (const auto* text : {&fields.name, &fields.relativePath, &fields.workingDir,
                           &fields.arguments, &fields.iconLocation}) {
    if (!*text) continue;
    const std::string bytes = fields.unicode ? Utf16Le(**text) : **text;
    PutLe(out, static_cast<std::uint32_t>(fields.unicode ? bytes.size() / 2 : bytes.size()), 2);
    out += bytes;
  }
  if (fields.environmentTarget) out += EnvironmentBlock(0xA0000001, *fields.environmentTarget);
  if (fields.environmentIcon) out += EnvironmentBlock(0xA0000007, *fields.environmentIcon);
  if (fields.terminalBlock) PutLe(out, 0);
  return out;
}

}  // namespace kivo::testing
