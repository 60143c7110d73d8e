#include "ui/win32/dialogs/input_dialog.h"

#include "dialogs/input_box.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/dialog_ids.h"
#include "ui/win32/dialogs/dialog_support.h"

namespace kivo::win {
namespace {

class FrmInput : public DialogBase {
 public:
  FrmInput(std::string prompt, std::string title, std::string text)
      : prompt_(std::move(prompt)), title_(std::move(title)), text_(std::move(text)) {}

  const std::string& text() const { return text_; }

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) override {
    switch (message) {
      case WM_INITDIALOG:
        ::SetWindowTextW(window_, Widen(InputCaption(title_)).c_str());
        SetControlText(window_, IDC_INPUT_PROMPT, prompt_);
        SetControlText(window_, IDC_INPUT_TEXT, text_);
        ::SendDlgItemMessageW(window_, IDC_INPUT_TEXT, EM_LIMITTEXT, 1024, 0);
        ::SetFocus(::GetDlgItem(window_, IDC_INPUT_TEXT));
        return FALSE;  // the focus is set
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) ::SetFocus(::GetDlgItem(window_, IDC_INPUT_TEXT));
        return FALSE;
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
      default:
        return FALSE;
    }
  }

 private:
  INT_PTR OnCommand(int control, int code) {
    if (control == IDC_INPUT_TEXT && code == EN_SETFOCUS) {
      ::SendDlgItemMessageW(window_, IDC_INPUT_TEXT, EM_SETSEL, 0, -1);
      return TRUE;
    }
    if (control == IDOK) {  // the OK button and Enter alike
      const std::string typed = ControlText(window_, IDC_INPUT_TEXT);
      if (!InputAccepted(typed)) return TRUE;  // only blanks: the box stays open
      text_ = typed;
      ::EndDialog(window_, IDOK);
      return TRUE;
    }
    if (control == IDCANCEL) {  // Cancel, Escape and the close box
      ::EndDialog(window_, IDCANCEL);
      return TRUE;
    }
    return FALSE;
  }

  std::string prompt_;
  std::string title_;
  std::string text_;
};

}  // namespace

std::string InputText(HWND owner, const std::string& prompt, const std::string& title,
                      const std::string& defaultText) {
  FrmInput box(prompt, title, defaultText);
  const INT_PTR result =
      ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_INPUT), owner,
                        &FrmInput::Procedure, reinterpret_cast<LPARAM>(&box));
  return result == IDOK ? box.text() : defaultText;
}

}  // namespace kivo::win
