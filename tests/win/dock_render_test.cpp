// The dock's frames drawn for real with GDI+ into layered-window surfaces.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dock/dock_view.h"
#include "render/display_list.h"
#include "win32/frame_renderer.h"
#include "win32/gdiplus_session.h"
#include "win32/image_tables.h"
#include "win32/item_icons_win.h"
#include "win32/skins_win.h"
#include "win32/unicode.h"

namespace kivo::win {
namespace {

// A Linux path of the build as Wine shows it (drive Z: is the root).
std::string WinePath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

class NoSleep : public Clock {
 public:
  void Sleep(int) override {}
};

class DockRender : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(gdiplus_.Start()); }
  static void TearDownTestSuite() { gdiplus_.Stop(); }

  void SetUp() override {
    screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 24;
    const std::string icons = WinePath(KIVO_SOURCE_DIR "/assets/SysIcons/");
    const char* names[] = {"My Computer.png", "RecycleEmpty.png", "Group.png", "Internet.png"};
    for (int i = 1; i <= 24; ++i) {
      ShortcutItem& item = store_.Items[static_cast<std::size_t>(i)];
      item.ItemType = 1;
      item.ItemIndex = i;
      item.IconFile = icons + names[i % 4];
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
  }

  // The ring's square with room for labels around it.
  PixelRect RingArea() const {
    const RingMetrics& m = geometry_.metrics;
    const int half = m.R + m.M + 40;
    return {m.cx - half, m.cy - half, 2 * half, 2 * half};
  }

  static GdiplusSession gdiplus_;
  ScreenInfo screen_;
  Settings settings_;
  ShortcutStore store_;
  RingGeometry geometry_;
  std::unique_ptr<ImageTables> images_;
  TextRenderer text_;
  NoSleep clock_;
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

TEST_F(DockRender, RepaintingOnlyTheDamageGivesTheSamePixelsAsDrawingEverything) {
  FrameRenderer incremental(*images_, text_);
  FrameRenderer whole(*images_, text_);
  for (FrameRenderer* renderer : {&incremental, &whole}) {
    ASSERT_TRUE(renderer->SetArea(RingArea()));
    renderer->SetLayoutWidth(geometry_.metrics.W);
    renderer->SetVeilSeparate(true);
  }
  int frames = 0;
  int partial = 0;
  const std::size_t bytes =
      static_cast<std::size_t>(RingArea().width) * static_cast<std::size_t>(RingArea().height) * 4;
  DisplayList list([&](const Frame& frame) {
    const PixelRect changed = incremental.Render(frame);
    whole.Invalidate();
    whole.Render(frame);
    ++frames;
    if (!changed.empty() && changed.width * changed.height < RingArea().width * RingArea().height) {
      ++partial;
    }
    ASSERT_EQ(std::memcmp(incremental.surface().pixels(), whole.surface().pixels(), bytes), 0)
        << "frame " << frames;
  });
  DockView view(list, clock_, store_, settings_, geometry_);
  view.IniIconParam();
  view.state().active = true;
  view.DockNormal(false);
  const auto centreOf = [&](int slot) {
    const RingSlot& s = geometry_.slots[static_cast<std::size_t>(slot)];
    return std::pair{s.normalLeft + s.normalSize / 2, s.normalTop + s.normalSize / 2};
  };
  for (int slot : {1, 2, 3, 13, 24, 0, 7, 8}) {
    const auto [x, y] = centreOf(slot);
    view.OnPointerMove(x, y);
  }
  view.EffectAction(8);
  view.EffectAction(2);
  view.OnLeavePoll(5, 5);
  view.state().active = false;
  view.DockNormal(false);
  const auto [x, y] = centreOf(5);
  view.OnPointerMove(x, y);
  EXPECT_GE(frames, 20);
  EXPECT_GE(partial, 10) << "hover changes repaint only part of the surface";
}

TEST_F(DockRender, TheVeilHasAWindowOfItsOwnAndTheRingShowsOnTransparency) {
  FrameRenderer separate(*images_, text_);
  FrameRenderer inOne(*images_, text_);
  ASSERT_TRUE(separate.SetArea(RingArea()));
  ASSERT_TRUE(inOne.SetArea(RingArea()));
  separate.SetVeilSeparate(true);
  for (FrameRenderer* renderer : {&separate, &inOne}) renderer->SetLayoutWidth(1920);
  DisplayList list([&](const Frame& frame) {
    separate.Render(frame);
    inOne.Render(frame);
  });
  DockView view(list, clock_, store_, settings_, geometry_);
  view.IniIconParam();
  view.state().active = true;
  view.DockNormal(false);

  const RingMetrics& m = geometry_.metrics;
  const int emptyX = m.cx + m.R / 2;  // between the disc and the ring
  const int emptyY = m.cy - m.R / 2;
  EXPECT_EQ(PixelAt(separate, emptyX, emptyY), 0u);
  EXPECT_EQ(PixelAt(inOne, emptyX, emptyY), 0xC0000000u) << "black at alpha 192, premultiplied";
  // Slot 1's icon and its hotkey character are drawn in both.
  const RingSlot& slot1 = geometry_.slots[1];
  EXPECT_EQ(PixelAt(separate, slot1.normalLeft + slot1.normalSize / 2,
                    slot1.normalTop + slot1.normalSize / 2) >>
                24,
            255u);
  const PixelRect label{m.cx + slot1.labelX - 10, m.cy + slot1.labelY - 12, 20, 22};
  EXPECT_GT(InkIn(separate, label), 20) << "the hotkey character is drawn, whatever the fonts";
  // The title of item 0 under the disc: Chinese text is drawn, not skipped.
  EXPECT_GT(InkIn(separate, PixelRect{m.cx - 30, m.cy + 95, 60, 24}), 40);
}

TEST_F(DockRender, AFrameThatDidNotChangeDrawsAndPresentsNothing) {
  FrameRenderer renderer(*images_, text_);
  ASSERT_TRUE(renderer.SetArea(RingArea()));
  renderer.SetLayoutWidth(1920);
  std::vector<PixelRect> changes;
  DisplayList list([&](const Frame& frame) { changes.push_back(renderer.Render(frame)); });
  DockView view(list, clock_, store_, settings_, geometry_);
  view.IniIconParam();
  view.DockNormal(false);
  view.DockNormal(false);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_FALSE(changes[0].empty());
  EXPECT_TRUE(changes[1].empty());
  // A pointer resting on one slot and the leave poll ticking change nothing either.
  const RingSlot& s = geometry_.slots[4];
  view.OnPointerMove(s.normalLeft + 5, s.normalTop + 5);
  const std::size_t after = changes.size();
  for (int tick = 0; tick < 5; ++tick) {
    view.OnPointerMove(s.normalLeft + 6, s.normalTop + 5);
    view.OnLeavePoll(s.normalLeft + 6, s.normalTop + 5);
  }
  EXPECT_EQ(changes.size(), after);
}

// The inactive ring over a desktop of `background`, as the window manager would blend it.
GpBitmapPtr OverDesktop(FrameRenderer& renderer, Gdiplus::ARGB background) {
  const PixelRect& area = renderer.area();
  Gdiplus::GpBitmap* desktop = nullptr;
  gp::GdipCreateBitmapFromScan0(area.width, area.height, 0, PixelFormat32bppARGB, nullptr,
                                &desktop);
  GpBitmapPtr result(desktop);
  Gdiplus::GpBitmap* ring = nullptr;
  gp::GdipCreateBitmapFromScan0(area.width, area.height, area.width * 4, PixelFormat32bppPARGB,
                                reinterpret_cast<BYTE*>(renderer.surface().pixels()), &ring);
  GpBitmapPtr ringImage(ring);
  Gdiplus::GpGraphics* graphics = nullptr;
  gp::GdipGetImageGraphicsContext(desktop, &graphics);
  GpGraphicsPtr owner(graphics);
  gp::GdipGraphicsClear(graphics, background);
  gp::GdipDrawImageRectI(graphics, ring, 0, 0, area.width, area.height);
  return result;
}

TEST_F(DockRender, TheInactiveRingReadsOnLightAndOnDarkDesktops) {
  FrameRenderer renderer(*images_, text_);
  ASSERT_TRUE(renderer.SetArea(RingArea()));
  renderer.SetLayoutWidth(1920);
  DisplayList list([&](const Frame& frame) { renderer.Render(frame); });
  DockView view(list, clock_, store_, settings_, geometry_);
  view.IniIconParam();
  view.state().active = false;
  view.DockNormal(false);

  // The centre title is white with a dark outline: on either desktop both bright and dark
  // pixels make it out.
  const RingMetrics& m = geometry_.metrics;
  const PixelRect& area = renderer.area();
  const PixelRect title{m.cx - 30 - area.left, m.cy + 97 - area.top, 60, 20};
  const CLSID png{0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  for (const auto& [background, name] :
       {std::pair{Gdiplus::ARGB{0xFFF2F2F2}, "light"}, {Gdiplus::ARGB{0xFF1E2430}, "dark"}}) {
    GpBitmapPtr picture = OverDesktop(renderer, background);
    int bright = 0, dark = 0;
    for (int y = title.top; y < title.bottom(); ++y) {
      for (int x = title.left; x < title.right(); ++x) {
        Gdiplus::ARGB colour = 0;
        gp::GdipBitmapGetPixel(AsBitmap(picture), x, y, &colour);
        const int level =
            static_cast<int>((colour >> 16 & 0xFF) + (colour >> 8 & 0xFF) + (colour & 0xFF)) / 3;
        bright += level > 230;
        dark += level < 40;
      }
    }
    EXPECT_GT(bright, 20) << name;
    EXPECT_GT(dark, 20) << name;
    const std::wstring file =
        Widen(WinePath(KIVO_ARTIFACTS_DIR "/ring-inactive-on-") + name + ".png");
    ::CreateDirectoryW(Widen(WinePath(KIVO_ARTIFACTS_DIR)).c_str(), nullptr);
    EXPECT_EQ(gp::GdipSaveImageToFile(picture.get(), file.c_str(), &png, nullptr), Gdiplus::Ok);
  }
}

TEST_F(DockRender, ScaledIconImagesHaveAClearFrameAndCorners) {
  Gdiplus::GpImage* source = images_->Get({ImageTable::Skin, kSkinBorder, 0});
  ASSERT_NE(source, nullptr);
  GpBitmapPtr icon = MakeScaledIconImage(source, 128, 128);
  ASSERT_TRUE(icon);
  const auto alphaAt = [&](int x, int y) {
    Gdiplus::ARGB colour = 0;
    gp::GdipBitmapGetPixel(AsBitmap(icon), x, y, &colour);
    return colour >> 24;
  };
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(alphaAt(i, 0), 0u);
    EXPECT_EQ(alphaAt(0, i), 0u);
    EXPECT_EQ(alphaAt(127, i), 0u);
    EXPECT_EQ(alphaAt(i, 127), 0u);
  }
  EXPECT_EQ(alphaAt(1, 1), 0u);
  EXPECT_EQ(alphaAt(126, 126), 0u);
  EXPECT_GT(alphaAt(64, 2), 0u) << "the disc's rim inside the frame is kept";
}

TEST_F(DockRender, ItemIconsFollowTheKindOfEntryAndFallBackToTemplates) {
  const std::string icons = WinePath(KIVO_SOURCE_DIR "/assets/SysIcons/");
  ShortcutStore store;
  const auto make = [&](int number, int kind, std::uint8_t itemClass, const std::string& file) {
    ShortcutItem& item = store.Items[static_cast<std::size_t>(number)];
    item.ItemType = kind;
    item.ItemClass = itemClass;
    item.ItemIndex = number;
    item.IconFile = file;
  };
  make(3, 1, 0, icons + "Group.png");          // a ring entry
  make(200, 5, 1, icons + "Application.png");  // a group member
  make(201, 5, 1, "C:\\nowhere\\gone.png");    // a program whose icon is gone
  make(202, 5, 2, "");                         // a document without any icon
  make(203, 5, 0, "");                         // a shortcut file without any icon
  store.Items[204] = store.Items[3];
  store.Items[204].ItemType = 5;
  store.Items[204].CustomIconFile = icons + "Internet.png";  // the user's choice wins
  ImageTables images;
  for (int n : {3, 200, 201, 202, 203, 204}) LoadItemIcon(store, images, geometry_.metrics, n);

  EXPECT_TRUE(images.Get({ImageTable::Icon, 3, 0})) << "ring entries keep the full image";
  EXPECT_EQ(images.Bounds({ImageTable::Icon, 3, 1}, {0, 0, 0, 0}),
            (PixelRect{0, 0, geometry_.metrics.N, geometry_.metrics.N}));
  EXPECT_FALSE(images.Get({ImageTable::Icon, 200, 0})) << "a popup row needs only 32 x 32";
  EXPECT_EQ(images.Bounds({ImageTable::Icon, 200, 4}, {0, 0, 0, 0}), (PixelRect{0, 0, 32, 32}));
  EXPECT_EQ(store.Items[201].ItemIndex, 41);
  EXPECT_EQ(store.Items[202].ItemIndex, 39);
  EXPECT_EQ(store.Items[203].ItemIndex, 40);
  EXPECT_FALSE(images.Has(ImageTable::Icon, 201));
  EXPECT_EQ(store.Items[3].ItemIndex, 3);

  ReleaseItemImages(images, 3);
  EXPECT_FALSE(images.Get({ImageTable::Icon, 3, 1}));
}

TEST(SkinResources, MissingOrBrokenImagesLoadAsNothing) {
  GdiplusSession gdiplus;
  ASSERT_TRUE(gdiplus.Start());
  EXPECT_FALSE(LoadSkinResource(::GetModuleHandleW(nullptr), L"NO SUCH SKIN"));
  const char notPng[] = "\x89PNG\r\n\x1a\n but then nothing";
  EXPECT_FALSE(DecodeImage(notPng, sizeof notPng));
  EXPECT_FALSE(DecodeImage(nullptr, 0));
  EXPECT_FALSE(LoadImageFile(L"C:\\no\\such\\file.png"));
  EXPECT_EQ(SkinNumberOf(L"BORDER"), kSkinBorder);
  EXPECT_EQ(SkinNumberOf(L"DELICON"), kSkinDelIcon);
  EXPECT_EQ(SkinNumberOf(L"border"), -1);
}

}  // namespace
}  // namespace kivo::win
