#include "items/associated_icon.h"

#include <algorithm>

#include "core/text.h"
#include "items/shell_text.h"

namespace kivo {
namespace {

constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT\\";
constexpr std::string_view kMachineClasses = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";

std::string ReadDefault(Registry& registry, const AnsiCodec& codec, const std::string& keyPath) {
  return RegistryValueText(ReadRegistryValue(registry, codec, keyPath, ""));
}

std::string WithoutQuotes(std::string_view text) {
  std::string result(text);
  std::erase(result, '"');
  return CleanText(result);
}

// "file,index" as a DefaultIcon value holds it: split at the first ",", the file trimmed
// and without quotes, the index a number prefix ("-3", " 7", "12x" -> 12; nothing numeric
// -> 0; beyond the 32-bit range -> the nearest end). A file alone has index 0.
IconLocation ParseIconLocation(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return {WithoutQuotes(text), 0};
  return {WithoutQuotes(text.substr(0, comma)), ParseIndex(text.substr(comma + 1))};
}

// The location with its file expanded, when that file exists.
std::optional<IconLocation> Existing(IconLocation location, const FileSystem& files,
                                     const PathExpander& expand) {
  const std::string clean = CleanText(location.file);
  if (clean.empty()) return std::nullopt;
  location.file = CleanText(expand(clean));
  if (location.file.empty() || !files.FileExists(location.file)) return std::nullopt;
  return location;
}

std::optional<IconLocation> LookupUnder(Registry& registry, const AnsiCodec& codec,
                                        const FileSystem& files, std::string_view classes,
                                        const std::string& progId, const PathExpander& expand) {
  const std::string base = std::string(classes) + progId;
  const std::string clsid = ReadDefault(registry, codec, base + "\\CLSID");
  if (!clsid.empty()) {
    const std::string icon =
        ReadDefault(registry, codec, std::string(classes) + "CLSID\\" + clsid + "\\DefaultIcon");
    if (!icon.empty()) {
      if (auto found = Existing(ParseIconLocation(icon), files, expand)) return found;
    }
  }
  const std::string icon = ReadDefault(registry, codec, base + "\\DefaultIcon");
  if (!icon.empty()) {
    if (auto found = Existing(ParseIconLocation(icon), files, expand)) return found;
  }
  const std::string command = ReadDefault(registry, codec, base + "\\shell\\open\\command");
  return Existing(IconLocation{CommandProgram(command), 0}, files, expand);
}

}  // namespace

std::optional<IconLocation> LookupAssociatedIcon(Registry& registry, const AnsiCodec& codec,
                                                 const FileSystem& files,
                                                 std::string_view extensionKey,
                                                 const PathExpander& expand) {
  const std::string key = CleanText(extensionKey);
  // An empty key would read the default value of the classes key itself.
  if (key.empty()) return std::nullopt;
  for (const std::string_view classes : {kClassesRoot, kMachineClasses}) {
    const std::string progId = ReadDefault(registry, codec, std::string(classes) + key);
    // Only a type unknown to HKEY_CLASSES_ROOT is looked up under the machine's classes.
    if (!progId.empty()) return LookupUnder(registry, codec, files, classes, progId, expand);
  }
  return std::nullopt;
}

}  // namespace kivo
