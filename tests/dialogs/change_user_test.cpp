#include "dialogs/change_user.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

constexpr const char* kPicturePath = "C:\\Users\\user\\AppData\\KivoIcons\\User Icon.ico";

// Records every call in order, and the texts it was shown, and answers from its script.
struct FakePort : ChangeUserPort {
  const char* picture = nullptr;  // the chosen file, or cancelled
  bool pictureSaves = true;
  std::optional<std::string> answer;  // typed text, or cancelled (the default comes back)
  std::string calls;
  std::vector<std::string> texts;
  std::vector<ShellMessage> told;

  std::optional<std::string> ChoosePicture(const std::string& title,
                                           const std::string& filter) override {
    Note("choose", {title, filter});
    return picture ? std::optional<std::string>(picture) : std::nullopt;
  }
  bool SaveUserPicture(const std::string& from, const std::string& to) override {
    return Note("picture", {from, to}) && pictureSaves;
  }
  void ReloadUserImages() override { Note("reload"); }
  void Redraw() override { Note("redraw"); }
  bool SaveSettings() override { return Note("settings"); }
  bool SaveStore() override { return Note("store"); }
  std::string AskText(const std::string& prompt, const std::string& title,
                      const std::string& defaultText) override {
    Note("ask", {prompt, title, defaultText});
    return answer.value_or(defaultText);
  }
  void Tell(const ShellMessage& message) override {
    Note("tell");
    told.push_back(message);
  }
  bool Note(const char* call, const std::vector<std::string>& shown = {}) {
    calls += calls.empty() ? call : std::string(" ") + call;
    texts.insert(texts.end(), shown.begin(), shown.end());
    return true;
  }
};

// The picture is offered first, then the name; each is taken, refused or left alone. What
// the settings file's code page cannot hold is never stored: a user icon folder is refused
// before anything is written, a name with a message that shows it.
TEST(ChangeUser, PictureThenNameEachTakenRefusedOrKept) {
  const char* const kUnicodeFolder = "C:\\Users\\Ünïcødé😀\\User Icon.ico";
  const struct {
    const char* picture;
    bool pictureSaves;
    std::optional<std::string> answer;
    ChangeUserOutcome outcome;
    const char* calls;
    const char* title;
    const char* folder = kPicturePath;
  } cases[] = {
      {"C:\\me.png",
       true,
       "  小明  ",
       {true, true},
       "choose picture reload settings ask store redraw",
       "小明"},
      {nullptr, true, "Kim", {false, true}, "choose ask store redraw", "Kim"},
      {nullptr, true, {}, {false, false}, "choose ask", "Administrator"},
      {nullptr, true, "   ", {false, false}, "choose ask", "Administrator"},
      {nullptr, true, " Administrator ", {false, false}, "choose ask", "Administrator"},
      {"C:\\me.png", false, {}, {false, false}, "choose picture tell ask", "Administrator"},
      {"C:\\me.png", true, {}, {false, false}, "choose tell ask", "Administrator", kUnicodeFolder},
      {nullptr, true, "Ünïcødé", {false, false}, "choose ask tell", "Administrator"},
      {nullptr, true, "用户😀", {false, false}, "choose ask tell", "Administrator"},
      {nullptr, true, "ﾃｽﾄ한국", {false, false}, "choose ask tell", "Administrator"},
  };
  for (const auto& c : cases) {
    ShortcutItem user;
    user.Title = "Administrator";
    user.IconFile = "old.ico";
    FakePort port;
    port.picture = c.picture;
    port.pictureSaves = c.pictureSaves;
    port.answer = c.answer;
    EXPECT_EQ(ChangeUserNameAndPicture(user, c.folder, testing::IconvCodec("CP936"), port),
              c.outcome)
        << c.calls;
    EXPECT_EQ(port.calls, c.calls);
    EXPECT_EQ(user.Title, c.title);
    EXPECT_EQ(user.IconFile, c.outcome.pictureChanged ? kPicturePath : "old.ico");
    if (c.picture && !c.outcome.pictureChanged) {
      EXPECT_EQ(port.told, std::vector<ShellMessage>{UserPictureNotUsableMessage("C:\\me.png")});
    } else if (std::string(c.calls).ends_with("tell")) {
      ASSERT_EQ(port.told, std::vector<ShellMessage>{UserNameNotStorableMessage(*c.answer)});
      EXPECT_EQ(port.told[0].title, "更改用户名称");
      EXPECT_NE(port.told[0].text.find(*c.answer), std::string::npos);
    }
    if (c.outcome.pictureChanged) {
      EXPECT_EQ(port.texts,
                (std::vector<std::string>{"Kivo Launcher - 更改用户头像", "*.bmp;*.jpg;*.png;*.gif",
                                          "C:\\me.png", kPicturePath,
                                          "输入一个新的用户名称，放弃更改请点击 '取消' 按钮。",
                                          "更改用户名称", "Administrator"}));
    }
  }
}

}  // namespace
}  // namespace kivo
