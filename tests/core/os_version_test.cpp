#include "core/os_version.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(GetOsName, NamesNtVersionsByNumberEditionAndBuildAndRefusesThe9xFamily) {
  const std::tuple<OsVersion, bool, const char*> cases[] = {
      // 5.2 is Server 2003, and also XP's 64-bit edition; on 10.0 the build tells apart.
      {{kPlatformWindowsNt, 5, 2, 3790, "Service Pack 2", false},
       true,
       "Microsoft Windows XP Service Pack 2 (Build 3790)"},
      {{kPlatformWindowsNt, 5, 2, 3790, "", true}, true, "Microsoft Windows 2003 (Build 3790)"},
      {{kPlatformWindowsNt, 10, 0, 22000, "", false}, true, "Microsoft Windows 11 (Build 22000)"},
      {{kPlatformWindowsNt, 10, 0, 17763, "", true}, true, "Microsoft Windows 2019 (Build 17763)"},
      {{kPlatformWindowsNt, 6, 4, 9841, "", false}, true, "Microsoft Windows NT 6.4 (Build 9841)"},
      // The system hands the service pack over in a fixed buffer.
      {{kPlatformWindowsNt, 6, 1, 7601, std::string("Service Pack 1\0\0", 16), false},
       true,
       "Microsoft Windows 7 Service Pack 1 (Build 7601)"},
      {{kPlatformWindows9x, 4, 90, 1998, " A ", false}, false, "Microsoft Windows Mellennium "},
  };
  for (const auto& [version, supported, text] : cases) {
    const OsName name = GetOsName(version);
    EXPECT_EQ(std::tuple(name.text, name.supported, name.major),
              std::tuple(std::string(text), supported, version.major));
  }
  EXPECT_EQ(UnsupportedOsMessage(GetOsName({kPlatformWindows9x, 4, 10, 1998, "", false})),
            "Sorry! Kivo Launcher doesn't support Microsoft Windows 98 ");
}

}  // namespace
}  // namespace kivo
