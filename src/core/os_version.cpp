#include "core/os_version.h"

#include "core/text.h"

namespace kivo {
namespace {

// Versions nobody has named yet still get a name that says which one they are.
std::string GenericName(const OsVersion& v) {
  return "Microsoft Windows NT " + std::to_string(v.major) + "." + std::to_string(v.minor) + " ";
}

std::string Windows9xName(const OsVersion& v) {
  switch (v.minor) {
    case 0:
      return "Microsoft Windows 95 ";
    case 10:
      return "Microsoft Windows 98 ";
    case 90:
      return "Microsoft Windows Mellennium ";
    default:
      return "Microsoft Windows " + std::to_string(v.major) + "." + std::to_string(v.minor) + " ";
  }
}

// Windows 10, 11 and their server editions share version 10.0; the build tells them apart.
std::string Windows10Name(const OsVersion& v) {
  if (!v.server) return v.build >= 22000 ? "Microsoft Windows 11 " : "Microsoft Windows 10 ";
  if (v.build >= 26100) return "Microsoft Windows 2025 ";
  if (v.build >= 20348) return "Microsoft Windows 2022 ";
  if (v.build >= 17763) return "Microsoft Windows 2019 ";
  return "Microsoft Windows 2016 ";
}

std::string NtName(const OsVersion& v) {
  switch (v.major) {
    case 3:
      return "Microsoft Windows NT 3.51 ";
    case 4:
      return "Microsoft Windows NT 4.0 ";
    case 5:
      switch (v.minor) {
        case 0:
          return "Microsoft Windows 2000 ";
        case 1:
          return "Microsoft Windows XP ";
        // 5.2 is Server 2003, and also XP's 64-bit edition.
        case 2:
          return v.server ? "Microsoft Windows 2003 " : "Microsoft Windows XP ";
        default:
          break;
      }
      break;
    case 6:
      switch (v.minor) {
        case 0:
          return v.server ? "Microsoft Windows 2008 " : "Microsoft Windows Vista ";
        case 1:
          return v.server ? "Microsoft Windows 2008 R2 " : "Microsoft Windows 7 ";
        case 2:
          return v.server ? "Microsoft Windows 2012 " : "Microsoft Windows 8 ";
        case 3:
          return v.server ? "Microsoft Windows 2012 R2 " : "Microsoft Windows 8.1 ";
        default:
          break;
      }
      break;
    case 10:
      if (v.minor == 0) return Windows10Name(v);
      break;
    default:
      break;
  }
  return GenericName(v);
}

}  // namespace

OsName GetOsName(const OsVersion& version) {
  OsName result;
  result.major = version.major;
  if (version.platformId == kPlatformWindows9x) {
    result.text = Windows9xName(version);
    result.supported = false;
    return result;
  }
  // Every name ends with a blank; without a service pack that blank alone separates the
  // name from the build.
  std::string text = NtName(version) + CleanText(version.servicePack);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  result.text = text + " (Build " + std::to_string(version.build) + ")";
  return result;
}

std::string UnsupportedOsMessage(const OsName& name) {
  return "Sorry! Kivo Launcher doesn't support " + name.text;
}

}  // namespace kivo
