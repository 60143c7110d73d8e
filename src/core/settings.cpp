#include "core/settings.h"

#include <algorithm>

#include "core/byte_io.h"
#include "core/text.h"

namespace kivo {
namespace {

constexpr std::int16_t kVbTrue = -1;
constexpr int kMaxPopupRows = 18;
constexpr int kMaxDefaultRadius = 300;
constexpr int kMinimizedPositions = 9;

int DefaultStoredLeft(const ScreenInfo& screen) {
  return HalveRoundEven(screen.ScreenWidthTwips - kStoredBoxWidthTwips);
}
int DefaultStoredTop(const ScreenInfo& screen) {
  return screen.ScreenHeightTwips - kStoredBoxHeightTwips;
}

}  // namespace

ScreenInfo MakeScreenInfo(int fullScreenWidth, int fullScreenHeight, int captionHeight, int dpiX,
                          int dpiY, const Rect& workArea) {
  ScreenInfo screen;
  screen.TwipsPerPixelX = dpiX > 0 ? 1440.0 / dpiX : 15.0;
  screen.TwipsPerPixelY = dpiY > 0 ? 1440.0 / dpiY : 15.0;
  screen.ScreenWidth = fullScreenWidth;
  screen.ScreenHeight = fullScreenHeight + captionHeight;
  screen.ScreenWidthTwips = RoundHalfEven(screen.ScreenWidth * screen.TwipsPerPixelX);
  screen.ScreenHeightTwips = RoundHalfEven(screen.ScreenHeight * screen.TwipsPerPixelY);
  screen.HalfWidth = HalveRoundEven(screen.ScreenWidth);
  screen.HalfHeight = HalveRoundEven(screen.ScreenHeight);
  screen.WorkArea = workArea;
  screen.Dpi = dpiX > 0 ? dpiX : 96;
  return screen;
}

int ScaleToDpi(int logical, int dpi) {
  return dpi > 0 ? RoundHalfEven(logical * (dpi / 96.0)) : logical;
}

int UnscaleFromDpi(int pixels, int dpi) {
  return dpi > 0 ? RoundHalfEven(pixels * (96.0 / dpi)) : pixels;
}

int PopupRowsFor(int height, int dpi) {
  // Whole rows only: a row that does not fit would put the page buttons off the screen.
  return std::clamp((height - ScaleToDpi(76, dpi)) / ScaleToDpi(38, dpi) - 1, 1, kMaxPopupRows);
}

void ApplyDefaultSettings(Settings& settings, const ScreenInfo& screen) {
  settings = Settings{};
  settings.RingRadiusMax = UnscaleFromDpi(screen.HalfHeight, screen.Dpi) - 80;
  settings.RingRadius = std::min(settings.RingRadiusMax, kMaxDefaultRadius);
  settings.PopupRows = PopupRowsFor(screen.ScreenHeight, screen.Dpi);
  settings.StoredLeft = DefaultStoredLeft(screen);
  settings.StoredTop = DefaultStoredTop(screen);
}

SettingsRecord MakeSettingsRecord(const Settings& settings, const std::string& userIconPath) {
  SettingsRecord record;
  record.IconSize = settings.IconSize;
  record.MaxIconSize = settings.MaxIconSize;
  record.MagnifiedSize = settings.MagnifiedSize;
  record.RingRadius = settings.RingRadius;
  record.IconCountIndex = RoundHalfEven((settings.IconCount - 8) / 4.0);
  record.BackColor = settings.BackColor;
  record.Reserved1 = settings.Reserved1;
  record.AutoRun = settings.AutoRun;
  record.UserIconPath = userIconPath;
  record.Reserved2 = settings.Reserved2;
  record.Reserved3 = settings.Reserved3;
  record.StoredLeft = settings.StoredLeft;
  record.StoredTop = settings.StoredTop;
  record.Reserved4 = settings.Reserved4;
  record.LockDragging = settings.LockDragging;
  record.StartedPage = settings.StartedPage;
  record.HideDesktopIcons = settings.HideDesktopIcons;
  record.AutoHide = settings.AutoHide;
  record.HideHotkeyLetters = settings.HideHotkeyLetters;
  record.MinimizedPosition = settings.MinimizedPosition;
  record.ClearType = settings.ClearType;
  record.Reserved5 = settings.Reserved5;
  return record;
}

std::string EncodeSettingsFile(const SettingsRecord& record, const AnsiCodec& codec) {
  std::string bytes;
  bytes.reserve(kSettingsFileSize);
  ByteWriter out(bytes);
  out.Put<std::int32_t>(record.IconSize);
  out.Put<std::int32_t>(record.MaxIconSize);
  out.Put<std::int32_t>(record.MagnifiedSize);
  out.Put<std::int32_t>(record.RingRadius);
  out.Put<std::int32_t>(record.IconCountIndex);
  out.Put<std::uint8_t>(record.BackColor.Blue);
  out.Put<std::uint8_t>(record.BackColor.Green);
  out.Put<std::uint8_t>(record.BackColor.Red);
  out.Put<std::uint8_t>(record.BackColor.Alpha);
  out.Put<std::int16_t>(record.Reserved1);
  out.Put<std::int16_t>(record.AutoRun ? kVbTrue : 0);
  out.PutBytes(EncodeFixedText(codec, record.UserIconPath.str(), 255));
  out.PutBytes(EncodeFixedText(codec, record.Reserved2.str(), 255));
  out.Put<std::int32_t>(record.Reserved3);
  out.Put<std::int32_t>(record.StoredLeft);
  out.Put<std::int32_t>(record.StoredTop);
  out.Put<std::int32_t>(record.Reserved4);
  out.Put<std::int16_t>(record.LockDragging ? kVbTrue : 0);
  out.Put<std::int16_t>(record.StartedPage);
  out.Put<std::uint8_t>(record.HideDesktopIcons);
  out.Put<std::uint8_t>(record.AutoHide);
  out.Put<std::uint8_t>(record.HideHotkeyLetters);
  out.Put<std::uint8_t>(record.MinimizedPosition);
  out.Put<std::uint8_t>(record.ClearType);
  out.Put<std::uint8_t>(record.Reserved5);
  return bytes;
}

std::optional<SettingsRecord> DecodeSettingsFile(const std::string& bytes, const AnsiCodec& codec) {
  if (bytes.size() != kSettingsFileSize) return std::nullopt;
  ByteReader in(bytes);
  SettingsRecord record;
  record.IconSize = in.Get<std::int32_t>();
  record.MaxIconSize = in.Get<std::int32_t>();
  record.MagnifiedSize = in.Get<std::int32_t>();
  record.RingRadius = in.Get<std::int32_t>();
  record.IconCountIndex = in.Get<std::int32_t>();
  record.BackColor.Blue = in.Get<std::uint8_t>();
  record.BackColor.Green = in.Get<std::uint8_t>();
  record.BackColor.Red = in.Get<std::uint8_t>();
  record.BackColor.Alpha = in.Get<std::uint8_t>();
  record.Reserved1 = in.Get<std::int16_t>();
  record.AutoRun = in.Get<std::int16_t>() != 0;
  record.UserIconPath = DecodeFixedText(codec, in.GetBytes(255));
  record.Reserved2 = DecodeFixedText(codec, in.GetBytes(255));
  record.Reserved3 = in.Get<std::int32_t>();
  record.StoredLeft = in.Get<std::int32_t>();
  record.StoredTop = in.Get<std::int32_t>();
  record.Reserved4 = in.Get<std::int32_t>();
  record.LockDragging = in.Get<std::int16_t>() != 0;
  record.StartedPage = in.Get<std::int16_t>();
  record.HideDesktopIcons = in.Get<std::uint8_t>();
  record.AutoHide = in.Get<std::uint8_t>();
  record.HideHotkeyLetters = in.Get<std::uint8_t>();
  record.MinimizedPosition = in.Get<std::uint8_t>();
  record.ClearType = in.Get<std::uint8_t>();
  record.Reserved5 = in.Get<std::uint8_t>();
  if (in.overrun() || in.position() != bytes.size()) return std::nullopt;
  return record;
}

void ApplySettingsRecord(Settings& settings, const SettingsRecord& record,
                         const ScreenInfo& screen) {
  if (record.IconSize >= 16 && record.IconSize <= settings.MaxIconSize) {
    settings.IconSize = record.IconSize;
  }
  const int n = settings.IconSize;
  if (record.MagnifiedSize >= n && record.MagnifiedSize <= settings.MaxIconSize) {
    settings.MagnifiedSize = record.MagnifiedSize;
  } else {
    settings.MagnifiedSize = std::min(n + 16, settings.MaxIconSize);
  }
  if (record.RingRadius >= settings.RingRadiusMin && record.RingRadius <= settings.RingRadiusMax) {
    settings.RingRadius = record.RingRadius;
  }
  const int countIndex =
      record.IconCountIndex >= 0 && record.IconCountIndex <= 7 ? record.IconCountIndex : 3;
  settings.IconCount = countIndex * 4 + 8;
  settings.BackColor.Alpha = record.BackColor.Alpha;
  settings.Reserved1 = record.Reserved1;
  settings.AutoRun = record.AutoRun;
  settings.Reserved2 = record.Reserved2;
  settings.Reserved3 = record.Reserved3;

  const int maxLeft = screen.ScreenWidthTwips - kStoredBoxWidthTwips;
  const int maxTop = screen.ScreenHeightTwips - kStoredBoxHeightTwips;
  settings.StoredLeft = std::min(std::max(record.StoredLeft, 0), maxLeft);
  settings.StoredTop = std::min(std::max(record.StoredTop, 0), maxTop);
  if (settings.StoredLeft == 0 && settings.StoredTop == 0) {
    settings.StoredLeft = DefaultStoredLeft(screen);
    settings.StoredTop = DefaultStoredTop(screen);
  }
  settings.Reserved4 = record.Reserved4 >= 0 && record.Reserved4 <= 8 ? record.Reserved4 : 0;

  settings.LockDragging = record.LockDragging;
  // The quick-start page and the disc position index tables; a value beyond them would
  // send the program off the end, so such a file starts those two from their defaults.
  settings.StartedPage =
      record.StartedPage >= -1 && record.StartedPage <= 4 ? record.StartedPage : std::int16_t{0};
  settings.MinimizedPosition =
      record.MinimizedPosition < kMinimizedPositions ? record.MinimizedPosition : std::uint8_t{0};
  settings.HideDesktopIcons = record.HideDesktopIcons;
  settings.AutoHide = record.AutoHide;
  settings.HideHotkeyLetters = record.HideHotkeyLetters;
  settings.ClearType = record.ClearType;
  settings.Reserved5 = record.Reserved5;
}

}  // namespace kivo
