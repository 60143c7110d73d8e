#include "ui/win32/dialogs/dialog_support.h"

#include <vector>

#include "core/log.h"
#include "platform/win32/unicode.h"

namespace kivo::win {

INT_PTR CALLBACK DialogBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<DialogBase*>(lParam)->window_ = window;
  }
  auto* self = reinterpret_cast<DialogBase*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  try {
    const INT_PTR result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(window, DWLP_USER, 0);
      self->window_ = nullptr;
    }
    return result;
  } catch (...) {
    // Nothing may escape into the system's dialog manager; the message counts as seen.
    LogCurrentException("dialog procedure", message);
    return FALSE;
  }
}

void SetControlText(HWND dialog, int control, const std::string& utf8) {
  ::SetDlgItemTextW(dialog, control, Widen(utf8).c_str());
}

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
  return Narrow(
      std::wstring_view(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0)));
}

std::string ControlText(HWND dialog, int control) {
  return WindowText(::GetDlgItem(dialog, control));
}

UniqueFont UnderlinedFont(HWND control, bool underline) {
  auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  if (font == nullptr) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW description{};
  if (::GetObjectW(font, sizeof(description), &description) == 0) return UniqueFont();
  description.lfUnderline = underline ? TRUE : FALSE;
  return UniqueFont(::CreateFontIndirectW(&description));
}

}  // namespace kivo::win
