#include "dialogs/change_user.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

constexpr const char* kPicturePath = "C:\\Users\\user\\AppData\\KivoIcons\\User Icon.ico";

// Records every call in order and answers from its script.
struct FakePort : ChangeUserPort {
  const char* picture = nullptr;      // the chosen file, or cancelled
  std::optional<std::string> answer;  // typed text, or cancelled (the default comes back)
  std::string calls;
  std::vector<ShellMessage> told;

  std::optional<std::string> ChoosePicture(const std::string&, const std::string&) override {
    Note("choose");
    return picture ? std::optional<std::string>(picture) : std::nullopt;
  }
  bool SaveUserPicture(const std::string& from, const std::string& to) override {
    return Note("picture") && from != "C:\\bad.png" && to == kPicturePath;
  }
  void ReloadUserImages() override { Note("reload"); }
  void Redraw() override { Note("redraw"); }
  bool SaveSettings() override { return Note("settings"); }
  bool SaveStore() override { return Note("store"); }
  std::string AskText(const std::string&, const std::string&, const std::string& text) override {
    return Note("ask"), answer.value_or(text);
  }
  void Tell(const ShellMessage& message) override { Note("tell"), told.push_back(message); }
  bool Note(const char* call) {
    calls += calls.empty() ? call : std::string(" ") + call;
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
      {nullptr, {}, "choose ask", "Administrator"},
      {nullptr, "   ", "choose ask", "Administrator"},
      {nullptr, " Administrator ", "choose ask", "Administrator"},
      {"C:\\bad.png", {}, "choose picture tell ask", "Administrator"},
      {"C:\\me.png", {}, "choose tell ask", "Administrator", "C:\\Users\\Ünïcødé😀\\User Icon.ico"},
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
      EXPECT_EQ(port.told, std::vector<ShellMessage>{UserNameNotStorableMessage(*c.answer)});
    }
  }
}

}  // namespace
}  // namespace kivo
