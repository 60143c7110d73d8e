#include "core/settings.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

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

TEST(Defaults, FollowTheScreenWithEvenRounding) {
  const struct {
    int width, height, dpi;
    int widthTwips, halfWidth, halfHeight, radius, radiusMax, popupRows;
  } cases[] = {
      {1920, 1057, 96, 28800, 960, 540, 300, 460, 18},
      {1367, 745, 120, 16404, 684, 384, 227, 227, 17},  // halves of x.5 go to the even side;
                                                        // the radius at 96 dpi: 384 / 1.25 - 80
      {1024, 697, 96, 15360, 512, 360, 280, 280, 15},   // the radius is the bound
      {800, 577, 96, 12000, 400, 300, 220, 220, 12},  // (600 - 76) / 38 = 13 (whole rows), minus 1
  };
  for (const auto& c : cases) {
    const ScreenInfo screen = MakeScreenInfo(c.width, c.height, 23, c.dpi, c.dpi, Rect{});
    EXPECT_EQ(screen.ScreenHeight, c.height + 23);
    EXPECT_EQ(screen.ScreenWidthTwips, c.widthTwips) << c.width;
    EXPECT_EQ(screen.HalfWidth, c.halfWidth) << c.width;
    EXPECT_EQ(screen.HalfHeight, c.halfHeight) << c.width;
    Settings settings;
    settings.IconSize = 20;
    ApplyDefaultSettings(settings, screen);
    EXPECT_EQ(settings.IconSize, 48) << "every value starts over";
    EXPECT_EQ(settings.RingRadius, c.radius) << c.width;
    EXPECT_EQ(settings.RingRadiusMax, c.radiusMax) << c.width;
    EXPECT_EQ(settings.PopupRows, c.popupRows) << c.width;
    EXPECT_EQ(settings.StoredLeft, (c.widthTwips - 6240) / 2) << c.width;
    EXPECT_EQ(settings.StoredTop, screen.ScreenHeightTwips - 1035) << c.width;
  }
}

TEST(SettingsFile, HasTheExactLayoutAndCarriesEveryField) {
  testing::IconvCodec codec{"CP936"};
  Settings settings;
  ApplyDefaultSettings(settings, FullHd());
  settings.IconCount = 36;
  settings.BackColor.Alpha = 40;
  settings.LockDragging = true;
  settings.StartedPage = -1;
  settings.MinimizedPosition = 8;
  settings.ClearType = 1;
  settings.HideDesktopIcons = 1;
  settings.AutoHide = 2;
  settings.HideHotkeyLetters = 3;
  settings.Reserved1 = 7;
  settings.Reserved2 = "kept";
  settings.Reserved3 = -9;
  settings.Reserved4 = 8;
  settings.Reserved5 = 0x5A;
  const std::string bytes =
      EncodeSettingsFile(MakeSettingsRecord(settings, "C:\\图标\\User Icon.ico"), codec);
  ASSERT_EQ(bytes.size(), 564u);
  EXPECT_EQ(ReadInt32(bytes, 0), 48);
  EXPECT_EQ(ReadInt32(bytes, 4), 128);
  EXPECT_EQ(ReadInt32(bytes, 8), 64);
  EXPECT_EQ(ReadInt32(bytes, 12), 300);
  EXPECT_EQ(ReadInt32(bytes, 16), 7);
  EXPECT_EQ(static_cast<unsigned char>(bytes[23]), 40);    // alpha after blue, green, red
  EXPECT_EQ(static_cast<unsigned char>(bytes[26]), 0xFF);  // AutoRun True is -1
  EXPECT_EQ(bytes.substr(28, 4), "C:\\\xCD");              // 图 starts with 0xCD in CP936
  EXPECT_EQ(bytes[28 + 254], ' ');
  EXPECT_EQ(ReadInt32(bytes, 542), settings.StoredLeft);
  EXPECT_EQ(ReadInt32(bytes, 546), settings.StoredTop);
  // LockDragging, StartedPage -1, then one byte each from HideDesktopIcons to Reserved5.
  EXPECT_EQ(bytes.substr(554), "\xFF\xFF\xFF\xFF\x01\x02\x03\x08\x01\x5A");

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
  // Each stored value of one field, alone in an otherwise default record, and the value
  // the program works with afterwards.
  template <typename Stored, typename Working>
  void ExpectLoads(Stored SettingsRecord::*field, Working Settings::*result,
                   std::initializer_list<std::pair<Stored, Working>> cases) {
    for (const auto& [stored, working] : cases) {
      const SettingsRecord original = record;
      record.*field = stored;
      EXPECT_EQ(+(Load().*result), +working) << "stored " << +stored;
      record = original;
    }
  }
};

TEST_F(LoadRules, FieldsOutOfRangeFallBack) {
  ExpectLoads(&SettingsRecord::RingRadius, &Settings::RingRadius,
              {{199, 300}, {200, 200}, {460, 460}, {461, 300}});
  ExpectLoads(&SettingsRecord::IconCountIndex, &Settings::IconCount,
              {{-1, 20}, {0, 8}, {7, 36}, {9, 20}});  // index 3, not the default 24
  ExpectLoads(&SettingsRecord::Reserved4, &Settings::Reserved4, {{-1, 0}, {8, 8}, {9, 0}});
  ExpectLoads(&SettingsRecord::MinimizedPosition, &Settings::MinimizedPosition,
              {{std::uint8_t{8}, std::uint8_t{8}}, {std::uint8_t{9}, std::uint8_t{0}}});
  ExpectLoads(&SettingsRecord::StartedPage, &Settings::StartedPage,
              {{std::int16_t{-2}, std::int16_t{0}},
               {std::int16_t{-1}, std::int16_t{-1}},
               {std::int16_t{4}, std::int16_t{4}},
               {std::int16_t{5}, std::int16_t{0}}});
  ExpectLoads(&SettingsRecord::MaxIconSize, &Settings::MaxIconSize, {{20, 128}});  // ignored
  record.BackColor = BgraColor{10, 20, 30, 40};
  EXPECT_EQ(Load().BackColor, (BgraColor{0, 0, 0, 40})) << "only alpha is a preference";
}

TEST_F(LoadRules, IconSizes) {
  // (icon size, magnified size) as stored, then as loaded.
  const std::pair<std::pair<int, int>, std::pair<int, int>> cases[] = {
      {{12, 100}, {48, 100}},   // too small an icon
      {{12, 40}, {48, 64}},     // magnified below the icon size
      {{120, 60}, {120, 128}},  // 120 + 16 capped at 128
      {{129, 129}, {48, 64}},   // above the maximum
      {{16, 16}, {16, 16}},
  };
  for (const auto& [stored, loaded] : cases) {
    std::tie(record.IconSize, record.MagnifiedSize) = stored;
    const Settings settings = Load();
    EXPECT_EQ(std::pair(settings.IconSize, settings.MagnifiedSize), loaded) << stored.first;
  }
}

TEST_F(LoadRules, StoredPositionIsClampedOrReset) {
  const int left = defaults.StoredLeft, top = defaults.StoredTop;
  // (left, top) as stored, then as loaded: both 0 after the clamp means the defaults.
  const std::pair<std::pair<int, int>, std::pair<int, int>> cases[] = {
      {{0, 0}, {left, top}},
      {{-50, -50}, {left, top}},
      {{100000, 15}, {28800 - 6240, 15}},
      {{-1, 999999}, {0, 16200 - 1035}},
  };
  for (const auto& [stored, loaded] : cases) {
    std::tie(record.StoredLeft, record.StoredTop) = stored;
    const Settings settings = Load();
    EXPECT_EQ(std::pair(settings.StoredLeft, settings.StoredTop), loaded) << stored.first;
  }
}

}  // namespace
}  // namespace kivo
