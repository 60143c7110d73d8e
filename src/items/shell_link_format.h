// The fields of a shell link file (".lnk") read from its bytes, without the shell. Links
// that Windows wrote carry their target in several places at once (the item list, the
// location block with a base path and a suffix, the relative path, the environment block);
// the shell under Wine reads some of them badly, so the program reads them itself. Every
// size, count and offset is checked against the bytes at hand: a damaged file is "not
// readable" as a whole, never read outside its bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ansi_codec.h"

namespace kivo {

// Link files larger than this are not links anyone made: not read.
inline constexpr std::size_t kMaxShellLinkBytes = 1024 * 1024;

// LinkFlags of the header, the ones this reader uses.
enum ShellLinkFlag : std::uint32_t {
  kLinkHasIdList = 0x1,
  kLinkHasLinkInfo = 0x2,
  kLinkHasName = 0x4,
  kLinkHasRelativePath = 0x8,
  kLinkHasWorkingDir = 0x10,
  kLinkHasArguments = 0x20,
  kLinkHasIconLocation = 0x40,
  kLinkIsUnicode = 0x80,
  kLinkForceNoLinkInfo = 0x100,
  kLinkHasExpString = 0x200,
  kLinkHasExpIcon = 0x4000,
};

// Extra-data block signatures: the target and the icon location with environment variables.
inline constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;
inline constexpr std::uint32_t kIconEnvironmentBlock = 0xA0000007;

// Everything a link file says about where its target is and how it is started. Texts are
// UTF-8; ANSI texts are decoded with the codec given to the reader. A text the file does
// not hold is empty.
struct ShellLinkFile {
  std::uint32_t flags = 0;
  std::uint32_t fileAttributes = 0;
  std::int32_t iconIndex = 0;
  std::uint32_t showCommand = 0;
  std::uint16_t hotKey = 0;
  std::size_t idListBytes = 0;  // the item list's size; its contents are the shell's to read

  // The location block: the local base path and the common path suffix (the Unicode forms
  // when the block has them, else the ANSI ones), the network share for a network target.
  bool hasLinkInfo = false;
  std::string localBasePath;
  std::string commonPathSuffix;
  std::string netName;
  std::uint32_t driveType = 0;

  // The string data.
  std::string name;
  std::string relativePath;
  std::string workingDir;
  std::string arguments;
  std::string iconLocation;

  // The extra-data blocks (the Unicode form when it is set, else the ANSI one).
  std::string environmentTarget;
  std::string environmentIcon;

  friend bool operator==(const ShellLinkFile&, const ShellLinkFile&) = default;
};

// The link's fields, or nothing when the bytes are not a whole shell link: a wrong header
// size or class, or any structure that reaches past the end of the data or its own block.
std::optional<ShellLinkFile> ReadShellLinkFile(std::string_view bytes, const AnsiCodec& codec);

// The target the location block names: the local base path followed by the common path
// suffix, or the network share followed by the suffix; "" when the block names neither.
std::string LinkInfoTarget(const ShellLinkFile& link);

}  // namespace kivo
