#include "render/display_list.h"

#include <gtest/gtest.h>

#include <random>

namespace kivo {

void PrintTo(const PixelRect& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

namespace {

// Bounds as a 10 x 10 icon at the target corner, and text as a 40 x 20 box.
OpBounds TestBounds() {
  OpBounds bounds;
  bounds.image = [](const ImageRef& ref, const PixelRect& target) {
    return ref.variant == 0 ? target : PixelRect{target.left, target.top, 10, 10};
  };
  bounds.text = [](const std::string&, int centreX, int top) {
    return PixelRect{centreX - 20, top, 40, 20};
  };
  return bounds;
}

Frame Record(const std::function<void(Canvas&)>& draw) {
  Frame recorded;
  DisplayList list([&](const Frame& frame) { recorded = frame; });
  draw(list);
  return recorded;
}

ImageRef Icon(int number) {
  return {ImageTable::Icon, number, 1};
}

// The pixels of a frame on a small grid: each op paints its id over its bounds, Fill
// overwrites. Enough to tell whether two frames differ anywhere.
std::vector<int> Paint(const Frame& frame, const OpBounds& bounds, const PixelRect& area) {
  std::vector<int> pixels(static_cast<std::size_t>(area.width * area.height), -1);
  int id = 0;
  for (const DrawOp& op : frame.ops) {
    ++id;
    const PixelRect r = Intersection(bounds.Of(op), area);
    const int value = op.kind == DrawOp::Kind::Image ? op.image.number * 100 + op.alphaTenths
                                                     : static_cast<int>(op.rect.left + id);
    for (int y = r.top; y < r.bottom(); ++y) {
      for (int x = r.left; x < r.right(); ++x) {
        pixels[static_cast<std::size_t>((y - area.top) * area.width + (x - area.left))] = value;
      }
    }
  }
  return pixels;
}

TEST(DisplayList, RecordsAFrameAndStartsAfreshOnClear) {
  const Frame frame = Record([](Canvas& canvas) {
    canvas.Clear(0xC0000000);
    canvas.DrawImage(Icon(5), {10, 10, 0, 0}, 10);
    canvas.Present(200);
  });
  EXPECT_EQ(frame.background, 0xC0000000u);
  EXPECT_EQ(frame.constantAlpha, 200);
  ASSERT_EQ(frame.ops.size(), 1u);
  EXPECT_EQ(frame.ops[0].image, Icon(5));
}

TEST(DisplayList, AFillDropsWhatItHidesSoARepeatedlyOverdrawnFrameStaysSmall) {
  // The picture: fills set a colour, images and text their number, in order.
  const auto paint = [](const Frame& frame, const OpBounds& bounds) {
    std::vector<long> pixels(100u * 40u, -1);
    for (const DrawOp& op : frame.ops) {
      const PixelRect r = Intersection(bounds.Of(op), {0, 0, 100, 40});
      const long value = op.kind == DrawOp::Kind::Fill    ? static_cast<long>(op.colour)
                         : op.kind == DrawOp::Kind::Image ? op.image.number * 100L + op.alphaTenths
                                                          : static_cast<long>(op.text.size());
      for (int y = r.top; y < r.bottom(); ++y) {
        for (int x = r.left; x < r.right(); ++x)
          pixels[static_cast<std::size_t>(y * 100 + x)] = value;
      }
    }
    return pixels;
  };
  const auto draw = [](Canvas& canvas) {
    canvas.Clear(0);
    canvas.DrawImage(Icon(1), {0, 0, 0, 0}, 10);                     // hidden by the first fill
    canvas.DrawImage(Icon(2), {15, 15, 0, 0}, 10);                   // only partly under it
    canvas.DrawText("label", 60, 0);                                 // beside it
    canvas.DrawImage({ImageTable::Icon, 3, 0}, {0, 0, 30, 30}, 10);  // larger than the fill
    for (int step = 0; step < 50; ++step) {                          // a cross-fade's frames
      canvas.Fill({0, 0, 20, 20}, 0x11);
      canvas.DrawImage(Icon(4), {2, 2, 0, 0}, step % 10);
      canvas.DrawImage({ImageTable::Icon, 5, 0}, {0, 0, 20, 20}, 9 - step % 10);
    }
    canvas.Fill({40, 0, 60, 40}, 0x22);
    canvas.Present(255);
  };
  const OpBounds bounds = TestBounds();
  const Frame plain = Record(draw);
  Frame pruned;
  DisplayList list([&](const Frame& frame) { pruned = frame; });
  list.SetBounds(bounds);
  draw(list);
  EXPECT_EQ(plain.ops.size(), 155u);
  EXPECT_EQ(pruned.ops.size(), 6u) << "icons 2 and 3, the last step's fill and images, the fill";
  EXPECT_EQ(paint(pruned, bounds), paint(plain, bounds)) << "the same picture";
}

TEST(Damage, WholeSurfaceWithoutAComparableFrame) {
  const Frame a = Record([](Canvas& c) {
    c.Clear(0);
    c.Present(255);
  });
  Frame b = a;
  b.constantAlpha = 127;
  EXPECT_FALSE(Damage(nullptr, a, TestBounds()));
  const auto faded = Damage(&a, b, TestBounds());
  ASSERT_TRUE(faded) << "only the constant alpha changed";
  EXPECT_TRUE(faded->empty()) << "a fade changes no pixel";
  b = a;
  b.background = 0xC0000000;
  EXPECT_FALSE(Damage(&a, b, TestBounds())) << "veil switched";
}

TEST(Damage, OnlyTheChangedOperationsAndNothingForAnIdenticalFrame) {
  const auto ring = [](int hovered) {
    return Record([hovered](Canvas& c) {
      c.Clear(0);
      for (int slot = 1; slot <= 8; ++slot) {
        if (slot == hovered) continue;
        c.DrawImage(Icon(slot), {slot * 20, 0, 0, 0}, 10);
      }
      if (hovered > 0)
        c.DrawImage({ImageTable::Icon, hovered, 2}, {hovered * 20 - 5, 0, 20, 20}, 10);
      c.DrawText(hovered > 0 ? "slot" : "user", 100, 50);
      c.Present(255);
    });
  };
  const Frame rest = ring(0);
  const auto none = Damage(&rest, ring(0), TestBounds());
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->empty());

  const Frame hover3 = ring(3);
  const auto damage = Damage(&rest, hover3, TestBounds());
  ASSERT_TRUE(damage);
  PixelRect all;
  for (const auto& r : *damage) all = Union(all, r);
  EXPECT_EQ(all, (PixelRect{55, 0, 65, 70})) << "slot 3 and the title, not the whole ring";
}

TEST(Damage, SwappedOverlappingOperationsAreRepainted) {
  const Frame a = Record([](Canvas& c) {
    c.Clear(0);
    c.DrawImage(Icon(1), {0, 0, 0, 0}, 10);
    c.DrawImage(Icon(2), {5, 5, 0, 0}, 10);
    c.DrawImage(Icon(3), {50, 50, 0, 0}, 10);
    c.Present(255);
  });
  const Frame b = Record([](Canvas& c) {
    c.Clear(0);
    c.DrawImage(Icon(3), {50, 50, 0, 0}, 10);  // moved in order, but overlaps nothing
    c.DrawImage(Icon(2), {5, 5, 0, 0}, 10);
    c.DrawImage(Icon(1), {0, 0, 0, 0}, 10);
    c.Present(255);
  });
  const auto damage = Damage(&a, b, TestBounds());
  ASSERT_TRUE(damage);
  ASSERT_EQ(damage->size(), 1u);
  EXPECT_EQ((*damage)[0], (PixelRect{5, 5, 5, 5}));
}

TEST(Damage, RepaintingTheDamageAlwaysGivesTheNewFrame) {
  // Random frames over a small area: the old picture with the damaged rectangles repainted
  // from the new frame must equal the new picture everywhere.
  std::mt19937 random(7);
  const OpBounds bounds = TestBounds();
  const PixelRect area{0, 0, 60, 60};
  const auto randomFrame = [&](const Frame* base) {
    Frame frame = base ? *base : Frame{};
    std::uniform_int_distribution<int> pick(0, 5);
    if (!base) {
      for (int i = 0; i < 12; ++i) {
        DrawOp op;
        op.image = Icon(pick(random));
        op.rect = {pick(random) * 10, pick(random) * 10, 0, 0};
        frame.ops.push_back(op);
      }
      return frame;
    }
    for (int change = pick(random); change >= 0; --change) {
      const std::size_t i = static_cast<std::size_t>(pick(random)) % frame.ops.size();
      switch (pick(random) % 3) {
        case 0:
          frame.ops[i].rect.left = pick(random) * 9;
          break;
        case 1:
          std::swap(frame.ops[i], frame.ops.back());
          break;
        default:
          frame.ops[i].alphaTenths = pick(random) + 4;
          break;
      }
    }
    return frame;
  };
  for (int round = 0; round < 300; ++round) {
    const Frame before = randomFrame(nullptr);
    const Frame after = randomFrame(&before);
    const auto damage = Damage(&before, after, bounds);
    ASSERT_TRUE(damage);
    std::vector<int> screen = Paint(before, bounds, area);
    const std::vector<int> wanted = Paint(after, bounds, area);
    for (const PixelRect& rect : *damage) {
      const PixelRect r = Intersection(rect, area);
      for (int y = r.top; y < r.bottom(); ++y) {
        for (int x = r.left; x < r.right(); ++x) {
          const auto at = static_cast<std::size_t>(y * area.width + x);
          screen[at] = wanted[at];
        }
      }
    }
    ASSERT_EQ(screen, wanted) << "round " << round;
    for (std::size_t i = 0; i < damage->size(); ++i) {
      for (std::size_t j = i + 1; j < damage->size(); ++j) {
        EXPECT_TRUE(Intersection((*damage)[i], (*damage)[j]).empty()) << "rectangles are merged";
      }
    }
  }
}

}  // namespace
}  // namespace kivo
