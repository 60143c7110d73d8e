// Where a group's popup list lies and where its rows are: pure functions of the ring's
// geometry (whose dpi the list is drawn at), the member count and the rows per page.
#pragma once

#include <array>

#include "dock/ring_geometry.h"
#include "render/canvas.h"

namespace kivo {

// Lengths at 96 dpi.
inline constexpr int kPopupWidth = 268;  // the list's skin width
inline constexpr int kPopupRowWidth = 248;
inline constexpr int kPopupRowHeight = 38;
inline constexpr int kPopupButtonHeight = 25;
inline constexpr int kPopupMaxRows = 18;

// The list's lengths in the pixels of a monitor. Each piece is its 96-dpi length scaled on
// its own, and every length made of pieces is their sum, so that rows, buttons and the
// skin's rim tile without gaps at any dpi (a sum scaled as a whole could differ by a pixel
// from the pieces drawn in it).
struct PopupSizes {
  int dpi = 96;
  int edge = 10;  // the skin's rim around the rows, each side
  int rowWidth = kPopupRowWidth;
  int rowHeight = kPopupRowHeight;
  int buttonHeight = kPopupButtonHeight;
  int spacer = 5;           // between a page button and the member rows
  int rim = 12;             // MENUTOP and MENUBOTTOM
  int width = kPopupWidth;  // rowWidth + 2 edge
  int centreOffset = 72;    // the centre's list starts this far right of the centre
  int icon = 32;            // a row's icon edge
  int iconInset = 13;       // from the list's left edge
  int iconTop = 3;          // from the row's top
  int titleInset = 48;      // from the list's left edge
  int titleWidth = 183;
  int hotkeyInset = 237;  // from the list's left edge
  int hotkeyWidth = 18;
  int textTop = 5;  // from the row's top
  int textHeight = 28;
  int deleteFrame = 128;  // the delete animation's frame edge
  friend bool operator==(const PopupSizes&, const PopupSizes&) = default;
};

// The sizes at `dpi` (0 or less counts as 96); at 96 exactly the constants above.
PopupSizes PopupSizesAt(int dpi);

// Plain mode holds every member; paging mode shows `rowsPerPage` of them between an up and
// a down button.
inline bool PopupPages(int count, int rowsPerPage) {
  return count > rowsPerPage;
}
int PopupHeight(int count, int rowsPerPage, const PopupSizes& sizes);

struct PopupLayout {
  PopupSizes sizes;
  int left = 0, top = 0, width = kPopupWidth, height = 0;
  bool paging = false;
  int rows = 0;  // member rows shown at once
  // Row rectangles: plain mode rows 1..count; paging mode the up button (0), rows 1..P
  // and the down button (P + 1). Unused entries are empty.
  std::array<PixelRect, kPopupMaxRows + 2> rowRects{};
  PixelRect Bounds() const { return {left, top, width, height}; }
};

// GetMenuLoc and the row rectangles for the popup of `slot` (0 is the centre) with `count`
// members, at the ring's dpi. A slot left of the centre opens its list to the left, others
// to the right; the list is centred on the slot vertically and kept inside the window.
PopupLayout LayOutPopup(const RingGeometry& geometry, int slot, int count, int rowsPerPage);

}  // namespace kivo
