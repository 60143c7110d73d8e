#include <gtest/gtest.h>

#include "dialogs/input_box.h"

namespace kivo {
namespace {

// (The about box's texts and links are checked on the box itself under Wine.)
TEST(InputBox, OnlyTextWithSomethingBesidesBlanksIsAcceptedAndTheCaptionDefaults) {
  for (const char* text : {"", "     "}) EXPECT_FALSE(InputAccepted(text)) << '"' << text << '"';
  for (const char* text : {"  a  ", " 组 ", "\t"}) EXPECT_TRUE(InputAccepted(text)) << text;
  EXPECT_EQ(InputCaption(""), "Kivo Launcher Input");
  EXPECT_EQ(InputCaption(" "), " ");
}

}  // namespace
}  // namespace kivo
