// The settings dialog's rules, free of any window: what each control shows, the ranges of
// the sliders, how the normal-size slider drags the magnified one along, and what the
// dock must do after each change so that the user sees it at once.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/settings.h"
#include "tray/hotkeys.h"

namespace kivo {

inline constexpr int kIconCountChoices = 8;          // 8, 12, ... 36 icons
inline constexpr int kMinimizedPositionChoices = 9;  // centre, four sides, four corners

// The combo boxes' entries, in the order of the settings' indexes.
const std::array<const char*, kIconCountChoices>& IconCountEntries();
const std::array<const char*, kMinimizedPositionChoices>& MinimizedPositionEntries();

// The value labels beside the controls.
std::string NormalSizeLabel(int iconSize);
std::string MagnifiedSizeLabel(int magnifiedSize);
std::string RadiusLabel(int radius);  // shows the diameter
std::string IconCountLabel(int iconCount);
std::string MinimizedPositionLabel(int index);
std::string TransparencyLabel(int alpha);

struct SliderRange {
  int min = 0;
  int max = 0;
  int smallChange = 1;
  int largeChange = 1;
  bool enabled = true;
  int Clamp(int value) const;
  friend bool operator==(const SliderRange&, const SliderRange&) = default;
};

SliderRange IconSizeRange();  // both size sliders
SliderRange TransparencyRange();
// The largest radius the ring keeps on this screen: half the narrower side of the window
// less the room the labels need. A wider ring would be refused when the ring is computed
// and the slider would offer radii that do nothing.
int RingRadiusBound(const ScreenInfo& screen);
// From 200 to the bound. On a screen too small for a radius of 200 the ring always takes
// its bound, so the slider offers that one value, greyed.
SliderRange RadiusRange(const ScreenInfo& screen);

// What every control of the dialog shows (IniConfigData).
struct ConfigControls {
  int normal = 0;
  int magnified = 0;
  SliderRange radiusRange;
  int radius = 0;
  int iconCountIndex = 0;
  int minimizedPosition = 0;
  int transparency = 0;
  bool clearType = false;
  bool autoRun = false;
  bool autoHide = false;
  bool hideLetters = false;
  std::string normalLabel, magnifiedLabel, radiusLabel, iconCountLabel, minimizedLabel,
      transparencyLabel;
  friend bool operator==(const ConfigControls&, const ConfigControls&) = default;
};
ConfigControls IniConfigData(const Settings& settings, const ScreenInfo& screen);

// How the ring is brought up to date after its metrics changed.
enum class RingFollowUp : int {
  None = -1,
  Redraw = 0,            // redraw the resting ring
  SizeChange = 1,        // draw the ring with icons scaled from their full images
  MagnifiedVariant = 2,  // rebuild the magnified size's image variant, then redraw
};

// What the dock must do after a change. Each change sets only what it needs.
struct SettingsEffect {
  bool recomputeRing = false;  // N, M, R or K changed: the slot table is computed again
  RingFollowUp followUp = RingFollowUp::None;
  bool rebuildNormalVariant = false;  // every icon again at the normal size
  bool clearType = false;             // the popup's text hint follows the switch
  bool placeDisc = false;             // the collapsed disc moves
  bool redraw = false;                // the resting ring again (veil, letters)
  std::optional<bool> active;         // the dock's active flag becomes this
  friend bool operator==(const SettingsEffect&, const SettingsEffect&) = default;
};

// The dialog's edits on the working settings. Every value from a control is clamped to
// the control's range first, so a stray message cannot put the ring off the screen.
class SettingsEditor {
 public:
  SettingsEditor(Settings& settings, const ScreenInfo& screen)
      : settings_(settings), screen_(screen) {}

  ConfigControls Controls() const { return IniConfigData(settings_, screen_); }
  std::optional<int> keptMagnified() const { return keptMagnified_; }

  SettingsEffect NormalPressed();
  SettingsEffect NormalChanging(int value);
  SettingsEffect NormalReleased();
  SettingsEffect MagnifiedChanging(int value);
  SettingsEffect MagnifiedReleased();
  SettingsEffect RadiusChanging(int value);
  SettingsEffect IconCountChosen(int index);
  SettingsEffect MinimizedPositionChosen(int index);
  SettingsEffect TransparencyPressed();
  SettingsEffect TransparencyChanging(int value);
  SettingsEffect TransparencyReleased();
  // `registered`: whether the start-up entry holds the program afterwards.
  void AutoRunClicked(bool registered);
  SettingsEffect AutoHideClicked(bool on);
  SettingsEffect HideLettersClicked(bool on);
  SettingsEffect ClearTypeClicked(bool on);

 private:
  Settings& settings_;
  const ScreenInfo& screen_;
  // The magnified size when the pointer went down on the normal-size slider. Keyboard
  // steps come without a press: they keep the size the ring has.
  std::optional<int> keptMagnified_;
};

// The hot-key controls: a value holds the virtual key in its low byte and the modifier
// flags in its high byte (Shift 1, Ctrl 2, Alt 4, extended key 8). The control has no
// flag for the Windows key, so a combination with it shows without it.
std::uint16_t HotKeyControlValue(const HotKey& hotKey);
HotKey HotKeyFromControl(std::uint16_t value);

// What a hot-key control holds after a change: nothing (the hot key is switched off), a
// combination the program registers, or one still being typed or not allowed (a bare
// key or Shift alone would take typing away from every other program).
enum class HotKeyEntry : int { Cleared, Complete, Incomplete };
HotKeyEntry ClassifyHotKeyEntry(const HotKey& hotKey);

}  // namespace kivo
