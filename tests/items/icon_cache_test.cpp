#include "items/icon_cache.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(IconCacheFile, NamedFromTheFileAndItsWholePathWithoutCase) {
  const std::string cache = IconCacheFolder("C:\\Data\\KivoIcons");
  EXPECT_EQ(cache, "C:\\Data\\KivoIcons\\cache\\");
  const std::string a = IconCacheFile(cache, "C:\\Data\\KivoIcons\\12.png");
  EXPECT_EQ(a.rfind(cache + "12.png.", 0), 0u) << a;
  EXPECT_EQ(IconCacheFile(cache, "c:\\data\\kivoicons\\12.PNG").substr(a.size() - 21),
            a.substr(a.size() - 21));
  EXPECT_NE(a, IconCacheFile(cache, "D:\\Other\\12.png"));
  EXPECT_NE(a, IconCacheFile(cache, "C:\\Data\\KivoIcons\\12.png", kRingCopySize));
  EXPECT_EQ(IconCacheFile("", "C:\\x.png") + IconCacheFile(cache, ""), "");
  // A long name is cut at a character boundary ("é" is two bytes).
  const std::string longName = IconCacheFile(cache, "C:\\" + std::string(47, 'a') + "\xC3\xA9.png");
  EXPECT_EQ(longName.substr(cache.size(), 48), std::string(47, 'a') + ".");
}

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
  EXPECT_FALSE(DecodeCachedIcon(bytes, {stamp.size + 1, stamp.writeTime}));
  EXPECT_FALSE(DecodeCachedIcon(bytes, {stamp.size, stamp.writeTime + 1}));
  for (const int side : {0, kLargestCachedIcon + 1}) {
    const CachedIcon bad{side, 1, std::vector<std::uint32_t>(static_cast<std::size_t>(side))};
    EXPECT_FALSE(DecodeCachedIcon(EncodeCachedIcon(bad, stamp), stamp)) << side;
  }
}

}  // namespace
}  // namespace kivo
