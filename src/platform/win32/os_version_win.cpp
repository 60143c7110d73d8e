#include "platform/win32/os_version_win.h"

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string_view>

#include "platform/win32/unicode.h"

namespace kivo::win {

std::optional<OsVersion> ReadOsVersion() {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const FARPROC address = ntdll ? ::GetProcAddress(ntdll, "RtlGetVersion") : nullptr;
  if (address == nullptr) return std::nullopt;
  const auto rtlGetVersion =
      reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(address));

  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (rtlGetVersion(&info) != 0) return std::nullopt;

  OsVersion version;
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.build = info.dwBuildNumber;
  version.servicePack = Narrow(std::wstring_view(
      info.szCSDVersion, ::wcsnlen(info.szCSDVersion, std::size(info.szCSDVersion))));
  version.server = info.wProductType != VER_NT_WORKSTATION;
  return version;
}

}  // namespace kivo::win
