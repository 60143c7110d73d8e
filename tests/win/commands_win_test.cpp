// Launching items and switching the desktop against the real shell (under Wine).
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "commands/commands.h"
#include "commands/dock_control.h"
#include "core/paths.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/system_actions_win.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/unicode.h"
#include "support/wine_path.h"

namespace kivo {
namespace {

// Waits up to 10 s for what `find` looks for to turn up.
template <typename Find>
auto Await(Find find) {
  auto found = find();
  for (int i = 0; i < 200 && !found; ++i, ::Sleep(50)) found = find();
  return found;
}

class NoDock : public DockControl {
 public:
  void EscCancel() override {}
  void MinWindows(int) override {}
  void ExitProgram() override {}
  void ShowSettings() override {}
  void ShowAbout() override {}
  void ChangeUserNameAndPicture() override {}
  void ReloadItemImage(int) override {}
};

class CommandsWin : public ::testing::Test {
 protected:
  void SetUp() override {
    paths_ = BuildPaths(folders_, files_);
    folder_ = paths_.TempFolder + "kivo 命令 " + std::to_string(::GetTickCount64()) + "\\";
    ASSERT_TRUE(files_.CreateFolder(folder_));
    helper_ = folder_ + "助手 app.exe";
    ASSERT_TRUE(::CopyFileW(win::Widen(test::WinePath(KIVO_COMMANDS_HELPER)).c_str(),
                            win::Widen(helper_).c_str(), FALSE));
  }

  Commands Make(SystemActions& system) {
    return Commands({store_, settings_, paths_, files_, 6, "tester", {}, {}}, system, dock_);
  }

  win::WinSystemFolders folders_;
  win::WinFileSystem files_;
  AppPaths paths_;
  ShortcutStore store_;
  Settings settings_;
  NoDock dock_;
  std::string folder_, helper_;
};

TEST_F(CommandsWin, AProgramStartsInItsOwnFolderWithItsArguments) {
  const std::string out = folder_ + "out 1.txt";
  ShortcutItem& item = store_.Items[200];
  item.TargetPath = "  " + helper_ + "  ";
  item.Arguments = "record \"" + out + "\" 参数 two";
  win::WinSystemActions system(nullptr, [](const ShellMessage&) { return false; });
  EXPECT_EQ(Make(system).LaunchItem(200), 1);
  const auto text = Await([&] { return files_.ReadFile(out, 1 << 16); });
  EXPECT_EQ(text, folder_.substr(0, folder_.size() - 1) + "\n参数\ntwo\n");
}

// Another program's window, minimised by our own switch-desktop and brought back.
TEST_F(CommandsWin, SwitchDesktopMinimisesOtherProgramsWindowsAndBringsThemBack) {
  const std::wstring title = L"Kivo helper " + std::to_wstring(::GetTickCount64());
  ::ShellExecuteW(nullptr, nullptr, win::Widen(helper_).c_str(),
                  (L"window \"" + title + L"\"").c_str(), nullptr, SW_SHOWNORMAL);
  const HWND window = Await([&] { return ::FindWindowW(L"KivoCommandsHelper", title.c_str()); });
  ASSERT_NE(window, nullptr);
  win::WinSystemActions system;
  for (const bool iconic : {true, false}) {
    system.ToggleWindowsOurselves();
    EXPECT_TRUE(Await([&] { return (::IsIconic(window) != FALSE) == iconic; })) << iconic;
  }
  ::PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace kivo
