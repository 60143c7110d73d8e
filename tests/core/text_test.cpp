#include "core/text.h"

#include <gtest/gtest.h>

#include "core/ansi_codec.h"
#include "core/fixed_text.h"
#include "support/iconv_codec.h"

namespace kivo {
namespace {

TEST(CleanText, CutsAtFirstNulThenTrimsBlanks) {
  EXPECT_EQ(CleanText("  abc  "), "abc");
  EXPECT_EQ(CleanText(std::string("ab c\0 tail", 10)), "ab c");
  EXPECT_EQ(CleanText(std::string("\0abc", 4)), "");
  EXPECT_EQ(CleanText("      "), "");
  EXPECT_EQ(CleanText("\tx\t"), "\tx\t") << "only blanks are trimmed";
}

TEST(IsWebAddress, LooksAtTheFirstSevenCharactersOnly) {
  EXPECT_TRUE(IsWebAddress("http://example.org"));
  EXPECT_TRUE(IsWebAddress("  HTTPS://example.org"));
  EXPECT_TRUE(IsWebAddress("https:/x")) << "the seventh character of https:// is '/'";
  EXPECT_FALSE(IsWebAddress("ftp://example.org"));
  EXPECT_FALSE(IsWebAddress("http:/"));
  EXPECT_FALSE(IsWebAddress("C:\\http://"));
}

TEST(Utf8, CountsAndCutsWholeCharacters) {
  EXPECT_EQ(CountChars("a中b"), 3u);
  EXPECT_EQ(CutToChars("中文字", 2), "中文");
  EXPECT_EQ(CutToChars("ab", 5), "ab");
  const std::string malformed = "a\xE4\xB8";  // a cut-off three-byte sequence
  EXPECT_EQ(CountChars(malformed), 3u);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(HalveRoundEven(1080), 540);
  EXPECT_EQ(HalveRoundEven(1081), 540);  // 540.5
  EXPECT_EQ(HalveRoundEven(1083), 542);  // 541.5
  EXPECT_EQ(HalveRoundEven(-3), -2);     // -1.5
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
