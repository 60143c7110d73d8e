// Files dragged from another program over the dock: the badge under the pointer, when it
// is drawn, the dock's place among the windows, and where a drop goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dock/dock_controller.h"

namespace kivo {
namespace {

using Calls = std::vector<std::string>;

class DropPorts : public DockPorts, public IgnoredDockActions {
 public:
  void SetTimer(DockTimer, bool) override {}
  void BringToFront() override { calls.push_back("front"); }
  void SendToBottom() override { calls.push_back("bottom"); }
  void ShowWindows(bool) override {}
  void RaiseForDrop() override { calls.push_back("raise"); }
  void DropFiles(int slot, std::vector<std::string> paths) override {
    std::string call = "drop " + std::to_string(slot);
    for (const auto& p : paths) call += " " + p;
    calls.push_back(call);
  }
  Calls calls;
};

// A full-HD dock with 12 slots: 1 a shortcut, 2 the recycle bin, 3 a full group, 4 the
// all-programs group, 5 a system object, the rest blank.
class DockDropTest : public ::testing::Test {
 protected:
  DockDropTest()
      : pacer_([this](const Frame& f) { frames_.push_back(f); }, [](int) { return true; }),
        list_([this](const Frame& f) { pacer_.Push(f); }) {
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 12;
    const int kinds[] = {kItemUser,  kItemRingShortcut,     kItemRecycleBin,
                         kItemGroup, kItemAllProgramsGroup, kItemSystemObject};
    for (int i = 0; i <= 36; ++i) {
      store_.Items[static_cast<std::size_t>(i)].ItemType = i <= 5 ? kinds[i] : kItemShortcut;
      store_.Items[static_cast<std::size_t>(i)].ItemIndex = i;
    }
    store_.Groups[3].Count = 36;
    view_.emplace(list_, pacer_, store_, settings_,
                  ComputeRing(MakeRingMetrics(screen_, settings_)));
    dock_.emplace(*view_, pacer_, ports_, ports_, store_, settings_, DragThreshold{4, 4});
    pacer_.SetOnIdle([this] { dock_->Resume(); });
  }
  const RingSlot& Slot(int i) const { return view_->geometry().slots[static_cast<std::size_t>(i)]; }
  int X(int i) const { return Slot(i).normalLeft + Slot(i).normalSize / 2; }
  int Y(int i) const { return Slot(i).normalTop + Slot(i).normalSize / 2; }
  void On(const DockEvent& e) {
    dock_->Handle(e);
    for (int guard = 0; pacer_.busy() && guard < 1000; ++guard) pacer_.Tick();
  }
  void Started(bool active) {
    On(DockEvent::Simple(DockEvent::Kind::Start));
    if (!active) On(DockEvent::Simple(DockEvent::Kind::EscCancel));
    frames_.clear();
    ports_.calls.clear();
  }
  // The badges drawn in the frames so far: skin and square.
  std::vector<std::pair<int, PixelRect>> Badges() const {
    std::vector<std::pair<int, PixelRect>> out;
    for (const Frame& f : frames_)
      for (const DrawOp& op : f.ops)
        if (op.image.table == ImageTable::Skin &&
            (op.image.number == kSkinNoDrop || op.image.number == kSkinAddIcon ||
             op.image.number == kSkinReplaceIcon)) {
          EXPECT_EQ(op.image.variant, 1);
          out.emplace_back(op.image.number, op.rect);
        }
    return out;
  }

  ScreenInfo screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  Settings settings_;
  ShortcutStore store_;
  std::vector<Frame> frames_;
  FramePacer pacer_;
  DisplayList list_;
  DropPorts ports_;
  std::optional<DockView> view_;
  std::optional<DockController> dock_;
};

TEST_F(DockDropTest, TheBadgeFollowsTheSlotsKindAndThePointer) {
  Started(true);
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
    EXPECT_EQ(Badges(), (std::vector<std::pair<int, PixelRect>>{
                            {c.skin, PixelRect{X(c.slot) - 21, Y(c.slot) - 26, 48, 48}}}))
        << c.slot;
    On(DockEvent::Simple(DockEvent::Kind::DragLeave));
  }
}

TEST_F(DockDropTest, OnlyAChangeOfBadgeOrPlaceIsDrawn) {
  Started(true);
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
  EXPECT_EQ(Badges().size(), 3u);
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
  Started(true);
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
    EXPECT_TRUE(Badges().empty()) << c.slot;
    On(DockEvent::Mode(DockMode::Expanded));
  }
}

TEST_F(DockDropTest, AutoHideWaitsWhileFilesAreDraggedOver) {
  settings_.AutoHide = 1;
  Started(true);
  On(DockEvent::DragAt(X(7), Y(7), true));
  for (int t = 0; t < kAutoHideTicks + 2; ++t) On(DockEvent::TimerTick(DockTimer::AutoHide));
  EXPECT_EQ(view_->state().mode, DockMode::Expanded);
  // Anything redrawn meanwhile keeps the badge.
  frames_.clear();
  store_.Items[2].ItemIndex = 37;
  On(DockEvent::TimerTick(DockTimer::RecycleBin, 0, 0, true));
  On(DockEvent::Simple(DockEvent::Kind::Refresh));
  EXPECT_EQ(Badges().size(), frames_.size());
  EXPECT_FALSE(frames_.empty());
}

}  // namespace
}  // namespace kivo
