#include "dock/ring_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace kivo {
namespace {

bool Contains(const PixelRect& outer, const PixelRect& inner) {
  return inner.empty() || Intersection(outer, inner) == inner;
}

// Rings from the smallest to the largest, centred and pushed against the window's edge.
std::vector<RingGeometry> Rings() {
  std::vector<RingGeometry> rings;
  for (const auto& [w, h, n, m, r, k] :
       {std::tuple{1920, 1080, 48, 64, 300, 24}, std::tuple{1920, 1080, 64, 128, 420, 36},
        std::tuple{1920, 1080, 32, 48, 150, 8}, std::tuple{1024, 768, 64, 128, 300, 36},
        std::tuple{800, 600, 48, 96, 250, 12}}) {
    rings.push_back(ComputeRing(RingMetrics{w, h, w / 2, h / 2, 190, 128, n, m, r, k}));
  }
  return rings;
}

TEST(RingLayout, TheExpandedAreaHoldsEverythingTheRingDrawsInsideTheWindow) {
  for (const RingGeometry& g : Rings()) {
    const RingMetrics& m = g.metrics;
    SCOPED_TRACE(testing::Message() << "W " << m.W << " M " << m.M << " R " << m.R << " K " << m.K);
    const PixelRect window{0, 0, m.W, m.H};
    const PixelRect titles = TitleArea(g, {});
    const PixelRect area = ExpandedArea(g, titles);
    EXPECT_TRUE(Contains(window, area));
    EXPECT_TRUE(Contains(area, Intersection(g.slots[0].magSquare(), window)));
    EXPECT_TRUE(Contains(area, Intersection(CentreKeyArea(g), window)));
    EXPECT_TRUE(Contains(area, Intersection(titles, window)));
    for (int i = 1; i <= m.K; ++i) {
      const RingSlot& s = g.slots[static_cast<std::size_t>(i)];
      EXPECT_TRUE(Contains(area, Intersection(s.magSquare(), window))) << i;
      EXPECT_TRUE(Contains(area, Intersection(s.normalSquare(), window))) << i;
      EXPECT_TRUE(Contains(area, Intersection(HotkeyArea(g, i), window))) << i;
    }
    // A title wider than the ring widens the area, up to the window's edges.
    const PixelRect wide{-10, TitleTop(m), m.W + 20, 30};
    EXPECT_TRUE(Contains(ExpandedArea(g, wide), Intersection(wide, window)));
    // The "~" sits above the disc, the titles below it, both centred on the ring.
    EXPECT_LE(CentreKeyArea(g).bottom(), g.slots[0].magSquare().top + 4);
    EXPECT_EQ(titles.top, TitleTop(m));
    EXPECT_EQ(CentreKeyArea(g).left + CentreKeyArea(g).width / 2, m.cx);
    EXPECT_EQ(titles.left + titles.width / 2, m.cx);
  }
}

TEST(RingLayout, TitlesTakeTheirMeasuredBoxesAndTheDefaultBoxOtherwise) {
  const RingGeometry g = Rings()[0];
  const RingMetrics& m = g.metrics;
  const PixelRect fallback = UnmeasuredTitleBox(m);
  EXPECT_EQ(fallback.top, TitleTop(m));
  EXPECT_EQ(TitleArea(g, {}), fallback);
  std::vector<std::optional<PixelRect>> measured(static_cast<std::size_t>(m.K + 1));
  EXPECT_EQ(TitleArea(g, measured), fallback);
  // One wide title widens the area; narrow ones inside the default box change nothing.
  const PixelRect wide{m.cx - 300, TitleTop(m), 600, 20};
  measured[5] = wide;
  measured[6] = PixelRect{m.cx - 10, TitleTop(m), 20, 10};
  EXPECT_EQ(TitleArea(g, measured), Union(fallback, wide));
  // When every title is measured, the default box plays no part.
  for (auto& box : measured) box = PixelRect{m.cx - 20, TitleTop(m), 40, 18};
  EXPECT_EQ(TitleArea(g, measured), (PixelRect{m.cx - 20, TitleTop(m), 40, 18}));
  // Titles of slots beyond the ring are not its titles.
  measured.push_back(PixelRect{0, 0, m.W, m.H});
  EXPECT_EQ(TitleArea(g, measured), (PixelRect{m.cx - 20, TitleTop(m), 40, 18}));
}

TEST(RingLayout, ClaimsPutTheDiscAndTitlesOnTheirTilesAndEachSlotInTheRing) {
  for (const RingGeometry& g : Rings()) {
    const RingMetrics& m = g.metrics;
    SCOPED_TRACE(testing::Message() << "W " << m.W << " M " << m.M << " R " << m.R << " K " << m.K);
    const PixelRect titles = TitleArea(g, {});
    const PixelRect area = ExpandedArea(g, titles);
    const RingClaims claims = ClaimRingTiles(g, area, titles);
    EXPECT_EQ(claims.ring.cx, m.cx);
    EXPECT_EQ(claims.ring.cy, m.cy);
    ASSERT_EQ(claims.ring.magnified.size(), static_cast<std::size_t>(m.K));
    int centre = 0, title = 0, ring = 0;
    for (const TileClaim& claim : claims.claims) {
      centre += claim.group == kCentreGroup;
      title += claim.group == kTitleGroup;
      ring += claim.group == TileClaim::kRing;
      EXPECT_TRUE(claim.group == kCentreGroup || claim.group == kTitleGroup ||
                  claim.group == TileClaim::kRing);
    }
    EXPECT_EQ(centre, 2) << "the disc and its \"~\"";
    EXPECT_EQ(title, 1);
    EXPECT_GE(ring, 2 * m.K) << "each slot's squares and hotkey at least";
    // The disc's centre is claimed by the centre tile before anything else.
    EXPECT_EQ(claims.claims.front().group, kCentreGroup);
    EXPECT_EQ(claims.claims.front().rect, g.slots[0].magSquare());
    // The claims other than the fade pictures (which a frame grows the area for when it
    // draws them) lie in the area they divide.
    for (std::size_t i = 0; i < 3 + 2 * static_cast<std::size_t>(m.K); ++i) {
      EXPECT_TRUE(Contains(area, Intersection(claims.claims[i].rect, PixelRect{0, 0, m.W, m.H})))
          << i;
    }
  }
}

TEST(RingLayout, AnAreaAwayFromTheDiscIsOneWindow) {
  const RingGeometry g = Rings()[0];
  const PixelRect corner{0, 0, 60, 60};  // the collapsed disc in a corner
  const RingClaims claims = ClaimRingTiles(g, corner, TitleArea(g, {}));
  ASSERT_EQ(claims.claims.size(), 1u);
  EXPECT_EQ(claims.claims[0].rect, corner);
  EXPECT_EQ(claims.claims[0].group, kCentreGroup);
  EXPECT_TRUE(claims.ring.magnified.empty());
}

}  // namespace
}  // namespace kivo
