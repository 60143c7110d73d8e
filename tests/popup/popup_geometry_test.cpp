#include "popup/popup_geometry.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(PopupGeometry, RowsPerPageAndModes) {
  EXPECT_EQ(PopupRowsFor(728), 16);
  EXPECT_EQ(PopupRowsFor(1040), 18);
  EXPECT_EQ(PopupRowsFor(113), 1);  // never no row at all
  EXPECT_FALSE(PopupPages(16, 16));
  EXPECT_TRUE(PopupPages(17, 16));
  EXPECT_EQ(PopupHeight(16, 16), 16 * 38 + 20);
  EXPECT_EQ(PopupHeight(17, 16), 16 * 38 + 80);
}

TEST(PopupGeometry, OpensBesideItsSlot) {
  const RingGeometry g = Ring(1920, 1080, 8);
  const RingMetrics& m = g.metrics;
  const PopupLayout centre = LayOutPopup(g, 0, 5, 18);
  EXPECT_EQ(centre.left, m.cx + 72);
  EXPECT_EQ(centre.top, m.cy - (5 * 38 + 20) / 2);
  const PopupLayout right = LayOutPopup(g, 1, 5, 18);  // slot 1 lies right of the centre
  EXPECT_EQ(right.left, g.slots[1].normalLeft + m.N);
  const PopupLayout left = LayOutPopup(g, 5, 5, 18);  // slot 5 lies left of it
  EXPECT_EQ(left.left, g.slots[5].normalLeft - 268);

  // A slot centred exactly 2 pixels left of the centre opens to the left; 1 pixel, right.
  RingGeometry moved = g;
  for (const int offset : {2, 1}) {
    RingSlot& s = moved.slots[3];
    s.normalLeft = m.cx - offset - m.N / 2;
    const PopupLayout layout = LayOutPopup(moved, 3, 5, 18);
    EXPECT_EQ(layout.left, offset == 2 ? s.normalLeft - 268 : s.normalLeft + m.N) << offset;
  }
}

// Over screens, ring sizes, every slot and member counts around a page: the list lies in
// the window, rows are the list's width less its edges, follow each other without gaps or
// overlaps, and never overlap the page buttons.
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
          const std::string where = std::to_string(width) + "x" + std::to_string(height) + " K" +
                                    std::to_string(iconCount) + " slot " + std::to_string(slot) +
                                    " count " + std::to_string(count);
          ASSERT_GE(p.left, 0) << where;
          ASSERT_GE(p.top, 0) << where;
          ASSERT_LE(p.left + p.width, g.metrics.W) << where;
          ASSERT_LE(p.top + p.height, g.metrics.H) << where;
          ASSERT_EQ(p.paging, count > perPage) << where;
          const int first = p.paging ? 0 : 1;
          const int last = p.paging ? p.rows + 1 : p.rows;
          for (int r = first; r <= last; ++r) {
            const PixelRect& row = p.rowRects[static_cast<std::size_t>(r)];
            ASSERT_EQ(row.left, p.left + 10) << where;
            ASSERT_EQ(row.width, 248) << where;
            ASSERT_GE(row.top, p.top) << where;
            ASSERT_LE(row.bottom(), p.top + p.height) << where;
            if (r > first) {
              const PixelRect& above = p.rowRects[static_cast<std::size_t>(r - 1)];
              // Member rows touch; a page button is set off from them by a separator.
              const int gap = (p.paging && (r == 1 || r == p.rows + 1)) ? 5 : 0;
              ASSERT_EQ(row.top, above.bottom() + gap) << where << " row " << r;
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kivo
