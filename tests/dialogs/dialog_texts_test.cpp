#include "dialogs/maintenance_texts.h"

#include <gtest/gtest.h>

#include "dialogs/input_box.h"

namespace kivo {
namespace {

TEST(MaintenanceTexts, FileDialogsAndReports) {
  using Op = MaintenanceOperation;
  const struct {
    Op operation;
    const char* title;
    const char* name;
    const char* success;
    const char* failureStart;
  } rows[] = {
      {Op::BackupSettings, "Backup Configuration", "Cfg", "Backup Configuration File",
       "Backup configuration file failed!"},
      {Op::BackupShortcuts, "Backup Shortcuts & Icons", "Icons", "Backup Shortcuts & Icons",
       "Backup all shortcuts & icons failed!"},
      {Op::RestoreSettings, "Restore Configuration", "Cfg", "Restore Configuration",
       "Restore configuration failed!"},
      {Op::RestoreShortcuts, "Restore Shortcuts & Icons", "Icons", "Restore Shortcuts & Icons",
       "Restore all shortcuts & icons failed! "},
  };
  for (const auto& row : rows) {
    const bool backup = row.operation == Op::BackupSettings || row.operation == Op::BackupShortcuts;
    const BackupFileDialog dialog = FileDialogFor(row.operation);
    EXPECT_EQ(dialog.title, std::string("Kivo Launcher - ") + row.title);
    EXPECT_EQ(dialog.proposedName, std::string("Kivo Launcher ") + row.name + ".bak");
    EXPECT_EQ(dialog.save, backup);
    const ShellMessage ok = OperationReport(row.operation, true);
    EXPECT_EQ(ok.text, std::string(row.success) + " Successfully!");
    EXPECT_EQ(ok.icon, MessageIcon::None);
    for (bool damaged : {false, true}) {
      const ShellMessage failed = OperationReport(row.operation, false, damaged);
      EXPECT_TRUE(failed.text.starts_with(row.failureStart)) << failed.text;
      EXPECT_EQ(failed.icon, MessageIcon::Exclamation);
      EXPECT_EQ(failed.title, "Kivo Launcher");
    }
  }
}

TEST(MaintenanceTexts, ResetQuestionsDefaultToNo) {
  for (const ShellMessage& question : {ResetShortcutsQuestion(), ResetSettingsQuestion()}) {
    EXPECT_TRUE(question.text.starts_with("WARNING: This procedure will reset all "))
        << question.text;
    EXPECT_NE(question.text.find("\r\n\r\nProceed anyway with resetting all default "),
              std::string::npos);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_TRUE(question.defaultNo);
  }
  EXPECT_EQ(ResetSettingsDone().text, "Reset all default program settings successfully!");
  EXPECT_EQ(ResetShortcutsDone().text, "Reset all default shortcuts & icons successfully!");
  EXPECT_EQ(ReplaceTargetQuestion().buttons, MessageButtons::YesNo);
}

TEST(InputBox, OnlyTextWithSomethingBesidesBlanksIsAcceptedAndTheCaptionDefaults) {
  for (const char* text : {"", "     "}) EXPECT_FALSE(InputAccepted(text)) << '"' << text << '"';
  for (const char* text : {"  a  ", " 组 ", "\t"}) EXPECT_TRUE(InputAccepted(text)) << text;
  EXPECT_EQ(InputCaption(""), "Kivo Launcher Input");
  EXPECT_EQ(InputCaption(" "), " ");
}

}  // namespace
}  // namespace kivo
