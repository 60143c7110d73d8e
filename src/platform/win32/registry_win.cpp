#include "platform/win32/registry_win.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

// Text types are the ones the ANSI functions convert between UTF-16 and the code page;
// every other type passes through as raw bytes.
bool IsTextType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Both conversions keep every NUL: the terminator and the separators of a multi-text are
// part of the value's size.
std::wstring AnsiToWide(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
  return wide;
}

std::string WideToAnsi(const wchar_t* wide, std::size_t count) {
  if (count == 0) return {};
  const int size = static_cast<int>(count);
  const int length = ::WideCharToMultiByte(CP_ACP, 0, wide, size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string ansi(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, size, ansi.data(), length, nullptr, nullptr);
  return ansi;
}

class WinRegistryKey final : public RegistryKey {
 public:
  explicit WinRegistryKey(UniqueRegistryKey key) : key_(std::move(key)) {}

  std::optional<RegistryData> QueryValue(const std::string& name) const override {
    const std::wstring wideName = Widen(name);
    std::vector<BYTE> buffer(256);
    DWORD type = REG_NONE;
    // Another program may make the value longer between two calls: ask again with the
    // size the last call reported until the whole value fits.
    for (int attempt = 0; attempt < 16; ++attempt) {
      DWORD size = static_cast<DWORD>(buffer.size());
      const LSTATUS status =
          ::RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, buffer.data(), &size);
      if (status == ERROR_SUCCESS) {
        buffer.resize(std::min<std::size_t>(size, buffer.size()));
        return RegistryData{type, ToPortBytes(type, buffer)};
      }
      if (status != ERROR_MORE_DATA) return std::nullopt;
      buffer.resize(std::max<std::size_t>(size, buffer.size() * 2));
    }
    return std::nullopt;
  }

  bool SetValue(const std::string& name, std::uint32_t type, const std::string& bytes) override {
    std::wstring wide;
    const BYTE* data = reinterpret_cast<const BYTE*>(bytes.data());
    std::size_t size = bytes.size();
    if (IsTextType(type)) {
      wide = AnsiToWide(bytes);
      data = reinterpret_cast<const BYTE*>(wide.data());
      size = wide.size() * sizeof(wchar_t);
    }
    if (size > std::numeric_limits<DWORD>::max()) return false;
    return ::RegSetValueExW(key_.get(), Widen(name).c_str(), 0, type, size == 0 ? nullptr : data,
                            static_cast<DWORD>(size)) == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override {
    return ::RegDeleteValueW(key_.get(), Widen(name).c_str()) == ERROR_SUCCESS;
  }

  bool DeleteSubKey(const std::string& name) override {
    // An empty name would make the system delete this key itself.
    if (name.find_first_not_of('\\') == std::string::npos) return false;
    return ::RegDeleteKeyW(key_.get(), Widen(name).c_str()) == ERROR_SUCCESS;
  }

 private:
  // Texts as RegQueryValueExA returns them: UTF-16 turned into the ANSI code page, NULs
  // included. An odd trailing byte is no whole UTF-16 character and is left out.
  static std::string ToPortBytes(DWORD type, const std::vector<BYTE>& data) {
    if (!IsTextType(type)) return std::string(data.begin(), data.end());
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
    std::copy_n(data.begin(), wide.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(wide.data()));
    return WideToAnsi(wide.data(), wide.size());
  }

  UniqueRegistryKey key_;
};

}  // namespace

HKEY PredefinedKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
      return HKEY_USERS;
    case RegistryRoot::PerformanceData:
      return HKEY_PERFORMANCE_DATA;
    case RegistryRoot::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case RegistryRoot::DynData:
      return HKEY_DYN_DATA;
    case RegistryRoot::None:
      break;
  }
  return nullptr;
}

std::unique_ptr<RegistryKey> WinRegistry::OpenKey(RegistryRoot root, const std::string& subKey,
                                                  RegistryAccess access) {
  const HKEY parent = PredefinedKey(root);
  if (parent == nullptr) return nullptr;
  const REGSAM rights = access == RegistryAccess::Write ? KEY_READ | KEY_WRITE : KEY_READ;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(parent, Widen(subKey).c_str(), 0, rights, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<WinRegistryKey>(UniqueRegistryKey(key));
}

std::unique_ptr<RegistryKey> WinRegistry::CreateKey(RegistryRoot root, const std::string& subKey) {
  const HKEY parent = PredefinedKey(root);
  if (parent == nullptr) return nullptr;
  HKEY key = nullptr;
  if (::RegCreateKeyExW(parent, Widen(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<WinRegistryKey>(UniqueRegistryKey(key));
}

}  // namespace kivo::win
