// Frame times of the dock under Wine or Windows: the program's pipeline (veil window,
// ring-sized surface, damage-limited redraw, dirty-rectangle present) against the
// straightforward one (clear the whole work-area surface, draw everything, present all).
//   dock_bench SYSICONS_FOLDER
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "dock/dock_view.h"
#include "render/display_list.h"
#include "win32/dock_window.h"
#include "win32/frame_renderer.h"
#include "win32/gdiplus_session.h"
#include "win32/image_tables.h"
#include "win32/item_icons_win.h"
#include "win32/skins_win.h"
#include "win32/unicode.h"

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
  void Print(const char* screen, const char* pipeline, const char* scenario) {
    if (samples.empty()) return;
    std::sort(samples.begin(), samples.end());
    std::printf("%-10s %-16s %-16s median %7.2f ms   worst %7.2f ms   (%zu frames)\n", screen,
                pipeline, scenario, samples[samples.size() / 2], samples.back(), samples.size());
  }
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
      }
    }
    surface_.Present(window_, POINT{0, 0}, frame.constantAlpha, nullptr);
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
void Scenarios(const char* screen, const char* name, View& view, RecordingClock& clock,
               const std::function<double()>& lastFrame, const std::function<void()>& resetFull) {
  Stats resting, hover, crossFade, fade;
  DockState& state = view.state();
  state.active = true;
  for (int i = 0; i < 15; ++i) {
    resetFull();
    state.hovered = state.previous = -1;
    view.DockNormal(false);
    resting.samples.push_back(lastFrame());
  }
  const RingGeometry& geometry = view.geometry();
  for (int round = 0; round < 3; ++round) {
    for (int slot = 1; slot <= geometry.metrics.K; ++slot) {
      const RingSlot& s = geometry.slots[static_cast<std::size_t>(slot)];
      if (view.OnPointerMove(s.normalLeft + s.normalSize / 2, s.normalTop + s.normalSize / 2)) {
        hover.samples.push_back(lastFrame());
      }
    }
  }
  clock.onPause = [&] { crossFade.samples.push_back(lastFrame()); };
  for (int slot = 1; slot <= 6; ++slot) view.EffectAction(slot);
  clock.onPause = [&] { fade.samples.push_back(lastFrame()); };
  state.fade = true;
  for (int i = 0; i < 3; ++i) view.DockFocus(true);
  state.fade = false;
  clock.onPause = nullptr;
  resting.Print(screen, name, "resting ring");
  hover.Print(screen, name, "hover change");
  crossFade.Print(screen, name, "cross-fade");
  fade.Print(screen, name, "fade");
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

  const DWORD gdiBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  {
    RecordingClock clock;
    DockWindow dock(::GetModuleHandleW(nullptr), data, images);
    dock.SetClock(clock);
    if (!dock.Create({L"Verdana"})) {
      std::printf("dock window could not be created\n");
      return;
    }
    dock.Show();
    const PixelRect area = dock.ringArea();
    std::printf("%-10s ring window %d x %d\n", screenName, area.width, area.height);
    Scenarios(
        screenName, "pipeline", dock.view(), clock, [&] { return dock.lastFrameMilliseconds(); },
        [&] { dock.Invalidate(); });
    Scenarios(
        screenName, "  of it present", dock.view(), clock,
        [&] { return dock.lastPresentMilliseconds(); }, [&] { dock.Invalidate(); });
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
    Scenarios(
        screenName, "straightforward", view, clock, [&] { return full.last; }, [] {});
  }
  const DWORD gdiAfter = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  std::printf("%-10s GDI objects before %lu, after %lu\n", screenName, gdiBefore, gdiAfter);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: dock_bench SYSICONS_FOLDER\n", stderr);
    return 2;
  }
  GdiplusSession gdiplus;
  if (!gdiplus.Start()) return 1;
  Run("1920x1080", 1920, 1080, argv[1]);
  Run("3840x2160", 3840, 2160, argv[1]);
  return 0;
}
