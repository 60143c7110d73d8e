// The questions and reports of the settings dialog's backup, restore and reset buttons.
#pragma once

#include <string>

#include "core/shell_utilities.h"

namespace kivo {

inline constexpr char kMaintenanceTitle[] = "Kivo Launcher";
// The file dialogs' filter, in the "description|pattern|..." form.
inline constexpr char kBackupFileFilter[] = "*.bak|*.bak|*.*|*.*";

enum class MaintenanceOperation {
  BackupSettings,
  BackupShortcuts,
  RestoreSettings,
  RestoreShortcuts,
};

// The file dialog of an operation: its title and the file name it proposes.
struct BackupFileDialog {
  std::string title;
  std::string proposedName;
  bool save = false;  // a save dialog, else an open dialog
};
BackupFileDialog FileDialogFor(MaintenanceOperation operation);

// "The target file already exists. Are you sure to replace?"
ShellMessage ReplaceTargetQuestion();

// The report after an operation: the success text in a plain box, or what went wrong.
// `damaged` tells a file that is not a sound backup from one that could not be written.
ShellMessage OperationReport(MaintenanceOperation operation, bool succeeded, bool damaged = false);

ShellMessage ResetShortcutsQuestion();
ShellMessage ResetSettingsQuestion();
ShellMessage ResetShortcutsDone();
ShellMessage ResetSettingsDone();

}  // namespace kivo
