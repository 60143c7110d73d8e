#include "dock/dock_view.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/recording_canvas.h"

namespace kivo {
namespace {

using testing::CanvasCall;
using testing::RecordingCanvas;
using Kind = CanvasCall::Kind;
using Calls = std::vector<CanvasCall>;

// Logs pauses into the canvas record, so frames and pauses read in order.
class CanvasClock : public Clock {
 public:
  explicit CanvasClock(RecordingCanvas& canvas) : canvas_(canvas) {}
  void Sleep(int milliseconds) override { canvas_.RecordPause(milliseconds); }

 private:
  RecordingCanvas& canvas_;
};

ImageRef Icon(int number, int variant) {
  return {ImageTable::Icon, number, variant};
}
ImageRef Skin(int number, int variant) {
  return {ImageTable::Skin, number, variant};
}

constexpr Argb kVeil = 0xC0000000;  // black, alpha 192
const PixelRect kCentreSquare{896, 476, 128, 128};
const PixelRect kDisc{865, 445, 190, 190};

// A full-HD dock with 8 slots; ring slot i shows item i ("Item i", icon i), the centre "Me".
class DockViewTest : public ::testing::Test {
 protected:
  DockViewTest() {
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 8;
    for (std::size_t i = 0; i <= 36; ++i) {
      store_.Items[i].ItemType = kItemShortcut;
      store_.Items[i].ItemIndex = static_cast<int>(i);
      store_.Items[i].Title = "Item " + std::to_string(i);
      store_.Groups[i].Members[0] = static_cast<int>(i);
    }
    store_.Items[0].Title = "Me";
    store_.Items[0].ItemIndex = 30;
    view_.emplace(canvas_, clock_, store_, settings_,
                  ComputeRing(MakeRingMetrics(screen_, settings_)));
    view().state().active = true;
  }

  DockView& view() { return *view_; }
  DockState& state() { return view_->state(); }
  const RingSlot& slot(int i) { return view_->geometry().slots[static_cast<std::size_t>(i)]; }
  void MoveTo(int i) { view().OnPointerMove(slot(i).normalLeft + 24, slot(i).normalTop + 24); }

  CanvasCall Hotkey(int i) {
    return CanvasCall::MakeText(HotkeyCharacter(i), 960 + slot(i).labelX,
                                540 + slot(i).labelY - 12);
  }
  // Slot i at rest: background, icon, hotkey character.
  void AddResting(Calls& calls, int i, bool hotkey = true) {
    calls.push_back(CanvasCall::MakeImage(Skin(20, 1), slot(i).normalSquare()));
    calls.push_back(CanvasCall::MakeImage(Icon(i, 1), slot(i).normalSquare()));
    if (hotkey) calls.push_back(Hotkey(i));
  }
  void AddCentre(Calls& calls, int icon, int alpha = 10) {
    if (icon >= 1) calls.push_back(CanvasCall::MakeImage(Icon(icon, 0), kCentreSquare, alpha));
    calls.push_back(CanvasCall::MakeImage(Icon(0, 3), kCentreSquare, alpha));
    calls.push_back(CanvasCall::MakeImage(Skin(12, 1), kDisc, alpha));
  }
  bool Drew(const ImageRef& image, const PixelRect& target) {
    for (const CanvasCall& call : canvas_.calls) {
      if (call.kind == Kind::Image && call.image == image && call.area == target) return true;
    }
    return false;
  }

  ScreenInfo screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  Settings settings_;
  ShortcutStore store_;
  RecordingCanvas canvas_;
  CanvasClock clock_{canvas_};
  std::optional<DockView> view_;
};

TEST_F(DockViewTest, SlotsComeFromMemberZeroOfTheirGroup) {
  store_.Groups[5].Members[0] = 140;
  store_.Items[140].ItemIndex = 41;
  store_.Items[140].ItemType = 4;
  store_.Items[140].Title = "  Tools (空)  ";
  store_.Groups[0].Members[0] = 7;     // the centre is item 0 whatever group 0 says
  store_.Groups[6].Members[0] = 5000;  // damaged: names no item
  store_.Groups[7].Members[0] = -3;
  store_.Groups[8].Members.clear();
  view().IniIconParam();
  EXPECT_EQ(view().slot(5), (DockSlot{41, 4, "Tools (空)"}));
  EXPECT_EQ(view().slot(0), (DockSlot{30, 2, "Me"}));
  EXPECT_EQ(view().slot(6), (DockSlot{6, 2, "Item 6"}));
  EXPECT_EQ(view().slot(7), (DockSlot{7, 2, "Item 7"}));
  EXPECT_EQ(view().slot(8), (DockSlot{8, 2, "Item 8"}));
  EXPECT_EQ(view().slot(37), DockSlot{});
}

TEST_F(DockViewTest, RestingRingDrawsVeilSlotsTitlesAndCentreInOrder) {
  state().centreIcon = 9;
  ASSERT_TRUE(view().DockNormal(false));
  Calls expected{CanvasCall::MakeClear(kVeil)};
  for (int i = 1; i <= 8; ++i) AddResting(expected, i);
  expected.push_back(CanvasCall::MakeText("Me", 960, 635));
  expected.push_back(CanvasCall::MakeText("~", 960, 425));
  AddCentre(expected, 9);
  expected.push_back(CanvasCall::MakePresent(255));
  EXPECT_EQ(canvas_.calls, expected);
  EXPECT_EQ(canvas_.calls[2], CanvasCall::MakeImage(Icon(1, 1), {1236, 516, 48, 48}));
  EXPECT_EQ(canvas_.calls[3], CanvasCall::MakeText("0", 960 + 348, 540 - 12));

  canvas_.calls.clear();
  settings_.BackColor.Alpha = 100;
  view().DockNormal(true);
  expected.pop_back();
  expected[0] = CanvasCall::MakeClear(0x64000000);
  EXPECT_EQ(canvas_.calls, expected) << "the same picture, not presented";
}

TEST_F(DockViewTest, InactiveDockDrawsNeitherVeilNorHotkeys) {
  state().active = false;
  view().DockNormal(false);
  Calls expected{CanvasCall::MakeClear(kTransparent)};
  for (int i = 1; i <= 8; ++i) AddResting(expected, i, false);
  expected.push_back(CanvasCall::MakeText("Me", 960, 635));
  AddCentre(expected, -1);
  expected.push_back(CanvasCall::MakePresent(255));
  EXPECT_EQ(canvas_.calls, expected);

  // Hotkeys switched off: the veil stays, the characters go.
  canvas_.calls.clear();
  state().active = true;
  settings_.HideHotkeyLetters = 1;
  state().hovered = 2;
  view().DockAction(false);
  EXPECT_EQ(canvas_.calls.front(), CanvasCall::MakeClear(kVeil));
  EXPECT_EQ(canvas_.Only(Kind::Text), Calls{CanvasCall::MakeText("Item 2", 960, 635)});
}

TEST_F(DockViewTest, SizeChangeScalesEveryIconFromItsFullImage) {
  view().DockSizeChange();
  for (int i = 1; i <= 8; ++i) {
    EXPECT_TRUE(Drew(Icon(i, 0), slot(i).normalSquare())) << "slot " << i;
    EXPECT_FALSE(Drew(Icon(i, 1), slot(i).normalSquare())) << "slot " << i;
  }
  EXPECT_EQ(canvas_.Values(Kind::Present), std::vector{255});
}

TEST_F(DockViewTest, MagnifiedRingDrawsTheHoveredSlotLast) {
  state().hovered = 3;
  ASSERT_TRUE(view().DockAction(false));
  Calls expected{CanvasCall::MakeClear(kVeil)};
  for (int i : {1, 2, 4, 5, 6, 7, 8}) AddResting(expected, i);
  expected.push_back(CanvasCall::MakeImage(Skin(20, 2), slot(3).magSquare()));
  expected.push_back(CanvasCall::MakeImage(Icon(3, 0), slot(3).magSquare()));
  expected.push_back(Hotkey(3));
  expected.push_back(CanvasCall::MakeText("Item 3", 960, 635));
  expected.push_back(CanvasCall::MakeText("~", 960, 425));
  AddCentre(expected, -1);
  expected.push_back(CanvasCall::MakePresent(255));
  EXPECT_EQ(canvas_.calls, expected);

  // Pressed: the cached small icon at the resting corner, on the magnified background.
  canvas_.calls.clear();
  view().DockAction(true);
  EXPECT_EQ(canvas_.calls[22], CanvasCall::MakeImage(Skin(20, 2), slot(3).magSquare()));
  EXPECT_EQ(canvas_.calls[23], CanvasCall::MakeImage(Icon(3, 1), slot(3).normalSquare()));

  // An icon number below 1 has no full image to magnify; the pressed look still draws it.
  store_.Items[3].ItemIndex = 0;
  view().IniIconParam();
  canvas_.calls.clear();
  view().DockAction(false);
  EXPECT_EQ(canvas_.calls[23], Hotkey(3));
  canvas_.calls.clear();
  view().DockAction(true);
  EXPECT_EQ(canvas_.calls[23], CanvasCall::MakeImage(Icon(0, 1), slot(3).normalSquare()));
}

TEST_F(DockViewTest, HoveredCentreKeepsItsDiscAndTheRingAtRest) {
  view().DockNormal(false);
  const Calls resting = canvas_.calls;
  canvas_.calls.clear();
  state().hovered = 0;
  view().DockAction(true);
  EXPECT_EQ(canvas_.calls, resting);
}

TEST_F(DockViewTest, NothingIsDrawnUnlessExpanded) {
  for (DockMode mode : {DockMode::Collapsed, DockMode::Hidden}) {
    state().mode = mode;
    state().hovered = 2;
    state().pressedSlot = 2;
    EXPECT_FALSE(view().DockNormal(false));
    EXPECT_FALSE(view().DockSizeChange());
    EXPECT_FALSE(view().DockAction(false));
    EXPECT_FALSE(view().DockAction(true));
    EXPECT_FALSE(view().DockDrag(100, 100));
    EXPECT_FALSE(view().EffectAction(2));
    EXPECT_FALSE(view().OnPointerMove(slot(4).normalLeft, slot(4).normalTop + 1));
    EXPECT_EQ(state().hovered, 4) << "the hover still follows the pointer";
    EXPECT_TRUE(canvas_.calls.empty()) << canvas_.Log();
  }
}

TEST_F(DockViewTest, TheDraggedSlotIsNotDrawn) {
  for (int dragged : {1, 5}) {
    canvas_.calls.clear();
    state().pressedSlot = dragged;
    state().dragging = false;
    view().DockNormal(false);
    EXPECT_TRUE(Drew(Icon(dragged, 1), slot(dragged).normalSquare())) << "pressed, not dragged";

    canvas_.calls.clear();
    state().dragging = true;
    state().hovered = dragged;
    view().DockNormal(false);
    view().DockAction(false);
    for (const CanvasCall& call : canvas_.calls) {
      EXPECT_FALSE(call.area == slot(dragged).normalSquare() ||
                   call.area == slot(dragged).magSquare())
          << call;
      EXPECT_NE(call, Hotkey(dragged));
    }
  }
  // The drag frame: the ring without slot 5, its icon centred on the pointer.
  canvas_.calls.clear();
  ASSERT_TRUE(view().DockDrag(1000, 300));
  const auto frames = canvas_.Frames();
  ASSERT_EQ(frames.size(), 1u) << canvas_.Log();
  EXPECT_EQ(frames[0][frames[0].size() - 2], CanvasCall::MakeImage(Icon(5, 1), {976, 276, 48, 48}));
  EXPECT_FALSE(Drew(Icon(5, 1), slot(5).normalSquare()));
}

TEST_F(DockViewTest, MovingStraightToAnotherSlotRedrawsOnceWithoutTheRestingRing) {
  MoveTo(1);
  canvas_.calls.clear();
  EXPECT_FALSE(view().OnPointerMove(slot(1).normalLeft + 2, slot(1).normalTop + 2))
      << "still on slot 1";
  EXPECT_TRUE(view().OnPointerMove(slot(2).normalLeft + 2, slot(2).normalTop + 2));
  ASSERT_EQ(canvas_.Frames().size(), 1u) << canvas_.Log();
  EXPECT_TRUE(Drew(Skin(20, 2), slot(2).magSquare()));
  EXPECT_TRUE(Drew(Icon(1, 1), slot(1).normalSquare()));
  EXPECT_EQ(state().previous, 2);
  EXPECT_EQ(state().lastX, slot(2).normalLeft + 2);

  // Into a gap between slots: no redraw until the leave poll notices it.
  canvas_.calls.clear();
  EXPECT_FALSE(view().OnPointerMove(1200, 650));
  EXPECT_EQ(state().hovered, -1);
  EXPECT_EQ(state().previous, 2);
  EXPECT_FALSE(view().OnLeavePoll(slot(2).normalLeft + 2, slot(2).normalTop + 2));
  EXPECT_TRUE(canvas_.calls.empty());
  EXPECT_TRUE(view().OnLeavePoll(1200, 650));
  EXPECT_FALSE(Drew(Skin(20, 2), slot(2).magSquare())) << "back to the resting ring";
  EXPECT_EQ(canvas_.Frames().size(), 1u);
  EXPECT_EQ((std::pair{state().hovered, state().previous}), (std::pair{-1, -1}));
  EXPECT_FALSE(view().OnLeavePoll(1200, 650)) << "once only";
}

TEST_F(DockViewTest, HoverDoesNotRedrawWhileDraggingOrCollapsed) {
  state().dragging = true;
  EXPECT_FALSE(view().OnPointerMove(slot(3).normalLeft, slot(3).normalTop + 1));
  EXPECT_EQ(state().previous, 3);
  EXPECT_FALSE(view().OnLeavePoll(1200, 650)) << "a drag keeps the hover";
  state().dragging = false;
  state().mode = DockMode::Collapsed;
  EXPECT_FALSE(view().OnLeavePoll(1200, 650));
  EXPECT_EQ(state().previous, -1) << "reset while not expanded";
  EXPECT_TRUE(canvas_.calls.empty()) << canvas_.Log();
}

TEST_F(DockViewTest, CrossFadeRunsEightStepsAndAFinalFrame) {
  state().centreIcon = 9;
  ASSERT_TRUE(view().EffectAction(3));
  Calls expected;
  for (int s = 0; s <= 8; ++s) {
    expected.push_back(CanvasCall::MakeFill(kDisc, kVeil));
    AddCentre(expected, 3, s < 8 ? s : 10);
    if (s < 8) AddCentre(expected, 9, 9 - s);
    expected.push_back(CanvasCall::MakePresent(255));
    if (s < 8) expected.push_back(CanvasCall::MakePause(25));
  }
  EXPECT_EQ(canvas_.calls, expected);
  EXPECT_EQ(state().centreIcon, 3);

  canvas_.calls.clear();
  EXPECT_FALSE(view().EffectAction(3)) << "already in the centre";
  EXPECT_FALSE(view().EffectAction(9)) << "not a slot of this ring";
  EXPECT_TRUE(canvas_.calls.empty());

  // A negative slot brings the centre item's own icon; an inactive dock erases the disc
  // to transparency, not to the veil it does not show.
  state().active = false;
  ASSERT_TRUE(view().EffectAction(-1));
  EXPECT_EQ(state().centreIcon, 30);
  EXPECT_EQ(canvas_.calls[0], CanvasCall::MakeFill(kDisc, kTransparent));
  EXPECT_EQ(canvas_.calls[1], CanvasCall::MakeImage(Icon(30, 0), kCentreSquare, 0));
}

TEST_F(DockViewTest, FadesRunOnlyWithTheFadeFlag) {
  store_.Items[4].Title = "Renamed";
  view().DockFocus(true);
  EXPECT_EQ(canvas_.Values(Kind::Present), std::vector{255}) << "no fade: just the resting ring";
  EXPECT_EQ(view().slot(4).name, "Renamed") << "the slots are rebuilt first";
  canvas_.calls.clear();
  view().DockFocus(false);
  EXPECT_TRUE(canvas_.calls.empty());
}

TEST_F(DockViewTest, FadeInAndOutShowTheSamePicturesInOppositeOrder) {
  state().fade = true;
  view().DockFocus(true);
  std::vector<int> timeline;  // presents and pauses in order; pauses negative
  for (const CanvasCall& call : canvas_.calls) {
    if (call.kind == Kind::Present) timeline.push_back(call.value);
    if (call.kind == Kind::Pause) timeline.push_back(-call.value);
  }
  EXPECT_EQ(timeline, (std::vector{63, -25, 127, -25, 191, -25, 255, -25, 255}));
  const auto in = canvas_.Frames();
  for (int k = 1; k <= 4; ++k) {
    const Calls& frame = in[static_cast<std::size_t>(k - 1)];
    ASSERT_EQ(frame.size(), 11u) << "clear, 8 icons, the disc, present";
    EXPECT_EQ(frame[0], CanvasCall::MakeClear(kTransparent));
    for (int i = 1; i <= 8; ++i) {
      const PixelRect target =
          view().geometry().fadeFrames[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)];
      EXPECT_EQ(frame[static_cast<std::size_t>(i)], CanvasCall::MakeImage(Icon(i, k), target));
    }
    EXPECT_EQ(frame[9], CanvasCall::MakeImage(Skin(12, 1), kDisc));
  }
  EXPECT_EQ(in[4][0], CanvasCall::MakeClear(kVeil)) << "then the resting ring";

  // Fading out runs after the mode changed, and ends with a shorter pause.
  canvas_.calls.clear();
  state().mode = DockMode::Collapsed;
  view().DockFocus(false);
  EXPECT_EQ(canvas_.Values(Kind::Present), (std::vector{255, 191, 127, 63}));
  EXPECT_EQ(canvas_.Values(Kind::Pause), (std::vector{25, 25, 25, 25, 15}));
  EXPECT_EQ(canvas_.calls.back(), CanvasCall::MakePause(15));
  const auto out = canvas_.Frames();
  ASSERT_EQ(out.size(), 4u);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(out[k], in[3 - k]) << "fade-out frame " << k + 1;
  }
}

TEST_F(DockViewTest, CollapsedDiscSitsAtTheChosenPosition) {
  state().mode = DockMode::Collapsed;
  settings_.MinimizedPosition = 8;
  view().DrawCollapsedDisc();
  EXPECT_EQ(canvas_.calls, (Calls{CanvasCall::MakeClear(kTransparent),
                                  CanvasCall::MakeImage(Icon(0, 3), {1759, 919, 128, 128}),
                                  CanvasCall::MakeImage(Skin(12, 1), {1728, 888, 190, 190}),
                                  CanvasCall::MakePresent(255)}));
}

}  // namespace
}  // namespace kivo
