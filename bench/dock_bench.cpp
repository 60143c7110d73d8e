// Frame times of the dock under Wine or Windows: the program's pipeline (veil window,
// ring-sized surface, damage-limited redraw, the picture on small windows of which only
// those that changed are presented) against the straightforward one (clear the whole
// work-area surface, draw everything, present all). Besides the times, how many windows
// each frame presented.
//   dock_bench SYSICONS_FOLDER [1080|2160]   (both screen sizes when none is named)
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "dock/dock_view.h"
#include "gfx/win32/frame_renderer.h"
#include "gfx/win32/gdiplus_session.h"
#include "gfx/win32/image_tables.h"
#include "gfx/win32/item_icons_win.h"
#include "gfx/win32/skins_win.h"
#include "gfx/win32/tiled_layer.h"
#include "platform/win32/unicode.h"
#include "render/display_list.h"
#include "support/gdi_objects.h"
#include "ui/win32/dock_window.h"

namespace {

using namespace kivo;
using namespace kivo::win;

double NowMs() {
  LARGE_INTEGER frequency{}, counter{};
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Stats {
  std::vector<double> samples;
  void Print(const char* screen, const char* pipeline, const char* scenario, const char* unit) {
    if (samples.empty()) return;
    std::sort(samples.begin(), samples.end());
    std::printf("%-10s %-17s %-14s median %7.2f %-7s worst %7.2f %-7s (%zu frames)\n", screen,
                pipeline, scenario, samples[samples.size() / 2], unit, samples.back(), unit,
                samples.size());
  }
};

// One figure taken after every frame: its name, its unit and how to read it.
struct Figure {
  const char* name;
  const char* unit;
  std::function<double()> read;
};

// A clock that does not sleep but notes the frame that was just shown.
class RecordingClock : public Clock {
 public:
  std::function<void()> onPause;
  void Sleep(int) override {
    if (onPause) onPause();
  }
};

// The straightforward pipeline: one surface as large as the work area.
class Straightforward {
 public:
  Straightforward(ImageTables& images, TextRenderer& text, int width, int height)
      : images_(images), text_(text), width_(width) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KivoBenchFull";
    ::RegisterClassW(&windowClass);
    window_ =
        ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"KivoBenchFull", L"", WS_POPUP, 0, 0,
                          width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    ok_ = surface_.Create(width, height);
  }
  ~Straightforward() { ::DestroyWindow(window_); }
  bool ok() const { return ok_; }
  void Draw(const Frame& frame) {
    const double start = NowMs();
    gp::GdipGraphicsClear(surface_.graphics(), frame.background);
    for (const DrawOp& op : frame.ops) {
      switch (op.kind) {
        case DrawOp::Kind::Fill:
          surface_.FillPixels(op.rect, op.colour);
          break;
        case DrawOp::Kind::Image:
          images_.Draw(surface_.graphics(), op.image, op.rect, op.alphaTenths);
          break;
        case DrawOp::Kind::Text:
          text_.Draw(surface_.graphics(), op.text, op.rect.left, op.rect.top, width_);
          break;
        case DrawOp::Kind::TextBox:
          break;  // the ring has no text boxes
      }
    }
    const POINT origin{0, 0};
    surface_.Present(window_, &origin, frame.constantAlpha, nullptr);
    last = NowMs() - start;
  }
  double last = 0;

 private:
  ImageTables& images_;
  TextRenderer& text_;
  LayeredSurface surface_;
  HWND window_ = nullptr;
  int width_;
  bool ok_ = false;
};

void FillStore(ShortcutStore& store, const std::wstring& iconFolder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW((iconFolder + L"\\*.png").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do files.push_back(Narrow(iconFolder + L"\\" + found.cFileName));
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
  }
  std::sort(files.begin(), files.end());
  for (int i = 1; i <= 36 && !files.empty(); ++i) {
    ShortcutItem& item = store.Items[static_cast<std::size_t>(i)];
    item.ItemType = 1;
    item.ItemIndex = i;
    item.IconFile = files[static_cast<std::size_t>(i) % files.size()];
    item.Title = "快捷方式 " + std::to_string(i);
  }
  store.Items[0].Title = "Kivo";
}

template <typename View>
void Scenarios(const char* screen, View& view, RecordingClock& clock,
               const std::vector<Figure>& figures, const std::function<void()>& resetFull) {
  enum { kResting, kHover, kPacedHover, kCrossFade, kFade, kHideFade, kScenarios };
  std::vector<std::array<Stats, kScenarios>> stats(figures.size());
  const auto take = [&](int scenario) {
    for (std::size_t i = 0; i < figures.size(); ++i) {
      stats[i][static_cast<std::size_t>(scenario)].samples.push_back(figures[i].read());
    }
  };
  DockState& state = view.state();
  state.active = true;
  for (int i = 0; i < 15; ++i) {
    resetFull();
    state.hovered = state.previous = -1;
    view.DockNormal(false);
    take(kResting);
  }
  // The pointer going round the ring from slot to slot: as fast as frames can be made,
  // and at a hand's pace, where the window manager has finished with one frame before
  // the next comes (a slot every 40 ms is already a quick sweep).
  const RingGeometry& geometry = view.geometry();
  for (const int scenario : {kHover, kPacedHover}) {
    for (int round = 0; round < 3; ++round) {
      for (int slot = 1; slot <= geometry.metrics.K; ++slot) {
        const RingSlot& s = geometry.slots[static_cast<std::size_t>(slot)];
        if (scenario == kPacedHover) ::Sleep(40);
        if (view.OnPointerMove(s.normalLeft + s.normalSize / 2, s.normalTop + s.normalSize / 2)) {
          take(scenario);
        }
      }
    }
  }
  clock.onPause = [&] { take(kCrossFade); };
  for (int slot = 1; slot <= 6; ++slot) view.EffectAction(slot);
  clock.onPause = [&] { take(kFade); };
  state.fade = true;
  for (int i = 0; i < 3; ++i) view.DockFocus(true);
  state.fade = false;
  // Hiding: the same picture 32 times with a falling constant alpha.
  clock.onPause = [&] { take(kHideFade); };
  state.active = false;
  view.HideFade();
  state.active = true;
  clock.onPause = nullptr;
  resetFull();
  view.DockNormal(false);
  const char* names[kScenarios] = {"resting ring", "hover change", "hover, paced",
                                   "cross-fade",   "fade in",      "hide fade"};
  for (std::size_t i = 0; i < figures.size(); ++i) {
    for (int scenario = 0; scenario < kScenarios; ++scenario) {
      stats[i][static_cast<std::size_t>(scenario)].Print(screen, figures[i].name, names[scenario],
                                                         figures[i].unit);
    }
  }
}

// Notes when the dock asks for a launch; everything else is left undone.
struct LaunchTimer : IgnoredDockActions {
  double launchedAt = 0;
  void LaunchItem(int) override { launchedAt = NowMs(); }
};

// From the button going down and up on a shortcut to the dock asking for the launch: the
// dock's own share of a click (the pressed look and the release frame included).
void ClickToLaunch(const char* screen, DockWindow& dock, LaunchTimer& actions) {
  const RingSlot& s = dock.geometry().slots[1];
  const int x = s.normalLeft + s.normalSize / 2;
  const int y = s.normalTop + s.normalSize / 2;
  Stats stats;
  for (int i = 0; i < 20; ++i) {
    dock.Handle(DockEvent::Move(x + (i % 2), y));
    const double start = NowMs();
    dock.Handle(DockEvent::Down(MouseButton::Left, x, y));
    dock.Handle(DockEvent::Up(MouseButton::Left, x, y));
    if (actions.launchedAt >= start) stats.samples.push_back(actions.launchedAt - start);
    dock.Handle(DockEvent::Simple(DockEvent::Kind::AltSpace));
  }
  stats.Print(screen, "pipeline", "click to launch", "ms");
}

// Files dragged over the ring: every pointer move draws the drop badge at the pointer over
// the resting ring. The time from the move reaching the dock to the frame being presented.
void DragOverBadges(const char* screen, DockWindow& dock) {
  const RingGeometry& geometry = dock.geometry();
  Stats stats;
  Stats windows;
  for (int round = 0; round < 2; ++round) {
    for (int slot = 1; slot <= geometry.metrics.K; ++slot) {
      const RingSlot& s = geometry.slots[static_cast<std::size_t>(slot)];
      for (int step = 0; step < 4; ++step) {
        const int x = s.normalLeft + s.normalSize / 2 + step * 3;
        const int y = s.normalTop + s.normalSize / 2 - step * 2;
        const int before = dock.framesPresented();
        const double start = NowMs();
        dock.Handle(DockEvent::DragAt(x, y, true));
        if (dock.framesPresented() == before) continue;
        stats.samples.push_back(NowMs() - start);
        windows.samples.push_back(static_cast<double>(dock.lastWindowsPresented()));
      }
    }
  }
  dock.Handle(DockEvent::Simple(DockEvent::Kind::DragLeave));
  stats.Print(screen, "pipeline", "drop badge move", "ms");
  windows.Print(screen, "  windows shown", "drop badge move", "windows");
}

// The settings dialog's live preview: one step of the normal-size slider (the ring
// computed again, laid out, drawn from the full images and presented) and one step of the
// transparency slider (the veil alone changes), each from the call to the frame on screen.
void SettingsSteps(const char* screen, DockWindow& dock, Settings& settings) {
  dock.SetActiveLook(true);
  Stats size, sizeFrame, sizePresent, sizeWindows;
  for (int step = 0; step < 40; ++step) {
    settings.IconSize = 40 + step % 20;
    const double start = NowMs();
    dock.ApplyRingMetrics(1);
    size.samples.push_back(NowMs() - start);
    sizeFrame.samples.push_back(dock.lastFrameMilliseconds());
    sizePresent.samples.push_back(dock.lastPresentMilliseconds());
    sizeWindows.samples.push_back(static_cast<double>(dock.lastWindowsPresented()));
  }
  settings.IconSize = 48;
  dock.ApplyRingMetrics(0);
  dock.RebuildNormalVariant();
  Stats veil;
  for (int step = 0; step < 40; ++step) {
    settings.BackColor.Alpha = static_cast<std::uint8_t>(100 + step);
    const double start = NowMs();
    dock.RedrawResting();
    veil.samples.push_back(NowMs() - start);
  }
  size.Print(screen, "settings", "size step", "ms");
  sizeFrame.Print(screen, "  frame", "size step", "ms");
  sizePresent.Print(screen, "  present", "size step", "ms");
  sizeWindows.Print(screen, "  windows shown", "size step", "windows");
  veil.Print(screen, "settings", "veil step", "ms");
}

void Run(const char* screenName, int width, int height, const std::wstring& iconFolder) {
  AppData data;
  data.screen = MakeScreenInfo(width, height - 23, 23, 96, 96, Rect{0, 0, width, height - 40});
  ApplyDefaultSettings(data.settings, data.screen);
  data.settings.IconCount = 36;
  FillStore(data.store, iconFolder);

  ImageTables images;
  LoadSkins(images, ::GetModuleHandleW(nullptr), "");
  const RingGeometry geometry = ComputeRing(MakeRingMetrics(data.screen, data.settings));
  for (int i = 1; i <= 36; ++i) LoadItemIcon(data.store, images, geometry.metrics, i);
  BuildRingVariants(images, geometry.metrics);
  std::printf("%-10s image tables hold %.1f MB\n", screenName,
              static_cast<double>(images.MemoryBytes()) / (1024.0 * 1024.0));

  const long gdiBefore = test::GdiObjectCount();
  {
    RecordingClock clock;
    LaunchTimer actions;
    DockWindow dock(::GetModuleHandleW(nullptr), data, images, &actions);
    dock.SetClock(clock);
    const double createStart = NowMs();
    if (!dock.Create({L"Verdana"})) {
      std::printf("dock window could not be created\n");
      return;
    }
    const double showStart = NowMs();
    dock.Show();
    const double shown = NowMs();
    // The ring's picture and the windows it is split among: the tiles that have a window
    // and the pixels those windows cover, which is what presenting them all costs.
    const PixelRect area = dock.ringArea();
    const auto& tiles = dynamic_cast<const TiledLayer&>(dock.presenter());
    int windows = 0;
    long long pixels = 0;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      if (tiles.window(i) == nullptr) continue;
      const PixelRect& tile = tiles.layout().tiles[i];
      ++windows;
      pixels += static_cast<long long>(tile.width) * tile.height;
    }
    std::printf("%-10s ring area %d x %d: %zu tiles, %d with a window (%lld pixels)\n", screenName,
                area.width, area.height, tiles.size(), windows, pixels);
    std::printf("%-10s dock created in %.0f ms, shown (first frames included) in %.0f ms\n",
                screenName, showStart - createStart, shown - showStart);
    const std::vector<Figure> figures = {
        {"pipeline", "ms", [&] { return dock.lastFrameMilliseconds(); }},
        {"  of it present", "ms", [&] { return dock.lastPresentMilliseconds(); }},
        {"  windows shown", "windows",
         [&] { return static_cast<double>(dock.lastWindowsPresented()); }}};
    Scenarios(screenName, dock.view(), clock, figures, [&] { dock.Invalidate(); });
    ClickToLaunch(screenName, dock, actions);
    DragOverBadges(screenName, dock);
    SettingsSteps(screenName, dock, data.settings);
  }
  {
    TextRenderer text;
    if (!text.Create({L"Verdana"}, 17.0f)) return;
    Straightforward full(images, text, geometry.metrics.W, geometry.metrics.H);
    if (!full.ok()) return;
    RecordingClock clock;
    DisplayList list([&](const Frame& frame) { full.Draw(frame); });
    DockView view(list, clock, data.store, data.settings, geometry);
    view.IniIconParam();
    Scenarios(screenName, view, clock, {{"straightforward", "ms", [&] { return full.last; }}},
              [] {});
  }
  const long gdiAfter = test::GdiObjectCount();
  std::printf("%-10s GDI objects before %ld, after all scenarios and both docks gone %ld\n",
              screenName, gdiBefore, gdiAfter);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // The screen size should be the display's own: windows partly off the screen cost the
  // window manager less and would flatter the figures.
  const std::wstring size = argc >= 3 ? argv[2] : L"";
  if (argc < 2 || (size != L"" && size != L"1080" && size != L"2160")) {
    std::fputs("usage: dock_bench SYSICONS_FOLDER [1080|2160]\n", stderr);
    return 2;
  }
  GdiplusSession gdiplus;
  if (!gdiplus.Start()) return 1;
  if (size != L"2160") Run("1920x1080", 1920, 1080, argv[1]);
  if (size != L"1080") Run("3840x2160", 3840, 2160, argv[1]);
  return 0;
}
