#include "dock/ring_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
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

// Centre of a slot's resting square (exact for even sizes, within half a pixel otherwise).
double CentreX(const RingSlot& s) {
  return s.normalLeft + s.normalSize / 2.0;
}
double CentreY(const RingSlot& s) {
  return s.normalTop + s.normalSize / 2.0;
}

TEST(RingMetrics, TakesTheSizeSettingsWithTheirRangeChecks) {
  Settings settings;
  ApplyDefaultSettings(settings, Screen(1920, 1080));
  EXPECT_EQ(MakeRingMetrics(Screen(1920, 1080), settings), Metrics(48, 64, 300, 24));
  EXPECT_EQ(MakeRingMetrics(Screen(1367, 767), settings).cx, 684);  // 683.5 to the even 684
  EXPECT_EQ(MakeRingMetrics(Screen(1367, 767), settings).cy, 384);  // 383.5 to 384

  const auto with = [&](auto change) {
    Settings s = settings;
    change(s);
    return MakeRingMetrics(Screen(1920, 1080), s);
  };
  EXPECT_EQ(with([](Settings& s) { s.IconSize = 12; }).N, 48);
  EXPECT_EQ(with([](Settings& s) { s.IconSize = 129; }).N, 48);
  EXPECT_EQ(with([](Settings& s) { s.IconSize = 60, s.MagnifiedSize = 50; }).M, 76);
  EXPECT_EQ(with([](Settings& s) { s.IconSize = 120, s.MagnifiedSize = 60; }).M, 128);
  EXPECT_EQ(with([](Settings& s) { s.MagnifiedSize = 130; }).M, 64);
  EXPECT_EQ(with([](Settings& s) { s.RingRadius = 199; }).R, 300);
  EXPECT_EQ(with([](Settings& s) { s.RingRadius = 460; }).R, 460);
  EXPECT_EQ(with([](Settings& s) { s.RingRadius = 461; }).R, 300);
  EXPECT_EQ(with([](Settings& s) { s.IconCount = 36; }).K, 36);
  EXPECT_EQ(with([](Settings& s) { s.IconCount = 10; }).K, 20);
  EXPECT_EQ(with([](Settings& s) { s.IconCount = 40; }).K, 20);

  // The radius must fit the narrower side: on a portrait screen the height alone would
  // allow a ring wider than the window.
  Settings wide = settings;
  wide.RingRadius = 600;  // within 200 .. 800 - 80, but beyond 450 - 80
  EXPECT_EQ(MakeRingMetrics(Screen(900, 1600), wide).R, 300);
  EXPECT_EQ(MakeRingMetrics(Screen(600, 1024), settings).R, 220);
  EXPECT_EQ(MakeRingMetrics(Screen(200, 120), settings).R, 0) << "never a negative radius";
}

TEST(RingSlots, EightSlotsEveryFortyFiveDegreesClockwiseFromTheRight) {
  const RingGeometry g = ComputeRing(Metrics(48, 64, 300, 8));
  EXPECT_EQ(g.slots[0], (RingSlot{896, 476, 128, 865, 445, 190, 960, 635}));
  EXPECT_EQ(g.slots[1], (RingSlot{1236, 516, 48, 1228, 508, 64, 348, 0}));    // (cx + R, cy)
  EXPECT_EQ(g.slots[2], (RingSlot{1148, 728, 48, 1140, 720, 64, 246, 246}));  // 212.13 each way
  EXPECT_EQ(g.slots[3], (RingSlot{936, 816, 48, 928, 808, 64, 0, 348}));      // below: y grows down
  EXPECT_EQ(g.slots[5], (RingSlot{636, 516, 48, 628, 508, 64, -348, 0}));
  EXPECT_EQ(g.slots[7], (RingSlot{936, 216, 48, 928, 208, 64, 0, -348}));
  EXPECT_EQ(g.slots[9], RingSlot{}) << "entries beyond K stay empty";
}

TEST(RingSlots, ThirtySixSlotsGoRoundClockwise) {
  const RingGeometry g = ComputeRing(Metrics(48, 64, 300, 36));
  EXPECT_EQ(g.slots[1].normalLeft, 1236);
  double last = -1.0;
  for (int i = 1; i <= 36; ++i) {
    const double dx = CentreX(g.slots[static_cast<std::size_t>(i)]) - 960;
    const double dy = CentreY(g.slots[static_cast<std::size_t>(i)]) - 540;
    double angle = std::atan2(dy, dx) * 180 / 3.14159265358979;
    if (angle < 0) angle += 360;
    EXPECT_NEAR(angle, (i - 1) * 10.0, 0.2) << "slot " << i;
    EXPECT_GT(angle, last) << "slot " << i;
    last = angle;
  }
}

TEST(RingSlots, HalfPixelEdgesRoundToEven) {
  // N = 49 and M = 65 put every edge on a half pixel; the half goes to the even
  // neighbour, so centres 1260 and 1261 share one edge and 1262 and 1263 the next.
  const int expectedLeft[] = {1236, 1236, 1238, 1238};
  const int expectedMagLeft[] = {1228, 1228, 1230, 1230};
  for (int r = 300; r <= 303; ++r) {
    const RingSlot s = ComputeRing(Metrics(49, 65, r, 8)).slots[1];
    EXPECT_EQ(s.normalLeft, expectedLeft[r - 300]) << "R " << r;
    EXPECT_EQ(s.magLeft, expectedMagLeft[r - 300]) << "R " << r;
    EXPECT_EQ(s.normalTop, 516) << "540 - 24.5";
    EXPECT_EQ(s.magTop, 508) << "540 - 32.5";
  }
  // The label distance uses the real half size: 300 + 32.5 * sqrt 2 + 3 = 348.96.
  EXPECT_EQ(ComputeRing(Metrics(49, 65, 300, 8)).slots[1].labelX, 349);
}

TEST(RingSlots, FadeFramesCentreEachVariantOnTheSlot) {
  const RingMetrics m = Metrics(48, 64, 300, 12);
  EXPECT_EQ((std::vector{VariantSize(m, 0), VariantSize(m, 1), VariantSize(m, 2), VariantSize(m, 3),
                         VariantSize(m, 4), VariantSize(m, 5)}),
            (std::vector{0, 48, 64, 128, 32, 0}));
  const RingGeometry g = ComputeRing(m);
  for (int i = 1; i <= 12; ++i) {
    const auto& s = g.slots[static_cast<std::size_t>(i)];
    const auto& frames = g.fadeFrames[static_cast<std::size_t>(i)];
    EXPECT_EQ(frames[1], s.normalSquare()) << "slot " << i;
    EXPECT_EQ(frames[2], s.magSquare()) << "slot " << i;
    EXPECT_EQ(frames[3].left, s.normalLeft - 40) << "slot " << i;
    EXPECT_EQ(frames[4].top, s.normalTop + 8) << "slot " << i;
    EXPECT_EQ(frames[4].width, 32);
  }
}

TEST(HitTest, LeftEdgeInTopEdgeOutRestingSquareOnlyCentreFirst) {
  const RingGeometry g = ComputeRing(Metrics(48, 64, 300, 8));  // slot 1: 1236, 516, 48
  EXPECT_EQ(HitTest(g, 1236, 517), 1) << "left edge";
  EXPECT_EQ(HitTest(g, 1235, 517), -1);
  EXPECT_EQ(HitTest(g, 1283, 563), 1) << "last pixel inside";
  EXPECT_EQ(HitTest(g, 1284, 530), -1) << "right edge";
  EXPECT_EQ(HitTest(g, 1250, 516), -1) << "top edge";
  EXPECT_EQ(HitTest(g, 1250, 564), -1) << "bottom edge";
  EXPECT_EQ(HitTest(g, 1230, 510), -1) << "inside the magnified square only";
  EXPECT_EQ(HitTest(g, 960, 540), 0);
  EXPECT_EQ(HitTest(g, 10, 10), -1);

  // A small screen with large icons: slot 2's square overlaps the centre's.
  const RingGeometry small = ComputeRing(Metrics(128, 128, 160, 8, 640, 480));
  const RingSlot& s2 = small.slots[2];
  ASSERT_TRUE(s2.normalLeft < 380 && s2.normalTop < 300) << "the point must lie in slot 2";
  EXPECT_EQ(HitTest(small, 380, 300), 0);
}

TEST(CollapsedDisc, NinePositionsWithATwoPixelMargin) {
  const RingMetrics m = Metrics(48, 64, 300, 24);
  const DiscPosition expected[] = {
      {865, 445, 896, 476}, {865, 2, 896, 33},      {865, 888, 896, 919},
      {2, 445, 33, 476},    {1728, 445, 1759, 476}, {2, 2, 33, 33},
      {1728, 2, 1759, 33},  {2, 888, 33, 919},      {1728, 888, 1759, 919},
  };
  for (int i = 0; i < 9; ++i) {
    const DiscPosition p = CollapsedDiscPosition(m, i);
    EXPECT_EQ(p, expected[i]) << "index " << i << ": " << p.discLeft << ", " << p.discTop;
  }
  EXPECT_EQ(CollapsedDiscPosition(m, 9), expected[0]);
  EXPECT_EQ(CollapsedDiscPosition(m, -1), expected[0]);
}

TEST(HotkeyCharacter, DigitsThenLettersAndTildeForTheCentre) {
  EXPECT_EQ(HotkeyCharacter(0), "~");
  EXPECT_EQ(HotkeyCharacter(1), "0");
  EXPECT_EQ(HotkeyCharacter(10), "9");
  EXPECT_EQ(HotkeyCharacter(11), "A");
  EXPECT_EQ(HotkeyCharacter(36), "Z");
  EXPECT_EQ(HotkeyCharacter(37), "");
  EXPECT_EQ(HotkeyCharacter(-1), "");
}

// One sweep over screens, slot counts, icon sizes and radii, checking what must hold for
// every valid setting.
TEST(RingGeometry, InvariantsHoldAcrossScreensCountsSizesAndRadii) {
  const std::pair<int, int> screens[] = {
      {640, 480},   {800, 600},   {1024, 768},  {1280, 720},  {1365, 767},
      {1366, 768},  {1920, 1080}, {1920, 1200}, {2560, 1440}, {3840, 2160},
      {1080, 1920}, {768, 1024},  {600, 800},
  };
  int failures = 0, overlapChecks = 0;
  for (const auto& [w, h] : screens) {
    Settings settings;
    ApplyDefaultSettings(settings, Screen(w, h));
    for (int k = 8; k <= 36; k += 4) {
      for (int n : {16, 32, 48, 49, 64, 97, 128}) {
        for (int mag : {n, std::min(n + 16, 128), 128}) {
          for (int radius : {200, 250, 300, h / 2 - 80, 10000}) {
            settings.IconCount = k;
            settings.IconSize = n;
            settings.MagnifiedSize = mag;
            settings.RingRadius = radius;
            const RingMetrics m = MakeRingMetrics(Screen(w, h), settings);
            const RingGeometry g = ComputeRing(m);
            const auto check = [&](bool ok, int slot, const char* what) {
              if (ok || ++failures > 20) return;
              ADD_FAILURE() << what << ": screen " << m.W << "x" << m.H << " K " << m.K << " N "
                            << m.N << " M " << m.M << " R " << m.R << " slot " << slot;
            };
            const auto inside = [&](const PixelRect& r) {
              return r.left >= 0 && r.top >= 0 && r.right() <= m.W && r.bottom() <= m.H;
            };
            const double halfDiagonal = m.M / std::sqrt(2.0);
            const double slack = m.N % 2 == 0 ? 1.0 : 2.0;
            check(inside(g.slots[0].magSquare()), 0, "disc inside");
            for (int i = 1; i <= m.K; ++i) {
              const RingSlot& s = g.slots[static_cast<std::size_t>(i)];
              const RingSlot& opposite =
                  g.slots[static_cast<std::size_t>((i - 1 + m.K / 2) % m.K + 1)];
              const RingSlot& mirror = g.slots[static_cast<std::size_t>((m.K + 1 - i) % m.K + 1)];
              check(inside(s.normalSquare()) && inside(s.magSquare()), i, "slot inside");
              check(std::abs(std::hypot(CentreX(s) - m.cx, CentreY(s) - m.cy) - m.R) <= 1.5, i,
                    "slot on the circle");
              check(std::abs(CentreX(s) + CentreX(opposite) - 2 * m.cx) <= slack &&
                        std::abs(CentreY(s) + CentreY(opposite) - 2 * m.cy) <= slack,
                    i, "opposite slot mirrored through the centre");
              check(std::abs(CentreX(s) - CentreX(mirror)) <= slack &&
                        std::abs(CentreY(s) + CentreY(mirror) - 2 * m.cy) <= slack,
                    i, "slot mirrored about the horizontal axis");
              check(std::hypot(s.labelX - (CentreX(s) - m.cx), s.labelY - (CentreY(s) - m.cy)) >
                        halfDiagonal,
                    i, "label clear of the magnified square");
              if (m.R + halfDiagonal + 3 + 20 <= std::min(m.cx, m.cy)) {
                check(m.cx + s.labelX >= 0 && m.cx + s.labelX < m.W && m.cy + s.labelY >= 12 &&
                          m.cy + s.labelY < m.H,
                      i, "label inside");
              }
            }
            // Resting squares must not overlap where the ring leaves room for them: then
            // every slot is hit at its own centre.
            const double chord = 2 * m.R * std::sin(3.1415926 / m.K);
            const bool ringRoom = chord >= std::sqrt(2.0) * (m.N + 2);
            const bool centreRoom = m.R / std::sqrt(2.0) >= (m.C + m.N) / 2.0 + 2;
            if (!ringRoom || !centreRoom) continue;
            ++overlapChecks;
            for (int i = 0; i <= m.K; ++i) {
              const PixelRect a = g.slots[static_cast<std::size_t>(i)].normalSquare();
              for (int j = i + 1; j <= m.K; ++j) {
                const PixelRect b = g.slots[static_cast<std::size_t>(j)].normalSquare();
                check(a.right() <= b.left || b.right() <= a.left || a.bottom() <= b.top ||
                          b.bottom() <= a.top,
                      j, "resting squares apart");
              }
              check(HitTest(g, a.left + a.width / 2, a.top + a.height / 2) == i, i,
                    "hit at its own centre");
            }
          }
        }
      }
    }
  }
  // The defaults (N 48, 24 slots, R 300 on a full-HD screen) are among the checked cases.
  EXPECT_GT(overlapChecks, 1000);
}

}  // namespace
}  // namespace kivo
