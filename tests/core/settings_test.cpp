#include "core/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <utility>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

std::int32_t ReadInt32(const std::string& bytes, std::size_t offset) {
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);  // little-endian, as the file
  return value;
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
      {1367, 745, 120, 16404, 684, 384, 227, 227, 13},  // halves of x.5 go to the even side;
                                                        // the radius at 96 dpi: 384 / 1.25 - 80;
                                                        // rows of 48: (768 - 95) / 48 - 1
      {1024, 697, 96, 15360, 512, 360, 280, 280, 15},   // the radius is the bound
      {800, 577, 96, 12000, 400, 300, 220, 220, 12},  // (600 - 76) / 38 = 13 (whole rows), minus 1
  };
  for (const auto& c : cases) {
    const ScreenInfo screen = MakeScreenInfo(c.width, c.height, 23, c.dpi, c.dpi, Rect{});
    EXPECT_EQ(screen.ScreenHeight, c.height + 23);
    EXPECT_EQ(std::tuple(screen.ScreenWidthTwips, screen.HalfWidth, screen.HalfHeight),
              std::tuple(c.widthTwips, c.halfWidth, c.halfHeight));
    Settings settings;
    settings.IconSize = 20;
    ApplyDefaultSettings(settings, screen);
    EXPECT_EQ(settings.IconSize, 48) << "every value starts over";
    EXPECT_EQ(std::tuple(settings.RingRadius, settings.RingRadiusMax, settings.PopupRows,
                         settings.StoredLeft, settings.StoredTop),
              std::tuple(c.radius, c.radiusMax, c.popupRows, (c.widthTwips - 6240) / 2,
                         screen.ScreenHeightTwips - 1035))
        << c.width;
  }
}

TEST(SettingsFile, HasTheExactLayoutAndCarriesEveryField) {
  testing::IconvCodec codec{"CP936"};
  Settings settings;
  ApplyDefaultSettings(settings, FullHd());
  std::tie(settings.IconCount, settings.BackColor.Alpha, settings.LockDragging,
           settings.StartedPage, settings.MinimizedPosition, settings.ClearType,
           settings.HideDesktopIcons, settings.AutoHide, settings.HideHotkeyLetters,
           settings.Reserved1, settings.Reserved2, settings.Reserved3, settings.Reserved4,
           settings.Reserved5) =
      std::tuple(36, 40, true, -1, 8, 1, 1, 2, 3, 7, "kept", -9, 8, 0x5A);
  const std::string bytes =
      EncodeSettingsFile(MakeSettingsRecord(settings, "C:\\图标\\User Icon.ico"), codec);
  ASSERT_EQ(bytes.size(), 564u);
  for (const auto& [offset, number] : {std::pair{0, 48}, {4, 128}, {8, 64}, {12, 300}, {16, 7}}) {
    EXPECT_EQ(ReadInt32(bytes, static_cast<std::size_t>(offset)), number) << offset;
  }
  EXPECT_EQ(static_cast<unsigned char>(bytes[23]), 40);    // alpha after blue, green, red
  EXPECT_EQ(static_cast<unsigned char>(bytes[26]), 0xFF);  // AutoRun True is -1
  EXPECT_EQ(bytes.substr(28, 4), "C:\\\xCD");              // 图 starts with 0xCD in CP936
  EXPECT_EQ(bytes[28 + 254], ' ');
  EXPECT_EQ(std::pair(ReadInt32(bytes, 542), ReadInt32(bytes, 546)),
            std::pair(settings.StoredLeft, settings.StoredTop));
  // LockDragging, StartedPage -1, then one byte each from HideDesktopIcons to Reserved5.
  EXPECT_EQ(bytes.substr(554), "\xFF\xFF\xFF\xFF\x01\x02\x03\x08\x01\x5A");

  const auto record = DecodeSettingsFile(bytes, codec);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->UserIconPath, "C:\\图标\\User Icon.ico");
  Settings loaded;
  ApplyDefaultSettings(loaded, FullHd());
  ApplySettingsRecord(loaded, *record, FullHd());
  EXPECT_EQ(loaded, settings);

  for (const std::string& wrongSize : {bytes.substr(0, 563), bytes + 'x', std::string()}) {
    EXPECT_FALSE(DecodeSettingsFile(wrongSize, codec)) << wrongSize.size();
  }
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
              {{-1, 20}, {0, 8}, {7, 36}, {8, 20}, {9, 20}});  // index 3, not the default 24
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
