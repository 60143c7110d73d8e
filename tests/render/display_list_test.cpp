#include "render/display_list.h"

#include <gtest/gtest.h>

#include <random>

namespace kivo {

namespace {

// Bounds as a 10 x 10 icon at the target corner (variant 0: the target), text a 40 x 20 box.
const OpBounds kBounds{
    [](const ImageRef& ref, const PixelRect& target) {
      return ref.variant == 0 ? target : PixelRect{target.left, target.top, 10, 10};
    },
    [](const std::string&, int centreX, int top) {
      return PixelRect{centreX - 20, top, 40, 20};
    }};

Frame Record(const std::function<void(Canvas&)>& draw, bool pruned = false) {
  Frame recorded;
  DisplayList list([&](const Frame& frame) { recorded = frame; });
  if (pruned) list.SetBounds(kBounds);
  draw(list);
  return recorded;
}

ImageRef Icon(int number, int variant = 1) {
  return {ImageTable::Icon, number, variant};
}

// The pixels of a frame over `area`: each op paints a value over its bounds (a fill its
// colour, an image its number and alpha, a text its length). Enough to tell pictures apart.
std::vector<long> Paint(const Frame& frame, const PixelRect& area) {
  std::vector<long> pixels(static_cast<std::size_t>(area.width * area.height), -1);
  for (const DrawOp& op : frame.ops) {
    const PixelRect r = Intersection(kBounds.Of(op), area);
    const long value = op.kind == DrawOp::Kind::Fill    ? static_cast<long>(op.colour)
                       : op.kind == DrawOp::Kind::Image ? op.image.number * 100L + op.alphaTenths
                                                        : static_cast<long>(op.text.size());
    for (int y = r.top; y < r.bottom(); ++y)
      for (int x = r.left; x < r.right(); ++x)
        pixels[static_cast<std::size_t>((y - area.top) * area.width + (x - area.left))] = value;
  }
  return pixels;
}

TEST(DisplayList, AFillDropsWhatItHidesSoARepeatedlyOverdrawnFrameStaysSmall) {
  const auto draw = [](Canvas& canvas) {
    canvas.Clear(0xC0000000);
    canvas.DrawImage(Icon(1), {0, 0, 0, 0}, 10);       // hidden by the first fill
    canvas.DrawImage(Icon(2), {15, 15, 0, 0}, 10);     // only partly under it
    canvas.DrawText("label", 60, 0);                   // beside it
    canvas.DrawImage(Icon(3, 0), {0, 0, 30, 30}, 10);  // larger than the fill
    for (int step = 0; step < 50; ++step) {            // a cross-fade's frames
      canvas.Fill({0, 0, 20, 20}, 0x11);
      canvas.DrawImage(Icon(4), {2, 2, 0, 0}, step % 10);
      canvas.DrawImage(Icon(5, 0), {0, 0, 20, 20}, 9 - step % 10);
    }
    canvas.Fill({40, 0, 60, 40}, 0x22);
    canvas.Present(200);
  };
  const Frame plain = Record(draw), pruned = Record(draw, true);
  EXPECT_EQ((std::tuple{plain.background, plain.constantAlpha, plain.ops.size()}),
            (std::tuple{0xC0000000u, 200, 155u}));
  EXPECT_EQ(pruned.ops.size(), 6u) << "icons 2 and 3, the last step's fill and images, the fill";
  EXPECT_EQ(Paint(pruned, {0, 0, 100, 40}), Paint(plain, {0, 0, 100, 40})) << "the same picture";
}

// The whole surface is damaged only without a comparable frame (none, or the veil
// switched); a fade of the constant alpha changes no pixel.
TEST(Damage, WholeSurfaceOnlyWithoutAComparableFrame) {
  const Frame a = Record([](Canvas& c) { c.Clear(0), c.Present(255); });
  Frame faded = a, veiled = a;
  faded.constantAlpha = 127, veiled.background = 0xC0000000;
  EXPECT_FALSE(Damage(nullptr, a, kBounds) || Damage(&a, veiled, kBounds));
  EXPECT_EQ(Damage(&a, faded, kBounds), std::vector<PixelRect>{});
}

// Random frames over a small area: the old picture with the damaged rectangles repainted
// from the new frame equals the new picture everywhere, and the rectangles do not overlap.
TEST(Damage, RepaintingTheDamageAlwaysGivesTheNewFrame) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pick(0, 5);
  const PixelRect area{0, 0, 60, 60};
  for (int round = 0; round < 300; ++round) {
    Frame before;
    before.ops.resize(12);
    for (DrawOp& op : before.ops)
      op.image = Icon(pick(random)), op.rect = {pick(random) * 10, pick(random) * 10, 0, 0};
    Frame after = before;
    for (int change = pick(random); change >= 0; --change) {
      DrawOp& op = after.ops[static_cast<std::size_t>(pick(random)) % after.ops.size()];
      const int how = pick(random) % 3;  // moved, drawn last, or faded
      if (how == 0) op.rect.left = pick(random) * 9;
      if (how == 1) std::swap(op, after.ops.back());
      if (how == 2) op.alphaTenths = pick(random) + 4;
    }
    const auto damage = Damage(&before, after, kBounds);
    ASSERT_TRUE(damage);
    std::vector<long> screen = Paint(before, area);
    const std::vector<long> wanted = Paint(after, area);
    for (const PixelRect& rect : *damage) {
      const PixelRect r = Intersection(rect, area);
      for (int y = r.top; y < r.bottom(); ++y)
        for (int x = r.left; x < r.right(); ++x)
          screen[static_cast<std::size_t>(y * area.width + x)] =
              wanted[static_cast<std::size_t>(y * area.width + x)];
      for (const PixelRect& other : *damage)
        EXPECT_TRUE(&other == &rect || Intersection(other, rect).empty()) << "merged";
    }
    ASSERT_EQ(screen, wanted) << "round " << round;
  }
}

}  // namespace
}  // namespace kivo
