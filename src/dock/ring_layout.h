// Where the ring's picture can draw and how it is divided among the dock's windows: the
// expanded area, the hotkey characters, the "~" above the disc, the titles below it, and
// the claims that give the disc, the titles and each slot's sector windows of their own.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "dock/ring_geometry.h"
#include "render/canvas.h"
#include "render/display_list.h"
#include "render/tile_layout.h"

namespace kivo {

// Room for a hotkey character below its anchor, at 96 dpi.
inline constexpr int kHotkeyTextHeight = 24;
// The claims' groups: the disc (and its "~") shows on the main ring window, which is tile 0;
// the titles, which change with every hover, on a tile of their own.
inline constexpr int kCentreGroup = 0;
inline constexpr int kTitleGroup = 1;

// Where slot `slot`'s (1..K) hotkey character can draw.
PixelRect HotkeyArea(const RingGeometry& geometry, int slot);
// Where the "~" above the centre disc can draw.
PixelRect CentreKeyArea(const RingGeometry& geometry);
// The top of the titles under the disc, where they are measured.
int TitleTop(const RingMetrics& metrics);
// The box assumed for a title that was not measured (no name, or nothing to measure on).
PixelRect UnmeasuredTitleBox(const RingMetrics& metrics);
// Where the titles of slots 0..K can draw: `measured[i]` is the box of slot i's title as
// drawn at TitleTop, or nothing when it was not measured (missing entries count so too).
PixelRect TitleArea(const RingGeometry& geometry,
                    std::span<const std::optional<PixelRect>> measured);
// Everything the expanded ring can draw: slots magnified, their hotkey characters, the
// centre, the "~" and `titleArea`, inside the window.
PixelRect ExpandedArea(const RingGeometry& geometry, const PixelRect& titleArea);

// Which window shows which part of `area`, as claims for a TileLayoutBuilder.
struct RingClaims {
  std::vector<TileClaim> claims;
  RingPieces ring;  // no magnified squares when only the collapsed disc is in the area
};
RingClaims ClaimRingTiles(const RingGeometry& geometry, const PixelRect& area,
                          const PixelRect& titleArea);

}  // namespace kivo
