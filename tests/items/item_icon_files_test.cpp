#include "items/item_icon_files.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

const std::string kIcons = "C:\\Users\\me\\AppData\\Roaming\\KivoSoft\\Kivo Launcher\\KivoIcons\\";

ShortcutItem With(const std::string& iconFile, const std::string& custom = "") {
  ShortcutItem item;
  item.IconFile = iconFile;
  item.CustomIconFile = custom;
  return item;
}

TEST(IconFilesToDelete, OnlyTheProgramsOwnCopiesInTheUserIconFolder) {
  EXPECT_EQ(IconFilesToDelete(With(kIcons + "12.png", kIcons + "13.png"), kIcons),
            (std::vector<std::string>{kIcons + "12.png", kIcons + "13.png"}));
  // Compared without regard to case, as Windows paths are.
  const std::string upper = "C:\\USERS\\ME\\APPDATA\\ROAMING\\KIVOSOFT\\KIVO LAUNCHER\\KIVOICONS\\";
  EXPECT_EQ(IconFilesToDelete(With(upper + "7.png"), kIcons).size(), 1u);
  // The same file named twice is deleted once.
  EXPECT_EQ(IconFilesToDelete(With(kIcons + "5.png", kIcons + "5.png"), kIcons).size(), 1u);

  const char* kept[] = {
      "C:\\Program Files\\Kivo Launcher\\SysIcons\\My Computer.png",  // a built-in entry's icon
      "C:\\Users\\me\\Documents\\report.docx",                        // named by a damaged store
      "",                                                             // no icon
      "C:\\Users\\me\\AppData\\Roaming\\KivoSoft\\Kivo Launcher\\KivoIcons",  // the folder itself
  };
  for (const char* file : kept) {
    EXPECT_TRUE(IconFilesToDelete(With(file, file), kIcons).empty()) << file;
  }
  for (const std::string& escape : {kIcons + "..\\KivoMenu.cfg", kIcons + "sub\\1.png",
                                    kIcons + "..", kIcons + "a/../../x.png"}) {
    EXPECT_TRUE(IconFilesToDelete(With(escape), kIcons).empty()) << escape;
  }
  EXPECT_TRUE(IconFilesToDelete(With(kIcons + "1.png"), "").empty()) << "no folder, no deletion";
}

}  // namespace
}  // namespace kivo
