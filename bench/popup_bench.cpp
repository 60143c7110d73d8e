// Group popup figures under Wine at 1920 x 1080: opening a list whose row icons are not
// loaded yet (icons decoded, then read from the icon cache), opening it again, a row-hover
// change, a page change by PgDn and by the wheel, and the image tables' size after every
// page of a 1024-member group has been shown. Each figure is the time of the event's whole
// handling: the icons it loads, drawing, rendering and presenting.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/settings.h"
#include "core/startup.h"
#include "dock/dock_view.h"
#include "gfx/win32/gdiplus_session.h"
#include "gfx/win32/image_tables.h"
#include "gfx/win32/item_icons_win.h"
#include "gfx/win32/item_images_win.h"
#include "gfx/win32/skins_win.h"
#include "items/builtin_items.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dock_window.h"
#include "ui/win32/popup_window.h"

using namespace kivo;
using namespace kivo::win;
using kivo::bench::NowMs;

namespace {

struct NoSleep : Clock {
  void Sleep(int) override {}
};

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

double Worst(const std::vector<double>& samples) {
  return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

std::string FreshCacheFolder() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"kivo-popup-bench-cache\\";
  WIN32_FIND_DATAW found{};
  const HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do ::DeleteFileW((folder + found.cFileName).c_str());
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
  }
  return Narrow(folder);
}

// Times one event's handling.
double Timed(PopupWindow& popup, const PopupEvent& event) {
  const double start = NowMs();
  popup.Handle(event);
  const double ms = NowMs() - start;
  Pump();
  return ms;
}

void Figures(HINSTANCE instance, const std::vector<std::string>& pictures, int group,
             const char* name) {
  AppData data;
  data.screen = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  ApplyDefaultSettings(data.settings, data.screen);
  DefineBuiltInItems(data.store, data.settings, data.paths, "bench", false);
  // Every item a member with a 256-pixel icon: group 3 lists items 1..1024, group 5 the
  // first 36 user items.
  ItemGroup& all = data.store.Groups[kAllProgramsGroup];
  ItemGroup& some = data.store.Groups[5];
  for (int i = 1; i <= kLastItem; ++i) {
    ShortcutItem& item = data.store.Items[static_cast<std::size_t>(i)];
    item.ItemType = kItemGroupMember;
    item.ItemIndex = i;
    item.Title = "程序 Program " + std::to_string(i);
    item.IconFile = pictures[static_cast<std::size_t>(i) % pictures.size()];
    all.Members[static_cast<std::size_t>(i)] = i;
    if (i <= 36) some.Members[static_cast<std::size_t>(i)] = kFirstUserItem + i - 1;
  }
  all.Count = kLastItem;
  some.Count = 36;
  // A one-member group opened first, so the window's first-time set-up (its surface, the
  // skins' scaled copies) is not counted with the rows' icons.
  data.store.Groups[6].Members[1] = 1;
  data.store.Groups[6].Count = 1;

  ImageTables images;
  LoadSkins(images, instance, "");
  const RingGeometry geometry = ComputeRing(MakeRingMetrics(data.screen, data.settings));
  WinItemImages rows(data.store);
  rows.Attach(&images, &geometry.metrics);
  rows.UseIconCache(FreshCacheFolder());
  DockState dock;
  NoSleep clock;
  PopupWindow popup(instance, data, images);
  popup.SetClock(clock);
  if (!popup.Create({L"Microsoft YaHei"}, geometry, dock, [&](int item) { rows.Ensure(item); })) {
    std::puts("popup window could not be made");
    return;
  }
  const auto releaseRows = [&] {
    for (int i = 1; i <= kLastItem; ++i) images.Release(ImageTable::Icon, i);
  };
  const double warmUp = Timed(popup, PopupEvent::Open(6));
  popup.Handle(PopupEvent::Close());
  const double decoded = Timed(popup, PopupEvent::Open(group));
  popup.Handle(PopupEvent::Close());
  releaseRows();
  const double cached = Timed(popup, PopupEvent::Open(group));
  popup.Handle(PopupEvent::Close());
  const double again = Timed(popup, PopupEvent::Open(group));
  const PopupState& state = popup.controller().state();

  std::vector<double> hovers, present;
  for (int round = 0; round < 5; ++round) {
    for (int r = 1; r <= state.layout.rows; ++r) {
      const PixelRect& row = state.layout.rowRects[static_cast<std::size_t>(r)];
      hovers.push_back(Timed(popup, PopupEvent::Move(row.left + 20, row.top + 19)));
      present.push_back(popup.lastPresentedPixels());
    }
  }
  // Every page once with the icons still to load (read from the cache), then again.
  std::vector<double> firstPages, pages, wheels;
  while (state.scroll.canScrollDown) {
    firstPages.push_back(Timed(popup, PopupEvent::Key(kKeyPageDown)));
  }
  const std::size_t tables = images.MemoryBytes();
  while (state.scroll.canScrollUp) pages.push_back(Timed(popup, PopupEvent::Key(kKeyPageUp)));
  for (int i = 0; i < 40 && state.scroll.canScrollDown; ++i) {
    wheels.push_back(Timed(popup, PopupEvent::Wheel(false)));
  }
  popup.Handle(PopupEvent::Close());
  std::printf(
      "%s (%d members, %d rows a page)\n"
      "  the window's first list (one row):      %6.1f ms\n"
      "  open, row icons decoded (and cached):   %6.1f ms\n"
      "  open, row icons read from the cache:    %6.1f ms\n"
      "  open again:                             %6.1f ms\n"
      "  row hover:   median %5.2f ms, worst %5.2f ms (%.0f pixels presented)\n"
      "  PgDn, icons loading: median %5.2f ms, worst %5.2f ms (%zu pages)\n"
      "  PgUp, icons loaded:  median %5.2f ms, worst %5.2f ms\n"
      "  wheel:       median %5.2f ms, worst %5.2f ms\n"
      "  image tables after every page: %.2f MB\n",
      name, state.count, state.layout.rows, warmUp, decoded, cached, again, Median(hovers),
      Worst(hovers), Median(present), Median(firstPages), Worst(firstPages), firstPages.size(),
      Median(pages), Worst(pages), Median(wheels), Worst(wheels),
      static_cast<double>(tables) / (1024.0 * 1024.0));
  images.ReleaseAll();
}

// The dock's search hands its results to the list, as the program does.
class SearchActions : public IgnoredDockActions {
 public:
  PopupWindow* popup = nullptr;
  void ShowSearchResults(const std::vector<int>& items) override {
    popup->Handle(PopupEvent::Results(items));
  }
  void SearchListKey(int key) override { popup->Handle(PopupEvent::Key(key)); }
  void ClosePopup() override { popup->Handle(PopupEvent::Close()); }
};

// Typing into the search field with 1024 shortcuts: each key's whole handling, from the
// key to the field and the result list on screen (finding, drawing, rendering, presenting).
void SearchFigures(HINSTANCE instance, const std::vector<std::string>& pictures) {
  AppData data;
  data.screen = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  ApplyDefaultSettings(data.settings, data.screen);
  DefineBuiltInItems(data.store, data.settings, data.paths, "bench", false);
  ItemGroup& all = data.store.Groups[kAllProgramsGroup];
  for (int i = kFirstUserItem; i <= kLastItem; ++i) {
    ShortcutItem& item = data.store.Items[static_cast<std::size_t>(i)];
    item.ItemType = kItemGroupMember;
    item.ItemIndex = i;
    item.Title = "程序 Program " + std::to_string(i);
    item.LinkPath = "C:\\Programs\\tool" + std::to_string(i) + ".exe";
    item.IconFile = pictures[static_cast<std::size_t>(i) % pictures.size()];
    all.Members[static_cast<std::size_t>(++all.Count)] = i;
  }
  ImageTables images;
  LoadSkins(images, instance, "");
  NoSleep clock;
  SearchActions actions;
  const SystemAnsiCodec gb(936);
  DockWindow dock(instance, data, images, &actions);
  dock.SetClock(clock);
  dock.SetSearchCodec(&gb);
  if (!dock.Create({L"Verdana", L"Microsoft YaHei"})) {
    std::puts("dock window could not be made");
    return;
  }
  WinItemImages rows(data.store);
  rows.Attach(&images, &dock.geometry().metrics);
  rows.UseIconCache(FreshCacheFolder());
  PopupWindow popup(instance, data, images);
  popup.SetClock(clock);
  if (!popup.Create({L"Microsoft YaHei"}, dock.geometry(), dock.view().state(),
                    [&](int item) { rows.Ensure(item); })) {
    std::puts("popup window could not be made");
    return;
  }
  actions.popup = &popup;
  dock.Show();
  Pump();
  const auto timed = [&](const DockEvent& event) {
    const double start = NowMs();
    dock.Handle(event);
    Pump();
    return NowMs() - start;
  };
  timed(DockEvent::Key(kKeySearch, false, true));
  // The first keys find nearly every shortcut, the later ones a few; then Backspace.
  const std::string typed = "program 10";
  std::vector<double> first, keys, backs;
  for (int round = 0; round < 4; ++round) {
    for (const char c : typed) {
      const double ms = timed(DockEvent::Typed(std::string(1, c)));
      (round == 0 ? first : keys).push_back(ms);
    }
    for (std::size_t i = 0; i < typed.size(); ++i) {
      backs.push_back(timed(DockEvent::Key(kKeyBackspace)));
    }
  }
  timed(DockEvent::Typed("p"));
  const std::size_t most = dock.controller().searchResults().size();
  std::printf(
      "search among 1024 items, %zu found by \"p\" (a key: finding, field, list, presented)\n"
      "  first keys (row icons loading): median %5.2f ms, worst %5.2f ms\n"
      "  typing:                         median %5.2f ms, worst %5.2f ms\n"
      "  Backspace:                      median %5.2f ms, worst %5.2f ms\n",
      most, Median(first), Worst(first), Median(keys), Worst(keys), Median(backs), Worst(backs));
  timed(DockEvent::Key(kKeyEscape));
  images.ReleaseAll();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: popup_bench SYSICONS_FOLDER\n", stderr);
    return 2;
  }
  GdiplusSession gdiplus;
  if (!gdiplus.Start()) return 1;
  const std::vector<std::string> pictures = bench::PngFilesIn(argv[1]);
  if (pictures.empty()) return 1;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  Figures(instance, pictures, kAllProgramsGroup, "all-programs group");
  Figures(instance, pictures, 5, "36-member group");
  SearchFigures(instance, pictures);
  return 0;
}
