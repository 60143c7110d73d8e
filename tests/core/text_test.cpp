#include "core/text.h"

#include <gtest/gtest.h>

#include "core/ansi_codec.h"
#include "core/fixed_text.h"
#include "support/iconv_codec.h"

namespace kivo {
namespace {

TEST(Text, CleaningWebAddressesAndRounding) {
  EXPECT_EQ(CleanText(std::string(" ab c\0 tail", 11)), "ab c");
  EXPECT_EQ(CleanText("\tx\t"), "\tx\t") << "only blanks are trimmed";
  // Only the first seven characters count: the seventh of https:// is '/'.
  EXPECT_TRUE(IsWebAddress("  HTTPS://example.org") && IsWebAddress("https:/x"));
  EXPECT_FALSE(IsWebAddress("http:/") || IsWebAddress("C:\\http://"));
  EXPECT_EQ(CountChars("a\xE4\xB8"), 3u) << "a cut-off sequence counts by its bytes";
  EXPECT_EQ(std::tuple(HalveRoundEven(1081), HalveRoundEven(1083), HalveRoundEven(-3)),
            std::tuple(540, 542, -2));
  EXPECT_EQ(FixedText<4>("  abcdef"), "ab") << "cut to four characters first, then cleaned";
}

TEST(FixedField, KeepsCp936TextWholeAndNeverSplitsADoubleByteCharacter) {
  testing::IconvCodec codec{"CP936"};
  EXPECT_EQ(EncodeFixedText(codec, "我的", 6), "\xCE\xD2\xB5\xC4  ") << "padded with blanks";
  // 127 ASCII bytes and a Chinese character: the character does not fit in 128 bytes.
  const std::string cut = EncodeFixedText(codec, std::string(127, 'x') + "中", 128);
  EXPECT_EQ(cut, std::string(127, 'x') + ' ');
  EXPECT_EQ(DecodeFixedText(codec, EncodeFixedText(codec, "a☃b", 8)), "a?b");
  // A field ending in a lone lead byte before its NUL decodes without harm.
  EXPECT_EQ(DecodeFixedText(codec, std::string("ab\xD6\0  ", 6)).substr(0, 2), "ab");
}

}  // namespace
}  // namespace kivo
