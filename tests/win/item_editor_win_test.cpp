// Shortcuts made from real files under Wine: links, programs, documents with a registered
// icon, drives and folders, each through the real adapters, registry and icon extraction.
#include <gtest/gtest.h>

#include "core/paths.h"
#include "core/startup.h"
#include "gfx/win32/gdiplus_session.h"
#include "items/item_editor.h"
#include "link_writer.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/item_system_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/system_folders_win.h"

namespace kivo {
namespace {

// Slot 10 is blank before every drop: nothing is asked, and no image table is kept.
class SilentPrompts : public ItemPrompts {
 public:
  bool ConfirmReplaceShortcut() override { return true; }
  bool ConfirmDeleteGroup(bool) override { return true; }
  void TellStoreFull() override {}
  void TellPathNotStorable(const std::string&) override {}
};
class NoImages : public ItemImages {
 public:
  void Load(int) override {}
  void Release(int) override {}
};

class ItemEditorWin : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Start());
    paths_ = BuildPaths(folders_, files_);
    folder_ = paths_.TempFolder + "kivo 测试 " + std::to_string(::GetTickCount64()) + "\\";
    ASSERT_TRUE(files_.CreateFolder(folder_));
  }

  // Classifies `path` into blank ring slot 10.
  const ShortcutItem& Drop(const std::string& path) {
    store_.Items[10] = ShortcutItem{};
    store_.Items[10].ItemType = kItemShortcut;
    EXPECT_EQ(editor_.AddToGroup(path, 10), 10) << path;
    return store_.Items[10];
  }

  // The item's icon is a PNG the program made in the user icon folder.
  void ExpectOwnPng(const ShortcutItem& item) {
    const std::string& icon = item.IconFile.str();
    EXPECT_EQ(icon.rfind(paths_.UserIconFolder, 0), 0u) << icon;
    const auto bytes = files_.ReadFile(icon, 1 << 20);
    ASSERT_TRUE(bytes) << icon;
    EXPECT_EQ(bytes->substr(0, 8), std::string(kPngSignature.begin(), kPngSignature.end()));
  }

  win::GdiplusSession gdiplus_;
  win::WinFileSystem files_;
  win::WinSystemFolders folders_;
  win::WinItemSystem system_;
  win::WinIconMaker icons_;
  win::WinRegistry registry_;
  win::SystemAnsiCodec codec_;
  SilentPrompts prompts_;
  NoImages images_;
  ShortcutStore store_;
  Settings settings_;
  AppPaths paths_;
  std::string folder_;
  ItemContext context_{store_, paths_,    settings_, files_,   system_,
                       icons_, registry_, codec_,    prompts_, images_};
  ItemEditor editor_{context_};
};

// Each adapter is tested on its own elsewhere; here they work together with the editor.
TEST_F(ItemEditorWin, LinksProgramsDocumentsAndDrivesGetTheirIcons) {
  const std::string notepad = paths_.SystemFolder + "notepad.exe";
  const std::string link = folder_ + "编辑器.lnk";
  ASSERT_TRUE(testing::WriteLink(link, {notepad, folder_, "/x readme.txt", "", 0, 7, ""}));
  const ShortcutItem& program = Drop(link);
  EXPECT_EQ(AsciiUpper(program.TargetPath.str()), AsciiUpper(notepad));
  EXPECT_EQ(program.Arguments, "/x readme.txt");
  ExpectOwnPng(program);
  ExpectOwnPng(Drop(notepad));

  // A document type registered with notepad's icon.
  ASSERT_TRUE(WriteRegistryValue(registry_, codec_, "HKEY_CLASSES_ROOT\\.kivodoc", "",
                                 "KivoTest.Document", kRegSz));
  ASSERT_TRUE(WriteRegistryValue(registry_, codec_,
                                 "HKEY_CLASSES_ROOT\\KivoTest.Document\\DefaultIcon", "",
                                 "%SystemRoot%\\system32\\notepad.exe,0", kRegExpandSz));
  ASSERT_TRUE(files_.WriteFileFlushed(folder_ + "report.kivodoc", "words"));
  ExpectOwnPng(Drop(folder_ + "report.kivodoc"));

  // The system drive through the real drive type; the profile folder names the real user.
  EXPECT_EQ(Drop(paths_.WindowsFolder.substr(0, 3)).IconFile,
            paths_.SystemIconFolder + "WinDrive.png");
  std::string profile = paths_.ProfileFolder;
  profile.pop_back();  // without its "\\"
  EXPECT_EQ(Drop(AsciiUpper(profile)).Title, system_.UserName());
}

}  // namespace
}  // namespace kivo
