#include "items/default_groups.h"

#include <gtest/gtest.h>

#include "item_world.h"

namespace kivo {
namespace {

using testing::ItemWorld;

RegistryData Text(const std::string& s) {
  return RegistryData{kRegSz, s + '\0'};
}

std::vector<std::string> Build(ItemWorld& w, int kind, int slot) {
  ItemEditor editor(w.context);
  BuildDefaultSlot(w.context, editor, kind, 0, 6);
  std::vector<std::string> paths;
  for (int i = 1; i <= w.Group(slot).Count; ++i) {
    paths.push_back(w.Item(w.Group(slot).Members[static_cast<std::size_t>(i)]).LinkPath.str());
  }
  return paths;
}

TEST(DefaultGroups, AllProgramsSystemFoldersAndAccessories) {
  ItemWorld w;
  for (const char* path :
       {"C:\\Users\\Public\\Desktop\\shared.txt", "C:\\Users\\Public\\Desktop\\desktop.ini",
        "C:\\Users\\alice\\Desktop\\mine.txt", "C:\\Windows\\Explorer.exe",
        "C:\\Windows\\system32\\notepad.exe", "C:\\Windows\\regedit.exe",
        "C:\\Windows\\system32\\cmd.exe"}) {
    w.files.Put(path, "MZ");
  }
  // The common desktop first, without hidden files.
  w.system.hidden.insert("C:\\USERS\\PUBLIC\\DESKTOP\\DESKTOP.INI");
  w.system.entries["C:\\USERS\\PUBLIC\\DESKTOP"] = {"shared.txt", "desktop.ini"};
  w.system.entries["C:\\USERS\\ALICE\\DESKTOP"] = {"mine.txt"};
  EXPECT_EQ(Build(w, kDefaultAllPrograms, 3),
            (std::vector<std::string>{"C:\\Users\\Public\\Desktop\\shared.txt",
                                      "C:\\Users\\alice\\Desktop\\mine.txt"}));
  EXPECT_EQ(w.Item(3).ItemType, kItemAllProgramsGroup);
  EXPECT_EQ(w.Item(3).Title, "所有程序组");

  // System folders, then the drives in their order.
  w.system.drives["Z:\\"] = kDriveFixed;
  w.system.driveOrder = {"C:\\", "Z:\\"};
  EXPECT_EQ(Build(w, kDefaultSystemFolders, 4),
            (std::vector<std::string>{"C:\\Windows\\Explorer.exe", "C:\\Users\\alice\\Documents\\",
                                      "C:\\Users\\alice\\Pictures\\", "C:\\Users\\alice\\Music\\",
                                      "C:\\Users\\alice\\Videos\\", "C:\\Users\\alice\\Favorites\\",
                                      "C:\\Program Files\\", "C:\\Windows\\",
                                      "C:\\Windows\\system32\\", "C:\\", "Z:\\"}));
  EXPECT_EQ(w.Item(4).ItemType, kItemGroup);
  EXPECT_EQ(w.Item(4).IconFile, w.SysIcon("Library.png"));
  EXPECT_EQ(w.Item(w.Group(4).Members[11]).Title, "Local Disk (Z:)");

  EXPECT_EQ(
      Build(w, kDefaultAccessories, 5),
      (std::vector<std::string>{"C:\\Windows\\system32\\notepad.exe",
                                "C:\\Windows\\system32\\cmd.exe", "C:\\Windows\\regedit.exe"}));
}

TEST(DefaultGroups, OfficeFoundThroughTheRegistry) {
  ItemWorld w;
  EXPECT_TRUE(Build(w, kDefaultOffice, 6).empty());
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
  EXPECT_EQ(Build(w, kDefaultOffice, 6), std::vector<std::string>{"C:\\Office\\WINWORD.EXE"});
  EXPECT_EQ(w.Item(6).Title, "Microsoft Office 办公套件组");
}

TEST(DefaultGroups, WebSitesBrowserAndMail) {
  ItemWorld w;
  const auto sites = Build(w, kDefaultWebSites, 7);
  ASSERT_EQ(sites.size(), 13u);
  for (int i = 1; i <= 13; ++i) {
    const ShortcutItem& site = w.Item(w.Group(7).Members[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(IsWebAddress(site.LinkPath.str())) << site.LinkPath;
    EXPECT_EQ(site.IconFile.str().rfind(w.paths.SystemIconFolder, 0), 0u) << site.IconFile;
  }
  // The user's choice wins over the scheme's command; a command naming no program gives none.
  w.files.Put("C:\\Windows\\browse.exe", "MZ");
  w.icons.good.insert("C:\\WINDOWS\\BROWSE.EXE");
  w.registry.Put(
      RegistryRoot::CurrentUser,
      "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice",
      "Progid", Text("FancyHTML"));
  for (const auto& [key, command] : {std::pair{"http", "C:\\Old\\old.exe %1"},
                                     {"FancyHTML", "\"%SystemRoot%\\browse.exe\" -u \"%1\""},
                                     {"mailto", "rundll32 mail.dll"}}) {
    w.registry.Put(RegistryRoot::ClassesRoot, std::string(key) + "\\shell\\open\\command", "",
                   Text(command));
  }
  Build(w, kDefaultBrowser, 8);
  Build(w, kDefaultMail, 9);
  for (const auto& [slot, title, link, icon] :
       {std::tuple{8, "互联网", "C:\\Windows\\browse.exe", "Internet.png"},
        {9, "电子邮件", "", "Mailbox.png"}}) {
    EXPECT_EQ(w.Item(slot).ItemType, kItemRingShortcut);
    EXPECT_EQ(w.Item(slot).Title, title);
    EXPECT_EQ(w.Item(slot).LinkPath, link);
    EXPECT_EQ(w.Item(slot).IconFile, w.SysIcon(icon));
  }
  EXPECT_TRUE(w.files.ListFiles(w.paths.UserIconFolder, ".png").empty())
      << "the program's own icon is not kept";
}

}  // namespace
}  // namespace kivo
