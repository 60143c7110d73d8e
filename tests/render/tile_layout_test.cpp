#include "render/tile_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <set>
#include <tuple>

#include "dock/ring_geometry.h"
#include "dock/ring_layout.h"
#include "render/display_list.h"

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

TEST(TileLayout, EveryPixelHasOneTileAndAHoverTouchesFewAcrossRings) {
  // The default ring, a full ring of large icons and a small ring of eight.
  for (const auto& [n, mag, r, k] :
       {std::tuple{48, 64, 300, 24}, std::tuple{64, 128, 420, 36}, std::tuple{32, 48, 150, 8}}) {
    SCOPED_TRACE(testing::Message() << "N " << n << " M " << mag << " R " << r << " K " << k);
    const RingGeometry g = ComputeRing(RingMetrics{1920, 1080, 960, 540, 190, 128, n, mag, r, k});
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
    // A pointer moving to the next slot changes two magnified squares: they lie on a few
    // of the tiles.
    std::size_t most = 0;
    long long largest = 0;  // pixels of the windows a hover presents
    for (std::size_t i = 0; i < ring.magnified.size(); ++i) {
      std::set<std::uint16_t> touched;
      const PixelRect pair[] = {ring.magnified[i], ring.magnified[(i + 1) % ring.magnified.size()]};
      ForEachOwnedRun(layout, pair, [&](std::uint16_t t, int, int, int) { touched.insert(t); });
      long long pixels = 0;
      for (const std::uint16_t t : touched)
        pixels += 1LL * layout.tiles[t].width * layout.tiles[t].height;
      most = std::max(most, touched.size()), largest = std::max(largest, pixels);
    }
    EXPECT_LE(most, 3u);
    EXPECT_LT(largest * 2, static_cast<long long>(layout.area.width) * layout.area.height)
        << "a hover presents a small part of the ring";
  }
}

}  // namespace
}  // namespace kivo
