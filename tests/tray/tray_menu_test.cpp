#include "tray/tray_menu.h"

#include <gtest/gtest.h>

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

// Whatever the address, the tip is the whole text when it fits, else its longest prefix of
// whole characters that fits the field.
TEST(TrayMenuTest, TipIsCutToItsFieldAtWholeCharacters) {
  for (const std::string unit : {"a", "页", "😀"}) {
    std::string address;
    for (std::size_t n = 0; n <= 70; ++n, address += unit) {
      const std::string whole = "Kivo Launcher 12.345\r\n" + address;
      const std::string tip = TrayTip(12, 345, address);
      SCOPED_TRACE(whole);
      EXPECT_LE(Units(tip), kTrayTipLength);
      EXPECT_EQ(whole.substr(0, tip.size()), tip);
      EXPECT_EQ(std::string(CutToChars(tip, CountChars(tip))), tip);
      if (tip != whole) {
        EXPECT_GT(Units(std::string(CutToChars(whole, CountChars(tip) + 1))), kTrayTipLength);
      }
    }
  }
}

}  // namespace
}  // namespace kivo
