#include "ui/win32/dialogs/about_dialog.h"

#include <shellapi.h>

#include "dialogs/about_texts.h"
#include "gfx/win32/skins_win.h"
#include "platform/win32/gdiplus_api.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/dialog_ids.h"
#include "ui/win32/dialogs/dialog_support.h"

namespace kivo::win {
namespace {

constexpr COLORREF kLinkColour = RGB(0, 84, 166);
HWND g_openAbout = nullptr;  // the box on screen, if any (there is one user-interface thread)

class FrmAbout : public DialogBase {
 public:
  explicit FrmAbout(const AboutInfo& info) : info_(info) {}

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_INITDIALOG:
        OnInit();
        // The focus goes to "&OK", not to the credits, which would show all selected.
        ::SetFocus(::GetDlgItem(window_, IDOK));
        return FALSE;
      case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam));
      case WM_CTLCOLORSTATIC:
        return OnStaticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      case WM_DRAWITEM:
        if (wParam == IDC_ABOUT_LOGO) {
          DrawLogo(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
          return TRUE;
        }
        return FALSE;
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
      case WM_DESTROY:
        if (g_openAbout == window_) g_openAbout = nullptr;
        return FALSE;
      default:
        return FALSE;
    }
  }

 private:
  void OnInit() {
    g_openAbout = window_;
    SetControlText(window_, IDC_ABOUT_TEXT, AboutProductText(info_.version));
    SetControlText(window_, IDC_ABOUT_OS, info_.osName);
    SetControlText(window_, IDC_ABOUT_HOME, HomeLinkText());
    SetControlText(window_, IDC_ABOUT_SUPPORT, SupportLinkText());
    SetControlText(window_, IDC_ABOUT_THANKS, SpecialThanksText());
    ::EnableWindow(::GetDlgItem(window_, IDC_ABOUT_LOG), info_.logFile.empty() ? FALSE : TRUE);
    plainFont_ = UnderlinedFont(::GetDlgItem(window_, IDC_ABOUT_HOME), false);
    hoverFont_ = UnderlinedFont(::GetDlgItem(window_, IDC_ABOUT_HOME), true);
    SetHover(0);
    logo_ = LoadSkinResource(::GetModuleHandleW(nullptr), L"LOGO");
  }

  // The dialog hears where the pointer is before any control does: over a link label
  // that label takes its hover style, anywhere else both drop it.
  INT_PTR OnSetCursor(HWND under) {
    const int control = under == window_ ? 0 : ::GetDlgCtrlID(under);
    const bool link = control == IDC_ABOUT_HOME || control == IDC_ABOUT_SUPPORT;
    SetHover(link ? control : 0);
    if (!link) return FALSE;
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
    return TRUE;
  }

  void SetHover(int control) {
    if (control == hovered_ && fontsSet_) return;
    hovered_ = control;
    fontsSet_ = true;
    for (const int link : {IDC_ABOUT_HOME, IDC_ABOUT_SUPPORT}) {
      HFONT font = (link == control ? hoverFont_ : plainFont_).get();
      if (font != nullptr)
        ::SendDlgItemMessageW(window_, link, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
  }

  INT_PTR OnStaticColour(HDC dc, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    if (id != IDC_ABOUT_HOME && id != IDC_ABOUT_SUPPORT) return FALSE;
    ::SetTextColor(dc, kLinkColour);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
  }

  INT_PTR OnCommand(int control, int code) {
    if ((control == IDC_ABOUT_HOME || control == IDC_ABOUT_SUPPORT) && code == STN_CLICKED) {
      const std::string target = control == IDC_ABOUT_HOME ? HomeLinkTarget() : SupportLinkTarget();
      if (info_.open) {
        info_.open(target);
      } else {
        ShellOpen(target);
      }
      return TRUE;
    }
    if (control == IDC_ABOUT_LOG && code == BN_CLICKED) {
      OpenLog();
      return TRUE;
    }
    if (control == IDOK || control == IDCANCEL) {
      ::EndDialog(window_, control);
      return TRUE;
    }
    return FALSE;
  }

  // The log is only made when something goes wrong: without one the user is told so, and
  // where it would be, rather than shown the shell's "file not found".
  void OpenLog() {
    if (info_.logFile.empty()) return;
    if (::GetFileAttributesW(Widen(info_.logFile).c_str()) == INVALID_FILE_ATTRIBUTES) {
      const std::string text = NoLogYetText(info_.logFile);
      if (info_.tell) {
        info_.tell(window_, text);
      } else {
        ::MessageBoxW(window_, Widen(text).c_str(), Widen(kAboutCaption).c_str(),
                      MB_OK | MB_ICONINFORMATION);
      }
      return;
    }
    if (info_.open) {
      info_.open(info_.logFile);
    } else {
      ShellOpen(info_.logFile);
    }
  }

  void DrawLogo(const DRAWITEMSTRUCT& item) {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!logo_) return;
    Gdiplus::GpGraphics* raw = nullptr;
    if (gp::GdipCreateFromHDC(item.hDC, &raw) != Gdiplus::Ok) return;
    GpGraphicsPtr graphics(raw);
    UseSmoothScaling(graphics.get());
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int side = width < height ? width : height;
    gp::GdipDrawImageRectI(graphics.get(), logo_.get(), item.rcItem.left + (width - side) / 2,
                           item.rcItem.top + (height - side) / 2, side, side);
  }

  const AboutInfo& info_;
  UniqueFont plainFont_;
  UniqueFont hoverFont_;
  int hovered_ = 0;
  bool fontsSet_ = false;
  GpBitmapPtr logo_;
};

}  // namespace

void ShellOpen(const std::string& target) {
  ::ShellExecuteW(nullptr, L"open", Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowAbout(HWND owner, const AboutInfo& info) {
  if (g_openAbout != nullptr && ::IsWindow(g_openAbout)) {
    ::SetForegroundWindow(g_openAbout);
    return;
  }
  FrmAbout box(info);
  ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner,
                    &FrmAbout::Procedure, reinterpret_cast<LPARAM>(&box));
}

}  // namespace kivo::win
