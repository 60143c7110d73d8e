#include "dialogs/settings_rules.h"

#include <gtest/gtest.h>

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

SettingsEffect Effect(RingFollowUp followUp, bool recomputeRing = true, bool redraw = false) {
  SettingsEffect effect;
  effect.recomputeRing = recomputeRing;
  effect.followUp = followUp;
  effect.redraw = redraw;
  return effect;
}

TEST(SettingsLabels, FormatsAsTheDialogShowsThem) {
  const std::pair<std::string, const char*> rows[] = {
      {NormalSizeLabel(48), "正常图标大小：  48  Pixels"},
      {MagnifiedSizeLabel(64), "放大图标大小：  64  Pixels"},
      {RadiusLabel(270), "圆环直径：  540  Pixels"},
      {IconCountLabel(36), "显示图标数量：  36  Icons"},
      {MinimizedPositionLabel(8), "程序最小化位置： 右下角"},
      {MinimizedPositionLabel(9), "程序最小化位置： 屏幕中央"},
      {MinimizedPositionLabel(-1), "程序最小化位置： 屏幕中央"},
      {TransparencyLabel(192), "背景透明度： 192"},
      {MinimizedPositionEntries()[3], "左方"}};
  for (const auto& [text, expected] : rows) EXPECT_EQ(text, expected);
}

// Every radius the slider offers is one the ring keeps, and one step beyond is not, at
// every dpi: the slider counts pixels at 96 dpi, the ring the monitor's.
TEST(RadiusRange, OffersOnlyRadiiTheRingKeeps) {
  const int screens[][2] = {{1920, 1080}, {1080, 1920}, {800, 600}, {600, 800},
                            {3840, 2160}, {640, 480},   {400, 300}, {1024, 1024}};
  for (const int dpi : {96, 120, 144, 192}) {
    for (const auto& size : screens) {
      const ScreenInfo screen = Screen(size[0], size[1], dpi);
      const SliderRange range = RadiusRange(screen);
      Settings settings = Defaults(screen);
      const std::string where =
          std::to_string(size[0]) + "x" + std::to_string(size[1]) + " at " + std::to_string(dpi);
      for (const int r : {range.min, (range.min + range.max) / 2, range.max}) {
        settings.RingRadius = r;
        // A bound below 200 is the screen's own default radius, rounded on its way to 96 dpi.
        EXPECT_NEAR(MakeRingMetrics(screen, settings).R, ScaleToDpi(r, dpi), range.enabled ? 0 : 1)
            << where;
      }
      if (range.enabled) {
        settings.RingRadius = range.max + 1;
        EXPECT_NE(MakeRingMetrics(screen, settings).R, ScaleToDpi(range.max + 1, dpi)) << where;
        EXPECT_EQ(range.min, 200);
      }
      EXPECT_LE(range.min, range.max);
      EXPECT_EQ(range.largeChange, 5);
    }
  }
  EXPECT_EQ(RingRadiusBound(Screen(1080, 1920)), 1080 / 2 - 80) << "a portrait screen's width";
  EXPECT_FALSE(RadiusRange(Screen(400, 300)).enabled);
}

TEST(SliderRange, ClampsIntoRange) {
  const SliderRange sizes = IconSizeRange();
  const int rows[][2] = {{-5, 16}, {15, 16}, {16, 16}, {70, 70}, {128, 128}, {129, 128}};
  for (const auto& row : rows) EXPECT_EQ(sizes.Clamp(row[0]), row[1]) << row[0];
}

TEST(IniConfigData, ControlsFollowTheSettingsAndDamagedValuesStayInRange) {
  const ScreenInfo screen = Screen(1920, 1080);
  Settings settings = Defaults(screen);
  std::tie(settings.IconSize, settings.MagnifiedSize, settings.RingRadius, settings.IconCount,
           settings.MinimizedPosition, settings.BackColor.Alpha, settings.ClearType,
           settings.AutoRun, settings.AutoHide, settings.HideHotkeyLetters) =
      std::tuple(40, 100, 270, 12, 6, 77, 1, false, 1, 1);
  const SliderRange radii = RadiusRange(screen);
  EXPECT_EQ(
      IniConfigData(settings, screen),
      (ConfigControls{40, 100, radii, 270, 1, 6, 77, true, false, true, true, NormalSizeLabel(40),
                      MagnifiedSizeLabel(100), "圆环直径：  540  Pixels",
                      "显示图标数量：  12  Icons", "程序最小化位置： 右上角", "背景透明度： 77"}));
  std::tie(settings.IconSize, settings.MagnifiedSize, settings.RingRadius, settings.IconCount,
           settings.MinimizedPosition) = std::tuple(9999, -3, 5000, 99, 200);
  const ConfigControls c = IniConfigData(settings, screen);
  EXPECT_EQ(std::vector({c.normal, c.magnified, c.radius, c.iconCountIndex, c.minimizedPosition}),
            std::vector({128, 16, radii.max, 7, 0}));
}

class EditorTest : public ::testing::Test {
 protected:
  ScreenInfo screen = Screen(1920, 1080);
  Settings settings = Defaults(screen);
  SettingsEditor editor{settings, screen};
};

// The normal-size slider drags the magnified size up with it while it passes it, and
// going back down restores the size kept at the press.
TEST_F(EditorTest, NormalSliderCouplesTheMagnifiedSize) {
  settings.IconSize = 48;
  settings.MagnifiedSize = 64;
  editor.NormalPressed();
  const int steps[][2] = {{50, 64}, {64, 64}, {80, 80}, {100, 100}, {70, 70}, {40, 64}};
  for (const auto& [value, magnified] : steps) {
    EXPECT_EQ(editor.NormalChanging(value), Effect(RingFollowUp::SizeChange));
    EXPECT_EQ(settings.IconSize, value);
    EXPECT_EQ(settings.MagnifiedSize, magnified) << value;
  }
  const SettingsEffect released = editor.NormalReleased();
  EXPECT_TRUE(released.rebuildNormalVariant && released.redraw);
  EXPECT_EQ(released.followUp, RingFollowUp::None);
  EXPECT_FALSE(editor.keptMagnified().has_value());

  // Released above the kept size, the magnified variant is rebuilt too.
  editor.NormalPressed();
  editor.NormalChanging(90);
  EXPECT_EQ(editor.NormalReleased().followUp, RingFollowUp::MagnifiedVariant);
  EXPECT_EQ(settings.MagnifiedSize, 90);
}

// Keys move the slider without a press: the magnified size of the first step is kept
// until the slider reports the end of the move.
TEST_F(EditorTest, KeyboardStepsKeepTheSizeOfTheirFirstStep) {
  settings.MagnifiedSize = 60;
  settings.IconSize = 59;
  editor.NormalChanging(61);
  editor.NormalChanging(58);
  EXPECT_EQ(settings.MagnifiedSize, 60);
  editor.NormalReleased();
  editor.NormalChanging(62);
  EXPECT_EQ(settings.MagnifiedSize, 62);
}

TEST_F(EditorTest, MagnifiedSliderAloneMayGoBelowTheNormalSize) {
  settings.IconSize = 80;
  EXPECT_EQ(editor.MagnifiedChanging(30), SettingsEffect{});
  EXPECT_EQ(settings.MagnifiedSize, 30);
  EXPECT_EQ(settings.IconSize, 80);
  EXPECT_EQ(editor.MagnifiedReleased(), Effect(RingFollowUp::MagnifiedVariant));
}

TEST_F(EditorTest, ChoicesAreClampedIntoTheirControlsRanges) {
  const int bound = RingRadiusBound(screen);
  const struct {
    SettingsEffect (SettingsEditor::*change)(int);
    int Settings::*field;
    std::vector<std::pair<int, int>> rows;  // chosen, stored
    SettingsEffect effect;
  } cases[] = {
      {&SettingsEditor::IconCountChosen,
       &Settings::IconCount,
       {{0, 8}, {1, 12}, {3, 20}, {7, 36}, {-1, 8}, {8, 36}, {100, 36}},
       Effect(RingFollowUp::Redraw)},
      {&SettingsEditor::RadiusChanging,
       &Settings::RingRadius,
       {{270, 270}, {200, 200}, {199, 200}, {bound, bound}, {bound + 50, bound}},
       Effect(RingFollowUp::Redraw)},
  };
  for (const auto& c : cases) {
    for (const auto& [chosen, stored] : c.rows) {
      EXPECT_EQ((editor.*c.change)(chosen), c.effect) << chosen;
      EXPECT_EQ(settings.*c.field, stored) << chosen;
    }
  }
  EXPECT_EQ(editor.Controls().iconCountIndex, 7);
  EXPECT_EQ(MakeRingMetrics(screen, settings).R, bound);
}

TEST_F(EditorTest, TransparencyShowsTheVeilWhileDragged) {
  EXPECT_EQ(editor.TransparencyPressed().active, true);
  const int rows[][2] = {{0, 0}, {128, 128}, {255, 255}, {300, 255}, {-4, 0}};
  for (const auto& row : rows) {
    EXPECT_EQ(editor.TransparencyChanging(row[0]), Effect(RingFollowUp::None, false, true));
    EXPECT_EQ(settings.BackColor.Alpha, row[1]);
  }
  EXPECT_EQ(settings.BackColor.Red, 0);
  EXPECT_EQ(editor.TransparencyReleased().active, false);
}

TEST_F(EditorTest, SwitchesAndPositions) {
  EXPECT_TRUE(editor.ClearTypeClicked(true).clearType);
  EXPECT_EQ(settings.ClearType, 1);
  editor.ClearTypeClicked(false);
  EXPECT_EQ(settings.ClearType, 0);
  editor.AutoHideClicked(true);
  EXPECT_EQ(settings.AutoHide, 1);
  EXPECT_TRUE(editor.HideLettersClicked(true).redraw);
  EXPECT_EQ(settings.HideHotkeyLetters, 1);
  editor.AutoRunClicked(false);
  EXPECT_FALSE(settings.AutoRun);
  const int rows[][2] = {{0, 0}, {4, 4}, {8, 8}, {9, 8}, {-2, 0}};
  for (const auto& row : rows) {
    EXPECT_TRUE(editor.MinimizedPositionChosen(row[0]).placeDisc);
    EXPECT_EQ(settings.MinimizedPosition, row[1]);
  }
}

TEST(HotKeyControl, ValuesRoundTripAndOnlyCombinationsThatLeaveTypingAloneAreComplete) {
  const std::pair<HotKey, std::uint16_t> values[] = {
      {{kModAlt, 0x20}, 0x0420},
      {{kModControl | kModAlt, 'D'}, 0x0644},
      {{kModControl | kModShift, 0x09}, 0x0309},
      {{kModAlt | kModShift | kModControl, 0x70}, 0x0770},
      {{0, 0}, 0},
  };
  for (const auto& [key, value] : values) {
    EXPECT_EQ(HotKeyControlValue(key), value) << FormatHotKey(key);
    EXPECT_EQ(HotKeyFromControl(value), key) << value;
  }
  // The extended-key flag does not change the combination.
  EXPECT_EQ(HotKeyFromControl(0x0E44), (HotKey{kModControl | kModAlt, 'D'}));
  // The control cannot show the Windows key: the rest of the combination shows.
  EXPECT_EQ(HotKeyControlValue({kModWin | kModAlt, 'E'}), 0x0445);

  const std::pair<HotKey, HotKeyEntry> entries[] = {
      {{0, 0}, HotKeyEntry::Cleared},
      {{kModAlt, 0x20}, HotKeyEntry::Complete},
      {{kModControl, 'K'}, HotKeyEntry::Complete},
      {{kModShift, 'K'}, HotKeyEntry::Incomplete},
      {{0, 'K'}, HotKeyEntry::Incomplete},
      {{kModShift, 0x70}, HotKeyEntry::Incomplete},
  };
  for (const auto& [key, entry] : entries) EXPECT_EQ(ClassifyHotKeyEntry(key), entry);
}

}  // namespace
}  // namespace kivo
