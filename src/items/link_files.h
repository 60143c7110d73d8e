// What link files and version resources say: the record of the last link that was read,
// Internet shortcut files, and the strings of a program's version resource.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ansi_codec.h"
#include "core/fixed_text.h"
#include "items/item_system.h"

namespace kivo {

// The result of the last link resolution, cleared before every classification.
struct LinkInfo {
  FixedText<255> LinkFile;
  FixedText<128> LinkSpare;
  FixedText<255> LinkTarget;
  FixedText<128> LinkArguments;
  FixedText<255> LinkIconFile;
  std::int32_t LinkIconIndex = 0;
  FixedText<255> LinkWorkingDir;
  std::int32_t LinkShowCommand = 0;
};

// An Internet shortcut file (".url") as the INI-style text it is: the [InternetShortcut]
// section's URL, IconFile, IconIndex, WorkingDirectory and ShowCommand. The bytes may be
// ANSI (decoded with `codec`), UTF-8 with a byte-order mark, or UTF-16 with one. Nothing
// when the file has no such section or no URL.
std::optional<ShellLinkData> ParseInternetShortcut(std::string_view bytes, const AnsiCodec& codec);

// A string of a version resource ("FileDescription", ...) from its first string table,
// whatever its language; nothing when the block holds no such string. Every offset is
// checked against the block.
std::optional<std::string> FindVersionString(std::string_view block, std::string_view name);

}  // namespace kivo
