#include "core/os_version.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

OsVersion Nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build, bool server = false,
             std::string servicePack = "") {
  return OsVersion{kPlatformWindowsNt, major, minor, build, std::move(servicePack), server};
}

TEST(GetOsName, NamesNtVersionsByNumberEditionAndBuild) {
  const std::pair<OsVersion, const char*> cases[] = {
      {Nt(4, 0, 1381, false, "Service Pack 6"),
       "Microsoft Windows NT 4.0 Service Pack 6 (Build 1381)"},
      // 5.2 is Server 2003, and also XP's 64-bit edition.
      {Nt(5, 2, 3790, false, "Service Pack 2"), "Microsoft Windows XP Service Pack 2 (Build 3790)"},
      {Nt(5, 2, 3790, true, "Service Pack 2"),
       "Microsoft Windows 2003 Service Pack 2 (Build 3790)"},
      {Nt(6, 1, 7600), "Microsoft Windows 7 (Build 7600)"},
      {Nt(6, 1, 7601, true), "Microsoft Windows 2008 R2 (Build 7601)"},
      {Nt(6, 3, 9600), "Microsoft Windows 8.1 (Build 9600)"},
      // Version 10.0: the build tells the editions apart.
      {Nt(10, 0, 21999), "Microsoft Windows 10 (Build 21999)"},
      {Nt(10, 0, 22000), "Microsoft Windows 11 (Build 22000)"},
      {Nt(10, 0, 17762, true), "Microsoft Windows 2016 (Build 17762)"},
      {Nt(10, 0, 17763, true), "Microsoft Windows 2019 (Build 17763)"},
      {Nt(10, 0, 20348, true), "Microsoft Windows 2022 (Build 20348)"},
      {Nt(10, 0, 26100, true), "Microsoft Windows 2025 (Build 26100)"},
      // Versions nobody has named yet say which they are.
      {Nt(5, 3, 4000), "Microsoft Windows NT 5.3 (Build 4000)"},
      {Nt(6, 4, 9841), "Microsoft Windows NT 6.4 (Build 9841)"},
      {Nt(10, 1, 30000, true), "Microsoft Windows NT 10.1 (Build 30000)"},
      // The system hands the service pack over in a fixed buffer.
      {Nt(6, 1, 7601, false, std::string("Service Pack 1\0\0\0", 17)),
       "Microsoft Windows 7 Service Pack 1 (Build 7601)"},
      {Nt(10, 0, 19045, false, "   "), "Microsoft Windows 10 (Build 19045)"},
  };
  for (const auto& [version, expected] : cases) {
    const OsName name = GetOsName(version);
    EXPECT_EQ(name.text, expected);
    EXPECT_TRUE(name.supported) << expected;
    EXPECT_EQ(name.major, version.major) << expected;
  }
}

TEST(GetOsName, RefusesThe9xFamily) {
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0, "Microsoft Windows 95 "},
      {10, "Microsoft Windows 98 "},
      {90, "Microsoft Windows Mellennium "},
      {50, "Microsoft Windows 4.50 "},
  };
  for (const auto& [minor, expected] : cases) {
    const OsName name = GetOsName(OsVersion{kPlatformWindows9x, 4, minor, 1998, " A ", false});
    EXPECT_FALSE(name.supported) << expected;
    EXPECT_EQ(name.text, expected);
    EXPECT_EQ(UnsupportedOsMessage(name),
              std::string("Sorry! Kivo Launcher doesn't support ") + expected);
  }
}

}  // namespace
}  // namespace kivo
