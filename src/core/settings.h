// User preferences: the working values the dock uses and the settings file "KivoCfg.cfg".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/ansi_codec.h"
#include "core/fixed_text.h"

namespace kivo {

struct Rect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Screen quantities read at start before any default is set.
struct ScreenInfo {
  double TwipsPerPixelX = 15.0;
  double TwipsPerPixelY = 15.0;
  int ScreenWidth = 0;   // pixels
  int ScreenHeight = 0;  // pixels, caption height included
  int ScreenWidthTwips = 0;
  int ScreenHeightTwips = 0;
  int HalfWidth = 0;
  int HalfHeight = 0;
  Rect WorkArea;
  // The monitor's pixels per inch: the ring and its pictures are drawn this much larger
  // than at 96, while the settings keep their sizes in pixels at 96.
  int Dpi = 96;
  friend bool operator==(const ScreenInfo&, const ScreenInfo&) = default;
};

// A length of `logical` pixels at 96 dpi in pixels at `dpi`, and back; halves go to the
// even neighbour. A dpi of 0 or less counts as 96.
int ScaleToDpi(int logical, int dpi);
int UnscaleFromDpi(int pixels, int dpi);

// From the raw system metrics: SM_CXFULLSCREEN, SM_CYFULLSCREEN, SM_CYCAPTION, the
// logical pixels per inch of each axis and the work area.
ScreenInfo MakeScreenInfo(int fullScreenWidth, int fullScreenHeight, int captionHeight, int dpiX,
                          int dpiY, const Rect& workArea);

struct BgraColor {
  std::uint8_t Blue = 0, Green = 0, Red = 0, Alpha = 0;
  friend bool operator==(const BgraColor&, const BgraColor&) = default;
};

// Rows a group popup shows per page on a window `height` pixels high at `dpi`: whole rows
// of 38 pixels (at 96 dpi, scaled with the list) beside the edges and page buttons, at
// least 1 and at most 18.
int PopupRowsFor(int height, int dpi);

struct Settings {
  // Working values used by the dock.
  int IconSize = 48;
  int MaxIconSize = 128;
  int MagnifiedSize = 64;
  int RingRadius = 300;
  int RingRadiusMax = 300;
  int RingRadiusMin = 200;
  int IconCount = 24;  // 8 + 4k, k = 0..7
  int CentreDiscSize = 190;
  int PopupRows = 18;
  BgraColor BackColor{0, 0, 0, 192};  // only the alpha byte is a preference
  bool AutoRun = true;
  int StoredLeft = 0;  // twips
  int StoredTop = 0;   // twips

  // Preferences kept only in the record.
  bool LockDragging = false;
  std::int16_t StartedPage = 0;  // 0..4, or -1 once the quick start was turned off
  std::uint8_t HideDesktopIcons = 0;
  std::uint8_t AutoHide = 0;
  std::uint8_t HideHotkeyLetters = 0;
  std::uint8_t MinimizedPosition = 0;  // 0..8
  std::uint8_t ClearType = 0;

  // Carried through load and save without a meaning of their own.
  std::int16_t Reserved1 = 0;
  FixedText<255> Reserved2;
  std::int32_t Reserved3 = 0;
  std::int32_t Reserved4 = 0;
  std::uint8_t Reserved5 = 0;

  friend bool operator==(const Settings&, const Settings&) = default;
};

inline constexpr int kStoredBoxWidthTwips = 6240;
inline constexpr int kStoredBoxHeightTwips = 1035;

// Every working value and record field back to its default for this screen.
void ApplyDefaultSettings(Settings& settings, const ScreenInfo& screen);

// The settings file's record, field for field as stored.
struct SettingsRecord {
  std::int32_t IconSize = 0;
  std::int32_t MaxIconSize = 0;
  std::int32_t MagnifiedSize = 0;
  std::int32_t RingRadius = 0;
  std::int32_t IconCountIndex = 0;
  BgraColor BackColor;
  std::int16_t Reserved1 = 0;
  bool AutoRun = false;
  FixedText<255> UserIconPath;
  FixedText<255> Reserved2;
  std::int32_t Reserved3 = 0;
  std::int32_t StoredLeft = 0;
  std::int32_t StoredTop = 0;
  std::int32_t Reserved4 = 0;
  bool LockDragging = false;
  std::int16_t StartedPage = 0;
  std::uint8_t HideDesktopIcons = 0;
  std::uint8_t AutoHide = 0;
  std::uint8_t HideHotkeyLetters = 0;
  std::uint8_t MinimizedPosition = 0;
  std::uint8_t ClearType = 0;
  std::uint8_t Reserved5 = 0;
};

inline constexpr std::size_t kSettingsFileSize = 564;

// The record as saved: the working values, and item 0's icon file as the user picture.
SettingsRecord MakeSettingsRecord(const Settings& settings, const std::string& userIconPath);
std::string EncodeSettingsFile(const SettingsRecord& record, const AnsiCodec& codec);
// Nothing unless the file has exactly the record's size.
std::optional<SettingsRecord> DecodeSettingsFile(const std::string& bytes, const AnsiCodec& codec);

// Takes a loaded record into the working values with every range check; values that fail
// keep (or fall back to) their defaults. `settings` must hold the defaults already.
// Leaves the user picture and the start-with-Windows check to the caller.
void ApplySettingsRecord(Settings& settings, const SettingsRecord& record,
                         const ScreenInfo& screen);

}  // namespace kivo
