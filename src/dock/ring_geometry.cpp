#include "dock/ring_geometry.h"

#include <algorithm>
#include <cmath>

#include "core/text.h"

namespace kivo {
namespace {

// Pi as the ring's angles take it; the slot table is defined with this value, to the pixel.
constexpr double kPi = 3.1415926;

constexpr int kMinIconSize = 16;
constexpr int kDefaultIconSize = 48;
constexpr int kMagnifyStep = 16;
constexpr int kMinRadius = 200;
constexpr int kMaxDefaultRadius = 300;
constexpr int kRadiusMargin = 80;  // room between the ring and the window's edge
constexpr int kDefaultSlotCount = 20;
constexpr int kSmallVariantSize = 32;
constexpr int kDiscMargin = 2;
constexpr int kLabelGap = 3;

bool IsValidSlotCount(int count) {
  return count >= 8 && count <= kMaxSlot && count % 4 == 0;
}

// Left or top edge of a square of `size` centred on `centre`. An odd size puts the edge
// on a half pixel; that half goes to the even neighbour.
int CentredEdge(int centre, int size) {
  return RoundHalfEven(centre - size / 2.0);
}

}  // namespace

RingMetrics MakeRingMetrics(const ScreenInfo& screen, const Settings& settings) {
  RingMetrics m;
  m.Dpi = screen.Dpi > 0 ? screen.Dpi : 96;
  m.W = screen.ScreenWidth;
  m.H = screen.ScreenHeight;
  m.cx = HalveRoundEven(m.W);
  m.cy = HalveRoundEven(m.H);
  m.D = Scaled(m, kDiscSize);
  m.C = Scaled(m, kCentreIconSize);

  // The size settings are checked at 96 dpi, where the settings dialog shows them.
  const int normal = settings.IconSize >= kMinIconSize && settings.IconSize <= kCentreIconSize
                         ? settings.IconSize
                         : kDefaultIconSize;
  const int magnified =
      settings.MagnifiedSize >= normal && settings.MagnifiedSize <= kCentreIconSize
          ? settings.MagnifiedSize
          : std::min(normal + kMagnifyStep, kCentreIconSize);
  m.N = Scaled(m, normal);
  m.M = Scaled(m, magnified);

  // The radius is bounded by the window's narrower side: bounding it by the height alone
  // would put slots beyond the left and right edges of a portrait screen.
  const int maxRadius = std::min(m.cx, m.cy) - Scaled(m, kRadiusMargin);
  const int defaultRadius = std::max(0, std::min(maxRadius, Scaled(m, kMaxDefaultRadius)));
  // The setting is checked at 96 dpi, as the settings dialog bounds it.
  const int logicalMax = UnscaleFromDpi(std::min(m.cx, m.cy), m.Dpi) - kRadiusMargin;
  m.R = settings.RingRadius >= kMinRadius && settings.RingRadius <= logicalMax
            ? Scaled(m, settings.RingRadius)
            : defaultRadius;

  m.K = IsValidSlotCount(settings.IconCount) ? settings.IconCount : kDefaultSlotCount;
  return m;
}

RingGeometry ComputeRing(const RingMetrics& m) {
  RingGeometry g;
  g.metrics = m;

  RingSlot& centre = g.slots[0];
  centre.normalSize = m.C;
  centre.normalLeft = CentredEdge(m.cx, m.C);
  centre.normalTop = CentredEdge(m.cy, m.C);
  centre.magSize = m.D;
  centre.magLeft = CentredEdge(m.cx, m.D);
  centre.magTop = CentredEdge(m.cy, m.D);
  centre.labelX = m.cx;
  centre.labelY = m.cy + HalveRoundEven(m.D);

  // Hotkey characters sit just outside the magnified square's corner circle, so a
  // magnified icon never covers its own character.
  const double halfMag = m.M / 2.0;
  const double labelRadius =
      m.R + std::sqrt(halfMag * halfMag + halfMag * halfMag) + Scaled(m, kLabelGap);

  const int count = std::clamp(m.K, 0, kMaxSlot);
  const double step = count > 0 ? 360.0 / count : 0.0;
  for (int i = 1; i <= count; ++i) {
    const double theta = (i - 1) * step * kPi / 180.0;
    const double cosine = std::cos(theta);
    const double sine = std::sin(theta);
    const int px = RoundHalfEven(cosine * m.R + m.cx);
    const int py = RoundHalfEven(sine * m.R + m.cy);

    RingSlot& slot = g.slots[static_cast<std::size_t>(i)];
    slot.normalSize = m.N;
    slot.normalLeft = CentredEdge(px, m.N);
    slot.normalTop = CentredEdge(py, m.N);
    slot.magSize = m.M;
    slot.magLeft = CentredEdge(px, m.M);
    slot.magTop = CentredEdge(py, m.M);
    slot.labelX = RoundHalfEven(labelRadius * cosine);
    slot.labelY = RoundHalfEven(labelRadius * sine);

    auto& frames = g.fadeFrames[static_cast<std::size_t>(i)];
    for (int k = 1; k <= kFadeFrames; ++k) {
      const int size = VariantSize(m, k);
      frames[static_cast<std::size_t>(k)] = {CentredEdge(px, size), CentredEdge(py, size), size,
                                             size};
    }
  }
  return g;
}

int VariantSize(const RingMetrics& metrics, int variant) {
  switch (variant) {
    case 1:
      return metrics.N;
    case 2:
      return metrics.M;
    case 3:
      return metrics.C;
    case 4:
      return Scaled(metrics, kSmallVariantSize);
    default:
      return 0;
  }
}

DiscPosition CollapsedDiscPosition(const RingMetrics& m, int index) {
  const int centreLeft = CentredEdge(m.cx, m.D);
  const int centreTop = CentredEdge(m.cy, m.D);
  const int margin = Scaled(m, kDiscMargin);
  const int right = m.W - m.D - margin;
  const int bottom = m.H - m.D - margin;
  static constexpr int kCentre = 0, kNear = 1, kFar = 2;
  // Per index: where the disc sits horizontally and vertically.
  static constexpr int kPlacement[9][2] = {
      {kCentre, kCentre}, {kCentre, kNear}, {kCentre, kFar}, {kNear, kCentre}, {kFar, kCentre},
      {kNear, kNear},     {kFar, kNear},    {kNear, kFar},   {kFar, kFar},
  };
  const int row = index >= 0 && index <= 8 ? index : 0;
  const auto pick = [margin](int where, int centred, int far) {
    return where == kCentre ? centred : where == kNear ? margin : far;
  };
  DiscPosition p;
  p.discLeft = pick(kPlacement[row][0], centreLeft, right);
  p.discTop = pick(kPlacement[row][1], centreTop, bottom);
  const int inset = (m.D - m.C) / 2;
  p.iconLeft = p.discLeft + inset;
  p.iconTop = p.discTop + inset;
  return p;
}

int HitTest(const RingGeometry& geometry, int x, int y) {
  const int count = std::clamp(geometry.metrics.K, 0, kMaxSlot);
  for (int i = 0; i <= count; ++i) {
    const RingSlot& s = geometry.slots[static_cast<std::size_t>(i)];
    if (s.normalLeft <= x && x < s.normalLeft + s.normalSize && s.normalTop < y &&
        y < s.normalTop + s.normalSize) {
      return i;
    }
  }
  return -1;
}

std::string_view HotkeyCharacter(int slot) {
  static constexpr std::string_view kCharacters = "~0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  if (slot < 0 || slot > kMaxSlot) return {};
  return kCharacters.substr(static_cast<std::size_t>(slot), 1);
}

}  // namespace kivo
