#include "core/screen.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kivo {
namespace {

bool Holds(const Rect& r, int x, int y) {
  return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
}

// Squared distance from the point to the rectangle (0 inside); 64 bits, so that monitors
// far out on a huge virtual screen cannot overflow it.
std::int64_t DistanceSquared(const Rect& r, int x, int y) {
  const std::int64_t dx = x < r.Left     ? std::int64_t{r.Left} - x
                          : x >= r.Right ? std::int64_t{x} - (r.Right - 1)
                                         : 0;
  const std::int64_t dy = y < r.Top       ? std::int64_t{r.Top} - y
                          : y >= r.Bottom ? std::int64_t{y} - (r.Bottom - 1)
                                          : 0;
  return dx * dx + dy * dy;
}

int Width(const Rect& r) {
  return std::max(0, r.Right - r.Left);
}
int Height(const Rect& r) {
  return std::max(0, r.Bottom - r.Top);
}

}  // namespace

int MonitorAtPoint(std::span<const MonitorArea> monitors, int x, int y) {
  int best = -1;
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    if (Holds(monitors[i].Bounds, x, y)) return static_cast<int>(i);
    const std::int64_t distance = DistanceSquared(monitors[i].Bounds, x, y);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

ScreenInfo ScreenAtPoint(std::span<const MonitorArea> monitors, const FullScreenMetrics& primary,
                         int x, int y) {
  const int index = MonitorAtPoint(monitors, x, y);
  if (index < 0) {
    const int height = primary.Height + primary.Caption;
    return MakeScreenInfo(primary.Width, primary.Height, primary.Caption, 96, 96,
                          Rect{0, 0, primary.Width, height});
  }
  const auto isPrimary = [](const MonitorArea& m) { return m.Primary; };
  const auto found = std::find_if(monitors.begin(), monitors.end(), isPrimary);
  const MonitorArea& main = found != monitors.end() ? *found : monitors.front();
  // What the full-screen metrics leave out of the primary's work area (frames, for one).
  const int marginWidth = Width(main.Work) - primary.Width;
  const int marginHeight = Height(main.Work) - (primary.Height + primary.Caption);

  const MonitorArea& m = monitors[static_cast<std::size_t>(index)];
  const int width = std::max(0, Width(m.Work) - marginWidth);
  const int height = std::max(0, Height(m.Work) - marginHeight);
  return MakeScreenInfo(width, height - primary.Caption, primary.Caption, m.Dpi, m.Dpi, m.Work);
}

}  // namespace kivo
