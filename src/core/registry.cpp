#include "core/registry.h"

#include <array>
#include <charconv>
#include <utility>

#include "core/text.h"

namespace kivo {
namespace {

constexpr std::size_t kMaxTextBytes = 1024;
// A multi-byte character is at most this long in any ANSI code page; decoding this much
// beyond the limit is enough to see the character that straddles it whole.
constexpr std::size_t kLongestCharacter = 4;

constexpr std::array<std::pair<std::string_view, RegistryRoot>, 7> kRootNames{{
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_PERFORMANCE_DATA", RegistryRoot::PerformanceData},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    {"HKEY_DYN_DATA", RegistryRoot::DynData},
}};

RegistryRoot RootFromName(std::string_view name) {
  const std::string upper = AsciiUpper(name);
  for (const auto& [rootName, root] : kRootNames) {
    if (upper == rootName) return root;
  }
  return RegistryRoot::None;
}

// The decoded text of ANSI `bytes`, shortened to whole characters whose ANSI form fits
// `maxBytes`, so a double-byte character is never cut in half.
std::string DecodeLimited(const AnsiCodec& codec, std::string_view bytes, std::size_t maxBytes) {
  if (bytes.size() <= maxBytes) return codec.Decode(bytes);
  const std::string text = codec.Decode(bytes.substr(0, maxBytes + kLongestCharacter));
  std::string result;
  std::size_t used = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, pos);
    const std::string_view one = std::string_view(text).substr(pos, length);
    const std::size_t size = codec.Encode(one).size();
    if (used + size > maxBytes) break;
    result += one;
    used += size;
    pos += length;
  }
  return result;
}

// A decimal 32-bit number with optional blanks around it; values up to 0xFFFFFFFF are
// taken as their 32-bit pattern, as a DWORD holds them.
std::optional<std::uint32_t> ParseDword(std::string_view text) {
  const std::string clean = CleanText(text);
  if (clean.empty()) return std::nullopt;
  std::int64_t number = 0;
  const char* first = clean.data();
  const char* last = clean.data() + clean.size();
  if (*first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last) return std::nullopt;
  if (number < INT32_MIN || number > static_cast<std::int64_t>(UINT32_MAX)) return std::nullopt;
  return static_cast<std::uint32_t>(number);
}

}  // namespace

RegistryPath SplitRegistryPath(std::string_view path) {
  RegistryPath result;
  const auto first = path.find('\\');
  if (first == std::string_view::npos) {
    result.root = RootFromName(path);
    result.lastName = std::string(path);
    return result;
  }
  result.root = RootFromName(path.substr(0, first));
  result.subKey = std::string(path.substr(first + 1));
  result.lastName = std::string(path.substr(path.rfind('\\') + 1));
  return result;
}

RegistryValue ReadRegistryValue(Registry& registry, const AnsiCodec& codec,
                                std::string_view keyPath, std::string_view valueName) {
  const RegistryPath path = SplitRegistryPath(keyPath);
  if (path.root == RegistryRoot::None) return {};
  const auto key = registry.OpenKey(path.root, path.subKey, RegistryAccess::Read);
  if (!key) return {};
  const auto data = key->QueryValue(std::string(valueName));
  if (!data) return {};

  std::string_view bytes = data->bytes;
  switch (data->type) {
    case kRegSz:
    case kRegExpandSz:
    case kRegMultiSz:
      while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
      return DecodeLimited(codec, bytes, kMaxTextBytes);
    case kRegBinary:
      return DecodeLimited(codec, bytes, kMaxTextBytes);
    case kRegDword: {
      // A number of any other size is damaged; reading part of it would give a wrong value.
      if (bytes.size() != 4) return {};
      std::uint32_t number = 0;
      for (std::size_t i = 0; i < 4; ++i) {
        number |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
      }
      return static_cast<std::int32_t>(number);
    }
    default:
      return {};
  }
}

std::string RegistryValueText(const RegistryValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return CleanText(*text);
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
  return {};
}

bool WriteRegistryValue(Registry& registry, const AnsiCodec& codec, std::string_view keyPath,
                        std::string_view valueName, std::string_view value,
                        std::uint32_t valueType) {
  std::string bytes;
  if (valueType == kRegSz || valueType == kRegExpandSz) {
    // The stored text ends at a NUL anyway; a text the code page cannot hold would be
    // stored damaged, so it is not stored at all.
    value = value.substr(0, value.find('\0'));
    if (!codec.CanRepresent(value)) return false;
    bytes = codec.Encode(value);
    bytes += '\0';  // the registry expects a text's terminating NUL in its size
  } else if (valueType == kRegDword) {
    const auto number = ParseDword(value);
    if (!number) return false;
    for (std::size_t i = 0; i < 4; ++i) bytes += static_cast<char>((*number >> (8 * i)) & 0xFFu);
  } else {
    return false;
  }

  const RegistryPath path = SplitRegistryPath(keyPath);
  if (path.root == RegistryRoot::None) return false;
  const auto key = registry.CreateKey(path.root, path.subKey);
  if (!key) return false;
  return key->SetValue(std::string(valueName), valueType, bytes);
}

void DeleteRegistryValue(Registry& registry, std::string_view keyPath, std::string_view valueName) {
  const RegistryPath path = SplitRegistryPath(keyPath);
  if (path.root == RegistryRoot::None) return;
  if (const auto key = registry.OpenKey(path.root, path.subKey, RegistryAccess::Write)) {
    key->DeleteValue(std::string(valueName));
  }
}

void DeleteRegistryKey(Registry& registry, std::string_view parentPath, std::string_view keyName) {
  // A name of nothing but separators would make the system delete the opened parent
  // key itself.
  if (keyName.find_first_not_of('\\') == std::string_view::npos) return;
  const RegistryPath path = SplitRegistryPath(parentPath);
  if (path.root == RegistryRoot::None) return;
  if (const auto key = registry.OpenKey(path.root, path.subKey, RegistryAccess::Write)) {
    key->DeleteSubKey(std::string(keyName));
  }
}

}  // namespace kivo
