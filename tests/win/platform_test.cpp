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

// In a fresh folder with a Chinese name, to exercise the W calls.
TEST(FileSystem, WritesReplacesListsAndRefusesLargeReads) {
  win::WinFileSystem fs;
  const std::string folder = win::WinSystemFolders().TempFolder() + "kivo 测试 " +
                             std::to_string(::GetTickCount64()) + "\\";
  ASSERT_TRUE(fs.CreateFolder(folder));
  const std::string a = folder + "甲.cfg";
  const std::string b = folder + "乙.cfg";
  ASSERT_TRUE(fs.WriteFileFlushed(a, std::string("first\0x", 7)));
  ASSERT_TRUE(fs.WriteFileFlushed(b, "second"));
  EXPECT_TRUE(fs.FileExists(a) && fs.FolderExists(folder));
  EXPECT_FALSE(fs.FolderExists(a) || fs.FileExists(folder));
  EXPECT_EQ(fs.FileSize(a), 7u);
  EXPECT_EQ(fs.ReadFile(a, 7), std::string("first\0x", 7));
  EXPECT_FALSE(fs.ReadFile(a, 6)) << "larger than allowed";

  ASSERT_TRUE(fs.MoveReplacing(a, b));
  EXPECT_FALSE(fs.FileExists(a));
  EXPECT_EQ(fs.ReadFile(b, 100), std::string("first\0x", 7));
  EXPECT_FALSE(fs.MoveReplacing(a, b)) << "nothing to move";

  ASSERT_TRUE(fs.WriteFileFlushed(folder + "1.PNG", "p"));
  ASSERT_TRUE(fs.WriteFileFlushed(folder + "2.png", "p"));
  ASSERT_TRUE(fs.CreateFolder(folder + "sub.png"));
  auto names = fs.ListFiles(folder, ".png");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"1.PNG", "2.png"}));
  EXPECT_TRUE(fs.RemoveFile(b));
  EXPECT_FALSE(fs.RemoveFile(b) || fs.FileExists(b));
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
  EXPECT_TRUE(fs.FolderExists(paths.DataFolder) && fs.FolderExists(paths.UserIconFolder));
  EXPECT_EQ(paths.MenuFile, paths.DataFolder + "KivoMenu.cfg");
  EXPECT_EQ(paths.UserPicture, paths.UserIconFolder + "User Icon.ico");
}

TEST(Screen, ReportsTheVirtualDisplay) {
  const ScreenInfo screen = win::ReadScreenInfo();
  EXPECT_TRUE(screen.ScreenWidth > 0 && screen.ScreenHeight > 0);
  EXPECT_EQ(screen.ScreenWidthTwips, static_cast<int>(screen.ScreenWidth * screen.TwipsPerPixelX));
  EXPECT_LE(screen.WorkArea.Right - screen.WorkArea.Left, ::GetSystemMetrics(SM_CXSCREEN));
}

TEST(SingleInstance, TheSecondClaimFails) {
  win::SingleInstance first, second;
  EXPECT_TRUE(first.Acquire());
  EXPECT_FALSE(second.Acquire());
}

}  // namespace
}  // namespace kivo
