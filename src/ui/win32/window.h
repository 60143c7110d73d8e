// The base of every window object of the program: one window procedure for all of them.
// An object may own several windows of its classes (the dock has its veil, its ring window
// and the tiles); each message names the window it is for.
#pragma once

#include <windows.h>

#include <optional>

namespace kivo::win {

struct WindowClass {
  const wchar_t* name = nullptr;
  HBRUSH background = nullptr;
  HCURSOR cursor = nullptr;
};

class Window {
 public:
  Window() = default;
  virtual ~Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Registers a class whose windows are answered by Window objects. True when the class
  // exists afterwards (a class registered before counts: several objects share one).
  static bool RegisterWindowClass(HINSTANCE instance, const WindowClass& windowClass);

 protected:
  // A window of a class registered above, bound to this object from its first message
  // (WM_NCCREATE) to its last (WM_NCDESTROY). Null on failure.
  HWND CreateBoundWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* title,
                         DWORD exStyle, DWORD style, int x, int y, int width, int height,
                         HWND parent = nullptr);

  // The result of a handled message, or nothing to let the default procedure answer.
  virtual std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace kivo::win
