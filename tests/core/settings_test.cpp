#include "core/settings.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(Defaults, FollowTheScreenWithEvenRounding) {
  const struct {
    int width, height, dpi;
    int widthTwips, halfWidth, halfHeight, radius, radiusMax, popupRows;
  } cases[] = {
      {1920, 1057, 96, 28800, 960, 540, 300, 460, 18},
      // Halves of x.5 go to the even side; the radius at 96 dpi: 384 / 1.25 - 80; rows of 48.
      {1367, 745, 120, 16404, 684, 384, 227, 227, 13},
      {800, 577, 96, 12000, 400, 300, 220, 220, 12},  // (600 - 76) / 38 whole rows, minus 1
  };
  for (const auto& c : cases) {
    const ScreenInfo screen = MakeScreenInfo(c.width, c.height, 23, c.dpi, c.dpi, Rect{});
    EXPECT_EQ(std::tuple(screen.ScreenWidthTwips, screen.HalfWidth, screen.HalfHeight),
              std::tuple(c.widthTwips, c.halfWidth, c.halfHeight));
    Settings settings;
    settings.IconSize = 20;
    ApplyDefaultSettings(settings, screen);
    EXPECT_EQ(std::tuple(settings.IconSize, settings.RingRadius, settings.RingRadiusMax,
                         settings.PopupRows, settings.StoredLeft, settings.StoredTop),
              std::tuple(48, c.radius, c.radiusMax, c.popupRows, (c.widthTwips - 6240) / 2,
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

// Each stored value, alone in an otherwise default record, and what the program works with.
TEST(LoadRules, FieldsOutOfRangeFallBack) {
  const ScreenInfo screen = FullHd();
  Settings defaults;
  ApplyDefaultSettings(defaults, screen);
  const int left = defaults.StoredLeft, top = defaults.StoredTop;
  const struct {
    void (*store)(SettingsRecord&, int);
    int (*loaded)(const Settings&);
    std::vector<std::pair<int, int>> rows;
  } fields[] = {
      {[](SettingsRecord& r, int v) { r.RingRadius = v; },
       [](const Settings& s) { return s.RingRadius; },
       {{199, 300}, {200, 200}, {461, 300}}},
      {[](SettingsRecord& r, int v) { r.IconCountIndex = v; },
       [](const Settings& s) { return s.IconCount; },
       {{-1, 20}, {7, 36}, {8, 20}}},
      {[](SettingsRecord& r, int v) { r.Reserved4 = v; },
       [](const Settings& s) { return s.Reserved4; },
       {{-1, 0}, {8, 8}, {9, 0}}},
      {[](SettingsRecord& r, int v) { r.MinimizedPosition = static_cast<std::uint8_t>(v); },
       [](const Settings& s) { return int{s.MinimizedPosition}; },
       {{8, 8}, {9, 0}}},
      {[](SettingsRecord& r, int v) { r.StartedPage = static_cast<std::int16_t>(v); },
       [](const Settings& s) { return int{s.StartedPage}; },
       {{-2, 0}, {-1, -1}, {4, 4}, {5, 0}}},
      {[](SettingsRecord& r, int v) { r.MaxIconSize = v; },
       [](const Settings& s) { return s.MaxIconSize; },
       {{20, 128}}},  // ignored
      // Icon size and magnified size (below the icon size: icon + 16, at most 128).
      {[](SettingsRecord& r, int v) { r.IconSize = v, r.MagnifiedSize = v / 2; },
       [](const Settings& s) { return s.IconSize * 1000 + s.MagnifiedSize; },
       {{12, 48064}, {120, 120128}, {129, 48064}, {16, 16032}}},
      // The position is clamped to the screen; 0, 0 after the clamp means the defaults.
      {[](SettingsRecord& r, int v) { r.StoredLeft = v, r.StoredTop = v; },
       [](const Settings& s) { return s.StoredLeft * 65536 + s.StoredTop; },
       {{-50, left * 65536 + top}, {999999, (28800 - 6240) * 65536 + 16200 - 1035}}},
  };
  for (const auto& field : fields) {
    for (const auto& [stored, working] : field.rows) {
      SettingsRecord record = MakeSettingsRecord(defaults, "");
      record.BackColor = BgraColor{10, 20, 30, 40};
      field.store(record, stored);
      Settings settings = defaults;
      ApplySettingsRecord(settings, record, screen);
      EXPECT_EQ(field.loaded(settings), working) << "stored " << stored;
      EXPECT_EQ(settings.BackColor, (BgraColor{0, 0, 0, 40})) << "only alpha is a preference";
    }
  }
}

}  // namespace
}  // namespace kivo
