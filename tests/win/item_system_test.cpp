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
#include <cstring>
#include <set>
#include <thread>

#include "core/text.h"
#include "gfx/win32/gdiplus_session.h"
#include "link_writer.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/gdiplus_api.h"
#include "platform/win32/handles.h"
#include "platform/win32/item_system_win.h"
#include "platform/win32/unicode.h"
#include "support/shell_link_builder.h"

namespace kivo {
namespace {

std::string SystemPath(const char* name) {  // "C:\windows\system32\<name>"
  wchar_t path[MAX_PATH] = {};
  ::GetSystemDirectoryW(path, MAX_PATH);
  return win::Narrow(path) + "\\" + name;
}

using testing::WriteLink;

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
  const ShellLinkData written{
      SystemPath("notepad.exe"), folder_,       "/p \"说明 1.txt\"", SystemPath("shell32.dll"), 3,
      SW_SHOWMINNOACTIVE,        "记事本 notes"};
  ASSERT_TRUE(WriteLink(Path("记事本.lnk"), written));
  auto read = system_.ReadShellLink(Path("记事本.lnk"));
  ASSERT_TRUE(read.has_value());
  // Wine 8 saves the show command, but its loader ignores it and reports SW_SHOWNORMAL.
  const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
  EXPECT_EQ(read->showCommand, wine ? SW_SHOWNORMAL : SW_SHOWMINNOACTIVE);
  read->showCommand = written.showCommand;
  EXPECT_EQ(*read, written);
  EXPECT_EQ(system_.MsiShortcutTarget(Path("记事本.lnk")), "");

  // Hangul is outside code page 936: a path that went through ANSI would lose it.
  const std::string folder = Path("测试 한글");
  const std::string file = folder + "\\说明 ü.txt";
  ASSERT_TRUE(fs_.CreateFolder(folder));
  ASSERT_TRUE(fs_.WriteFileFlushed(file, "text"));
  for (const std::string& target : {file, folder, Path("不在 한\\gone.exe")}) {
    ASSERT_TRUE(WriteLink(Path("link.lnk"), {target, {}, {}, {}, 0, 0, {}}));
    EXPECT_EQ(system_.ReadShellLink(Path("link.lnk")).value_or(ShellLinkData{}).target, target);
  }

  // Other files are not links.
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("text.lnk"), "not a shell link, only some text"));
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("empty.lnk"), ""));
  for (const char* name : {"text.lnk", "empty.lnk", "missing.lnk"}) {
    EXPECT_FALSE(system_.ReadShellLink(Path(name)).has_value()) << name;
    EXPECT_EQ(system_.MsiShortcutTarget(Path(name)), "") << name;
  }
}

// Links with the fields Windows and older tools write, built byte by byte: the shell under
// Wine reads their item lists as nonsense or cuts their paths; the real target is found.
TEST_F(ItemSystemTest, LinksWrittenByWindowsGiveTheirRealTarget) {
  const win::SystemAnsiCodec codec;
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  const std::string notepad = win::Narrow(windows) + "\\notepad.exe";
  const std::string desktopFile = "C:\\users\\Public\\Desktop\\kivo x.txt";
  for (const char* folder : {"C:\\users\\Public", "C:\\users\\Public\\Desktop"})
    ASSERT_TRUE(fs_.CreateFolder(folder) || fs_.FolderExists(folder)) << folder;
  ASSERT_TRUE(fs_.WriteFileFlushed(desktopFile, "x"));
  const std::string wideFolder = Path("한글 文件");
  ASSERT_TRUE(fs_.CreateFolder(wideFolder));
  ASSERT_TRUE(fs_.WriteFileFlushed(wideFolder + "\\说明.txt", "x"));
  ASSERT_TRUE(fs_.CreateFolder(Path("docs")));
  ASSERT_TRUE(fs_.CreateFolder(Path("links")));
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("docs\\r.txt"), "r"));

  using testing::ShellLinkFields;
  // Each case names only the fields its link has; the rest keep their defaults.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
  const struct {
    const char* what;
    ShellLinkFields fields;
    std::string target;
  } cases[] = {
      {"item list and location block with a suffix",
       {.idList = testing::WindowsItemList('C', {"Users", "Public", "Desktop", "KIVOX~1.TXT"},
                                           {"Users", "Public", "Desktop", "kivo x.txt"}),
        .linkInfo = testing::LocalInfo("C:\\Users\\", "Public\\Desktop\\kivo x.txt"),
        .relativePath = "..\\..\\..\\Public\\Desktop\\kivo x.txt",
        .workingDir = "C:\\Users\\Public\\Desktop"},
       desktopFile},
      {"Unicode location block",
       {.linkInfo = testing::UnicodeInfo(codec.Encode(wideFolder + "\\"), "", wideFolder + "\\",
                                         "说明.txt")},
       wideFolder + "\\说明.txt"},
      {"location block only",
       {.linkInfo = testing::LocalInfo("C:\\kivo missing\\tool.exe", "")},
       "C:\\kivo missing\\tool.exe"},
      {"relative path only", {.relativePath = "..\\docs\\r.txt"}, Path("docs\\r.txt")},
      {"environment block only", {.environmentTarget = "%windir%\\notepad.exe"}, notepad},
      // The recycle bin: a shell-namespace item, no file-system path at all.
      {"shell-namespace item",
       {.idList = testing::IdItem(std::string("\x1F\x58\x40\xF0\x5F\x64\x81\x50\x1B\x10\x9F"
                                              "\x08\x00\xAA\x00\x2F\x95\x4E",
                                              18)) +
                  std::string(2, '\0')},
       ""},
  };
#pragma GCC diagnostic pop
  for (const auto& c : cases) {
    const std::string link = Path("links\\") + c.what + ".lnk";
    ASSERT_TRUE(fs_.WriteFileFlushed(link, testing::BuildShellLink(c.fields))) << c.what;
    const auto read = system_.ReadShellLink(link);
    ASSERT_TRUE(read.has_value()) << c.what;
    EXPECT_EQ(AsciiUpper(read->target), AsciiUpper(c.target)) << c.what;
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
  EXPECT_EQ(system_.DriveType("C:\\"), kDriveFixed);
  const auto drives = system_.LogicalDrives();
  EXPECT_NE(std::find(drives.begin(), drives.end(), "C:\\"), drives.end());
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    const bool listed = std::find(drives.begin(), drives.end(), root) != drives.end();
    EXPECT_EQ(system_.DriveType(root) != kDriveNoRoot, listed) << root;
  }

  ASSERT_TRUE(fs_.WriteFileFlushed(Path("a.txt"), "a"));
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("文档.doc"), "b"));
  ASSERT_TRUE(fs_.CreateFolder(Path("子文件夹")));
  EXPECT_NE(system_.FileAttributes(folder_).value_or(0) & kAttributeDirectory, 0u);
  EXPECT_EQ(system_.FileAttributes(Path("文档.doc")).value_or(~0u) & kAttributeDirectory, 0u);
  EXPECT_FALSE(system_.FileAttributes(Path("missing")).has_value());
  const std::vector<std::string> expected = {"a.txt", "子文件夹", "文档.doc"};
  for (const std::string& folder : {folder_, folder_.substr(0, folder_.size() - 1)}) {
    auto entries = system_.FolderEntries(folder);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, expected) << folder;
  }
  EXPECT_TRUE(system_.FolderEntries(Path("子文件夹")).empty());
  EXPECT_TRUE(system_.FolderEntries(Path("missing")).empty());

  const std::string notepad = system_.ExpandPath("%SystemRoot%\\notepad.exe");
  EXPECT_EQ(system_.FileAttributes(notepad).value_or(~0u) & kAttributeDirectory, 0u) << notepad;
  EXPECT_EQ(system_.ExpandPath("%KIVO_NOT_SET%\\测试"), "%KIVO_NOT_SET%\\测试");
  const std::string longValue = std::string(3000, 'x') + "测试";  // beyond a first guess
  ASSERT_TRUE(::SetEnvironmentVariableW(L"KIVO_LONG", win::Widen(longValue).c_str()));
  EXPECT_EQ(system_.ExpandPath("%KIVO_LONG%\\%KIVO_LONG%"), longValue + "\\" + longValue);
  EXPECT_FALSE(system_.UserName().empty());
}

TEST_F(ItemSystemTest, VersionBlocksAndShellIcons) {
  // Wine's notepad.exe has no version resource; its kernel32.dll has one. VS_VERSIONINFO:
  // its length, two more WORDs, then its key in UTF-16.
  const auto block = system_.VersionBlock(SystemPath("kernel32.dll"));
  ASSERT_TRUE(block.has_value());
  ASSERT_GT(block->size(), 6 + sizeof(L"VS_VERSION_INFO"));
  std::uint16_t length = 0;
  std::memcpy(&length, block->data(), sizeof length);
  EXPECT_LE(length, block->size());
  EXPECT_EQ(std::memcmp(block->data() + 6, L"VS_VERSION_INFO", sizeof(L"VS_VERSION_INFO")), 0);
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("plain.exe"), "MZ but no program"));
  EXPECT_FALSE(system_.VersionBlock(Path("plain.exe")).has_value());
  EXPECT_FALSE(system_.VersionBlock(Path("missing.dll")).has_value());

  // The shell's icon is a PNG that keeps its transparency.
  win::GdiplusSession gdiplus;
  ASSERT_TRUE(gdiplus.Start());
  win::WinIconMaker maker;
  ASSERT_TRUE(maker.SaveShellIcon(SystemPath("notepad.exe"), Path("图标.png")));
  Gdiplus::GpBitmap* raw = nullptr;
  ASSERT_EQ(win::gp::GdipCreateBitmapFromFile(win::Widen(Path("图标.png")).c_str(), &raw),
            Gdiplus::Ok);
  const win::GpBitmapPtr bitmap(raw);
  const auto [width, height] = win::ImageSize(bitmap.get());
  std::set<Gdiplus::ARGB> alphas;
  for (int i = 0; i < width * height; ++i) {
    Gdiplus::ARGB pixel = 0;
    win::gp::GdipBitmapGetPixel(raw, i % width, i / width, &pixel);
    alphas.insert(pixel >> 24);
  }
  EXPECT_TRUE(alphas.count(0) && alphas.count(255)) << "clear and opaque pixels";
  EXPECT_FALSE(maker.SaveShellIcon(Path("missing.exe"), Path("missing.png")));
  EXPECT_FALSE(fs_.FileExists(Path("missing.png")));
}

}  // namespace
}  // namespace kivo
