#include "platform/win32/message_win.h"

#include <windows.h>

#include "platform/win32/unicode.h"

namespace kivo::win {

bool ShowMessageOver(HWND owner, const ShellMessage& message) {
  // Top-most: the dock in front is top-most too, and would otherwise hide the question.
  UINT style = MB_SETFOREGROUND | MB_TOPMOST;
  style |= message.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
  switch (message.icon) {
    case MessageIcon::Question:
      style |= MB_ICONQUESTION;
      break;
    case MessageIcon::Exclamation:
      style |= MB_ICONEXCLAMATION;
      break;
    case MessageIcon::Information:
      style |= MB_ICONINFORMATION;
      break;
    case MessageIcon::None:
      break;
  }
  if (message.defaultNo && message.buttons == MessageButtons::YesNo) style |= MB_DEFBUTTON2;
  return ::MessageBoxW(owner, Widen(message.text).c_str(), Widen(message.title).c_str(), style) ==
         IDYES;
}

bool ShowShellMessage(const ShellMessage& message) {
  return ShowMessageOver(nullptr, message);
}

}  // namespace kivo::win
