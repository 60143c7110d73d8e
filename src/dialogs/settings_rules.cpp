#include "dialogs/settings_rules.h"

#include <algorithm>

#include "core/text.h"

namespace kivo {
namespace {

constexpr int kMinIconSize = 16;
constexpr int kMaxIconSize = 128;
constexpr int kMinRadius = 200;
constexpr int kRadiusMargin = 80;  // the ring's own room for labels beyond its slots
constexpr int kFirstIconCount = 8;
constexpr int kIconCountStep = 4;

}  // namespace

const std::array<const char*, kIconCountChoices>& IconCountEntries() {
  static const std::array<const char*, kIconCountChoices> entries = {
      "8 个图标",  "12 个图标", "16 个图标", "20 个图标",
      "24 个图标", "28 个图标", "32 个图标", "36 个图标"};
  return entries;
}

const std::array<const char*, kMinimizedPositionChoices>& MinimizedPositionEntries() {
  static const std::array<const char*, kMinimizedPositionChoices> entries = {
      "屏幕中央", "顶部", "底部", "左方", "右方", "左上角", "右上角", "左下角", "右下角"};
  return entries;
}

std::string NormalSizeLabel(int iconSize) {
  return "正常图标大小：  " + std::to_string(iconSize) + "  Pixels";
}

std::string MagnifiedSizeLabel(int magnifiedSize) {
  return "放大图标大小：  " + std::to_string(magnifiedSize) + "  Pixels";
}

std::string RadiusLabel(int radius) {
  return "圆环直径：  " + std::to_string(2 * radius) + "  Pixels";
}

std::string IconCountLabel(int iconCount) {
  return "显示图标数量：  " + std::to_string(iconCount) + "  Icons";
}

std::string MinimizedPositionLabel(int index) {
  const auto& entries = MinimizedPositionEntries();
  const int shown = index >= 0 && index < kMinimizedPositionChoices ? index : 0;
  return std::string("程序最小化位置： ") + entries[static_cast<std::size_t>(shown)];
}

std::string TransparencyLabel(int alpha) {
  return "背景透明度： " + std::to_string(alpha);
}

int SliderRange::Clamp(int value) const {
  return std::clamp(value, min, std::max(min, max));
}

SliderRange IconSizeRange() {
  return {kMinIconSize, kMaxIconSize, 1, 8, true};
}

SliderRange TransparencyRange() {
  return {0, 255, 1, 8, true};
}

int RingRadiusBound(const ScreenInfo& screen) {
  // The ring is centred in the window; its radius is bounded by the nearer edge. The
  // radius is kept at 96 dpi, so the edge is too.
  const int halfWidth = UnscaleFromDpi(HalveRoundEven(screen.ScreenWidth), screen.Dpi);
  const int halfHeight = UnscaleFromDpi(HalveRoundEven(screen.ScreenHeight), screen.Dpi);
  return std::max(0, std::min(halfWidth, halfHeight) - kRadiusMargin);
}

SliderRange RadiusRange(const ScreenInfo& screen) {
  const int bound = RingRadiusBound(screen);
  if (bound < kMinRadius) return {bound, bound, 1, 5, false};
  return {kMinRadius, bound, 1, 5, true};
}

ConfigControls IniConfigData(const Settings& settings, const ScreenInfo& screen) {
  ConfigControls c;
  const SliderRange sizes = IconSizeRange();
  c.normal = sizes.Clamp(settings.IconSize);
  c.magnified = sizes.Clamp(settings.MagnifiedSize);
  c.radiusRange = RadiusRange(screen);
  c.radius = c.radiusRange.Clamp(settings.RingRadius);
  c.iconCountIndex =
      std::clamp(RoundHalfEven((settings.IconCount - kFirstIconCount) / double{kIconCountStep}), 0,
                 kIconCountChoices - 1);
  c.minimizedPosition =
      settings.MinimizedPosition < kMinimizedPositionChoices ? settings.MinimizedPosition : 0;
  c.transparency = settings.BackColor.Alpha;
  c.clearType = settings.ClearType == 1;
  c.autoRun = settings.AutoRun;
  c.autoHide = settings.AutoHide != 0;
  c.hideLetters = settings.HideHotkeyLetters != 0;
  // The labels tell what the settings hold, as the controls do.
  c.normalLabel = NormalSizeLabel(settings.IconSize);
  c.magnifiedLabel = MagnifiedSizeLabel(settings.MagnifiedSize);
  c.radiusLabel = RadiusLabel(settings.RingRadius);
  c.iconCountLabel = IconCountLabel(settings.IconCount);
  c.minimizedLabel = MinimizedPositionLabel(c.minimizedPosition);
  c.transparencyLabel = TransparencyLabel(c.transparency);
  return c;
}

SettingsEffect SettingsEditor::NormalPressed() {
  keptMagnified_ = settings_.MagnifiedSize;
  return {};
}

SettingsEffect SettingsEditor::NormalChanging(int value) {
  if (!keptMagnified_) keptMagnified_ = settings_.MagnifiedSize;  // a key, not the pointer
  settings_.IconSize = IconSizeRange().Clamp(value);
  settings_.MagnifiedSize = std::max(settings_.IconSize, *keptMagnified_);
  SettingsEffect effect;
  effect.recomputeRing = true;
  effect.followUp = RingFollowUp::SizeChange;
  return effect;
}

SettingsEffect SettingsEditor::NormalReleased() {
  SettingsEffect effect;
  effect.rebuildNormalVariant = true;
  const int kept = keptMagnified_.value_or(settings_.MagnifiedSize);
  keptMagnified_.reset();
  if (settings_.IconSize > kept) {
    effect.recomputeRing = true;
    effect.followUp = RingFollowUp::MagnifiedVariant;
  } else {
    // The ring was drawn from full images while the slider moved; the rebuilt variant
    // takes over.
    effect.redraw = true;
  }
  return effect;
}

SettingsEffect SettingsEditor::MagnifiedChanging(int value) {
  settings_.MagnifiedSize = IconSizeRange().Clamp(value);
  return {};
}

SettingsEffect SettingsEditor::MagnifiedReleased() {
  SettingsEffect effect;
  effect.recomputeRing = true;
  effect.followUp = RingFollowUp::MagnifiedVariant;
  return effect;
}

SettingsEffect SettingsEditor::RadiusChanging(int value) {
  settings_.RingRadius = RadiusRange(screen_).Clamp(value);
  SettingsEffect effect;
  effect.recomputeRing = true;
  effect.followUp = RingFollowUp::Redraw;
  return effect;
}

SettingsEffect SettingsEditor::IconCountChosen(int index) {
  const int chosen = std::clamp(index, 0, kIconCountChoices - 1);
  settings_.IconCount = kFirstIconCount + kIconCountStep * chosen;
  SettingsEffect effect;
  effect.recomputeRing = true;
  effect.followUp = RingFollowUp::Redraw;
  return effect;
}

SettingsEffect SettingsEditor::MinimizedPositionChosen(int index) {
  settings_.MinimizedPosition =
      static_cast<std::uint8_t>(std::clamp(index, 0, kMinimizedPositionChoices - 1));
  SettingsEffect effect;
  effect.placeDisc = true;
  return effect;
}

SettingsEffect SettingsEditor::TransparencyPressed() {
  SettingsEffect effect;
  effect.active = true;  // the veil shows while the user drags
  effect.redraw = true;
  return effect;
}

SettingsEffect SettingsEditor::TransparencyChanging(int value) {
  settings_.BackColor.Alpha = static_cast<std::uint8_t>(TransparencyRange().Clamp(value));
  SettingsEffect effect;
  effect.redraw = true;
  return effect;
}

SettingsEffect SettingsEditor::TransparencyReleased() {
  SettingsEffect effect;
  effect.active = false;
  effect.redraw = true;
  return effect;
}

void SettingsEditor::AutoRunClicked(bool registered) {
  settings_.AutoRun = registered;
}

SettingsEffect SettingsEditor::AutoHideClicked(bool on) {
  settings_.AutoHide = on ? 1 : 0;
  return {};
}

SettingsEffect SettingsEditor::HideLettersClicked(bool on) {
  settings_.HideHotkeyLetters = on ? 1 : 0;
  SettingsEffect effect;
  effect.redraw = true;  // the letters come or go at once
  return effect;
}

SettingsEffect SettingsEditor::ClearTypeClicked(bool on) {
  settings_.ClearType = on ? 1 : 0;
  SettingsEffect effect;
  effect.clearType = true;
  return effect;
}

namespace {
constexpr std::uint32_t kControlShift = 0x1;
constexpr std::uint32_t kControlControl = 0x2;
constexpr std::uint32_t kControlAlt = 0x4;
constexpr std::uint32_t kKeyMask = 0xFF;
constexpr int kFlagShift = 8;
}  // namespace

std::uint16_t HotKeyControlValue(const HotKey& hotKey) {
  if (hotKey.empty() || hotKey.key > kKeyMask) return 0;
  std::uint32_t flags = 0;
  if ((hotKey.modifiers & kModShift) != 0) flags |= kControlShift;
  if ((hotKey.modifiers & kModControl) != 0) flags |= kControlControl;
  if ((hotKey.modifiers & kModAlt) != 0) flags |= kControlAlt;
  return static_cast<std::uint16_t>(flags << kFlagShift | hotKey.key);
}

HotKey HotKeyFromControl(std::uint16_t value) {
  const std::uint32_t key = value & kKeyMask;
  const std::uint32_t flags = static_cast<std::uint32_t>(value) >> kFlagShift;
  HotKey hotKey;
  if (key == 0) return hotKey;
  hotKey.key = key;
  if ((flags & kControlShift) != 0) hotKey.modifiers |= kModShift;
  if ((flags & kControlControl) != 0) hotKey.modifiers |= kModControl;
  if ((flags & kControlAlt) != 0) hotKey.modifiers |= kModAlt;
  return hotKey;
}

HotKeyEntry ClassifyHotKeyEntry(const HotKey& hotKey) {
  if (hotKey.empty()) return HotKeyEntry::Cleared;
  // The same rule as for a combination the user writes under the program's key.
  const auto parsed = ParseHotKey(FormatHotKey(hotKey));
  return parsed && *parsed == hotKey ? HotKeyEntry::Complete : HotKeyEntry::Incomplete;
}

}  // namespace kivo
