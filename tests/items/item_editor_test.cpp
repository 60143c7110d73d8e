#include "items/item_editor.h"

#include <gtest/gtest.h>

#include "item_world.h"
#include "items/group_helpers.h"

namespace kivo {
namespace {

using testing::ItemWorld;

ShellLinkData Link(const std::string& target) {
  ShellLinkData link;
  link.target = target;
  return link;
}

TEST(TitleFromPath, StripsOnlyProgramAndLinkExtensions) {
  // clang-format off
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"C:\\Tools\\setup.exe", false, "setup"}, {"C:\\Links\\Notepad.LNK", false, "Notepad"},
      {"C:\\Tools\\setup.exe", true, "setup.exe"}, {"C:\\Tools\\tool.msc", false, "tool.msc"},
      {"http://x.com/a", false, "http://x.com/a"}, {"C:\\Tools\\", true, ""}, {".exe", false, ""},
      {"C:\\x\\a.exe  ", false, "a"}};
  // clang-format on
  for (const auto& [path, keep, title] : cases) EXPECT_EQ(TitleFromPath(path, keep), title) << path;
}

// Classifies a path into blank ring slot 10 and returns the filled item.
const ShortcutItem& Drop(ItemWorld& w, const std::string& path) {
  w.Item(10).ItemType = kItemShortcut;
  EXPECT_EQ(w.editor.AddToGroup(path, 10), 10) << path;
  return w.Item(10);
}

// One world holding drives, folders, links, programs, documents and web shortcuts; every
// path dropped in turn on the same slot, whose old icon goes each time.
TEST(Classify, TitleIconTargetAndTheIconSource) {
  ItemWorld w;
  for (const auto& [root, type] : {std::pair<const char*, int>{"A:\\", kDriveRemovable},
                                   {"E:\\", kDriveRemovable},
                                   {"D:\\", kDriveFixed},
                                   {"R:\\", kDriveCdRom},
                                   {"V:\\", 7}}) {
    w.system.drives[root] = type;
  }
  w.files.CreateFolder("D:\\Tools\\My.Folder");
  w.files.CreateFolder("D:\\Projects");
  for (const char* file : {"C:\\Windows\\notepad.exe", "C:\\Office\\WINWORD.EXE", "D:\\report.odt",
                           "D:\\Setup\\setup.exe", "D:\\edit.exe", "D:\\tool.msc", "D:\\pkg.msi",
                           "D:\\report.docx", "C:\\Office\\word.exe", "D:\\notes"}) {
    w.files.Put(file, "x");
  }
  const std::pair<const char*, ShellLinkData> links[] = {
      {"notepad",
       {"C:\\Windows\\notepad.exe", "C:\\", "/a x.txt", "%SystemRoot%\\notepad.exe", 2, 7,
        "Editor"}},
      {"word", Link("C:\\Windows\\notepad.exe")},
      {"Projects", Link("D:\\Projects")},
      {"outer", Link("C:\\Links\\inner.lnk")},
      {"inner", Link("D:\\report.odt")},
      {"x1", Link("C:\\Gone\\gone.exe")},
      {"x4", Link("")}};
  for (const auto& [name, link] : links) {
    w.files.Put(std::string("C:\\Links\\") + name + ".lnk", "link");
    w.system.links[testing::Upper(std::string("C:\\Links\\") + name + ".lnk")] = link;
  }
  // An advertised shortcut names the installed program, not what its link holds.
  w.system.advertised["C:\\LINKS\\WORD.LNK"] = "C:\\Office\\WINWORD.EXE";
  // FileDescription names the program.
  std::string block = std::string("\x01\x00", 2);
  for (char c : std::string("FileDescription")) block += std::string{c, '\0'};
  block += std::string("\0\0\0\0", 4);
  for (char c : std::string("Text Editor")) block += std::string{c, '\0'};
  w.system.versions["D:\\EDIT.EXE"] = block + std::string("\0\0", 2);
  const auto text = [](const std::string& s) { return RegistryData{kRegSz, s + '\0'}; };
  w.registry.Put(RegistryRoot::ClassesRoot, ".docx", "", text("Word.Document"));
  w.registry.Put(RegistryRoot::ClassesRoot, "Word.Document\\DefaultIcon", "",
                 text("C:\\Office\\word.exe,1"));
  for (const char* good : {"C:\\WINDOWS\\NOTEPAD.EXE", "C:\\OFFICE\\WINWORD.EXE", "D:\\EDIT.EXE",
                           "D:\\PKG.MSI", "C:\\OFFICE\\WORD.EXE"}) {
    w.icons.good.insert(good);
  }
  w.files.Put("D:\\site.url", "[InternetShortcut]\r\nURL=http://example.org/\r\n");
  w.files.Put("D:\\bad.url", "[InternetShortcut]\nURL=http://x/\nIconFile=D:\\gone.ico\n");
  w.files.Put("D:\\odd.url", "[InternetShortcut]\nURL=http://x/\nIconFile=D:\\gone.dll\n");
  struct Case {
    const char* path;
    const char* title;   // nullptr: not checked
    const char* icon;    // a system icon, or "" for a new icon of the user's
    const char* target;  // nullptr: not checked
    const char* made;    // the last icon asked for, nullptr: none
    int itemClass;       // -1: not checked
  };
  // clang-format off
  const Case cases[] = {
      {"A:\\", "Floppy Disk (A:)", "FloppyDrive.png", nullptr, nullptr, -1},
      {"e:\\", "Removable Disk (E:)", "RemDrive.png", nullptr, nullptr, -1},
      {"C:\\", "Local Disk (C:)", "WinDrive.png", nullptr, nullptr, -1},
      {"d:", "Local Disk (D:)", "FixedDrive.png", nullptr, nullptr, -1},
      {"R:\\", "DVD/CD - Drive (R:)", "DVDDrive.png", nullptr, nullptr, -1},
      {"V:\\", "Unknown Drive (V:)", "UnknownDrive.png", nullptr, nullptr, -1},
      {"c:\\users\\ALICE\\", nullptr, "UserFolder.png", nullptr, nullptr, -1},
      {"C:\\Windows\\system32", "System Directory", nullptr, nullptr, nullptr, -1},
      {"D:\\Tools\\My.Folder", nullptr, "Folder.png", nullptr, nullptr, -1},
      {"D:\\Tools\\My.Folder\\", "My.Folder", "Folder.png", nullptr, nullptr, -1},
      {"C:\\Links\\notepad.lnk", "notepad", "", "C:\\Windows\\notepad.exe", "extract C:\\Windows\\notepad.exe,2", -1},
      {"C:\\Links\\word.lnk", nullptr, "", "C:\\Office\\WINWORD.EXE", "extract C:\\Office\\WINWORD.EXE,0", -1},
      {"C:\\Links\\Projects.lnk", nullptr, "Folder.png", nullptr, nullptr, -1},
      {"C:\\Links\\outer.lnk", nullptr, "File.png", "D:\\report.odt", nullptr, 2},  // a link to a link
      {"D:\\Setup\\setup.exe", nullptr, "Problem.png", nullptr, "extract D:\\Setup\\setup.exe,0", -1},
      {"D:\\edit.exe", "Text Editor", "", nullptr, "extract D:\\edit.exe,0", -1},
      {"D:\\tool.msc", "tool.msc", nullptr, nullptr, "extract D:\\tool.msc,0", -1},
      {"D:\\pkg.msi", nullptr, "", nullptr, "shell D:\\pkg.msi", -1},
      {"D:\\report.docx", nullptr, "", nullptr, "extract C:\\Office\\word.exe,1", -1},
      {"D:\\notes", nullptr, "File.png", nullptr, nullptr, -1},
      {"https://example.com/a\\b", "b", "URL.png", nullptr, nullptr, -1},  // the last backslash cuts
      {"D:\\site.url", nullptr, "URL.png", "http://example.org/", nullptr, -1},
      {"D:\\bad.url", nullptr, "URL.png", nullptr, "convert D:\\gone.ico", -1},
      {"D:\\odd.url", nullptr, "Problem.png", nullptr, nullptr, -1},
      // A link whose target is gone or unreadable keeps the problem picture, whatever its kind.
      {"C:\\Links\\x1.lnk", nullptr, "Problem.png", "C:\\Gone\\gone.exe", nullptr, 0},
      {"C:\\Links\\x4.lnk", nullptr, "Problem.png", "C:\\Links\\x4.lnk", nullptr, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    w.icons.calls.clear();
    const ShortcutItem& item = Drop(w, c.path);
    EXPECT_EQ(c.title ? item.Title.str() : "", c.title ? c.title : "") << c.path;
    const std::string userIcon = w.paths.UserIconFolder + "0.png";
    EXPECT_EQ(item.IconFile, !c.icon   ? item.IconFile.str()
                             : *c.icon ? w.SysIcon(c.icon)
                                       : userIcon)
        << c.path;
    EXPECT_EQ(c.target ? item.TargetPath.str() : "", c.target ? c.target : "") << c.path;
    EXPECT_EQ(w.icons.calls.empty() ? "" : w.icons.calls.back(), c.made ? c.made : "") << c.path;
    EXPECT_EQ(c.itemClass == -1 ? -1 : item.ItemClass, c.itemClass) << c.path;
    // Nothing left over: the folder holds the item's own icon alone.
    EXPECT_EQ(w.files.ListFiles(w.paths.UserIconFolder, ".png").size(),
              c.icon && !*c.icon ? 1u : 0u)
        << c.path;
    EXPECT_EQ(w.images.loaded.back(), 10);
  }
  Drop(w, "C:\\Links\\notepad.lnk");
  EXPECT_EQ(w.Item(10).ItemType, kItemRingShortcut);
  EXPECT_EQ(w.Item(10).Arguments, "/a x.txt");
  EXPECT_EQ(w.editor.linkInfo().LinkShowCommand, 7);
  w.Item(10).ItemType = kItemShortcut;
  w.editor.AddToGroup("HTTP://example.com/", 10, "", w.SysIcon("Google.png"));
  EXPECT_EQ(w.Item(10).IconFile, w.SysIcon("Google.png"));
  EXPECT_EQ(w.Item(10).Title, "HTTP://example.com/");
}

TEST(AddToGroup, GroupsTakeEachPathOnceAndNeverOverflow) {
  ItemWorld w;
  w.MakeGroup(5, "Tools");
  for (int i = 1; i <= 37; ++i) w.files.Put("D:\\f" + std::to_string(i), "x");
  EXPECT_EQ(w.editor.AddToGroup("D:\\f1", 5), kFirstUserItem);
  EXPECT_EQ(w.editor.AddToGroup("D:\\f1", 5), 0);
  for (int i = 2; i <= 35; ++i) EXPECT_NE(w.editor.AddToGroup("D:\\f" + std::to_string(i), 5), 0);
  EXPECT_EQ(w.Item(5).Title, "Tools");
  EXPECT_NE(w.editor.AddToGroup("D:\\f36", 5), 0);
  EXPECT_EQ(w.Item(5).Title, "Tools (满)");
  EXPECT_EQ(w.editor.AddToGroup("D:\\f37", 5), 0);
  EXPECT_EQ(w.Group(5).Count, 36);
}

TEST(AddToGroup, RefusalsChangeNothing) {
  ItemWorld w;
  w.MakeGroup(5, "Tools");
  w.files.Put("D:\\a.txt", "a");
  const ShortcutStore before = w.store;
  EXPECT_EQ(w.editor.AddToGroup("D:\\missing.txt", 5), 0);    // silently
  const std::string unstorable = "D:\\\xF0\x9F\x98\x80.txt";  // an emoji, not in CP936
  const std::string tooLong = "D:\\" + std::string(260, 'x');
  for (const std::string& path : {unstorable, tooLong}) {
    w.files.Put(path, "x");
    EXPECT_EQ(w.editor.AddToGroup(path, 5), 0);
  }
  EXPECT_EQ(w.prompts.asked,
            (std::vector<std::string>{"not storable " + unstorable, "not storable " + tooLong}));
  // Only shortcuts, blank slots and groups take paths.
  w.Item(2).ItemType = kItemRecycleBin;
  EXPECT_EQ(w.editor.AddToGroup("D:\\a.txt", 2), 0);
  EXPECT_EQ(w.Item(2).ItemType, kItemRecycleBin);
  EXPECT_EQ(w.editor.AddToGroup("D:\\a.txt", 37), 0);
  EXPECT_EQ(before.Groups, w.store.Groups);

  for (int n = kFirstUserItem; n <= kLastItem; ++n) w.Item(n).ItemType = kItemGroupMember;
  const ShortcutStore full = w.store;
  EXPECT_EQ(w.editor.AddToGroup("D:\\a.txt", 5), 0);
  EXPECT_EQ(w.prompts.asked.back(), "store full");
  EXPECT_TRUE(w.store.Items == full.Items && w.store.Groups == full.Groups);
}

TEST(AddToGroup, ReplacingAShortcutAsksFirst) {
  ItemWorld w;
  w.files.Put("D:\\old.exe", "MZ");
  w.files.Put("D:\\new.txt", "x");
  w.icons.good.insert("D:\\OLD.EXE");
  ASSERT_EQ(Drop(w, "D:\\old.exe").IconFile, w.paths.UserIconFolder + "0.png");
  const ShortcutItem old = w.Item(10);
  w.prompts.answer = false;
  EXPECT_EQ(w.editor.AddToGroup("D:\\new.txt", 10), 0);
  EXPECT_EQ(w.Item(10), old);
  EXPECT_TRUE(w.files.FileExists(old.IconFile));
  w.prompts.answer = true;
  EXPECT_EQ(w.editor.AddToGroup("D:\\new.txt", 10), 10);
  EXPECT_EQ(w.Item(10).LinkPath, "D:\\new.txt");
  EXPECT_FALSE(w.files.FileExists(old.IconFile)) << "the replaced shortcut's icon goes";
  EXPECT_EQ(w.prompts.asked, (std::vector<std::string>{"replace", "replace"}));
}

TEST(FillItemFromPath, RewritesTheItemAndForgetsItsCustomIcon) {
  ItemWorld w;
  w.Item(200).ItemType = kItemGroupMember;
  w.Item(200).CustomIconFile = w.paths.UserIconFolder + "7.png";
  w.files.Put(w.paths.UserIconFolder + "7.png", "custom");
  w.files.Put("D:\\b.txt", "b");
  EXPECT_EQ(w.editor.FillItemFromPath("D:\\b.txt", 200), 200);
  EXPECT_FALSE(w.files.FileExists(w.paths.UserIconFolder + "7.png"));
  EXPECT_EQ(w.editor.FillItemFromPath("D:\\b.txt", 12, "Mine"), 12);
  EXPECT_EQ(w.Item(12).ItemType, kItemRingShortcut);
  EXPECT_EQ(w.Item(12).Title, "Mine");
}

TEST(RebuildItemIcon, MakesANewIconAndKeepsTheRest) {
  ItemWorld w;
  w.files.Put("D:\\app.exe", "MZ");
  w.icons.good.insert("D:\\APP.EXE");
  ShortcutItem& item = w.Item(300);
  item.ItemType = kItemGroupMember;
  item.LinkPath = "D:\\app.exe";
  item.Title = "My App";
  item.IconFile = w.paths.UserIconFolder + "4.png";
  w.files.Put(w.paths.UserIconFolder + "4.png", "old");
  EXPECT_TRUE(w.editor.RebuildItemIcon(300));
  EXPECT_EQ(item.IconFile, w.paths.UserIconFolder + "0.png");
  EXPECT_EQ(item.Title, "My App");
  EXPECT_FALSE(w.files.FileExists(w.paths.UserIconFolder + "4.png"));
  // A web site keeps its picture.
  ShortcutItem& site = w.Item(301);
  site.LinkPath = "https://example.com/";
  site.IconFile = w.SysIcon("Google.png");
  EXPECT_TRUE(w.editor.RebuildItemIcon(301));
  EXPECT_EQ(site.IconFile, w.SysIcon("Google.png"));
  EXPECT_FALSE(w.editor.RebuildItemIcon(302));
}

}  // namespace
}  // namespace kivo
