// Icon figures under Wine: extracting one program icon, building the default ring of a first
// start, and loading icons the way the program does (the ring and templates at start-up, a
// popup's rows when it first opens) against loading a full store at once.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/settings.h"
#include "core/startup.h"
#include "dock/ring_geometry.h"
#include "gfx/win32/gdiplus_session.h"
#include "gfx/win32/image_tables.h"
#include "gfx/win32/item_icons_win.h"
#include "gfx/win32/item_images_win.h"
#include "gfx/win32/skins_win.h"
#include "items/builtin_items.h"
#include "items/default_groups.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/icon_extract_win.h"
#include "platform/win32/item_system_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/unicode.h"

using namespace kivo;
using namespace kivo::win;
using kivo::bench::NowMs;

namespace {

class Silent : public ItemPrompts {
 public:
  bool ConfirmReplaceShortcut() override { return true; }
  bool ConfirmDeleteGroup(bool) override { return true; }
  void TellStoreFull() override {}
  void TellPathNotStorable(const std::string&) override {}
};

void ExtractFigure() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::string png = Narrow(temp) + "kivo-bench-icon.png";
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  const std::string program = Narrow(windows) + "\\notepad.exe";
  std::vector<double> samples;
  for (int i = 0; i < 20; ++i) {
    const double start = NowMs();
    if (!ExtractResourceIcon(program, 0, png)) break;
    samples.push_back(NowMs() - start);
  }
  ::DeleteFileW(Widen(png).c_str());
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  std::printf("extract+save one program icon (notepad.exe): median %.2f ms, worst %.2f ms\n",
              samples[samples.size() / 2], samples.back());
}

// The default ring of a first start, built with the real system of this prefix.
void DefaultRingFigure() {
  WinFileSystem files;
  WinSystemFolders folders;
  WinItemSystem system;
  WinIconMaker icons;
  WinRegistry registry;
  SystemAnsiCodec codec;
  Silent prompts;
  AppData data;
  data.paths = BuildPaths(folders, files);
  WinItemImages images(data.store);
  ItemContext context{data.store, data.paths, data.settings, files,   system,
                      icons,      registry,   codec,         prompts, images};
  DefineBuiltInItems(data.store, data.settings, data.paths, system.UserName(), false);
  const double start = NowMs();
  BuildDefaultGroups(context, 6);
  int members = 0;
  for (int g = 3; g <= 9; ++g) members += data.store.Groups[static_cast<std::size_t>(g)].Count;
  std::printf("default ring of a first start (%d members, icons extracted): %.0f ms\n", members,
              NowMs() - start);
}

void ClearFolder(const std::string& folder) {
  WIN32_FIND_DATAW found{};
  const std::wstring wide = Widen(folder);
  const HANDLE find = ::FindFirstFileW((wide + L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do ::DeleteFileW((wide + found.cFileName).c_str());
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(wide.c_str());
}

// True when both are images of one size with the same premultiplied pixels.
bool SamePixels(Gdiplus::GpImage* a, Gdiplus::GpImage* b) {
  if (a == nullptr || b == nullptr || ImageSize(a) != ImageSize(b)) return false;
  const auto [width, height] = ImageSize(a);
  Gdiplus::GpRect all{0, 0, width, height};
  Gdiplus::BitmapData left{}, right{};
  auto* first = static_cast<Gdiplus::GpBitmap*>(a);
  auto* second = static_cast<Gdiplus::GpBitmap*>(b);
  if (gp::GdipBitmapLockBits(first, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB,
                             &left) != Gdiplus::Ok) {
    return false;
  }
  bool same = gp::GdipBitmapLockBits(second, &all, Gdiplus::ImageLockModeRead,
                                     PixelFormat32bppPARGB, &right) == Gdiplus::Ok;
  for (int y = 0; same && y < height; ++y) {
    same = std::memcmp(static_cast<const char*>(left.Scan0) + y * left.Stride,
                       static_cast<const char*>(right.Scan0) + y * right.Stride,
                       static_cast<std::size_t>(width) * 4) == 0;
  }
  if (right.Scan0 != nullptr) gp::GdipBitmapUnlockBits(second, &right);
  gp::GdipBitmapUnlockBits(first, &left);
  return same;
}

// An empty folder for the bench's icon cache, in the temporary folder.
std::string BenchCacheFolder() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::string folder = Narrow(temp) + "kivo-bench-icon-cache\\";
  ClearFolder(folder);
  return folder;
}

// A full store: 36 ring shortcuts and 896 group members, all with 256-px PNG icons.
void LoadFigures(const std::wstring& iconFolder) {
  const std::vector<std::string> pictures = bench::PngFilesIn(iconFolder);
  if (pictures.empty()) return;
  AppData data;
  data.screen = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  ApplyDefaultSettings(data.settings, data.screen);
  DefineBuiltInItems(data.store, data.settings, data.paths, "bench", false);
  for (int i = 1; i <= kLastItem; ++i) {
    ShortcutItem& item = data.store.Items[static_cast<std::size_t>(i)];
    if (i <= kLastRingGroup) {
      item.ItemType = kItemRingShortcut;
    } else if (i >= kFirstUserItem) {
      item.ItemType = kItemGroupMember;
    } else {
      continue;
    }
    item.IconFile = pictures[static_cast<std::size_t>(i) % pictures.size()];
  }
  const RingMetrics metrics = MakeRingMetrics(data.screen, data.settings);

  ImageTables startup;
  double start = NowMs();
  for (int i = 1; i <= kGroupTemplate; ++i) LoadItemIcon(data.store, startup, metrics, i);
  BuildRingVariants(startup, metrics);
  const double startupMs = NowMs() - start;
  // The same with the ring's copies in the icon cache: a first start writes them, a later
  // start reads them instead of decoding the files.
  const std::string ringCache = BenchCacheFolder();
  const auto ringStart = [&](ImageTables& tables) {
    const double began = NowMs();
    for (int i = 1; i <= kGroupTemplate; ++i)
      LoadItemIcon(data.store, tables, metrics, i, ringCache);
    BuildRingVariants(tables, metrics);
    return NowMs() - began;
  };
  ImageTables ringWriting, ringReading;
  const double ringWritingMs = ringStart(ringWriting);
  const double ringReadingMs = ringStart(ringReading);
  bool ringSame = true;
  for (int i = 1; i <= kLastRingGroup; ++i) {
    for (int variant = 0; variant <= 4; ++variant) {
      ringSame = ringSame && SamePixels(startup.Get({ImageTable::Icon, i, variant}),
                                        ringReading.Get({ImageTable::Icon, i, variant}));
    }
  }
  ClearFolder(ringCache);
  std::printf(
      "start-up icons writing the ring's cached copies: %.0f ms; a later start reading them: "
      "%.0f ms; identical to decoded ones (full and 4 variants): %s\n",
      ringWritingMs, ringReadingMs, ringSame ? "yes" : "NO");
  // A popup's rows: without the icon cache, then with it (a first start writes the small
  // copies, a later start reads them), then opened again.
  const auto popup = [&](ImageTables& tables, const std::string& cache, int rows) {
    WinItemImages lazy(data.store);
    lazy.Attach(&tables, &metrics);
    lazy.UseIconCache(cache);
    const double began = NowMs();
    for (int i = kFirstUserItem; i < kFirstUserItem + rows; ++i) lazy.Ensure(i);
    return NowMs() - began;
  };
  const std::string cache = BenchCacheFolder();
  ImageTables plain, firstStart, laterStart;
  const double plainMs = popup(plain, "", 36);
  const double writingMs = popup(firstStart, cache, 36);
  const double readingMs = popup(laterStart, cache, 36);
  const double againMs = popup(laterStart, cache, 36);
  ImageTables eighteen;
  const double eighteenMs = popup(eighteen, cache, 18);
  bool same = true;
  for (int i = kFirstUserItem; i < kFirstUserItem + 36; ++i) {
    same = same && SamePixels(plain.Get({ImageTable::Icon, i, kPopupVariant}),
                              laterStart.Get({ImageTable::Icon, i, kPopupVariant}));
  }
  std::printf(
      "start-up icons (items 1..42: 36 ring icons, templates): %.0f ms, image tables %.1f MB\n"
      "a popup of 36 rows, first open without the icon cache: %.0f ms (%.2f ms a row)\n"
      "a popup of 36 rows, first open writing the icon cache: %.0f ms\n"
      "a popup of 36 rows, first open of a later start (cache read): %.1f ms (%.2f ms a row); "
      "open again: %.2f ms\n"
      "a popup of 18 rows, first open of a later start: %.1f ms\n"
      "cached rows identical to decoded ones: %s\n",
      startupMs, static_cast<double>(startup.MemoryBytes()) / (1024.0 * 1024.0), plainMs,
      plainMs / 36, writingMs, readingMs, readingMs / 36, againMs, eighteenMs, same ? "yes" : "NO");

  // Every item a popup row: only the 32-pixel images stay.
  std::vector<std::int32_t> types;
  for (const ShortcutItem& item : data.store.Items) types.push_back(item.ItemType);
  for (int i = 1; i <= kLastItem; ++i) {
    data.store.Items[static_cast<std::size_t>(i)].ItemType = kItemGroupMember;
  }
  ImageTables members;
  WinItemImages all(data.store);
  all.Attach(&members, &metrics);
  all.UseIconCache(cache);
  start = NowMs();
  for (int i = 1; i <= kLastItem; ++i) all.Ensure(i);
  std::printf("1024 popup members ensured (%zu icon files): %.0f ms, image tables %.2f MB\n",
              pictures.size(), NowMs() - start,
              static_cast<double>(members.MemoryBytes()) / (1024.0 * 1024.0));
  for (std::size_t i = 0; i < types.size(); ++i) data.store.Items[i].ItemType = types[i];
  ClearFolder(cache);

  ImageTables everything;
  start = NowMs();
  for (int i = 1; i <= kLastItem; ++i) LoadItemIcon(data.store, everything, metrics, i);
  BuildRingVariants(everything, metrics);
  std::printf("for comparison, a full store loaded at once (36 + 896 icons): %.0f ms, %.1f MB\n",
              NowMs() - start, static_cast<double>(everything.MemoryBytes()) / (1024.0 * 1024.0));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: icon_bench SYSICONS_FOLDER\n", stderr);
    return 2;
  }
  GdiplusSession gdiplus;
  if (!gdiplus.Start()) return 1;
  ExtractFigure();
  DefaultRingFigure();
  LoadFigures(argv[1]);
  return 0;
}
