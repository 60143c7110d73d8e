#include "dock/dock_view.h"

#include <algorithm>

#include "core/text.h"
#include "search/item_search.h"

namespace kivo {
namespace {

constexpr int kOpaque = 255;
constexpr int kFullAlpha = 10;     // alpha tenths
constexpr int kHotkeyRaise = 12;   // a hotkey character's top lies this far above its anchor
constexpr int kCentreKeyGap = 20;  // "~" sits this far above the disc
constexpr int kFieldHeight = 28;
constexpr int kFieldPadding = 6;
constexpr int kFieldMinWidth = 96;

const DockSlot kNoSlot{};

PixelRect Square(int left, int top, int size) {
  return {left, top, size, size};
}

}  // namespace

DockView::DockView(Canvas& canvas, Clock& clock, const ShortcutStore& store,
                   const Settings& settings, const RingGeometry& geometry)
    : canvas_(canvas), clock_(clock), store_(store), settings_(settings), geometry_(geometry) {
  IniIconParam();
}

const DockSlot& DockView::slot(int number) const {
  if (number < 0 || number > kMaxSlot) return kNoSlot;
  return slots_[static_cast<std::size_t>(number)];
}

void DockView::IniIconParam() {
  for (int i = 0; i <= kMaxSlot; ++i) {
    int item = i;
    if (i > 0) {
      // Member 0 of a ring group names the slot's item. It comes from the menu file
      // unchecked, so a damaged value must not index outside the item table.
      const auto& members = store_.Groups[static_cast<std::size_t>(i)].Members;
      if (!members.empty() && members[0] >= 0 && members[0] <= kLastItem) item = members[0];
    }
    const ShortcutItem& source = store_.Items[static_cast<std::size_t>(item)];
    DockSlot& slot = slots_[static_cast<std::size_t>(i)];
    slot.icon = source.ItemIndex;
    slot.kind = source.ItemType;
    slot.name = CleanText(source.Title.str());
  }
}

int DockView::SlotCount() const {
  return std::clamp(geometry_.metrics.K, 0, kMaxSlot);
}

int DockView::DraggedSlot() const {
  return state_.dragging ? state_.pressedSlot : -1;
}

bool DockView::ShowHotkeys() const {
  return state_.active && settings_.HideHotkeyLetters == 0;
}

Argb DockView::VeilColour() const {
  const BgraColor& c = settings_.BackColor;
  return static_cast<Argb>(c.Alpha) << 24 | static_cast<Argb>(c.Red) << 16 |
         static_cast<Argb>(c.Green) << 8 | static_cast<Argb>(c.Blue);
}

// The veil while the dock is in front; otherwise only the ring shows on the desktop.
Argb DockView::Background() const {
  return state_.active ? VeilColour() : kTransparent;
}

void DockView::DrawRestingSlot(int number, bool scaleIcon) {
  const RingSlot& s = geometry_.slots[static_cast<std::size_t>(number)];
  const PixelRect square = s.normalSquare();
  canvas_.DrawImage({ImageTable::Skin, kSkinBackSelectColor, 1}, square);
  canvas_.DrawImage({ImageTable::Icon, slot(number).icon, scaleIcon ? 0 : 1}, square);
  DrawHotkey(number);
}

void DockView::DrawHotkey(int number) {
  if (!ShowHotkeys()) return;
  const RingSlot& s = geometry_.slots[static_cast<std::size_t>(number)];
  const RingMetrics& m = geometry_.metrics;
  canvas_.DrawText(HotkeyCharacter(number), m.cx + s.labelX,
                   m.cy + s.labelY - Scaled(m, kHotkeyRaise));
}

void DockView::DrawTitles(const std::string& title) {
  const RingMetrics& m = geometry_.metrics;
  const int halfDisc = HalveRoundEven(m.D);
  canvas_.DrawText(title, m.cx, m.cy + halfDisc);
  if (ShowHotkeys())
    canvas_.DrawText(HotkeyCharacter(0), m.cx, m.cy - halfDisc - Scaled(m, kCentreKeyGap));
}

// The centre icon (when one is set), the LOGO over it and the BORDER disc around both.
// The disc is part of every picture of the centre; only the icon depends on a setting.
void DockView::DrawCentre(int icon, int alphaTenths) {
  const RingSlot& centre = geometry_.slots[0];
  if (icon >= 1) canvas_.DrawImage({ImageTable::Icon, icon, 0}, centre.normalSquare(), alphaTenths);
  canvas_.DrawImage({ImageTable::Icon, 0, kLogoVariant}, centre.normalSquare(), alphaTenths);
  canvas_.DrawImage({ImageTable::Skin, kSkinBorder, kBorderVariant}, centre.magSquare(),
                    alphaTenths);
}

void DockView::DrawSearchField() {
  if (!state_.searching) return;
  canvas_.Fill(SearchFieldRect(geometry_), kSearchFieldColour);
  const PixelRect text = SearchTextRect(geometry_);
  if (state_.searchText.empty()) {
    canvas_.DrawTextBox(kSearchHint, text, kSearchHintColour, true);
  } else {
    canvas_.DrawTextBox(FieldTail(state_.searchText, kSearchFieldChars) + "|", text,
                        kSearchTextColour, true);
  }
}

void DockView::DrawRestingRing(bool scaleIcons) {
  canvas_.Clear(Background());
  const int dragged = DraggedSlot();
  for (int i = 1; i <= SlotCount(); ++i) {
    if (i != dragged) DrawRestingSlot(i, scaleIcons);
  }
  DrawTitles(slots_[0].name);
  DrawCentre(state_.centreIcon, kFullAlpha);
  DrawSearchField();
}

bool DockView::DrawResting(bool scaleIcons, bool present) {
  if (state_.mode != DockMode::Expanded) return false;
  DrawRestingRing(scaleIcons);
  if (present) canvas_.Present(kOpaque);
  return true;
}

bool DockView::DockNormal(bool noPresent) {
  return DrawResting(false, !noPresent);
}

bool DockView::DockSizeChange() {
  return DrawResting(true, true);
}

bool DockView::DockAction(bool pressed) {
  if (state_.mode != DockMode::Expanded) return false;
  const int hovered = state_.hovered;
  const int dragged = DraggedSlot();
  // Only a ring slot is magnified. The centre keeps its disc when hovered: its table
  // entry holds the disc's own square and an absolute label anchor, not a ring slot's.
  const bool onRing = hovered >= 1 && hovered <= SlotCount();

  canvas_.Clear(Background());
  for (int i = 1; i <= SlotCount(); ++i) {
    if (i != dragged && !(onRing && i == hovered)) DrawRestingSlot(i, false);
  }
  if (onRing && hovered != dragged) {
    const RingSlot& s = geometry_.slots[static_cast<std::size_t>(hovered)];
    const int icon = slot(hovered).icon;
    canvas_.DrawImage({ImageTable::Skin, kSkinBackSelectColor, 2}, s.magSquare());
    if (pressed) {
      canvas_.DrawImage({ImageTable::Icon, icon, 1}, s.normalSquare());
    } else if (icon >= 1) {
      canvas_.DrawImage({ImageTable::Icon, icon, 0}, s.magSquare());
    }
    DrawHotkey(hovered);
  }
  const bool named = hovered >= 0 && hovered <= SlotCount();
  DrawTitles(slot(named ? hovered : 0).name);
  DrawCentre(state_.centreIcon, kFullAlpha);
  DrawSearchField();
  canvas_.Present(kOpaque);
  return true;
}

bool DockView::DockDrag(int x, int y) {
  const int lifted = state_.pressedSlot;
  if (lifted < 1 || lifted > SlotCount()) return false;
  if (!DockNormal(true)) return false;
  const int n = geometry_.metrics.N;
  canvas_.DrawImage({ImageTable::Icon, slot(lifted).icon, 1},
                    Square(RoundHalfEven(x - n / 2.0), RoundHalfEven(y - n / 2.0), n));
  canvas_.Present(kOpaque);
  return true;
}

bool DockView::OnPointerMove(int x, int y) {
  state_.lastX = x;
  state_.lastY = y;
  state_.hovered = HitTest(geometry_, x, y);
  if (state_.hovered == -1 || state_.hovered == state_.previous) return false;
  state_.previous = state_.hovered;
  if (state_.dragging || state_.mode == DockMode::Collapsed) return false;
  return DockAction(false);
}

bool DockView::OnLeavePoll(int x, int y) {
  if (state_.mode != DockMode::Expanded) state_.previous = -1;
  if (state_.previous == -1 || state_.dragging || HitTest(geometry_, x, y) != -1) return false;
  DockNormal(false);
  state_.hovered = -1;
  state_.previous = -1;
  return true;
}

void DockView::DockFocus(bool show) {
  IniIconParam();
  if (state_.fade) {
    for (int k = 1; k <= kFadeFrames; ++k) {
      // Fading out shows the fade-in pictures in reverse, each with the same alpha.
      const int picture = show ? k : kFadeFrames + 1 - k;
      canvas_.Clear(kTransparent);
      for (int i = 1; i <= SlotCount(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        canvas_.DrawImage({ImageTable::Icon, slots_[index].icon, picture},
                          geometry_.fadeFrames[index][static_cast<std::size_t>(picture)]);
      }
      canvas_.DrawImage({ImageTable::Skin, kSkinBorder, kBorderVariant},
                        geometry_.slots[0].magSquare());
      canvas_.Present(64 * picture - 1);
      clock_.Sleep(kFramePause);
    }
    if (!show) clock_.Sleep(kFadeOutTail);
  }
  if (show) DockNormal(false);
}

bool DockView::EffectAction(int slotNumber) {
  if (state_.mode != DockMode::Expanded) return false;
  const int number = slotNumber < 0 ? 0 : slotNumber;
  if (number > SlotCount()) return false;
  const int newIcon = slots_[static_cast<std::size_t>(number)].icon;
  if (newIcon == state_.centreIcon) return false;

  // The disc square is erased to the frame's own background: the veil while in front,
  // full transparency otherwise, so no dark square is left on the desktop.
  const PixelRect disc = geometry_.slots[0].magSquare();
  const Argb erase = Background();
  for (int s = 0; s < kCrossFadeSteps; ++s) {
    canvas_.Fill(disc, erase);
    DrawCentre(newIcon, s);
    DrawCentre(state_.centreIcon, kCrossFadeSteps + 1 - s);
    DrawSearchField();
    canvas_.Present(kOpaque);
    clock_.Sleep(kFramePause);
  }
  canvas_.Fill(disc, erase);
  DrawCentre(newIcon, kFullAlpha);
  DrawSearchField();
  canvas_.Present(kOpaque);
  state_.centreIcon = newIcon;
  return true;
}

void DockView::DrawCollapsedDisc() {
  const RingMetrics& m = geometry_.metrics;
  const DiscPosition p = CollapsedDiscPosition(m, settings_.MinimizedPosition);
  canvas_.Clear(kTransparent);
  canvas_.DrawImage({ImageTable::Icon, 0, kLogoVariant}, Square(p.iconLeft, p.iconTop, m.C));
  canvas_.DrawImage({ImageTable::Skin, kSkinBorder, kBorderVariant},
                    Square(p.discLeft, p.discTop, m.D));
  canvas_.Present(kOpaque);
}

void DockView::HideFade() {
  for (int k = 1; k <= kHideFrames; ++k) {
    DrawRestingRing(false);
    canvas_.Present(HideAlpha(kHideFrames - k));
    clock_.Sleep(kFramePause);
  }
}

void DockView::DockDelEffect(int x, int y) {
  const int size = Scaled(geometry_.metrics, kDeleteFrameSize);
  const int half = size / 2;
  for (int k = 0; k < kDeleteFrames; ++k) {
    if (!DockNormal(true)) return;
    canvas_.DrawImage({ImageTable::Skin, kSkinDelIcon, k + 1}, Square(x - half, y - half, size));
    canvas_.Present(kOpaque);
    clock_.Sleep(kFramePause);
  }
}

bool DockView::DrawBadge(int skin, int x, int y) {
  if (!DockNormal(true)) return false;
  const int size = Scaled(geometry_.metrics, kBadgeSize);
  const int half = size / 2;
  canvas_.DrawImage({ImageTable::Skin, skin, 1}, Square(x - half, y - half, size));
  canvas_.Present(kOpaque);
  return true;
}

PixelRect SearchFieldRect(const RingGeometry& geometry) {
  const RingMetrics& m = geometry.metrics;
  // Across the middle of the disc, as wide as the disc's inner part allows.
  const PixelRect disc = geometry.slots[0].magSquare();
  const int width = std::max(kFieldMinWidth, disc.width * 3 / 4);
  return PixelRect{m.cx - width / 2, m.cy - kFieldHeight / 2, width, kFieldHeight};
}

PixelRect SearchTextRect(const RingGeometry& geometry) {
  const PixelRect field = SearchFieldRect(geometry);
  return PixelRect{field.left + kFieldPadding, field.top, field.width - 2 * kFieldPadding,
                   field.height};
}

int HideAlpha(int i) {
  return RoundHalfEven(255.0 / kHideFrames * std::clamp(i, 0, kHideFrames));
}

}  // namespace kivo
