#include "render/tile_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>

#include "dock/ring_layout.h"

namespace kivo {
namespace {

// The ring laid out as the dock lays it out, over its expanded area (titles unmeasured)
// and a corner of spare tiles beside it.
struct RingLayout {
  TileLayout layout;
  RingSectors sectors;
  std::vector<PixelRect> magnified;
};

RingLayout LayOut(const RingGeometry& g) {
  const PixelRect titles = TitleArea(g, {});
  PixelRect area = ExpandedArea(g, titles);
  area = Union(area, PixelRect{area.left - 40, area.top - 40, 10, 10});  // room for spares
  RingClaims claims = ClaimRingTiles(g, area, titles);
  RingLayout result{{}, {}, claims.ring.magnified};
  const TileLayoutBuilder builder(area, claims.claims, std::move(claims.ring));
  result.sectors = builder.ChooseSectors();
  result.layout = builder.Build(result.sectors);
  return result;
}

TEST(TileLayout, EveryPixelHasOneTileAcrossRings) {
  // The default ring, a full ring of large icons, a small ring of eight, and a ring pushed
  // against the window's edges.
  for (const auto& [w, h, n, mag, r, k] :
       {std::tuple{1920, 1080, 48, 64, 300, 24}, std::tuple{1920, 1080, 64, 128, 420, 36},
        std::tuple{1920, 1080, 32, 48, 150, 8}, std::tuple{1024, 768, 64, 128, 300, 36}}) {
    SCOPED_TRACE(testing::Message() << w << " N " << n << " M " << mag << " R " << r << " K " << k);
    const RingGeometry g = ComputeRing(RingMetrics{w, h, w / 2, h / 2, 190, 128, n, mag, r, k});
    const RingLayout ring = LayOut(g);
    const TileLayout& layout = ring.layout;
    EXPECT_TRUE(ring.sectors.count >= 1 && ring.sectors.count <= k);
    // Each tile's window is exactly the bounding box of the pixels it owns.
    std::vector<std::array<int, 4>> owned(layout.tiles.size(),
                                          {INT_MAX, INT_MAX, INT_MIN, INT_MIN});
    for (int y = layout.area.top; y < layout.area.bottom(); ++y) {
      for (int x = layout.area.left; x < layout.area.right(); ++x) {
        const std::uint16_t tile = layout.OwnerAt(x, y);
        ASSERT_LT(tile, layout.tiles.size());
        auto& [left, top, right, bottom] = owned[tile];
        left = std::min(left, x), top = std::min(top, y);
        right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
      }
    }
    for (std::size_t i = 0; i < owned.size(); ++i) {
      const auto& [left, top, right, bottom] = owned[i];
      EXPECT_EQ((PixelRect{left, top, right - left, bottom - top}), layout.tiles[i]) << i;
    }
    EXPECT_EQ(layout.OwnerAt(g.metrics.cx, g.metrics.cy), 0) << "the disc is tile 0";
    // The area holds all the ring draws: each slot's squares and hotkey, the "~" and the titles.
    std::vector<PixelRect> drawn{CentreKeyArea(g), TitleArea(g, {})};
    for (int i = 0; i <= k; ++i) {
      drawn.insert(drawn.end(), {g.slots[static_cast<std::size_t>(i)].magSquare(),
                                 g.slots[static_cast<std::size_t>(i)].normalSquare()});
      if (i > 0) drawn.push_back(HotkeyArea(g, i));
    }
    for (const PixelRect& rect : drawn) {
      const PixelRect seen = Intersection(rect, PixelRect{0, 0, w, h});
      EXPECT_TRUE(seen.empty() || Union(layout.area, seen) == layout.area);
    }
    EXPECT_EQ(ring.magnified.size(), static_cast<std::size_t>(k));
  }
}

}  // namespace
}  // namespace kivo
