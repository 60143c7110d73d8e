// The dock's frames drawn for real with GDI+ into layered-window surfaces.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
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
#include "platform/win32/file_system_win.h"
#include "platform/win32/handles.h"
#include "platform/win32/image_files.h"
#include "platform/win32/unicode.h"
#include "support/gdi_objects.h"
#include "support/wine_path.h"
#include "ui/win32/dock_window.h"

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
    images_ = std::make_unique<ImageTables>();
    ASSERT_EQ(LoadSkins(*images_, ::GetModuleHandleW(nullptr), ""), 17);
    geometry_ = ComputeRing(MakeRingMetrics(screen_, settings_));
    for (int i = 1; i <= 24; ++i) LoadItemIcon(store_, *images_, geometry_.metrics, i);
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
    ASSERT_GT(before, 0);
    lifetime();
    EXPECT_EQ(test::GdiObjectCount(), before);
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
    ASSERT_FALSE(tiles.pending(i)) << "tile " << i;
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
  std::string step = "shown";  // checked after every animation frame too
  const auto shows = [&](const std::string& now) {
    ExpectTilesShowTheFrame(dock, whole, step = now);
  };
  clock_.check = [&] { ExpectTilesShowTheFrame(dock, whole, step); };
  dock.Show();
  shows("first frame");
  EXPECT_EQ(Tiles(dock).size(), 1u) << "the first frame goes on the main window alone";
  for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
    ::DispatchMessageW(&message);
  }
  shows("on the small windows");
  EXPECT_GT(Tiles(dock).size(), 4u);

  // Going round the ring presents the title and one or two windows, never all of them.
  DockView& view = dock.view();
  int most = 0;
  for (int i = 0; i <= 24; ++i) {
    ASSERT_TRUE(PointAt(view, i % 24 + 1));
    shows("hover " + std::to_string(i % 24 + 1));
    most = std::max(most, dock.lastWindowsPresented());
  }
  EXPECT_TRUE(most == 2 || most == 3) << most;
  PointAt(view, 7);
  EXPECT_TRUE(view.EffectAction(7));
  shows("cross-fade");
  view.OnLeavePoll(5, 5);
  step = "fade";
  view.state().fade = true;
  view.DockFocus(true);
  view.state().fade = false;
  view.state().active = false;
  view.DockNormal(false);
  shows("inactive");

  clock_.check = nullptr;
  dock.Destroy();
}

TEST_F(DockRender, GdiObjectsStayFlatWhileTheDockAnimatesAndWhenItIsMadeAgain) {
  ExpectNoGdiLeft([&] {
    DockWindow dock(::GetModuleHandleW(nullptr), data_, *images_);
    dock.SetClock(clock_);
    ASSERT_TRUE(dock.Create({L"Verdana"}));
    dock.Show();
    DockView& view = dock.view();
    long warm = 0;
    for (int round = 0; round < 4; ++round) {
      if (round == 1) warm = test::GdiObjectCount();  // every text has its picture by now
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
    }
    EXPECT_EQ(test::GdiObjectCount(), warm);
    EXPECT_GT(dock.framesPresented(), 400);
    dock.Destroy();
  });
}

TEST_F(DockRender, ImagesBlendedByTheRendererMatchGdiplusUpToRounding) {
  // Slot backgrounds, icons over them and the BORDER, faded as the cross-fade draws them;
  // full images scaled, the second draw of one size from the kept copy.
  const std::tuple<ImageRef, PixelRect, int> images[] = {
      {{ImageTable::Skin, kSkinBackSelectColor, 1}, {10, 10, 48, 48}, 10},
      {{ImageTable::Icon, 3, 1}, {10, 10, 48, 48}, 10},
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
  EXPECT_LE(worst, 3) << "GDI+ rounds partly transparent pixels its own way";

  // A new picture under the same number is drawn, not the copy kept of the old one.
  Gdiplus::GpBitmap* blank = nullptr;
  ASSERT_EQ(gp::GdipCreateBitmapFromScan0(256, 256, 0, PixelFormat32bppPARGB, nullptr, &blank),
            Gdiplus::Ok);
  images_->Set(ImageTable::Icon, 2, GpBitmapPtr(blank));
  Frame again;
  again.ops.push_back(frame.ops[3]);
  renderer.Invalidate();
  renderer.Render(again);
  int ink = 0;
  for (int i = 0; i < 100 * 100; ++i)
    ink += renderer.surface()
               .pixels()[static_cast<std::size_t>((80 + i / 100) * 300 + 10 + i % 100)] != 0;
  EXPECT_EQ(ink, 0);
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
  const std::string folder = Narrow(temp) + "kivo-ring-copies\\", cache = folder + "cache\\";
  ::CreateDirectoryW(Widen(folder).c_str(), nullptr);
  const std::string big = folder + "big.png";
  ASSERT_TRUE(::CopyFileW(Widen(icons_ + "Internet.png").c_str(), Widen(big).c_str(), FALSE));
  ShortcutStore store;
  store.Items[5].ItemType = kItemRingShortcut;
  store.Items[5].IconFile = big;
  const auto load = [&] {
    ImageTables tables;
    LoadItemIcon(store, tables, geometry_.metrics, 5, cache);
    return PixelsOf(tables.Get({ImageTable::Icon, 5, 0}));
  };
  const std::vector<std::uint32_t> decoded = load();
  ASSERT_EQ(decoded.size(), 128u * 128u);
  const std::string copy = IconCacheFile(cache, big, kRingCopySize);
  EXPECT_NE(::GetFileAttributesW(Widen(copy).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(load() == decoded) << "the copy gives the same pixels";

  // The copy is what is read: another picture in it (same source stamp) shows instead,
  // unless it has another size than the ring keeps.
  const std::optional<IconStamp> stamp = SourceStamp(big);
  ASSERT_TRUE(stamp);
  const auto replaceCopy = [&](const CachedIcon& icon) {
    return WinFileSystem().WriteFileFlushed(copy, EncodeCachedIcon(icon, *stamp));
  };
  const CachedIcon other{128, 64, std::vector<std::uint32_t>(128 * 64, 0xFF204060u)};
  ASSERT_TRUE(replaceCopy(other));
  EXPECT_TRUE(load() == other.pixels);
  ASSERT_TRUE(replaceCopy({64, 64, std::vector<std::uint32_t>(64 * 64, 0xFF204060u)}));
  EXPECT_TRUE(load() == decoded);

  // A source written since makes the copy stale: decoded again and the copy made anew.
  ASSERT_TRUE(replaceCopy(other));
  FILETIME later{};
  ::GetSystemTimeAsFileTime(&later);
  {
    UniqueKernelHandle file(::CreateFileW(Widen(big).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &later));
  }
  EXPECT_TRUE(load() == decoded);
  EXPECT_TRUE(ReadCachedIcon(copy, *SourceStamp(big)));
}

TEST_F(DockRender, MissingOrBrokenImagesLoadAsNothing) {
  EXPECT_FALSE(LoadSkinResource(::GetModuleHandleW(nullptr), L"NO SUCH SKIN"));
  const char notPng[] = "\x89PNG\r\n\x1a\n but then nothing";
  EXPECT_FALSE(DecodeImage(notPng, sizeof notPng));
  EXPECT_FALSE(DecodeImage(nullptr, 0));
  EXPECT_FALSE(LoadImageFile(L"C:\\no\\such\\file.png"));
}

}  // namespace
}  // namespace kivo::win
