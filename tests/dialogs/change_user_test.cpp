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
  const char* picture = nullptr;      // the chosen file, or cancelled
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
    return Note("picture", {from, to}) && from != "C:\\bad.png";
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

// The picture is offered first, then the name; each is taken, refused or left alone, and
// the outcome tells what was taken. What the settings file's code page cannot hold is never
// stored: a user icon folder is refused before anything is written, a name with a message
// that shows it.
TEST(ChangeUser, PictureThenNameEachTakenRefusedOrKept) {
  const struct {
    const char* picture;  // C:\bad.png cannot be used
    std::optional<std::string> answer;
    const char* calls;
    const char* title;
    const char* folder = kPicturePath;
  } cases[] = {
      {"C:\\me.png", "  小明  ", "choose picture reload settings ask store redraw", "小明"},
      {nullptr, "Kim", "choose ask store redraw", "Kim"},
      {nullptr, {}, "choose ask", "Administrator"},
      {nullptr, "   ", "choose ask", "Administrator"},
      {nullptr, " Administrator ", "choose ask", "Administrator"},
      {"C:\\bad.png", {}, "choose picture tell ask", "Administrator"},
      {"C:\\me.png", {}, "choose tell ask", "Administrator", "C:\\Users\\Ünïcødé😀\\User Icon.ico"},
      {nullptr, "Ünïcødé", "choose ask tell", "Administrator"},
      {nullptr, "用户😀", "choose ask tell", "Administrator"},
      {nullptr, "ﾃｽﾄ한국", "choose ask tell", "Administrator"}};
  for (const auto& c : cases) {
    ShortcutItem user;
    user.Title = "Administrator";
    user.IconFile = "old.ico";
    FakePort port;
    port.picture = c.picture;
    port.answer = c.answer;
    const std::string calls = c.calls;
    const bool pictureTaken = calls.find("reload") != std::string::npos;
    EXPECT_EQ(ChangeUserNameAndPicture(user, c.folder, testing::IconvCodec("CP936"), port),
              (ChangeUserOutcome{pictureTaken, calls.find("store") != std::string::npos}))
        << c.calls;
    EXPECT_EQ(port.calls, c.calls);
    EXPECT_EQ(user.Title, c.title);
    EXPECT_EQ(user.IconFile, pictureTaken ? kPicturePath : "old.ico");
    if (calls.find("tell ask") != std::string::npos) {
      EXPECT_EQ(port.told, std::vector<ShellMessage>{UserPictureNotUsableMessage(c.picture)});
    } else if (calls.ends_with("tell")) {
      ASSERT_EQ(port.told, std::vector<ShellMessage>{UserNameNotStorableMessage(*c.answer)});
      EXPECT_EQ(port.told[0].title, "更改用户名称");
      EXPECT_NE(port.told[0].text.find(*c.answer), std::string::npos);
    }
    if (pictureTaken) {
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
