// Test helper: speaks to a running Kivo Launcher the way Windows itself would.
//   kivoctl wait [ms]        wait until the program has started (its dock is shown)
//   kivoctl close [ms]       ask it to close (WM_CLOSE) and wait for the process to end
//   kivoctl endsession       send the log-off messages (WM_QUERYENDSESSION, WM_ENDSESSION)
//   kivoctl metrics          print the screen metrics the dock is laid out from
// Exit codes: 0 done, 2 no program running, 3 timed out, 4 refused.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kMainClass[] = L"KivoLauncher";

HWND FindProgram() {
  return ::FindWindowW(kMainClass, nullptr);
}

DWORD Milliseconds(int argc, wchar_t** argv, DWORD fallback) {
  return argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : fallback;
}

bool DockShown() {
  const HWND dock = ::FindWindowW(L"KivoLauncherDock", nullptr);
  return dock != nullptr && ::IsWindowVisible(dock);
}

int Wait(DWORD timeout) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout;
  while (!FindProgram() || !DockShown()) {
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
  if (!::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000,
                             &answer)) {
    return 3;
  }
  if (!answer) return 4;
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 30000,
                               &ignored)
             ? 0
             : 3;
}

int Metrics() {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  std::wprintf(L"cxfullscreen=%d cyfullscreen=%d cycaption=%d workleft=%ld worktop=%ld\n",
               ::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN),
               ::GetSystemMetrics(SM_CYCAPTION), work.left, work.top);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"wait") return Wait(Milliseconds(argc, argv, 30000));
  if (command == L"close") return Close(Milliseconds(argc, argv, 30000));
  if (command == L"endsession") return EndSession();
  if (command == L"metrics") return Metrics();
  std::fputws(L"usage: kivoctl wait|close [ms] | endsession\n", stderr);
  return 1;
}
