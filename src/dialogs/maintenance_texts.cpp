#include "dialogs/maintenance_texts.h"

namespace kivo {
namespace {

ShellMessage Plain(std::string text) {
  return {std::move(text), kMaintenanceTitle, MessageButtons::Ok, MessageIcon::None};
}

ShellMessage Question(std::string text) {
  return {std::move(text), kMaintenanceTitle, MessageButtons::YesNo, MessageIcon::Question, true};
}

ShellMessage Failure(std::string text) {
  return {std::move(text), kMaintenanceTitle, MessageButtons::Ok, MessageIcon::Exclamation};
}

}  // namespace

BackupFileDialog FileDialogFor(MaintenanceOperation operation) {
  switch (operation) {
    case MaintenanceOperation::BackupSettings:
      return {"Kivo Launcher - Backup Configuration", "Kivo Launcher Cfg.bak", true};
    case MaintenanceOperation::BackupShortcuts:
      return {"Kivo Launcher - Backup Shortcuts & Icons", "Kivo Launcher Icons.bak", true};
    case MaintenanceOperation::RestoreSettings:
      return {"Kivo Launcher - Restore Configuration", "Kivo Launcher Cfg.bak", false};
    case MaintenanceOperation::RestoreShortcuts:
      return {"Kivo Launcher - Restore Shortcuts & Icons", "Kivo Launcher Icons.bak", false};
  }
  return {};
}

ShellMessage ReplaceTargetQuestion() {
  ShellMessage question = Question("The target file already exists. Are you sure to replace?");
  question.defaultNo = false;
  return question;
}

ShellMessage OperationReport(MaintenanceOperation operation, bool succeeded, bool damaged) {
  // Nothing is changed by a failed operation, and the reports say so.
  const char* kept = "\n\nNothing was changed.";
  switch (operation) {
    case MaintenanceOperation::BackupSettings:
      return succeeded ? Plain("Backup Configuration File Successfully!")
                       : Failure(std::string("Backup configuration file failed! ") +
                                 "The file could not be written." + kept);
    case MaintenanceOperation::BackupShortcuts:
      return succeeded ? Plain("Backup Shortcuts & Icons Successfully!")
                       : Failure(std::string("Backup all shortcuts & icons failed! ") +
                                 "The file could not be written." + kept);
    case MaintenanceOperation::RestoreSettings:
      if (succeeded) return Plain("Restore Configuration Successfully!");
      return Failure(std::string("Restore configuration failed! ") +
                     (damaged ? "The file is not a Kivo Launcher configuration file."
                              : "The configuration file could not be written.") +
                     kept);
    case MaintenanceOperation::RestoreShortcuts:
      if (succeeded) return Plain("Restore Shortcuts & Icons Successfully!");
      return Failure(std::string("Restore all shortcuts & icons failed! ") +
                     (damaged ? "\n\nThe file is not a shortcut backup, or it is damaged."
                              : "\n\nThe shortcuts could not be written.") +
                     kept);
  }
  return {};
}

ShellMessage ResetShortcutsQuestion() {
  return Question(
      std::string("WARNING: This procedure will reset all default shortcuts and icons to their "
                  "default values but all currently used program settings will be maintained "
                  "intact. ") +
      "It is recommended to backup all shortcuts and icons (Settings --> General tab --> "
      "Backup section) before proceeding." +
      "\r\n\r\n" + "Proceed anyway with resetting all default shortcuts and icons?");
}

ShellMessage ResetSettingsQuestion() {
  return Question(
      std::string("WARNING: This procedure will reset all program settings to their default "
                  "values but all currently used shortcuts and icons will be maintained intact. ") +
      "It is recommended to backup the configuration (Settings --> General tab --> Backup "
      "section) before proceeding." +
      "\r\n\r\n" + "Proceed anyway with resetting all default program settings?");
}

ShellMessage ResetShortcutsDone() {
  return {"Reset all default shortcuts & icons successfully!", kMaintenanceTitle,
          MessageButtons::Ok, MessageIcon::Information};
}

ShellMessage ResetSettingsDone() {
  return {"Reset all default program settings successfully!", kMaintenanceTitle, MessageButtons::Ok,
          MessageIcon::Information};
}

}  // namespace kivo
