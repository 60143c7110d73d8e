#include "dock/ring_layout.h"

#include <algorithm>

#include "core/text.h"

namespace kivo {

PixelRect HotkeyArea(const RingGeometry& geometry, int slot) {
  const RingMetrics& m = geometry.metrics;
  const RingSlot& s = geometry.slots[static_cast<std::size_t>(std::clamp(slot, 0, kMaxSlot))];
  const int half = Scaled(m, 16);
  return PixelRect{m.cx + s.labelX - half, m.cy + s.labelY - half, 2 * half,
                   Scaled(m, kHotkeyTextHeight) + half};
}

PixelRect CentreKeyArea(const RingGeometry& geometry) {
  const RingMetrics& m = geometry.metrics;
  const int half = Scaled(m, 16);
  return PixelRect{m.cx - half, m.cy - HalveRoundEven(m.D) - Scaled(m, 24), 2 * half,
                   Scaled(m, 28)};
}

int TitleTop(const RingMetrics& metrics) {
  return metrics.cy + HalveRoundEven(metrics.D);
}

PixelRect UnmeasuredTitleBox(const RingMetrics& metrics) {
  const int half = Scaled(metrics, 64);
  return PixelRect{metrics.cx - half, TitleTop(metrics), 2 * half,
                   Scaled(metrics, kHotkeyTextHeight + 4)};
}

PixelRect TitleArea(const RingGeometry& geometry,
                    std::span<const std::optional<PixelRect>> measured) {
  const RingMetrics& m = geometry.metrics;
  PixelRect area;
  for (int i = 0; i <= m.K; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const bool known = index < measured.size() && measured[index].has_value();
    area = Union(area, known ? *measured[index] : UnmeasuredTitleBox(m));
  }
  return area;
}

PixelRect ExpandedArea(const RingGeometry& geometry, const PixelRect& titleArea) {
  const RingMetrics& m = geometry.metrics;
  const int slots = std::clamp(m.K, 0, kMaxSlot);
  PixelRect area = geometry.slots[0].magSquare();
  for (int i = 1; i <= slots; ++i) {
    area = Union(area, geometry.slots[static_cast<std::size_t>(i)].magSquare());
    area = Union(area, HotkeyArea(geometry, i));
  }
  area = Union(area, titleArea);
  area = Union(area, CentreKeyArea(geometry));
  return Intersection(area, PixelRect{0, 0, m.W, m.H});
}

RingClaims ClaimRingTiles(const RingGeometry& geometry, const PixelRect& area,
                          const PixelRect& titleArea) {
  const RingMetrics& m = geometry.metrics;
  RingClaims result{{}, RingPieces{m.cx, m.cy, {}}};
  std::vector<TileClaim>& claims = result.claims;
  const PixelRect disc = geometry.slots[0].magSquare();
  if (Intersection(disc, area).empty()) {
    // Only the collapsed disc, away from the ring's centre: one window is enough.
    claims.push_back({area, kCentreGroup});
    return result;
  }
  // The disc changes only with the centre icon, the title with every hover, a slot when it
  // is magnified or back at rest: each on windows of their own. A slot's hotkey character
  // and its largest fade picture stay with its sector.
  claims.push_back({disc, kCentreGroup});
  claims.push_back({CentreKeyArea(geometry), kCentreGroup});
  claims.push_back({titleArea, kTitleGroup});
  const int slots = std::clamp(m.K, 0, kMaxSlot);
  for (int i = 1; i <= slots; ++i) {
    const RingSlot& s = geometry.slots[static_cast<std::size_t>(i)];
    result.ring.magnified.push_back(s.magSquare());
    claims.push_back({Union(s.magSquare(), s.normalSquare()), TileClaim::kRing});
  }
  for (int i = 1; i <= slots; ++i) claims.push_back({HotkeyArea(geometry, i), TileClaim::kRing});
  for (int i = 1; i <= slots; ++i) {
    for (const PixelRect& picture : geometry.fadeFrames[static_cast<std::size_t>(i)]) {
      claims.push_back({picture, TileClaim::kRing});
    }
  }
  return result;
}

}  // namespace kivo
