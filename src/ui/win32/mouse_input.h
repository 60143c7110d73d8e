// Mouse messages as the state machines see them: which button, pressed or released.
#pragma once

#include <windows.h>

#include "dock/dock_controller.h"

namespace kivo::win {

inline bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

inline MouseButton ButtonOf(UINT message) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) return MouseButton::Left;
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) return MouseButton::Right;
  return MouseButton::Middle;
}

// A release that leaves no button held ends the capture a press took.
inline void ReleaseCaptureAfter(HWND window, UINT message, WPARAM keys) {
  if (!IsButtonDown(message) && (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 &&
      ::GetCapture() == window) {
    ::ReleaseCapture();
  }
}

}  // namespace kivo::win
