// The item system against the real system: links written with the shell's own link object
// and read back, drives, folder listings, environment, version resources and shell icons.
// Files stay behind in the temporary folder: every run has a prefix of its own.
#include <windows.h>
// The COM and shell declarations need <windows.h> first.
#include <objbase.h>
#include <shlguid.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <thread>

#include "gfx/win32/gdiplus_session.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/handles.h"
#include "platform/win32/item_system_win.h"
#include "platform/win32/unicode.h"

namespace kivo {
namespace {

std::string SystemPath(const char* name) {  // "C:\windows\system32\<name>"
  wchar_t path[MAX_PATH] = {};
  ::GetSystemDirectoryW(path, MAX_PATH);
  return win::Narrow(path) + "\\" + name;
}

// A shell link written with the shell's own link object; COM is ended again afterwards.
bool WriteLink(const std::string& file, const ShellLinkData& data) {
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
  bool saved = false;
  {
    win::UniqueCom<IShellLinkW> link;
    win::UniqueCom<IPersistFile> persist;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, link.put_void())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.put_void()))) {
      link->SetPath(win::Widen(data.target).c_str());
      link->SetArguments(win::Widen(data.arguments).c_str());
      link->SetWorkingDirectory(win::Widen(data.workingDir).c_str());
      link->SetIconLocation(win::Widen(data.iconFile).c_str(), data.iconIndex);
      if (data.showCommand != 0) link->SetShowCmd(data.showCommand);
      link->SetDescription(win::Widen(data.description).c_str());
      saved = SUCCEEDED(persist->Save(win::Widen(file).c_str(), TRUE));
    }
  }
  ::CoUninitialize();
  return saved;
}

class ItemSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = win::Narrow(temp) + "kivo 测试 " + std::to_string(::GetTickCount64()) + "\\";
    ASSERT_TRUE(fs_.CreateFolder(folder_));
  }
  std::string Path(const std::string& name) const { return folder_ + name; }

  win::WinFileSystem fs_;
  win::WinItemSystem system_;
  std::string folder_;
};

TEST_F(ItemSystemTest, LinksGiveBackEveryFieldAndTheirTargetsExactly) {
  const ShellLinkData written{SystemPath("notepad.exe"),
                              folder_,
                              "/p \"说明 1.txt\"",
                              SystemPath("shell32.dll"),
                              3,
                              SW_SHOWNORMAL,
                              "记事本 notes"};
  ASSERT_TRUE(WriteLink(Path("记事本.lnk"), written));
  EXPECT_EQ(system_.ReadShellLink(Path("记事本.lnk")), written);

  // Hangul is outside code page 936: a path that went through ANSI would lose it.
  const std::string folder = Path("测试 한글");
  ASSERT_TRUE(fs_.CreateFolder(folder));
  for (const std::string& target : {folder, Path("不在 한\\gone.exe")}) {
    ASSERT_TRUE(WriteLink(Path("link.lnk"), {target, {}, {}, {}, 0, 0, {}}));
    EXPECT_EQ(system_.ReadShellLink(Path("link.lnk")).value_or(ShellLinkData{}).target, target);
  }
  // Other files are not links.
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("text.lnk"), "not a shell link, only some text"));
  for (const char* name : {"text.lnk", "missing.lnk"}) {
    EXPECT_FALSE(system_.ReadShellLink(Path(name)).has_value()) << name;
    EXPECT_EQ(system_.MsiShortcutTarget(Path(name)), "") << name;
  }
}

TEST_F(ItemSystemTest, ComIsLeftAsTheCallerHadIt) {
  ASSERT_TRUE(WriteLink(Path("a.lnk"), {SystemPath("notepad.exe"), {}, {}, {}, 0, 0, {}}));
  // On a new thread whose caller set up COM with `model` (or not at all), read the link,
  // then ask CoInitializeEx again: S_OK means nothing is left initialised, S_FALSE that
  // the caller's apartment still is. Once the caller has ended its own, nothing may be left.
  auto stateAfterReading = [&](bool callerInitialises, DWORD model) {
    HRESULT after = E_FAIL;
    std::thread([&] {
      const HRESULT caller = callerInitialises ? ::CoInitializeEx(nullptr, model) : E_FAIL;
      const bool read = system_.ReadShellLink(Path("a.lnk")).has_value();
      after = ::CoInitializeEx(nullptr, model);
      if (SUCCEEDED(after)) ::CoUninitialize();
      if (SUCCEEDED(caller)) ::CoUninitialize();
      const HRESULT last = ::CoInitializeEx(nullptr, model);
      if (SUCCEEDED(last)) ::CoUninitialize();
      if (!read || last != S_OK) after = E_FAIL;
    }).join();
    return after;
  };
  EXPECT_EQ(stateAfterReading(false, COINIT_APARTMENTTHREADED), S_OK);    // its own one ended
  EXPECT_EQ(stateAfterReading(true, COINIT_APARTMENTTHREADED), S_FALSE);  // not ended twice
  EXPECT_EQ(stateAfterReading(true, COINIT_MULTITHREADED), S_FALSE);      // joined, never ended
}

TEST_F(ItemSystemTest, DrivesAttributesFoldersAndEnvironment) {
  const auto drives = system_.LogicalDrives();
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    const bool listed = std::find(drives.begin(), drives.end(), root) != drives.end();
    EXPECT_EQ(system_.DriveType(root) != kDriveNoRoot, listed) << root;
  }
  EXPECT_EQ(system_.DriveType("C:\\"), kDriveFixed);

  ASSERT_TRUE(fs_.WriteFileFlushed(Path("文档.doc"), "b"));
  ASSERT_TRUE(fs_.CreateFolder(Path("子文件夹")));
  EXPECT_NE(system_.FileAttributes(folder_).value_or(0) & kAttributeDirectory, 0u);
  EXPECT_EQ(system_.FileAttributes(Path("文档.doc")).value_or(~0u) & kAttributeDirectory, 0u);
  EXPECT_FALSE(system_.FileAttributes(Path("missing")).has_value());
  const std::vector<std::string> expected = {"子文件夹", "文档.doc"};
  for (const std::string& folder : {folder_, folder_.substr(0, folder_.size() - 1)}) {
    auto entries = system_.FolderEntries(folder);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, expected) << folder;
  }
  EXPECT_TRUE(system_.FolderEntries(Path("missing")).empty());

  EXPECT_EQ(system_.ExpandPath("%KIVO_NOT_SET%\\测试"), "%KIVO_NOT_SET%\\测试");
  const std::string longValue = std::string(3000, 'x') + "测试";  // beyond a first guess
  ASSERT_TRUE(::SetEnvironmentVariableW(L"KIVO_LONG", win::Widen(longValue).c_str()));
  EXPECT_EQ(system_.ExpandPath("%KIVO_LONG%\\%KIVO_LONG%"), longValue + "\\" + longValue);
}

TEST_F(ItemSystemTest, VersionBlocksAndShellIcons) {
  // Wine's kernel32.dll has a version resource: VS_VERSIONINFO, its key after three WORDs.
  const auto block = system_.VersionBlock(SystemPath("kernel32.dll")).value_or("");
  EXPECT_EQ(block.substr(6, 4), std::string("V\0S\0", 4));
  EXPECT_FALSE(system_.VersionBlock(Path("missing.exe")).has_value());
  // The shell's icon, as a PNG.
  win::GdiplusSession gdiplus;
  ASSERT_TRUE(gdiplus.Start());
  win::WinIconMaker maker;
  ASSERT_TRUE(maker.SaveShellIcon(SystemPath("notepad.exe"), Path("图标.png")));
  EXPECT_EQ(fs_.ReadFile(Path("图标.png"), 1 << 20).value_or("").substr(1, 3), "PNG");
  EXPECT_FALSE(maker.SaveShellIcon(Path("missing.exe"), Path("missing.png")));
}

}  // namespace
}  // namespace kivo
