// The settings dialog's backup, restore and reset buttons: the file dialogs, the questions
// and reports, and the operations behind them.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "core/data_files.h"
#include "core/startup.h"
#include "dialogs/maintenance.h"
#include "dialogs/maintenance_texts.h"
#include "items/shortcut_backup.h"

namespace kivo::win {

class MaintenanceWin final : public Maintenance {
 public:
  struct Parts {
    AppData& data;
    DataFiles& files;
    FileSystem& fs;
    const AnsiCodec& codec;
    // The window the dialogs and messages belong to (the settings dialog while it is
    // open), which gets the keyboard back when they close.
    std::function<HWND()> owner;
    // Rebuilds the running program's data, images and dock (resetSettings,
    // resetShortcuts, repairIcons).
    std::function<void(bool, bool, bool)> reloadData;
  };
  explicit MaintenanceWin(Parts parts);

  bool BackupSettings() override;
  bool BackupShortcuts() override;
  bool RestoreSettings() override;
  bool RestoreShortcuts() override;
  bool ResetSettings() override;
  bool ResetShortcuts() override;

 private:
  // The file the user chose in the operation's dialog; nothing when cancelled or when an
  // existing target is not to be replaced.
  std::optional<std::string> ChooseFile(MaintenanceOperation operation);
  bool Report(MaintenanceOperation operation, bool succeeded, bool damaged = false);
  void Reload(bool resetSettings, bool resetShortcuts, bool repairIcons);
  HWND Owner() const { return parts_.owner ? parts_.owner() : nullptr; }
  bool SaveSettings();

  Parts parts_;
  ShortcutBackup backup_;
};

}  // namespace kivo::win
