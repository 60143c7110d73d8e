#include "popup/popup_geometry.h"

#include <algorithm>

#include "core/text.h"

namespace kivo {
namespace {

constexpr int kOpenLeftBelow = -2;  // a slot this far left of the centre opens to the left

}  // namespace

PopupSizes PopupSizesAt(int dpi) {
  PopupSizes s;
  s.dpi = dpi > 0 ? dpi : 96;
  for (int* length :
       {&s.edge, &s.rowWidth, &s.rowHeight, &s.buttonHeight, &s.spacer, &s.rim, &s.centreOffset,
        &s.icon, &s.iconInset, &s.iconTop, &s.titleInset, &s.titleWidth, &s.hotkeyInset,
        &s.hotkeyWidth, &s.textTop, &s.textHeight, &s.deleteFrame}) {
    *length = ScaleToDpi(*length, s.dpi);
  }
  s.width = s.rowWidth + 2 * s.edge;
  return s;
}

int PopupHeight(int count, int rowsPerPage, const PopupSizes& sizes) {
  const int rows = std::max(count, 0);
  const int buttons = sizes.edge + sizes.buttonHeight + sizes.spacer;
  return PopupPages(rows, rowsPerPage) ? rowsPerPage * sizes.rowHeight + 2 * buttons
                                       : rows * sizes.rowHeight + 2 * sizes.edge;
}

PopupLayout LayOutPopup(const RingGeometry& geometry, int slot, int count, int rowsPerPage) {
  const RingMetrics& m = geometry.metrics;
  const int perPage = std::clamp(rowsPerPage, 1, kPopupMaxRows);
  PopupLayout layout;
  const PopupSizes& z = layout.sizes = PopupSizesAt(m.Dpi);
  layout.width = z.width;
  layout.paging = PopupPages(count, perPage);
  layout.rows = layout.paging ? perPage : std::clamp(count, 0, perPage);
  layout.height = PopupHeight(count, perPage, z);

  const int number = std::clamp(slot, 0, kMaxSlot);
  const RingSlot& s = geometry.slots[static_cast<std::size_t>(number)];
  if (number == 0) {
    // On a narrow screen at a high dpi the list would reach past the right edge.
    layout.left = std::max(std::min(m.cx + z.centreOffset, m.W - z.width), 0);
    layout.top = m.cy - HalveRoundEven(layout.height);
  } else {
    const double centreX = s.normalLeft + s.normalSize / 2.0;
    if (centreX - m.cx <= kOpenLeftBelow) {
      layout.left = std::max(s.normalLeft - z.width, 0);
    } else {
      layout.left = s.normalLeft + s.normalSize;
      if (layout.left + z.width > m.W) layout.left = m.W - z.width;
    }
    const int t = RoundHalfEven(s.normalTop + s.normalSize / 2.0 - layout.height / 2.0);
    layout.top = t < 0 ? 0 : (t + layout.height > m.H ? m.H - layout.height : t);
  }

  const int left = layout.left + z.edge;
  const auto row = [&](int top, int height) { return PixelRect{left, top, z.rowWidth, height}; };
  if (!layout.paging) {
    for (int r = 1; r <= layout.rows; ++r) {
      layout.rowRects[static_cast<std::size_t>(r)] =
          row(layout.top + z.edge + (r - 1) * z.rowHeight, z.rowHeight);
    }
  } else {
    const int firstRow = layout.top + z.edge + z.buttonHeight + z.spacer;
    layout.rowRects[0] = row(layout.top + z.edge, z.buttonHeight);
    for (int r = 1; r <= layout.rows; ++r) {
      layout.rowRects[static_cast<std::size_t>(r)] =
          row(firstRow + (r - 1) * z.rowHeight, z.rowHeight);
    }
    layout.rowRects[static_cast<std::size_t>(layout.rows + 1)] =
        row(firstRow + layout.rows * z.rowHeight + z.spacer, z.buttonHeight);
  }
  return layout;
}

}  // namespace kivo
