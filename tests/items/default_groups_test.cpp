#include "items/default_groups.h"

#include <gtest/gtest.h>

#include "item_world.h"

namespace kivo {
namespace {

using testing::ItemWorld;

RegistryData Text(const std::string& s) {
  return RegistryData{kRegSz, s + '\0'};
}

std::vector<std::string> MemberPaths(ItemWorld& w, int slot) {
  std::vector<std::string> paths;
  for (int i = 1; i <= w.Group(slot).Count; ++i) {
    paths.push_back(w.Item(w.Group(slot).Members[static_cast<std::size_t>(i)]).LinkPath.str());
  }
  return paths;
}

void Build(ItemWorld& w, int kind) {
  ItemEditor editor(w.context);
  BuildDefaultSlot(w.context, editor, kind, 0, 6);
}

TEST(DefaultGroups, AllProgramsListsTheCommonDesktopFirstWithoutHiddenFiles) {
  ItemWorld w;
  for (const char* path :
       {"C:\\Users\\Public\\Desktop\\shared.txt", "C:\\Users\\Public\\Desktop\\desktop.ini",
        "C:\\Users\\alice\\Desktop\\mine.txt"}) {
    w.files.Put(path, "x");
  }
  w.system.hidden.insert("C:\\USERS\\PUBLIC\\DESKTOP\\DESKTOP.INI");
  w.system.entries["C:\\USERS\\PUBLIC\\DESKTOP"] = {"shared.txt", "desktop.ini"};
  w.system.entries["C:\\USERS\\ALICE\\DESKTOP"] = {"mine.txt"};
  Build(w, kDefaultAllPrograms);
  EXPECT_EQ(w.Item(3).ItemType, kItemAllProgramsGroup);
  EXPECT_EQ(w.Item(3).Title, "所有程序组");
  EXPECT_EQ(MemberPaths(w, 3), (std::vector<std::string>{"C:\\Users\\Public\\Desktop\\shared.txt",
                                                         "C:\\Users\\alice\\Desktop\\mine.txt"}));
}

TEST(DefaultGroups, SystemFoldersThenDrivesInTheirOrder) {
  ItemWorld w;
  w.files.Put("C:\\Windows\\Explorer.exe", "MZ");
  w.system.drives["Z:\\"] = kDriveFixed;
  w.system.driveOrder = {"C:\\", "Z:\\"};
  Build(w, kDefaultSystemFolders);
  EXPECT_EQ(w.Item(4).ItemType, kItemGroup);
  EXPECT_EQ(w.Item(4).IconFile, w.SysIcon("Library.png"));
  const std::vector<std::string> expected{"C:\\Windows\\Explorer.exe",
                                          "C:\\Users\\alice\\Documents\\",
                                          "C:\\Users\\alice\\Pictures\\",
                                          "C:\\Users\\alice\\Music\\",
                                          "C:\\Users\\alice\\Videos\\",
                                          "C:\\Users\\alice\\Favorites\\",
                                          "C:\\Program Files\\",
                                          "C:\\Windows\\",
                                          "C:\\Windows\\system32\\",
                                          "C:\\",
                                          "Z:\\"};
  EXPECT_EQ(MemberPaths(w, 4), expected);
  EXPECT_EQ(w.Item(w.Group(4).Members[11]).Title, "Local Disk (Z:)");
}

TEST(DefaultGroups, AccessoriesThatExistAndOfficeFoundThroughTheRegistry) {
  ItemWorld w;
  w.files.Put("C:\\Windows\\system32\\notepad.exe", "MZ");
  w.files.Put("C:\\Windows\\regedit.exe", "MZ");
  w.files.Put("C:\\Windows\\system32\\cmd.exe", "MZ");
  Build(w, kDefaultAccessories);
  EXPECT_EQ(MemberPaths(w, 5), (std::vector<std::string>{"C:\\Windows\\system32\\notepad.exe",
                                                         "C:\\Windows\\system32\\cmd.exe",
                                                         "C:\\Windows\\regedit.exe"}));

  Build(w, kDefaultOffice);
  EXPECT_EQ(w.Item(6).Title, "Microsoft Office 办公套件组 (空)") << "no Office: an empty group";

  w.files.Put("C:\\Office\\WINWORD.EXE", "MZ");
  w.files.Put("C:\\Office\\excel.exe", "MZ");
  w.registry.Put(RegistryRoot::ClassesRoot, "Word.Application\\CLSID", "", Text("{W}"));
  w.registry.Put(RegistryRoot::ClassesRoot, "CLSID\\{W}\\LocalServer32", "",
                 Text("C:\\Office\\WINWORD.EXE /Automation"));
  // A lower-case ".exe" is not cut: the text with its switch names no file.
  w.registry.Put(RegistryRoot::ClassesRoot, "Excel.Application\\CLSID", "", Text("{X}"));
  w.registry.Put(RegistryRoot::ClassesRoot, "CLSID\\{X}\\LocalServer32", "",
                 Text("C:\\Office\\excel.exe /automation"));
  Build(w, kDefaultOffice);
  EXPECT_EQ(MemberPaths(w, 6), std::vector<std::string>{"C:\\Office\\WINWORD.EXE"});
  EXPECT_EQ(w.Item(6).Title, "Microsoft Office 办公套件组");
}

TEST(DefaultGroups, WebSitesWithTheirPictures) {
  ItemWorld w;
  Build(w, kDefaultWebSites);
  ASSERT_EQ(w.Group(7).Count, 13);
  for (int i = 1; i <= 13; ++i) {
    const ShortcutItem& site = w.Item(w.Group(7).Members[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(IsWebAddress(site.LinkPath.str())) << site.LinkPath;
    EXPECT_EQ(site.IconFile.str().rfind(w.paths.SystemIconFolder, 0), 0u) << site.IconFile;
  }
}

TEST(DefaultGroups, BrowserAndMailEntries) {
  ItemWorld w;
  w.files.Put("C:\\Browser\\browse.exe", "MZ");
  w.icons.good.insert("C:\\BROWSER\\BROWSE.EXE");
  w.registry.Put(RegistryRoot::ClassesRoot, "http\\shell\\open\\command", "",
                 Text("\"C:\\Browser\\browse.exe\" %1"));
  Build(w, kDefaultBrowser);
  EXPECT_EQ(w.Item(8).ItemType, kItemRingShortcut);
  EXPECT_EQ(w.Item(8).Title, "互联网");
  EXPECT_EQ(w.Item(8).LinkPath, "C:\\Browser\\browse.exe");
  EXPECT_EQ(w.Item(8).IconFile, w.SysIcon("Internet.png"));
  EXPECT_TRUE(w.files.ListFiles(w.paths.UserIconFolder, ".png").empty())
      << "the program's own icon is not kept";

  Build(w, kDefaultMail);  // nothing registered
  EXPECT_EQ(w.Item(9).ItemType, kItemRingShortcut);
  EXPECT_EQ(w.Item(9).Title, "电子邮件");
  EXPECT_EQ(w.Item(9).LinkPath, "");
  EXPECT_EQ(w.Item(9).IconFile, w.SysIcon("Mailbox.png"));
}

}  // namespace
}  // namespace kivo
