#include "popup/popup_geometry.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

RingGeometry Ring(int width, int height, int iconCount, int dpi = 96) {
  const ScreenInfo screen =
      MakeScreenInfo(width, height - 23, 23, dpi, dpi, Rect{0, 0, width, height - 40});
  Settings settings;
  ApplyDefaultSettings(settings, screen);
  settings.IconCount = iconCount;
  return ComputeRing(MakeRingMetrics(screen, settings));
}

// The list opens right of the centre, beside a slot right of it or left of one left of it:
// a slot centred exactly 2 pixels left of the centre opens to the left; 1 pixel, right.
TEST(PopupGeometry, RowsPerPageAndWhereTheListOpens) {
  for (const auto& [h, dpi, rows] :
       {std::tuple{728, 96, 16}, {1040, 96, 18}, {113, 96, 1}, {1040, 144, 15}, {2080, 192, 18}})
    EXPECT_EQ(PopupRowsFor(h, dpi), rows) << h << " " << dpi;  // never none
  RingGeometry g = Ring(1920, 1080, 8);
  const RingMetrics& m = g.metrics;
  EXPECT_EQ((std::pair{LayOutPopup(g, 0, 5, 18).left, LayOutPopup(g, 0, 5, 18).top}),
            (std::pair{m.cx + 72, m.cy - (5 * 38 + 20) / 2}));
  for (const int offset : {2, 1}) {
    g.slots[3].normalLeft = m.cx - offset - m.N / 2;
    EXPECT_EQ(LayOutPopup(g, 3, 5, 18).left, g.slots[3].normalLeft + (offset == 2 ? -268 : m.N));
  }
}

// Over screens and dpis, ring sizes, every slot and member counts around a page: the list
// lies in the window and is its 96-dpi size scaled (within the pieces' rounding), rows are
// the list's width less its edges, follow each other without gaps or overlaps, and page
// buttons are set off from the members by a separator.
TEST(PopupGeometry, SweepKeepsTheListOnScreenAndItsRowsApart) {
  for (const auto& [width, height, dpi] :
       {std::tuple{800, 600, 96}, std::tuple{800, 600, 120}, std::tuple{1024, 768, 144},
        std::tuple{1920, 1080, 96}, std::tuple{1920, 1080, 144}, std::tuple{3840, 2160, 192},
        std::tuple{3840, 2160, 96}, std::tuple{1080, 1920, 168}}) {
    const PopupSizes z = PopupSizesAt(dpi);
    for (const int iconCount : {8, 24, 36}) {
      const RingGeometry g = Ring(width, height, iconCount, dpi);
      const int perPage = PopupRowsFor(g.metrics.H, dpi);
      for (int slot = 0; slot <= iconCount; ++slot) {
        for (const int count : {1, perPage - 1, perPage, perPage + 1, 2 * perPage - 1, 1024}) {
          const PopupLayout p = LayOutPopup(g, slot, count, perPage);
          SCOPED_TRACE(testing::Message() << width << "x" << height << " dpi " << dpi << " K"
                                          << iconCount << " slot " << slot << " count " << count);
          ASSERT_TRUE(p.left >= 0 && p.top >= 0 && p.left + p.width <= g.metrics.W &&
                      p.top + p.height <= g.metrics.H);
          ASSERT_EQ(p.paging, count > perPage);
          // Each row rounds on its own: at most half a pixel a row.
          ASSERT_NEAR(p.width, 268 * dpi / 96.0, 1);
          ASSERT_NEAR(p.height, PopupHeight(count, perPage, PopupSizesAt(96)) * dpi / 96.0,
                      3 + p.rows / 2.0);
          const int first = p.paging ? 0 : 1, last = p.paging ? p.rows + 1 : p.rows;
          for (int r = first; r <= last; ++r) {
            const PixelRect& row = p.rowRects[static_cast<std::size_t>(r)];
            ASSERT_EQ(row.left, p.left + z.edge);
            ASSERT_EQ(row.width, p.width - 2 * z.edge);
            ASSERT_EQ(row.height,
                      p.paging && (r == first || r == last) ? z.buttonHeight : z.rowHeight);
            ASSERT_TRUE(row.top >= p.top + z.edge && row.bottom() <= p.top + p.height - z.edge);
            const int gap = (p.paging && (r == 1 || r == p.rows + 1)) ? z.spacer : 0;
            if (r > first) {
              ASSERT_EQ(row.top, p.rowRects[static_cast<std::size_t>(r - 1)].bottom() + gap) << r;
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kivo
