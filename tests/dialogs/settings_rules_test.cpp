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

TEST(SettingsLabels, FormatsAsTheDialogShowsThem) {
  struct Row {
    std::string text, expected;
  };
  const Row rows[] = {
      {NormalSizeLabel(48), "正常图标大小：  48  Pixels"},
      {MagnifiedSizeLabel(64), "放大图标大小：  64  Pixels"},
      {RadiusLabel(270), "圆环直径：  540  Pixels"},
      {IconCountLabel(36), "显示图标数量：  36  Icons"},
      {MinimizedPositionLabel(0), "程序最小化位置： 屏幕中央"},
      {MinimizedPositionLabel(8), "程序最小化位置： 右下角"},
      {MinimizedPositionLabel(9), "程序最小化位置： 屏幕中央"},
      {MinimizedPositionLabel(-1), "程序最小化位置： 屏幕中央"},
      {TransparencyLabel(192), "背景透明度： 192"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.text, row.expected);
}

TEST(SettingsLabels, ComboEntriesNameTheirCount) {
  const auto& entries = IconCountEntries();
  for (int i = 0; i < kIconCountChoices; ++i) {
    EXPECT_EQ(std::string(entries[static_cast<std::size_t>(i)]),
              std::to_string(8 + 4 * i) + " 个图标");
  }
  EXPECT_EQ(std::string(MinimizedPositionEntries()[3]), "左方");
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
}

TEST(RadiusRange, PortraitScreenIsBoundByItsWidth) {
  EXPECT_EQ(RingRadiusBound(Screen(1920, 1080)), 1080 / 2 - 80);
  EXPECT_EQ(RingRadiusBound(Screen(1080, 1920)), 1080 / 2 - 80);
  const SliderRange small = RadiusRange(Screen(400, 300));
  EXPECT_FALSE(small.enabled);
  EXPECT_EQ(small.min, small.max);
}

TEST(SliderRange, ClampsIntoRange) {
  const SliderRange sizes = IconSizeRange();
  EXPECT_EQ(sizes, (SliderRange{16, 128, 1, 8, true}));
  EXPECT_EQ(TransparencyRange(), (SliderRange{0, 255, 1, 8, true}));
  const int rows[][2] = {{-5, 16}, {15, 16}, {16, 16}, {70, 70}, {128, 128}, {129, 128}};
  for (const auto& row : rows) EXPECT_EQ(sizes.Clamp(row[0]), row[1]) << row[0];
}

TEST(IniConfigData, ControlsFollowTheSettings) {
  const ScreenInfo screen = Screen(1920, 1080);
  Settings settings = Defaults(screen);
  settings.IconSize = 40;
  settings.MagnifiedSize = 100;
  settings.RingRadius = 270;
  settings.IconCount = 12;
  settings.MinimizedPosition = 6;
  settings.BackColor.Alpha = 77;
  settings.ClearType = 1;
  settings.AutoRun = false;
  settings.AutoHide = 1;
  settings.HideHotkeyLetters = 1;
  const ConfigControls c = IniConfigData(settings, screen);
  EXPECT_EQ(c.normal, 40);
  EXPECT_EQ(c.magnified, 100);
  EXPECT_EQ(c.radius, 270);
  EXPECT_EQ(c.radiusRange.max, RingRadiusBound(screen));
  EXPECT_EQ(c.iconCountIndex, 1);
  EXPECT_EQ(c.minimizedPosition, 6);
  EXPECT_EQ(c.transparency, 77);
  EXPECT_TRUE(c.clearType);
  EXPECT_FALSE(c.autoRun);
  EXPECT_TRUE(c.autoHide);
  EXPECT_TRUE(c.hideLetters);
  EXPECT_EQ(c.radiusLabel, "圆环直径：  540  Pixels");
  EXPECT_EQ(c.iconCountLabel, "显示图标数量：  12  Icons");
  EXPECT_EQ(c.minimizedLabel, "程序最小化位置： 右上角");
  EXPECT_EQ(c.transparencyLabel, "背景透明度： 77");
}

TEST(IniConfigData, DamagedValuesStayInTheControlsRanges) {
  const ScreenInfo screen = Screen(1920, 1080);
  Settings settings = Defaults(screen);
  settings.IconSize = 9999;
  settings.MagnifiedSize = -3;
  settings.RingRadius = 5000;
  settings.IconCount = 99;
  settings.MinimizedPosition = 200;
  const ConfigControls c = IniConfigData(settings, screen);
  EXPECT_EQ(c.normal, 128);
  EXPECT_EQ(c.magnified, 16);
  EXPECT_EQ(c.radius, c.radiusRange.max);
  EXPECT_EQ(c.iconCountIndex, 7);
  EXPECT_EQ(c.minimizedPosition, 0);
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
  struct Step {
    int value, icon, magnified;
  };
  const Step steps[] = {{50, 50, 64},    {64, 64, 64}, {80, 80, 80},
                        {100, 100, 100}, {70, 70, 70}, {40, 40, 64}};
  for (const Step& step : steps) {
    const SettingsEffect effect = editor.NormalChanging(step.value);
    EXPECT_EQ(settings.IconSize, step.icon) << step.value;
    EXPECT_EQ(settings.MagnifiedSize, step.magnified) << step.value;
    EXPECT_TRUE(effect.recomputeRing);
    EXPECT_EQ(effect.followUp, RingFollowUp::SizeChange);
  }
  const SettingsEffect released = editor.NormalReleased();
  EXPECT_TRUE(released.rebuildNormalVariant);
  EXPECT_EQ(released.followUp, RingFollowUp::None);
  EXPECT_TRUE(released.redraw);
  EXPECT_FALSE(editor.keptMagnified().has_value());
}

TEST_F(EditorTest, ReleaseAboveTheKeptSizeRebuildsTheMagnifiedVariant) {
  settings.MagnifiedSize = 64;
  editor.NormalPressed();
  editor.NormalChanging(90);
  const SettingsEffect released = editor.NormalReleased();
  EXPECT_TRUE(released.rebuildNormalVariant);
  EXPECT_TRUE(released.recomputeRing);
  EXPECT_EQ(released.followUp, RingFollowUp::MagnifiedVariant);
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
  const SettingsEffect released = editor.MagnifiedReleased();
  EXPECT_TRUE(released.recomputeRing);
  EXPECT_EQ(released.followUp, RingFollowUp::MagnifiedVariant);
}

TEST_F(EditorTest, IconCountChoices) {
  const int rows[][2] = {{0, 8}, {1, 12}, {3, 20}, {7, 36}, {-1, 8}, {8, 36}, {100, 36}};
  for (const auto& row : rows) {
    const SettingsEffect effect = editor.IconCountChosen(row[0]);
    EXPECT_EQ(settings.IconCount, row[1]) << row[0];
    EXPECT_TRUE(effect.recomputeRing);
    EXPECT_EQ(effect.followUp, RingFollowUp::Redraw);
    EXPECT_EQ(editor.Controls().iconCountIndex, (row[1] - 8) / 4);
  }
}

TEST_F(EditorTest, RadiusStaysWithinTheRingsBound) {
  const int bound = RingRadiusBound(screen);
  const int rows[][2] = {{270, 270}, {200, 200}, {199, 200}, {bound, bound}, {bound + 50, bound}};
  for (const auto& row : rows) {
    const SettingsEffect effect = editor.RadiusChanging(row[0]);
    EXPECT_EQ(settings.RingRadius, row[1]) << row[0];
    EXPECT_EQ(effect.followUp, RingFollowUp::Redraw);
    EXPECT_EQ(MakeRingMetrics(screen, settings).R, row[1]);
  }
}

TEST_F(EditorTest, TransparencyShowsTheVeilWhileDragged) {
  const SettingsEffect pressed = editor.TransparencyPressed();
  EXPECT_EQ(pressed.active, true);
  const int rows[][2] = {{0, 0}, {128, 128}, {255, 255}, {300, 255}, {-4, 0}};
  for (const auto& row : rows) {
    const SettingsEffect effect = editor.TransparencyChanging(row[0]);
    EXPECT_EQ(settings.BackColor.Alpha, row[1]);
    EXPECT_TRUE(effect.redraw);
    EXPECT_FALSE(effect.recomputeRing);  // only the veil changes
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

TEST(HotKeyControl, ValuesRoundTrip) {
  struct Row {
    HotKey key;
    std::uint16_t value;
  };
  const Row rows[] = {
      {{kModAlt, 0x20}, 0x0420},
      {{kModControl | kModAlt, 'D'}, 0x0644},
      {{kModControl | kModShift, 0x09}, 0x0309},
      {{kModAlt | kModShift | kModControl, 0x70}, 0x0770},
      {{0, 0}, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(HotKeyControlValue(row.key), row.value) << FormatHotKey(row.key);
    EXPECT_EQ(HotKeyFromControl(row.value), row.key) << row.value;
  }
  // The extended-key flag does not change the combination.
  EXPECT_EQ(HotKeyFromControl(0x0E44), (HotKey{kModControl | kModAlt, 'D'}));
  // The control cannot show the Windows key: the rest of the combination shows.
  EXPECT_EQ(HotKeyControlValue({kModWin | kModAlt, 'E'}), 0x0445);
}

TEST(HotKeyControl, OnlyCombinationsThatLeaveTypingAloneAreComplete) {
  struct Row {
    HotKey key;
    HotKeyEntry entry;
  };
  const Row rows[] = {
      {{0, 0}, HotKeyEntry::Cleared},
      {{kModAlt, 0x20}, HotKeyEntry::Complete},
      {{kModControl, 'K'}, HotKeyEntry::Complete},
      {{kModShift, 'K'}, HotKeyEntry::Incomplete},
      {{0, 'K'}, HotKeyEntry::Incomplete},
      {{kModShift, 0x70}, HotKeyEntry::Incomplete},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ClassifyHotKeyEntry(row.key), row.entry) << FormatHotKey(row.key);
  }
}

}  // namespace
}  // namespace kivo
