// The registry of a portable copy: the program's own key lives in a file in the data
// folder, other keys can be read from the system but never written, so a copy run from a
// stick leaves nothing behind on the computer.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/file_system.h"
#include "core/registry.h"

namespace kivo {

// The key the program keeps its own values under (hot keys, the first-run mark).
inline constexpr const char* kProgramRootKey = "SOFTWARE\\Kivo Launcher";
// The file in the data folder that holds that key while the program runs portable.
inline constexpr const char* kPortableRegistryFileName = "KivoReg.ini";

// Where a portable copy sends a key: its own key to the file, reads of any other key to
// the system, and writes of any other key (the start-up entry among them) nowhere.
enum class RegistryRoute { File, System, Refused };
RegistryRoute RoutePortableKey(RegistryRoot root, std::string_view subKey, RegistryAccess access);

// The keys a file holds, with names spelled as first written; names compare without
// regard to case, as the registry's do.
struct PortableKey {
  std::string name;  // the sub key below the root, e.g. "SOFTWARE\Kivo Launcher\System"
  std::vector<std::pair<std::string, RegistryData>> values;
};
using PortableKeys = std::vector<PortableKey>;

// The file's text: a "[sub key]" line per key, then "name=kind:data" per value, kind
// "sz" or "expand_sz" with the text itself, "dword" with 8 hex digits, or "hex(type)"
// with the bytes in hex. Nothing when a name cannot be written that way.
std::optional<std::string> FormatPortableKeys(const PortableKeys& keys);
// Malformed lines are skipped.
PortableKeys ParsePortableKeys(std::string_view text);

class PortableRegistry final : public Registry {
 public:
  // Reads `file` now (a missing or unreadable file is an empty key); every change is
  // written back to it at once.
  PortableRegistry(Registry& system, FileSystem& fs, std::string file);
  ~PortableRegistry() override;

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& subKey,
                                       RegistryAccess access) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& subKey) override;

 private:
  class FileKey;
  PortableKey* Find(const std::string& subKey);
  // Writes `changed` to the file and keeps it; on failure everything stays as it was.
  bool Commit(PortableKeys changed);

  Registry& system_;
  FileSystem& fs_;
  std::string file_;
  PortableKeys keys_;
};

}  // namespace kivo
