#include "core/os_version.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

OsVersion Nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build, bool server = false,
             std::string servicePack = "") {
  return OsVersion{kPlatformWindowsNt, major, minor, build, std::move(servicePack), server};
}

TEST(GetOsName, NamesEveryKnownNtVersion) {
  const std::pair<OsVersion, const char*> cases[] = {
      {Nt(3, 51, 1057), "Microsoft Windows NT 3.51 (Build 1057)"},
      {Nt(4, 0, 1381, false, "Service Pack 6"),
       "Microsoft Windows NT 4.0 Service Pack 6 (Build 1381)"},
      {Nt(5, 0, 2195, false, "Service Pack 4"),
       "Microsoft Windows 2000 Service Pack 4 (Build 2195)"},
      {Nt(5, 1, 2600, false, "Service Pack 3"), "Microsoft Windows XP Service Pack 3 (Build 2600)"},
      {Nt(5, 2, 3790, false, "Service Pack 2"), "Microsoft Windows XP Service Pack 2 (Build 3790)"},
      {Nt(5, 2, 3790, true, "Service Pack 2"),
       "Microsoft Windows 2003 Service Pack 2 (Build 3790)"},
      {Nt(6, 0, 6002, false, "Service Pack 2"),
       "Microsoft Windows Vista Service Pack 2 (Build 6002)"},
      {Nt(6, 0, 6003, true, "Service Pack 2"),
       "Microsoft Windows 2008 Service Pack 2 (Build 6003)"},
      {Nt(6, 1, 7601, false, "Service Pack 1"), "Microsoft Windows 7 Service Pack 1 (Build 7601)"},
      {Nt(6, 1, 7600), "Microsoft Windows 7 (Build 7600)"},
      {Nt(6, 1, 7601, true, "Service Pack 1"),
       "Microsoft Windows 2008 R2 Service Pack 1 (Build 7601)"},
      {Nt(6, 2, 9200), "Microsoft Windows 8 (Build 9200)"},
      {Nt(6, 2, 9200, true), "Microsoft Windows 2012 (Build 9200)"},
      {Nt(6, 3, 9600), "Microsoft Windows 8.1 (Build 9600)"},
      {Nt(6, 3, 9600, true), "Microsoft Windows 2012 R2 (Build 9600)"},
      {Nt(10, 0, 10240), "Microsoft Windows 10 (Build 10240)"},
      {Nt(10, 0, 21999), "Microsoft Windows 10 (Build 21999)"},
      {Nt(10, 0, 22000), "Microsoft Windows 11 (Build 22000)"},
      {Nt(10, 0, 26100), "Microsoft Windows 11 (Build 26100)"},
      {Nt(10, 0, 14393, true), "Microsoft Windows 2016 (Build 14393)"},
      {Nt(10, 0, 17762, true), "Microsoft Windows 2016 (Build 17762)"},
      {Nt(10, 0, 17763, true), "Microsoft Windows 2019 (Build 17763)"},
      {Nt(10, 0, 20348, true), "Microsoft Windows 2022 (Build 20348)"},
      {Nt(10, 0, 26100, true), "Microsoft Windows 2025 (Build 26100)"},
  };
  for (const auto& [version, expected] : cases) {
    const OsName name = GetOsName(version);
    EXPECT_EQ(name.text, expected);
    EXPECT_TRUE(name.supported) << expected;
    EXPECT_EQ(name.major, version.major) << expected;
  }
}

TEST(GetOsName, CleansTheServicePackText) {
  // The system hands the text over in a fixed buffer.
  EXPECT_EQ(GetOsName(Nt(6, 1, 7601, false, std::string("Service Pack 1\0\0\0", 17))).text,
            "Microsoft Windows 7 Service Pack 1 (Build 7601)");
  EXPECT_EQ(GetOsName(Nt(10, 0, 19045, false, "   ")).text, "Microsoft Windows 10 (Build 19045)");
}

TEST(GetOsName, GivesUnknownVersionsANameWithTheirNumbers) {
  const std::pair<OsVersion, const char*> cases[] = {
      {Nt(5, 3, 4000), "Microsoft Windows NT 5.3 (Build 4000)"},
      {Nt(6, 4, 9841), "Microsoft Windows NT 6.4 (Build 9841)"},
      {Nt(10, 1, 30000), "Microsoft Windows NT 10.1 (Build 30000)"},
      {Nt(12, 0, 40000, true), "Microsoft Windows NT 12.0 (Build 40000)"},
      {Nt(0, 0, 0), "Microsoft Windows NT 0.0 (Build 0)"},
  };
  for (const auto& [version, expected] : cases) {
    const OsName name = GetOsName(version);
    EXPECT_EQ(name.text, expected);
    EXPECT_TRUE(name.supported) << expected;
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
    EXPECT_EQ(name.major, 4u);
    EXPECT_EQ(UnsupportedOsMessage(name),
              std::string("Sorry! Kivo Launcher doesn't support ") + expected);
  }
  EXPECT_STREQ(kUnsupportedOsTitle, "Warning !");
}

}  // namespace
}  // namespace kivo
