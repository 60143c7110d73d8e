#include "items/icon_cache.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

const std::string kCache = "C:\\Data\\KivoIcons\\cache\\";

TEST(IconCacheFile, NamedFromTheFileAndItsWholePathWithoutCase) {
  EXPECT_EQ(IconCacheFolder("C:\\Data\\KivoIcons\\"), kCache);
  EXPECT_EQ(IconCacheFolder("C:\\Data\\KivoIcons"), kCache);
  EXPECT_EQ(IconCacheFolder(""), "");
  const std::string a = IconCacheFile(kCache, "C:\\Data\\KivoIcons\\12.png");
  EXPECT_EQ(a.rfind(kCache + "12.png.", 0), 0u) << a;
  EXPECT_EQ(a.size(), kCache.size() + std::string("12.png.").size() + 16 + 5);
  const std::string lower = IconCacheFile(kCache, "c:\\data\\kivoicons\\12.PNG");
  EXPECT_EQ(lower.substr(lower.size() - 21), a.substr(a.size() - 21)) << "one hash for any case";
  EXPECT_NE(a, IconCacheFile(kCache, "D:\\Other\\12.png"));
  EXPECT_EQ(IconCacheFile("", "C:\\x.png") + IconCacheFile(kCache, ""), "");
  // A ring copy sits beside the row's copy of the same picture, named apart by its size.
  EXPECT_EQ(IconCacheFile(kCache, "C:\\Data\\KivoIcons\\12.png", kRingCopySize),
            a.substr(0, a.size() - 5) + ".128.px32");
  EXPECT_EQ(IconCacheFile(kCache, "C:\\x.png", kRowCopySize), IconCacheFile(kCache, "C:\\x.png"));
  // A long name is cut at a character boundary ("é" is two bytes).
  const std::string longName =
      IconCacheFile(kCache, "C:\\" + std::string(47, 'a') + "\xC3\xA9.png");
  EXPECT_EQ(longName.substr(kCache.size(), 48), std::string(47, 'a') + ".");
}

// Read back only when whole and from the same source (size and time).
TEST(CachedIcon, ReadBackOnlyWhenWholeAndFromTheSameSource) {
  const CachedIcon icon{2, 3, {0xFF102030u, 0x80404000u, 0, 1, 2, 0xFFFFFFFFu}};
  const IconStamp stamp{18342, 133500000000000123ull};
  const std::string bytes = EncodeCachedIcon(icon, stamp);
  const auto back = DecodeCachedIcon(bytes, stamp);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 2);
  EXPECT_EQ(back->height, 3);
  EXPECT_EQ(back->pixels, icon.pixels);
  std::string other = bytes;
  other[0] = 'X';
  for (const std::string& bad :
       {bytes.substr(0, bytes.size() - 1), bytes + "x", std::string(), other})
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
