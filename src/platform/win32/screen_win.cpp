#include "platform/win32/screen_win.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace kivo::win {
namespace {

// GetDpiForMonitor lives in shcore.dll from Windows 8.1 on; Windows 7 has one dpi for
// every monitor, the screen's.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

class MonitorDpi {
 public:
  MonitorDpi() : shcore_(::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    if (shcore_) {
      getDpi_ = reinterpret_cast<GetDpiForMonitorFunction>(
          reinterpret_cast<void*>(::GetProcAddress(shcore_.get(), "GetDpiForMonitor")));
    }
    UniqueScreenDc screenDc(::GetDC(nullptr));
    if (screenDc) systemDpi_ = ::GetDeviceCaps(screenDc.get(), LOGPIXELSX);
    if (systemDpi_ <= 0) systemDpi_ = 96;
  }
  int Of(HMONITOR monitor) const {
    UINT x = 0, y = 0;
    if (getDpi_ != nullptr && SUCCEEDED(getDpi_(monitor, kEffectiveDpi, &x, &y)) && x > 0) {
      return static_cast<int>(x);
    }
    return systemDpi_;
  }

 private:
  UniqueModule shcore_;
  GetDpiForMonitorFunction getDpi_ = nullptr;
  int systemDpi_ = 96;
};

Rect ToRect(const RECT& r) {
  return Rect{r.left, r.top, r.right, r.bottom};
}

struct Enumeration {
  const MonitorDpi* dpi;
  std::vector<MonitorArea>* monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
  auto& e = *reinterpret_cast<Enumeration*>(context);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
  e.monitors->push_back(MonitorArea{ToRect(info.rcMonitor), ToRect(info.rcWork), e.dpi->Of(monitor),
                                    (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

FullScreenMetrics PrimaryMetrics() {
  return FullScreenMetrics{::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN),
                           ::GetSystemMetrics(SM_CYCAPTION)};
}

}  // namespace

std::vector<MonitorArea> ReadMonitors() {
  const MonitorDpi dpi;
  std::vector<MonitorArea> monitors;
  Enumeration e{&dpi, &monitors};
  ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&e));
  return monitors;
}

ScreenInfo ReadScreenInfo() {
  // The primary monitor holds the virtual screen's origin.
  return ReadScreenInfoAt(0, 0);
}

ScreenInfo ReadScreenInfoAt(int x, int y) {
  const std::vector<MonitorArea> monitors = ReadMonitors();
  if (monitors.empty()) {
    // No monitor answered: the work area and the screen's dpi, as the system gives them.
    const MonitorDpi dpi;
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
      work = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    const MonitorArea only{ToRect(work), ToRect(work), dpi.Of(nullptr), true};
    return ScreenAtPoint(std::span(&only, 1), PrimaryMetrics(), x, y);
  }
  return ScreenAtPoint(monitors, PrimaryMetrics(), x, y);
}

}  // namespace kivo::win
