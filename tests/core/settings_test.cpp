#include "core/settings.h"

#include <gtest/gtest.h>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

std::int32_t ReadInt32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

// 1920 x 1080 at 96 dpi: SM_CYFULLSCREEN leaves out the caption.
ScreenInfo FullHd() {
  return MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
}

TEST(Screen, DerivesTwipsAndHalvesWithEvenRounding) {
  const ScreenInfo screen = FullHd();
  EXPECT_EQ(screen.ScreenWidth, 1920);
  EXPECT_EQ(screen.ScreenHeight, 1080);
  EXPECT_EQ(screen.ScreenWidthTwips, 28800);
  EXPECT_EQ(screen.ScreenHeightTwips, 16200);
  EXPECT_EQ(screen.HalfHeight, 540);
  const ScreenInfo odd = MakeScreenInfo(1367, 745, 22, 120, 120, Rect{});
  EXPECT_EQ(odd.TwipsPerPixelX, 12.0);
  EXPECT_EQ(odd.HalfWidth, 684);   // 683.5 goes to the even 684
  EXPECT_EQ(odd.HalfHeight, 384);  // 767 / 2 = 383.5 goes to 384
}

TEST(Defaults, FollowTheScreen) {
  Settings settings;
  ApplyDefaultSettings(settings, FullHd());
  EXPECT_EQ(settings.IconSize, 48);
  EXPECT_EQ(settings.MagnifiedSize, 64);
  EXPECT_EQ(settings.MaxIconSize, 128);
  EXPECT_EQ(settings.RingRadiusMax, 460);
  EXPECT_EQ(settings.RingRadius, 300);
  EXPECT_EQ(settings.RingRadiusMin, 200);
  EXPECT_EQ(settings.IconCount, 24);
  EXPECT_EQ(settings.CentreDiscSize, 190);
  EXPECT_EQ(settings.PopupRows, 18);
  EXPECT_EQ(settings.BackColor, (BgraColor{0, 0, 0, 192}));
  EXPECT_TRUE(settings.AutoRun);
  EXPECT_EQ(settings.StoredLeft, (28800 - 6240) / 2);
  EXPECT_EQ(settings.StoredTop, 16200 - 1035);

  // A small screen: the radius is the bound, and the popup shows fewer rows.
  const ScreenInfo small = MakeScreenInfo(1024, 697, 23, 96, 96, Rect{});
  ApplyDefaultSettings(settings, small);
  EXPECT_EQ(settings.RingRadius, 360 - 80);
  EXPECT_EQ(settings.RingRadius, settings.RingRadiusMax);
  const ScreenInfo tiny = MakeScreenInfo(800, 577, 23, 96, 96, Rect{});
  ApplyDefaultSettings(settings, tiny);
  EXPECT_EQ(settings.RingRadius, 220);
  EXPECT_EQ(settings.PopupRows, 13);  // (600 - 76) / 38 = 13.8 -> 14, minus 1
}

TEST(SettingsFile, HasTheExactLayout) {
  testing::IconvCodec codec{"CP936"};
  Settings settings;
  ApplyDefaultSettings(settings, FullHd());
  settings.IconCount = 36;
  settings.LockDragging = true;
  settings.StartedPage = -1;
  settings.MinimizedPosition = 8;
  settings.ClearType = 1;
  settings.Reserved5 = 0x5A;
  const std::string bytes =
      EncodeSettingsFile(MakeSettingsRecord(settings, "C:\\图标\\User Icon.ico"), codec);
  ASSERT_EQ(bytes.size(), 564u);
  EXPECT_EQ(ReadInt32(bytes, 0), 48);
  EXPECT_EQ(ReadInt32(bytes, 4), 128);
  EXPECT_EQ(ReadInt32(bytes, 8), 64);
  EXPECT_EQ(ReadInt32(bytes, 12), 300);
  EXPECT_EQ(ReadInt32(bytes, 16), 7);
  EXPECT_EQ(static_cast<unsigned char>(bytes[23]), 192);   // alpha after blue, green, red
  EXPECT_EQ(static_cast<unsigned char>(bytes[26]), 0xFF);  // AutoRun True is -1
  EXPECT_EQ(bytes.substr(28, 4), "C:\\\xCD");              // 图 starts with 0xCD in CP936
  EXPECT_EQ(bytes[28 + 254], ' ');
  EXPECT_EQ(ReadInt32(bytes, 542), settings.StoredLeft);
  EXPECT_EQ(ReadInt32(bytes, 546), settings.StoredTop);
  EXPECT_EQ(static_cast<unsigned char>(bytes[554]), 0xFF);  // LockDragging
  EXPECT_EQ(static_cast<unsigned char>(bytes[556]), 0xFF);  // StartedPage -1
  EXPECT_EQ(static_cast<unsigned char>(bytes[557]), 0xFF);
  EXPECT_EQ(bytes[561], 8);
  EXPECT_EQ(bytes[562], 1);
  EXPECT_EQ(bytes[563], 0x5A);

  const auto record = DecodeSettingsFile(bytes, codec);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->UserIconPath, "C:\\图标\\User Icon.ico");
  Settings loaded;
  ApplyDefaultSettings(loaded, FullHd());
  ApplySettingsRecord(loaded, *record, FullHd());
  EXPECT_EQ(loaded, settings);

  EXPECT_FALSE(DecodeSettingsFile(bytes.substr(0, 563), codec));
  EXPECT_FALSE(DecodeSettingsFile(bytes + 'x', codec));
  EXPECT_FALSE(DecodeSettingsFile("", codec));
}

class LoadRules : public ::testing::Test {
 protected:
  ScreenInfo screen = FullHd();
  Settings defaults;
  SettingsRecord record;
  void SetUp() override {
    ApplyDefaultSettings(defaults, screen);
    record = MakeSettingsRecord(defaults, "");
  }
  Settings Load() {
    Settings settings = defaults;
    ApplySettingsRecord(settings, record, screen);
    return settings;
  }
};

TEST_F(LoadRules, IconSizes) {
  record.IconSize = 12;
  record.MagnifiedSize = 100;
  EXPECT_EQ(Load().IconSize, 48);
  EXPECT_EQ(Load().MagnifiedSize, 100);
  record.MagnifiedSize = 40;  // below the icon size
  EXPECT_EQ(Load().MagnifiedSize, 64);

  record.IconSize = 120;
  record.MagnifiedSize = 60;
  EXPECT_EQ(Load().IconSize, 120);
  EXPECT_EQ(Load().MagnifiedSize, 128) << "120 + 16 capped at 128";
  record.IconSize = 129;
  record.MagnifiedSize = 129;
  EXPECT_EQ(Load().IconSize, 48);
  EXPECT_EQ(Load().MagnifiedSize, 64);
  record.IconSize = 16;
  record.MagnifiedSize = 16;
  EXPECT_EQ(Load().IconSize, 16);
  EXPECT_EQ(Load().MagnifiedSize, 16);
  record.MaxIconSize = 20;  // the stored maximum is ignored
  EXPECT_EQ(Load().MaxIconSize, 128);
}

TEST_F(LoadRules, RadiusCountAndColour) {
  record.RingRadius = 199;
  EXPECT_EQ(Load().RingRadius, 300);
  record.RingRadius = 460;
  EXPECT_EQ(Load().RingRadius, 460);
  record.RingRadius = 461;
  EXPECT_EQ(Load().RingRadius, 300);

  record.IconCountIndex = 9;
  EXPECT_EQ(Load().IconCount, 20) << "index 3, not the default 24";
  record.IconCountIndex = -1;
  EXPECT_EQ(Load().IconCount, 20);
  record.IconCountIndex = 0;
  EXPECT_EQ(Load().IconCount, 8);
  record.IconCountIndex = 7;
  EXPECT_EQ(Load().IconCount, 36);

  record.BackColor = BgraColor{10, 20, 30, 40};
  EXPECT_EQ(Load().BackColor, (BgraColor{0, 0, 0, 40})) << "only alpha is a preference";
}

TEST_F(LoadRules, StoredPositionIsClampedOrReset) {
  record.StoredLeft = 0;
  record.StoredTop = 0;
  EXPECT_EQ(Load().StoredLeft, defaults.StoredLeft);
  EXPECT_EQ(Load().StoredTop, defaults.StoredTop);
  record.StoredLeft = -50;
  record.StoredTop = -50;
  EXPECT_EQ(Load().StoredLeft, defaults.StoredLeft) << "both 0 after the clamp: defaults";
  record.StoredLeft = 100000;
  record.StoredTop = 15;
  EXPECT_EQ(Load().StoredLeft, 28800 - 6240);
  EXPECT_EQ(Load().StoredTop, 15);
  record.StoredLeft = -1;
  record.StoredTop = 999999;
  EXPECT_EQ(Load().StoredLeft, 0);
  EXPECT_EQ(Load().StoredTop, 16200 - 1035);
}

TEST_F(LoadRules, SmallFieldsAreCheckedOrCarried) {
  record.Reserved4 = 9;
  EXPECT_EQ(Load().Reserved4, 0);
  record.Reserved4 = 8;
  EXPECT_EQ(Load().Reserved4, 8);
  record.MinimizedPosition = 9;
  EXPECT_EQ(Load().MinimizedPosition, 0);
  record.MinimizedPosition = 8;
  EXPECT_EQ(Load().MinimizedPosition, 8);
  record.StartedPage = 5;
  EXPECT_EQ(Load().StartedPage, 0);
  record.StartedPage = -2;
  EXPECT_EQ(Load().StartedPage, 0);
  record.StartedPage = -1;
  EXPECT_EQ(Load().StartedPage, -1);
  record.Reserved1 = 7;
  record.Reserved2 = "kept";
  record.Reserved3 = -9;
  record.HideDesktopIcons = 1;
  record.AutoHide = 1;
  record.HideHotkeyLetters = 1;
  const Settings loaded = Load();
  EXPECT_EQ(loaded.Reserved1, 7);
  EXPECT_EQ(loaded.Reserved2, "kept");
  EXPECT_EQ(loaded.Reserved3, -9);
  EXPECT_EQ(loaded.HideDesktopIcons, 1);
  EXPECT_EQ(loaded.AutoHide, 1);
  EXPECT_EQ(loaded.HideHotkeyLetters, 1);
}

}  // namespace
}  // namespace kivo
