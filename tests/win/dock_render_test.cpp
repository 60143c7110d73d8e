// The dock's frames drawn for real with GDI+ into layered-window surfaces.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dock/dock_view.h"
#include "gfx/win32/frame_renderer.h"
#include "gfx/win32/gdiplus_session.h"
#include "gfx/win32/icon_cache_win.h"
#include "gfx/win32/image_tables.h"
#include "gfx/win32/item_icons_win.h"
#include "gfx/win32/skins_win.h"
#include "gfx/win32/tiled_layer.h"
#include "platform/win32/handles.h"
#include "platform/win32/image_files.h"
#include "platform/win32/unicode.h"
#include "render/display_list.h"
#include "support/gdi_objects.h"
#include "support/wine_path.h"
#include "ui/win32/dock_window.h"
#include "ui/win32/popup_window.h"

namespace kivo::win {
namespace {

using test::WinePath;

// A clock that runs `check` after every animation frame instead of sleeping.
class CheckingClock : public Clock {
 public:
  std::function<void()> check;
  void Sleep(int) override {
    if (check) check();
  }
};

class DockRender : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(gdiplus_.Start()); }
  static void TearDownTestSuite() { gdiplus_.Stop(); }

  void SetUp() override {
    screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 24;
    const char* names[] = {"My Computer.png", "RecycleEmpty.png", "Group.png", "Internet.png"};
    for (int i = 1; i <= 24; ++i) {
      ShortcutItem& item = store_.Items[static_cast<std::size_t>(i)];
      item.ItemType = 1;
      item.ItemIndex = i;
      item.IconFile = icons_ + names[i % 4];
      item.Title = "快捷方式 " + std::to_string(i);
    }
    store_.Items[0].Title = "用户";
    images_ = std::make_unique<ImageTables>();
    ASSERT_EQ(LoadSkins(*images_, ::GetModuleHandleW(nullptr), ""), 17);
    geometry_ = ComputeRing(MakeRingMetrics(screen_, settings_));
    for (int i = 1; i <= 24; ++i) LoadItemIcon(store_, *images_, geometry_.metrics, i);
    for (int i = 1; i <= 24; ++i) ASSERT_TRUE(images_->Has(ImageTable::Icon, i)) << i;
    BuildRingVariants(*images_, geometry_.metrics);
    ASSERT_TRUE(text_.Create({L"Verdana"}, 17.0f));
    data_.screen = screen_;
    data_.settings = settings_;
    data_.store = store_;
  }

  // Moves the pointer onto the middle of `slot` (0: the disc).
  bool PointAt(DockView& view, int slot, int dx = 0) const {
    const RingSlot& s = geometry_.slots[static_cast<std::size_t>(slot)];
    const int x = s.normalLeft + s.normalSize / 2 + dx, y = s.normalTop + s.normalSize / 2;
    return view.OnPointerMove(x, y) || view.OnLeavePoll(x, y);
  }

  // Runs `lifetime` twice (the first DC of a process also makes stock objects): the second
  // run must leave the GDI object count where it found it.
  static void ExpectNoGdiLeft(const std::function<void()>& lifetime) {
    lifetime();
    const long before = test::GdiObjectCount();
    ASSERT_GT(before, 0) << "the count can be read";
    lifetime();
    EXPECT_EQ(test::GdiObjectCount(), before) << "made and destroyed, it leaves nothing behind";
  }

  static GdiplusSession gdiplus_;
  const std::string icons_ = WinePath(KIVO_SOURCE_DIR "/assets/SysIcons/");
  ScreenInfo screen_;
  Settings settings_;
  ShortcutStore store_;
  AppData data_;
  RingGeometry geometry_;
  std::unique_ptr<ImageTables> images_;
  TextRenderer text_;
  CheckingClock clock_;
};
GdiplusSession DockRender::gdiplus_;

std::uint32_t PixelAt(FrameRenderer& renderer, int x, int y) {
  const PixelRect& area = renderer.area();
  return renderer.surface()
      .pixels()[static_cast<std::size_t>((y - area.top) * area.width + (x - area.left))];
}

int InkIn(FrameRenderer& renderer, const PixelRect& rect) {
  int ink = 0;
  for (int y = rect.top; y < rect.bottom(); ++y) {
    for (int x = rect.left; x < rect.right(); ++x) ink += (PixelAt(renderer, x, y) >> 24) > 0;
  }
  return ink;
}

TEST_F(DockRender, TextDrawnFromItsPictureEqualsTextDrawnDirectlyAndKeepsToItsClip) {
  LayeredSurface direct, cached;
  ASSERT_TRUE(direct.Create(400, 60) && cached.Create(400, 60));
  std::uint32_t* const end = cached.pixels() + 400 * 60;
  for (const char* text : {"快捷方式 12", "~", "Zq"}) {
    for (const int centre : {200, 131}) {
      // Twice: the second draw comes from the stored picture.
      text_.DrawOnto(cached, PixelRect{0, 0, 400, 60}, text, centre, 17, 1920);
      std::fill(cached.pixels(), end, 0u);
      std::fill(direct.pixels(), direct.pixels() + 400 * 60, 0u);
      text_.Draw(direct.graphics(), text, centre, 17, 1920);
      text_.DrawOnto(cached, PixelRect{0, 0, 400, 60}, text, centre, 17, 1920);
      EXPECT_TRUE(std::equal(cached.pixels(), end, direct.pixels())) << text << " at " << centre;
      EXPECT_GT(std::count_if(cached.pixels(), end, [](std::uint32_t p) { return p != 0; }), 20);
    }
  }
  std::fill(cached.pixels(), end, 0u);
  text_.DrawOnto(cached, PixelRect{0, 0, 200, 60}, "快捷方式 12", 200, 17, 1920);
  int outside = 0;
  for (int i = 0; i < 400 * 60; ++i) outside += i % 400 >= 200 && cached.pixels()[i] != 0;
  EXPECT_EQ(outside, 0);
}

const TiledLayer& Tiles(const DockWindow& dock) {
  return dynamic_cast<const TiledLayer&>(dock.presenter());
}

// What the dock's windows show together against the same frame drawn whole on one
// surface: every pixel comes from exactly one window and nothing is left unpresented.
void ExpectTilesShowTheFrame(const DockWindow& dock, FrameRenderer& whole,
                             const std::string& step) {
  SCOPED_TRACE(step);
  const Frame* frame = dock.renderer().shown();
  ASSERT_NE(frame, nullptr);
  const PixelRect area = dock.ringArea();
  ASSERT_TRUE(whole.SetArea(area));
  whole.Invalidate();
  whole.Render(*frame);
  const TiledLayer& tiles = Tiles(dock);
  ASSERT_EQ(tiles.layout().area, area);
  const auto at = [&](int x, int y) { return static_cast<std::size_t>(y * area.width + x); };
  std::vector<std::uint32_t> composite(at(0, area.height), 0u);
  std::vector<std::uint8_t> sources(composite.size(), 0);
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    ASSERT_FALSE(tiles.pending(i)) << "tile " << i << " has changes that were not presented";
    const PixelRect& rect = tiles.layout().tiles[i];
    const LayeredSurface& surface = tiles.surface(i);
    ASSERT_EQ(std::pair(surface.width(), surface.height()), std::pair(rect.width, rect.height));
    bool ink = false;
    for (int y = 0; y < rect.height; ++y) {
      for (int x = 0; x < rect.width; ++x) {
        const std::uint32_t pixel = surface.pixels()[static_cast<std::size_t>(y * rect.width + x)];
        if (pixel == 0) continue;
        ink = true;
        composite[at(rect.left + x - area.left, rect.top + y - area.top)] = pixel;
        ++sources[at(rect.left + x - area.left, rect.top + y - area.top)];
      }
    }
    if (ink) {
      EXPECT_NE(tiles.window(i), nullptr) << "tile " << i << " has pixels but no window";
      EXPECT_EQ(tiles.alpha(i), frame->constantAlpha) << "tile " << i;
    }
  }
  int overlaps = 0, wrong = 0;
  for (std::size_t i = 0; i < composite.size(); ++i) {
    overlaps += sources[i] > 1;
    wrong += composite[i] != whole.surface().pixels()[i];
  }
  EXPECT_EQ(overlaps, 0) << "pixels shown by more than one window";
  EXPECT_EQ(wrong, 0) << "pixels that differ from the whole frame";
}

TEST_F(DockRender, TheWindowsOfTheRingTogetherShowExactlyTheWholeFrame) {
  DockWindow dock(::GetModuleHandleW(nullptr), data_, *images_);
  dock.SetClock(clock_);
  ASSERT_TRUE(dock.Create({L"Verdana"}));
  FrameRenderer whole(*images_, text_);
  whole.SetLayoutWidth(geometry_.metrics.W);
  whole.SetVeilSeparate(true);
  std::string step = "showing";  // checked after every animation frame too
  const auto shows = [&](const std::string& now) {
    ExpectTilesShowTheFrame(dock, whole, step = now);
  };
  clock_.check = [&] { ExpectTilesShowTheFrame(dock, whole, step); };
  dock.Show();
  shows("shown");
  int windows = 0;
  for (std::size_t i = 0; i < Tiles(dock).size(); ++i) windows += Tiles(dock).window(i) != nullptr;
  EXPECT_EQ(Tiles(dock).window(0), dock.handle()) << "the centre shows on the main window";
  EXPECT_LT(windows, static_cast<int>(Tiles(dock).size())) << "empty tiles get no window";

  // Going round the ring presents the title and one or two windows, never all of them.
  DockView& view = dock.view();
  int most = 0;
  for (int i = 0; i <= 24; ++i) {
    ASSERT_TRUE(PointAt(view, i % 24 + 1));
    shows("hover " + std::to_string(i % 24 + 1));
    most = std::max(most, dock.lastWindowsPresented());
  }
  EXPECT_TRUE(most == 2 || most == 3) << most;
  // The same frame again and the leave poll ticking on a resting pointer present nothing.
  const int presented = dock.framesPresented();
  view.DockAction(false);
  EXPECT_TRUE(dock.renderer().repainted().empty());
  for (int tick = 0; tick < 5; ++tick) EXPECT_FALSE(PointAt(view, 1, 1));
  EXPECT_EQ(dock.framesPresented(), presented);
  for (int slot : {13, 0, 7}) {  // jumps across the ring, and the centre
    PointAt(view, slot);
    shows("jump to " + std::to_string(slot));
  }
  step = "cross-fade";
  EXPECT_TRUE(view.EffectAction(7));
  shows("cross-fade");
  EXPECT_EQ(dock.lastWindowsPresented(), 1) << "only the disc changes";
  view.OnLeavePoll(5, 5);
  step = "fade";
  view.state().fade = true;
  view.DockFocus(true);
  view.state().fade = false;
  shows("faded in");
  view.state().active = false;
  view.DockNormal(false);
  shows("inactive");

  // A dragged icon lands on a tile nothing was drawn on before; far away it needs a
  // larger area.
  const RingMetrics& m = geometry_.metrics;
  view.state().active = true;
  dock.Invalidate();
  view.DockNormal(false);
  shows("drawn whole again");
  view.state().pressedSlot = 3;
  view.state().dragging = true;
  ASSERT_TRUE(view.DockDrag(m.cx + m.R / 2, m.cy - m.R / 2));
  shows("dragged inside");
  const PixelRect before = dock.ringArea();
  ASSERT_TRUE(view.DockDrag(60, 60));
  EXPECT_NE(dock.ringArea(), before);
  shows("dragged to the corner");
  view.state().dragging = false;
  view.DockNormal(false);
  shows("dropped");

  // While the normal-size slider moves, the picture is on the main window alone; its
  // release brings the small windows back.
  for (const int size : {40, 56, 47}) {
    data_.settings.IconSize = size;
    dock.ApplyRingMetrics(1);
    shows("normal size " + std::to_string(size));
    EXPECT_EQ(Tiles(dock).layout().tiles.size(), 1u);
  }
  data_.settings.IconSize = settings_.IconSize;
  dock.ApplyRingMetrics(0);
  dock.RebuildNormalVariant();
  shows("slider released");
  EXPECT_GT(Tiles(dock).layout().tiles.size(), 1u);

  // The collapsed disc in a corner: one window is enough.
  data_.settings.MinimizedPosition = 5;
  view.state().mode = DockMode::Collapsed;
  view.DrawCollapsedDisc();
  shows("collapsed");
  EXPECT_EQ(Tiles(dock).layout().tiles.size(), 1u);
  view.state().mode = DockMode::Expanded;
  view.DockNormal(false);
  shows("expanded again");
  clock_.check = nullptr;
  dock.Destroy();
}

TEST_F(DockRender, GdiObjectsStayFlatWhileTheDockAnimatesAndWhenItIsMadeAgain) {
  const auto round = [&](DockWindow& dock) {
    DockView& view = dock.view();
    for (int slot = 1; slot <= 24; ++slot) {
      PointAt(view, slot);
      view.EffectAction(slot);
    }
    view.OnLeavePoll(5, 5);
    view.state().fade = true;
    view.DockFocus(false);
    view.DockFocus(true);
    view.state().fade = false;
    view.state().mode = DockMode::Collapsed;
    view.DrawCollapsedDisc();
    view.state().mode = DockMode::Expanded;
    dock.Invalidate();
    view.DockNormal(false);
  };
  ExpectNoGdiLeft([&] {
    DockWindow dock(::GetModuleHandleW(nullptr), data_, *images_);
    dock.SetClock(clock_);
    ASSERT_TRUE(dock.Create({L"Verdana"}));
    dock.Show();
    round(dock);  // every tile has its window and every text its picture from here on
    const long warm = test::GdiObjectCount();
    for (int i = 0; i < 4; ++i) round(dock);
    EXPECT_EQ(test::GdiObjectCount(), warm) << "animating the dock holds no more GDI objects";
    EXPECT_GT(dock.framesPresented(), 400);
    dock.Destroy();
  });
}

TEST_F(DockRender, APopupPresentsOnlyChangedRowsAndHoldsNoMoreGdiObjects) {
  ItemGroup& group = data_.store.Groups[5];
  for (std::size_t m = 1; m <= 30; ++m) {  // more members than rows: the list pages
    const std::size_t item = kFirstUserItem + m;
    data_.store.Items[item] = store_.Items[m % 24 + 1];
    data_.store.Items[item].ItemType = kItemGroupMember;
    group.Members[m] = static_cast<int>(item);
  }
  group.Count = 30;
  DockState dock;
  ExpectNoGdiLeft([&] {
    PopupWindow popup(::GetModuleHandleW(nullptr), data_, *images_);
    popup.SetClock(clock_);
    ASSERT_TRUE(popup.Create({L"Verdana"}, geometry_, dock, [&](int item) {
      if (!images_->Get({ImageTable::Icon, item, kPopupVariant})) {
        LoadItemIcon(data_.store, *images_, geometry_.metrics, item);
      }
    }));
    const PopupState& state = popup.controller().state();
    const auto round = [&] {
      popup.Handle(PopupEvent::Open(5));
      ASSERT_TRUE(state.open && state.layout.paging);
      for (int r = 1; r <= state.layout.rows; ++r) {
        const PixelRect& row = state.layout.rowRects[static_cast<std::size_t>(r)];
        popup.Handle(PopupEvent::Move(row.left + 30, row.top + 10));
        EXPECT_LE(popup.lastPresentedPixels(), r > 1 ? row.width * 2 * row.height : INT_MAX) << r;
      }
      popup.Handle(PopupEvent::Key(kKeyPageDown));
      popup.Handle(PopupEvent::Wheel(true));
      popup.Handle(PopupEvent::Key(kKeyPageUp));
      EXPECT_EQ(state.scroll.offset, 0);
      popup.Handle(PopupEvent::Close());
      EXPECT_FALSE(::IsWindowVisible(popup.handle()));
    };
    round();  // the row icons, the texts' pictures and the surface are made here
    const long warm = test::GdiObjectCount();
    for (int i = 0; i < 3; ++i) round();
    EXPECT_EQ(test::GdiObjectCount(), warm) << "paging and hovering hold no more GDI objects";
    popup.Destroy();
  });
}

TEST_F(DockRender, ImagesBlendedByTheRendererMatchGdiplusUpToRounding) {
  // Slot backgrounds, icons over them, the LOGO and the BORDER, faded as the cross-fade
  // draws them; full images scaled, the second draw of one size from the kept copy.
  const std::tuple<ImageRef, PixelRect, int> images[] = {
      {{ImageTable::Skin, kSkinBackSelectColor, 1}, {10, 10, 48, 48}, 10},
      {{ImageTable::Icon, 3, 1}, {10, 10, 48, 48}, 10},
      {{ImageTable::Icon, 4, 1}, {70, 10, 48, 48}, 10},
      {{ImageTable::Icon, 0, kLogoVariant}, {130, 10, 128, 128}, 6},
      {{ImageTable::Skin, kSkinBorder, kBorderVariant}, {100, 0, 190, 190}, 3},
      {{ImageTable::Icon, 2, 0}, {10, 80, 100, 100}, 10},
      {{ImageTable::Icon, 5, 0}, {20, 90, 100, 100}, 4},
      {{ImageTable::Icon, 2, 0}, {150, 140, 57, 41}, 7},
  };
  Frame frame;
  LayeredSurface gdiplus;
  ASSERT_TRUE(gdiplus.Create(300, 200));
  for (const auto& [ref, target, alpha] : images) {
    frame.ops.push_back({DrawOp::Kind::Image, target, 0, ref, alpha, {}, false});
    images_->Draw(gdiplus.graphics(), ref, target, alpha);
  }
  FrameRenderer renderer(*images_, text_);
  ASSERT_TRUE(renderer.SetArea({0, 0, 300, 200}));
  renderer.Render(frame);
  int inked = 0, worst = 0;
  for (std::size_t i = 0; i < 300u * 200u; ++i) {
    const std::uint32_t a = renderer.surface().pixels()[i], b = gdiplus.pixels()[i];
    inked += b != 0;
    for (int shift = 0; shift < 32; shift += 8) {
      worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                       static_cast<int>((b >> shift) & 0xFF)));
    }
  }
  EXPECT_GT(inked, 20000);
  // GDI+ rounds partly transparent pixels (and its fading colour matrix) its own way.
  EXPECT_LE(worst, 3) << "the same pixels, up to rounding";

  // A new picture under the same number is drawn, not the copy kept of the old one.
  Gdiplus::GpBitmap* blank = nullptr;
  ASSERT_EQ(gp::GdipCreateBitmapFromScan0(256, 256, 0, PixelFormat32bppPARGB, nullptr, &blank),
            Gdiplus::Ok);
  images_->Set(ImageTable::Icon, 2, GpBitmapPtr(blank));
  Frame again;
  again.ops.push_back(frame.ops[5]);
  renderer.Invalidate();
  renderer.Render(again);
  EXPECT_EQ(InkIn(renderer, {10, 80, 100, 100}), 0);
}

TEST_F(DockRender, TheVeilHasAWindowOfItsOwnAndTheInactiveRingReadsOnAnyDesktop) {
  const RingMetrics& m = geometry_.metrics;
  const int half = m.R + m.M + 40;  // the ring with room for labels around it
  const PixelRect ring{m.cx - half, m.cy - half, 2 * half, 2 * half};
  FrameRenderer separate(*images_, text_), inOne(*images_, text_);
  ASSERT_TRUE(separate.SetArea(ring) && inOne.SetArea(ring));
  separate.SetVeilSeparate(true);
  for (FrameRenderer* renderer : {&separate, &inOne}) renderer->SetLayoutWidth(1920);
  DisplayList list([&](const Frame& frame) {
    separate.Render(frame);
    inOne.Render(frame);
  });
  DockView view(list, clock_, store_, settings_, geometry_);
  view.state().active = true;
  view.DockNormal(false);

  // Between the disc and the ring only the veil is drawn.
  EXPECT_EQ(PixelAt(separate, m.cx + m.R / 2, m.cy - m.R / 2), 0u);
  EXPECT_EQ(PixelAt(inOne, m.cx + m.R / 2, m.cy - m.R / 2), 0xC0000000u) << "black at alpha 192";
  const RingSlot& slot1 = geometry_.slots[1];
  EXPECT_EQ(PixelAt(separate, slot1.normalLeft + 24, slot1.normalTop + 24) >> 24, 255u);
  const PixelRect label{m.cx + slot1.labelX - 10, m.cy + slot1.labelY - 12, 20, 22};
  EXPECT_GT(InkIn(separate, label), 20) << "the hotkey character is drawn, whatever the fonts";
  EXPECT_GT(InkIn(separate, PixelRect{m.cx - 30, m.cy + 95, 60, 24}), 40) << "Chinese title";

  // Inactive, the centre title is white with a dark outline: over a light or a dark desktop
  // (blended as the window manager does) both bright and dark pixels make it out.
  view.state().active = false;
  view.DockNormal(false);
  for (const std::uint32_t desktop : {0xF2F2F2u, 0x1E2430u}) {
    int bright = 0, dark = 0;
    for (int y = m.cy + 97; y < m.cy + 117; ++y) {
      for (int x = m.cx - 30; x < m.cx + 30; ++x) {
        const std::uint32_t p = PixelAt(inOne, x, y);
        std::uint32_t level = 0;
        for (int c = 0; c < 24; c += 8)
          level += ((p >> c & 0xFF) + (desktop >> c & 0xFF) * (255 - (p >> 24)) / 255) / 3;
        bright += level > 230;
        dark += level < 40;
      }
    }
    EXPECT_GT(bright, 20) << desktop;
    EXPECT_GT(dark, 20) << desktop;
  }
}

TEST_F(DockRender, ScaledIconImagesHaveAClearFrameAndCorners) {
  GpBitmapPtr icon =
      MakeScaledIconImage(images_->Get({ImageTable::Skin, kSkinBorder, 0}), 128, 128);
  ASSERT_TRUE(icon);
  const auto alphaAt = [&](int x, int y) {
    Gdiplus::ARGB colour = 0;
    gp::GdipBitmapGetPixel(AsBitmap(icon), x, y, &colour);
    return colour >> 24;
  };
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(alphaAt(i, 0) | alphaAt(0, i) | alphaAt(127, i) | alphaAt(i, 127), 0u) << i;
  }
  EXPECT_EQ(alphaAt(1, 1) | alphaAt(126, 126), 0u) << "corners";
  EXPECT_GT(alphaAt(64, 2), 0u) << "the disc's rim inside the frame is kept";
}

TEST_F(DockRender, ItemIconsFollowTheKindOfEntryAndFallBackToTemplates) {
  ShortcutStore store;
  // {number, kind, class, icon file}: a ring entry, a group member, a program whose icon is
  // gone, a document and a shortcut file without any icon.
  const std::tuple<int, int, std::uint8_t, std::string> entries[] = {
      {3, 1, 0, icons_ + "Group.png"},
      {200, 5, 1, icons_ + "Application.png"},
      {201, 5, 1, "C:\\nowhere\\gone.png"},
      {202, 5, 2, ""},
      {203, 5, 0, ""}};
  for (const auto& [number, kind, itemClass, file] : entries) {
    ShortcutItem& item = store.Items[static_cast<std::size_t>(number)];
    item = {};
    item.ItemType = kind;
    item.ItemClass = itemClass;
    item.ItemIndex = number;
    item.IconFile = file;
  }
  ImageTables images;
  for (int n : {3, 200, 201, 202, 203}) LoadItemIcon(store, images, geometry_.metrics, n);

  EXPECT_TRUE(images.Get({ImageTable::Icon, 3, 0})) << "ring entries keep the full image";
  EXPECT_EQ(images.Bounds({ImageTable::Icon, 3, 1}, {0, 0, 0, 0}),
            (PixelRect{0, 0, geometry_.metrics.N, geometry_.metrics.N}));
  EXPECT_FALSE(images.Get({ImageTable::Icon, 200, 0})) << "a popup row needs only 32 x 32";
  EXPECT_EQ(images.Bounds({ImageTable::Icon, 200, 4}, {0, 0, 0, 0}), (PixelRect{0, 0, 32, 32}));
  EXPECT_EQ((std::tuple{store.Items[201].ItemIndex, store.Items[202].ItemIndex,
                        store.Items[203].ItemIndex, store.Items[3].ItemIndex}),
            (std::tuple{41, 39, 40, 3}))
      << "the templates of a program, a document, a shortcut";
  EXPECT_FALSE(images.Has(ImageTable::Icon, 201));
  ReleaseItemImages(images, 3);
  EXPECT_FALSE(images.Get({ImageTable::Icon, 3, 1}));
}

// The premultiplied pixels of an image, row after row.
std::vector<std::uint32_t> PixelsOf(Gdiplus::GpImage* image) {
  if (image == nullptr) return {};
  const auto [width, height] = ImageSize(image);
  Gdiplus::GpRect all{0, 0, width, height};
  Gdiplus::BitmapData data{};
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(image);
  if (gp::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB,
                             &data) != Gdiplus::Ok) {
    return {};
  }
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(data.Scan0) +
                                                             y * data.Stride);
    pixels.insert(pixels.end(), row, row + width);
  }
  gp::GdipBitmapUnlockBits(bitmap, &data);
  return pixels;
}

TEST_F(DockRender, RingIconsComeFromTheirCopyWhileTheSourceIsUnchanged) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::string folder = Narrow(temp) + "kivo-ring-copies\\";
  const std::string cache = folder + "cache\\";
  ::CreateDirectoryW(Widen(folder).c_str(), nullptr);
  const std::string big = folder + "big.png", small = folder + "small.png";
  const std::string icons = WinePath(KIVO_SOURCE_DIR "/assets/SysIcons/");
  ASSERT_TRUE(::CopyFileW(Widen(icons + "Internet.png").c_str(), Widen(big).c_str(), FALSE));
  {
    // A 48-pixel picture: kept as decoded, with no copy.
    GpBitmapPtr picture = LoadImageFile(Widen(icons + "Group.png"));
    GpBitmapPtr scaled = MakeScaledImage(picture.get(), 48, 48);
    CLSID png{};
    ::CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
    ASSERT_EQ(gp::GdipSaveImageToFile(scaled.get(), Widen(small).c_str(), &png, nullptr),
              Gdiplus::Ok);
  }
  ShortcutStore store;
  store.Items[5].ItemType = kItemRingShortcut;
  store.Items[5].IconFile = big;
  store.Items[6].ItemType = kItemRingShortcut;
  store.Items[6].IconFile = small;
  const RingMetrics& m = geometry_.metrics;
  const auto load = [&](ImageTables& tables) {
    for (const int n : {5, 6}) LoadItemIcon(store, tables, m, n, cache);
  };
  ImageTables decoded, fromCopy, tampered, stale;
  load(decoded);
  const std::string copy = IconCacheFile(cache, big, kRingCopySize);
  ASSERT_EQ(ImageSize(decoded.Get({ImageTable::Icon, 5, 0})), (std::pair{128, 128}));
  EXPECT_NE(::GetFileAttributesW(Widen(copy).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesW(Widen(IconCacheFile(cache, small, kRingCopySize)).c_str()),
            INVALID_FILE_ATTRIBUTES)
      << "no copy of a picture no larger than the centre icon";

  load(fromCopy);
  for (const int n : {5, 6}) {
    for (const int variant : {0, 1}) {
      const std::vector<std::uint32_t> pixels =
          PixelsOf(decoded.Get({ImageTable::Icon, n, variant}));
      EXPECT_FALSE(pixels.empty());
      EXPECT_TRUE(pixels == PixelsOf(fromCopy.Get({ImageTable::Icon, n, variant})))
          << "item " << n << " variant " << variant;
    }
  }

  // The copy is what is read: another picture in it (same source stamp) shows instead.
  const std::optional<IconStamp> stamp = SourceStamp(big);
  ASSERT_TRUE(stamp);
  const auto replaceCopy = [&](const CachedIcon& icon) {
    const std::string bytes = EncodeCachedIcon(icon, *stamp);
    UniqueKernelHandle file(::CreateFileW(Widen(copy).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) != FALSE;
  };
  const CachedIcon other{128, 64, std::vector<std::uint32_t>(128 * 64, 0xFF204060u)};
  ASSERT_TRUE(replaceCopy(other));
  load(tampered);
  EXPECT_TRUE(PixelsOf(tampered.Get({ImageTable::Icon, 5, 0})) == other.pixels);
  // A copy of another size than the ring keeps is not the ring's: the file is decoded.
  ASSERT_TRUE(replaceCopy({64, 64, std::vector<std::uint32_t>(64 * 64, 0xFF204060u)}));
  ImageTables wrongSize;
  load(wrongSize);
  EXPECT_TRUE(PixelsOf(wrongSize.Get({ImageTable::Icon, 5, 0})) ==
              PixelsOf(decoded.Get({ImageTable::Icon, 5, 0})));

  // A source written since makes the copy stale: the picture is decoded again and the copy
  // made anew.
  FILETIME later{};
  ::GetSystemTimeAsFileTime(&later);
  {
    UniqueKernelHandle file(::CreateFileW(Widen(big).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &later));
  }
  load(stale);
  EXPECT_TRUE(PixelsOf(stale.Get({ImageTable::Icon, 5, 0})) ==
              PixelsOf(decoded.Get({ImageTable::Icon, 5, 0})));
  EXPECT_TRUE(ReadCachedIcon(copy, *SourceStamp(big)));

  for (const std::string& file : {copy, big, small}) ::DeleteFileW(Widen(file).c_str());
  ::RemoveDirectoryW(Widen(cache).c_str());
  ::RemoveDirectoryW(Widen(folder).c_str());
}

TEST_F(DockRender, APictureScaledToItsOwnSizeKeepsItsPixels) {
  GpBitmapPtr picture =
      LoadImageFile(Widen(WinePath(KIVO_SOURCE_DIR "/assets/SysIcons/Internet.png")));
  GpBitmapPtr odd = MakeScaledImage(picture.get(), 77, 51);
  for (Gdiplus::GpImage* image :
       {static_cast<Gdiplus::GpImage*>(picture.get()), static_cast<Gdiplus::GpImage*>(odd.get())}) {
    const auto [width, height] = ImageSize(image);
    GpBitmapPtr same = MakeScaledImage(image, width, height);
    EXPECT_EQ(ImageSize(same.get()), (std::pair{width, height}));
    EXPECT_TRUE(PixelsOf(same.get()) == PixelsOf(image)) << width << " x " << height;
  }
}

TEST_F(DockRender, MissingOrBrokenImagesLoadAsNothing) {
  EXPECT_FALSE(LoadSkinResource(::GetModuleHandleW(nullptr), L"NO SUCH SKIN"));
  const char notPng[] = "\x89PNG\r\n\x1a\n but then nothing";
  EXPECT_FALSE(DecodeImage(notPng, sizeof notPng));
  EXPECT_FALSE(DecodeImage(nullptr, 0));
  EXPECT_FALSE(LoadImageFile(L"C:\\no\\such\\file.png"));
  EXPECT_EQ(SkinNumberOf(L"BORDER"), kSkinBorder);
  EXPECT_EQ(SkinNumberOf(L"border"), -1);
}

}  // namespace
}  // namespace kivo::win
