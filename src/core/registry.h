// Registry values addressed by one text path: a root name, "\", the sub key path
// ("HKEY_CURRENT_USER\SOFTWARE\Kivo Launcher\System"), plus a value name. The helpers
// never report errors: a failure reads as empty or leaves the registry as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/ansi_codec.h"

namespace kivo {

// The predefined keys, with the handle values Windows gives them. None: an unknown root.
enum class RegistryRoot : std::uint32_t {
  None = 0,
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
  PerformanceData = 0x80000004u,
  CurrentConfig = 0x80000005u,
  DynData = 0x80000006u,
};

// Value type codes as the registry stores them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// A value's data exactly as the ANSI registry functions (RegQueryValueExA,
// RegSetValueExA) see it: texts in the system ANSI code page with their terminating NUL,
// numbers as little-endian bytes.
struct RegistryData {
  std::uint32_t type = 0;
  std::string bytes;

  friend bool operator==(const RegistryData&, const RegistryData&) = default;
};

// An open key. Destroying it closes the key.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // The whole value, or nothing when it is missing or cannot be read. "" names the
  // key's default value.
  virtual std::optional<RegistryData> QueryValue(const std::string& name) const = 0;
  virtual bool SetValue(const std::string& name, std::uint32_t type, const std::string& bytes) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
  // Deletes the sub key `name` (which may itself be a path below this key); fails when
  // that key has sub keys of its own.
  virtual bool DeleteSubKey(const std::string& name) = 0;
};

enum class RegistryAccess { Read, Write };

// The system registry. Key paths and value names are UTF-8; an empty sub key names the
// root itself.
class Registry {
 public:
  virtual ~Registry() = default;
  // The existing key, or nothing when it is missing or access is refused.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& subKey,
                                               RegistryAccess access) = 0;
  // The key opened for writing, created with any missing parents first; nothing on failure.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& subKey) = 0;
};

struct RegistryPath {
  RegistryRoot root = RegistryRoot::None;
  std::string subKey;    // everything after the first "\"
  std::string lastName;  // everything after the last "\"

  friend bool operator==(const RegistryPath&, const RegistryPath&) = default;
};

// Splits a key path at its first "\". The root name is matched without regard to case;
// a path without "\" is all root name, with an empty sub key.
RegistryPath SplitRegistryPath(std::string_view path);

// A value as read: empty, a text or a 32-bit number.
using RegistryValue = std::variant<std::monostate, std::string, std::int32_t>;

// Texts (types 1, 2 and 7) and binary data (type 3) come back as UTF-8 text of at most
// 1024 bytes in the ANSI code page, cut at a character boundary; the NULs that end a
// stored text are dropped, the NULs between the parts of a multi-text are kept.
// Numbers (type 4) come back as numbers; anything else, or any failure, as empty.
RegistryValue ReadRegistryValue(Registry& registry, const AnsiCodec& codec,
                                std::string_view keyPath, std::string_view valueName);

// The value as the program compares it: a text cut at its first NUL and trimmed, a
// number in decimal digits, "" for empty.
std::string RegistryValueText(const RegistryValue& value);

// Creates the key when missing and stores `value` as type 1 or 2 (the text in the ANSI
// code page) or 4 (the text read as a decimal 32-bit number). True when the value was
// stored. Nothing is written for another type, a text the code page cannot hold, or a
// number that does not parse.
bool WriteRegistryValue(Registry& registry, const AnsiCodec& codec, std::string_view keyPath,
                        std::string_view valueName, std::string_view value,
                        std::uint32_t valueType);

void DeleteRegistryValue(Registry& registry, std::string_view keyPath, std::string_view valueName);

// Deletes the key `keyName` below `parentPath` (below the root itself when the parent
// path has no sub key). A name that is empty or all backslashes deletes nothing.
void DeleteRegistryKey(Registry& registry, std::string_view parentPath, std::string_view keyName);

}  // namespace kivo
