#include <gtest/gtest.h>

#include "dialogs/input_box.h"
#include "dialogs/maintenance_texts.h"

namespace kivo {
namespace {

// Both reset questions wipe the user's data on Yes, so Enter must mean No.
TEST(MaintenanceTexts, ResetQuestionsDefaultToNo) {
  for (const ShellMessage& question : {ResetShortcutsQuestion(), ResetSettingsQuestion()}) {
    EXPECT_EQ(std::pair(question.buttons, question.defaultNo),
              std::pair(MessageButtons::YesNo, true));
  }
}

TEST(InputBox, OnlyTextWithSomethingBesidesBlanksIsAccepted) {
  for (const char* text : {"", "     "}) EXPECT_FALSE(InputAccepted(text)) << '"' << text << '"';
  for (const char* text : {"  a  ", "\t"}) EXPECT_TRUE(InputAccepted(text)) << text;
}

}  // namespace
}  // namespace kivo
