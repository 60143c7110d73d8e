#include "tray/tray_menu.h"

#include <gtest/gtest.h>

#include <set>

#include "core/text.h"

namespace kivo {
namespace {

// UTF-16 units of a UTF-8 text, as the tip's field counts them.
std::size_t Units(const std::string& utf8) {
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < utf8.size(); pos += Utf8SequenceLength(utf8, pos)) {
    units += Utf8SequenceLength(utf8, pos) == 4 ? 2u : 1u;
  }
  return units;
}

TEST(TrayMenuTest, TipNamesVersionAndHomePage) {
  EXPECT_EQ(TrayTip(2, 0, "https://www.kivosoft.com/"),
            "Kivo Launcher 2.0\r\nhttps://www.kivosoft.com/");
}

// Whatever the address, the tip fits its field, is a prefix of the whole text and cuts no
// character in half.
TEST(TrayMenuTest, TipIsCutToItsFieldAtWholeCharacters) {
  const std::string head = "Kivo Launcher 12.345\r\n";
  for (const std::string unit : {"a", "页", "😀"}) {
    for (std::size_t n = 0; n <= 70; ++n) {
      std::string address;
      for (std::size_t i = 0; i < n; ++i) address += unit;
      const std::string whole = head + address;
      const std::string tip = TrayTip(12, 345, address);
      SCOPED_TRACE(whole);
      EXPECT_LE(Units(tip), kTrayTipLength);
      EXPECT_EQ(whole.substr(0, tip.size()), tip);
      EXPECT_EQ(std::string(CutToChars(tip, CountChars(tip))), tip);
      if (Units(whole) <= kTrayTipLength) {
        EXPECT_EQ(tip, whole) << "short texts are kept whole";
      } else {
        // Cut as late as the field allows: one more character would not fit.
        const std::string next(CutToChars(whole, CountChars(tip) + 1));
        EXPECT_GT(Units(next), kTrayTipLength);
      }
    }
  }
}

TEST(TrayMenuTest, EightEntriesWithDistinctCommands) {
  const char* captions[] = {
      "更改头像和用户名", "设置", "关于 Kivo Launcher", "", "官方网站", "在线帮助", "", "退出"};
  std::set<int> ids;
  for (std::size_t i = 0; i < kTrayMenu.size(); ++i) {
    EXPECT_STREQ(kTrayMenu[i].caption, captions[i]);
    const bool separator = kTrayMenu[i].command == TrayCommand::None;
    EXPECT_EQ(separator, captions[i][0] == '\0');
    if (!separator) {
      const int id = static_cast<int>(kTrayMenu[i].command);
      EXPECT_TRUE(ids.insert(id).second);
      EXPECT_EQ(TrayCommandFromId(id), kTrayMenu[i].command);
    }
  }
  EXPECT_EQ(ids.size(), 6u);
  EXPECT_EQ(kTrayMenu.back().command, TrayCommand::Exit);
  for (const int unknown : {0, -1, 7, 2025}) {
    EXPECT_EQ(TrayCommandFromId(unknown), TrayCommand::None);
  }
}

}  // namespace
}  // namespace kivo
