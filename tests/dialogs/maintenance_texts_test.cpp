#include "dialogs/maintenance_texts.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(MaintenanceTextsTest, FileDialogsTable) {
  struct Row {
    MaintenanceOperation operation;
    const char* title;
    const char* name;
    bool save;
  } rows[] = {
      {MaintenanceOperation::BackupSettings, "Kivo Launcher - Backup Configuration",
       "Kivo Launcher Cfg.bak", true},
      {MaintenanceOperation::BackupShortcuts, "Kivo Launcher - Backup Shortcuts & Icons",
       "Kivo Launcher Icons.bak", true},
      {MaintenanceOperation::RestoreSettings, "Kivo Launcher - Restore Configuration",
       "Kivo Launcher Cfg.bak", false},
      {MaintenanceOperation::RestoreShortcuts, "Kivo Launcher - Restore Shortcuts & Icons",
       "Kivo Launcher Icons.bak", false},
  };
  for (const Row& row : rows) {
    const BackupFileDialog dialog = FileDialogFor(row.operation);
    EXPECT_EQ(dialog.title, row.title);
    EXPECT_EQ(dialog.proposedName, row.name);
    EXPECT_EQ(dialog.save, row.save);
  }
  EXPECT_STREQ(kBackupFileFilter, "*.bak|*.bak|*.*|*.*");
}

TEST(MaintenanceTextsTest, SuccessReportsArePlainAndFailuresWarn) {
  struct Row {
    MaintenanceOperation operation;
    const char* success;
    const char* failureStart;
  } rows[] = {
      {MaintenanceOperation::BackupSettings, "Backup Configuration File Successfully!",
       "Backup configuration file failed!"},
      {MaintenanceOperation::BackupShortcuts, "Backup Shortcuts & Icons Successfully!",
       "Backup all shortcuts & icons failed!"},
      {MaintenanceOperation::RestoreSettings, "Restore Configuration Successfully!",
       "Restore configuration failed!"},
      {MaintenanceOperation::RestoreShortcuts, "Restore Shortcuts & Icons Successfully!",
       "Restore all shortcuts & icons failed! "},
  };
  for (const Row& row : rows) {
    const ShellMessage ok = OperationReport(row.operation, true);
    EXPECT_EQ(ok.text, row.success);
    EXPECT_EQ(ok.icon, MessageIcon::None);
    EXPECT_EQ(ok.buttons, MessageButtons::Ok);
    for (bool damaged : {false, true}) {
      const ShellMessage failed = OperationReport(row.operation, false, damaged);
      EXPECT_TRUE(failed.text.starts_with(row.failureStart)) << failed.text;
      EXPECT_EQ(failed.icon, MessageIcon::Exclamation);
      EXPECT_EQ(failed.title, "Kivo Launcher");
    }
  }
}

TEST(MaintenanceTextsTest, ResetQuestionsAndReports) {
  const ShellMessage shortcuts = ResetShortcutsQuestion();
  EXPECT_EQ(shortcuts.text,
            "WARNING: This procedure will reset all default shortcuts and icons to their default "
            "values but all currently used program settings will be maintained intact. It is "
            "recommended to backup all shortcuts and icons (Settings --> General tab --> Backup "
            "section) before proceeding.\r\n\r\nProceed anyway with resetting all default "
            "shortcuts and icons?");
  const ShellMessage settings = ResetSettingsQuestion();
  EXPECT_EQ(settings.text,
            "WARNING: This procedure will reset all program settings to their default values but "
            "all currently used shortcuts and icons will be maintained intact. It is recommended "
            "to backup the configuration (Settings --> General tab --> Backup section) before "
            "proceeding.\r\n\r\nProceed anyway with resetting all default program settings?");
  for (const ShellMessage& question : {shortcuts, settings}) {
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_TRUE(question.defaultNo);
  }
  EXPECT_EQ(ResetShortcutsDone().text, "Reset all default shortcuts & icons successfully!");
  EXPECT_EQ(ResetSettingsDone().text, "Reset all default program settings successfully!");
  EXPECT_EQ(ResetSettingsDone().icon, MessageIcon::Information);
  EXPECT_EQ(ResetShortcutsDone().title, "Kivo Launcher");
  EXPECT_EQ(ReplaceTargetQuestion().text,
            "The target file already exists. Are you sure to replace?");
  EXPECT_EQ(ReplaceTargetQuestion().buttons, MessageButtons::YesNo);
}

}  // namespace
}  // namespace kivo
