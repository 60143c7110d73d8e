#include "platform/win32/system_actions_win.h"

#include <powrprof.h>
#include <shellapi.h>
#include <shldisp.h>

#include <climits>
#include <utility>

#include "core/log.h"
#include "platform/win32/handles.h"
#include "platform/win32/recycle_bin_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

constexpr UINT_PTR kNoTimer = 0;
constexpr LPARAM kMonitorPowerOff = 2;

// One monitor request at a time; the timer runs on the thread that asked.
HWND monitorTarget = nullptr;
UINT_PTR monitorTimer = kNoTimer;

void CALLBACK MonitorOffNow(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
  ::KillTimer(nullptr, timer);
  monitorTimer = kNoTimer;
  if (monitorTarget != nullptr && ::IsWindow(monitorTarget)) {
    ::SendMessageW(monitorTarget, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorPowerOff);
  }
}

// COM for the calling thread for as long as the guard lives, when it was not there yet.
class ComApartment {
 public:
  ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

bool ShellToggleDesktop() {
  ComApartment apartment;
  UniqueCom<IShellDispatch4> shell;
  if (FAILED(::CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IShellDispatch4, shell.put_void()))) {
    return false;
  }
  return SUCCEEDED(shell->ToggleDesktop());
}

bool IsShellWindow(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  const std::wstring className(name);
  return className == L"Progman" || className == L"WorkerW" || className == L"Shell_TrayWnd" ||
         className == L"Shell_SecondaryTrayWnd";
}

// A window the user sees on the task bar: visible, not minimised, not owned, not a tool
// window, able to be minimised; the shell's own windows and this program's stay.
bool ShouldMinimise(HWND window) {
  if (!::IsWindowVisible(window) || ::IsIconic(window)) return false;
  if (::GetWindow(window, GW_OWNER) != nullptr) return false;
  const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  if ((style & WS_MINIMIZEBOX) == 0 || (exStyle & WS_EX_TOOLWINDOW) != 0) return false;
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  return process != ::GetCurrentProcessId() && !IsShellWindow(window);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) noexcept {
  try {
    if (ShouldMinimise(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  } catch (...) {
    LogCurrentException("listing the windows to minimise");
    return FALSE;  // out of memory: stop with what was found
  }
  return TRUE;
}

const wchar_t* OrNull(const std::optional<std::wstring>& text) {
  return text ? text->c_str() : nullptr;
}

std::optional<std::wstring> Widen(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return win::Widen(*text);
}

}  // namespace

WinSystemActions::WinSystemActions(HWND monitorWindow, AskUser ask)
    : monitorWindow_(monitorWindow), ask_(std::move(ask)) {}

int WinSystemActions::Execute(const ShellRequest& request) {
  const std::wstring verb = win::Widen(request.verb);
  const std::wstring file = win::Widen(request.file);
  const auto parameters = Widen(request.parameters);
  const auto directory = Widen(request.directory);
  const HINSTANCE result =
      ::ShellExecuteW(nullptr, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                      OrNull(parameters), OrNull(directory), request.show);
  const INT_PTR code = reinterpret_cast<INT_PTR>(result);
  return code > INT_MAX ? INT_MAX : static_cast<int>(code);
}

bool WinSystemActions::OpenWithDefaultVerb(const std::string& path) {
  const std::wstring file = win::Widen(path);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = nullptr;  // the type's default verb
  info.lpFile = file.c_str();
  info.lpParameters = L"";
  info.lpDirectory = L"";
  info.nShow = SW_SHOWNORMAL;
  const bool accepted = ::ShellExecuteExW(&info) != FALSE;
  // The process is not waited for; its handle is only closed.
  const UniqueKernelHandle process(info.hProcess);
  return accepted;
}

bool WinSystemActions::PathExists(const std::string& path) const {
  return ::GetFileAttributesW(win::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WinSystemActions::ShowMessage(const ShellMessage& message) {
  return ask_ ? ask_(message) : false;
}

void WinSystemActions::EndSession(std::uint32_t flags, std::uint32_t reason) {
  ::ExitWindowsEx(flags, reason);
}

void WinSystemActions::SleepComputer() {
  // Sleep, not hibernation; wake-up events stay allowed.
  ::SetSuspendState(FALSE, FALSE, FALSE);
}

void WinSystemActions::LockWorkstation() {
  ::LockWorkStation();
}

void WinSystemActions::MonitorOffSoon() {
  if (monitorWindow_ == nullptr) return;
  // The monitor goes off a second later, so that the click that asked for it does not
  // wake it again; a thread timer waits without holding up the messages.
  monitorTarget = monitorWindow_;
  if (monitorTimer != kNoTimer) ::KillTimer(nullptr, monitorTimer);
  monitorTimer = ::SetTimer(nullptr, 0, 1000, MonitorOffNow);
}

void WinSystemActions::ShowRunDialog() {
  // Exported by ordinal only.
  using RunFileDialog = void(WINAPI*)(HWND, HICON, LPCWSTR, LPCWSTR, LPCWSTR, UINT);
  const HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
  const FARPROC address = shell ? ::GetProcAddress(shell, MAKEINTRESOURCEA(61)) : nullptr;
  if (address == nullptr) return;
  reinterpret_cast<RunFileDialog>(reinterpret_cast<void*>(address))(nullptr, nullptr, nullptr,
                                                                    nullptr, nullptr, 0);
}

bool WinSystemActions::ShowDesktopIcons(bool hide) {
  return ShowDesktopIconList(hide);
}

void WinSystemActions::ToggleShowDesktop() {
  if (!ShellToggleDesktop()) ToggleWindowsOurselves();
}

void WinSystemActions::ToggleWindowsOurselves() {
  if (!minimised_.empty()) {
    // Only windows still minimised come back; one the user restored meanwhile stays.
    for (const HWND window : minimised_) {
      if (::IsWindow(window) && ::IsIconic(window)) ::ShowWindowAsync(window, SW_SHOWNOACTIVATE);
    }
    minimised_.clear();
    return;
  }
  std::vector<HWND> windows;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  // Asynchronously, so that a program that does not answer cannot hold up the dock.
  for (const HWND window : windows) ::ShowWindowAsync(window, SW_SHOWMINNOACTIVE);
  minimised_ = std::move(windows);
}

void WinSystemActions::EmptyRecycleBin() {
  win::EmptyRecycleBin(ask_);
}

void WinSystemActions::CheckRecycleBin() {
  win::CheckRecycleBin(ask_);
}

}  // namespace kivo::win
