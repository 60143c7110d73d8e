// The Win32 adapters against the real system (run under Wine with code page 936).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/paths.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/screen_win.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/unicode.h"

namespace kivo {
namespace {

// A fresh folder under the temporary folder, with a Chinese name to exercise the W calls.
class TempFolder {
 public:
  TempFolder() {
    win::WinSystemFolders folders;
    path_ = folders.TempFolder() + "kivo 测试 " + std::to_string(::GetTickCount64()) + "\\";
    ::CreateDirectoryW(win::Widen(path_).c_str(), nullptr);
  }
  ~TempFolder() {
    win::WinFileSystem fs;
    for (const auto& name : fs.ListFiles(path_, "")) fs.RemoveFile(path_ + name);
    ::RemoveDirectoryW(win::Widen(path_).c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(AnsiCodePage, IsChineseAndRoundTripsFixedTexts) {
  ASSERT_EQ(::GetACP(), 936u) << "the tests run with LANG=zh_CN.UTF-8";
  win::SystemAnsiCodec codec;
  EXPECT_EQ(codec.Encode("我的电脑"), "\xCE\xD2\xB5\xC4\xB5\xE7\xC4\xD4");
  EXPECT_EQ(codec.Decode("\xCE\xD2\xB5\xC4\xB5\xE7\xC4\xD4"), "我的电脑");
  EXPECT_TRUE(codec.CanRepresent("C:\\程序\\a.exe"));
  EXPECT_FALSE(codec.CanRepresent("snow ☃"));
  // The last character would not fit whole: it is left out, never split.
  const std::string field = EncodeFixedText(codec, std::string(127, 'x') + "中", 128);
  EXPECT_EQ(field, std::string(127, 'x') + " ");
}

TEST(FileSystem, WritesReplacesListsAndRefusesLargeReads) {
  TempFolder folder;
  win::WinFileSystem fs;
  const std::string a = folder.path() + "甲.cfg";
  const std::string b = folder.path() + "乙.cfg";
  ASSERT_TRUE(fs.WriteFileFlushed(a, std::string("first\0x", 7)));
  ASSERT_TRUE(fs.WriteFileFlushed(b, "second"));
  EXPECT_TRUE(fs.FileExists(a));
  EXPECT_FALSE(fs.FolderExists(a));
  EXPECT_TRUE(fs.FolderExists(folder.path()));
  EXPECT_FALSE(fs.FileExists(folder.path()));
  EXPECT_EQ(fs.FileSize(a), 7u);
  EXPECT_EQ(fs.ReadFile(a, 7), std::string("first\0x", 7));
  EXPECT_FALSE(fs.ReadFile(a, 6)) << "larger than allowed";

  ASSERT_TRUE(fs.MoveReplacing(a, b));
  EXPECT_FALSE(fs.FileExists(a));
  EXPECT_EQ(fs.ReadFile(b, 100), std::string("first\0x", 7));
  EXPECT_FALSE(fs.MoveReplacing(a, b)) << "nothing to move";

  ASSERT_TRUE(fs.WriteFileFlushed(folder.path() + "1.PNG", "p"));
  ASSERT_TRUE(fs.WriteFileFlushed(folder.path() + "2.png", "p"));
  ASSERT_TRUE(fs.CreateFolder(folder.path() + "sub.png"));
  auto names = fs.ListFiles(folder.path(), ".png");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"1.PNG", "2.png"}));
  ::RemoveDirectoryW(win::Widen(folder.path() + "sub.png").c_str());
  EXPECT_TRUE(fs.RemoveFile(b));
  EXPECT_FALSE(fs.RemoveFile(b));
}

TEST(Paths, AreBuiltFromTheSystemFoldersAndCreated) {
  win::WinFileSystem fs;
  win::WinSystemFolders folders;
  const AppPaths paths = BuildPaths(folders, fs);
  for (const std::string* folder :
       {&paths.ProgramFolder, &paths.TempFolder, &paths.WindowsFolder, &paths.SystemFolder,
        &paths.DesktopFolder, &paths.DataFolder, &paths.UserIconFolder, &paths.ProfileFolder}) {
    ASSERT_FALSE(folder->empty());
    EXPECT_EQ(folder->back(), '\\') << *folder;
  }
  EXPECT_NE(paths.DataFolder.find("\\KivoSoft\\Kivo Launcher\\"), std::string::npos);
  EXPECT_TRUE(fs.FolderExists(paths.DataFolder));
  EXPECT_TRUE(fs.FolderExists(paths.UserIconFolder));
  EXPECT_EQ(paths.MenuFile, paths.DataFolder + "KivoMenu.cfg");
  EXPECT_EQ(paths.UserPicture, paths.UserIconFolder + "User Icon.ico");
  EXPECT_EQ(paths.SystemIconFolder, paths.ProgramFolder + "SysIcons\\");
  EXPECT_EQ(paths.CommonFilesFolder.substr(paths.CommonFilesFolder.size() - 9), "KivoSoft\\");
}

TEST(Screen, ReportsTheVirtualDisplay) {
  const ScreenInfo screen = win::ReadScreenInfo();
  EXPECT_GT(screen.ScreenWidth, 0);
  EXPECT_GT(screen.ScreenHeight, 0);
  EXPECT_EQ(screen.ScreenWidthTwips, static_cast<int>(screen.ScreenWidth * screen.TwipsPerPixelX));
  EXPECT_LE(screen.WorkArea.Right - screen.WorkArea.Left, ::GetSystemMetrics(SM_CXSCREEN));
}

TEST(SingleInstance, TheSecondClaimFails) {
  win::SingleInstance first;
  win::SingleInstance second;
  EXPECT_TRUE(first.Acquire());
  EXPECT_FALSE(second.Acquire());
}

}  // namespace
}  // namespace kivo
