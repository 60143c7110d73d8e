#include "core/portable_registry.h"

#include <cstdint>

#include "core/log.h"
#include "core/text.h"

namespace kivo {
namespace {

constexpr std::size_t kMaxFileBytes = 1024 * 1024;
constexpr char kHeader[] =
    "; Kivo Launcher's own registry values, kept here while it runs portable.\r\n";
constexpr char kDigits[] = "0123456789abcdef";

// Upper-cased, without the backslashes a caller may leave at the end.
std::string NormalKey(std::string_view subKey) {
  while (!subKey.empty() && subKey.back() == '\\') subKey.remove_suffix(1);
  return AsciiUpper(subKey);
}

bool SameName(std::string_view a, std::string_view b) {
  return AsciiUpper(a) == AsciiUpper(b);
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool WritableKeyName(std::string_view name) {
  return !name.empty() && !HasLineBreakOrNul(name) && name.find(']') == std::string_view::npos;
}

bool WritableValueName(std::string_view name) {
  return !name.empty() && !HasLineBreakOrNul(name) && name.find('=') == std::string_view::npos &&
         name.front() != '[' && name.front() != ';';
}

std::string Hex(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Unhex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
  }
  return out;
}

// A text value is written as itself when it reads back the same: one NUL at its end and
// no line break or NUL inside.
bool PlainText(const RegistryData& data) {
  if (data.type != kRegSz && data.type != kRegExpandSz) return false;
  if (data.bytes.empty() || data.bytes.back() != '\0') return false;
  return !HasLineBreakOrNul(std::string_view(data.bytes).substr(0, data.bytes.size() - 1));
}

std::string FormatData(const RegistryData& data) {
  if (PlainText(data)) {
    return (data.type == kRegSz ? "sz:" : "expand_sz:") +
           data.bytes.substr(0, data.bytes.size() - 1);
  }
  if (data.type == kRegDword && data.bytes.size() == 4) {
    // Little-endian as stored; written most significant digit first, as people read it.
    std::string reversed(data.bytes.rbegin(), data.bytes.rend());
    return "dword:" + Hex(reversed);
  }
  return "hex(" + std::to_string(data.type) + "):" + Hex(data.bytes);
}

std::optional<RegistryData> ParseData(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view kind = text.substr(0, colon);
  const std::string_view rest = text.substr(colon + 1);
  if (kind == "sz") return RegistryData{kRegSz, std::string(rest) + '\0'};
  if (kind == "expand_sz") return RegistryData{kRegExpandSz, std::string(rest) + '\0'};
  if (kind == "dword") {
    if (rest.size() != 8) return std::nullopt;
    const auto bytes = Unhex(rest);
    if (!bytes) return std::nullopt;
    return RegistryData{kRegDword, std::string(bytes->rbegin(), bytes->rend())};
  }
  if (kind.size() > 5 && kind.substr(0, 4) == "hex(" && kind.back() == ')') {
    const std::string_view number = kind.substr(4, kind.size() - 5);
    if (number.size() > 9) return std::nullopt;
    std::uint32_t type = 0;
    for (const char c : number) {
      if (c < '0' || c > '9') return std::nullopt;
      type = type * 10 + static_cast<std::uint32_t>(c - '0');
    }
    const auto bytes = Unhex(rest);
    if (!bytes) return std::nullopt;
    return RegistryData{type, *bytes};
  }
  return std::nullopt;
}

}  // namespace

RegistryRoute RoutePortableKey(RegistryRoot root, std::string_view subKey, RegistryAccess access) {
  if (root == RegistryRoot::None) return RegistryRoute::Refused;
  const std::string key = NormalKey(subKey);
  const std::string own = NormalKey(kProgramRootKey);
  if (root == RegistryRoot::CurrentUser && (key == own || key.rfind(own + "\\", 0) == 0)) {
    return RegistryRoute::File;
  }
  return access == RegistryAccess::Read ? RegistryRoute::System : RegistryRoute::Refused;
}

std::optional<std::string> FormatPortableKeys(const PortableKeys& keys) {
  std::string text = kHeader;
  for (const PortableKey& key : keys) {
    if (!WritableKeyName(key.name)) return std::nullopt;
    text += "\r\n[" + key.name + "]\r\n";
    for (const auto& [name, data] : key.values) {
      if (!WritableValueName(name)) return std::nullopt;
      text += name + "=" + FormatData(data) + "\r\n";
    }
  }
  return text;
}

PortableKeys ParsePortableKeys(std::string_view text) {
  PortableKeys keys;
  PortableKey* current = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      current = nullptr;
      if (line.size() < 3 || line.back() != ']') continue;
      const std::string_view name = line.substr(1, line.size() - 2);
      if (!WritableKeyName(name)) continue;
      for (PortableKey& key : keys) {
        if (SameName(key.name, name)) current = &key;
      }
      if (!current) current = &keys.emplace_back(PortableKey{std::string(name), {}});
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!current || equals == std::string_view::npos || equals == 0) continue;
    const std::string_view name = line.substr(0, equals);
    const auto data = ParseData(line.substr(equals + 1));
    if (!data) continue;
    bool replaced = false;
    for (auto& [existing, value] : current->values) {
      if (SameName(existing, name)) {
        value = *data;
        replaced = true;
      }
    }
    if (!replaced) current->values.emplace_back(std::string(name), *data);
  }
  return keys;
}

// A key of the file. Looked up at every call: it may have been deleted meanwhile.
class PortableRegistry::FileKey final : public RegistryKey {
 public:
  FileKey(PortableRegistry& owner, std::string subKey, bool writable)
      : owner_(owner), subKey_(std::move(subKey)), writable_(writable) {}

  std::optional<RegistryData> QueryValue(const std::string& name) const override {
    const PortableKey* key = owner_.Find(subKey_);
    if (!key) return std::nullopt;
    for (const auto& [existing, data] : key->values) {
      if (SameName(existing, name)) return data;
    }
    return std::nullopt;
  }

  bool SetValue(const std::string& name, std::uint32_t type, const std::string& bytes) override {
    if (!writable_ || !WritableValueName(name)) return false;
    PortableKeys changed = owner_.keys_;
    PortableKey* key = FindIn(changed, subKey_);
    if (!key) key = &changed.emplace_back(PortableKey{subKey_, {}});
    for (auto& [existing, data] : key->values) {
      if (SameName(existing, name)) {
        data = RegistryData{type, bytes};
        return owner_.Commit(std::move(changed));
      }
    }
    key->values.emplace_back(name, RegistryData{type, bytes});
    return owner_.Commit(std::move(changed));
  }

  bool DeleteValue(const std::string& name) override {
    if (!writable_) return false;
    PortableKeys changed = owner_.keys_;
    PortableKey* key = FindIn(changed, subKey_);
    if (!key) return false;
    const auto before = key->values.size();
    std::erase_if(key->values, [&](const auto& value) { return SameName(value.first, name); });
    return key->values.size() != before && owner_.Commit(std::move(changed));
  }

  bool DeleteSubKey(const std::string& name) override {
    if (!writable_) return false;
    const std::string child = NormalKey(subKey_ + "\\" + name);
    PortableKeys changed = owner_.keys_;
    bool found = false;
    for (const PortableKey& key : changed) {
      const std::string other = NormalKey(key.name);
      if (other.rfind(child + "\\", 0) == 0) return false;  // it has keys of its own
      found = found || other == child;
    }
    if (!found) return false;
    std::erase_if(changed, [&](const PortableKey& key) { return NormalKey(key.name) == child; });
    return owner_.Commit(std::move(changed));
  }

  static PortableKey* FindIn(PortableKeys& keys, const std::string& subKey) {
    const std::string wanted = NormalKey(subKey);
    for (PortableKey& key : keys) {
      if (NormalKey(key.name) == wanted) return &key;
    }
    return nullptr;
  }

 private:
  PortableRegistry& owner_;
  std::string subKey_;
  bool writable_;
};

PortableRegistry::PortableRegistry(Registry& system, FileSystem& fs, std::string file)
    : system_(system), fs_(fs), file_(std::move(file)) {
  if (const auto text = fs_.ReadFile(file_, kMaxFileBytes)) keys_ = ParsePortableKeys(*text);
}

PortableRegistry::~PortableRegistry() = default;

PortableKey* PortableRegistry::Find(const std::string& subKey) {
  return FileKey::FindIn(keys_, subKey);
}

bool PortableRegistry::Commit(PortableKeys changed) {
  const auto text = FormatPortableKeys(changed);
  if (!text) return false;
  const std::string temporary = file_ + ".tmp";
  if (!fs_.WriteFileFlushed(temporary, *text) || !fs_.MoveReplacing(temporary, file_)) {
    fs_.RemoveFile(temporary);
    Log(LogLevel::Error, "Could not save the portable settings to \"" + file_ + "\"");
    return false;
  }
  keys_ = std::move(changed);
  return true;
}

std::unique_ptr<RegistryKey> PortableRegistry::OpenKey(RegistryRoot root, const std::string& subKey,
                                                       RegistryAccess access) {
  switch (RoutePortableKey(root, subKey, access)) {
    case RegistryRoute::File: {
      const std::string wanted = NormalKey(subKey);
      for (const PortableKey& key : keys_) {
        const std::string name = NormalKey(key.name);
        // A key exists while it or a key below it does, as in the registry.
        if (name == wanted || name.rfind(wanted + "\\", 0) == 0) {
          return std::make_unique<FileKey>(*this, subKey, access == RegistryAccess::Write);
        }
      }
      return nullptr;
    }
    case RegistryRoute::System:
      return system_.OpenKey(root, subKey, RegistryAccess::Read);
    case RegistryRoute::Refused:
      break;
  }
  return nullptr;
}

std::unique_ptr<RegistryKey> PortableRegistry::CreateKey(RegistryRoot root,
                                                         const std::string& subKey) {
  if (RoutePortableKey(root, subKey, RegistryAccess::Write) != RegistryRoute::File) return nullptr;
  std::string name = subKey;
  while (!name.empty() && name.back() == '\\') name.pop_back();
  if (!WritableKeyName(name)) return nullptr;
  // Kept in memory until a value is stored: an empty key is not worth a file.
  if (!Find(name)) keys_.push_back(PortableKey{name, {}});
  return std::make_unique<FileKey>(*this, name, true);
}

}  // namespace kivo
