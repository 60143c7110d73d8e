#include "dock/dock_controller.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kivo {
namespace {

using Calls = std::vector<std::string>;

// Writes what the dock asks of the world as short words; timers are left out.
class RecordingPorts : public DockPorts, public DockActions {
 public:
  Calls calls;
  std::function<bool(int)> deleter;  // the real deletion, where a test wants it
  void Log(const std::string& call, int n = -1) {
    calls.push_back(n < 0 ? call : call + " " + std::to_string(n));
  }
  void SetTimer(DockTimer, bool) override {}
  void BringToFront() override { Log("front"); }
  void SendToBottom() override { Log("bottom"); }
  void ShowWindows(bool visible) override { Log(visible ? "show" : "hide"); }
  void LaunchItem(int item) override { Log("launch", item); }
  void RunCommand(int command) override { Log("run", command); }
  void OpenPopup(int slot) override { Log("popup", slot); }
  void ClosePopup() override { Log("close popup"); }
  void OpenContextMenu(int slot) override { Log("menu", slot); }
  bool DeleteItem(int item) override { return Log("delete", item), deleter ? deleter(item) : true; }
  void SaveStore() override { Log("save"); }
  void ShowQuickStart() override { Log("quick start"); }
  void EndProgram() override { Log("end"); }
  void DropFiles(int slot, std::vector<std::string> paths) override {
    Log("drop", slot);
    for (const auto& p : paths) calls.back() += " " + p;
  }
  std::string Acts() const {  // joined by "|"; window order and popups closing left out
    std::string out;
    for (const auto& c : calls)
      if (c != "front" && c != "bottom" && c != "close popup") out += (out.empty() ? "" : "|") + c;
    return out;
  }
};

// A full-HD dock with 12 slots: 1 and 11 shortcuts, 2 the recycle bin (showing it empty), 3
// a group, 4 the all-programs group, 5 a command, 13 a shortcut beyond the slots shown; the
// rest blank.
class DockControllerTest : public ::testing::Test {
 protected:
  DockControllerTest()
      : pacer_([this](const Frame& f) { frames_.push_back(f); }, [](int) { return true; }),
        list_([this](const Frame& f) { pacer_.Push(f); }) {
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 12;
    for (int i = 0; i <= 38; ++i) Item(i).ItemType = kItemShortcut, Item(i).ItemIndex = i;
    const int kinds[] = {kItemUser,  kItemRingShortcut,     kItemRecycleBin,
                         kItemGroup, kItemAllProgramsGroup, kItemRingShortcut};
    for (int i = 0; i <= 5; ++i) Item(i).ItemType = kinds[i];
    for (const int i : {11, 13}) Item(i).ItemType = kItemRingShortcut;
    Item(37).ItemType = Item(38).ItemType = kItemRecycleBin;
    Item(2).ItemIndex = 37, Item(5).IsSystem = true, Item(5).CommandId = 73;
    view_.emplace(list_, pacer_, store_, settings_,
                  ComputeRing(MakeRingMetrics(screen_, settings_)));
    NewDock();
    pacer_.SetOnIdle([this] { dock_->Resume(); });
  }

  ShortcutItem& Item(int i) { return store_.Items[static_cast<std::size_t>(i)]; }
  void NewDock() {
    dock_.emplace(*view_, pacer_, ports_, ports_, store_, settings_, DragThreshold{4, 4});
    view_->state() = DockState{};
  }
  int X(int i) const { return Slot(i).normalLeft + Slot(i).normalSize / 2; }
  int Y(int i) const { return Slot(i).normalTop + Slot(i).normalSize / 2; }
  const RingSlot& Slot(int i) const { return view_->geometry().slots[static_cast<std::size_t>(i)]; }
  void On(const DockEvent& e) { dock_->Handle(e); }
  void Finish() {
    for (int guard = 0; pacer_.busy() && guard < 1000; ++guard) pacer_.Tick();
  }
  void Clear() { ports_.calls.clear(), frames_.clear(); }
  void Started(bool active = true) {
    On(DockEvent::Simple(DockEvent::Kind::Start));
    if (!active) On(DockEvent::Simple(DockEvent::Kind::EscCancel));
    Finish();
    Clear();
  }
  void Press(int x, int y, int toX, int toY, MouseButton button = MouseButton::Left) {
    On(DockEvent::Move(x, y));
    On(DockEvent::Down(button, x, y));
    if (toX != x || toY != y) On(DockEvent::Move(toX, toY, button == MouseButton::Left));
    On(DockEvent::Up(button, toX, toY));
    Finish();
  }
  void Click(int i, MouseButton b = MouseButton::Left) { Press(X(i), Y(i), X(i), Y(i), b); }
  void Ticks(DockTimer timer, int n) {
    for (int t = 0; t < n; ++t) On(DockEvent::TimerTick(timer));
  }
  const DockState& state() const { return dock_->state(); }

  ScreenInfo screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  Settings settings_;
  ShortcutStore store_;
  std::vector<Frame> frames_;
  FramePacer pacer_;
  DisplayList list_;
  RecordingPorts ports_;
  std::optional<DockView> view_;
  std::optional<DockController> dock_;
};

// Slot -1 means the key; keys beyond the slots shown and blank slots do nothing.
TEST_F(DockControllerTest, ClicksAndKeysActOnTheSlotsKind) {
  Started();
  const auto L = MouseButton::Left, R = MouseButton::Right;
  const struct {
    int slot;
    MouseButton button;
    int key;
    const char* act;
  } cases[] = {{1, L, 0, "launch 1"},  {5, L, 0, "run 73"},     {3, L, 0, "popup 3"},
               {4, L, 0, "popup 4"},   {6, L, 0, ""},           {1, R, 0, "menu 1"},
               {3, R, 0, "menu 3"},    {2, R, 0, "popup 2"},    {-1, L, '0', "launch 1"},
               {-1, L, '4', "run 73"}, {-1, L, '2', "popup 3"}, {-1, L, 'A', "launch 11"},
               {-1, L, 'B', ""},       {-1, L, 'Z', ""},        {-1, L, kKeyTilde, "popup 0"}};
  for (const auto& c : cases) {
    ports_.calls.clear();
    if (c.slot >= 0) Click(c.slot, c.button);
    if (c.slot < 0) On(DockEvent::Key(c.key)), Finish();
    EXPECT_EQ(ports_.Acts(), c.act) << c.slot << " key " << c.key;
    On(DockEvent::Simple(DockEvent::Kind::PopupClosed));
  }
}

// A press within the drag rectangle is still a click; dropped on a slot nothing happens;
// off the ring the item is deleted (unless dragging is locked).
// A lift ended some other way (another button, the mouse taken away, the dock hidden
// meanwhile) deletes nothing.
TEST_F(DockControllerTest, DraggingAnIcon) {
  Started();
  const std::function<void()> ends[] = {
      [] {}, [&] { On(DockEvent::Up(MouseButton::Right, 40, 40)); },
      [&] { On(DockEvent::Simple(DockEvent::Kind::CancelPress)); },
      [&] { On(DockEvent::Mode(DockMode::Hidden)), On(DockEvent::Up(MouseButton::Left, 40, 40)); }};
  const struct {
    int slot, toX, toY, end, locked;
    const char* acts;
  } cases[] = {{1, X(1) + 1, Y(1) - 2, 0, 0, "launch 1"},
               {1, X(2), Y(2), 0, 0, ""},
               {1, 40, 40, 0, 1, ""},
               {1, 40, 40, 1, 0, ""},
               {1, 40, 40, 2, 0, ""},
               {1, 40, 40, 3, 0, "hide"},
               {3, 40, 40, 0, 0, "delete 3|save"}};
  for (const auto& c : cases) {
    settings_.LockDragging = c.locked != 0;
    if (state().mode != DockMode::Expanded) On(DockEvent::Simple(DockEvent::Kind::ToggleShown));
    Finish(), Clear();
    On(DockEvent::Move(X(c.slot), Y(c.slot)));
    On(DockEvent::Down(MouseButton::Left, X(c.slot), Y(c.slot)));
    On(DockEvent::Move(c.toX, c.toY, true));
    ends[c.end]();
    On(DockEvent::Up(MouseButton::Left, c.toX, c.toY));
    Finish();
    EXPECT_EQ(ports_.Acts(), c.acts) << c.toX << "," << c.toY << " end " << c.end;
    EXPECT_TRUE(!state().dragging && state().pressedSlot == -1);
  }
}

// While the question before deleting a group waits, input is dropped and a timer that
// keeps firing counts once.
TEST_F(DockControllerTest, InputDuringAQuestionIsDroppedAndTicksCountOnce) {
  settings_.AutoHide = 1;
  Started();
  ports_.deleter = [&](int) {
    Press(X(1), Y(1), X(1), Y(1));
    Ticks(DockTimer::AutoHide, 2 * kAutoHideTicks);
    return false;
  };
  Press(X(3), Y(3), 40, 40);
  EXPECT_EQ(ports_.Acts(), "delete 3|save");
  EXPECT_EQ(state().mode, DockMode::Expanded);
  EXPECT_LE(dock_->idleTicks(), 1);
}

// The dock's changes of mode and activity. Each row: where it starts (A active, I inactive,
// C collapsed, H hidden, P active with a group's list open) and whether auto-hide is on;
// the event; the mode then (Expanded, Collapsed, Hidden) and whether active; the last
// change of window order (f to the front, b to the bottom, - none); what the world was
// asked. The show/hide hot key (soh) never animates.
TEST_F(DockControllerTest, TransitionTable) {
  const std::map<std::string, std::function<void()>> events = {
      {"centre", [&] { Click(0); }},
      {"drag", [&] { Press(X(1), Y(1), 3, 3); }},
      {"desk", [&] { Press(5, 5, 5, 5); }},
      {"deskR", [&] { Press(5, 5, 5, 5, MouseButton::Right); }},
      {"fg", [&] { On(DockEvent::TimerTick(DockTimer::Foreground, 0, 0, false)); }},
      {"fgours", [&] { On(DockEvent::TimerTick(DockTimer::Foreground, 0, 0, true)); }},
      {"esc", [&] { On(DockEvent::Key(kKeyEscape)); }},
      {"f1", [&] { On(DockEvent::KeyRelease(kKeyF1)); }},
      {"soh", [&] { On(DockEvent::Simple(DockEvent::Kind::ShowOrHide)); }},
      {"toggle", [&] { On(DockEvent::Simple(DockEvent::Kind::ToggleShown)); }},
      {"alt", [&] { On(DockEvent::Simple(DockEvent::Kind::AltSpace)); }},
      {"idle6", [&] { On(DockEvent::Move(5, 5)), Ticks(DockTimer::AutoHide, kAutoHideTicks - 1); }},
      {"idle", [&] { On(DockEvent::Move(5, 5)), Ticks(DockTimer::AutoHide, kAutoHideTicks); }},
      {"hover", [&] { On(DockEvent::Move(X(1), Y(1))), Ticks(DockTimer::AutoHide, 10); }},
      {"key0", [&] { On(DockEvent::Key('0')); }}};
  std::istringstream table(
      "A0 centre C0 b show; C0 centre E0 f show; C0 drag E0 f show; A0 desk E0 b; "
      "A1 desk H0 b hide; A0 deskR E0 b; A1 deskR H0 b hide; A0 fg E0 b; A1 fg H0 b hide; "
      "A1 fgours E1 -; A0 esc E0 b; P1 esc H0 b hide; "
      "A1 f1 E0 b quick start; P0 soh H0 b hide; I0 soh E1 f; "
      "H0 soh E1 f show; A0 toggle H0 b hide; H0 toggle E1 f show; C0 alt E1 f show; "
      "A1 idle6 E1 -; A1 idle H0 b hide; A1 hover E1 -; I0 key0 E0 -");
  for (std::string row; std::getline(table >> std::ws, row, ';');) {
    std::istringstream in(row);
    std::string from, event, to, acts;
    char window = 0;
    in >> from >> event >> to >> window >> std::ws;
    std::getline(in, acts);
    settings_.AutoHide = static_cast<std::uint8_t>(from[1] - '0');
    NewDock();
    Started(from[0] != 'I');
    if (from[0] == 'C' || from[0] == 'H')
      On(DockEvent::Mode(from[0] == 'C' ? DockMode::Collapsed : DockMode::Hidden));
    if (from[0] == 'P') Click(3);
    Finish();
    view_->state().fade = event == "soh";
    Clear();
    events.at(event)();
    Finish();
    char last = '-';
    for (const auto& a : ports_.calls)
      if (a == "front" || a == "bottom") last = a[0];
    const std::string now{"ECH"[static_cast<int>(state().mode)], "01"[state().active]};
    EXPECT_EQ(now + " " + last + " " + ports_.Acts(), to + " " + window + " " + acts) << row;
    EXPECT_FALSE(dock_->popupOpen()) << row;
    EXPECT_TRUE(event != "soh" || (state().fade && frames_.size() <= 1)) << row << ": no fade";
  }
}

TEST_F(DockControllerTest, BinWatchRedrawsOnlyOnChange) {
  Started();
  On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, false));
  EXPECT_TRUE(frames_.empty());  // already shows the empty bin
  for (int t = 0; t < 2; ++t) On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, true));
  EXPECT_EQ(view_->slot(2).icon, 38);
  EXPECT_EQ(frames_.size(), 1u);
}

// Files dragged from another program over the dock: the badges drawn so far, skin and
// square.
std::vector<std::pair<int, PixelRect>> Badges(const std::vector<Frame>& frames) {
  std::vector<std::pair<int, PixelRect>> out;
  for (const Frame& f : frames)
    for (const DrawOp& op : f.ops)
      if (op.image.table == ImageTable::Skin && op.image.number >= kSkinNoDrop &&
          op.image.number <= kSkinReplaceIcon && op.image.variant == 1)
        out.emplace_back(op.image.number, op.rect);
  return out;
}

// Slot 3 full, slot 5 a system object; every event is played out before the next.
class DockDropTest : public DockControllerTest {
 protected:
  DockDropTest() {
    Item(5) = ShortcutItem{}, Item(5).ItemType = kItemSystemObject, Item(5).ItemIndex = 5;
    store_.Groups[3].Count = 36;
    view_->IniIconParam();
  }
  void On(const DockEvent& e) { DockControllerTest::On(e), Finish(); }
};

// The badge follows the slot's kind; a drop reaches the slot under the pointer of an
// expanded dock only, and takes the badge away.
TEST_F(DockDropTest, TheBadgeAndTheDropFollowTheSlotUnderThePointer) {
  Started();
  const int N = kSkinNoDrop, A = kSkinAddIcon, R = kSkinReplaceIcon;
  const struct {
    int slot, files, locked, mode, skin, drops;  // slot -1 beside the ring
  } cases[] = {{1, 1, 0, 0, R, 1},  {2, 1, 0, 0, A, 1}, {3, 1, 0, 0, N, 1}, {4, 1, 0, 0, A, 1},
               {5, 1, 0, 0, N, 1},  {0, 1, 0, 0, A, 1}, {7, 0, 0, 0, N, 1}, {1, 1, 1, 0, N, 0},
               {-1, 1, 0, 0, 0, 0}, {7, 1, 0, 1, 0, 0}, {7, 1, 0, 2, 0, 0}};
  for (const auto& c : cases) {
    settings_.LockDragging = c.locked != 0;
    On(DockEvent::Mode(DockMode(c.mode)));
    ports_.calls.clear(), frames_.clear();
    const int x = c.slot == -1 ? 5 : X(c.slot) + 3, y = c.slot == -1 ? 5 : Y(c.slot) - 2;
    On(DockEvent::DragAt(x, y, c.files != 0));
    using Shown = std::vector<std::pair<int, PixelRect>>;
    EXPECT_EQ(Badges(frames_),
              (c.skin ? Shown{{c.skin, PixelRect{x - 24, y - 24, 48, 48}}} : Shown{}))
        << c.slot;
    frames_.clear();
    On(DockEvent::DropAt(x, y, {"D:\\a", "D:\\b"}));
    const std::string call = "drop " + std::to_string(c.slot) + " D:\\a D:\\b";
    EXPECT_EQ(ports_.calls, c.drops ? Calls{call} : Calls{}) << c.slot;
    EXPECT_TRUE(Badges(frames_).empty() && (c.mode == 0 || frames_.empty())) << c.slot;
    On(DockEvent::Mode(DockMode::Expanded));
  }
}

}  // namespace
}  // namespace kivo
