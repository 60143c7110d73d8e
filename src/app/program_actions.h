// What the dock and the built-in commands ask of the rest of the program: launching and
// commands, deleting entries, saving, the small dialogs, and the dock's own operations
// for the commands. The composition root wires it up; nothing here decides anything.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "commands/commands.h"
#include "commands/dock_control.h"
#include "core/data_files.h"
#include "core/startup.h"
#include "gfx/win32/image_tables.h"
#include "items/item_context.h"
#include "platform/win32/system_actions_win.h"
#include "ui/win32/dialogs/maintenance_win.h"
#include "ui/win32/dialogs/quick_start_dialog.h"
#include "ui/win32/dialogs/settings_dialog.h"
#include "ui/win32/dock_window.h"
#include "ui/win32/item_menu.h"
#include "ui/win32/popup_window.h"
#include "ui/win32/tray_window.h"

namespace kivo {

class ProgramActions final : public DockActions, public PopupActions, public DockControl {
 public:
  struct Parts {
    AppData& data;
    DataFiles& files;
    ItemContext& items;
    win::ImageTables& images;
    const AnsiCodec& codec;
    std::string version;         // for the about box
    std::function<void()> exit;  // the orderly exit, once the dock has faded out
    // Rebuilds data, images and dock after a restore or reset (resetSettings,
    // resetShortcuts, repairIcons).
    std::function<void(bool, bool, bool)> reloadData = {};
  };
  explicit ProgramActions(Parts parts);

  // The windows exist after the actions they are given: bind them before anything runs.
  void Bind(win::DockWindow& dock, win::PopupWindow& popup);
  // The quick-start window at start-up, when the settings ask for it.
  void ShowQuickStartAtStart();
  // For the message loop: keyboard navigation of the modeless quick-start window.
  bool IsDialogMessage(MSG& message) const;
  // Closes the windows this object opened (before the dock goes).
  void Close();
  // The settings dialog changes the hot keys the tray holds, once the tray exists.
  void BindTray(win::TrayWindow* tray) { tray_ = tray; }

  // DockActions
  void LaunchItem(int item) override;
  void RunCommand(int command) override;
  void OpenPopup(int slot) override;
  void ClosePopup() override;
  void OpenContextMenu(int slot) override;
  bool DeleteItem(int item) override;
  void SaveStore() override;
  void ShowQuickStart() override;
  void EndProgram() override;
  void DropFiles(int slot, std::vector<std::string> paths) override;
  void ShowSearchResults(const std::vector<int>& items) override;
  void SearchListKey(int key) override;

  // PopupActions (launching, commands and saving are shared with the dock)
  void OpenItemMenu(int item, int group, int position) override;
  bool DeleteMember(int item) override;
  void GroupEmptied(int group) override;
  void Closed(bool dockTakesFocus) override;
  void Activity(bool active) override;

  // DockControl
  void EscCancel() override;
  void MinWindows(int mode) override;
  void ExitProgram() override;
  void ShowSettings() override;
  void ShowAbout() override;
  void ChangeUserNameAndPicture() override;
  void ReloadItemImage(int item) override;

  // The settings dialog's backup, restore and reset operations.
  Maintenance& maintenance() { return *maintenance_; }

 private:
  HWND owner() const;
  bool SaveSettings();

  Parts parts_;
  win::DockWindow* dock_ = nullptr;
  win::PopupWindow* popup_ = nullptr;
  std::unique_ptr<win::WinSystemActions> system_;
  std::unique_ptr<Commands> commands_;
  win::QuickStartDialog quickStart_;
  std::unique_ptr<win::ItemMenu> itemMenu_;  // made when the windows are bound
  win::TrayWindow* tray_ = nullptr;
  std::unique_ptr<win::SettingsDialog> settings_;  // made when first shown
  std::unique_ptr<win::MaintenanceWin> maintenance_;
};

}  // namespace kivo
