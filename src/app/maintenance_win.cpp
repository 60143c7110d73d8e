#include "app/maintenance_win.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/message_win.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

// "a|b|c|d" as the file dialog wants it: NUL-separated, ending in two NULs.
std::wstring DialogFilter(const std::string& filter) {
  std::wstring list = Widen(filter);
  for (wchar_t& c : list) {
    if (c == L'|') c = L'\0';
  }
  list.push_back(L'\0');
  return list;  // the string's own terminator is the second NUL
}

std::optional<std::string> RunFileDialog(HWND owner, const BackupFileDialog& dialog) {
  const std::wstring filter = DialogFilter(kBackupFileFilter);
  const std::wstring title = Widen(dialog.title);
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring proposed = Widen(dialog.proposedName);
  std::copy(proposed.begin(), proposed.end(), file.begin());
  OPENFILENAMEW box{};
  box.lStructSize = sizeof(box);
  box.hwndOwner = owner;
  box.lpstrFilter = filter.c_str();
  box.nFilterIndex = 1;
  box.lpstrFile = file.data();
  box.nMaxFile = static_cast<DWORD>(file.size());
  box.lpstrTitle = title.c_str();
  // The program asks about replacing a file itself, with its own words.
  box.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              OFN_DONTADDTORECENT | (dialog.save ? 0 : OFN_FILEMUSTEXIST);
  const BOOL chosen = dialog.save ? ::GetSaveFileNameW(&box) : ::GetOpenFileNameW(&box);
  if (!chosen) return std::nullopt;
  return Narrow(file.data());
}

}  // namespace

MaintenanceWin::MaintenanceWin(Parts parts)
    : parts_(std::move(parts)), backup_(parts_.fs, parts_.codec, parts_.data.paths) {}

std::optional<std::string> MaintenanceWin::ChooseFile(MaintenanceOperation operation) {
  const BackupFileDialog dialog = FileDialogFor(operation);
  const auto path = RunFileDialog(parts_.owner ? parts_.owner() : nullptr, dialog);
  if (!path || path->empty()) return std::nullopt;
  // An existing backup is replaced only when the new one is whole (the old file stays
  // until then), so nothing is deleted here.
  if (dialog.save && parts_.fs.FileExists(*path) && !ShowShellMessage(ReplaceTargetQuestion())) {
    return std::nullopt;
  }
  return path;
}

bool MaintenanceWin::Report(MaintenanceOperation operation, bool succeeded, bool damaged) {
  ShowShellMessage(OperationReport(operation, succeeded, damaged));
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
    ShowShellMessage({"Restore all shortcuts & icons failed! ", kMaintenanceTitle,
                      MessageButtons::Ok, MessageIcon::Exclamation});
    return false;
  }
  if (result == RestoreResult::Restored) Reload(false, false, true);
  return Report(MaintenanceOperation::RestoreShortcuts, result == RestoreResult::Restored,
                result == RestoreResult::Damaged);
}

bool MaintenanceWin::ResetShortcuts() {
  if (!ShowShellMessage(ResetShortcutsQuestion())) return false;
  (void)SaveSettings();
  const std::string& icons = parts_.data.paths.UserIconFolder;
  for (const std::string& name : parts_.fs.ListFiles(icons, ".png")) {
    parts_.fs.RemoveFile(icons + name);
  }
  Reload(false, true, false);
  (void)parts_.files.SaveStore(parts_.data.store);
  ShowShellMessage(ResetShortcutsDone());
  return true;
}

bool MaintenanceWin::ResetSettings() {
  if (!ShowShellMessage(ResetSettingsQuestion())) return false;
  Reload(true, false, false);
  (void)SaveSettings();
  ShowShellMessage(ResetSettingsDone());
  return true;
}

}  // namespace kivo::win
