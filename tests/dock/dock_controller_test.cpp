#include "dock/dock_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kivo {
namespace {

// Records what the dock asks of the world, in order, as short words.
class RecordingPorts : public DockPorts, public DockActions {
 public:
  explicit RecordingPorts(ShortcutStore& store) : store_(store) {}
  std::vector<std::string> calls;
  bool deleteAnswer = true;

  void SetTimer(DockTimer timer, bool on) override {
    calls.push_back((on ? "timer+" : "timer-") + std::to_string(static_cast<int>(timer)));
  }
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
    if (!deleteAnswer || item < 1 || item > kLastRingGroup) return false;
    // As the real helper does: a ring group's members become unused, the slot blank.
    ItemGroup& group = store_.Groups[static_cast<std::size_t>(item)];
    for (int m = 1; m <= group.Count; ++m) {
      store_.Items[static_cast<std::size_t>(group.Members[static_cast<std::size_t>(m)])] = {};
      group.Members[static_cast<std::size_t>(m)] = 0;
    }
    group.Count = 0;
    ShortcutItem& slot = store_.Items[static_cast<std::size_t>(item)];
    slot = {};
    slot.ItemType = kItemShortcut;
    slot.ItemIndex = item;
    return true;
  }
  void SaveStore() override { calls.push_back("save"); }
  void ShowQuickStart() override { calls.push_back("quick start"); }

  bool Saw(const std::string& call) const {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }
  // The calls of interest only: timers left out.
  std::vector<std::string> Effects() const {
    std::vector<std::string> out;
    for (const auto& c : calls) {
      if (c.rfind("timer", 0) != 0) out.push_back(c);
    }
    return out;
  }

 private:
  ShortcutStore& store_;
};

// A full-HD dock with 12 slots: 1 a shortcut, 3 a group with two members, 4 the all-programs
// group, 5 a command, 2 the recycle bin, 13 a shortcut that is not shown; the rest blank.
class DockControllerTest : public ::testing::Test {
 protected:
  DockControllerTest()
      : pacer_([this](const Frame& f) { frames_.push_back(f); },
               [this](int ms) { delays_.push_back(ms); }),
        list_([this](const Frame& f) { pacer_.Push(f); }),
        ports_(store_) {
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 12;
    for (int i = 0; i <= 36; ++i) {
      ShortcutItem& item = store_.Items[static_cast<std::size_t>(i)];
      item.ItemType = kItemShortcut;
      item.ItemIndex = i;
      item.Title = "Slot " + std::to_string(i);
    }
    store_.Items[0].ItemType = kItemUser;
    store_.Items[1].ItemType = kItemRingShortcut;
    store_.Items[1].TargetPath = "C:\\Tools\\app.exe";
    store_.Items[3].ItemType = kItemGroup;
    store_.Items[4].ItemType = kItemAllProgramsGroup;
    store_.Items[5].ItemType = kItemRingShortcut;
    store_.Items[5].IsSystem = true;
    store_.Items[5].CommandId = 73;
    store_.Items[2].ItemType = kItemRecycleBin;
    store_.Items[2].ItemIndex = 37;
    store_.Items[13].ItemType = kItemRingShortcut;  // beyond the 12 slots shown
    for (int t : {37, 38}) {
      store_.Items[static_cast<std::size_t>(t)].ItemType = kItemRecycleBin;
      store_.Items[static_cast<std::size_t>(t)].ItemIndex = t;
    }
    for (int m : {200, 201}) {
      ItemGroup& g = store_.Groups[3];
      g.Members[static_cast<std::size_t>(++g.Count)] = m;
      store_.Items[static_cast<std::size_t>(m)].ItemType = kItemGroupMember;
    }
    view_.emplace(list_, pacer_, store_, settings_,
                  ComputeRing(MakeRingMetrics(screen_, settings_)));
    dock_.emplace(*view_, pacer_, ports_, ports_, store_, settings_, DragThreshold{4, 4});
    pacer_.SetOnIdle([this] { dock_->Resume(); });
  }

  const RingSlot& slot(int i) const { return view_->geometry().slots[static_cast<std::size_t>(i)]; }
  int X(int i) const { return slot(i).normalLeft + slot(i).normalSize / 2; }
  int Y(int i) const { return slot(i).normalTop + slot(i).normalSize / 2; }
  void On(const DockEvent& e) { dock_->Handle(e); }
  // Plays every pending animation frame to its end.
  void Finish() {
    for (int guard = 0; pacer_.busy() && guard < 1000; ++guard) pacer_.Tick();
  }
  void Started() {
    On(DockEvent::Simple(DockEvent::Kind::Start));
    Finish();
    ports_.calls.clear();
    frames_.clear();
  }
  void Click(int i, MouseButton button = MouseButton::Left) {
    On(DockEvent::Move(X(i), Y(i)));
    On(DockEvent::Down(button, X(i), Y(i)));
    On(DockEvent::Up(button, X(i), Y(i)));
    Finish();
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

using Calls = std::vector<std::string>;

TEST_F(DockControllerTest, ClicksActOnTheSlotsKind) {
  Started();
  struct Case {
    int slot;
    MouseButton button;
    Calls effects;
  };
  const std::vector<Case> cases{
      {1, MouseButton::Left, {"launch 1"}}, {5, MouseButton::Left, {"run 73"}},
      {3, MouseButton::Left, {"popup 3"}},  {4, MouseButton::Left, {"popup 4"}},
      {6, MouseButton::Left, {}},  // a blank slot does nothing
      {1, MouseButton::Right, {"menu 1"}},  {3, MouseButton::Right, {"menu 3"}},
      {2, MouseButton::Right, {"popup 2"}},  // kinds from 7 on open their list
  };
  for (const Case& c : cases) {
    ports_.calls.clear();
    Click(c.slot, c.button);
    Calls effects = ports_.Effects();
    std::erase(effects, "close popup");
    EXPECT_EQ(effects, c.effects) << "slot " << c.slot;
    EXPECT_EQ(dock_->contextSlot(), c.slot);
    On(DockEvent::Simple(DockEvent::Kind::PopupClosed));
  }
}

TEST_F(DockControllerTest, ReleaseOverNothingNeverReachesAnItem) {
  Started();
  for (MouseButton button : {MouseButton::Left, MouseButton::Right}) {
    On(DockEvent::Move(5, 5));
    On(DockEvent::Down(button, 5, 5));
    On(DockEvent::Up(button, 5, 5));
    Finish();
  }
  for (const auto& call : ports_.Effects()) {
    EXPECT_TRUE(call == "bottom" || call == "front") << call;
  }
  EXPECT_FALSE(state().active);  // a click on the empty desktop dismissed the dock
}

TEST_F(DockControllerTest, TrembleWithinTheDragRectangleIsAClick) {
  Started();
  On(DockEvent::Move(X(1), Y(1)));
  On(DockEvent::Down(MouseButton::Left, X(1), Y(1)));
  On(DockEvent::Move(X(1) + 1, Y(1) - 2, true));
  EXPECT_FALSE(state().dragging);
  On(DockEvent::Up(MouseButton::Left, X(1) + 1, Y(1) - 2));
  Finish();
  EXPECT_TRUE(ports_.Saw("launch 1"));
}

TEST_F(DockControllerTest, DragOffTheRingDeletesAndOntoASlotChangesNothing) {
  Started();
  // Onto another slot: nothing launched, nothing deleted.
  On(DockEvent::Move(X(1), Y(1)));
  On(DockEvent::Down(MouseButton::Left, X(1), Y(1)));
  On(DockEvent::Move(X(2), Y(2), true));
  EXPECT_TRUE(state().dragging);
  On(DockEvent::Up(MouseButton::Left, X(2), Y(2)));
  Finish();
  EXPECT_EQ(ports_.Effects(), Calls{});
  EXPECT_EQ(store_.Items[1].ItemType, kItemRingShortcut);

  // Off the ring: deleted, the five delete frames played 25 ms apart, the store saved.
  frames_.clear();
  delays_.clear();
  On(DockEvent::Move(X(3), Y(3)));
  On(DockEvent::Down(MouseButton::Left, X(3), Y(3)));
  On(DockEvent::Move(40, 40, true));
  On(DockEvent::Up(MouseButton::Left, 40, 40));
  Finish();
  EXPECT_EQ(ports_.Effects(), (Calls{"delete 3", "save"}));
  EXPECT_EQ(store_.Items[3].ItemType, kItemShortcut);
  EXPECT_EQ(store_.Groups[3].Count, 0);
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
  EXPECT_FALSE(state().dragging);
  EXPECT_EQ(state().pressedSlot, -1);
}

TEST_F(DockControllerTest, LockedDraggingNeverDrags) {
  settings_.LockDragging = true;
  Started();
  On(DockEvent::Move(X(1), Y(1)));
  On(DockEvent::Down(MouseButton::Left, X(1), Y(1)));
  On(DockEvent::Move(40, 40, true));
  On(DockEvent::Up(MouseButton::Left, 40, 40));
  Finish();
  EXPECT_FALSE(ports_.Saw("delete 1"));
}

TEST_F(DockControllerTest, KeysSelectShownSlotsOnlyWhileActive) {
  Started();
  struct Case {
    int key;
    Calls effects;
  };
  const std::vector<Case> cases{
      {'0', {"launch 1"}},       // slot 1
      {'4', {"run 73"}},         // slot 5
      {'2', {"popup 3"}},        // slot 3
      {'B', {}},                 // slot 12: blank
      {'C', {}},                 // slot 13 is not shown
      {'Z', {}},                 // slot 36
      {kKeyTilde, {"popup 0"}},  // the centre: the user's list
  };
  for (const Case& c : cases) {
    ports_.calls.clear();
    On(DockEvent::Key(c.key));
    Finish();
    Calls effects = ports_.Effects();
    std::erase(effects, "close popup");
    EXPECT_EQ(effects, c.effects) << "key " << c.key;
    On(DockEvent::Simple(DockEvent::Kind::PopupClosed));
  }
  // Not active: keys do nothing.
  On(DockEvent::Simple(DockEvent::Kind::EscCancel));
  ports_.calls.clear();
  On(DockEvent::Key('0'));
  EXPECT_FALSE(ports_.Saw("launch 1"));
}

TEST_F(DockControllerTest, EscWithThePopupOpenClosesItAndDismisses) {
  settings_.AutoHide = 1;
  Started();
  Click(3);
  ASSERT_TRUE(dock_->popupOpen());
  ports_.calls.clear();
  On(DockEvent::Key(kKeyEscape));
  Finish();
  EXPECT_FALSE(dock_->popupOpen());
  EXPECT_EQ(ports_.Effects().front(), "close popup");
  EXPECT_FALSE(state().active);
  EXPECT_EQ(state().mode, DockMode::Hidden);
  EXPECT_TRUE(ports_.Saw("hide"));
}

TEST_F(DockControllerTest, CentreClickCollapsesAndDiscClickExpands) {
  Started();
  Click(0);
  EXPECT_EQ(state().mode, DockMode::Collapsed);
  EXPECT_FALSE(state().active);
  ASSERT_FALSE(frames_.empty());
  const DiscPosition p = CollapsedDiscPosition(view_->geometry().metrics, 0);
  EXPECT_EQ(frames_.back().ops.back().rect, (PixelRect{p.discLeft, p.discTop, 190, 190}));
  EXPECT_TRUE(ports_.Saw("bottom"));
  ports_.calls.clear();
  Click(0);
  EXPECT_EQ(state().mode, DockMode::Expanded);
  EXPECT_TRUE(ports_.Saw("front"));
}

TEST_F(DockControllerTest, AutoHideAfterSevenIdleTicksWithAFade) {
  settings_.AutoHide = 1;
  Started();
  On(DockEvent::Move(5, 5));
  for (int t = 0; t < 6; ++t) On(DockEvent::TimerTick(DockTimer::AutoHide));
  EXPECT_EQ(state().mode, DockMode::Expanded);
  delays_.clear();
  On(DockEvent::TimerTick(DockTimer::AutoHide));
  EXPECT_EQ(state().mode, DockMode::Hidden);
  // The windows go away only after the 32 fade frames.
  EXPECT_FALSE(ports_.Saw("hide"));
  On(DockEvent::Key('0'));  // arrives during the fade: waits
  EXPECT_EQ(dock_->queued(), 1u);
  Finish();
  EXPECT_TRUE(ports_.Saw("hide"));
  EXPECT_EQ(delays_.size(), static_cast<std::size_t>(kHideFrames));
  ASSERT_GE(frames_.size(), static_cast<std::size_t>(kHideFrames));
  EXPECT_EQ(frames_[frames_.size() - kHideFrames].constantAlpha, 247);
  EXPECT_EQ(frames_.back().constantAlpha, 0);
  EXPECT_EQ(dock_->queued(), 0u);
  EXPECT_FALSE(ports_.Saw("launch 1"));  // handled after the fade, while hidden
  EXPECT_FALSE(state().fade);            // the flag is restored

  // A hovered slot, or auto-hide off, keeps the counter at 0.
  On(DockEvent::Simple(DockEvent::Kind::AltSpace));
  Finish();
  On(DockEvent::Move(X(1), Y(1)));
  for (int t = 0; t < 10; ++t) On(DockEvent::TimerTick(DockTimer::AutoHide));
  EXPECT_EQ(dock_->idleTicks(), 0);
  EXPECT_EQ(state().mode, DockMode::Expanded);
}

TEST_F(DockControllerTest, ForegroundLossDismissesOnce) {
  Started();
  On(DockEvent::TimerTick(DockTimer::Foreground, 0, 0, true));
  EXPECT_TRUE(state().active);
  On(DockEvent::TimerTick(DockTimer::Foreground, 0, 0, false));
  EXPECT_FALSE(state().active);
  EXPECT_FALSE(dock_->timerOn(DockTimer::Foreground));
  EXPECT_EQ(state().mode, DockMode::Expanded);  // auto-hide is off
}

TEST_F(DockControllerTest, RecycleBinWatchRedrawsOnlyOnChange) {
  Started();
  On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, false));
  EXPECT_TRUE(frames_.empty());  // already shows the empty bin
  On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, true));
  EXPECT_EQ(store_.Items[2].ItemIndex, 38);
  EXPECT_EQ(view_->slot(2).icon, 38);
  EXPECT_EQ(frames_.size(), 1u);
  On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, true));
  EXPECT_EQ(frames_.size(), 1u);
}

TEST_F(DockControllerTest, DwellCrossFadesOnceThenStops) {
  Started();
  On(DockEvent::Move(X(1), Y(1)));
  for (int t = 0; t < 5; ++t) On(DockEvent::TimerTick(DockTimer::Dwell));
  Finish();
  EXPECT_EQ(state().centreIcon, 1);
  EXPECT_FALSE(dock_->timerOn(DockTimer::Dwell));
}

TEST_F(DockControllerTest, F1DismissesAndAsksForTheQuickStart) {
  Started();
  On(DockEvent::KeyRelease(kKeyF1));
  Finish();
  EXPECT_FALSE(state().active);
  EXPECT_EQ(ports_.Effects().back(), "quick start");
}

// Random event sequences: after every event the dock's state stays consistent, a dock
// that is not expanded draws nothing, and the store keeps sound groups.
TEST_F(DockControllerTest, RandomSequencesKeepTheInvariants) {
  std::mt19937 random(20261207);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
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
      const int target = pick(14) - 1;  // -1: nowhere
      const int x = target < 0 ? 3 : X(target) + pick(7) - 3;
      const int y = target < 0 ? 3 : Y(target) + pick(7) - 3;
      const MouseButton button = pick(4) == 0 ? MouseButton::Right : MouseButton::Left;
      DockEvent e;
      switch (pick(11)) {
        case 0:
          e = DockEvent::Move(x, y, pick(2) == 0);
          break;
        case 1:
          e = DockEvent::Down(button, x, y);
          break;
        case 2:
          e = DockEvent::Up(button, x, y);
          break;
        case 3:
          e = DockEvent::Key("0125ABZ"[pick(7)], pick(5) == 0);
          break;
        case 4:
          e = DockEvent::Key(pick(2) ? kKeyEscape : kKeySpace, true);
          break;
        case 5:
          e = DockEvent::TimerTick(static_cast<DockTimer>(pick(5)), x, y, pick(2) == 0);
          break;
        case 6:
          e = DockEvent::Simple(DockEvent::Kind::ToggleShown);
          break;
        case 7:
          e = DockEvent::Mode(static_cast<DockMode>(pick(3)));
          break;
        case 8:
          e = DockEvent::Simple(DockEvent::Kind::PopupClosed);
          break;
        case 9:
          e = DockEvent::KeyRelease(kKeyF1);
          break;
        default:
          if (pacer_.busy()) pacer_.Tick();
          continue;
      }
      const DockMode before = state().mode;
      const std::size_t framesBefore = frames_.size();
      On(e);
      const DockState& s = state();
      std::ostringstream where;
      where << "sequence " << sequence << " step " << step << " event " << static_cast<int>(e.kind);
      ASSERT_TRUE(!s.active || s.mode == DockMode::Expanded) << where.str();
      ASSERT_EQ(dock_->hidden(), s.mode == DockMode::Hidden) << where.str();
      ASSERT_TRUE(!dock_->popupOpen() || s.mode != DockMode::Hidden) << where.str();
      ASSERT_GE(s.hovered, -1);
      ASSERT_LE(s.hovered, 12);
      if (before != DockMode::Expanded && s.mode == before && !pacer_.busy()) {
        ASSERT_EQ(frames_.size(), framesBefore) << where.str();
      }
      for (int g = 0; g <= kLastRingGroup; ++g) {
        const ItemGroup& group = store_.Groups[static_cast<std::size_t>(g)];
        ASSERT_GE(group.Count, 0);
        ASSERT_LE(group.Count, GroupCapacity(g));
        std::set<int> members;
        for (int m = 1; m <= group.Count; ++m) {
          const int member = group.Members[static_cast<std::size_t>(m)];
          ASSERT_TRUE(member > kLastBuiltInCommand && member <= kLastItem) << where.str();
          ASSERT_TRUE(members.insert(member).second) << where.str();
        }
      }
    }
    Finish();
    ASSERT_EQ(dock_->queued(), 0u);
  }
}

}  // namespace
}  // namespace kivo
