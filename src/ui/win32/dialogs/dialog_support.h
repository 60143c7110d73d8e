// What every dialog of ours shares: the procedure thunk, UTF-8 control texts, fonts.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

namespace kivo::win {

// Base of a dialog: the object is bound to its window at WM_INITDIALOG (the creation
// parameter) and every later message goes to OnMessage. No exception leaves the procedure.
class DialogBase {
 public:
  DialogBase() = default;
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;
  virtual ~DialogBase() = default;

  HWND window() const { return window_; }
  // The DLGPROC of every dialog of ours; the creation parameter is the DialogBase*.
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // A DLGPROC answer: TRUE when handled (and DWLP_MSGRESULT set where needed).
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  HWND window_ = nullptr;
};

void SetControlText(HWND dialog, int control, const std::string& utf8);
std::string ControlText(HWND dialog, int control);
std::string WindowText(HWND window);

// A copy of the control's font with underlining switched on or off.
UniqueFont UnderlinedFont(HWND control, bool underline);

}  // namespace kivo::win
