// Where a group's popup list lies and where its rows are: pure functions of the ring's
// geometry, the member count and the rows per page.
#pragma once

#include <array>

#include "dock/ring_geometry.h"
#include "render/canvas.h"

namespace kivo {

inline constexpr int kPopupWidth = 268;  // the list's skin width
inline constexpr int kPopupRowWidth = 248;
inline constexpr int kPopupRowHeight = 38;
inline constexpr int kPopupButtonHeight = 25;
inline constexpr int kPopupMaxRows = 18;

// Plain mode holds every member; paging mode shows `rowsPerPage` of them between an up and
// a down button.
inline bool PopupPages(int count, int rowsPerPage) {
  return count > rowsPerPage;
}
int PopupHeight(int count, int rowsPerPage);

struct PopupLayout {
  int left = 0, top = 0, width = kPopupWidth, height = 0;
  bool paging = false;
  int rows = 0;  // member rows shown at once
  // Row rectangles: plain mode rows 1..count; paging mode the up button (0), rows 1..P
  // and the down button (P + 1). Unused entries are empty.
  std::array<PixelRect, kPopupMaxRows + 2> rowRects{};
  PixelRect Bounds() const { return {left, top, width, height}; }
};

// GetMenuLoc and the row rectangles for the popup of `slot` (0 is the centre) with `count`
// members. A slot left of the centre opens its list to the left, others to the right; the
// list is centred on the slot vertically and kept inside the window.
PopupLayout LayOutPopup(const RingGeometry& geometry, int slot, int count, int rowsPerPage);

}  // namespace kivo
