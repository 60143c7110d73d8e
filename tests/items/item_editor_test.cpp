#include "items/item_editor.h"

#include <gtest/gtest.h>

#include "item_world.h"
#include "items/group_helpers.h"

namespace kivo {
namespace {

using testing::ItemWorld;

// Classifies a path into blank ring slot 10 and returns the filled item.
const ShortcutItem& Drop(ItemWorld& w, const std::string& path) {
  w.Item(10).ItemType = kItemShortcut;
  EXPECT_EQ(w.editor.AddToGroup(path, 10), 10) << path;
  return w.Item(10);
}

// Every kind of path dropped in turn on the same slot, whose old icon goes each time.
TEST(Classify, TitleIconTargetAndTheIconSource) {
  ItemWorld w;
  w.system.drives["A:\\"] = kDriveRemovable;
  w.system.drives["D:\\"] = kDriveFixed;
  w.files.CreateFolder("D:\\Tools\\My.Folder");
  for (const char* file :
       {"C:\\Windows\\notepad.exe", "C:\\Office\\WINWORD.EXE", "D:\\report.odt",
        "D:\\Setup\\setup.exe", "D:\\edit.exe", "D:\\report.docx", "C:\\Office\\word.exe"})
    w.files.Put(file, "x");
  // clang-format off
  for (const auto& [name, target] : {std::pair{"notepad", "C:\\Windows\\notepad.exe"}, {"word", "C:\\Windows\\notepad.exe"},
                                     {"outer", "C:\\Links\\inner.lnk"}, {"inner", "D:\\report.odt"}, {"x1", "C:\\Gone\\gone.exe"}}) {
    // clang-format on
    w.files.Put(std::string("C:\\Links\\") + name + ".lnk", "link");
    w.system.links[testing::Upper(std::string("C:\\Links\\") + name + ".lnk")].target = target;
  }
  w.system.links["C:\\LINKS\\NOTEPAD.LNK"] = {
      "C:\\Windows\\notepad.exe", "C:\\", "/a x.txt", "%SystemRoot%\\notepad.exe", 2, 7, ""};
  // An advertised shortcut names the installed program, not what its link holds.
  w.system.advertised["C:\\LINKS\\WORD.LNK"] = "C:\\Office\\WINWORD.EXE";
  std::string block = std::string("\x01\x00", 2);  // FileDescription names the program
  for (char c : std::string("FileDescription\0\0Text Editor\0", 29)) block += {c, '\0'};
  w.system.versions["D:\\EDIT.EXE"] = block;
  const auto text = [](const std::string& s) { return RegistryData{kRegSz, s + '\0'}; };
  w.registry.Put(RegistryRoot::ClassesRoot, ".docx", "", text("Word.Document"));
  w.registry.Put(RegistryRoot::ClassesRoot, "Word.Document\\DefaultIcon", "",
                 text("C:\\Office\\word.exe,1"));
  w.icons.good = {"C:\\WINDOWS\\NOTEPAD.EXE", "C:\\OFFICE\\WINWORD.EXE", "D:\\EDIT.EXE",
                  "C:\\OFFICE\\WORD.EXE"};
  struct Case {
    const char* path;
    const char* title;   // nullptr: not checked
    const char* icon;    // a system icon, or "" for a new icon of the user's
    const char* target;  // nullptr: not checked
    const char* made;    // the last icon asked for, nullptr: none
  };
  // clang-format off
  const Case cases[] = {
      {"A:\\", "Floppy Disk (A:)", "FloppyDrive.png", nullptr, nullptr},
      {"C:\\", "Local Disk (C:)", "WinDrive.png", nullptr, nullptr},
      {"c:\\users\\ALICE\\", nullptr, "UserFolder.png", nullptr, nullptr},
      {"C:\\Windows\\system32", "System Directory", nullptr, nullptr, nullptr},
      {"D:\\Tools\\My.Folder\\", "My.Folder", "Folder.png", nullptr, nullptr},
      {"C:\\Links\\notepad.lnk", "notepad", "", "C:\\Windows\\notepad.exe", "extract C:\\Windows\\notepad.exe,2"},
      {"C:\\Links\\word.lnk", nullptr, "", "C:\\Office\\WINWORD.EXE", "extract C:\\Office\\WINWORD.EXE,0"},
      {"C:\\Links\\outer.lnk", nullptr, "File.png", "D:\\report.odt", nullptr},  // a link to a link
      {"D:\\Setup\\setup.exe", nullptr, "Problem.png", nullptr, "extract D:\\Setup\\setup.exe,0"},
      {"D:\\edit.exe", "Text Editor", "", nullptr, "extract D:\\edit.exe,0"},
      {"D:\\report.docx", nullptr, "", nullptr, "extract C:\\Office\\word.exe,1"},
      {"C:\\Links\\x1.lnk", nullptr, "Problem.png", "C:\\Gone\\gone.exe", nullptr},
  };
  // clang-format on
  for (const Case& c : cases) {
    w.icons.calls.clear();
    const ShortcutItem& item = Drop(w, c.path);
    EXPECT_EQ(c.title ? item.Title.str() : "", c.title ? c.title : "") << c.path;
    EXPECT_EQ(item.IconFile, !c.icon   ? item.IconFile.str()
                             : *c.icon ? w.SysIcon(c.icon)
                                       : w.paths.UserIconFolder + "0.png")
        << c.path;
    EXPECT_EQ(c.target ? item.TargetPath.str() : "", c.target ? c.target : "") << c.path;
    EXPECT_EQ(w.icons.calls.empty() ? "" : w.icons.calls.back(), c.made ? c.made : "") << c.path;
    // Nothing left over: the folder holds the item's own icon alone.
    EXPECT_EQ(w.files.ListFiles(w.paths.UserIconFolder, ".png").size(),
              c.icon && !*c.icon ? 1u : 0u)
        << c.path;
    EXPECT_EQ(w.images.loaded.back(), 10);
  }
  Drop(w, "C:\\Links\\notepad.lnk");
  EXPECT_EQ(w.Item(10).Arguments.str() + std::to_string(w.editor.linkInfo().LinkShowCommand),
            "/a x.txt7");
}

TEST(AddToGroup, EachPathOnceNeverOverflowingAndRefusalsChangeNothing) {
  ItemWorld w;
  w.MakeGroup(5, "Tools");
  for (int i = 1; i <= 37; ++i) w.files.Put("D:\\f" + std::to_string(i), "x");
  EXPECT_EQ(w.editor.AddToGroup("D:\\f1", 5), kFirstUserItem);
  EXPECT_EQ(w.editor.AddToGroup("D:\\f1", 5), 0);
  for (int i = 2; i <= 36; ++i) EXPECT_NE(w.editor.AddToGroup("D:\\f" + std::to_string(i), 5), 0);
  EXPECT_EQ(w.Item(5).Title, "Tools (满)");
  EXPECT_EQ(w.editor.AddToGroup("D:\\f37", 5), 0);
  EXPECT_EQ(w.Group(5).Count, 36);

  w.MakeGroup(6, "Docs");
  w.Item(2).ItemType = kItemRecycleBin;  // only shortcuts, blank slots and groups take paths
  const ShortcutStore before = w.store;
  EXPECT_EQ(w.editor.AddToGroup("D:\\missing.txt", 6), 0);    // silently
  const std::string unstorable = "D:\\\xF0\x9F\x98\x80.txt";  // an emoji, not in CP936
  const std::string tooLong = "D:\\" + std::string(260, 'x');
  for (const std::string& path : {unstorable, tooLong}) {
    w.files.Put(path, "x");
    EXPECT_EQ(w.editor.AddToGroup(path, 6), 0);
  }
  EXPECT_EQ(w.prompts.asked,
            (std::vector<std::string>{"not storable " + unstorable, "not storable " + tooLong}));
  EXPECT_EQ(w.editor.AddToGroup("D:\\f1", 2) + w.editor.AddToGroup("D:\\f1", 37), 0);
  EXPECT_TRUE(w.store.Items == before.Items && w.store.Groups == before.Groups);
}

// A shortcut is replaced only when the user agrees; its old icons go with it.
TEST(AddToGroup, ReplacingAShortcutAsksFirst) {
  ItemWorld w;
  w.files.Put("D:\\old.exe", "MZ");
  w.files.Put("D:\\new.txt", "x");
  w.icons.good.insert("D:\\OLD.EXE");
  const ShortcutItem old = Drop(w, "D:\\old.exe");
  for (const bool yes : {false, true}) {
    w.prompts.answer = yes;
    EXPECT_EQ(w.editor.AddToGroup("D:\\new.txt", 10), yes ? 10 : 0);
    EXPECT_TRUE(yes ? w.Item(10).LinkPath == "D:\\new.txt" : w.Item(10) == old);
    EXPECT_EQ(w.files.FileExists(old.IconFile), !yes);
  }
  EXPECT_EQ(w.prompts.asked, (std::vector<std::string>{"replace", "replace"}));
}

}  // namespace
}  // namespace kivo
