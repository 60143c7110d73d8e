#include "dock/dock_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "items/group_helpers.h"
#include "items/item_world.h"

namespace kivo {
namespace {

using Calls = std::vector<std::string>;

// Writes what the dock asks of the world as short words; timers are left out.
class RecordingPorts : public DockPorts, public DockActions {
 public:
  Calls calls;
  bool textInput = false;
  std::vector<int> results;          // the result list last shown
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
  bool DeleteItem(int item) override {
    Log("delete", item);
    return deleter ? deleter(item) : true;
  }
  void SaveStore() override { Log("save"); }
  void ShowQuickStart() override { Log("quick start"); }
  void EndProgram() override { Log("end"); }
  void RaiseForDrop() override { Log("raise"); }
  void DropFiles(int slot, std::vector<std::string> paths) override {
    std::string call = "drop " + std::to_string(slot);
    for (const auto& p : paths) call += " " + p;
    calls.push_back(call);
  }
  void SetTextInput(bool on) override { textInput = on; }
  void ShowSearchResults(const std::vector<int>& items) override {
    Log("results", static_cast<int>(items.size()));
    results = items;
  }
  void SearchListKey(int key) override { Log("list key", key); }
  bool Saw(const std::string& call) const {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }
  Calls Acts() const {  // window order and popups closing left out
    Calls out;
    for (const auto& c : calls)
      if (c != "front" && c != "bottom" && c != "close popup") out.push_back(c);
    return out;
  }
};

// A full-HD dock with 12 slots: 1 and 11 shortcuts, 2 the recycle bin (showing it empty), 3
// a group, 4 the all-programs group, 5 a command, 13 a shortcut beyond the slots shown; the
// rest blank.
class DockControllerTest : public ::testing::Test {
 protected:
  DockControllerTest()
      : pacer_([this](const Frame& f) { frames_.push_back(f); },
               [this](int ms) { return delays_.push_back(ms), true; }),
        list_([this](const Frame& f) { pacer_.Push(f); }) {
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 12;
    for (int i = 0; i <= 38; ++i) Item(i).ItemType = kItemShortcut, Item(i).ItemIndex = i;
    const int kinds[] = {kItemUser,  kItemRingShortcut,     kItemRecycleBin,
                         kItemGroup, kItemAllProgramsGroup, kItemRingShortcut};
    for (int i = 0; i <= 5; ++i) Item(i).ItemType = kinds[i];
    for (const int i : {11, 13}) Item(i).ItemType = kItemRingShortcut;
    Item(37).ItemType = Item(38).ItemType = kItemRecycleBin;
    Item(2).ItemIndex = 37;
    Item(5).IsSystem = true;
    Item(5).CommandId = 73;
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
  void Clear() {
    ports_.calls.clear();
    frames_.clear();
    delays_.clear();
  }
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
  std::vector<int> delays_;
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
    if (c.slot >= 0) {
      Click(c.slot, c.button);
      EXPECT_EQ(dock_->contextSlot(), c.slot);
    } else {
      On(DockEvent::Key(c.key));
      Finish();
    }
    EXPECT_EQ(ports_.Acts(), *c.act ? Calls{c.act} : Calls{}) << c.slot << " key " << c.key;
    On(DockEvent::Simple(DockEvent::Kind::PopupClosed));
  }
  Click(3);  // Esc closes an open popup first
  ports_.calls.clear();
  On(DockEvent::Key(kKeyEscape));
  EXPECT_FALSE(dock_->popupOpen());
  EXPECT_EQ(ports_.calls.front(), "close popup");
  ports_.calls.clear();
  On(DockEvent::Key('0'));  // not active any more: keys do nothing
  EXPECT_EQ(ports_.Acts(), Calls{});
}

// Within the drag rectangle a press is still a click; dropped on a slot nothing happens;
// off the ring the item is deleted (unless dragging is locked) with the five delete frames.
TEST_F(DockControllerTest, DraggingAnIcon) {
  Started();
  const struct {
    int slot, toX, toY;
    bool locked;
    Calls acts;
  } cases[] = {{1, X(1) + 1, Y(1) - 2, false, {"launch 1"}},
               {1, X(2), Y(2), false, {}},
               {1, 40, 40, true, {}},
               {3, 40, 40, false, {"delete 3", "save"}}};
  for (const auto& c : cases) {
    settings_.LockDragging = c.locked;
    Clear();
    Press(X(c.slot), Y(c.slot), c.toX, c.toY);
    EXPECT_EQ(ports_.Acts(), c.acts) << c.toX << "," << c.toY;
    EXPECT_FALSE(state().dragging);
    EXPECT_EQ(state().pressedSlot, -1);
  }
  EXPECT_EQ(std::count(delays_.begin(), delays_.end(), kFramePause), kDeleteFrames);
  int shown = 0;
  for (const Frame& f : frames_)
    for (const DrawOp& op : f.ops)
      if (op.image == ImageRef{ImageTable::Skin, kSkinDelIcon, shown + 1}) {
        EXPECT_EQ(op.rect, (PixelRect{40 - 64, 40 - 64, 128, 128}));
        ++shown;
      }
  EXPECT_EQ(shown, kDeleteFrames);
}

// A lifted icon ended some other way (another button, the mouse taken away, the dock
// hidden meanwhile) deletes nothing.
TEST_F(DockControllerTest, APressEndedOtherwiseDeletesNothing) {
  const std::function<void()> interruptions[] = {
      [&] { On(DockEvent::Up(MouseButton::Right, 40, 40)); },
      [&] { On(DockEvent::Simple(DockEvent::Kind::CancelPress)); },
      [&] {
        On(DockEvent::Mode(DockMode::Hidden));
        On(DockEvent::Up(MouseButton::Left, 40, 40));
        On(DockEvent::Simple(DockEvent::Kind::ToggleShown));
      }};
  for (const auto& interrupt : interruptions) {
    Started();
    On(DockEvent::Move(X(1), Y(1)));
    On(DockEvent::Down(MouseButton::Left, X(1), Y(1)));
    On(DockEvent::Move(40, 40, true));
    ASSERT_TRUE(state().dragging);
    interrupt();
    Finish();
    EXPECT_FALSE(state().dragging);
    EXPECT_EQ(state().pressedSlot, -1);
    On(DockEvent::Up(MouseButton::Left, 40, 40));
    Finish();
    EXPECT_FALSE(ports_.Saw("delete 1"));
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
  EXPECT_TRUE(ports_.Saw("delete 3"));
  EXPECT_FALSE(ports_.Saw("launch 1"));
  EXPECT_EQ(state().mode, DockMode::Expanded);
  EXPECT_LE(dock_->idleTicks(), 1);
}

TEST(FramePacer, APauseWithoutATimerIsSkippedNotWaitedFor) {
  int shown = 0;
  FramePacer pacer([&](const Frame&) { ++shown; }, [](int) { return false; });
  pacer.Push(Frame{});
  pacer.Sleep(kFramePause);
  pacer.Push(Frame{});
  EXPECT_FALSE(pacer.busy());
  EXPECT_EQ(shown, 2);
}

// Each dismissal leaves the dock inactive; all but F1 (which only opens the quick start)
// hide it with auto-hide on.
TEST_F(DockControllerTest, DismissalsLeaveTheDockInactive) {
  const auto tick = [&](bool ours) { On(DockEvent::TimerTick(DockTimer::Foreground, 0, 0, ours)); };
  const std::function<void()> cases[] = {
      [&] { Press(5, 5, 5, 5); }, [&] { Press(5, 5, 5, 5, MouseButton::Right); },
      [&] { tick(false); }, [&] { On(DockEvent::Key(kKeyEscape)); },
      [&] { On(DockEvent::KeyRelease(kKeyF1)); }};
  for (const int autoHide : {0, 1}) {
    for (const auto& c : cases) {
      settings_.AutoHide = static_cast<std::uint8_t>(autoHide);
      NewDock();
      Started();
      tick(true);  // the foreground is still ours: nothing changes
      ASSERT_TRUE(state().active);
      c();
      Finish();
      const bool f1 = &c == &cases[4], hides = autoHide == 1 && !f1;
      const Calls expected = f1 ? Calls{"quick start"} : hides ? Calls{"hide"} : Calls{};
      const auto where = ::testing::Message() << &c - cases << ", auto-hide " << autoHide;
      EXPECT_FALSE(state().active) << where;
      EXPECT_EQ(state().mode, hides ? DockMode::Hidden : DockMode::Expanded) << where;
      EXPECT_EQ(ports_.Acts(), expected) << where;
    }
  }
  settings_.AutoHide = 0;
  tick(true);
  tick(false);  // the watch stops once it has dismissed the dock
  EXPECT_FALSE(dock_->timerOn(DockTimer::Foreground));
}

TEST_F(DockControllerTest, CentreClickCollapsesAndDiscClickExpands) {
  Started();
  Click(0);
  EXPECT_EQ(state().mode, DockMode::Collapsed);
  EXPECT_EQ(ports_.calls.back(), "bottom");
  Click(0);
  EXPECT_EQ(state().mode, DockMode::Expanded);
  EXPECT_EQ(ports_.calls.back(), "front");
  // Collapsed, there is no ring to drag from: the release only brings it back.
  Click(0);
  Press(X(1), Y(1), 3, 3);
  EXPECT_FALSE(ports_.Saw("delete 1"));
  EXPECT_EQ(state().mode, DockMode::Expanded);
  // With auto-hide on, the clicks that collapse and expand (disc in a corner, over no slot)
  // only do that; an Esc that hides leaves no slot hovered.
  settings_.AutoHide = 1;
  settings_.MinimizedPosition = 8;
  Click(0);
  EXPECT_EQ(state().mode, DockMode::Collapsed);
  const DiscPosition c = CollapsedDiscPosition(view_->geometry().metrics, 8);
  Press(c.discLeft + 95, c.discTop + 95, c.discLeft + 95, c.discTop + 95);
  EXPECT_EQ(state().mode, DockMode::Expanded);
  On(DockEvent::Move(X(1), Y(1)));
  On(DockEvent::Key(kKeyEscape));
  Finish();
  EXPECT_EQ(state().mode, DockMode::Hidden);
  EXPECT_EQ(state().hovered, -1);
}

TEST_F(DockControllerTest, AutoHideAfterSevenIdleTicksWithAFade) {
  settings_.AutoHide = 1;
  Started();
  On(DockEvent::Move(5, 5));
  Ticks(DockTimer::AutoHide, kAutoHideTicks - 1);
  EXPECT_EQ(state().mode, DockMode::Expanded);
  Ticks(DockTimer::AutoHide, 1);
  EXPECT_EQ(state().mode, DockMode::Hidden);
  EXPECT_FALSE(ports_.Saw("hide"));  // not before the fade frames
  On(DockEvent::Key('0'));           // arrives during the fade: waits, then finds it hidden
  EXPECT_EQ(dock_->queued(), 1u);
  Finish();
  EXPECT_EQ(ports_.Acts(), Calls{"hide"});
  EXPECT_EQ(delays_.size(), static_cast<std::size_t>(kHideFrames));
  ASSERT_GE(frames_.size(), static_cast<std::size_t>(kHideFrames));
  EXPECT_EQ(frames_[frames_.size() - kHideFrames].constantAlpha, 247);
  EXPECT_EQ(frames_.back().constantAlpha, 0);
  EXPECT_FALSE(state().fade);
  On(DockEvent::Simple(DockEvent::Kind::AltSpace));  // a hovered slot keeps the count at 0
  Finish();
  On(DockEvent::Move(X(1), Y(1)));
  Ticks(DockTimer::AutoHide, 10);
  EXPECT_EQ(state().mode, DockMode::Expanded);
}

TEST_F(DockControllerTest, BinWatchRedrawsOnlyOnChangeAndDwellFadesOnce) {
  Started();
  On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, false));
  EXPECT_TRUE(frames_.empty());  // already shows the empty bin
  for (int t = 0; t < 2; ++t) On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, true));
  EXPECT_EQ(view_->slot(2).icon, 38);
  EXPECT_EQ(frames_.size(), 1u);
  On(DockEvent::Move(X(1), Y(1)));
  Ticks(DockTimer::Dwell, kDwellTicks + 2);
  Finish();
  EXPECT_EQ(state().centreIcon, 1);
  EXPECT_FALSE(dock_->timerOn(DockTimer::Dwell));
}

// The search field's text in the last frame drawn, or "" when the frame has no field.
std::string FieldTextOf(const std::vector<Frame>& frames) {
  if (frames.empty()) return "";
  for (const DrawOp& op : frames.back().ops) {
    if (op.kind == DrawOp::Kind::TextBox) return op.text;
  }
  return "";
}

// Random event sequences: the dock's state stays consistent, a dock not expanded draws
// nothing, and the store (changed by the real deletion, its question answered at random)
// keeps sound groups. The search field (Ctrl+F, typing, Backspace, the list's keys) is
// open only on an active, expanded dock, holds the input method exactly while open, shows
// what was typed and offers what the search finds; while it is open the slot keys start
// nothing.
TEST_F(DockControllerTest, RandomSequencesKeepTheInvariants) {
  std::mt19937 random(20261207);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  testing::ItemWorld world;
  ItemContext items{store_,      world.paths,    settings_,   world.files,   world.system,
                    world.icons, world.registry, world.codec, world.prompts, world.images};
  ports_.deleter = [&](int item) {
    world.prompts.answer = pick(2) == 0;
    return DeleteItem(items, item, false) == 1;
  };
  for (const auto& [group, first] : {std::pair{3, 200}, std::pair{4, 300}}) {
    ItemGroup& members = store_.Groups[static_cast<std::size_t>(group)];
    for (int m = first; m < first + 3; ++m) {
      members.Members[static_cast<std::size_t>(++members.Count)] = m;
      Item(m).ItemType = kItemGroupMember;
      Item(m).Title = (m % 2 == 0 ? "Note " : "记事本 ") + std::to_string(m);
      Item(m).LinkPath = "C:\\p\\tool" + std::to_string(m) + ".exe";
    }
  }
  Item(1).Title = "Notepad";
  Item(1).LinkPath = "C:\\Windows\\notepad.exe";
  const char* const typed[] = {"n", "o", "t",   "e", "\xE8\xAE\xB0", "\xEF\xBC\xAE",
                               " ", "3", "\x06"};
  const ShortcutStore original = store_;
  for (int sequence = 0; sequence < 10000; ++sequence) {
    store_ = original;
    settings_.AutoHide = static_cast<std::uint8_t>(pick(2));
    settings_.LockDragging = pick(4) == 0;
    NewDock();
    ports_.textInput = false;
    Finish();
    On(DockEvent::Simple(DockEvent::Kind::Start));
    for (int step = 0; step < 12; ++step) {
      const int target = pick(16) - 3;  // below 0: nowhere
      const int x = target < 0 ? 3 : X(target) + pick(7) - 3;
      const int y = target < 0 ? 3 : Y(target) + pick(7) - 3;
      const MouseButton button = pick(4) == 0 ? MouseButton::Right : MouseButton::Left;
      const DockEvent events[] = {
          DockEvent::Move(x, y, pick(4) != 0),
          DockEvent::Down(button, x, y),
          DockEvent::Up(button, x, y),
          DockEvent::Key("0125ABZ"[pick(7)], pick(5) == 0),
          DockEvent::Key(pick(2) ? kKeyEscape : kKeySpace, true),
          DockEvent::TimerTick(static_cast<DockTimer>(pick(5)), x, y, pick(2) == 0),
          DockEvent::Simple(DockEvent::Kind::ToggleShown),
          DockEvent::Mode(static_cast<DockMode>(pick(3))),
          DockEvent::Simple(DockEvent::Kind::PopupClosed),
          DockEvent::KeyRelease(kKeyF1),
          DockEvent::Key(kKeySearch, false, pick(4) != 0),
          DockEvent::Typed(typed[pick(9)]),
          DockEvent::Key(pick(2) ? kKeyBackspace : (pick(2) ? kKeyEnter : kKeyDown)),
      };
      // Pointer events weigh more, so that presses turn into drags off the ring often;
      // 13 lets time pass.
      constexpr int kWeighted[] = {0, 0, 0, 1,  1,  2,  2,  3,  4,  5, 6,
                                   7, 8, 9, 10, 11, 11, 11, 12, 12, 13};
      const int which = kWeighted[pick(21)];
      if (which == 13) {
        if (pacer_.busy()) pacer_.Tick();
        continue;
      }
      const DockMode before = state().mode;
      const std::size_t framesBefore = frames_.size();
      const bool searchedBefore = dock_->searching();
      const std::size_t callsBefore = ports_.calls.size();
      On(events[which]);
      const DockState& s = state();
      const std::string where = std::to_string(sequence) + "/" + std::to_string(step);
      ASSERT_TRUE(!s.searching || (s.active && s.mode == DockMode::Expanded)) << where;
      ASSERT_EQ(ports_.textInput, s.searching) << where;
      ASSERT_TRUE(s.searching || s.searchText.empty()) << where;
      if (s.searching) {
        ASSERT_EQ(dock_->searchResults(),
                  FindItems(BuildSearchIndex(store_, 12, nullptr), s.searchText))
            << where;
        ASSERT_EQ(dock_->popupOpen(), !dock_->searchResults().empty()) << where;
        if (frames_.size() > framesBefore && !pacer_.busy()) {
          const std::string shown = FieldTextOf(frames_);
          ASSERT_EQ(shown, s.searchText.empty() ? std::string(kSearchHint)
                                                : FieldTail(s.searchText, kSearchFieldChars) + "|")
              << where;
        }
      }
      if (searchedBefore && which == 3) {
        ASSERT_EQ(ports_.calls.size(), callsBefore) << where;  // slot keys go nowhere
      }
      ASSERT_TRUE(!s.active || s.mode == DockMode::Expanded) << where;
      ASSERT_EQ(dock_->hidden(), s.mode == DockMode::Hidden) << where;
      ASSERT_TRUE(!dock_->popupOpen() || s.mode != DockMode::Hidden) << where;
      ASSERT_TRUE(s.hovered >= -1 && s.hovered <= 12) << where;
      ASSERT_TRUE(before == DockMode::Expanded || s.mode != before || pacer_.busy() ||
                  frames_.size() == framesBefore)
          << where;
      for (int g = 0; g <= kLastRingGroup; ++g) {
        const ItemGroup& group = store_.Groups[static_cast<std::size_t>(g)];
        ASSERT_TRUE(group.Count >= 0 && group.Count <= GroupCapacity(g)) << where;
        std::set<int> members;
        for (int m = 1; m <= group.Count; ++m) {
          const int member = group.Members[static_cast<std::size_t>(m)];
          ASSERT_TRUE(member > kLastBuiltInCommand && member <= kLastItem) << where;
          ASSERT_TRUE(members.insert(member).second) << where;
          ASSERT_EQ(Item(member).ItemType, kItemGroupMember) << where;
        }
      }
    }
    Finish();
    ASSERT_EQ(dock_->queued(), 0u);
    if (dock_->searching() && dock_->popupOpen()) {
      ASSERT_EQ(ports_.results, dock_->searchResults()) << sequence;
    }
  }
}

// The show/hide hot key: an active dock hides at once (an open popup closed first, no
// fade), pressed again it comes back expanded, in front and active, also without a fade.
// An inactive, collapsed or hidden dock is activated. The fade flag is left as it was.
TEST_F(DockControllerTest, ShowOrHideHidesAnActiveDockAndActivatesAnyOther) {
  Started();
  Click(3);
  ASSERT_TRUE(dock_->popupOpen());
  ASSERT_TRUE(state().active);
  view_->state().fade = true;
  Clear();
  On(DockEvent::Simple(DockEvent::Kind::ShowOrHide));
  Finish();
  EXPECT_TRUE(state().mode == DockMode::Hidden && dock_->hidden() && !state().active);
  EXPECT_TRUE(!dock_->popupOpen() && ports_.Saw("close popup") && ports_.Saw("hide"));
  EXPECT_TRUE(frames_.empty() && state().fade) << "hidden without the fade";

  const std::function<void()> before[] = {
      [] {},  // hidden, as just above
      [&] { On(DockEvent::Simple(DockEvent::Kind::EscCancel)); },
      [&] { On(DockEvent::Mode(DockMode::Collapsed)); }};
  for (const auto& arrange : before) {
    if (state().mode == DockMode::Expanded) On(DockEvent::Simple(DockEvent::Kind::AltSpace));
    arrange();
    Finish();
    ASSERT_FALSE(state().active);
    Clear();
    On(DockEvent::Simple(DockEvent::Kind::ShowOrHide));
    Finish();
    EXPECT_TRUE(state().mode == DockMode::Expanded && state().active && !dock_->hidden());
    EXPECT_TRUE(ports_.Saw("front") && state().fade);
    EXPECT_LE(frames_.size(), 1u) << "shown without the fade";
    for (const std::string& call : ports_.Acts()) EXPECT_EQ(call, "show") << "nothing else";
  }
}

// Files dragged from another program over the dock: the badges drawn so far, skin and
// square; events arrive one at a time.
std::vector<std::pair<int, PixelRect>> Badges(const std::vector<Frame>& frames) {
  std::vector<std::pair<int, PixelRect>> out;
  for (const Frame& f : frames)
    for (const DrawOp& op : f.ops)
      if (op.image.table == ImageTable::Skin && op.image.number >= kSkinNoDrop &&
          op.image.number <= kSkinReplaceIcon) {
        EXPECT_EQ(op.image.variant, 1);
        out.emplace_back(op.image.number, op.rect);
      }
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

TEST_F(DockDropTest, TheBadgeFollowsTheSlotsKindAndThePointer) {
  Started();
  const struct {
    int slot;
    bool files, locked;
    int skin;
  } cases[] = {{1, true, false, kSkinReplaceIcon}, {2, true, false, kSkinAddIcon},
               {3, true, false, kSkinNoDrop},      {4, true, false, kSkinAddIcon},
               {5, true, false, kSkinNoDrop},      {0, true, false, kSkinAddIcon},
               {7, false, false, kSkinNoDrop},     {1, true, true, kSkinNoDrop}};
  for (const auto& c : cases) {
    settings_.LockDragging = c.locked;
    frames_.clear();
    On(DockEvent::DragAt(X(c.slot) + 3, Y(c.slot) - 2, c.files));
    EXPECT_EQ(Badges(frames_), (std::vector<std::pair<int, PixelRect>>{
                                   {c.skin, PixelRect{X(c.slot) - 21, Y(c.slot) - 26, 48, 48}}}))
        << c.slot;
    On(DockEvent::Simple(DockEvent::Kind::DragLeave));
  }
}

TEST_F(DockDropTest, OnlyAChangeOfBadgeOrPlaceIsDrawn) {
  Started();
  On(DockEvent::DragAt(X(7), Y(7), true));
  On(DockEvent::DragAt(X(7), Y(7), true));  // the drag reports a resting pointer again
  EXPECT_EQ(frames_.size(), 1u);
  On(DockEvent::DragAt(X(7) + 1, Y(7), true));
  // Off the slots: the resting ring once, then nothing however the pointer moves.
  On(DockEvent::DragAt(5, 5, true));
  On(DockEvent::DragAt(9, 12, true));
  EXPECT_EQ(frames_.size(), 3u);
  // Leaving redraws the ring only when a badge was shown.
  On(DockEvent::Simple(DockEvent::Kind::DragLeave));
  On(DockEvent::DragAt(X(1), Y(1), true));
  On(DockEvent::Simple(DockEvent::Kind::DragLeave));
  EXPECT_EQ(frames_.size(), 5u);
  EXPECT_EQ(Badges(frames_).size(), 3u);
}

TEST_F(DockDropTest, AnInactiveDockComesUpForTheDragAndGoesBackAfter) {
  Started(false);
  On(DockEvent::DragAt(X(7), Y(7), true));
  On(DockEvent::DragAt(X(8), Y(8), true));
  On(DockEvent::DragAt(5, 5, true));
  On(DockEvent::DragAt(X(1), Y(1), true));
  On(DockEvent::DropAt(X(1), Y(1), {"D:\\a"}));
  EXPECT_EQ(ports_.calls, (Calls{"raise", "bottom", "raise", "bottom", "drop 1 D:\\a"}));
  // An active dock is in front already and stays there.
  On(DockEvent::Simple(DockEvent::Kind::AltSpace));
  ports_.calls.clear();
  On(DockEvent::DragAt(X(7), Y(7), true));
  On(DockEvent::DragAt(5, 5, true));
  On(DockEvent::Simple(DockEvent::Kind::DragLeave));
  EXPECT_EQ(ports_.calls, Calls{});
}

// A drop reaches the slot under the pointer of an expanded dock, and takes the badge away.
TEST_F(DockDropTest, ADropReachesTheSlotUnderThePointerOnly) {
  Started();
  const struct {
    int slot;  // -1 beside the ring
    bool locked;
    DockMode mode;
    const char* call;
  } cases[] = {{3, false, DockMode::Expanded, "drop 3 D:\\a D:\\b"},
               {0, false, DockMode::Expanded, "drop 0 D:\\a D:\\b"},
               {-1, false, DockMode::Expanded, ""},
               {9, true, DockMode::Expanded, ""},
               {7, false, DockMode::Collapsed, ""},
               {7, false, DockMode::Hidden, ""}};
  for (const auto& c : cases) {
    settings_.LockDragging = c.locked;
    On(DockEvent::Mode(c.mode));
    ports_.calls.clear();
    frames_.clear();
    const int x = c.slot == -1 ? 5 : X(c.slot), y = c.slot == -1 ? 5 : Y(c.slot);
    On(DockEvent::DragAt(x, y, true));
    On(DockEvent::DropAt(x, y, {"D:\\a", "D:\\b"}));
    EXPECT_EQ(ports_.calls, *c.call ? Calls{c.call} : Calls{}) << c.slot;
    if (c.mode != DockMode::Expanded) {
      EXPECT_TRUE(frames_.empty());
    }
    if (!frames_.empty()) frames_.erase(frames_.begin());
    EXPECT_TRUE(Badges(frames_).empty()) << c.slot;
    On(DockEvent::Mode(DockMode::Expanded));
  }
}

TEST_F(DockDropTest, AutoHideWaitsWhileFilesAreDraggedOver) {
  settings_.AutoHide = 1;
  Started();
  On(DockEvent::DragAt(X(7), Y(7), true));
  for (int t = 0; t < kAutoHideTicks + 2; ++t) On(DockEvent::TimerTick(DockTimer::AutoHide));
  EXPECT_EQ(view_->state().mode, DockMode::Expanded);
  // Anything redrawn meanwhile keeps the badge.
  frames_.clear();
  store_.Items[2].ItemIndex = 37;
  On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, true));
  On(DockEvent::Simple(DockEvent::Kind::Refresh));
  EXPECT_EQ(Badges(frames_).size(), frames_.size());
  EXPECT_FALSE(frames_.empty());
}

}  // namespace
}  // namespace kivo
