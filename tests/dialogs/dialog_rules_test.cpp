#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "dialogs/change_user.h"
#include "dialogs/input_box.h"
#include "dialogs/quick_start.h"
#include "dialogs/settings_rules.h"
#include "dock/ring_geometry.h"
#include "support/iconv_codec.h"

namespace kivo {
namespace {

ScreenInfo Screen(int width, int height, int dpi = 96) {
  return MakeScreenInfo(width, height - 23, 23, dpi, dpi, Rect{0, 0, width, height - 40});
}

// Every radius the slider offers is one the ring keeps, and one step beyond is not, at
// every dpi: the slider counts pixels at 96 dpi, the ring the monitor's.
TEST(RadiusRange, OffersOnlyRadiiTheRingKeeps) {
  const int screens[][2] = {{1920, 1080}, {1080, 1920}, {800, 600}, {3840, 2160}, {400, 300}};
  for (const int dpi : {96, 120, 144, 192}) {
    for (const auto& size : screens) {
      const ScreenInfo screen = Screen(size[0], size[1], dpi);
      const SliderRange range = RadiusRange(screen);
      Settings settings;
      ApplyDefaultSettings(settings, screen);
      for (const int r : {range.min, (range.min + range.max) / 2, range.max,
                          range.max + (range.enabled ? 1 : 0)}) {
        settings.RingRadius = r;
        // A bound below 200 is the screen's own default radius, rounded on its way to 96 dpi.
        const int off = std::abs(MakeRingMetrics(screen, settings).R - ScaleToDpi(r, dpi));
        EXPECT_EQ(off <= (range.enabled ? 0 : 1), r <= range.max) << size[0] << " " << dpi;
      }
    }
  }
  EXPECT_FALSE(RadiusRange(Screen(400, 300)).enabled);
}

class EditorTest : public ::testing::Test {
 protected:
  ScreenInfo screen = Screen(1920, 1080);
  EditorTest() { ApplyDefaultSettings(settings, screen); }
  Settings settings;
  SettingsEditor editor{settings, screen};
};

TEST_F(EditorTest, ControlsFollowTheSettingsAndDamagedValuesStayInRange) {
  Settings& s = settings;
  const auto controls = [&](int size, int magnified, int radius, int count, int position) {
    std::tie(s.IconSize, s.MagnifiedSize, s.RingRadius, s.IconCount, s.MinimizedPosition) =
        std::tuple(size, magnified, radius, count, position);
    const ConfigControls c = IniConfigData(s, screen);
    return std::vector({c.normal, c.magnified, c.radius, c.iconCountIndex, c.minimizedPosition});
  };
  EXPECT_EQ(controls(40, 100, 270, 12, 6), std::vector({40, 100, 270, 1, 6}));
  EXPECT_EQ(controls(9999, -3, 5000, 99, 200),
            std::vector({128, 16, RadiusRange(screen).max, 7, 0}));
}

// The normal-size slider drags the magnified size up with it while it passes it, and
// going back down restores the size kept at the press.
TEST_F(EditorTest, NormalSliderCouplesTheMagnifiedSize) {
  settings.MagnifiedSize = 64;
  editor.NormalPressed();
  for (const auto& [value, magnified] : {std::pair{50, 64}, {80, 80}, {100, 100}, {40, 64}}) {
    editor.NormalChanging(value);
    EXPECT_EQ(std::pair(settings.IconSize, settings.MagnifiedSize), std::pair(value, magnified));
  }
  EXPECT_EQ(editor.NormalReleased().followUp, RingFollowUp::None);
  EXPECT_FALSE(editor.keptMagnified().has_value());
  // Released above the kept size, the magnified variant is rebuilt too.
  editor.NormalChanging(90);
  EXPECT_EQ(editor.NormalReleased().followUp, RingFollowUp::MagnifiedVariant);
  EXPECT_EQ(settings.MagnifiedSize, 90);
}

// Every value from a control is clamped into the control's range before it is stored.
TEST_F(EditorTest, ChoicesAreClampedIntoTheirControlsRanges) {
  const int bound = RingRadiusBound(screen);
  const std::pair<std::function<int(int)>, std::vector<std::pair<int, int>>> cases[] = {
      {[&](int v) { return editor.IconCountChosen(v), settings.IconCount; },
       {{3, 20}, {7, 36}, {-1, 8}, {8, 36}}},
      {[&](int v) { return editor.RadiusChanging(v), settings.RingRadius; },
       {{199, 200}, {bound, bound}, {bound + 50, bound}}},
      {[&](int v) { return editor.MagnifiedChanging(v), settings.MagnifiedSize; },
       {{30, 30}, {15, 16}, {129, 128}}},
      {[&](int v) { return editor.TransparencyChanging(v), int{settings.BackColor.Alpha}; },
       {{128, 128}, {300, 255}, {-4, 0}}},
      {[&](int v) { return editor.MinimizedPositionChosen(v), int{settings.MinimizedPosition}; },
       {{8, 8}, {9, 8}, {-2, 0}}},
  };
  for (const auto& [store, rows] : cases) {
    for (const auto& [chosen, stored] : rows) EXPECT_EQ(store(chosen), stored) << chosen;
  }
}

// The control cannot show the Windows key; only a combination leaving typing alone is complete.
TEST(HotKeyControl, ValuesRoundTripAndOnlyCombinationsThatLeaveTypingAloneAreComplete) {
  EXPECT_EQ(HotKeyFromControl(HotKeyControlValue({kModWin | kModAlt | kModShift, 'E'})),
            (HotKey{kModAlt | kModShift, 'E'}));
  EXPECT_EQ(HotKeyControlValue({kModControl | kModAlt, 0x20}), 0x0620);
  EXPECT_EQ(ClassifyHotKeyEntry({kModControl, 'K'}), HotKeyEntry::Complete);
  EXPECT_EQ(ClassifyHotKeyEntry({kModShift, 'K'}), HotKeyEntry::Incomplete);
}

constexpr const char* kPicturePath = "C:\\Users\\user\\AppData\\KivoIcons\\User Icon.ico";

// Records every call in order and answers from its script.
struct FakePort : ChangeUserPort {
  const char* picture = nullptr;      // the chosen file, or cancelled
  std::optional<std::string> answer;  // typed text, or cancelled (the default comes back)
  std::string calls;
  std::vector<ShellMessage> told;

  std::optional<std::string> ChoosePicture(const std::string&, const std::string&) override {
    return Note("choose") && picture ? std::optional<std::string>(picture) : std::nullopt;
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
  bool Note(const char* call) { return calls.append(" ").append(call), true; }
};

// The picture, then the name: each taken, refused or left alone. What the settings file's
// code page cannot hold is never stored, and the message shows it.
TEST(InputBox, ClosesOnlyOnTextBeyondBlanks) {
  for (const auto& [text, accepted] : std::vector<std::pair<std::string, bool>>{
           {"", false}, {"   ", false}, {" a ", true}, {"\xE7\xBB\x84", true}}) {
    EXPECT_EQ(InputAccepted(text), accepted) << '"' << text << '"';
  }
}

TEST(ChangeUser, PictureThenNameEachTakenRefusedOrKept) {
  const struct {
    const char* picture;  // C:\bad.png cannot be used
    std::optional<std::string> answer;
    std::string calls;
    const char* title = "Administrator";
    const char* folder = kPicturePath;
  } cases[] = {
      {"C:\\me.png", "  小明  ", "choose picture reload settings ask store redraw", "小明"},
      {nullptr, {}, "choose ask"},
      {nullptr, " Administrator ", "choose ask"},
      {"C:\\bad.png", {}, "choose picture tell ask"},
      {"C:\\me.png", {}, "choose tell ask", "Administrator", "C:\\Users\\Ünïcødé😀\\User Icon.ico"},
      {nullptr, "用户ﾃｽﾄ한국", "choose ask tell"}};
  for (const auto& c : cases) {
    ShortcutItem user;
    user.Title = "Administrator";
    FakePort port;
    std::tie(port.picture, port.answer) = std::tie(c.picture, c.answer);
    const bool pictureTaken = c.calls.find("reload") != std::string::npos;
    EXPECT_EQ(ChangeUserNameAndPicture(user, c.folder, testing::IconvCodec("CP936"), port),
              (ChangeUserOutcome{pictureTaken, c.calls.find("store") != std::string::npos}));
    EXPECT_EQ(std::tuple(port.calls.substr(1), user.Title.str(), user.IconFile.str()),
              std::tuple(c.calls, c.title, pictureTaken ? kPicturePath : ""));
    if (c.calls.find("tell") != std::string::npos) {
      EXPECT_EQ(port.told,
                std::vector{c.calls.ends_with("tell") ? UserNameNotStorableMessage(*c.answer)
                                                      : UserPictureNotUsableMessage(c.picture)});
    }
  }
}

// A stored page opens there (anything else the first); a press moves exactly when there is
// a page in its direction, storing it; the close stores it or "off" and gives the save's answer.
TEST(QuickStart, RandomPressesMoveExactlyWhenTheirButtonIsEnabledAndTheCloseSaves) {
  std::mt19937 random(12345);
  for (const int stored : {-32768, -1, 0, 1, 4, 5, 9}) {
    for (int run = 0; run < 20; ++run) {
      auto started = static_cast<std::int16_t>(stored);
      std::vector<int> saved;
      const bool saveAnswer = random() % 2 == 0;
      QuickStartSession session(started, [&] { return saved.push_back(started), saveAnswer; });
      const QuickStartPages& pages = session.pages();
      ASSERT_EQ(pages.page(), stored >= 0 && stored < kQuickStartPageCount ? stored : 0);
      ASSERT_EQ(session.dontShowAgainAtOpen(), stored == kQuickStartOff);
      for (int press = 0; press < 40; ++press) {
        const int before = pages.page();
        const bool next = random() % 2 == 0;
        const bool enabled = next ? before < kQuickStartPageCount - 1 : before > 0;
        ASSERT_EQ(next ? pages.nextEnabled() : pages.previousEnabled(), enabled);
        ASSERT_EQ(next ? session.Next() : session.Previous(), enabled);
        ASSERT_EQ(pages.page(), before + (enabled ? (next ? 1 : -1) : 0));
        ASSERT_EQ(started, enabled ? pages.page() : started);
      }
      const bool checked = random() % 2 == 0;
      ASSERT_EQ(session.Close(checked), saveAnswer);
      ASSERT_EQ(saved, std::vector<int>{checked ? kQuickStartOff : pages.page()});
    }
  }
}

}  // namespace
}  // namespace kivo
