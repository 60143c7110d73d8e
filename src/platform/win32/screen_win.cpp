#include "platform/win32/screen_win.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace kivo::win {

ScreenInfo ReadScreenInfo() {
  UniqueScreenDc screenDc(::GetDC(nullptr));
  const int dpiX = screenDc ? ::GetDeviceCaps(screenDc.get(), LOGPIXELSX) : 96;
  const int dpiY = screenDc ? ::GetDeviceCaps(screenDc.get(), LOGPIXELSY) : 96;
  RECT work{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
    work = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return MakeScreenInfo(::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN),
                        ::GetSystemMetrics(SM_CYCAPTION), dpiX, dpiY,
                        Rect{work.left, work.top, work.right, work.bottom});
}

}  // namespace kivo::win
