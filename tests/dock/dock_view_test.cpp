#include "dock/dock_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "render/display_list.h"

namespace kivo {
namespace {

constexpr Argb kVeil = 0xC0000000;  // black, alpha 192
const PixelRect kCentreSquare{896, 476, 128, 128};
const PixelRect kDisc{865, 445, 190, 190};
const auto Icon = [](int n, int variant) { return ImageRef{ImageTable::Icon, n, variant}; };
const auto Skin = [](int n, int variant) { return ImageRef{ImageTable::Skin, n, variant}; };
using Rects = std::vector<PixelRect>;
DrawOp Op(DrawOp::Kind kind, const PixelRect& rect, Argb colour, ImageRef image = {},
          int alpha = 10) {
  DrawOp op;
  op.kind = kind, op.rect = rect, op.colour = colour, op.image = image, op.alphaTenths = alpha;
  return op;
}

// Where `image` is drawn in a frame; the index of the last drawing at `rect` (-1: none);
// the texts as "text@centre,top"; the operations from the last fill on (an animation's
// step drawn over the one before).
Rects Where(const Frame& f, const ImageRef& image) {
  Rects out;
  for (const DrawOp& op : f.ops)
    if (op.kind == DrawOp::Kind::Image && op.image == image) out.push_back(op.rect);
  return out;
}
int LastAt(const Frame& f, const PixelRect& rect) {
  int i = static_cast<int>(f.ops.size()) - 1;
  while (i >= 0 && f.ops[static_cast<std::size_t>(i)].rect != rect) --i;
  return i;
}
std::vector<std::string> Texts(const Frame& f) {
  std::vector<std::string> out;
  for (const DrawOp& op : f.ops)
    if (op.kind == DrawOp::Kind::Text)
      out.push_back(op.text + "@" + std::to_string(op.rect.left) + "," +
                    std::to_string(op.rect.top));
  return out;
}
std::vector<DrawOp> Step(const Frame& f) {
  auto from = f.ops.end();
  while (from != f.ops.begin() && from[-1].kind != DrawOp::Kind::Fill) --from;
  return {from == f.ops.begin() ? from : from - 1, f.ops.end()};
}

// A full-HD dock with 8 slots; ring slot i shows item i ("Item i", icon i), the centre "Me".
class DockViewTest : public ::testing::Test, public Clock {
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
    view_.emplace(list_, *this, store_, settings_,
                  ComputeRing(MakeRingMetrics(screen_, settings_)));
    state().active = true;
  }
  void Sleep(int ms) override { pauses_.push_back(ms); }

  DockView& view() { return *view_; }
  DockState& state() { return view_->state(); }
  const RingSlot& slot(int i) { return view_->geometry().slots[static_cast<std::size_t>(i)]; }
  bool PointAt(int i, int d = 2) {
    return view().OnPointerMove(slot(i).normalLeft + d, slot(i).normalTop + d);
  }
  // The one frame `draw` presents.
  template <typename Draw>
  Frame Only(Draw draw) {
    frames_.clear();
    draw();
    EXPECT_EQ(frames_.size(), 1u);
    return frames_.empty() ? Frame{} : frames_.back();
  }
  // What the user sees of a ring frame: each slot but `top` at rest (icon `variant` on its
  // background), `top` magnified (or pressed) above all the others, the hotkeys beside
  // their slots when shown, the title under the disc, and the centre disc drawn last.
  void ExpectRing(const Frame& f, Argb background, const std::string& title, int centreIcon,
                  int top = -1, int variant = 1) {
    SCOPED_TRACE(title);
    const bool keys = state().active && settings_.HideHotkeyLetters == 0;
    EXPECT_EQ(f.background, background);
    EXPECT_EQ(f.constantAlpha, 255);
    std::vector<std::string> texts;
    const auto key = [&](int i) {
      const std::string x = std::to_string(960 + slot(i).labelX);
      if (keys)
        texts.push_back(std::string(HotkeyCharacter(i)) + "@" + x + "," +
                        std::to_string(528 + slot(i).labelY));
    };
    EXPECT_EQ(Where(f, Skin(20, 1)).size(), top > 0 ? 7u : 8u);
    int rest = -1;
    for (int i = 1; i <= 8; ++i) {
      const RingSlot& s = slot(i);
      if (i == top) continue;
      rest = LastAt(f, s.normalSquare());
      EXPECT_EQ(Where(f, Icon(i, variant)), Rects{s.normalSquare()}) << i;
      ASSERT_GT(rest, 0);
      EXPECT_EQ(f.ops[static_cast<std::size_t>(rest - 1)].image, Skin(20, 1)) << "its background";
      key(i);
    }
    if (top > 0) {
      EXPECT_GT(LastAt(f, slot(top).magSquare()), rest) << "drawn over the others";
      key(top);
    }
    texts.push_back(title + "@960,635");
    if (keys) texts.push_back("~@960,425");
    EXPECT_EQ(Texts(f), texts);
    EXPECT_EQ(Where(f, Icon(0, 3)), Rects{kCentreSquare});
    EXPECT_EQ(Where(f, Icon(centreIcon, 0)), centreIcon >= 1 ? Rects{kCentreSquare} : Rects{});
    EXPECT_EQ(f.ops.back(), Op(DrawOp::Kind::Image, kDisc, 0, Skin(12, 1)));
  }

  ScreenInfo screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  Settings settings_;
  ShortcutStore store_;
  std::vector<Frame> frames_;
  std::vector<int> pauses_;
  DisplayList list_{[this](const Frame& f) { frames_.push_back(f); }};
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

TEST_F(DockViewTest, TheRingAtRestMagnifiedAndPressed) {
  state().centreIcon = 9;
  ExpectRing(Only([&] { ASSERT_TRUE(view().DockNormal(false)); }), kVeil, "Me", 9);
  state().hovered = 0;  // a hovered centre keeps the ring at rest
  ExpectRing(Only([&] { view().DockAction(true); }), kVeil, "Me", 9);
  settings_.BackColor.Alpha = 100;
  frames_.clear();
  view().DockNormal(true);
  EXPECT_TRUE(frames_.empty()) << "not presented";
  // A size change scales every icon from its full image.
  ExpectRing(Only([&] { view().DockSizeChange(); }), 0x64000000, "Me", 9, -1, 0);
  state().active = false;  // on the desktop: neither veil nor hotkeys
  ExpectRing(Only([&] { view().DockNormal(false); }), kTransparent, "Me", 9);

  state().active = true, state().hovered = 3, state().centreIcon = -1;
  settings_.HideHotkeyLetters = 1;  // the veil stays, the characters go
  settings_.BackColor.Alpha = 192;
  Frame f = Only([&] { ASSERT_TRUE(view().DockAction(false)); });
  ExpectRing(f, kVeil, "Item 3", -1, 3);
  EXPECT_EQ(Where(f, Icon(3, 0)), Rects{slot(3).magSquare()});
  // Pressed: the cached small icon at the resting corner, on the magnified background.
  f = Only([&] { view().DockAction(true); });
  ExpectRing(f, kVeil, "Item 3", -1, 3);
  EXPECT_EQ(Where(f, Icon(3, 1)), Rects{slot(3).normalSquare()});
  // An icon number below 1 has no full image to magnify; the pressed look still draws it.
  store_.Items[3].ItemIndex = 0;
  view().IniIconParam();
  EXPECT_TRUE(Where(Only([&] { view().DockAction(false); }), Icon(0, 0)).empty());
  EXPECT_EQ(Where(Only([&] { view().DockAction(true); }), Icon(0, 1)),
            Rects{slot(3).normalSquare()});
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
  EXPECT_TRUE(frames_.empty());
}

TEST_F(DockViewTest, TheDraggedSlotIsNotDrawnButFollowsThePointer) {
  state().pressedSlot = 5;
  ExpectRing(Only([&] { view().DockNormal(false); }), kVeil, "Me", -1);  // not dragged yet
  state().dragging = true;
  for (int dragged : {1, 5}) {
    state().pressedSlot = state().hovered = dragged;
    frames_.clear();
    view().DockNormal(false), view().DockAction(false);
    for (const Frame& f : frames_) {
      EXPECT_EQ(LastAt(f, slot(dragged).normalSquare()), -1);
      EXPECT_EQ(LastAt(f, slot(dragged).magSquare()), -1);
      for (const std::string& text : Texts(f)) EXPECT_NE(text[0], HotkeyCharacter(dragged)[0]);
    }
  }
  const Frame f = Only([&] { ASSERT_TRUE(view().DockDrag(1000, 300)); });
  EXPECT_EQ(Where(f, Icon(5, 1)), (Rects{{976, 276, 48, 48}}));
  EXPECT_EQ(f.ops.back().image, Icon(5, 1)) << "over everything";
}

TEST_F(DockViewTest, MovingStraightToAnotherSlotRedrawsOnceWithoutTheRestingRing) {
  PointAt(1, 24);
  frames_.clear();
  EXPECT_FALSE(PointAt(1)) << "still on slot 1";
  ExpectRing(Only([&] { EXPECT_TRUE(PointAt(2)); }), kVeil, "Item 2", -1, 2);
  EXPECT_EQ(state().lastX, slot(2).normalLeft + 2);

  // Into a gap between slots: no redraw until the leave poll notices it.
  frames_.clear();
  EXPECT_FALSE(view().OnPointerMove(1200, 650));
  EXPECT_EQ((std::pair{state().hovered, state().previous}), (std::pair{-1, 2}));
  EXPECT_FALSE(view().OnLeavePoll(slot(2).normalLeft + 2, slot(2).normalTop + 2));
  ExpectRing(Only([&] { EXPECT_TRUE(view().OnLeavePoll(1200, 650)); }), kVeil, "Me", -1);
  EXPECT_EQ((std::pair{state().hovered, state().previous}), (std::pair{-1, -1}));
  EXPECT_FALSE(view().OnLeavePoll(1200, 650)) << "once only";
}

// Each step erases the disc and draws the new icon growing over the old one fading.
TEST_F(DockViewTest, CrossFadeRunsEightStepsAndAFinalFrame) {
  state().centreIcon = 9;
  ASSERT_TRUE(view().EffectAction(3));
  ASSERT_EQ(frames_.size(), 9u);
  EXPECT_EQ(pauses_, std::vector(8, kFramePause));
  for (std::size_t s = 0; s <= 8; ++s) {
    const std::vector<DrawOp> step = Step(frames_[s]);
    ASSERT_FALSE(step.empty());
    EXPECT_EQ(step[0], Op(DrawOp::Kind::Fill, kDisc, kVeil));
    EXPECT_EQ(step.back().image, Skin(12, 1));
    const auto alpha = [&](int icon) {
      std::vector<int> out;
      for (const DrawOp& op : step)
        if (op.image == Icon(icon, 0) && op.rect == kCentreSquare) out.push_back(op.alphaTenths);
      return out;
    };
    const int k = static_cast<int>(s);
    EXPECT_EQ(alpha(3), std::vector{s < 8 ? k : 10}) << s;
    EXPECT_EQ(alpha(9), s < 8 ? std::vector{9 - k} : std::vector<int>{}) << s;
  }
  frames_.clear();
  EXPECT_FALSE(view().EffectAction(3) || view().EffectAction(9)) << "already there; no slot";
  EXPECT_TRUE(frames_.empty());
  // A negative slot brings the centre item's own icon; an inactive dock erases the disc
  // to transparency, not to the veil it does not show.
  state().active = false;
  ASSERT_TRUE(view().EffectAction(-1));
  EXPECT_EQ(state().centreIcon, 30);
  const std::vector<DrawOp> first = Step(frames_[0]);
  EXPECT_EQ(first[0], Op(DrawOp::Kind::Fill, kDisc, kTransparent));
  EXPECT_EQ(first[1], Op(DrawOp::Kind::Image, kCentreSquare, 0, Icon(30, 0), 0));
}

TEST_F(DockViewTest, FadeInAndOutShowTheSamePicturesInOppositeOrder) {
  // Without the fade flag: the slots are rebuilt, then just the resting ring, or nothing.
  store_.Items[4].Title = "Renamed";
  ExpectRing(Only([&] { view().DockFocus(true); }), kVeil, "Me", -1);
  EXPECT_EQ(view().slot(4).name, "Renamed");
  frames_.clear();
  view().DockFocus(false);
  EXPECT_TRUE(frames_.empty() && pauses_.empty());

  // Picture k shows every icon in variant k at its fade square over the transparent
  // window, at alpha 64 k - 1; fading out shows them backwards and ends with a short pause.
  const auto expectPictures = [&](bool in) {
    ASSERT_EQ(frames_.size(), in ? 5u : 4u);
    for (int n = 0; n < 4; ++n) {
      const int k = in ? n + 1 : 4 - n;
      const Frame& f = frames_[static_cast<std::size_t>(n)];
      EXPECT_EQ(f.background, kTransparent);
      EXPECT_EQ(f.constantAlpha, 64 * k - 1);
      for (std::size_t i = 1; i <= 8; ++i)
        EXPECT_EQ(Where(f, Icon(static_cast<int>(i), k)),
                  std::vector{view().geometry().fadeFrames[i][static_cast<std::size_t>(k)]});
      EXPECT_EQ(Where(f, Skin(12, 1)), Rects{kDisc});
    }
    std::vector<int> pauses(4, kFramePause);
    if (!in) pauses.push_back(kFadeOutTail);
    EXPECT_EQ(pauses_, pauses);
    frames_.clear(), pauses_.clear();
  };
  state().fade = true;
  view().DockFocus(true);
  ExpectRing(frames_.back(), kVeil, "Me", -1);
  expectPictures(true);
  state().mode = DockMode::Collapsed;  // fading out runs after the mode changed
  view().DockFocus(false);
  expectPictures(false);

  settings_.MinimizedPosition = 8;  // then the collapsed disc at the chosen position
  const Frame disc = Only([&] { view().DrawCollapsedDisc(); });
  EXPECT_EQ(disc.background, kTransparent);
  EXPECT_EQ(Where(disc, Icon(0, 3)), (Rects{{1759, 919, 128, 128}}));
  EXPECT_EQ(Where(disc, Skin(12, 1)), (Rects{{1728, 888, 190, 190}}));
}

}  // namespace
}  // namespace kivo
