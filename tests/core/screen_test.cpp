#include "core/screen.h"

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

// The primary 1920 x 1080 with a 40-pixel taskbar; the full-screen metrics leave out the
// caption (23), as the system's do.
const FullScreenMetrics kPrimary{1920, 1017, 23};
const MonitorArea kMain{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, true};
// Left of the primary, at 150 %, its taskbar on the left.
const MonitorArea kLeft{{-2560, -200, 0, 1240}, {-2500, -200, 0, 1240}, 144, false};
// Right of the primary, at 200 %, lower down.
const MonitorArea kRight{{1920, 300, 3840, 1500}, {1920, 300, 3840, 1460}, 192, false};

TEST(MonitorAtPoint, HoldsThePointElseTheNearest) {
  const std::vector<MonitorArea> three{kLeft, kMain, kRight};
  // x, y, the monitor expected.
  const int cases[][3] = {
      {10, 10, 1},      {0, 0, 1},        {1919, 1079, 1}, {1920, 1079, 2},  // edges: right
      {-1, 0, 0},       {-2560, -200, 0}, {3000, 900, 2},  {1920, 299, 1},   // and bottom out
      {-9000, 500, 0},  {9000, 500, 2},   {2500, 100, 2},  {100, 5000, 0},   // off every one
      {1500, -3000, 1}, {500, -3000, 0},  {-100, 1400, 0},  // (the left one reaches lower)
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MonitorAtPoint(three, c[0], c[1]), c[2]) << c[0] << "," << c[1];
  }
  EXPECT_EQ(MonitorAtPoint({}, 0, 0), -1);
  // Equally near: the first.
  const std::vector<MonitorArea> twins{{{0, 0, 100, 100}, {}, 96, true},
                                       {{199, 0, 300, 100}, {}, 96, false}};
  EXPECT_EQ(MonitorAtPoint(twins, 149, 50), 0);
  EXPECT_EQ(MonitorAtPoint(twins, 150, 50), 1);
}

TEST(ScreenAtPoint, TheWorkAreaAndDpiOfThePointersMonitor) {
  const std::vector<MonitorArea> three{kLeft, kMain, kRight};
  struct Case {
    int x, y;
    Rect work;
    int width, height, dpi;
  };
  const Case cases[] = {
      // The primary gives exactly what the system metrics give.
      {800, 600, {0, 0, 1920, 1040}, 1920, 1040, 96},
      {-5, 5, {-2500, -200, 0, 1240}, 2500, 1440, 144},
      {3000, 1400, {1920, 300, 3840, 1460}, 1920, 1160, 192},
      {5000, 0, {1920, 300, 3840, 1460}, 1920, 1160, 192},
  };
  for (const Case& c : cases) {
    const ScreenInfo s = ScreenAtPoint(three, kPrimary, c.x, c.y);
    EXPECT_EQ(s, MakeScreenInfo(c.width, c.height - 23, 23, c.dpi, c.dpi, c.work))
        << c.x << "," << c.y;
  }
}

TEST(ScreenAtPoint, OtherMonitorsLoseThePrimarysMargins) {
  // Full-screen metrics 16 narrower and 30 lower than the primary's work area.
  const FullScreenMetrics framed{1904, 987, 23};
  const std::vector<MonitorArea> two{kMain, kRight};
  const ScreenInfo right = ScreenAtPoint(two, framed, 2000, 400);
  EXPECT_EQ((std::pair{right.ScreenWidth, right.ScreenHeight}), (std::pair{1904, 1130}));
  const ScreenInfo main = ScreenAtPoint(two, framed, 0, 0);
  EXPECT_EQ((std::pair{main.ScreenWidth, main.ScreenHeight}), (std::pair{1904, 1010}));
  // Without monitors, the system metrics alone at 96 dpi.
  EXPECT_EQ(ScreenAtPoint({}, kPrimary, 50, 50),
            MakeScreenInfo(1920, 1017, 23, 96, 96, Rect{0, 0, 1920, 1040}));
  // Without a primary flag the first monitor stands for it.
  MonitorArea unflagged = kMain;
  unflagged.Primary = false;
  const std::vector<MonitorArea> none{unflagged, kRight};
  EXPECT_EQ(ScreenAtPoint(none, framed, 2000, 400), right);
}

}  // namespace
}  // namespace kivo
