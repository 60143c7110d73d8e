#include "dialogs/settings_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dock/ring_geometry.h"

namespace kivo {
namespace {

ScreenInfo Screen(int width, int height, int dpi = 96) {
  return MakeScreenInfo(width, height - 23, 23, dpi, dpi, Rect{0, 0, width, height - 40});
}

Settings Defaults(const ScreenInfo& screen) {
  Settings settings;
  ApplyDefaultSettings(settings, screen);
  return settings;
}

// Every radius the slider offers is one the ring keeps, and one step beyond is not, at
// every dpi: the slider counts pixels at 96 dpi, the ring the monitor's.
TEST(RadiusRange, OffersOnlyRadiiTheRingKeeps) {
  const int screens[][2] = {{1920, 1080}, {1080, 1920}, {800, 600}, {3840, 2160}, {400, 300}};
  for (const int dpi : {96, 120, 144, 192}) {
    for (const auto& size : screens) {
      const ScreenInfo screen = Screen(size[0], size[1], dpi);
      const SliderRange range = RadiusRange(screen);
      Settings settings = Defaults(screen);
      for (const int r : {range.min, (range.min + range.max) / 2, range.max}) {
        settings.RingRadius = r;
        // A bound below 200 is the screen's own default radius, rounded on its way to 96 dpi.
        EXPECT_NEAR(MakeRingMetrics(screen, settings).R, ScaleToDpi(r, dpi), range.enabled ? 0 : 1)
            << size[0] << "x" << size[1] << " at " << dpi;
      }
      settings.RingRadius = range.max + 1;
      EXPECT_TRUE(!range.enabled ||
                  MakeRingMetrics(screen, settings).R != ScaleToDpi(range.max + 1, dpi));
      EXPECT_LE(range.min, range.max);
    }
  }
  EXPECT_FALSE(RadiusRange(Screen(400, 300)).enabled);
}

TEST(IniConfigData, ControlsFollowTheSettingsAndDamagedValuesStayInRange) {
  const ScreenInfo screen = Screen(1920, 1080);
  Settings s = Defaults(screen);
  std::tie(s.IconSize, s.MagnifiedSize, s.RingRadius, s.IconCount, s.MinimizedPosition) =
      std::tuple(40, 100, 270, 12, 6);
  ConfigControls c = IniConfigData(s, screen);
  EXPECT_EQ(std::vector({c.normal, c.magnified, c.radius, c.iconCountIndex, c.minimizedPosition}),
            std::vector({40, 100, 270, 1, 6}));
  std::tie(s.IconSize, s.MagnifiedSize, s.RingRadius, s.IconCount, s.MinimizedPosition) =
      std::tuple(9999, -3, 5000, 99, 200);
  c = IniConfigData(s, screen);
  EXPECT_EQ(std::vector({c.normal, c.magnified, c.radius, c.iconCountIndex, c.minimizedPosition}),
            std::vector({128, 16, RadiusRange(screen).max, 7, 0}));
}

class EditorTest : public ::testing::Test {
 protected:
  ScreenInfo screen = Screen(1920, 1080);
  Settings settings = Defaults(screen);
  SettingsEditor editor{settings, screen};
};

// The normal-size slider drags the magnified size up with it while it passes it, and
// going back down restores the size kept at the press (or at the first key step).
TEST_F(EditorTest, NormalSliderCouplesTheMagnifiedSize) {
  settings.IconSize = 48;
  settings.MagnifiedSize = 64;
  editor.NormalPressed();
  const int steps[][2] = {{50, 64}, {80, 80}, {100, 100}, {40, 64}};
  for (const auto& [value, magnified] : steps) {
    editor.NormalChanging(value);
    EXPECT_EQ(std::pair(settings.IconSize, settings.MagnifiedSize), std::pair(value, magnified));
  }
  EXPECT_EQ(editor.NormalReleased().followUp, RingFollowUp::None);
  EXPECT_FALSE(editor.keptMagnified().has_value());

  // Released above the kept size, the magnified variant is rebuilt too.
  editor.NormalChanging(90);
  EXPECT_EQ(editor.NormalReleased().followUp, RingFollowUp::MagnifiedVariant);
  editor.NormalChanging(95);
  editor.NormalChanging(50);
  EXPECT_EQ(settings.MagnifiedSize, 90);
}

// Every value from a control is clamped into the control's range before it is stored.
TEST_F(EditorTest, ChoicesAreClampedIntoTheirControlsRanges) {
  const int bound = RingRadiusBound(screen);
  const struct {
    std::function<int(int)> store;  // gives back what was stored
    std::vector<std::pair<int, int>> rows;
  } cases[] = {
      {[&](int v) { return editor.IconCountChosen(v), settings.IconCount; },
       {{0, 8}, {3, 20}, {7, 36}, {-1, 8}, {8, 36}}},
      {[&](int v) { return editor.RadiusChanging(v), settings.RingRadius; },
       {{270, 270}, {199, 200}, {bound, bound}, {bound + 50, bound}}},
      {[&](int v) { return editor.MagnifiedChanging(v), settings.MagnifiedSize; },
       {{30, 30}, {15, 16}, {129, 128}}},
      {[&](int v) { return editor.TransparencyChanging(v), int{settings.BackColor.Alpha}; },
       {{128, 128}, {300, 255}, {-4, 0}}},
      {[&](int v) { return editor.MinimizedPositionChosen(v), int{settings.MinimizedPosition}; },
       {{8, 8}, {9, 8}, {-2, 0}}},
  };
  for (const auto& c : cases) {
    for (const auto& [chosen, stored] : c.rows) EXPECT_EQ(c.store(chosen), stored) << chosen;
  }
  EXPECT_EQ(MakeRingMetrics(screen, settings).R, bound);
}

TEST(HotKeyControl, ValuesRoundTripAndOnlyCombinationsThatLeaveTypingAloneAreComplete) {
  const std::pair<HotKey, std::uint16_t> values[] = {
      {{kModAlt, 0x20}, 0x0420}, {{kModControl | kModShift, 0x09}, 0x0309}, {{0, 0}, 0}};
  for (const auto& [key, value] : values) {
    EXPECT_EQ(HotKeyControlValue(key), value) << value;
    EXPECT_EQ(HotKeyFromControl(value), key) << value;
  }
  // The extended-key flag does not change the combination; the Windows key cannot show.
  EXPECT_EQ(HotKeyFromControl(0x0E44), (HotKey{kModControl | kModAlt, 'D'}));
  EXPECT_EQ(HotKeyControlValue({kModWin | kModAlt, 'E'}), 0x0445);
  const std::pair<HotKey, HotKeyEntry> entries[] = {{{0, 0}, HotKeyEntry::Cleared},
                                                    {{kModControl, 'K'}, HotKeyEntry::Complete},
                                                    {{kModShift, 'K'}, HotKeyEntry::Incomplete},
                                                    {{0, 'K'}, HotKeyEntry::Incomplete}};
  for (const auto& [key, entry] : entries) EXPECT_EQ(ClassifyHotKeyEntry(key), entry);
}

}  // namespace
}  // namespace kivo
