#include "dock/ring_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kivo {
namespace {

// A screen of w x h pixels, caption included, at 96 dpi.
ScreenInfo Screen(int w, int h) {
  return MakeScreenInfo(w, h - 23, 23, 96, 96, Rect{0, 0, w, h - 40});
}

RingMetrics Metrics(int n, int m, int r, int k, int w = 1920, int h = 1080) {
  return RingMetrics{w, h, w / 2, h / 2, 190, 128, n, m, r, k};
}

const auto CentreX = [](const RingSlot& s) { return s.normalLeft + s.normalSize / 2.0; };
const auto CentreY = [](const RingSlot& s) { return s.normalTop + s.normalSize / 2.0; };

TEST(RingMetrics, TakesTheSizeSettingsWithTheirRangeChecks) {
  Settings defaults;
  ApplyDefaultSettings(defaults, Screen(1920, 1080));
  EXPECT_EQ(MakeRingMetrics(Screen(1920, 1080), defaults), Metrics(48, 64, 300, 24));

  // Settings: size, magnified size, radius, count; then the expected N, M, R, K.
  const int cases[][8] = {
      {129, 64, 300, 24, 48, 64, 300, 24},   {60, 50, 300, 24, 60, 76, 300, 24},
      {120, 60, 300, 24, 120, 128, 300, 24}, {48, 130, 300, 24, 48, 64, 300, 24},
      {48, 64, 460, 24, 48, 64, 460, 24},    {48, 64, 461, 24, 48, 64, 300, 24},
      {48, 64, 300, 40, 48, 64, 300, 20}};
  for (const auto& c : cases) {
    Settings s = defaults;
    s.IconSize = c[0], s.MagnifiedSize = c[1], s.RingRadius = c[2], s.IconCount = c[3];
    EXPECT_EQ(MakeRingMetrics(Screen(1920, 1080), s), Metrics(c[4], c[5], c[6], c[7]))
        << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
  }

  // The radius must fit the narrower side (600 is within 200 .. 800 - 80 but beyond
  // 450 - 80), and is never negative.
  Settings wide = defaults;
  wide.RingRadius = 600;
  EXPECT_EQ((std::vector{MakeRingMetrics(Screen(900, 1600), wide).R,
                         MakeRingMetrics(Screen(600, 1024), defaults).R,
                         MakeRingMetrics(Screen(200, 120), defaults).R}),
            (std::vector{300, 220, 0}));
}

// Slots go clockwise from the right with y growing down; a slot is hit on its resting
// square only, left edge in and top edge out.
TEST(RingSlots, PlacesHitsAndHotkeys) {
  const RingGeometry g = ComputeRing(Metrics(48, 64, 300, 8));
  EXPECT_EQ(g.slots[0], (RingSlot{896, 476, 128, 865, 445, 190, 960, 635}));
  EXPECT_EQ(g.slots[1], (RingSlot{1236, 516, 48, 1228, 508, 64, 348, 0}));    // (cx + R, cy)
  EXPECT_EQ(g.slots[2], (RingSlot{1148, 728, 48, 1140, 720, 64, 246, 246}));  // 212.13 each way
  EXPECT_EQ(g.slots[9], RingSlot{}) << "entries beyond K stay empty";
  const int hits[][3] = {{1236, 517, 1},  {1235, 517, -1}, {1283, 563, 1}, {1284, 530, -1},
                         {1250, 516, -1}, {1230, 510, -1}, {960, 540, 0}};
  for (const auto& [x, y, slot] : hits) EXPECT_EQ(HitTest(g, x, y), slot) << x << ", " << y;
  const std::pair<int, std::string_view> keys[] = {{0, "~"},  {1, "0"}, {10, "9"}, {11, "A"},
                                                   {36, "Z"}, {37, ""}, {-1, ""}};
  for (const auto& [slot, text] : keys) EXPECT_EQ(HotkeyCharacter(slot), text) << slot;
}

// What must hold for every valid setting (failures after the twentieth not reported);
// returns whether the ring left room to check that resting squares stay apart.
bool CheckRing(const RingMetrics& m, int& failures) {
  const RingGeometry g = ComputeRing(m);
  const auto check = [&](bool ok, int slot, const char* what) {
    if (ok || ++failures > 20) return;
    ADD_FAILURE() << what << ": screen " << m.W << "x" << m.H << " K " << m.K << " N " << m.N
                  << " M " << m.M << " R " << m.R << " slot " << slot;
  };
  const auto inside = [&](const PixelRect& r) {
    return r.left >= 0 && r.top >= 0 && r.right() <= m.W && r.bottom() <= m.H;
  };
  const double slack = m.N % 2 == 0 ? 1.0 : 2.0;
  const auto at = [&](int j, double x, double y) {
    const RingSlot& t = g.slots[static_cast<std::size_t>(j)];
    return std::abs(CentreX(t) - x) <= slack && std::abs(CentreY(t) - y) <= slack;
  };
  const double halfDiagonal = m.M / std::sqrt(2.0);
  const bool labelRoom = m.R + halfDiagonal + 3 + 20 <= std::min(m.cx, m.cy);
  check(inside(g.slots[0].magSquare()), 0, "disc inside");
  for (int i = 1; i <= m.K; ++i) {
    const RingSlot& s = g.slots[static_cast<std::size_t>(i)];
    const double x = CentreX(s), y = CentreY(s);
    check(inside(s.normalSquare()) && inside(s.magSquare()) &&
              std::abs(std::hypot(x - m.cx, y - m.cy) - m.R) <= 1.5,
          i, "slot inside, on the circle");
    check(at((i - 1 + m.K / 2) % m.K + 1, 2 * m.cx - x, 2 * m.cy - y) &&
              at((m.K + 1 - i) % m.K + 1, x, 2 * m.cy - y),
          i, "mirrored through the centre and about the horizontal axis");
    check(std::hypot(s.labelX - (x - m.cx), s.labelY - (y - m.cy)) > halfDiagonal, i,
          "label clear of the magnified square");
    for (std::size_t k = 1; k <= 4; ++k) {  // fade pictures centred on the resting square
      const PixelRect f = g.fadeFrames[static_cast<std::size_t>(i)][k];
      const int size = VariantSize(m, static_cast<int>(k)), d = (m.N - size) / 2;
      check(m.N % 2 != 0 || f == PixelRect{s.normalLeft + d, s.normalTop + d, size, size}, i,
            "fade square");
    }
    check(!labelRoom || (m.cx + s.labelX >= 0 && m.cx + s.labelX < m.W && m.cy + s.labelY >= 12 &&
                         m.cy + s.labelY < m.H),
          i, "label inside");
  }
  // Resting squares must not overlap where the ring leaves room for them: then every slot
  // is hit at its own centre.
  if (2 * m.R * std::sin(3.1415926 / m.K) < std::sqrt(2.0) * (m.N + 2) ||
      m.R / std::sqrt(2.0) < (m.C + m.N) / 2.0 + 2) {
    return false;
  }
  for (int i = 0; i <= m.K; ++i) {
    const PixelRect a = g.slots[static_cast<std::size_t>(i)].normalSquare();
    for (int j = i + 1; j <= m.K; ++j) {
      const PixelRect b = g.slots[static_cast<std::size_t>(j)].normalSquare();
      check(
          a.right() <= b.left || b.right() <= a.left || a.bottom() <= b.top || b.bottom() <= a.top,
          j, "resting squares apart");
    }
    check(HitTest(g, a.left + a.width / 2, a.top + a.height / 2) == i, i, "hit at its centre");
  }
  return true;
}

TEST(RingGeometry, InvariantsHoldAcrossScreensCountsSizesAndRadii) {
  const std::pair<int, int> screens[] = {{640, 480},   {1024, 768},  {1365, 767}, {1920, 1080},
                                         {3840, 2160}, {1080, 1920}, {600, 800}};
  int failures = 0, overlapChecks = 0;
  for (const int dpi : {96, 144, 192})
    for (const auto& [w, h] : screens)
      for (int k = 8; k <= 36; k += 4)
        for (int n : {16, 32, 48, 49, 64, 97, 128})
          for (int mag : {n, std::min(n + 16, 128), 128})
            for (int radius : {200, 250, 300, h / 2 - 80, 10000}) {
              const ScreenInfo screen = MakeScreenInfo(w, h - 23, 23, dpi, dpi, {0, 0, w, h - 40});
              Settings s;
              ApplyDefaultSettings(s, screen);
              s.IconCount = k, s.IconSize = n, s.MagnifiedSize = mag, s.RingRadius = radius;
              overlapChecks += CheckRing(MakeRingMetrics(screen, s), failures);
            }
  // The defaults (N 48, 24 slots, R 300 on a full-HD screen) are among the checked cases.
  EXPECT_GT(overlapChecks, 1000);
}

}  // namespace
}  // namespace kivo
