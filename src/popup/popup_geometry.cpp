#include "popup/popup_geometry.h"

#include <algorithm>

#include "core/text.h"

namespace kivo {
namespace {

constexpr int kEdge = 10;           // the list's top edge and the rows' left inset
constexpr int kCentreOffset = 72;   // the centre's list starts this far right of the centre
constexpr int kOpenLeftBelow = -2;  // a slot this far left of the centre opens to the left

}  // namespace

int PopupHeight(int count, int rowsPerPage) {
  const int rows = std::max(count, 0);
  return PopupPages(rows, rowsPerPage) ? rowsPerPage * kPopupRowHeight + 80
                                       : rows * kPopupRowHeight + 20;
}

PopupLayout LayOutPopup(const RingGeometry& geometry, int slot, int count, int rowsPerPage) {
  const RingMetrics& m = geometry.metrics;
  const int perPage = std::clamp(rowsPerPage, 1, kPopupMaxRows);
  PopupLayout layout;
  layout.paging = PopupPages(count, perPage);
  layout.rows = layout.paging ? perPage : std::clamp(count, 0, perPage);
  layout.height = PopupHeight(count, perPage);

  const int number = std::clamp(slot, 0, kMaxSlot);
  const RingSlot& s = geometry.slots[static_cast<std::size_t>(number)];
  if (number == 0) {
    layout.left = m.cx + kCentreOffset;
    layout.top = m.cy - HalveRoundEven(layout.height);
  } else {
    const double centreX = s.normalLeft + s.normalSize / 2.0;
    if (centreX - m.cx <= kOpenLeftBelow) {
      layout.left = std::max(s.normalLeft - kPopupWidth, 0);
    } else {
      layout.left = s.normalLeft + s.normalSize;
      if (layout.left + kPopupWidth > m.W) layout.left = m.W - kPopupWidth;
    }
    const int t = RoundHalfEven(s.normalTop + s.normalSize / 2.0 - layout.height / 2.0);
    layout.top = t < 0 ? 0 : (t + layout.height > m.H ? m.H - layout.height : t);
  }

  const int left = layout.left + kEdge;
  const auto row = [&](int top, int height) {
    return PixelRect{left, top, kPopupRowWidth, height};
  };
  if (!layout.paging) {
    for (int r = 1; r <= layout.rows; ++r) {
      layout.rowRects[static_cast<std::size_t>(r)] =
          row(layout.top + kEdge + (r - 1) * kPopupRowHeight, kPopupRowHeight);
    }
  } else {
    layout.rowRects[0] = row(layout.top + kEdge, kPopupButtonHeight);
    for (int r = 1; r <= layout.rows; ++r) {
      layout.rowRects[static_cast<std::size_t>(r)] =
          row(layout.top + 40 + (r - 1) * kPopupRowHeight, kPopupRowHeight);
    }
    layout.rowRects[static_cast<std::size_t>(layout.rows + 1)] =
        row(layout.top + 45 + layout.rows * kPopupRowHeight, kPopupButtonHeight);
  }
  return layout;
}

}  // namespace kivo
