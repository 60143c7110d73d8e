// FrmStarted: the quick-start window, five picture pages with tips.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "dialogs/quick_start.h"
#include "platform/win32/gdiplus_api.h"
#include "ui/win32/dialogs/dialog_support.h"

namespace kivo::win {

// Modeless, so the dock stays usable while the tips are read; one window at a time. The
// message loop must pass its messages through IsDialogMessage for the keys to work.
class QuickStartDialog : public DialogBase {
 public:
  // `startedPage` is the settings field the window works on; `saveSettings` writes the
  // settings file (when the window closes).
  QuickStartDialog(std::int16_t& startedPage, std::function<bool()> saveSettings);
  ~QuickStartDialog() override;

  // Opens the window (at the stored page, or page 0 when that is no page), or brings the
  // open one to the front. False when the window could not be made.
  bool Show(HWND owner);
  // As "关闭": stores the closing page, saves the settings and destroys the window.
  void Close();
  bool IsOpen() const { return window() != nullptr; }
  // The page shown, -1 while closed.
  int page() const { return session_ ? session_->pages().page() : -1; }
  // For the message loop: true when the message was the window's own.
  bool IsDialogMessage(MSG& message) const;

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ShowPage();
  void DrawPage(const DRAWITEMSTRUCT& item) const;

  std::int16_t& startedPage_;
  std::function<bool()> saveSettings_;
  std::optional<QuickStartSession> session_;
  std::array<GpBitmapPtr, kQuickStartPageCount> pictures_;
};

}  // namespace kivo::win
