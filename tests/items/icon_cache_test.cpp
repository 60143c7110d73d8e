#include "items/icon_cache.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(CachedIcon, ReadBackOnlyWhenWholeAndFromTheSameSource) {
  const CachedIcon icon{2, 3, {0xFF102030u, 0x80404000u, 0, 1, 2, 0xFFFFFFFFu}};
  const IconStamp stamp{18342, 133500000000000123ull};
  const std::string bytes = EncodeCachedIcon(icon, stamp);
  const auto back = DecodeCachedIcon(bytes, stamp);
  ASSERT_TRUE(back);
  EXPECT_EQ(std::tuple(back->width, back->height, back->pixels), std::tuple(2, 3, icon.pixels));
  std::string other = bytes;
  other[0] = 'X';
  for (const std::string& bad : {bytes.substr(0, bytes.size() - 1), bytes + "x", other})
    EXPECT_FALSE(DecodeCachedIcon(bad, stamp)) << bad.size();
  EXPECT_FALSE(DecodeCachedIcon(bytes, {stamp.size + 1, stamp.writeTime}) ||
               DecodeCachedIcon(bytes, {stamp.size, stamp.writeTime + 1}));
}

}  // namespace
}  // namespace kivo
