#include <gtest/gtest.h>

#include "dialogs/about_texts.h"
#include "dialogs/input_box.h"

namespace kivo {
namespace {

TEST(InputBox, OnlyTextWithSomethingBesidesBlanksIsAcceptedAndTheCaptionDefaults) {
  const std::pair<const char*, bool> cases[] = {
      {"", false}, {"     ", false}, {"  a  ", true}, {" 组 ", true}, {"\t", true},
  };
  for (const auto& [text, accepted] : cases) {
    EXPECT_EQ(InputAccepted(text), accepted) << '"' << text << '"';
  }
  EXPECT_EQ(InputCaption(""), "Kivo Launcher Input");
  EXPECT_EQ(InputCaption(" "), " ");  // a title is used as given
}

TEST(AboutTexts, LinksReadAndOpenWhatTheySay) {
  EXPECT_EQ(HomeLinkText(), "官方网站：https://www.kivosoft.com/");
  EXPECT_EQ(HomeLinkTarget(), "https://www.kivosoft.com/");
  EXPECT_EQ(SupportLinkText(), "技术支持：support@kivosoft.com");
  EXPECT_EQ(SupportLinkTarget(), "mailto:support@kivosoft.com?subject=Help");
  EXPECT_EQ(AboutProductText("1.2.3").rfind("Kivo Launcher 1.2.3\r\n", 0), 0u);
}

}  // namespace
}  // namespace kivo
