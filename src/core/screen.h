// Which monitor the dock opens on and the screen quantities it uses there. Portable: the
// monitors come in as plain rectangles, so the choice is tested without a display.
#pragma once

#include <span>

#include "core/settings.h"

namespace kivo {

struct MonitorArea {
  Rect Bounds;   // the whole monitor, in virtual-screen pixels
  Rect Work;     // without the taskbar and docked bars
  int Dpi = 96;  // the monitor's effective pixels per inch
  bool Primary = false;
  friend bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

// The primary monitor's system metrics: SM_CXFULLSCREEN, SM_CYFULLSCREEN, SM_CYCAPTION.
struct FullScreenMetrics {
  int Width = 0;
  int Height = 0;
  int Caption = 0;
};

// The monitor whose bounds hold (x, y); when none does (the pointer just left a monitor
// that was unplugged), the nearest one, the first of equally near ones. -1 for no monitor.
int MonitorAtPoint(std::span<const MonitorArea> monitors, int x, int y);

// The screen quantities on the monitor that holds (x, y). On the primary monitor they are
// exactly those the system metrics give; on another one its work area loses the same
// margins the primary's loses to the full-screen metrics. Without monitors, the system
// metrics alone at 96 dpi.
ScreenInfo ScreenAtPoint(std::span<const MonitorArea> monitors, const FullScreenMetrics& primary,
                         int x, int y);

}  // namespace kivo
