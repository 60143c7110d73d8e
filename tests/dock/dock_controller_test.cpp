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

// Writes what the dock asks of the world, in order, as short words (timers left out).
class RecordingPorts : public DockPorts, public DockActions {
 public:
  Calls calls;
  void SetTimer(DockTimer, bool) override {}
  void BringToFront() override { calls.push_back("front"); }
  void SendToBottom() override { calls.push_back("bottom"); }
  void ShowWindows(bool visible) override { calls.push_back(visible ? "show" : "hide"); }
  void LaunchItem(int item) override { calls.push_back("launch " + std::to_string(item)); }
  void RunCommand(int command) override { calls.push_back("run " + std::to_string(command)); }
  void OpenPopup(int slot) override { calls.push_back("popup " + std::to_string(slot)); }
  void ClosePopup() override { calls.push_back("close popup"); }
  void OpenContextMenu(int slot) override { calls.push_back("menu " + std::to_string(slot)); }
  bool DeleteItem(int item) override {
    calls.push_back("delete " + std::to_string(item));
    return deleter ? deleter(item) : true;
  }
  std::function<bool(int)> deleter;  // the real deletion, where a test wants it
  void SaveStore() override { calls.push_back("save"); }
  void ShowQuickStart() override { calls.push_back("quick start"); }
  void EndProgram() override { calls.push_back("end"); }
  bool Saw(const std::string& call) const {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }
  // What acts on items: window order and popups closing left out.
  Calls Acts() const {
    Calls out;
    for (const auto& c : calls) {
      if (c != "front" && c != "bottom" && c != "close popup") out.push_back(c);
    }
    return out;
  }
};

// A full-HD dock with 12 slots: 1 and 11 shortcuts, 2 the recycle bin, 3 a group, 4 the
// all-programs group, 5 a command, 13 a shortcut beyond the slots shown; the rest blank.
class DockControllerTest : public ::testing::Test {
 protected:
  DockControllerTest()
      : pacer_([this](const Frame& f) { frames_.push_back(f); },
               [this](int ms) {
                 delays_.push_back(ms);
                 return true;
               }),
        list_([this](const Frame& f) { pacer_.Push(f); }) {
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 12;
    for (int i = 0; i <= 38; ++i) {
      store_.Items[static_cast<std::size_t>(i)].ItemType = kItemShortcut;
      store_.Items[static_cast<std::size_t>(i)].ItemIndex = i;
    }
    const std::pair<int, int> kinds[] = {
        {0, kItemUser},          {1, kItemRingShortcut},     {2, kItemRecycleBin},
        {3, kItemGroup},         {4, kItemAllProgramsGroup}, {5, kItemRingShortcut},
        {11, kItemRingShortcut}, {13, kItemRingShortcut},    {37, kItemRecycleBin},
        {38, kItemRecycleBin}};
    for (const auto& [item, kind] : kinds)
      store_.Items[static_cast<std::size_t>(item)].ItemType = kind;
    store_.Items[2].ItemIndex = 37;
    store_.Items[5].IsSystem = true;
    store_.Items[5].CommandId = 73;
    view_.emplace(list_, pacer_, store_, settings_,
                  ComputeRing(MakeRingMetrics(screen_, settings_)));
    dock_.emplace(*view_, pacer_, ports_, ports_, store_, settings_, DragThreshold{4, 4});
    pacer_.SetOnIdle([this] { dock_->Resume(); });
  }

  int X(int i) const { return Slot(i).normalLeft + Slot(i).normalSize / 2; }
  int Y(int i) const { return Slot(i).normalTop + Slot(i).normalSize / 2; }
  const RingSlot& Slot(int i) const { return view_->geometry().slots[static_cast<std::size_t>(i)]; }
  void On(const DockEvent& e) { dock_->Handle(e); }
  void Finish() {
    for (int guard = 0; pacer_.busy() && guard < 1000; ++guard) pacer_.Tick();
  }
  void Started() {
    On(DockEvent::Simple(DockEvent::Kind::Start));
    Finish();
    ports_.calls.clear();
    frames_.clear();
    delays_.clear();
  }
  // Press at (x, y), move to (toX, toY) with the button held, release there.
  void Press(int x, int y, int toX, int toY, MouseButton button = MouseButton::Left) {
    On(DockEvent::Move(x, y));
    On(DockEvent::Down(button, x, y));
    if (toX != x || toY != y) On(DockEvent::Move(toX, toY, button == MouseButton::Left));
    On(DockEvent::Up(button, toX, toY));
    Finish();
  }
  void Click(int i, MouseButton button = MouseButton::Left) {
    Press(X(i), Y(i), X(i), Y(i), button);
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

// Clicks and hotkeys on each kind of slot; "~" is the centre, keys beyond the slots shown
// and blank slots do nothing.
TEST_F(DockControllerTest, ClicksAndKeysActOnTheSlotsKind) {
  Started();
  struct Case {
    int slot;  // clicked, or -1 for the key
    MouseButton button;
    int key;
    const char* act;  // or nothing
  };
  const auto L = MouseButton::Left, R = MouseButton::Right;
  const Case cases[] = {
      {1, L, 0, "launch 1"},
      {5, L, 0, "run 73"},
      {3, L, 0, "popup 3"},
      {4, L, 0, "popup 4"},
      {6, L, 0, ""},
      {1, R, 0, "menu 1"},
      {3, R, 0, "menu 3"},
      {2, R, 0, "popup 2"},
      {-1, L, '0', "launch 1"},
      {-1, L, '4', "run 73"},
      {-1, L, '2', "popup 3"},
      {-1, L, 'A', "launch 11"},
      {-1, L, 'B', ""},
      {-1, L, 'C', ""},
      {-1, L, 'Z', ""},
      {-1, L, kKeyTilde, "popup 0"},
  };
  for (const Case& c : cases) {
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
  On(DockEvent::Simple(DockEvent::Kind::EscCancel));  // not active: keys do nothing
  ports_.calls.clear();
  On(DockEvent::Key('0'));
  EXPECT_EQ(ports_.Acts(), Calls{});
}

// A press that moves: within the drag rectangle it is still a click; dropped on a slot
// nothing happens; dragged off the ring the item is deleted (unless dragging is locked).
TEST_F(DockControllerTest, DraggingAnIcon) {
  struct Case {
    int slot, toX, toY;
    bool locked;
    Calls acts;
  };
  Started();
  const Case cases[] = {
      {1, X(1) + 1, Y(1) - 2, false, {"launch 1"}},
      {1, X(2), Y(2), false, {}},
      {1, 40, 40, true, {}},
      {3, 40, 40, false, {"delete 3", "save"}},
  };
  for (const Case& c : cases) {
    settings_.LockDragging = c.locked;
    ports_.calls.clear();
    frames_.clear();
    delays_.clear();
    Press(X(c.slot), Y(c.slot), c.toX, c.toY);
    EXPECT_EQ(ports_.Acts(), c.acts) << c.toX << "," << c.toY;
    EXPECT_FALSE(state().dragging);
    EXPECT_EQ(state().pressedSlot, -1);
  }
  // The five delete frames, 25 ms apart, centred on the drop point.
  EXPECT_EQ(std::count(delays_.begin(), delays_.end(), kFramePause), kDeleteFrames);
  int deleteFrames = 0;
  for (const Frame& f : frames_) {
    for (const DrawOp& op : f.ops) {
      if (op.image == ImageRef{ImageTable::Skin, kSkinDelIcon, deleteFrames + 1}) {
        EXPECT_EQ(op.rect, (PixelRect{40 - 64, 40 - 64, 128, 128}));
        ++deleteFrames;
      }
    }
  }
  EXPECT_EQ(deleteFrames, kDeleteFrames);
}

// A lifted icon is let go without deleting anything when the press ends some other way:
// another button, the mouse taken away, the dock hidden meanwhile.
TEST_F(DockControllerTest, APressEndedOtherwiseDeletesNothing) {
  const std::function<void()> interruptions[] = {
      [&] { On(DockEvent::Up(MouseButton::Right, 40, 40)); },
      [&] { On(DockEvent::Simple(DockEvent::Kind::CancelPress)); },
      [&] {
        On(DockEvent::Mode(DockMode::Hidden));
        On(DockEvent::Up(MouseButton::Left, 40, 40));
        On(DockEvent::Simple(DockEvent::Kind::ToggleShown));
      },
  };
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

// While a handler waits for the user (the question before deleting a group), input that
// reaches the dock is dropped and a timer that keeps firing counts once.
TEST_F(DockControllerTest, InputDuringAQuestionIsDroppedAndTicksCountOnce) {
  settings_.AutoHide = 1;
  Started();
  ports_.deleter = [&](int) {
    On(DockEvent::Move(X(1), Y(1)));
    On(DockEvent::Down(MouseButton::Left, X(1), Y(1)));
    On(DockEvent::Up(MouseButton::Left, X(1), Y(1)));
    for (int t = 0; t < 2 * kAutoHideTicks; ++t) On(DockEvent::TimerTick(DockTimer::AutoHide));
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

// Ways the dock is dismissed: each leaves it inactive; most hide it with auto-hide on.
TEST_F(DockControllerTest, DismissalsLeaveTheDockInactive) {
  struct Case {
    const char* name;
    std::function<void()> act;
    bool autoHides;
    Calls acts;
  };
  const auto tick = [&](bool ours) { On(DockEvent::TimerTick(DockTimer::Foreground, 0, 0, ours)); };
  const Case cases[] = {
      {"desktop click", [&] { Press(5, 5, 5, 5); }, true, {}},
      {"desktop right click", [&] { Press(5, 5, 5, 5, MouseButton::Right); }, true, {}},
      {"lost foreground", [&] { tick(false); }, true, {}},
      {"escape", [&] { On(DockEvent::Key(kKeyEscape)); }, true, {}},
      {"F1", [&] { On(DockEvent::KeyRelease(kKeyF1)); }, false, {"quick start"}},
  };
  for (const int autoHide : {0, 1}) {
    for (const Case& c : cases) {
      settings_.AutoHide = static_cast<std::uint8_t>(autoHide);
      dock_.emplace(*view_, pacer_, ports_, ports_, store_, settings_, DragThreshold{4, 4});
      view_->state() = DockState{};
      Started();
      tick(true);  // the foreground is still ours: nothing changes
      ASSERT_TRUE(state().active);
      c.act();
      Finish();
      const bool hides = autoHide == 1 && c.autoHides;
      Calls expected = c.acts;
      if (hides) expected.push_back("hide");
      EXPECT_FALSE(state().active) << c.name;
      EXPECT_EQ(state().mode, hides ? DockMode::Hidden : DockMode::Expanded) << c.name;
      EXPECT_EQ(ports_.Acts(), expected) << c.name << ", auto-hide " << autoHide;
    }
  }
  settings_.AutoHide = 0;
  tick(true);
  tick(false);  // the watch stops once it has dismissed the dock
  EXPECT_FALSE(dock_->timerOn(DockTimer::Foreground));
}

TEST_F(DockControllerTest, EscWithThePopupOpenClosesItFirst) {
  Started();
  Click(3);
  ASSERT_TRUE(dock_->popupOpen());
  ports_.calls.clear();
  On(DockEvent::Key(kKeyEscape));
  EXPECT_FALSE(dock_->popupOpen());
  EXPECT_EQ(ports_.calls.front(), "close popup");
}

TEST_F(DockControllerTest, CentreClickCollapsesAndDiscClickExpands) {
  Started();
  Click(0);
  EXPECT_EQ(state().mode, DockMode::Collapsed);
  ASSERT_FALSE(frames_.empty());
  const DiscPosition p = CollapsedDiscPosition(view_->geometry().metrics, 0);
  EXPECT_EQ(frames_.back().ops.back().rect, (PixelRect{p.discLeft, p.discTop, 190, 190}));
  EXPECT_EQ(ports_.calls.back(), "bottom");
  Click(0);
  EXPECT_EQ(state().mode, DockMode::Expanded);
  EXPECT_EQ(ports_.calls.back(), "front");

  // Collapsed, the ring is not there: a drag from where a slot would be (a disc placed over
  // it on a small screen) deletes nothing; the release only brings the ring back.
  Click(0);
  Press(X(1), Y(1), 3, 3);
  EXPECT_FALSE(ports_.Saw("delete 1"));
  EXPECT_EQ(state().mode, DockMode::Expanded);

  // With auto-hide on, the click that collapses and the click on a disc in a corner (over
  // no slot) only collapse and expand; an Esc that hides leaves no slot hovered.
  settings_.AutoHide = 1;
  settings_.MinimizedPosition = 8;
  Click(0);
  EXPECT_EQ(state().mode, DockMode::Collapsed);
  const DiscPosition corner = CollapsedDiscPosition(view_->geometry().metrics, 8);
  Press(corner.discLeft + 95, corner.discTop + 95, corner.discLeft + 95, corner.discTop + 95);
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
  for (int t = 0; t < kAutoHideTicks - 1; ++t) On(DockEvent::TimerTick(DockTimer::AutoHide));
  EXPECT_EQ(state().mode, DockMode::Expanded);
  On(DockEvent::TimerTick(DockTimer::AutoHide));
  EXPECT_EQ(state().mode, DockMode::Hidden);
  EXPECT_FALSE(ports_.Saw("hide"));  // not before the 32 fade frames
  On(DockEvent::Key('0'));           // arrives during the fade: waits, then finds it hidden
  EXPECT_EQ(dock_->queued(), 1u);
  Finish();
  EXPECT_EQ(ports_.Acts(), Calls{"hide"});
  EXPECT_EQ(delays_.size(), static_cast<std::size_t>(kHideFrames));
  ASSERT_GE(frames_.size(), static_cast<std::size_t>(kHideFrames));
  EXPECT_EQ(frames_[frames_.size() - kHideFrames].constantAlpha, 247);
  EXPECT_EQ(frames_.back().constantAlpha, 0);
  EXPECT_EQ(dock_->queued(), 0u);
  EXPECT_FALSE(state().fade);  // the flag is restored

  // A hovered slot keeps the counter at 0.
  On(DockEvent::Simple(DockEvent::Kind::AltSpace));
  Finish();
  On(DockEvent::Move(X(1), Y(1)));
  for (int t = 0; t < 10; ++t) On(DockEvent::TimerTick(DockTimer::AutoHide));
  EXPECT_EQ(state().mode, DockMode::Expanded);
}

TEST_F(DockControllerTest, RecycleBinWatchRedrawsOnlyOnChange) {
  Started();
  On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, false));
  EXPECT_TRUE(frames_.empty());  // already shows the empty bin
  for (int t = 0; t < 2; ++t) On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, true));
  EXPECT_EQ(view_->slot(2).icon, 38);
  EXPECT_EQ(frames_.size(), 1u);
}

TEST_F(DockControllerTest, DwellCrossFadesOnceThenStops) {
  Started();
  On(DockEvent::Move(X(1), Y(1)));
  for (int t = 0; t <= kDwellTicks + 1; ++t) On(DockEvent::TimerTick(DockTimer::Dwell));
  Finish();
  EXPECT_EQ(state().centreIcon, 1);
  EXPECT_FALSE(dock_->timerOn(DockTimer::Dwell));
}

// Random event sequences: after every event the dock's state stays consistent, a dock that
// is not expanded draws nothing, and the store (changed by the real deletion, the user
// answering its question at random) keeps sound groups.
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
      store_.Items[static_cast<std::size_t>(m)].ItemType = kItemGroupMember;
    }
  }
  const ShortcutStore original = store_;
  for (int sequence = 0; sequence < 10000; ++sequence) {
    store_ = original;
    settings_.AutoHide = static_cast<std::uint8_t>(pick(2));
    settings_.LockDragging = pick(4) == 0;
    dock_.emplace(*view_, pacer_, ports_, ports_, store_, settings_, DragThreshold{4, 4});
    Finish();
    view_->state() = DockState{};
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
      };
      // Pointer events weigh more, so that presses turn into drags off the ring often.
      constexpr int kWeighted[] = {0, 0, 0, 1, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10};
      const int which = kWeighted[pick(15)];
      if (which == 10) {  // time passes
        if (pacer_.busy()) pacer_.Tick();
        continue;
      }
      const DockMode before = state().mode;
      const std::size_t framesBefore = frames_.size();
      On(events[which]);
      const DockState& s = state();
      const std::string where = std::to_string(sequence) + "/" + std::to_string(step);
      ASSERT_TRUE(!s.active || s.mode == DockMode::Expanded) << where;
      ASSERT_EQ(dock_->hidden(), s.mode == DockMode::Hidden) << where;
      ASSERT_TRUE(!dock_->popupOpen() || s.mode != DockMode::Hidden) << where;
      ASSERT_TRUE(s.hovered >= -1 && s.hovered <= 12) << where;
      if (before != DockMode::Expanded && s.mode == before && !pacer_.busy()) {
        ASSERT_EQ(frames_.size(), framesBefore) << where;
      }
      for (int g = 0; g <= kLastRingGroup; ++g) {
        const ItemGroup& group = store_.Groups[static_cast<std::size_t>(g)];
        ASSERT_TRUE(group.Count >= 0 && group.Count <= GroupCapacity(g)) << where;
        std::set<int> members;
        for (int m = 1; m <= group.Count; ++m) {
          const int member = group.Members[static_cast<std::size_t>(m)];
          ASSERT_TRUE(member > kLastBuiltInCommand && member <= kLastItem) << where;
          ASSERT_TRUE(members.insert(member).second) << where;
          ASSERT_EQ(store_.Items[static_cast<std::size_t>(member)].ItemType, kItemGroupMember)
              << where;
        }
      }
    }
    Finish();
    ASSERT_EQ(dock_->queued(), 0u);
  }
}

}  // namespace
}  // namespace kivo
