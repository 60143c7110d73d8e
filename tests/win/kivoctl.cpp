// Test helper: speaks to a running Kivo Launcher the way Windows itself would, and reads or
// rewrites its menu file. Commands: see wmain; "windows <class>" prints "<handle> <left> <top>
// <right> <bottom> <foreground 0/1> <extended style>", "monitors" "<bounds> <work area> <dpi>
// <primary 0/1>" a line; "figures" (of the program) and "ownfigures" (of kivoctl) "gdi=<n>
// user=<n> windows=<n> private=<bytes> workingset=<bytes> peakworkingset=<bytes>" (-1 unknown).
// Exit codes: 0 done, 2 no program running, 3 timed out, 4 refused.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#include <wtsapi32.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <string>

#include "core/store_file.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/process_figures.h"
#include "platform/win32/screen_win.h"
#include "platform/win32/unicode.h"

namespace {

HWND FindProgram() {
  return ::FindWindowW(L"KivoLauncher", nullptr);
}

// Sends as the system does, waiting at most `timeout` ms for the answer.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer = nullptr,
          UINT timeout = 10000) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, timeout,
                               answer ? answer : &ignored) != 0;
}

DWORD Milliseconds(int argc, wchar_t** argv, DWORD fallback) {
  return argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : fallback;
}

int Wait(DWORD timeout) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout;
  while (!FindProgram() || !::IsWindowVisible(::FindWindowW(L"KivoLauncherDock", nullptr))) {
    if (::GetTickCount64() >= deadline) return 3;
    ::Sleep(100);
  }
  return 0;
}

int Close(DWORD timeout) {
  const HWND window = FindProgram();
  if (!window) return 2;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (!process) return 0;
  const DWORD waited = ::WaitForSingleObject(process, timeout);
  ::CloseHandle(process);
  return waited == WAIT_OBJECT_0 ? 0 : 3;
}

int EndSession() {
  const HWND window = FindProgram();
  if (!window) return 2;
  DWORD_PTR answer = 0;
  if (!Send(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, &answer)) return 3;
  if (!answer) return 4;
  return Send(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, nullptr, 30000) ? 0 : 3;
}

int Metrics() {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  std::wprintf(L"cxfullscreen=%d cyfullscreen=%d cycaption=%d workleft=%ld worktop=%ld\n",
               ::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN),
               ::GetSystemMetrics(SM_CYCAPTION), work.left, work.top);
  return 0;
}

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

// Reads a menu file into `store`: 0, or the exit code of the failure.
int LoadStore(const std::string& path, kivo::ShortcutStore& store) {
  const auto bytes = kivo::win::WinFileSystem().ReadFile(path, kivo::kStoreFileSize);
  if (!bytes) return 2;
  const auto image = kivo::DecodeStoreFile(*bytes, kivo::win::SystemAnsiCodec());
  if (!image) return 4;
  store = image->store;
  return 0;
}

int SaveStore(const std::string& path, const kivo::ShortcutStore& store) {
  const std::string bytes = kivo::EncodeStoreFile(store, kivo::win::SystemAnsiCodec());
  return kivo::win::WinFileSystem().WriteFileFlushed(path, bytes) ? 0 : 4;
}

// One line per used item ("item|number|type|class|title|link path|target|icon file|
// arguments") and per ring group ("group|slot|count|member,member,...").
int Store(const std::wstring& file) {
  kivo::ShortcutStore store;
  if (const int failed = LoadStore(kivo::win::Narrow(file), store)) return failed;
  for (int n = 0; n <= kivo::kLastItem; ++n) {
    const kivo::ShortcutItem& item = store.Items[static_cast<std::size_t>(n)];
    if (item.ItemType == kivo::kItemUnused) continue;
    PrintLine("item|" + std::to_string(n) + "|" + std::to_string(item.ItemType) + "|" +
              std::to_string(item.ItemClass) + "|" + item.Title.str() + "|" + item.LinkPath.str() +
              "|" + item.TargetPath.str() + "|" + item.IconFile.str() + "|" + item.Arguments.str());
  }
  for (int g = kivo::kFirstRingGroup; g <= kivo::kLastRingGroup; ++g) {
    const kivo::ItemGroup& group = store.Groups[static_cast<std::size_t>(g)];
    std::string members;
    for (int i = 1; i <= group.Count; ++i) {
      if (i > 1) members += ",";
      members += std::to_string(group.Members[static_cast<std::size_t>(i)]);
    }
    PrintLine("group|" + std::to_string(g) + "|" + std::to_string(group.Count) + "|" + members);
  }
  std::fflush(stdout);
  return 0;
}

// setitem <file> <item> <type> <title> <target> [args] [run window] [icon file]; a ring
// slot's group keeps only the item itself.
int SetItem(int argc, wchar_t** argv) {
  if (argc < 7) return 1;
  const std::string path = kivo::win::Narrow(argv[2]);
  kivo::ShortcutStore store;
  if (const int failed = LoadStore(path, store)) return failed;
  const int number = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
  if (number < 0 || number > kivo::kLastItem) return 1;
  kivo::ShortcutItem& item = store.Items[static_cast<std::size_t>(number)];
  item = kivo::ShortcutItem{};
  item.ItemType = static_cast<std::int32_t>(std::wcstol(argv[4], nullptr, 10));
  item.ItemIndex = number;
  item.Title = kivo::win::Narrow(argv[5]);
  item.TargetPath = kivo::win::Narrow(argv[6]);
  item.LinkPath = kivo::win::Narrow(argv[6]);
  if (argc > 7) item.Arguments = kivo::win::Narrow(argv[7]);
  if (argc > 8) item.RunWindow = static_cast<std::int32_t>(std::wcstol(argv[8], nullptr, 10));
  if (argc > 9) item.IconFile = kivo::win::Narrow(argv[9]);
  if (number <= kivo::kLastRingGroup) store.Groups[static_cast<std::size_t>(number)].Count = 0;
  return SaveStore(path, store);
}

int OwnFigures() {
  using kivo::win::ProcessFigure;
  using kivo::win::ReadProcessFigure;
  std::printf("gdi=%lld user=%lld windows=%lld private=%lld workingset=%lld peakworkingset=%lld\n",
              static_cast<long long>(ReadProcessFigure(ProcessFigure::GdiObjects)),
              static_cast<long long>(ReadProcessFigure(ProcessFigure::UserObjects)),
              static_cast<long long>(ReadProcessFigure(ProcessFigure::Windows)),
              static_cast<long long>(ReadProcessFigure(ProcessFigure::PrivateBytes)),
              static_cast<long long>(ReadProcessFigure(ProcessFigure::WorkingSet)),
              static_cast<long long>(ReadProcessFigure(ProcessFigure::PeakWorkingSet)));
  std::fflush(stdout);
  return 0;
}

int FillStore(const std::wstring& file, const std::wstring& iconFolder) {
  const std::string path = kivo::win::Narrow(file);
  kivo::ShortcutStore store;
  if (const int failed = LoadStore(path, store)) return failed;
  const std::string folder = kivo::win::Narrow(iconFolder) + "\\";
  const auto shortcut = [&](kivo::ShortcutItem& item, int number, std::int32_t type) {
    item = kivo::ShortcutItem{};
    item.ItemType = type;
    item.ItemIndex = number;
    item.Title = "Item " + std::to_string(number);
    item.LinkPath = "C:\\windows\\notepad.exe";
    item.TargetPath = item.LinkPath;
    item.IconFile = folder + std::to_string(number) + ".png";
  };
  // Slots 4..6 groups of 12 members each, the other slots shortcuts, the rest of the items
  // in the All Programs group.
  int next = kivo::kFirstUserItem;
  for (int n = kivo::kFirstRingGroup + 1; n <= kivo::kLastRingGroup; ++n) {
    kivo::ItemGroup& group = store.Groups[static_cast<std::size_t>(n)];
    group.Count = 0;
    if (n > 6) {
      shortcut(store.Items[static_cast<std::size_t>(n)], n, kivo::kItemRingShortcut);
      continue;
    }
    shortcut(store.Items[static_cast<std::size_t>(n)], n, kivo::kItemGroup);
    store.Items[static_cast<std::size_t>(n)].LinkPath = "";
    store.Items[static_cast<std::size_t>(n)].TargetPath = "";
    for (int i = 0; i < 12; ++i, ++next) {
      shortcut(store.Items[static_cast<std::size_t>(next)], next, kivo::kItemGroupMember);
      group.Members[static_cast<std::size_t>(++group.Count)] = next;
    }
  }
  store.Items[kivo::kAllProgramsGroup].IconFile = folder + "3.png";
  kivo::ItemGroup& all = store.Groups[kivo::kAllProgramsGroup];
  all.Count = 0;
  for (; next <= kivo::kLastItem; ++next) {
    shortcut(store.Items[static_cast<std::size_t>(next)], next, kivo::kItemGroupMember);
    all.Members[static_cast<std::size_t>(++all.Count)] = next;
  }
  return SaveStore(path, store);
}

int Recycle(const std::wstring& path) {
  std::wstring from = path;
  from.push_back(L'\0');  // the list ends with two NULs
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted ? 0 : 4;
}

int HoldHotKey(int argc, wchar_t** argv) {
  if (argc < 5) return 1;
  const auto modifiers = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
  const auto key = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10));
  const auto milliseconds = static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 10));
  if (!::RegisterHotKey(nullptr, 1, modifiers, key)) return 4;
  std::fputws(L"held\n", stdout);
  std::fflush(stdout);
  ::Sleep(milliseconds);
  ::UnregisterHotKey(nullptr, 1);
  return 0;
}

int Tray(const std::wstring& what) {
  const HWND tray = ::FindWindowW(L"KivoLauncherTray", nullptr);
  if (!tray) return 2;
  if (what == L"dropicon") {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = tray;
    data.uID = 0;
    return ::Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 4;
  }
  UINT message = 0;
  WPARAM wParam = 0;
  if (what == L"taskbarcreated") {
    message = ::RegisterWindowMessageW(L"TaskbarCreated");
  } else if (what == L"unlock") {
    message = WM_WTSSESSION_CHANGE;
    wParam = WTS_SESSION_UNLOCK;
  } else {
    return 1;
  }
  return Send(tray, message, wParam, 0) ? 0 : 3;
}

int Windows(const std::wstring& className) {
  const HWND foreground = ::GetForegroundWindow();
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, className.c_str(), nullptr)) != nullptr) {
    if (!::IsWindowVisible(window)) continue;
    RECT r{};
    ::GetWindowRect(window, &r);
    std::wprintf(L"%llu %ld %ld %ld %ld %d %lu\n",
                 static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)), r.left,
                 r.top, r.right, r.bottom, window == foreground ? 1 : 0,
                 static_cast<unsigned long>(::GetWindowLongPtrW(window, GWL_EXSTYLE)));
  }
  std::fflush(stdout);
  return 0;
}

int Figures() {
  const HWND window = FindProgram();
  if (!window) return 2;
  const UINT message = ::RegisterWindowMessageW(L"KivoLauncherProcessFigure");
  const char* const names[] = {"gdi", "user", "windows", "private", "workingset", "peakworkingset"};
  std::string line;
  for (std::size_t figure = 0; figure < std::size(names); ++figure) {
    DWORD_PTR answer = 0;
    if (!Send(window, message, figure, 0, &answer)) return 3;
    if (!line.empty()) line += ' ';
    line += std::string(names[figure]) + "=" +
            std::to_string(static_cast<long long>(static_cast<LRESULT>(answer)));
  }
  PrintLine(line);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int Monitors() {
  for (const kivo::MonitorArea& m : kivo::win::ReadMonitors()) {
    std::wprintf(L"%d %d %d %d %d %d %d %d %d %d\n", m.Bounds.Left, m.Bounds.Top, m.Bounds.Right,
                 m.Bounds.Bottom, m.Work.Left, m.Work.Top, m.Work.Right, m.Work.Bottom, m.Dpi,
                 m.Primary ? 1 : 0);
  }
  std::fflush(stdout);
  return 0;
}

int DisplayChange() {
  const LPARAM size = MAKELPARAM(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, size, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  // Rectangles and dpi in real pixels, as the program (which declares itself aware) sees them.
  ::SetProcessDPIAware();
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"wait") return Wait(Milliseconds(argc, argv, 30000));
  if (command == L"close") return Close(Milliseconds(argc, argv, 30000));
  if (command == L"endsession") return EndSession();
  if (command == L"metrics") return Metrics();
  if (command == L"store" && argc > 2) return Store(argv[2]);
  if (command == L"setitem") return SetItem(argc, argv);
  if (command == L"recycle" && argc > 2) return Recycle(argv[2]);
  if (command == L"holdhotkey") return HoldHotKey(argc, argv);
  if (command == L"windows" && argc > 2) return Windows(argv[2]);
  if (command == L"tray" && argc > 2) return Tray(argv[2]);
  if (command == L"monitors") return Monitors();
  if (command == L"displaychange") return DisplayChange();
  if (command == L"figures") return Figures();
  if (command == L"ownfigures") return OwnFigures();
  if (command == L"fillstore" && argc > 3) return FillStore(argv[2], argv[3]);
  std::fputws(L"usage: kivoctl wait|close [ms] | endsession\n", stderr);
  return 1;
}
