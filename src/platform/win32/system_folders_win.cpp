#include "platform/win32/system_folders_win.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/win32/unicode.h"

namespace kivo::win {

std::string WinSystemFolders::SpecialFolder(int csidl) const {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return Narrow(path);
}

std::string WinSystemFolders::TempFolder() const {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
  if (length == 0 || length > MAX_PATH) return {};
  return Narrow(path);
}

std::string WinSystemFolders::ProgramFolder() const {
  const std::string path = ProgramFilePath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ProgramFilePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace kivo::win
