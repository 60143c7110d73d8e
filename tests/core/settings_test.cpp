#include "core/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

using namespace std::string_literals;

std::int32_t ReadInt32(const std::string& bytes, std::size_t offset) {
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);  // little-endian, as the file
  return value;
}

// 1920 x 1080 at 96 dpi: SM_CYFULLSCREEN leaves out the caption.
ScreenInfo FullHd() {
  return MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
}

TEST(Defaults, FollowTheScreen) {
  // 120 dpi: radius 384 / 1.25 - 80, rows of 48; 800 x 600: (600 - 76) / 38 whole rows - 1.
  const std::array<int, 6> cases[] = {
      {1920, 1057, 96, 300, 460, 18}, {1367, 745, 120, 227, 227, 13}, {800, 577, 96, 220, 220, 12}};
  for (const auto& [width, height, dpi, radius, radiusMax, popupRows] : cases) {
    const ScreenInfo screen = MakeScreenInfo(width, height, 23, dpi, dpi, Rect{});
    Settings settings;
    ApplyDefaultSettings(settings, screen);
    EXPECT_EQ(std::tuple(settings.RingRadius, settings.RingRadiusMax, settings.PopupRows,
                         settings.StoredLeft, settings.StoredTop),
              std::tuple(radius, radiusMax, popupRows, (screen.ScreenWidthTwips - 6240) / 2,
                         screen.ScreenHeightTwips - 1035))
        << width;
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
  ASSERT_EQ(bytes.size(), kSettingsFileSize);
  EXPECT_EQ(std::tuple(ReadInt32(bytes, 0), ReadInt32(bytes, 12), ReadInt32(bytes, 16),
                       ReadInt32(bytes, 542)),
            std::tuple(48, 300, 7, settings.StoredLeft));
  EXPECT_EQ(bytes.substr(23, 9),
            "\x28\x07\0\xFF\xFF"
            "C:\\\xCD"s)
      << "alpha, Reserved1, AutoRun -1, a CP936 text";
  // LockDragging, StartedPage -1, then one byte each from HideDesktopIcons to Reserved5.
  EXPECT_EQ(bytes.substr(554), "\xFF\xFF\xFF\xFF\x01\x02\x03\x08\x01\x5A");

  const auto record = DecodeSettingsFile(bytes, codec);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->UserIconPath, "C:\\图标\\User Icon.ico");
  Settings loaded;
  ApplyDefaultSettings(loaded, FullHd());
  ApplySettingsRecord(loaded, *record, FullHd());
  EXPECT_EQ(loaded, settings);
  for (const std::string& wrongSize : {bytes.substr(0, 563), bytes + 'x'}) {
    EXPECT_FALSE(DecodeSettingsFile(wrongSize, codec)) << wrongSize.size();
  }
}

// A default record with one change, as the program works with it afterwards.
Settings Load(const std::function<void(SettingsRecord&)>& change) {
  Settings settings;
  ApplyDefaultSettings(settings, FullHd());
  SettingsRecord record = MakeSettingsRecord(settings, "");
  record.BackColor = BgraColor{10, 20, 30, 40};
  change(record);
  ApplySettingsRecord(settings, record, FullHd());
  EXPECT_EQ(settings.BackColor, (BgraColor{0, 0, 0, 40})) << "only alpha is a preference";
  return settings;
}

TEST(LoadRules, FieldsOutOfRangeFallBack) {
  using R = SettingsRecord&;
  EXPECT_EQ(Load([](R r) { r.RingRadius = 199; }).RingRadius, 300);
  EXPECT_EQ(Load([](R r) { r.RingRadius = 461; }).RingRadius, 300);
  EXPECT_EQ(Load([](R r) { r.IconCountIndex = -1; }).IconCount, 20);  // index 3, not 24
  EXPECT_EQ(Load([](R r) { r.IconCountIndex = 8; }).IconCount, 20);
  EXPECT_EQ(Load([](R r) { r.StartedPage = -2; }).StartedPage, 0);
  EXPECT_EQ(Load([](R r) { r.StartedPage = 5; }).StartedPage, 0);
  EXPECT_EQ(Load([](R r) { r.MinimizedPosition = 9; }).MinimizedPosition, 0);
  // A magnified size below the icon size becomes the icon size + 16, at most 128.
  const std::tuple<int, int, int, int> sizes[] = {
      {12, 100, 48, 100}, {12, 40, 48, 64}, {120, 60, 120, 128}, {129, 129, 48, 64}};
  for (const auto& [icon, magnified, iconAfter, magnifiedAfter] : sizes) {
    const Settings s =
        Load([&](R r) { std::tie(r.IconSize, r.MagnifiedSize) = std::tie(icon, magnified); });
    EXPECT_EQ(std::pair(s.IconSize, s.MagnifiedSize), std::pair(iconAfter, magnifiedAfter)) << icon;
  }
  // The position is clamped to the screen; 0, 0 after the clamp means the defaults.
  const Settings defaults = Load([](R) {});
  const Settings low = Load([](R r) { r.StoredLeft = r.StoredTop = -50; });
  EXPECT_EQ(std::pair(low.StoredLeft, low.StoredTop),
            std::pair(defaults.StoredLeft, defaults.StoredTop));
  const Settings high = Load([](R r) { r.StoredLeft = r.StoredTop = 999999; });
  EXPECT_EQ(std::pair(high.StoredLeft, high.StoredTop), std::pair(28800 - 6240, 16200 - 1035));
}

}  // namespace
}  // namespace kivo
