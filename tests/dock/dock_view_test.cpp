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
using Calls = std::vector<CanvasCall>;

// Logs pauses into the canvas record, so frames and pauses read in order.
struct CanvasClock : Clock {
  explicit CanvasClock(RecordingCanvas& c) : canvas(c) {}
  void Sleep(int milliseconds) override { canvas.RecordPause(milliseconds); }
  RecordingCanvas& canvas;
};

const auto Icon = [](int n, int variant) { return ImageRef{ImageTable::Icon, n, variant}; };
const auto Skin = [](int n, int variant) { return ImageRef{ImageTable::Skin, n, variant}; };
const auto Text = [](std::string_view text, int x, int y) {
  return CanvasCall::MakeText(text, x, y);
};
CanvasCall Image(const ImageRef& image, const PixelRect& target, int alpha = 10) {
  return CanvasCall::MakeImage(image, target, alpha);
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
    state().active = true;
  }

  DockView& view() { return *view_; }
  DockState& state() { return view_->state(); }
  const RingSlot& slot(int i) { return view_->geometry().slots[static_cast<std::size_t>(i)]; }
  // Moves the pointer d pixels into slot i's resting square.
  bool PointAt(int i, int d = 2) {
    return view().OnPointerMove(slot(i).normalLeft + d, slot(i).normalTop + d);
  }
  bool Hotkeys() { return state().active && settings_.HideHotkeyLetters == 0; }
  CanvasCall Hotkey(int i) {
    return Text(HotkeyCharacter(i), 960 + slot(i).labelX, 540 + slot(i).labelY - 12);
  }
  Calls Magnified(int i) {
    Calls calls{Image(Skin(20, 2), slot(i).magSquare()), Image(Icon(i, 0), slot(i).magSquare())};
    if (Hotkeys()) calls.push_back(Hotkey(i));
    return calls;
  }
  void AddCentre(Calls& calls, int icon, int alpha = 10) {
    if (icon >= 1) calls.push_back(Image(Icon(icon, 0), kCentreSquare, alpha));
    calls.push_back(Image(Icon(0, 3), kCentreSquare, alpha));
    calls.push_back(Image(Skin(12, 1), kDisc, alpha));
  }
  // A whole expected frame: cleared to `clear`, slots 1..8 at rest (background, icon,
  // hotkey) but for `top`, drawn by `topCalls` after them, the titles, the centre, presented.
  Calls Ring(Argb clear, const std::string& title, int centreIcon, int top = -1,
             const Calls& topCalls = {}) {
    Calls calls{CanvasCall::MakeClear(clear)};
    for (int i = 1; i <= 8; ++i) {
      if (i == top) continue;
      calls.push_back(Image(Skin(20, 1), slot(i).normalSquare()));
      calls.push_back(Image(Icon(i, 1), slot(i).normalSquare()));
      if (Hotkeys()) calls.push_back(Hotkey(i));
    }
    calls.insert(calls.end(), topCalls.begin(), topCalls.end());
    calls.push_back(Text(title, 960, 635));
    if (Hotkeys()) calls.push_back(Text("~", 960, 425));
    AddCentre(calls, centreIcon);
    calls.push_back(CanvasCall::MakePresent(255));
    return calls;
  }
  // Clears the record, runs `draw` and returns what it drew.
  template <typename Draw>
  Calls Record(Draw draw) {
    canvas_.calls.clear();
    draw();
    return canvas_.calls;
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
  store_.Items[140].ItemType = 4;
  store_.Items[140].ItemIndex = 41;
  store_.Items[140].Title = "  Tools (空)  ";
  store_.Groups[0].Members[0] = 7;     // the centre is item 0 whatever group 0 says
  store_.Groups[6].Members[0] = 5000;  // damaged: names no item
  store_.Groups[7].Members[0] = -3;
  store_.Groups[8].Members.clear();
  view().IniIconParam();
  EXPECT_EQ(view().slot(5), (DockSlot{41, 4, "Tools (空)"}));
  EXPECT_EQ(view().slot(0), (DockSlot{30, 2, "Me"}));
  for (int i : {6, 7, 8}) EXPECT_EQ(view().slot(i), (DockSlot{i, 2, "Item " + std::to_string(i)}));
  EXPECT_EQ(view().slot(37), DockSlot{});
}

TEST_F(DockViewTest, RestingRingDrawsVeilSlotsTitlesAndCentreInOrder) {
  state().centreIcon = 9;
  ASSERT_TRUE(view().DockNormal(false));
  EXPECT_EQ(canvas_.calls, Ring(kVeil, "Me", 9));
  EXPECT_EQ(canvas_.calls[3], Text("0", 960 + 348, 540 - 12));

  state().hovered = 0;
  EXPECT_EQ(Record([&] { view().DockAction(true); }), Ring(kVeil, "Me", 9))
      << "a hovered centre keeps its disc and the ring at rest";

  settings_.BackColor.Alpha = 100;
  Calls expected = Ring(0x64000000, "Me", 9);
  expected.pop_back();
  EXPECT_EQ(Record([&] { view().DockNormal(true); }), expected) << "not presented";

  // A size change scales every icon from its full image.
  expected = Ring(0x64000000, "Me", 9);
  for (CanvasCall& call : expected) {
    if (call.image == Icon(call.image.number, 1)) call.image.variant = 0;
  }
  EXPECT_EQ(Record([&] { view().DockSizeChange(); }), expected);

  state().active = false;  // on the desktop: neither veil nor hotkeys
  EXPECT_EQ(Record([&] { view().DockNormal(false); }), Ring(kTransparent, "Me", 9));
}

TEST_F(DockViewTest, MagnifiedRingDrawsTheHoveredSlotLast) {
  state().hovered = 3;
  settings_.HideHotkeyLetters = 1;  // the veil stays, the characters go
  ASSERT_TRUE(view().DockAction(false));
  EXPECT_EQ(canvas_.calls, Ring(kVeil, "Item 3", -1, 3, Magnified(3)));

  // Pressed: the cached small icon at the resting corner, on the magnified background.
  const Calls pressed = Record([&] { view().DockAction(true); });
  EXPECT_EQ(pressed[15], Image(Skin(20, 2), slot(3).magSquare()));
  EXPECT_EQ(pressed[16], Image(Icon(3, 1), slot(3).normalSquare()));

  // An icon number below 1 has no full image to magnify; the pressed look still draws it.
  store_.Items[3].ItemIndex = 0;
  view().IniIconParam();
  EXPECT_EQ(Record([&] { view().DockAction(false); })[16], Text("Item 3", 960, 635));
  EXPECT_EQ(Record([&] { view().DockAction(true); })[16],
            Image(Icon(0, 1), slot(3).normalSquare()));
}

TEST_F(DockViewTest, NothingIsDrawnUnlessExpandedNorWhileDragging) {
  for (DockMode mode : {DockMode::Collapsed, DockMode::Hidden}) {
    state().mode = mode;
    state().pressedSlot = 2;
    EXPECT_FALSE(view().DockNormal(false) || view().DockSizeChange() || view().DockAction(false) ||
                 view().DockAction(true) || view().DockDrag(100, 100) || view().EffectAction(2));
    EXPECT_FALSE(PointAt(4, 1));
    EXPECT_EQ(state().hovered, 4) << "the hover still follows the pointer";
    EXPECT_FALSE(view().OnLeavePoll(1200, 650));
    EXPECT_EQ(state().previous, -1) << "reset while not expanded";
  }
  state().mode = DockMode::Expanded;
  state().dragging = true;
  EXPECT_FALSE(PointAt(3, 1) || view().OnLeavePoll(1200, 650)) << "a drag keeps the hover";
  EXPECT_EQ(state().previous, 3);
  EXPECT_TRUE(canvas_.calls.empty()) << canvas_.Log();
}

TEST_F(DockViewTest, TheDraggedSlotIsNotDrawnButFollowsThePointer) {
  state().pressedSlot = 5;
  EXPECT_EQ(Record([&] { view().DockNormal(false); }), Ring(kVeil, "Me", -1)) << "not dragged";
  state().dragging = true;
  for (int dragged : {1, 5}) {
    state().pressedSlot = state().hovered = dragged;
    for (const CanvasCall& call :
         Record([&] { view().DockNormal(false), view().DockAction(false); })) {
      EXPECT_FALSE(call.area == slot(dragged).normalSquare() ||
                   call.area == slot(dragged).magSquare() || call == Hotkey(dragged))
          << call;
    }
  }
  // The drag frame: the ring without slot 5, its icon centred on the pointer.
  Calls expected = Ring(kVeil, "Me", -1, 5);
  expected.insert(expected.end() - 1, Image(Icon(5, 1), {976, 276, 48, 48}));
  EXPECT_EQ(Record([&] { ASSERT_TRUE(view().DockDrag(1000, 300)); }), expected);
}

TEST_F(DockViewTest, MovingStraightToAnotherSlotRedrawsOnceWithoutTheRestingRing) {
  PointAt(1, 24);
  canvas_.calls.clear();
  EXPECT_FALSE(PointAt(1)) << "still on slot 1";
  EXPECT_TRUE(PointAt(2));
  EXPECT_EQ(canvas_.calls, Ring(kVeil, "Item 2", -1, 2, Magnified(2)));
  EXPECT_EQ(state().lastX, slot(2).normalLeft + 2);

  // Into a gap between slots: no redraw until the leave poll notices it.
  canvas_.calls.clear();
  EXPECT_FALSE(view().OnPointerMove(1200, 650));
  EXPECT_EQ((std::pair{state().hovered, state().previous}), (std::pair{-1, 2}));
  EXPECT_FALSE(view().OnLeavePoll(slot(2).normalLeft + 2, slot(2).normalTop + 2));
  EXPECT_TRUE(canvas_.calls.empty());
  EXPECT_TRUE(view().OnLeavePoll(1200, 650));
  EXPECT_EQ(canvas_.calls, Ring(kVeil, "Me", -1)) << "back to the resting ring";
  EXPECT_EQ((std::pair{state().hovered, state().previous}), (std::pair{-1, -1}));
  EXPECT_FALSE(view().OnLeavePoll(1200, 650)) << "once only";
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

  // Not when the icon is already in the centre, nor for a slot beyond the ring.
  EXPECT_TRUE(
      Record([&] { EXPECT_FALSE(view().EffectAction(3) || view().EffectAction(9)); }).empty());

  // A negative slot brings the centre item's own icon; an inactive dock erases the disc
  // to transparency, not to the veil it does not show.
  state().active = false;
  ASSERT_TRUE(view().EffectAction(-1));
  EXPECT_EQ(state().centreIcon, 30);
  EXPECT_EQ(canvas_.calls[0], CanvasCall::MakeFill(kDisc, kTransparent));
  EXPECT_EQ(canvas_.calls[1], Image(Icon(30, 0), kCentreSquare, 0));
}

TEST_F(DockViewTest, FadeInAndOutShowTheSamePicturesInOppositeOrder) {
  // Without the fade flag: the slots are rebuilt, then just the resting ring, or nothing.
  store_.Items[4].Title = "Renamed";
  EXPECT_EQ(Record([&] { view().DockFocus(true); }), Ring(kVeil, "Me", -1));
  EXPECT_EQ(view().slot(4).name, "Renamed");
  EXPECT_TRUE(Record([&] { view().DockFocus(false); }).empty());

  // Picture k shows every icon in variant k at its fade square, at alpha 64 k - 1.
  const auto picture = [&](int k) {
    Calls frame{CanvasCall::MakeClear(kTransparent)};
    for (std::size_t i = 1; i <= 8; ++i) {
      frame.push_back(Image(Icon(static_cast<int>(i), k),
                            view().geometry().fadeFrames[i][static_cast<std::size_t>(k)]));
    }
    frame.push_back(Image(Skin(12, 1), kDisc));
    frame.push_back(CanvasCall::MakePresent(64 * k - 1));
    frame.push_back(CanvasCall::MakePause(25));
    return frame;
  };
  Calls in, out{CanvasCall::MakePause(15)};  // fading out ends with a shorter pause
  for (int k = 4; k >= 1; --k) {
    const Calls frame = picture(k);
    in.insert(in.begin(), frame.begin(), frame.end());
    out.insert(out.end() - 1, frame.begin(), frame.end());
  }
  const Calls ring = Ring(kVeil, "Me", -1);
  in.insert(in.end(), ring.begin(), ring.end());
  state().fade = true;
  EXPECT_EQ(Record([&] { view().DockFocus(true); }), in);
  state().mode = DockMode::Collapsed;  // fading out runs after the mode changed
  EXPECT_EQ(Record([&] { view().DockFocus(false); }), out);

  settings_.MinimizedPosition = 8;  // then the collapsed disc at the chosen position
  EXPECT_EQ(Record([&] { view().DrawCollapsedDisc(); }),
            (Calls{CanvasCall::MakeClear(kTransparent), Image(Icon(0, 3), {1759, 919, 128, 128}),
                   Image(Skin(12, 1), {1728, 888, 190, 190}), CanvasCall::MakePresent(255)}));
}

}  // namespace
}  // namespace kivo
