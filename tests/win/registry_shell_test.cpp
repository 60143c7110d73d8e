// The registry adapter and the shell utilities against the real system (run under Wine
// with code page 936).
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/registry.h"
#include "core/shell_utilities.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/handles.h"
#include "platform/win32/recycle_bin_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/shutdown_win.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/unicode.h"

namespace kivo {
namespace {

using namespace std::string_literals;

// A key of its own under HKEY_CURRENT_USER for every test, removed with all it holds.
class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, win::Widen(base).c_str()); }

  const std::string base = "Software\\Kivo 测试\\" + std::to_string(::GetTickCount64());
  win::WinRegistry registry;
  win::SystemAnsiCodec codec;
};

TEST_F(RegistryTest, ValuesReachTheSystemAsTheAnsiFunctionsWouldStoreThemAndComeBackWhole) {
  ASSERT_EQ(::GetACP(), 936u);
  const std::string gbk = "\xCE\xD2\xB5\xC4\xB5\xE7\xC4\xD4";  // 我的电脑
  const auto key = registry.CreateKey(RegistryRoot::CurrentUser, base + "\\深\\层");
  ASSERT_TRUE(key) << "missing parents are created";
  // The bytes as the port hands them over, and what the system holds as UTF-16. Binary
  // data and numbers are bytes, not text: nothing is converted.
  const std::tuple<std::uint32_t, std::string, std::wstring> cases[] = {
      {kRegSz, gbk + '\0', L"我的电脑"s + L'\0'},
      {kRegMultiSz, "a\0"s + gbk + "\0\0"s, L"a\0我的电脑\0\0"s},
      {kRegBinary, "\x00\xFF\xCE\xD2"s, L"\xFF00\xD2CE"},
  };
  for (const auto& [type, bytes, expected] : cases) {
    const std::string name = "值 " + std::to_string(type);
    ASSERT_TRUE(key->SetValue(name, type, bytes)) << type;
    DWORD kind = 0, size = 64;
    std::wstring data(32, L'\0');
    ::RegGetValueW(HKEY_CURRENT_USER, win::Widen(base + "\\深\\层").c_str(),
                   win::Widen(name).c_str(), RRF_RT_ANY | RRF_NOEXPAND, &kind, data.data(), &size);
    data.resize((size + 1) / sizeof(wchar_t));
    EXPECT_EQ(std::pair(kind, data), std::pair(static_cast<DWORD>(type), expected));
    EXPECT_EQ(key->QueryValue(name), (RegistryData{type, bytes})) << type;
  }

  // Values other programs stored in UTF-16 come back in the code page, a character the
  // code page lacks as its default character, and long ones whole, not cut at a first
  // buffer.
  for (const auto& [name, text] :
       {std::pair{L"foreign", L"我的电脑 ☃"s}, {L"long", L"x" + std::wstring(2500, L'中')}}) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, win::Widen(base).c_str(), name, REG_SZ,
                                text.c_str(), static_cast<DWORD>((text.size() + 1) * 2)),
              ERROR_SUCCESS);
  }
  const auto parent = registry.OpenKey(RegistryRoot::CurrentUser, base, RegistryAccess::Read);
  ASSERT_TRUE(parent);
  EXPECT_EQ(parent->QueryValue("FOREIGN"), (RegistryData{kRegSz, gbk + " ?\0"s}));
  EXPECT_EQ(parent->QueryValue("long").value_or(RegistryData{}).bytes.size(), 1u + 2 * 2500 + 1);
}

TEST_F(RegistryTest, ReadOnlyKeysAndKeysWithSubKeysAreNotChanged) {
  ASSERT_TRUE(
      WriteRegistryValue(registry, codec, "HKEY_CURRENT_USER\\" + base, "n", "-1", kRegDword));
  const auto readOnly = registry.OpenKey(RegistryRoot::CurrentUser, base, RegistryAccess::Read);
  ASSERT_TRUE(readOnly);
  EXPECT_FALSE(readOnly->SetValue("n", kRegSz, "x\0"s));
  EXPECT_FALSE(readOnly->DeleteValue("n"));
  EXPECT_EQ(readOnly->QueryValue("n"), (RegistryData{kRegDword, "\xFF\xFF\xFF\xFF"}));

  ASSERT_TRUE(registry.CreateKey(RegistryRoot::CurrentUser, base + "\\a\\b"));
  const auto key = registry.OpenKey(RegistryRoot::CurrentUser, base, RegistryAccess::Write);
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->DeleteSubKey("a")) << "a key with sub keys stays";
  EXPECT_TRUE(key->DeleteSubKey("a\\b") && key->DeleteSubKey("a"));
  // The system would take no name for the opened key itself, which has no sub keys now.
  for (const char* nothing : {"", "\\", "\\\\"}) EXPECT_FALSE(key->DeleteSubKey(nothing));
  EXPECT_TRUE(registry.OpenKey(RegistryRoot::CurrentUser, base, RegistryAccess::Read));
  EXPECT_TRUE(key->DeleteValue("n"));
  EXPECT_EQ(key->QueryValue("n"), std::nullopt);
}

// What the bins hold as (items, bytes); (-1, -1) when the shell cannot tell.
using Contents = std::pair<std::int64_t, std::int64_t>;
Contents Bin() {
  const auto bin = win::QueryRecycleBin();
  return bin ? Contents(bin->itemCount, bin->byteSize) : Contents(-1, -1);
}

// Puts files into the recycle bin the way Explorer deletes them.
void MoveToRecycleBin(const std::vector<std::pair<std::string, std::size_t>>& files) {
  std::wstring from;
  for (const auto& [name, size] : files) {
    const std::string path = win::WinSystemFolders().TempFolder() + name;
    ASSERT_TRUE(win::WinFileSystem().WriteFileFlushed(path, std::string(size, 'k')));
    from += win::Widen(path) + L'\0';
  }
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();  // with the string's own terminator: a double '\0'
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  ASSERT_EQ(::SHFileOperationW(&operation), 0);
}

TEST(RecycleBinOnTheSystem, CountsWhatWasDeletedAndEmptiesOnlyOnYes) {
  win::EmptyAllRecycleBins();  // whatever an earlier test left behind
  ASSERT_EQ(Bin(), Contents(0, 0));
  std::vector<ShellMessage> asked;
  const auto answer = [&](bool yes) {
    return [&asked, yes](const ShellMessage& message) { return asked.push_back(message), yes; };
  };
  MoveToRecycleBin({{"回收 一.txt", 1500}, {"回收 二.txt", 700}});
  ASSERT_EQ(Bin(), Contents(2, 2200));
  win::CheckRecycleBin(answer(false));
  win::EmptyRecycleBin(answer(false));
  EXPECT_EQ(asked,
            (std::vector{CheckRecycleBinMessage({2, 2200}), *EmptyRecycleBinQuestion({2, 2200})}));
  EXPECT_EQ(Bin(), Contents(2, 2200)) << "No keeps everything";
  win::EmptyRecycleBin(answer(true));
  EXPECT_EQ(Bin(), Contents(0, 0));
}

// Stand-ins for the shell's desktop windows, made by this process under the shell's
// class names (Wine's desktop has none of them).
class DesktopIconsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    for (const wchar_t* name : {L"Progman", L"SHELLDLL_DefView", L"WorkerW"}) {
      WNDCLASSW windowClass{};
      windowClass.lpfnWndProc = ::DefWindowProcW;
      windowClass.hInstance = ::GetModuleHandleW(nullptr);
      windowClass.lpszClassName = name;
      ::RegisterClassW(&windowClass);
    }
  }

  HWND Make(const wchar_t* className, HWND parent, const wchar_t* title = L"") {
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP;
    const HWND window = ::CreateWindowExW(0, className, title, style, 0, 0, 10, 10, parent, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    if (!parent) windows.emplace_back(window);  // children go with their parents
    return window;
  }

  static bool Shown(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

  ShortcutStore store;
  std::vector<win::UniqueWindow> windows;
};

TEST_F(DesktopIconsTest, TheListIsFoundHiddenAndShownAndTheCommandFollows) {
  EXPECT_FALSE(win::ShowDesktopIcons(true, store));
  // A desktop view without the icon list is no desktop list either; the "WorkerW"
  // windows are searched only when "Progman" has no view at all.
  const HWND view = Make(L"SHELLDLL_DefView", Make(L"Progman", nullptr));
  Make(WC_LISTVIEWW, view, L"Other");
  const HWND other =
      Make(WC_LISTVIEWW, Make(L"SHELLDLL_DefView", Make(L"WorkerW", nullptr)), L"FolderView");
  EXPECT_EQ(win::FindDesktopListView(), nullptr);
  const HWND list = Make(WC_LISTVIEWW, view, L"FolderView");
  EXPECT_EQ(win::FindDesktopListView(), list);
  EXPECT_TRUE(win::ShowDesktopIcons(true, store));
  EXPECT_FALSE(Shown(list));
  EXPECT_TRUE(Shown(other));
  store.Items[kDesktopIconsCommandItem].ItemType = kItemBuiltInCommand;
  EXPECT_TRUE(win::ShowDesktopIcons(false, store));
  EXPECT_TRUE(Shown(list));
  EXPECT_EQ(store.Items[kDesktopIconsCommandItem].Title, "总是隐藏桌面图标");
}

TEST(ShutdownOnTheSystem, ThePrivilegeIsEnabledAndTheProcessIsAskedLast) {
  ASSERT_TRUE(win::EnableShutdownPrivilege());
  HANDLE raw = nullptr;
  ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw));
  const win::UniqueKernelHandle token(raw);
  PRIVILEGE_SET wanted{1, PRIVILEGE_SET_ALL_NECESSARY, {}};
  ASSERT_TRUE(::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &wanted.Privilege[0].Luid));
  BOOL enabled = FALSE;
  ASSERT_TRUE(::PrivilegeCheck(token.get(), &wanted, &enabled));
  EXPECT_TRUE(enabled);
  ASSERT_TRUE(win::RequestLastShutdownTurn());
  DWORD level = 99, flags = 99;
  ASSERT_TRUE(::GetProcessShutdownParameters(&level, &flags));
  EXPECT_EQ(std::pair(level, flags), std::pair(DWORD{0}, DWORD{SHUTDOWN_NORETRY}));
}

}  // namespace
}  // namespace kivo
