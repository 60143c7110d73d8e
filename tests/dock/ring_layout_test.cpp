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

// Rings from the smallest to the largest, centred and pushed against the window's edge:
// the expanded area holds what the ring draws inside the window, and the claims put the
// disc and titles on their tiles and each slot in the ring, within that area.
TEST(RingLayout, TheAreaHoldsTheRingAndTheClaimsDivideIt) {
  for (const auto& [w, h, n, mag, r, k] :
       {std::tuple{1920, 1080, 48, 64, 300, 24}, std::tuple{1920, 1080, 64, 128, 420, 36},
        std::tuple{1920, 1080, 32, 48, 150, 8}, std::tuple{1024, 768, 64, 128, 300, 36},
        std::tuple{800, 600, 48, 96, 250, 12}}) {
    const RingGeometry g = ComputeRing(RingMetrics{w, h, w / 2, h / 2, 190, 128, n, mag, r, k});
    SCOPED_TRACE(testing::Message() << w << " M " << mag << " R " << r << " K " << k);
    const PixelRect window{0, 0, w, h};
    const PixelRect titles = TitleArea(g, {});
    const PixelRect area = ExpandedArea(g, titles);
    const auto inArea = [&](const PixelRect& rect) {
      return Contains(area, Intersection(rect, window));
    };
    EXPECT_TRUE(Contains(window, area) && inArea(CentreKeyArea(g)) && inArea(titles));
    for (int i = 0; i <= k; ++i) {
      const RingSlot& s = g.slots[static_cast<std::size_t>(i)];
      EXPECT_TRUE(inArea(s.magSquare()) && inArea(s.normalSquare())) << i;
      EXPECT_TRUE(i == 0 || inArea(HotkeyArea(g, i))) << i;
    }
    const PixelRect wide{-10, TitleTop(g.metrics), w + 20, 30};  // widens up to the edges
    EXPECT_TRUE(Contains(ExpandedArea(g, wide), Intersection(wide, window)));
    // The "~" sits above the disc, the titles below it, both centred on the ring.
    const PixelRect key = CentreKeyArea(g);
    EXPECT_TRUE(key.bottom() <= g.slots[0].magSquare().top + 4 &&
                titles.top == TitleTop(g.metrics));
    EXPECT_EQ((std::pair{key.left + key.width / 2, titles.left + titles.width / 2}),
              (std::pair{w / 2, w / 2}));

    const RingClaims claims = ClaimRingTiles(g, area, titles);
    ASSERT_EQ(claims.ring.magnified.size(), static_cast<std::size_t>(k));
    int count[4] = {};  // centre, title, ring, other
    for (const TileClaim& claim : claims.claims)
      ++count[claim.group == kCentreGroup       ? 0
              : claim.group == kTitleGroup      ? 1
              : claim.group == TileClaim::kRing ? 2
                                                : 3];
    EXPECT_TRUE(count[0] == 2 && count[1] == 1 && count[3] == 0) << "disc, \"~\", titles";
    EXPECT_GE(count[2], 2 * k) << "each slot's squares and hotkey at least";
    EXPECT_EQ(claims.claims.front().group, kCentreGroup);
    EXPECT_EQ(claims.claims.front().rect, g.slots[0].magSquare());
    // Only the fade pictures (a frame grows the area for them) may lie outside it.
    for (std::size_t i = 0; i < 3 + 2 * static_cast<std::size_t>(k); ++i)
      EXPECT_TRUE(inArea(claims.claims[i].rect)) << i;
    if (k != 24) continue;
    const PixelRect corner{0, 0, 60, 60};  // the collapsed disc away from the ring: one window
    const RingClaims collapsed = ClaimRingTiles(g, corner, titles);
    ASSERT_EQ(collapsed.claims.size(), 1u);
    EXPECT_TRUE(collapsed.claims[0].rect == corner && collapsed.claims[0].group == kCentreGroup);
    EXPECT_TRUE(collapsed.ring.magnified.empty());
  }
}

TEST(RingLayout, TitlesTakeTheirMeasuredBoxesAndTheDefaultBoxOtherwise) {
  const RingGeometry g = ComputeRing(RingMetrics{1920, 1080, 960, 540, 190, 128, 48, 64, 300, 24});
  const int top = TitleTop(g.metrics);
  const PixelRect fallback = UnmeasuredTitleBox(g.metrics);
  EXPECT_EQ(fallback.top, top);
  EXPECT_EQ(TitleArea(g, {}), fallback);
  std::vector<std::optional<PixelRect>> measured(25);
  EXPECT_EQ(TitleArea(g, measured), fallback);
  // One wide title widens the area; a narrow one inside the default box changes nothing.
  measured[5] = PixelRect{960 - 300, top, 600, 20};
  measured[6] = PixelRect{960 - 10, top, 20, 10};
  EXPECT_EQ(TitleArea(g, measured), Union(fallback, *measured[5]));
  // Every title measured: the default box plays no part, nor do slots beyond the ring.
  const PixelRect each{960 - 20, top, 40, 18};
  for (auto& box : measured) box = each;
  measured.push_back(PixelRect{0, 0, 1920, 1080});
  EXPECT_EQ(TitleArea(g, measured), each);
}

}  // namespace
}  // namespace kivo
