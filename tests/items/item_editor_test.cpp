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
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"C:\\Tools\\setup.exe", false, "setup"},
      {"C:\\Links\\Notepad.LNK", false, "Notepad"},
      {"C:\\Tools\\setup.exe", true, "setup.exe"},
      {"C:\\Tools\\tool.msc", false, "tool.msc"},
      {"http://x.com/a", false, "http://x.com/a"},
      {"C:\\Tools\\", true, ""},
      {".exe", false, ""},
      {"C:\\x\\a.exe  ", false, "a"}};
  for (const auto& [path, keep, title] : cases) EXPECT_EQ(TitleFromPath(path, keep), title) << path;
}

// Classifies a path into blank ring slot 10 and returns the filled item.
const ShortcutItem& Drop(ItemWorld& w, const std::string& path) {
  w.Item(10).ItemType = kItemShortcut;
  EXPECT_EQ(w.editor.AddToGroup(path, 10), 10) << path;
  return w.Item(10);
}

TEST(Classify, DrivesByTypeWithUpperCaseLetters) {
  struct Case {
    const char* root;
    int type;
    const char* title;
    const char* icon;
  };
  // clang-format off
  const Case cases[] = {
      {"A:\\", kDriveRemovable, "Floppy Disk (A:)", "FloppyDrive.png"},
      {"e:\\", kDriveRemovable, "Removable Disk (E:)", "RemDrive.png"},
      {"C:\\", kDriveFixed, "Local Disk (C:)", "WinDrive.png"},
      {"d:", kDriveFixed, "Local Disk (D:)", "FixedDrive.png"},
      {"R:\\", kDriveCdRom, "DVD/CD - Drive (R:)", "DVDDrive.png"},
      {"V:\\", 7, "Unknown Drive (V:)", "UnknownDrive.png"},
  };
  // clang-format on
  for (const Case& c : cases) {
    ItemWorld w;
    w.system.drives[testing::Upper(std::string(c.root).substr(0, 2) + "\\")] = c.type;
    const ShortcutItem& item = Drop(w, c.root);
    EXPECT_EQ(item.Title, c.title) << c.root;
    EXPECT_EQ(item.IconFile, w.SysIcon(c.icon)) << c.root;
  }
}

TEST(Classify, KnownFoldersInAnyCaseAndOrdinaryFolders) {
  ItemWorld w;
  EXPECT_EQ(Drop(w, "c:\\users\\ALICE\\").IconFile, w.SysIcon("UserFolder.png"));
  EXPECT_EQ(Drop(w, "C:\\Windows\\system32").Title, "System Directory");
  EXPECT_EQ(Drop(w, "C:\\Users\\alice\\Music\\").IconFile, w.SysIcon("MusicFolder.png"));

  w.files.CreateFolder("D:\\Tools\\My.Folder");
  EXPECT_EQ(Drop(w, "D:\\Tools\\My.Folder").IconFile, w.SysIcon("Folder.png"));
  EXPECT_EQ(Drop(w, "D:\\Tools\\My.Folder\\").Title, "My.Folder");
}

TEST(Classify, ShortcutToProgramKeepsItsClassAndReadsTheLinkOrTheInstalledProgram) {
  ItemWorld w;
  w.files.Put("C:\\Windows\\notepad.exe", "MZ");
  w.files.Put("C:\\Links\\notepad.lnk", "link");
  w.system.links["C:\\LINKS\\NOTEPAD.LNK"] = {
      "C:\\Windows\\notepad.exe", "C:\\", "/a x.txt", "%SystemRoot%\\notepad.exe", 2, 7, "Editor"};
  w.icons.good.insert("C:\\WINDOWS\\NOTEPAD.EXE");
  const ShortcutItem& item = Drop(w, "C:\\Links\\notepad.lnk");
  EXPECT_EQ(item.ItemType, kItemRingShortcut);
  EXPECT_EQ(item.TargetPath, "C:\\Windows\\notepad.exe");
  EXPECT_EQ(item.Arguments, "/a x.txt");
  EXPECT_EQ(item.IconFile, w.paths.UserIconFolder + "0.png");
  EXPECT_EQ(w.icons.calls, std::vector<std::string>{"extract C:\\Windows\\notepad.exe,2"});
  EXPECT_EQ(w.editor.linkInfo().LinkShowCommand, 7);
  EXPECT_EQ(w.images.loaded.back(), 10);

  // An advertised shortcut names the installed program, not what its link holds.
  w.files.Put("C:\\Office\\WINWORD.EXE", "MZ");
  w.system.advertised["C:\\LINKS\\NOTEPAD.LNK"] = "C:\\Office\\WINWORD.EXE";
  w.icons.good.insert("C:\\OFFICE\\WINWORD.EXE");
  EXPECT_EQ(Drop(w, "C:\\Links\\notepad.lnk").TargetPath, "C:\\Office\\WINWORD.EXE");
  EXPECT_EQ(w.icons.calls.back(), "extract C:\\Office\\WINWORD.EXE,0");
}

TEST(Classify, ShortcutsToFoldersAndDocumentsTakeTheTargetsKind) {
  ItemWorld w;
  w.files.CreateFolder("D:\\Projects");
  w.files.Put("C:\\Links\\Projects.lnk", "link");
  w.system.links["C:\\LINKS\\PROJECTS.LNK"] = Link("D:\\Projects");
  EXPECT_EQ(Drop(w, "C:\\Links\\Projects.lnk").IconFile, w.SysIcon("Folder.png"));

  // A link to a link: the inner one names the document.
  w.files.Put("D:\\report.docx", "doc");
  w.files.Put("C:\\Links\\outer.lnk", "link");
  w.files.Put("C:\\Links\\inner.lnk", "link");
  w.system.links["C:\\LINKS\\OUTER.LNK"] = Link("C:\\Links\\inner.lnk");
  w.system.links["C:\\LINKS\\INNER.LNK"] = Link("D:\\report.docx");
  const ShortcutItem& document = Drop(w, "C:\\Links\\outer.lnk");
  EXPECT_EQ(document.ItemClass, 2);
  EXPECT_EQ(document.IconFile, w.SysIcon("File.png"));
  EXPECT_EQ(document.TargetPath, "D:\\report.docx");
}

TEST(Classify, ProgramsTitleAndIcon) {
  ItemWorld w;
  w.files.Put("D:\\Setup\\setup.exe", "MZ");
  EXPECT_EQ(Drop(w, "D:\\Setup\\setup.exe").IconFile, w.SysIcon("Problem.png"));
  EXPECT_TRUE(w.files.ListFiles(w.paths.UserIconFolder, ".png").empty()) << "nothing left over";

  // FileDescription names the program; one the code page cannot hold does not.
  std::string block = std::string("\x01\x00", 2);
  for (char c : std::string("FileDescription")) block += std::string{c, '\0'};
  block += std::string("\0\0\0\0", 4);
  for (char c : std::string("Text Editor")) block += std::string{c, '\0'};
  block += std::string("\0\0", 2);
  w.files.Put("D:\\edit.exe", "MZ");
  w.system.versions["D:\\EDIT.EXE"] = block;
  w.icons.good.insert("D:\\EDIT.EXE");
  const ShortcutItem& edit = Drop(w, "D:\\edit.exe");
  EXPECT_EQ(edit.Title, "Text Editor");
  EXPECT_EQ(edit.IconFile, w.paths.UserIconFolder + "0.png");

  w.files.Put("D:\\tool.msc", "xml");
  EXPECT_EQ(Drop(w, "D:\\tool.msc").Title, "tool.msc");
  w.files.Put("D:\\pkg.msi", "msi");
  w.icons.good.insert("D:\\PKG.MSI");
  Drop(w, "D:\\pkg.msi");
  EXPECT_EQ(w.icons.calls.back(), "shell D:\\pkg.msi");
}

TEST(Classify, DocumentsUseTheRegisteredIcon) {
  ItemWorld w;
  w.files.Put("D:\\report.docx", "doc");
  w.files.Put("C:\\Office\\word.exe", "MZ");
  const auto text = [](const std::string& s) { return RegistryData{kRegSz, s + '\0'}; };
  w.registry.Put(RegistryRoot::ClassesRoot, ".docx", "", text("Word.Document"));
  w.registry.Put(RegistryRoot::ClassesRoot, "Word.Document\\DefaultIcon", "",
                 text("C:\\Office\\word.exe,1"));
  w.icons.good.insert("C:\\OFFICE\\WORD.EXE");
  EXPECT_EQ(Drop(w, "D:\\report.docx").IconFile, w.paths.UserIconFolder + "0.png");
  EXPECT_EQ(w.icons.calls, std::vector<std::string>{"extract C:\\Office\\word.exe,1"});

  w.files.Put("D:\\notes", "no extension");
  EXPECT_EQ(Drop(w, "D:\\notes").IconFile, w.SysIcon("File.png"));
}

TEST(Classify, WebAddressesAndInternetShortcuts) {
  ItemWorld w;
  const ShortcutItem& plain = Drop(w, "https://example.com/a\\b");
  EXPECT_EQ(plain.Title, "b") << "the last backslash still cuts the title";
  EXPECT_EQ(plain.IconFile, w.SysIcon("URL.png"));
  w.Item(10).ItemType = kItemShortcut;
  w.editor.AddToGroup("HTTP://example.com/", 10, "", w.SysIcon("Google.png"));
  EXPECT_EQ(w.Item(10).IconFile, w.SysIcon("Google.png"));
  EXPECT_EQ(w.Item(10).Title, "HTTP://example.com/");

  w.files.Put("D:\\site.url", "[InternetShortcut]\r\nURL=http://example.org/\r\n");
  EXPECT_EQ(Drop(w, "D:\\site.url").TargetPath, "http://example.org/");
  w.files.Put("D:\\bad.url", "[InternetShortcut]\nURL=http://x/\nIconFile=D:\\gone.ico\n");
  EXPECT_EQ(Drop(w, "D:\\bad.url").IconFile, w.SysIcon("URL.png"));
  w.files.Put("D:\\odd.url", "[InternetShortcut]\nURL=http://x/\nIconFile=D:\\gone.dll\n");
  EXPECT_EQ(Drop(w, "D:\\odd.url").IconFile, w.SysIcon("Problem.png"));
}

TEST(AddToGroup, GroupsTakeEachPathOnceAndNeverOverflow) {
  ItemWorld w;
  w.MakeGroup(5, "Tools");
  w.files.Put("D:\\a.txt", "a");
  EXPECT_EQ(w.editor.AddToGroup("D:\\a.txt", 5), kFirstUserItem);
  EXPECT_EQ(w.editor.AddToGroup("D:\\a.txt", 5), 0);

  for (int i = 2; i <= 36; ++i) {
    w.files.Put("D:\\f" + std::to_string(i), "x");
    EXPECT_NE(w.editor.AddToGroup("D:\\f" + std::to_string(i), 5), 0);
    EXPECT_EQ(w.Item(5).Title, i == 36 ? "Tools (满)" : "Tools");
  }
  w.files.Put("D:\\one-more", "x");
  EXPECT_EQ(w.editor.AddToGroup("D:\\one-more", 5), 0);
  EXPECT_EQ(w.Group(5).Count, 36);
}

TEST(AddToGroup, RefusalsChangeNothing) {
  ItemWorld w;
  w.MakeGroup(5, "Tools");
  w.files.Put("D:\\a.txt", "a");
  const ShortcutStore before = w.store;

  EXPECT_EQ(w.editor.AddToGroup("D:\\missing.txt", 5), 0);    // silently
  const std::string unstorable = "D:\\\xF0\x9F\x98\x80.txt";  // an emoji, not in CP936
  w.files.Put(unstorable, "x");
  EXPECT_EQ(w.editor.AddToGroup(unstorable, 5), 0);
  const std::string tooLong = "D:\\" + std::string(260, 'x');
  w.files.Put(tooLong, "x");
  EXPECT_EQ(w.editor.AddToGroup(tooLong, 5), 0);
  EXPECT_EQ(w.prompts.asked,
            (std::vector<std::string>{"not storable " + unstorable, "not storable " + tooLong}));

  for (int n = kFirstUserItem; n <= kLastItem; ++n) w.Item(n).ItemType = kItemGroupMember;
  ShortcutStore full = w.store;
  EXPECT_EQ(w.editor.AddToGroup("D:\\a.txt", 5), 0);
  EXPECT_EQ(w.prompts.asked.back(), "store full");
  EXPECT_EQ(w.store.Items, full.Items);
  EXPECT_EQ(w.store.Groups, full.Groups);

  // Only shortcuts, blank slots and groups take paths.
  w.Item(2).ItemType = kItemRecycleBin;
  EXPECT_EQ(w.editor.AddToGroup("D:\\a.txt", 2), 0);
  EXPECT_EQ(w.Item(2).ItemType, kItemRecycleBin);
  EXPECT_EQ(w.editor.AddToGroup("D:\\a.txt", 37), 0);
  EXPECT_EQ(before.Groups, w.store.Groups);
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

// A link whose target is gone or unreadable keeps the problem picture, whatever its kind.
TEST(Classify, LinksWithoutAUsableTargetStayShortcuts) {
  for (const std::string target : {"C:\\Gone\\gone.exe", "D:\\report.docx", "D:\\Folder", ""}) {
    ItemWorld w;
    w.files.Put("C:\\Links\\x.lnk", "link");
    w.system.links["C:\\LINKS\\X.LNK"] = Link(target);
    w.registry.Put(RegistryRoot::ClassesRoot, ".docx", "", {kRegSz, std::string("W.D\0", 4)});
    w.registry.Put(RegistryRoot::ClassesRoot, "W.D\\DefaultIcon", "",
                   {kRegSz, std::string("C:\\Office\\word.exe,1\0", 21)});
    w.files.Put("C:\\Office\\word.exe", "MZ");
    w.icons.good.insert("C:\\OFFICE\\WORD.EXE");
    const ShortcutItem& item = Drop(w, "C:\\Links\\x.lnk");
    EXPECT_EQ(item.ItemClass, 0) << target;
    EXPECT_EQ(item.IconFile, w.SysIcon("Problem.png")) << target;
    EXPECT_EQ(item.TargetPath, target.empty() ? "C:\\Links\\x.lnk" : target);
  }
}

}  // namespace
}  // namespace kivo
