#include "platform/win32/shell_win.h"

#include "core/shell_utilities.h"

namespace kivo::win {
namespace {

// Hidden windows are shown again with SW_RESTORE; a window that is already visible is
// left alone, since SW_RESTORE would also activate it (the taskbar would take the focus).
void ShowShellWindow(HWND window, bool hide) {
  if (window == nullptr) return;
  if (hide) {
    ::ShowWindow(window, SW_HIDE);
  } else if (!::IsWindowVisible(window)) {
    ::ShowWindow(window, SW_RESTORE);
  }
}

HWND FindDesktopView() {
  if (const HWND progman = ::FindWindowW(L"Progman", nullptr)) {
    if (const HWND view = ::FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr)) {
      return view;
    }
  }
  for (HWND worker = ::FindWindowExW(nullptr, nullptr, L"WorkerW", nullptr); worker != nullptr;
       worker = ::FindWindowExW(nullptr, worker, L"WorkerW", nullptr)) {
    if (const HWND view = ::FindWindowExW(worker, nullptr, L"SHELLDLL_DefView", nullptr)) {
      return view;
    }
  }
  return nullptr;
}

}  // namespace

HWND FindDesktopListView() {
  const HWND view = FindDesktopView();
  if (view == nullptr) return nullptr;
  return ::FindWindowExW(view, nullptr, L"SysListView32", L"FolderView");
}

bool ShowDesktopIconList(bool hide) {
  const HWND list = FindDesktopListView();
  if (list == nullptr) return false;
  ShowShellWindow(list, hide);
  return true;
}

bool ShowDesktopIcons(bool hide, ShortcutStore& store) {
  if (!ShowDesktopIconList(hide)) return false;
  UpdateDesktopIconsCommand(store, hide);
  return true;
}

HWND FindStartButton(HWND taskbar) {
  if (taskbar == nullptr) return nullptr;
  if (const HWND child = ::FindWindowExW(taskbar, nullptr, L"Button", nullptr)) return child;
  const DWORD shellThread = ::GetWindowThreadProcessId(taskbar, nullptr);
  for (HWND button = ::FindWindowExW(nullptr, nullptr, L"Button", nullptr); button != nullptr;
       button = ::FindWindowExW(nullptr, button, L"Button", nullptr)) {
    if (::GetWindowThreadProcessId(button, nullptr) == shellThread) return button;
  }
  return nullptr;
}

void ShowTaskbar(bool hide) {
  const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskbar == nullptr) return;
  const HWND startButton = FindStartButton(taskbar);
  ShowShellWindow(taskbar, hide);
  ShowShellWindow(startButton, hide);
}

void ShowShellParts(bool hide, ShortcutStore& store) {
  ShowDesktopIcons(hide, store);
  ShowTaskbar(hide);
}

}  // namespace kivo::win
