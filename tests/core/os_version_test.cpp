#include "core/os_version.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(GetOsName, NamesNtVersionsByNumberEditionAndBuildAndRefusesThe9xFamily) {
  // 5.2 is Server 2003, and also XP's 64-bit edition; on 10.0 the build tells apart.
  const std::pair<OsVersion, const char*> cases[] = {
      {{kPlatformWindowsNt, 5, 2, 3790, "", true}, "Microsoft Windows 2003 (Build 3790)"},
      {{kPlatformWindowsNt, 10, 0, 22000, "", false}, "Microsoft Windows 11 (Build 22000)"},
      {{kPlatformWindowsNt, 6, 4, 9841, "", false}, "Microsoft Windows NT 6.4 (Build 9841)"},
      // The system hands the service pack over in a fixed buffer.
      {{kPlatformWindowsNt, 6, 1, 7601, std::string("Service Pack 1\0\0", 16), false},
       "Microsoft Windows 7 Service Pack 1 (Build 7601)"}};
  for (const auto& [version, text] : cases) {
    EXPECT_EQ(std::pair(GetOsName(version).text, GetOsName(version).supported),
              std::pair(std::string(text), true));
  }
  EXPECT_EQ(UnsupportedOsMessage(GetOsName({kPlatformWindows9x, 4, 10, 1998, "", false})),
            "Sorry! Kivo Launcher doesn't support Microsoft Windows 98 ");
}

}  // namespace
}  // namespace kivo
