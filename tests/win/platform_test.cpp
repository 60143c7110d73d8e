// The Win32 adapters against the real system (run under Wine with code page 936).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/screen_win.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/system_folders_win.h"

namespace kivo {
namespace {

TEST(AnsiCodePage, IsChinese) {
  ASSERT_EQ(::GetACP(), 936u) << "the tests run with LANG=zh_CN.UTF-8";
  win::SystemAnsiCodec codec;
  EXPECT_EQ(codec.Encode("我的电脑"), "\xCE\xD2\xB5\xC4\xB5\xE7\xC4\xD4");
  EXPECT_EQ(codec.Decode("\xCE\xD2\xB5\xC4\xB5\xE7\xC4\xD4"), "我的电脑");
  EXPECT_TRUE(codec.CanRepresent("C:\\程序\\a.exe"));
  EXPECT_FALSE(codec.CanRepresent("snow ☃"));
}

// In a fresh folder with a Chinese name, to exercise the W calls.
TEST(FileSystem, WritesReplacesListsAndRefusesLargeReads) {
  win::WinFileSystem fs;
  const std::string folder = win::WinSystemFolders().TempFolder() + "kivo 测试 " +
                             std::to_string(::GetTickCount64()) + "\\";
  ASSERT_TRUE(fs.CreateFolder(folder));
  const std::string a = folder + "甲.cfg", b = folder + "乙.cfg";
  ASSERT_TRUE(fs.WriteFileFlushed(a, std::string("first\0x", 7)));
  ASSERT_TRUE(fs.WriteFileFlushed(b, "second"));
  EXPECT_TRUE(fs.FileExists(a) && fs.FolderExists(folder));
  EXPECT_FALSE(fs.FolderExists(a) || fs.FileExists(folder));
  EXPECT_EQ(fs.ReadFile(a, 7), std::string("first\0x", 7));
  EXPECT_FALSE(fs.ReadFile(a, 6)) << "larger than allowed";
  ASSERT_TRUE(fs.MoveReplacing(a, b));
  EXPECT_FALSE(fs.FileExists(a));
  EXPECT_EQ(fs.ReadFile(b, 100), std::string("first\0x", 7));
  EXPECT_FALSE(fs.MoveReplacing(a, b)) << "nothing to move";

  ASSERT_TRUE(fs.WriteFileFlushed(folder + "1.PNG", "p"));
  ASSERT_TRUE(fs.CreateFolder(folder + "sub.png"));
  EXPECT_EQ(fs.ListFiles(folder, ".png"), std::vector<std::string>{"1.PNG"});
  EXPECT_TRUE(fs.RemoveFile(b));
  EXPECT_FALSE(fs.RemoveFile(b) || fs.FileExists(b));
}

TEST(ScreenAndInstance, TheVirtualDisplayIsReadAndASecondClaimFails) {
  const ScreenInfo screen = win::ReadScreenInfo();
  EXPECT_TRUE(screen.ScreenWidth > 0 && screen.ScreenHeight > 0);
  win::SingleInstance first, second;
  EXPECT_TRUE(first.Acquire());
  EXPECT_FALSE(second.Acquire());
}

}  // namespace
}  // namespace kivo
