#include "dock/dock_view.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
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

// Where `image` is drawn in a frame; the index of the last drawing at `rect` (-1: none);
// the texts as "text@centre,top".
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

// A full-HD dock with 8 slots; ring slot i shows item i ("Item i", icon i), the centre "Me".
class DockViewTest : public ::testing::Test, public Clock {
 protected:
  DockViewTest() {
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 8;
    for (std::size_t i = 0; i <= 36; ++i) {
      store_.Items[i].ItemType = kItemShortcut, store_.Items[i].Title = "Item " + std::to_string(i);
      store_.Items[i].ItemIndex = store_.Groups[i].Members[0] = static_cast<int>(i);
    }
    store_.Items[0].Title = "Me", store_.Items[0].ItemIndex = 30;
    view_.emplace(list_, *this, store_, settings_,
                  ComputeRing(MakeRingMetrics(screen_, settings_)));
    state().active = true;
  }
  void Sleep(int) override {}
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
  // background), `top` magnified or pressed above all the others, the hotkeys beside their
  // slots when shown, the title under the disc, and the centre disc drawn last.
  void ExpectRing(const Frame& f, Argb background, const std::string& title, int centreIcon,
                  int top = -1, int variant = 1) {
    SCOPED_TRACE(title);
    const bool keys = state().active && settings_.HideHotkeyLetters == 0;
    EXPECT_EQ((std::pair{f.background, f.constantAlpha}), (std::pair{background, 255}));
    std::vector<std::string> texts;
    const auto key = [&](int i) {
      if (keys)
        texts.push_back(std::string(HotkeyCharacter(i)) + "@" +
                        std::to_string(960 + slot(i).labelX) + "," +
                        std::to_string(528 + slot(i).labelY));
    };
    int rest = -1;
    for (int i = 1; i <= 8; ++i) {
      if (i == top) continue;
      rest = LastAt(f, slot(i).normalSquare());
      EXPECT_EQ(Where(f, Icon(i, variant)), Rects{slot(i).normalSquare()}) << i;
      ASSERT_GT(rest, 0);
      EXPECT_EQ(f.ops[static_cast<std::size_t>(rest - 1)].image, Skin(20, 1)) << "background";
      key(i);
    }
    EXPECT_TRUE(top < 1 || LastAt(f, slot(top).magSquare()) > rest) << "over the others";
    if (top > 0) key(top);
    texts.push_back(title + "@960,635");
    if (keys) texts.push_back("~@960,425");
    EXPECT_EQ(Texts(f), texts);
    EXPECT_EQ(Where(f, Icon(0, 3)), Rects{kCentreSquare});
    EXPECT_EQ(Where(f, Icon(centreIcon, 0)), centreIcon >= 1 ? Rects{kCentreSquare} : Rects{});
    EXPECT_EQ((std::pair{f.ops.back().image, f.ops.back().rect}), (std::pair{Skin(12, 1), kDisc}));
  }

  ScreenInfo screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  Settings settings_;
  ShortcutStore store_;
  std::vector<Frame> frames_;
  DisplayList list_{[this](const Frame& f) { frames_.push_back(f); }};
  std::optional<DockView> view_;
};

TEST_F(DockViewTest, SlotsComeFromMemberZeroOfTheirGroup) {
  store_.Groups[5].Members[0] = 140;
  store_.Items[140].ItemType = 4, store_.Items[140].ItemIndex = 41;
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

TEST_F(DockViewTest, TheRingAtRestMagnifiedPressedAndDragged) {
  state().centreIcon = 9;
  state().hovered = 0;  // a hovered centre keeps the ring at rest
  ExpectRing(Only([&] { view().DockAction(true); }), kVeil, "Me", 9);
  settings_.BackColor.Alpha = 100;  // a size change scales every icon from its full image
  ExpectRing(Only([&] { view().DockSizeChange(); }), 0x64000000, "Me", 9, -1, 0);
  state().active = false;  // on the desktop: neither veil nor hotkeys
  ExpectRing(Only([&] { view().DockNormal(false); }), kTransparent, "Me", 9);
  state().active = true, state().hovered = 3, state().centreIcon = -1;
  settings_.HideHotkeyLetters = 1, settings_.BackColor.Alpha = 192;  // the veil stays, no keys
  Frame f = Only([&] { ASSERT_TRUE(view().DockAction(false)); });
  ExpectRing(f, kVeil, "Item 3", -1, 3);
  EXPECT_EQ(Where(f, Icon(3, 0)), Rects{slot(3).magSquare()});
  // Pressed: the cached small icon at the resting corner, on the magnified background.
  f = Only([&] { view().DockAction(true); });
  ExpectRing(f, kVeil, "Item 3", -1, 3);
  EXPECT_EQ(Where(f, Icon(3, 1)), Rects{slot(3).normalSquare()});
  // A lifted slot is drawn nowhere on the ring but follows the pointer over everything.
  state().dragging = true;
  for (int dragged : {1, 5}) {
    state().pressedSlot = state().hovered = dragged;
    frames_.clear();
    view().DockNormal(false), view().DockAction(false);
    for (const Frame& g : frames_)
      EXPECT_TRUE(LastAt(g, slot(dragged).normalSquare()) == -1 &&
                  LastAt(g, slot(dragged).magSquare()) == -1);
  }
  f = Only([&] { ASSERT_TRUE(view().DockDrag(1000, 300)); });
  EXPECT_EQ(Where(f, Icon(5, 1)), (Rects{{976, 276, 48, 48}}));
  EXPECT_EQ(f.ops.back().image, Icon(5, 1));
}

// Eight steps and a final frame, each erasing the disc (to the veil, or to transparency
// on the desktop) and drawing the new icon growing over the old one fading.
TEST_F(DockViewTest, CrossFade) {
  // A frame's last step: the colour the disc was erased to, the alphas of icons 3 and 9.
  const auto lastStep = [](const Frame& f) {
    std::tuple<Argb, std::vector<int>, std::vector<int>> out{1, {}, {}};
    for (const DrawOp& op : f.ops) {
      if (op.kind == DrawOp::Kind::Fill && op.rect == kDisc) out = {op.colour, {}, {}};
      if (op.rect == kCentreSquare && op.image == Icon(3, 0))
        std::get<1>(out).push_back(op.alphaTenths);
      if (op.rect == kCentreSquare && op.image == Icon(9, 0))
        std::get<2>(out).push_back(op.alphaTenths);
    }
    return out;
  };
  state().centreIcon = 9;
  ASSERT_TRUE(view().EffectAction(3));
  ASSERT_EQ(frames_.size(), 9u);
  for (int k = 0; k <= 8; ++k)
    EXPECT_EQ(lastStep(frames_[static_cast<std::size_t>(k)]),
              std::tuple(kVeil, std::vector{k < 8 ? k : 10},
                         k < 8 ? std::vector{9 - k} : std::vector<int>{}))
        << k;
  frames_.clear(), state().active = false;
  ASSERT_TRUE(view().EffectAction(-1));  // the centre item's own icon
  EXPECT_EQ(std::get<0>(lastStep(frames_[0])), kTransparent);
}

}  // namespace
}  // namespace kivo
