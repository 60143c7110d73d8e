// Naming the running Windows version, and refusing the 95/98/Me family.
#pragma once

#include <cstdint>
#include <string>

namespace kivo {

inline constexpr std::uint32_t kPlatformWindows9x = 1;
inline constexpr std::uint32_t kPlatformWindowsNt = 2;

// The version record as the system reports it (the true version, not one a compatibility
// shim pretends).
struct OsVersion {
  std::uint32_t platformId = kPlatformWindowsNt;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::string servicePack;  // "Service Pack 1", or ""
  bool server = false;      // a server or domain-controller edition
};

struct OsName {
  // "Microsoft Windows 7 Service Pack 1 (Build 7601)"; for a refused version the bare
  // name, as the refusal quotes it.
  std::string text;
  std::uint32_t major = 0;
  bool supported = true;  // false: show UnsupportedOsMessage and end the program
};

OsName GetOsName(const OsVersion& version);

inline constexpr const char* kUnsupportedOsTitle = "Warning !";
// "Sorry! Kivo Launcher doesn't support Microsoft Windows 98 "
std::string UnsupportedOsMessage(const OsName& name);

}  // namespace kivo
