#include "core/screen.h"

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

// The primary 1920 x 1080 with a 40-pixel taskbar; the full-screen metrics leave out the
// caption (23), as the system's do. Left of it one at 150 %, right of it one at 200 %.
const FullScreenMetrics kPrimary{1920, 1017, 23};
const MonitorArea kMain{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, true};
const MonitorArea kLeft{{-2560, -200, 0, 1240}, {-2500, -200, 0, 1240}, 144, false};
const MonitorArea kRight{{1920, 300, 3840, 1500}, {1920, 300, 3840, 1460}, 192, false};

TEST(MonitorAtPoint, HoldsThePointElseTheNearest) {
  const std::vector<MonitorArea> three{kLeft, kMain, kRight};
  const int cases[][3] = {// x, y, the monitor expected
                          {1919, 1079, 1}, {1920, 1079, 2}, {-1, 0, 0},      {1920, 299, 1},
                          {2500, 100, 2},  {100, 5000, 0},  {1500, -3000, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(MonitorAtPoint(three, c[0], c[1]), c[2]) << c[0] << "," << c[1];
  }
  EXPECT_EQ(MonitorAtPoint({}, 0, 0), -1);
}

// Other monitors lose the primary's margins (its full-screen metrics: 16 narrower, 30 lower).
TEST(ScreenAtPoint, TheWorkAreaAndDpiOfThePointersMonitor) {
  EXPECT_EQ(ScreenAtPoint(std::vector{kLeft, kMain, kRight}, kPrimary, 800, 600),
            MakeScreenInfo(1920, 1017, 23, 96, 96, Rect{0, 0, 1920, 1040}));
  EXPECT_EQ(ScreenAtPoint({}, kPrimary, 50, 50), ScreenAtPoint(std::vector{kMain}, kPrimary, 0, 0));
  const ScreenInfo right = ScreenAtPoint(std::vector{kMain, kRight}, {1904, 987, 23}, 5000, 0);
  EXPECT_EQ(right, MakeScreenInfo(1904, 1107, 23, 192, 192, kRight.Work));
  MonitorArea unflagged = kMain;  // without a primary flag the first stands for it
  unflagged.Primary = false;
  EXPECT_EQ(ScreenAtPoint(std::vector{unflagged, kRight}, {1904, 987, 23}, 5000, 0), right);
}

}  // namespace
}  // namespace kivo
