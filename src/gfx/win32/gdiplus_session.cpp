#include "gfx/win32/gdiplus_session.h"

#include <windows.h>
// GDI+ needs the COM types of objidl.h declared before it.
#include <objidl.h>

#include <gdiplus.h>

namespace kivo::win {

bool GdiplusSession::Start() {
  if (token_ != 0) return true;
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  token_ = token;
  return true;
}

void GdiplusSession::Stop() {
  if (token_ == 0) return;
  Gdiplus::GdiplusShutdown(token_);
  token_ = 0;
}

}  // namespace kivo::win
