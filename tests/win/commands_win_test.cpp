// Launching items and the built-in commands against the real shell (under Wine). The
// power commands are never run here.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "core/paths.h"
#include "items/builtin_items.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_actions_win.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/unicode.h"

namespace kivo {
namespace {

// A Linux path of the build as Wine shows it (drive Z: is the root).
std::string BuildPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// Reads a file once it is there (the helper renames it into place when complete).
std::optional<std::string> WaitForFile(const std::string& path, int milliseconds = 15000) {
  win::WinFileSystem files;
  for (int waited = 0; waited < milliseconds; waited += 100, ::Sleep(100)) {
    if (auto bytes = files.ReadFile(path, 1 << 16)) return bytes;
  }
  return std::nullopt;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

class NullDock : public DockControl {
 public:
  void EscCancel() override { calls.push_back("EscCancel"); }
  void MinWindows(int mode) override { calls.push_back("MinWindows " + std::to_string(mode)); }
  void ExitProgram() override {}
  void ShowSettings() override {}
  void ShowAbout() override {}
  void ChangeUserNameAndPicture() override {}
  void ReloadItemImage(int) override {}
  std::vector<std::string> calls;
};

class CommandsWin : public ::testing::Test {
 protected:
  void SetUp() override {
    paths_ = BuildPaths(folders_, files_);
    folder_ = paths_.TempFolder + "kivo 命令 " + std::to_string(::GetTickCount64()) + "\\";
    ASSERT_TRUE(files_.CreateFolder(folder_));
    helper_ = folder_ + "助手 app.exe";
    ASSERT_TRUE(::CopyFileW(win::Widen(BuildPath(KIVO_COMMANDS_HELPER)).c_str(),
                            win::Widen(helper_).c_str(), FALSE));
    settings_.AutoHide = 1;
  }

  Commands Make(SystemActions& system) {
    return Commands({store_, settings_, paths_, files_, 6, "tester", {}, {}}, system, dock_);
  }

  win::WinSystemFolders folders_;
  win::WinFileSystem files_;
  AppPaths paths_;
  ShortcutStore store_;
  Settings settings_;
  NullDock dock_;
  std::string folder_;
  std::string helper_;
};

TEST_F(CommandsWin, AProgramStartsInItsOwnFolderWithItsArguments) {
  const std::string out = folder_ + "out 1.txt";
  ShortcutItem& item = store_.Items[200];
  item.TargetPath = "  " + helper_ + "  ";
  item.Arguments = "record \"" + out + "\" 参数 two";
  item.RunWindow = 1;
  win::WinSystemActions system(nullptr, [](const ShellMessage&) { return false; });
  EXPECT_EQ(Make(system).LaunchItem(200), 1);
  const auto text = WaitForFile(out);
  ASSERT_TRUE(text);
  std::string directory = folder_.substr(0, folder_.size() - 1);
  EXPECT_EQ(Lines(*text), (std::vector<std::string>{directory, "参数", "two"}));
  EXPECT_EQ(dock_.calls, (std::vector<std::string>{"EscCancel", "MinWindows 2"}));
}

// Answers the box titled `title` from another thread and tells what it said.
std::optional<std::wstring> AnswerBox(const std::wstring& title) {
  HWND box = nullptr;
  for (int i = 0; i < 200 && box == nullptr; ++i, ::Sleep(50)) {
    box = ::FindWindowW(L"#32770", title.c_str());
  }
  if (box == nullptr) return std::nullopt;
  wchar_t text[1024] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  return std::wstring(text);
}

TEST_F(CommandsWin, AMissingProgramIsReportedInTheProblemBox) {
  const std::string gone = folder_ + "已删除.exe";
  store_.Items[201].TargetPath = gone + "   ";
  win::WinSystemActions system;  // the real message box
  auto watcher = std::async(std::launch::async, AnswerBox, L"Problem with Shortcut");
  EXPECT_EQ(Make(system).LaunchItem(201), 0);
  const auto shown = watcher.get();
  ASSERT_TRUE(shown) << "no box";
  EXPECT_EQ(win::Narrow(*shown),
            "The item '" + gone +
                "' that this shortcut refers to has been changed or removed, so this shortcut "
                "will no longer work properly.\r\n\r\n");
  EXPECT_EQ(dock_.calls, (std::vector<std::string>{"EscCancel", "MinWindows 2"}));
}

// Stand-ins for the shell's desktop windows (Wine's desktop has none).
TEST_F(CommandsWin, DesktopIconsCommandHidesAndShowsTheDesktopList) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  for (const wchar_t* name : {L"Progman", L"SHELLDLL_DefView"}) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    ::RegisterClassW(&windowClass);
  }
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  win::UniqueWindow progman(::CreateWindowExW(0, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 10,
                                              10, nullptr, nullptr, instance, nullptr));
  const HWND view = ::CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10,
                                      10, progman.get(), nullptr, instance, nullptr);
  const HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE, 0, 0,
                                      10, 10, view, nullptr, instance, nullptr);
  ASSERT_NE(list, nullptr);
  DefineBuiltInItems(store_, settings_, paths_, "tester", false);
  win::WinSystemActions system;
  Commands commands = Make(system);

  for (const bool visibleAfter : {false, true}) {
    commands.RunCommand(72);
    EXPECT_EQ((::GetWindowLongW(list, GWL_STYLE) & WS_VISIBLE) != 0, visibleAfter);
  }
}

// Another program's window, minimised by the switch-desktop command and brought back.
TEST_F(CommandsWin, SwitchDesktopMinimisesOtherProgramsWindowsAndBringsThemBack) {
  const std::wstring title = L"Kivo helper " + std::to_wstring(::GetTickCount64());
  std::wstring commandLine = L"\"" + win::Widen(helper_) + L"\" window \"" + title + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
  const win::UniqueKernelHandle processHandle(process.hProcess);
  const win::UniqueKernelHandle threadHandle(process.hThread);
  HWND window = nullptr;
  for (int i = 0; i < 200 && window == nullptr; ++i, ::Sleep(50)) {
    window = ::FindWindowW(L"KivoCommandsHelper", title.c_str());
  }
  ASSERT_NE(window, nullptr);
  const auto iconicSoon = [&](bool expected) {
    for (int i = 0; i < 100 && (::IsIconic(window) != FALSE) != expected; ++i) ::Sleep(50);
    return ::IsIconic(window) != FALSE;
  };

  win::WinSystemActions system;
  system.ToggleWindowsOurselves();
  EXPECT_TRUE(iconicSoon(true));
  system.ToggleWindowsOurselves();
  EXPECT_FALSE(iconicSoon(false));

  // The command itself (the shell's toggle, or ours where the shell has none).
  Commands commands = Make(system);
  commands.RunCommand(73);
  EXPECT_TRUE(iconicSoon(true));
  commands.RunCommand(73);
  EXPECT_FALSE(iconicSoon(false));

  ::TerminateProcess(process.hProcess, 0);
  ::WaitForSingleObject(process.hProcess, 5000);
}

}  // namespace
}  // namespace kivo
