#include "popup/popup_geometry.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

RingGeometry Ring(int width, int height, int iconCount) {
  const ScreenInfo screen =
      MakeScreenInfo(width, height - 23, 23, 96, 96, Rect{0, 0, width, height - 40});
  Settings settings;
  ApplyDefaultSettings(settings, screen);
  settings.IconCount = iconCount;
  return ComputeRing(MakeRingMetrics(screen, settings));
}

TEST(PopupGeometry, RowsPerPageAndWhereTheListOpens) {
  EXPECT_EQ(PopupRowsFor(728), 16);
  EXPECT_EQ(PopupRowsFor(1040), 18);
  EXPECT_EQ(PopupRowsFor(113), 1);  // never no row at all
  EXPECT_EQ(PopupHeight(16, 16), 16 * 38 + 20);
  EXPECT_EQ(PopupHeight(17, 16), 16 * 38 + 80);
  RingGeometry g = Ring(1920, 1080, 8);
  const RingMetrics& m = g.metrics;
  EXPECT_EQ(LayOutPopup(g, 0, 5, 18).left, m.cx + 72);
  EXPECT_EQ(LayOutPopup(g, 0, 5, 18).top, m.cy - (5 * 38 + 20) / 2);
  EXPECT_EQ(LayOutPopup(g, 1, 5, 18).left, g.slots[1].normalLeft + m.N);  // right of centre
  EXPECT_EQ(LayOutPopup(g, 5, 5, 18).left, g.slots[5].normalLeft - 268);  // left of it
  // A slot centred exactly 2 pixels left of the centre opens to the left; 1 pixel, right.
  for (const int offset : {2, 1}) {
    RingSlot& s = g.slots[3];
    s.normalLeft = m.cx - offset - m.N / 2;
    EXPECT_EQ(LayOutPopup(g, 3, 5, 18).left, offset == 2 ? s.normalLeft - 268 : s.normalLeft + m.N);
  }
}

// Over screens, ring sizes, every slot and member counts around a page: the list lies in
// the window, rows are the list's width less its edges, follow each other without gaps or
// overlaps, and page buttons are set off from the members by a separator.
TEST(PopupGeometry, SweepKeepsTheListOnScreenAndItsRowsApart) {
  for (const auto& [width, height] :
       {std::pair{800, 600}, std::pair{1024, 768}, std::pair{1920, 1080}, std::pair{3840, 2160},
        std::pair{1080, 1920}}) {
    for (const int iconCount : {8, 24, 36}) {
      const RingGeometry g = Ring(width, height, iconCount);
      const int perPage = PopupRowsFor(g.metrics.H);
      for (int slot = 0; slot <= iconCount; ++slot) {
        for (const int count : {1, perPage - 1, perPage, perPage + 1, 2 * perPage - 1, 1024}) {
          const PopupLayout p = LayOutPopup(g, slot, count, perPage);
          SCOPED_TRACE(testing::Message() << width << "x" << height << " K" << iconCount << " slot "
                                          << slot << " count " << count);
          ASSERT_TRUE(p.left >= 0 && p.top >= 0 && p.left + p.width <= g.metrics.W &&
                      p.top + p.height <= g.metrics.H);
          ASSERT_EQ(p.paging, count > perPage);
          const int first = p.paging ? 0 : 1, last = p.paging ? p.rows + 1 : p.rows;
          for (int r = first; r <= last; ++r) {
            const PixelRect& row = p.rowRects[static_cast<std::size_t>(r)];
            ASSERT_EQ(row.left, p.left + 10);
            ASSERT_EQ(row.width, 248);
            ASSERT_TRUE(row.top >= p.top && row.bottom() <= p.top + p.height) << r;
            const int gap = (p.paging && (r == 1 || r == p.rows + 1)) ? 5 : 0;
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
