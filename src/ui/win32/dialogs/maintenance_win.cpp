#include "ui/win32/dialogs/maintenance_win.h"

#include "platform/win32/file_dialog.h"
#include "platform/win32/message_win.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

std::optional<std::string> RunFileDialog(HWND owner, const BackupFileDialog& dialog) {
  // The program asks about replacing a file itself, with its own words.
  return ChooseFile(owner,
                    FileDialog{dialog.title, kBackupFileFilter, dialog.proposedName, dialog.save});
}

}  // namespace

MaintenanceWin::MaintenanceWin(Parts parts)
    : parts_(std::move(parts)), backup_(parts_.fs, parts_.codec, parts_.data.paths) {}

std::optional<std::string> MaintenanceWin::ChooseFile(MaintenanceOperation operation) {
  const BackupFileDialog dialog = FileDialogFor(operation);
  const auto path = RunFileDialog(Owner(), dialog);
  if (!path || path->empty()) return std::nullopt;
  // An existing backup is replaced only when the new one is whole (the old file stays
  // until then), so nothing is deleted here.
  if (dialog.save && parts_.fs.FileExists(*path) &&
      !ShowMessageOver(Owner(), ReplaceTargetQuestion())) {
    return std::nullopt;
  }
  return path;
}

bool MaintenanceWin::Report(MaintenanceOperation operation, bool succeeded, bool damaged) {
  ShowMessageOver(Owner(), OperationReport(operation, succeeded, damaged));
  return succeeded;
}

void MaintenanceWin::Reload(bool resetSettings, bool resetShortcuts, bool repairIcons) {
  if (parts_.reloadData) parts_.reloadData(resetSettings, resetShortcuts, repairIcons);
}

bool MaintenanceWin::SaveSettings() {
  return parts_.files.SaveSettings(parts_.data.settings, parts_.data.store.Items[0]);
}

bool MaintenanceWin::BackupSettings() {
  const auto path = ChooseFile(MaintenanceOperation::BackupSettings);
  if (!path) return false;
  (void)SaveSettings();
  const bool written =
      backup_.BackupSettings(parts_.data.settings, parts_.data.store.Items[0], *path);
  return Report(MaintenanceOperation::BackupSettings, written);
}

bool MaintenanceWin::BackupShortcuts() {
  const auto path = ChooseFile(MaintenanceOperation::BackupShortcuts);
  if (!path) return false;
  return Report(MaintenanceOperation::BackupShortcuts,
                backup_.BackupShortcuts(parts_.data.store, *path));
}

bool MaintenanceWin::RestoreSettings() {
  const auto path = ChooseFile(MaintenanceOperation::RestoreSettings);
  if (!path) return false;
  const RestoreResult result = backup_.RestoreSettings(*path);
  if (result == RestoreResult::Restored) Reload(false, false, false);
  return Report(MaintenanceOperation::RestoreSettings, result == RestoreResult::Restored,
                result == RestoreResult::Damaged);
}

bool MaintenanceWin::RestoreShortcuts() {
  const auto path = ChooseFile(MaintenanceOperation::RestoreShortcuts);
  if (!path) return false;
  const RestoreResult result = backup_.RestoreShortcuts(parts_.data.store, *path);
  if (result == RestoreResult::Missing) {
    ShowMessageOver(Owner(), {"Restore all shortcuts & icons failed! ", kMaintenanceTitle,
                              MessageButtons::Ok, MessageIcon::Exclamation});
    return false;
  }
  if (result == RestoreResult::Restored) Reload(false, false, true);
  return Report(MaintenanceOperation::RestoreShortcuts, result == RestoreResult::Restored,
                result == RestoreResult::Damaged);
}

bool MaintenanceWin::ResetShortcuts() {
  if (!ShowMessageOver(Owner(), ResetShortcutsQuestion())) return false;
  (void)SaveSettings();
  const std::string& icons = parts_.data.paths.UserIconFolder;
  for (const std::string& name : parts_.fs.ListFiles(icons, ".png")) {
    parts_.fs.RemoveFile(icons + name);
  }
  Reload(false, true, false);
  (void)parts_.files.SaveStore(parts_.data.store);
  ShowMessageOver(Owner(), ResetShortcutsDone());
  return true;
}

bool MaintenanceWin::ResetSettings() {
  if (!ShowMessageOver(Owner(), ResetSettingsQuestion())) return false;
  Reload(true, false, false);
  (void)SaveSettings();
  ShowMessageOver(Owner(), ResetSettingsDone());
  return true;
}

}  // namespace kivo::win
