#include "dock/ring_layout.h"

#include <gtest/gtest.h>

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
    EXPECT_TRUE(claims.claims.front().group == kCentreGroup &&
                claims.claims.front().rect == g.slots[0].magSquare());
    // Only the fade pictures (a frame grows the area for them) may lie outside it.
    for (std::size_t i = 0; i < 3 + 2 * static_cast<std::size_t>(k); ++i)
      EXPECT_TRUE(inArea(claims.claims[i].rect)) << i;
  }
}

}  // namespace
}  // namespace kivo
