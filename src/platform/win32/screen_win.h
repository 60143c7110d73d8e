// The screen quantities the defaults and the ring are derived from, read from the system.
#pragma once

#include <vector>

#include "core/screen.h"
#include "core/settings.h"

namespace kivo::win {

// Every monitor with its work area and effective dpi (GetDpiForMonitor where the system
// has it, Windows 8.1 on; else the screen's logical pixels per inch).
std::vector<MonitorArea> ReadMonitors();
// The primary monitor's screen, as at start.
ScreenInfo ReadScreenInfo();
// The screen on the monitor that holds (x, y), or the nearest one.
ScreenInfo ReadScreenInfoAt(int x, int y);

}  // namespace kivo::win
