// FrmTray: an invisible top-level window for the whole run. It carries the program's icon
// in the notification area with its tip and menu, and the three system-wide hot keys.
// The tray's callback, the menu's choice, the hot keys and the shell's "TaskbarCreated"
// broadcast all arrive as ordinary messages of this window, and so does the news that the
// user unlocked the session, after which the hot keys are checked and taken again.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/dock_control.h"
#include "dock/dock_controller.h"
#include "platform/win32/handles.h"
#include "tray/hotkeys.h"
#include "tray/tray_menu.h"
#include "ui/win32/window.h"

namespace kivo::win {

class TrayWindow final : public Window {
 public:
  struct Parts {
    DockControl& control;  // the menu's dialogs, collapsing and the orderly exit
    DockActions& actions;  // the built-in commands (switching the desktop)
    std::function<void(const DockEvent&)> dock;  // events for the dock's state machine
    std::string homePage;
    std::string helpPage;
  };

  TrayWindow(HINSTANCE instance, Parts parts);
  ~TrayWindow() override;

  // Creates the window, adds the icon and registers `hotKeys` (empty ones are skipped).
  // Combinations another program holds are reported once with a balloon from the icon.
  // False when the window could not be made.
  [[nodiscard]] bool Create(const HotKeySet& hotKeys);
  // Removes the icon and gives the hot keys back; the window goes too.
  void Destroy();

  HWND handle() const { return window_.get(); }
  // The combinations that could not be registered at start.
  const std::vector<HotKey>& takenHotKeys() const { return taken_; }
  // Gives the hot keys back and registers `hotKeys` instead (the settings dialog's
  // change). Returns the combinations another program holds; the caller tells the user.
  std::vector<HotKey> ChangeHotKeys(const HotKeySet& hotKeys);

 private:
  std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) override;
  bool AddIcon();
  void RemoveIcon();
  // Shows the balloon about taken hot keys once it can be shown.
  void ShowPendingBalloon();
  void RegisterHotKeys(const HotKeySet& hotKeys);
  // Registers one combination under `id`; on failure GetLastError says why.
  bool RegisterHotKeyId(int id, const HotKey& key);
  // After an unlock: takes back any hot key the system dropped while the session was
  // locked, and any a program held at start that has since let it go.
  void RenewHotKeys();
  void UnregisterHotKeys();
  void OnHotKey(WPARAM id);
  void ShowMenu();
  void Run(TrayCommand command);
  void Open(const std::string& address) const;

  HINSTANCE instance_;
  Parts parts_;
  UniqueWindow window_;
  UniqueIcon icon_;
  UINT taskbarCreated_ = 0;
  bool iconShown_ = false;
  HotKeySet hotKeys_{};          // the combinations asked for, empty ones included
  std::vector<int> registered_;  // hot-key ids held by this window
  std::vector<HotKey> taken_;
  bool balloonPending_ = false;
  bool inMenu_ = false;
  bool sessionNotices_ = false;  // registered for the session's lock and unlock
};

}  // namespace kivo::win
