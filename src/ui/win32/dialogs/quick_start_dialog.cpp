#include "ui/win32/dialogs/quick_start_dialog.h"

#include <string>

#include "gfx/win32/skins_win.h"
#include "ui/win32/dialogs/dialog_ids.h"

namespace kivo::win {

QuickStartDialog::QuickStartDialog(std::int16_t& startedPage, std::function<bool()> saveSettings)
    : startedPage_(startedPage), saveSettings_(std::move(saveSettings)) {}

QuickStartDialog::~QuickStartDialog() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

bool QuickStartDialog::Show(HWND owner) {
  if (window_ != nullptr) {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::SetForegroundWindow(window_);
    return true;
  }
  const HMODULE module = ::GetModuleHandleW(nullptr);
  for (std::size_t page = 0; page < pictures_.size(); ++page) {
    if (!pictures_[page]) {
      pictures_[page] = LoadSkinResource(module, (L"STARTED" + std::to_wstring(page)).c_str());
    }
  }
  session_.emplace(startedPage_, saveSettings_);
  if (::CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_QUICK_START), owner,
                           &QuickStartDialog::Procedure,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
    session_.reset();
    return false;
  }
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
  return true;
}

void QuickStartDialog::Close() {
  if (window_ == nullptr || !session_) return;
  session_->Close(::IsDlgButtonChecked(window_, IDC_STARTED_CHECK) == BST_CHECKED);
  ::DestroyWindow(window_);
  session_.reset();
}

bool QuickStartDialog::IsDialogMessage(MSG& message) const {
  return window_ != nullptr && ::IsDialogMessageW(window_, &message);
}

INT_PTR QuickStartDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ::CheckDlgButton(window_, IDC_STARTED_CHECK,
                       session_->dontShowAgainAtOpen() ? BST_CHECKED : BST_UNCHECKED);
      ShowPage();
      return TRUE;
    case WM_DRAWITEM:
      if (wParam != IDC_STARTED_PICTURE) return FALSE;
      DrawPage(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_STARTED_PREVIOUS:
          if (session_ && session_->Previous()) ShowPage();
          return TRUE;
        case IDC_STARTED_NEXT:
          if (session_ && session_->Next()) ShowPage();
          return TRUE;
        case IDC_STARTED_CLOSE:
        case IDCANCEL:  // Escape and the close box
          Close();
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

void QuickStartDialog::ShowPage() {
  const QuickStartPages& pages = session_->pages();
  HWND previous = ::GetDlgItem(window_, IDC_STARTED_PREVIOUS);
  HWND next = ::GetDlgItem(window_, IDC_STARTED_NEXT);
  // A button about to be disabled must not keep the focus, or the keys would stop working.
  const HWND focus = ::GetFocus();
  if ((focus == previous && !pages.previousEnabled()) || (focus == next && !pages.nextEnabled())) {
    ::SendMessageW(window_, WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(::GetDlgItem(window_, IDC_STARTED_CLOSE)), TRUE);
  }
  ::EnableWindow(previous, pages.previousEnabled());
  ::EnableWindow(next, pages.nextEnabled());
  ::InvalidateRect(::GetDlgItem(window_, IDC_STARTED_PICTURE), nullptr, FALSE);
}

void QuickStartDialog::DrawPage(const DRAWITEMSTRUCT& item) const {
  ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
  if (!session_) return;
  Gdiplus::GpImage* picture = pictures_[static_cast<std::size_t>(session_->pages().page())].get();
  if (picture == nullptr) return;
  Gdiplus::GpGraphics* raw = nullptr;
  if (gp::GdipCreateFromHDC(item.hDC, &raw) != Gdiplus::Ok) return;
  GpGraphicsPtr graphics(raw);
  UseSmoothScaling(graphics.get());
  // The page as large as the frame allows, its proportions kept, centred.
  const auto [width, height] = ImageSize(picture);
  if (width <= 0 || height <= 0) return;
  const int frameWidth = item.rcItem.right - item.rcItem.left;
  const int frameHeight = item.rcItem.bottom - item.rcItem.top;
  int drawWidth = frameWidth;
  int drawHeight = static_cast<int>(static_cast<long long>(frameWidth) * height / width);
  if (drawHeight > frameHeight) {
    drawHeight = frameHeight;
    drawWidth = static_cast<int>(static_cast<long long>(frameHeight) * width / height);
  }
  gp::GdipDrawImageRectI(graphics.get(), picture, item.rcItem.left + (frameWidth - drawWidth) / 2,
                         item.rcItem.top + (frameHeight - drawHeight) / 2, drawWidth, drawHeight);
}

}  // namespace kivo::win
