#include "items/item_icon_files.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

// Only the program's own copies in the user icon folder, without regard to case, each once;
// never a system icon, a file a damaged store names, the folder itself or a way out of it.
TEST(IconFilesToDelete, OnlyTheProgramsOwnCopiesInTheUserIconFolder) {
  const std::string icons = "C:\\Users\\me\\AppData\\Roaming\\KivoSoft\\Kivo Launcher\\KivoIcons\\";
  const std::string upper = "C:\\USERS\\ME\\APPDATA\\ROAMING\\KIVOSOFT\\KIVO LAUNCHER\\KIVOICONS\\";
  // clang-format off
  const std::tuple<std::string, std::string, std::string, std::vector<std::string>> cases[] = {
      {icons + "12.png", icons + "13.png", icons, {icons + "12.png", icons + "13.png"}},
      {upper + "7.png", "", icons, {upper + "7.png"}},
      {icons + "5.png", icons + "5.png", icons, {icons + "5.png"}},
      {"C:\\Program Files\\Kivo Launcher\\SysIcons\\My Computer.png", "C:\\Users\\me\\Documents\\report.docx", icons, {}},
      {icons.substr(0, icons.size() - 1), icons, icons, {}},
      {icons + "..\\KivoMenu.cfg", icons + "sub\\1.png", icons, {}},
      {icons + "..", icons + ".", icons, {}},
      {icons + "a/../../x.png", "", icons, {}},
      {icons + "1.png", "", "", {}},
  };
  // clang-format on
  for (const auto& [file, custom, folder, deleted] : cases) {
    ShortcutItem item;
    item.IconFile = file;
    item.CustomIconFile = custom;
    EXPECT_EQ(IconFilesToDelete(item, folder), deleted) << file << " " << custom;
  }
}

}  // namespace
}  // namespace kivo
