#include "items/default_groups.h"

#include <gtest/gtest.h>

#include "item_world.h"

namespace kivo {
namespace {

// The desktops without their hidden files, Office found through its registered server, the
// browser the user chose rather than the scheme's own command.
TEST(DefaultGroups, DesktopsOfficeAndTheUsersBrowser) {
  testing::ItemWorld w;
  for (const char* path :
       {"C:\\Users\\Public\\Desktop\\shared.txt", "C:\\Users\\Public\\Desktop\\desktop.ini",
        "C:\\Users\\alice\\Desktop\\mine.txt", "C:\\Office\\WINWORD.EXE", "C:\\Windows\\browse.exe",
        "C:\\Old\\old.exe"})
    w.files.Put(path, "MZ");
  w.system.hidden.insert("C:\\USERS\\PUBLIC\\DESKTOP\\DESKTOP.INI");
  w.system.entries["C:\\USERS\\PUBLIC\\DESKTOP"] = {"shared.txt", "desktop.ini"};
  w.system.entries["C:\\USERS\\ALICE\\DESKTOP"] = {"mine.txt"};
  w.registry.Put(RegistryRoot::CurrentUser,
                 "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\"
                 "UserChoice",
                 "Progid", {kRegSz, std::string("FancyHTML\0", 10)});
  for (const auto& [key, value] :
       {std::pair{"Word.Application\\CLSID", "{W}"},
        {"CLSID\\{W}\\LocalServer32", "C:\\Office\\WINWORD.EXE /Automation"},
        {"http\\shell\\open\\command", "C:\\Old\\old.exe %1"},
        {"FancyHTML\\shell\\open\\command", "\"%SystemRoot%\\browse.exe\" -u \"%1\""}})
    w.registry.Put(RegistryRoot::ClassesRoot, key, "", {kRegSz, std::string(value) + '\0'});
  BuildDefaultGroups(w.context, 6);
  for (const auto& [slot, links] :
       {std::pair{3, std::vector<std::string>{"C:\\Users\\Public\\Desktop\\shared.txt",
                                              "C:\\Users\\alice\\Desktop\\mine.txt"}},
        {6, {"C:\\Office\\WINWORD.EXE"}},
        {8, {"C:\\Windows\\browse.exe"}}}) {
    std::vector<std::string> found{w.Item(slot).LinkPath.str()};
    for (int i = 1; i <= w.Group(slot).Count; ++i)
      found.push_back(w.Item(w.Group(slot).Members[std::size_t(i)]).LinkPath.str());
    EXPECT_EQ(std::vector(found.begin() + (slot != 8), found.end()), links) << slot;
  }
}

}  // namespace
}  // namespace kivo
