#include "core/text.h"

#include <gtest/gtest.h>

#include "core/ansi_codec.h"
#include "core/fixed_text.h"
#include "support/iconv_codec.h"

namespace kivo {
namespace {

TEST(Text, CleaningWebAddressesAndCharacters) {
  const std::pair<std::string, std::string> cleaned[] = {
      {"  abc  ", "abc"},
      {std::string("ab c\0 tail", 10), "ab c"},
      {std::string("\0abc", 4), ""},
      {"      ", ""},
      {"\tx\t", "\tx\t"}};  // only blanks are trimmed
  for (const auto& [text, clean] : cleaned) EXPECT_EQ(CleanText(text), clean) << text;
  // Only the first seven characters count: the seventh of https:// is '/'.
  for (const char* web : {"http://example.org", "  HTTPS://example.org", "https:/x"}) {
    EXPECT_TRUE(IsWebAddress(web)) << web;
  }
  for (const char* other : {"ftp://example.org", "http:/", "C:\\http://"}) {
    EXPECT_FALSE(IsWebAddress(other)) << other;
  }
  EXPECT_EQ(CountChars("a中b"), 3u);
  EXPECT_EQ(CountChars("a\xE4\xB8"), 3u) << "a cut-off sequence counts by its bytes";
  EXPECT_EQ(CutToChars("中文字", 2), "中文");
  EXPECT_EQ(CutToChars("ab", 5), "ab");
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const int halves[][2] = {{1080, 540}, {1081, 540}, {1083, 542}, {-3, -2}};
  for (const auto& [value, half] : halves) EXPECT_EQ(HalveRoundEven(value), half) << value;
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(26.42), 26);
}

TEST(FixedText, CutsToItsWidthInCharactersAndCleans) {
  FixedText<4> text = "  abcdef";
  EXPECT_EQ(text, "ab") << "cut to four characters first, then cleaned";
  text = "中文中文中文";
  EXPECT_EQ(text, "中文中文");
}

TEST(FixedField, KeepsCp936TextWholeAndNeverSplitsADoubleByteCharacter) {
  testing::IconvCodec codec{"CP936"};
  const std::string field = EncodeFixedText(codec, "我的电脑", 10);
  EXPECT_EQ(field, "\xCE\xD2\xB5\xC4\xB5\xE7\xC4\xD4  ") << "padded with blanks";
  EXPECT_EQ(DecodeFixedText(codec, field), "我的电脑");

  // 127 ASCII bytes and a Chinese character: the character does not fit in 128 bytes.
  const std::string cut = EncodeFixedText(codec, std::string(127, 'x') + "中", 128);
  EXPECT_EQ(cut, std::string(127, 'x') + ' ');
  EXPECT_EQ(DecodeFixedText(codec, cut), std::string(127, 'x'));
  EXPECT_EQ(DecodeFixedText(codec, EncodeFixedText(codec, "a☃b", 8)), "a?b");
  // A field ending in a lone lead byte before its NUL decodes without harm.
  EXPECT_EQ(DecodeFixedText(codec, std::string("ab\xD6\0  ", 6)).substr(0, 2), "ab");
}

}  // namespace
}  // namespace kivo
