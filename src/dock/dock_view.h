// The dock ring's picture: what each slot shows, the dock state the picture depends on,
// and every frame the ring draws (resting, magnified, fades, centre cross-fade, the
// collapsed disc). Draws through the Canvas port and pauses through the Clock port, so
// the whole sequence of frames can be checked without a screen.
#pragma once

#include <array>
#include <string>

#include "core/settings.h"
#include "core/store.h"
#include "dock/clock.h"
#include "dock/ring_geometry.h"
#include "render/canvas.h"

namespace kivo {

enum class DockMode : int { Expanded = 0, Collapsed = 1, Hidden = 2 };

// What one slot shows, taken from the store by IniIconParam.
struct DockSlot {
  int icon = 0;      // icon image number (the item's ItemIndex)
  int kind = 0;      // the item's ItemType
  std::string name;  // the item's Title
  friend bool operator==(const DockSlot&, const DockSlot&) = default;
};

// The dock state the frames depend on. The input handlers, the popup and the tray change
// it directly; the frame routines read it, and the hover routines and the cross-fade
// update the fields they own (hovered/previous, centreIcon, lastX/lastY).
struct DockState {
  bool active = false;  // in front: veil and hotkey characters are drawn
  DockMode mode = DockMode::Expanded;
  bool fade = false;     // mode changes are animated
  int hovered = -1;      // slot under the pointer, -1 for none
  int previous = -1;     // slot last magnified, -1 for none
  int pressedSlot = -1;  // slot pressed with the left button, -1 for none
  bool dragging = false;
  int centreIcon = -1;  // icon shown in the centre disc; below 1 shows none
  int lastX = 0, lastY = 0;
  bool searching = false;  // the search field shows on the disc
  std::string searchText;  // what was typed into it (UTF-8)
};

// Fixed parts of the picture.
inline constexpr Argb kTransparent = 0x00FFFFFF;
inline constexpr int kFramePause = 25;     // ms between animation frames
inline constexpr int kFadeOutTail = 15;    // ms after the last fade-out frame
inline constexpr int kCrossFadeSteps = 8;  // frames before the cross-fade's final frame
inline constexpr int kLogoVariant = 3;     // the LOGO overlay is cached at the centre icon's size
inline constexpr int kBorderVariant = 1;   // the BORDER disc is cached at its own size
inline constexpr int kDeleteFrames = 5;    // DELICON frame k is cached as variant k + 1
inline constexpr int kDeleteFrameSize = 128;
inline constexpr int kHideFrames = 32;
inline constexpr int kBadgeSize = 48;  // drop badges are cached at this size (variant 1)
// The alpha ramp of hiding: entry i is 255 / 32 * i rounded, i = 0..32.
int HideAlpha(int i);

// The search field: a light box across the centre disc with the typed text (its end when
// it is long, and a caret), or a grey hint while empty.
inline constexpr Argb kSearchFieldColour = 0xF2FFFFFF;
inline constexpr Argb kSearchTextColour = 0xFF010203;
inline constexpr Argb kSearchHintColour = 0xFF808080;
inline constexpr std::size_t kSearchFieldChars = 14;
inline constexpr char kSearchHint[] = "搜索";
PixelRect SearchFieldRect(const RingGeometry& geometry);
// The text box inside the field.
PixelRect SearchTextRect(const RingGeometry& geometry);

class DockView {
 public:
  // The view keeps references to the canvas, clock, store and settings: the store and
  // settings are read again at every IniIconParam and every frame.
  DockView(Canvas& canvas, Clock& clock, const ShortcutStore& store, const Settings& settings,
           const RingGeometry& geometry);

  DockState& state() { return state_; }
  const DockState& state() const { return state_; }
  const RingGeometry& geometry() const { return geometry_; }
  // After N, M, R or K changed. The caller redraws as the change requires.
  void SetGeometry(const RingGeometry& geometry) { geometry_ = geometry; }
  // Slots 0..36 (0 is the centre); any other number gives an empty slot.
  const DockSlot& slot(int number) const;

  // Rebuilds the slots from the store. Ring slot i shows the item named by member 0 of
  // group i (normally item i itself); the centre shows item 0. A member 0 that names no
  // item falls back to item i.
  void IniIconParam();

  // The frame routines draw nothing and return false unless the dock is expanded.
  // The ring at rest, presented unless `noPresent`.
  bool DockNormal(bool noPresent);
  // The resting ring with every icon scaled from its full image, while the pre-scaled
  // variants still have the old size.
  bool DockSizeChange();
  // The ring with the hovered slot magnified; `pressed` draws it in its pressed look.
  bool DockAction(bool pressed);
  // The resting ring with the pressed slot's icon lifted off it and centred on (x, y).
  bool DockDrag(int x, int y);

  // Hover change for a pointer move to client point (x, y): true when it redrew.
  bool OnPointerMove(int x, int y);
  // The 100 ms poll that notices the pointer has left every slot: true when it redrew.
  bool OnLeavePoll(int x, int y);

  // Fade in (show) or out, when the fade flag is set, after rebuilding the slots; showing
  // ends with the resting ring whether or not it faded. The caller enables the timers.
  // Runs whatever the mode, because the mode changes before the fade.
  void DockFocus(bool show);
  // Cross-fades the centre to the icon of `slot` (a negative slot means the centre).
  // Returns false when that icon is already shown, the slot is not on the ring, or the
  // dock is not expanded.
  bool EffectAction(int slot);
  // The collapsed disc alone at the position the settings choose.
  void DrawCollapsedDisc();
  // Hiding: the resting ring (without veil) fading out over 32 frames, whatever the mode,
  // since the mode has already changed to hidden when it runs.
  void HideFade();
  // The delete animation at client point (x, y): five frames of the DELICON strip over the
  // resting ring.
  void DockDelEffect(int x, int y);
  // The resting ring with a drop badge (skin `skin`, drawn in variant 1) centred on client
  // point (x, y), presented.
  bool DrawBadge(int skin, int x, int y);

  // The veil: black with the alpha of the transparency setting.
  Argb VeilColour() const;

 private:
  int SlotCount() const;
  int DraggedSlot() const;
  bool ShowHotkeys() const;
  Argb Background() const;
  void DrawRestingSlot(int number, bool scaleIcon);
  void DrawHotkey(int number);
  void DrawTitles(const std::string& title);
  void DrawCentre(int icon, int alphaTenths);
  void DrawSearchField();
  bool DrawResting(bool scaleIcons, bool present);
  void DrawRestingRing(bool scaleIcons);

  Canvas& canvas_;
  Clock& clock_;
  const ShortcutStore& store_;
  const Settings& settings_;
  RingGeometry geometry_;
  DockState state_;
  std::array<DockSlot, kSlotEntries> slots_{};
};

}  // namespace kivo
