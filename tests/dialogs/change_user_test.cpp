#include "dialogs/change_user.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

constexpr const char* kPicturePath =
    "C:\\Users\\user\\AppData\\Roaming\\KivoSoft\\Kivo Launcher\\KivoIcons\\User Icon.ico";

// Records every call in order and answers from its script.
class FakePort : public ChangeUserPort {
 public:
  std::optional<std::string> picture;  // the chosen file, or cancelled
  bool pictureSaves = true;
  std::optional<std::string> answer;  // typed text, or cancelled (the default comes back)
  std::vector<std::string> calls;
  std::vector<ShellMessage> told;
  std::string askedPrompt, askedTitle, askedDefault, dialogTitle, dialogFilter;

  std::optional<std::string> ChoosePicture(const std::string& title,
                                           const std::string& filter) override {
    calls.push_back("choose");
    dialogTitle = title;
    dialogFilter = filter;
    return picture;
  }
  bool SaveUserPicture(const std::string& from, const std::string& to) override {
    calls.push_back("picture " + from + " -> " + to);
    return pictureSaves;
  }
  void ReloadUserImages() override { calls.push_back("reload"); }
  void Redraw() override { calls.push_back("redraw"); }
  bool SaveSettings() override {
    calls.push_back("settings");
    return true;
  }
  bool SaveStore() override {
    calls.push_back("store");
    return true;
  }
  std::string AskText(const std::string& prompt, const std::string& title,
                      const std::string& defaultText) override {
    calls.push_back("ask");
    askedPrompt = prompt;
    askedTitle = title;
    askedDefault = defaultText;
    return answer ? *answer : defaultText;
  }
  void Tell(const ShellMessage& message) override {
    calls.push_back("tell");
    told.push_back(message);
  }
};

class ChangeUser : public ::testing::Test {
 protected:
  ChangeUser() {
    user_.Title = "Administrator";
    user_.IconFile = "";
  }
  ChangeUserOutcome Run() { return ChangeUserNameAndPicture(user_, kPicturePath, codec_, port_); }
  testing::IconvCodec codec_{"CP936"};
  ShortcutItem user_;
  FakePort port_;
};

using Calls = std::vector<std::string>;

TEST_F(ChangeUser, APictureAndANameAreBothTakenInOrder) {
  port_.picture = "C:\\pictures\\me.jpg";
  port_.answer = "  小明  ";
  EXPECT_EQ(Run(), (ChangeUserOutcome{true, true}));
  EXPECT_EQ(port_.calls,
            (Calls{"choose", std::string("picture C:\\pictures\\me.jpg -> ") + kPicturePath,
                   "reload", "settings", "ask", "store", "redraw"}));
  EXPECT_EQ(user_.IconFile, kPicturePath);
  EXPECT_EQ(user_.Title, "小明");
  EXPECT_EQ(port_.dialogTitle, "Kivo Launcher - 更改用户头像");
  EXPECT_EQ(port_.dialogFilter, "*.bmp;*.jpg;*.png;*.gif");
  EXPECT_EQ(port_.askedPrompt, "输入一个新的用户名称，放弃更改请点击 '取消' 按钮。");
  EXPECT_EQ(port_.askedTitle, "更改用户名称");
  EXPECT_EQ(port_.askedDefault, "Administrator");
}

TEST_F(ChangeUser, CancellingThePictureStillOffersTheName) {
  port_.answer = "Kim";
  EXPECT_EQ(Run(), (ChangeUserOutcome{false, true}));
  EXPECT_EQ(port_.calls, (Calls{"choose", "ask", "store", "redraw"}));
  EXPECT_EQ(user_.IconFile, "");
  EXPECT_EQ(user_.Title, "Kim");
}

TEST_F(ChangeUser, CancellingBothChangesAndSavesNothing) {
  EXPECT_EQ(Run(), (ChangeUserOutcome{false, false}));
  EXPECT_EQ(port_.calls, (Calls{"choose", "ask"}));
  EXPECT_EQ(user_.Title, "Administrator");
}

TEST_F(ChangeUser, BlankOrUnchangedAnswersKeepTheName) {
  for (const char* answer : {"", "   ", "Administrator", " Administrator "}) {
    port_ = FakePort{};
    port_.answer = answer;
    EXPECT_EQ(Run(), (ChangeUserOutcome{false, false})) << '"' << answer << '"';
    EXPECT_EQ(user_.Title, "Administrator");
    EXPECT_EQ(port_.calls, (Calls{"choose", "ask"})) << '"' << answer << '"';
  }
}

TEST_F(ChangeUser, APictureThatCannotBeWrittenIsRefusedAndTheNameStillAsked) {
  port_.picture = "C:\\pictures\\broken.png";
  port_.pictureSaves = false;
  user_.IconFile = "C:\\old.ico";
  EXPECT_EQ(Run(), (ChangeUserOutcome{false, false}));
  EXPECT_EQ(user_.IconFile, "C:\\old.ico");
  ASSERT_EQ(port_.told.size(), 1u);
  EXPECT_EQ(port_.told[0], UserPictureNotUsableMessage("C:\\pictures\\broken.png"));
  EXPECT_EQ(port_.calls.back(), "ask");
}

TEST_F(ChangeUser, AUserIconFolderTheCodePageCannotHoldIsNeverStored) {
  port_.picture = "C:\\me.png";
  const std::string unstorable = "C:\\Users\\Ünïcødé😀\\User Icon.ico";
  EXPECT_EQ(ChangeUserNameAndPicture(user_, unstorable, codec_, port_),
            (ChangeUserOutcome{false, false}));
  EXPECT_EQ(user_.IconFile, "");
  EXPECT_EQ(port_.calls, (Calls{"choose", "tell", "ask"}));  // nothing written either
}

TEST_F(ChangeUser, ANameTheCodePageCannotHoldIsRefusedWithAMessage) {
  for (const char* name : {"Ünïcødé", "用户😀", "ﾃｽﾄ한국"}) {
    port_ = FakePort{};
    port_.answer = name;
    EXPECT_EQ(Run(), (ChangeUserOutcome{false, false})) << name;
    EXPECT_EQ(user_.Title, "Administrator") << name;
    ASSERT_EQ(port_.told.size(), 1u) << name;
    EXPECT_EQ(port_.told[0], UserNameNotStorableMessage(name));
    EXPECT_EQ(port_.told[0].title, "更改用户名称");
    EXPECT_NE(port_.told[0].text.find(name), std::string::npos);
  }
}

TEST_F(ChangeUser, ALongNameIsCutToTheTitleWidthAndStillStored) {
  port_.answer = std::string(300, 'x');
  EXPECT_EQ(Run(), (ChangeUserOutcome{false, true}));
  EXPECT_EQ(user_.Title, std::string(128, 'x'));
}

}  // namespace
}  // namespace kivo
