#include "ui/win32/window.h"

#include "core/log.h"

namespace kivo::win {

bool Window::RegisterWindowClass(HINSTANCE instance, const WindowClass& windowClass) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  if (::GetClassInfoExW(instance, windowClass.name, &info)) return true;
  info.lpfnWndProc = &Window::Procedure;
  info.hInstance = instance;
  info.lpszClassName = windowClass.name;
  info.hCursor = windowClass.cursor;
  info.hbrBackground = windowClass.background;
  return ::RegisterClassExW(&info) != 0;
}

HWND Window::CreateBoundWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* title,
                               DWORD exStyle, DWORD style, int x, int y, int width, int height,
                               HWND parent) {
  // The procedure reads the object back from the creation parameters as a Window*, so it
  // is passed as one whatever the object's own type.
  Window* self = this;
  return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                           instance, self);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    // The window's last message: nothing may reach the object through it afterwards.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  if (self != nullptr) {
    try {
      if (const auto handled = self->OnMessage(window, message, wParam, lParam)) return *handled;
    } catch (...) {
      // Nothing may escape into the system's dispatcher; the message counts as handled.
      LogCurrentException("window procedure", message);
      return 0;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kivo::win
