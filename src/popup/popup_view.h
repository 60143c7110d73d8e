// The group popup's picture: the list of a group's members beside its slot, built from the
// popup skins, with each row's icon, title and hotkey character, the page buttons in paging
// mode, the hovered or pressed row, and the open and close fades. Draws through the Canvas
// port and pauses through the Clock port, like the dock's frames.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/store.h"
#include "dock/clock.h"
#include "dock/ring_geometry.h"
#include "popup/popup_geometry.h"
#include "popup/popup_scroll.h"
#include "render/canvas.h"

namespace kivo {

inline constexpr Argb kPopupTextColour = 0xFF010203;
inline constexpr Argb kPopupGreyTextColour = 0xFF808080;
inline constexpr int kPopupIconVariant = 4;  // the pre-scaled row icon, 32 x 32 at 96 dpi
// At a dpi other than 96 the list's skins are drawn from copies pre-scaled to that dpi,
// kept as this variant; at 96 from the skins themselves.
inline constexpr int kPopupSkinVariant = 1;

// What the open list shows and which row the pointer or the keys are on.
struct PopupState {
  bool open = false;
  int group = -1;  // the slot (group number) the list belongs to
  int count = 0;   // members
  PopupLayout layout;
  PopupScroll scroll;
  // Row under the pointer or chosen by the keys, -1 for none. Paging mode: 0 is the up
  // button, 1..P the member rows, P + 1 the down button.
  int hovered = -1;
  int lastHovered = -1;
  bool pressedLook = false;  // a button is held on the hovered row
  // The list holds the search's results (beside the disc, without hotkey characters)
  // instead of a group's members.
  bool results = false;
};

// One member row as IniMenuParam takes it from the store.
struct PopupRow {
  int item = 0;
  std::string title;
};

class PopupView {
 public:
  // `ensureIcon` is asked for a member's icon before its row is drawn, so row images load
  // when a list first shows them.
  PopupView(Canvas& canvas, Clock& clock, const ShortcutStore& store,
            std::function<void(int item)> ensureIcon = {});

  PopupState& state() { return state_; }
  const PopupState& state() const { return state_; }
  // Member `member` (1..count) of the open list; an item of 0 for any other number.
  const PopupRow& row(int member) const;

  // IniMenuParam: the members of group `group` in display order (member numbers outside
  // the items are skipped), and the list's place beside slot `group` for them.
  void IniMenuParam(int group, const RingGeometry& geometry, int rowsPerPage);
  // MenuResize: the members read again after the group changed; the scroll offset stays
  // within the new count.
  void MenuResize(const RingGeometry& geometry, int rowsPerPage);
  // The search's result list: `items` in order, as a list beside the centre disc that
  // holds them as a group holds its members.
  void IniResultList(std::vector<int> items, const RingGeometry& geometry, int rowsPerPage);

  // The list at rest / with the hovered row highlighted, presented with `alpha`.
  void MenuNormal(int alpha = 255);
  void MenuAction();
  // MenuFocus's frames: the fade in (four frames) or out (three), each when `fade`;
  // opening ends on the resting list, closing on an empty, transparent surface.
  void FadeIn(bool fade);
  void FadeOut(bool fade);

 private:
  void DrawList(bool highlight);
  void DrawRow(int row, bool highlight);
  int VisibleRows() const;

  Canvas& canvas_;
  Clock& clock_;
  const ShortcutStore& store_;
  std::function<void(int)> ensureIcon_;
  PopupState state_;
  std::vector<PopupRow> rows_;    // index 0 is member 1
  std::vector<int> resultItems_;  // the items of a result list
};

}  // namespace kivo
