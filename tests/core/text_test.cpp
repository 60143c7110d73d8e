#include "core/text.h"

#include <gtest/gtest.h>

#include "core/ansi_codec.h"
#include "core/fixed_text.h"
#include "support/iconv_codec.h"

namespace kivo {
namespace {

TEST(Text, CleaningWebAddressesCharactersAndRounding) {
  const std::pair<std::string, std::string> cleaned[] = {
      {std::string(" ab c\0 tail", 11), "ab c"}, {"      ", ""}, {"\tx\t", "\tx\t"}};
  for (const auto& [text, clean] : cleaned) EXPECT_EQ(CleanText(text), clean) << text;
  // Only the first seven characters count: the seventh of https:// is '/'.
  for (const char* web : {"  HTTPS://example.org", "https:/x"}) EXPECT_TRUE(IsWebAddress(web));
  for (const char* other : {"http:/", "C:\\http://"}) EXPECT_FALSE(IsWebAddress(other));
  EXPECT_EQ(CountChars("a\xE4\xB8"), 3u) << "a cut-off sequence counts by its bytes";
  EXPECT_EQ(CutToChars("中文字", 2), "中文");
  const int halves[][2] = {{1081, 540}, {1083, 542}, {-3, -2}};
  for (const auto& [value, half] : halves) EXPECT_EQ(HalveRoundEven(value), half) << value;
  EXPECT_EQ(std::pair(RoundHalfEven(2.5), RoundHalfEven(3.5)), std::pair(2, 4));
  FixedText<4> text = "  abcdef";
  EXPECT_EQ(text, "ab") << "cut to four characters first, then cleaned";
}

TEST(FixedField, KeepsCp936TextWholeAndNeverSplitsADoubleByteCharacter) {
  testing::IconvCodec codec{"CP936"};
  const std::string field = EncodeFixedText(codec, "我的电脑", 10);
  EXPECT_EQ(field, "\xCE\xD2\xB5\xC4\xB5\xE7\xC4\xD4  ") << "padded with blanks";
  EXPECT_EQ(DecodeFixedText(codec, field), "我的电脑");
  // 127 ASCII bytes and a Chinese character: the character does not fit in 128 bytes.
  const std::string cut = EncodeFixedText(codec, std::string(127, 'x') + "中", 128);
  EXPECT_EQ(cut, std::string(127, 'x') + ' ');
  EXPECT_EQ(DecodeFixedText(codec, EncodeFixedText(codec, "a☃b", 8)), "a?b");
  // A field ending in a lone lead byte before its NUL decodes without harm.
  EXPECT_EQ(DecodeFixedText(codec, std::string("ab\xD6\0  ", 6)).substr(0, 2), "ab");
}

}  // namespace
}  // namespace kivo
