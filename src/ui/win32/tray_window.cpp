#include "ui/win32/tray_window.h"

// After windows.h, which it needs.
#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "core/log.h"
#include "platform/win32/unicode.h"
#include "ui/win32/program_icon.h"

namespace kivo::win {
namespace {

constexpr wchar_t kTrayClass[] = L"KivoLauncherTray";
constexpr wchar_t kTrayTitle[] = L"Kivo Launcher Tray";
constexpr wchar_t kBalloonTitle[] = L"Kivo Launcher";
// RegisterHotKey's flag that keeps a held combination from repeating (Windows 7 on).
constexpr UINT kNoRepeat = 0x4000;
constexpr int kFirstHotKeyId = 1;

struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static bool IsValid(HMENU h) { return h != nullptr; }
  static void Close(HMENU h) { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

// Copies a text into a fixed field, cut to leave room for the NUL.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text) {
  const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
  std::wmemcpy(field, text.c_str(), length);
  field[length] = L'\0';
}

}  // namespace

TrayWindow::TrayWindow(HINSTANCE instance, Parts parts)
    : instance_(instance), parts_(std::move(parts)) {}

TrayWindow::~TrayWindow() {
  Destroy();
}

bool TrayWindow::Create(const HotKeySet& hotKeys) {
  if (!RegisterWindowClass(instance_, {kTrayClass, nullptr, nullptr})) return false;
  // Top-level (not message-only), so that it hears the shell's "TaskbarCreated" broadcast;
  // never shown.
  window_.reset(
      CreateBoundWindow(instance_, kTrayClass, kTrayTitle, WS_EX_TOOLWINDOW, WS_POPUP, 0, 0, 0, 0));
  if (!window_) return false;
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  icon_.reset(static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(KIVO_PROGRAM_ICON),
                                              IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                              ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  if (!AddIcon()) Log(LogLevel::Warning, "The tray icon could not be added");
  RegisterHotKeys(hotKeys);
  ShowPendingBalloon();
  // A hot key can be lost across a lock of the session (another desktop held the input);
  // the unlock is the moment to check.
  sessionNotices_ =
      ::WTSRegisterSessionNotification(window_.get(), NOTIFY_FOR_THIS_SESSION) != FALSE;
  if (!sessionNotices_) {
    Log(LogLevel::Warning, "No session notifications: hot keys are not renewed after an unlock");
  }
  return true;
}

void TrayWindow::Destroy() {
  if (!window_) return;
  if (sessionNotices_) ::WTSUnRegisterSessionNotification(window_.get());
  sessionNotices_ = false;
  RemoveIcon();
  UnregisterHotKeys();
  window_.reset();
  icon_.reset();
}

bool TrayWindow::AddIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_.get();
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon_.get();
  CopyField(data.szTip,
            Widen(TrayTip(kProductVersionMajor, kProductVersionMinor, parts_.homePage)));
  iconShown_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return iconShown_;
}

void TrayWindow::RemoveIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_.get();
  data.uID = 0;
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  iconShown_ = false;
}

void TrayWindow::ShowPendingBalloon() {
  // Without an icon (no notification area yet) the balloon waits for the shell to start.
  if (!balloonPending_ || !iconShown_) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_.get();
  data.uID = 0;
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_WARNING;
  CopyField(data.szInfoTitle, kBalloonTitle);
  CopyField(data.szInfo, Widen(HotKeyConflictMessage(taken_)));
  if (::Shell_NotifyIconW(NIM_MODIFY, &data)) balloonPending_ = false;
}

bool TrayWindow::RegisterHotKeyId(int id, const HotKey& key) {
  if (::RegisterHotKey(window_.get(), id, key.modifiers | kNoRepeat, key.key)) return true;
  // A system older than the no-repeat flag refuses it as an invalid flag.
  if (::GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED) return false;
  return ::RegisterHotKey(window_.get(), id, key.modifiers, key.key) != FALSE;
}

void TrayWindow::RegisterHotKeys(const HotKeySet& hotKeys) {
  hotKeys_ = hotKeys;
  for (std::size_t i = 0; i < hotKeys.size(); ++i) {
    const HotKey& key = hotKeys[i];
    if (key.empty()) continue;  // turned off by the user
    const int id = kFirstHotKeyId + static_cast<int>(i);
    if (RegisterHotKeyId(id, key)) {
      registered_.push_back(id);
    } else {
      taken_.push_back(key);
      Log(LogLevel::Warning, "Hot key " + FormatHotKey(key) + " is held by another program");
    }
  }
  balloonPending_ = !taken_.empty();
}

void TrayWindow::RenewHotKeys() {
  for (std::size_t i = 0; i < hotKeys_.size(); ++i) {
    const HotKey& key = hotKeys_[i];
    if (key.empty()) continue;
    const int id = kFirstHotKeyId + static_cast<int>(i);
    const bool held = std::find(registered_.begin(), registered_.end(), id) != registered_.end();
    if (RegisterHotKeyId(id, key)) {
      // Either the system had dropped it, or its holder let it go: ours again.
      if (!held) registered_.push_back(id);
      std::erase(taken_, key);
      Log(LogLevel::Info, "Hot key " + FormatHotKey(key) + " registered again after an unlock");
      continue;
    }
    const DWORD error = ::GetLastError();
    // Still registered to this window: nothing was lost.
    if (held && error == ERROR_HOTKEY_ALREADY_REGISTERED) continue;
    if (held) {
      Log(LogLevel::Error, "Hot key " + FormatHotKey(key) +
                               " could not be checked after an unlock (error " +
                               std::to_string(error) + ")");
    }
  }
}

void TrayWindow::UnregisterHotKeys() {
  for (const int id : registered_) ::UnregisterHotKey(window_.get(), id);
  registered_.clear();
}

void TrayWindow::OnHotKey(WPARAM id) {
  const auto index = static_cast<long long>(id) - kFirstHotKeyId;
  if (index < 0 || index >= kHotKeyCount) return;
  switch (HotKeyDefinitions()[static_cast<std::size_t>(index)].action) {
    case HotKeyAction::ShowOrHideDock:
      parts_.dock(DockEvent::Simple(DockEvent::Kind::ShowOrHide));
      break;
    case HotKeyAction::SwitchDesktop:
      parts_.actions.RunCommand(kSwitchDesktopCommand);
      break;
    case HotKeyAction::CollapseDock:
      // Collapsing lays the disc behind every other window.
      parts_.control.MinWindows(kCollapseDock);
      break;
  }
}

void TrayWindow::ShowMenu() {
  if (inMenu_) return;  // a second right click while the menu is open
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return;
  for (const TrayMenuEntry& entry : kTrayMenu) {
    if (entry.command == TrayCommand::None) {
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      ::AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(entry.command),
                    Widen(entry.caption).c_str());
    }
  }
  POINT at{};
  ::GetCursorPos(&at);
  // The menu closes when the user clicks elsewhere only if its owner is in front.
  ::SetForegroundWindow(window_.get());
  inMenu_ = true;
  const int chosen =
      static_cast<int>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                        at.x, at.y, 0, window_.get(), nullptr));
  inMenu_ = false;
  // Lets the menu close for good before the next click on the icon.
  ::PostMessageW(window_.get(), WM_NULL, 0, 0);
  menu.reset();
  Run(TrayCommandFromId(chosen));
}

void TrayWindow::Run(TrayCommand command) {
  switch (command) {
    case TrayCommand::None:
      break;
    case TrayCommand::ChangeUser:
      parts_.control.ChangeUserNameAndPicture();
      break;
    case TrayCommand::Settings:
      parts_.control.ShowSettings();
      break;
    case TrayCommand::About:
      parts_.control.ShowAbout();
      break;
    case TrayCommand::HomePage:
      Open(parts_.homePage);
      break;
    case TrayCommand::Help:
      Open(parts_.helpPage);
      break;
    case TrayCommand::Exit:
      // An expanded dock fades out first; settings and store are written on the way out.
      parts_.control.ExitProgram();
      break;
  }
}

void TrayWindow::Open(const std::string& address) const {
  // A failure (no browser) leaves nothing to do: the shell has told the user if it could.
  ::ShellExecuteW(nullptr, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::optional<LRESULT> TrayWindow::OnMessage(HWND /*window*/, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    // The mouse message is the low word (the whole value before version 4 of the icon).
    switch (LOWORD(lParam)) {
      case WM_LBUTTONUP:
        parts_.dock(DockEvent::Simple(DockEvent::Kind::AltSpace));
        break;
      case WM_RBUTTONUP:
        ShowMenu();
        break;
      default:
        break;
    }
    return 0;
  }
  if (message == WM_HOTKEY) {
    OnHotKey(wParam);
    return 0;
  }
  if (message == WM_WTSSESSION_CHANGE) {
    if (wParam == WTS_SESSION_UNLOCK) RenewHotKeys();
    return 0;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    // The shell has (re)started: the old icon went with it.
    RemoveIcon();
    if (!AddIcon()) Log(LogLevel::Warning, "The tray icon could not be added again");
    ShowPendingBalloon();
    return 0;
  }
  return std::nullopt;
}

}  // namespace kivo::win

namespace kivo::win {

std::vector<HotKey> TrayWindow::ChangeHotKeys(const HotKeySet& hotKeys) {
  if (!window_) return {};
  UnregisterHotKeys();
  taken_.clear();
  RegisterHotKeys(hotKeys);
  // The dialog that asked for the change reports what was taken, there and then.
  balloonPending_ = false;
  return taken_;
}

}  // namespace kivo::win
