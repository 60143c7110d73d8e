#include "core/text.h"

#include <gtest/gtest.h>

#include "core/ansi_codec.h"
#include "core/fixed_text.h"
#include "support/iconv_codec.h"

namespace kivo {
namespace {

TEST(FixedField, KeepsCp936TextWholeAndNeverSplitsADoubleByteCharacter) {
  testing::IconvCodec codec{"CP936"};
  EXPECT_EQ(EncodeFixedText(codec, "我的", 6), "\xCE\xD2\xB5\xC4  ") << "padded with blanks";
  // 127 ASCII bytes and a Chinese character: the character does not fit in 128 bytes.
  const std::string cut = EncodeFixedText(codec, std::string(127, 'x') + "中", 128);
  EXPECT_EQ(cut, std::string(127, 'x') + ' ');
  // A field ending in a lone lead byte before its NUL decodes without harm.
  EXPECT_EQ(DecodeFixedText(codec, std::string("ab\xD6\0  ", 6)).substr(0, 2), "ab");
}

}  // namespace
}  // namespace kivo
