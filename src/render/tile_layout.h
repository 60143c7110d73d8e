// The ring's picture shared among several small layered windows ("tiles"). Under Wine a
// layered window costs about the same to present whatever part of it changed: a fixed
// amount per window plus an amount for every pixel of the whole window. With the picture
// split up, a frame presents only the few small windows whose pixels changed.
//
// Every pixel of the area belongs to exactly one tile. A tile's window is the bounding box
// of the pixels it owns; boxes of neighbouring tiles may overlap, but a window shows only
// the pixels it owns and is transparent elsewhere, so together the windows show exactly
// what one window over the whole area would.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "render/canvas.h"

namespace kivo {

struct TileLayout {
  PixelRect area;                    // client coordinates
  std::vector<PixelRect> tiles;      // each tile's window, client coordinates
  std::vector<std::uint16_t> owner;  // per pixel of `area`, row by row: the tile owning it

  std::uint16_t OwnerAt(int x, int y) const {  // client coordinates inside `area`
    return owner[static_cast<std::size_t>(y - area.top) * static_cast<std::size_t>(area.width) +
                 static_cast<std::size_t>(x - area.left)];
  }
};

// A part of the picture and the tile that owns its pixels. Claims are taken in order: a
// pixel belongs to the first claim covering it.
struct TileClaim {
  static constexpr int kRing = -1;  // the ring sector the pixel's angle falls in
  PixelRect rect;
  int group = 0;  // 0 and up: a tile of its own, shared by the claims naming the same group
};

// Ring sectors: `count` equal angles around the ring's centre, the first starting at
// `start` (radians, measured like the slots' angles: clockwise on the screen from the
// right).
struct RingSectors {
  double start = 0;
  int count = 1;
  friend bool operator==(const RingSectors&, const RingSectors&) = default;
};

// The ring as the layout needs it: its centre and the square each slot covers when
// magnified, slot 1 first, in ring order. A pointer moving from a slot to the next one
// changes exactly those two squares.
struct RingPieces {
  int cx = 0, cy = 0;
  std::vector<PixelRect> magnified;
};

// Pixels no claim covers go to spare tiles of this size (larger on very large areas),
// which stay windowless until something is drawn on them (a dragged icon, say).
inline constexpr int kSpareTileSize = 128;

class TileLayoutBuilder {
 public:
  TileLayoutBuilder(const PixelRect& area, const std::vector<TileClaim>& claims, RingPieces ring);

  // The layout for the given sectors. Tile 0 is group 0's (when it owns any pixel); then
  // come the other groups, the spare tiles and the ring sectors.
  TileLayout Build(const RingSectors& sectors) const;

  // The sectors for which a pointer moving round the ring from slot to slot presents the
  // least, by the cost of presenting windows under Wine: sectors of one to six slots, with
  // their edges through slot centres or between slots.
  RingSectors ChooseSectors() const;
  // The sectors ChooseSectors weighs, in the order it weighs them (the first of equal cost
  // wins).
  std::vector<RingSectors> SectorCandidates() const;
  // HoverCost of each of `candidates`, the same numbers found in one pass over the ring's
  // pixels instead of one per candidate (the dock waits for this before its first frame).
  std::vector<long long> HoverCosts(const std::vector<RingSectors>& candidates) const;

  // What presenting the windows that change when the pointer moves from each slot to the
  // next costs, summed round the ring, in pixels (a window's fixed cost counted as
  // kWindowCostInPixels).
  long long HoverCost(const RingSectors& sectors) const;

  // The fixed cost of presenting a layered window under Wine 8 (about 0.9 ms) in units of
  // the cost of one of its pixels (about 25 ns with the ring's shapes).
  static constexpr long long kWindowCostInPixels = 36000;

 private:
  static constexpr std::uint16_t kRingPixel = 0xFFFF;

  // Calls `visit(pixel, sector)` for every pixel a ring claim took.
  template <typename Visit>
  void ForEachRingPixel(const RingSectors& sectors, Visit&& visit) const;

  PixelRect area_;
  RingPieces ring_;
  int spareSize_ = kSpareTileSize;
  int sectorBase_ = 0;               // the first sector's key
  std::vector<std::uint16_t> keys_;  // per pixel: its group or spare tile, or kRingPixel
  std::vector<PixelRect> keyBoxes_;  // bounds of the pixels of each group and spare tile
};

// The rectangles `rects` (client coordinates) as runs of pixels per tile: calls
// `run(tile, y, left, right)` for each piece of a row that one tile owns.
template <typename Run>
void ForEachOwnedRun(const TileLayout& layout, std::span<const PixelRect> rects, Run&& run) {
  for (const PixelRect& rect : rects) {
    const int left = std::max(rect.left, layout.area.left);
    const int right = std::min(rect.right(), layout.area.right());
    const int top = std::max(rect.top, layout.area.top);
    const int bottom = std::min(rect.bottom(), layout.area.bottom());
    for (int y = top; y < bottom; ++y) {
      int x = left;
      while (x < right) {
        const std::uint16_t tile = layout.OwnerAt(x, y);
        int end = x + 1;
        while (end < right && layout.OwnerAt(end, y) == tile) ++end;
        run(tile, y, x, end);
        x = end;
      }
    }
  }
}

}  // namespace kivo
