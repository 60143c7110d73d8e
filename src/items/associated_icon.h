// The icon a file type is registered with: the type's program id under the classes key,
// its class's or its own "DefaultIcon", else the program of its open command.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/ansi_codec.h"
#include "core/file_system.h"
#include "core/registry.h"

namespace kivo {

// An icon source: a program, library or ".ico" file, and the icon's index in it (a
// negative index names a resource identifier).
struct IconLocation {
  std::string file;
  int index = 0;

  friend bool operator==(const IconLocation&, const IconLocation&) = default;
};

// Expands the environment variables (and folder aliases) in a path.
using PathExpander = std::function<std::string(std::string_view)>;

// The registered icon of the file type `extensionKey` (".TXT", ...), with `file` already
// expanded, or nothing when the type names no icon whose file exists. Sources in order,
// the first with an existing file wins: the class's "DefaultIcon" (progId\CLSID), the
// program id's own "DefaultIcon", the program of "shell\open\command" (index 0). A type
// that has no program id under HKEY_CLASSES_ROOT is looked up under
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes instead.
std::optional<IconLocation> LookupAssociatedIcon(Registry& registry, const AnsiCodec& codec,
                                                 const FileSystem& files,
                                                 std::string_view extensionKey,
                                                 const PathExpander& expand);

}  // namespace kivo
