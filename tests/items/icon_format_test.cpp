#include "items/icon_format.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/memory_file_system.h"

namespace kivo {
namespace {

struct Image {
  int width;  // pixels; 256 is stored as 0
  int height;
  std::uint16_t bitCount;
  std::string data;
};

void Put16(std::string& out, unsigned value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::string Header(std::size_t count) {
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(count));
  return out;
}

void PutSizes(std::string& out, const Image& image) {
  out.push_back(static_cast<char>(image.width & 0xFF));
  out.push_back(static_cast<char>(image.height & 0xFF));
  out.push_back(0);  // colour count
  out.push_back(0);  // reserved
  Put16(out, 1);     // planes
  Put16(out, image.bitCount);
  Put32(out, static_cast<std::uint32_t>(image.data.size()));
}

std::string GroupIcon(const std::vector<Image>& images) {
  std::string out = Header(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    PutSizes(out, images[i]);
    Put16(out, static_cast<unsigned>(i + 1));
  }
  return out;
}

std::string IcoFile(const std::vector<Image>& images) {
  std::string out = Header(images.size());
  std::size_t offset = 6 + 16 * images.size();
  for (const auto& image : images) {
    PutSizes(out, image);
    Put32(out, static_cast<std::uint32_t>(offset));
    offset += image.data.size();
  }
  for (const auto& image : images) out += image.data;
  return out;
}

std::string Png() {
  return std::string("\x89PNG\r\n\x1a\n", 8) + "IHDR-and-the-rest";
}

// A DIB icon image header that says `bitCount`, followed by a few pixel bytes.
std::string Dib(std::uint16_t bitCount) {
  std::string out;
  Put32(out, 40);
  Put32(out, 16);
  Put32(out, 32);
  Put16(out, 1);
  Put16(out, bitCount);
  out.resize(40 + 8, '\x55');
  return out;
}

// Every shorter copy of a sound directory is rejected. Each copy holds exactly `length`
// bytes, so that ASan sees any read past it.
void ExpectEveryCutRejected(const std::string& sound, std::vector<IconEntry> (*parse)(ByteSpan)) {
  ASSERT_EQ(parse(AsBytes(sound)).size(), 2u);
  for (std::size_t length = 0; length < sound.size(); ++length) {
    const std::vector<std::uint8_t> cut(sound.begin(),
                                        sound.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_TRUE(parse(cut).empty()) << length;
  }
}

TEST(ParseGroupIcon, ReadsEveryFieldOfTheCountedEntriesOnly) {
  std::string bytes = GroupIcon({{256, 256, 32, std::string(70000, 'p')}, {48, 32, 8, "abc"}});
  bytes[6 + 2] = 16;  // colour count of the first entry
  // The header's count decides, not the resource size: padding is not an extra image.
  bytes += std::string(14, '\x20');
  const auto entries = ParseGroupIcon(AsBytes(bytes));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (IconEntry{256, 256, 16, 1, 32, 70000, 1, 0}));
  EXPECT_EQ(entries[1], (IconEntry{48, 32, 0, 1, 8, 3, 2, 0}));
}

TEST(ParseGroupIcon, RejectsDamagedHeadersAndCounts) {
  const std::string sound = GroupIcon({{16, 16, 4, "x"}, {32, 32, 32, "y"}});
  ExpectEveryCutRejected(sound, ParseGroupIcon);
  // (offset, byte): one more entry than there are bytes for, a wild count, a cursor group,
  // a reserved word that is not 0.
  for (const auto& [at, value] : {std::pair{4, 3}, {5, 0xFF}, {2, 2}, {0, 1}}) {
    std::string damaged = sound;
    damaged[static_cast<std::size_t>(at)] = static_cast<char>(value);
    EXPECT_TRUE(ParseGroupIcon(AsBytes(damaged)).empty()) << at;
  }
  EXPECT_TRUE(ParseGroupIcon(AsBytes(Header(0) + std::string(14, '\0'))).empty());
}

TEST(ChooseGroupIconEntry, LargestWinsThenDeepestThenTheEarlierOfEquals) {
  // clang-format off
  const std::pair<std::vector<std::pair<int, std::uint16_t>>, std::optional<std::size_t>> cases[] =
      {
      {{{16, 32}, {32, 32}, {48, 32}, {256, 32}}, 3},
      {{{256, 32}, {48, 32}, {32, 32}, {16, 32}}, 0}, //256 is stored as 0 but beats every stored width, even at a lower depth.
      {{{255, 32}, {256, 4}, {128, 32}}, 1}, {{{32, 8}, {32, 32}}, 1}, {{{32, 32}, {32, 8}}, 0},
      {{{256, 8}, {256, 32}, {256, 24}}, 1}, {{{16, 4}, {48, 32}, {48, 32}, {32, 32}}, 1},
      {{{1, 1}}, 0}, //Bit counts outside 1..32 are never chosen.
      {{{256, 0}, {16, 4}}, 1}, {{{256, 33}, {48, 32}, {256, 64}}, 1},
      {{{48, 32}, {48, 0xFFFF}}, 0}, {{{256, 0}, {32, 33}, {16, 64}}, std::nullopt},
      {{}, std::nullopt},
  };
  // clang-format on
  for (const auto& [sizesAndBits, chosen] : cases) {
    std::vector<Image> images;
    for (const auto& [size, bits] : sizesAndBits) images.push_back({size, size, bits, "x"});
    EXPECT_EQ(ChooseGroupIconEntry(ParseGroupIcon(AsBytes(GroupIcon(images)))), chosen)
        << ::testing::PrintToString(sizesAndBits);
  }
}

TEST(ParseIcoDirectory, ReadsEntriesWhoseImagesLieInsideTheFile) {
  const std::string bytes = IcoFile({{16, 16, 8, Dib(8)}, {256, 256, 32, Png()}});
  const auto entries = ParseIcoDirectory(AsBytes(bytes));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (IconEntry{16, 16, 0, 1, 8, 48, 0, 38}));
  const auto png = IcoImageBytes(AsBytes(bytes), entries[1]);
  EXPECT_EQ(std::string(png.begin(), png.end()), Png());
  EXPECT_FALSE(IsPng(IcoImageBytes(AsBytes(bytes), entries[0])));
  // The whole signature is needed; seven bytes are copied alone so ASan sees a read past.
  const std::string signature = Png().substr(0, 8);
  const std::vector<std::uint8_t> seven(signature.begin(), signature.begin() + 7);
  std::string almost = Png();
  almost[7] = 0;
  EXPECT_FALSE(IsPng(seven));
  EXPECT_FALSE(IsPng(AsBytes(almost)));
  EXPECT_FALSE(IsPng({}));
  EXPECT_TRUE(IsPng(AsBytes(signature)));
}

TEST(ParseIcoDirectory, RejectsCutsCountsOffsetsAndSizesOutsideTheFile) {
  ExpectEveryCutRejected(IcoFile({{16, 16, 8, Dib(8)}, {32, 32, 32, Dib(32)}}), ParseIcoDirectory);
  const std::string sound = IcoFile({{32, 32, 32, Dib(32)}});
  auto damaged = [&](std::size_t at, std::uint32_t value, int width) {
    std::string bytes = sound;
    for (int i = 0; i < width; ++i)
      bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return ParseIcoDirectory(AsBytes(bytes));
  };
  // (at, value, width, entries): counts, an image past the end, empty or wrapping around,
  // one inside the directory; a shorter image is fine.
  const std::tuple<std::size_t, std::uint32_t, int, std::size_t> cases[] = {
      {4, 1, 2, 1},   {4, 2, 2, 0},           {4, 0xFFFF, 2, 0}, {4, 0, 2, 0},
      {2, 2, 2, 0},   {14, 49, 4, 0},         {14, 0, 4, 0},     {14, 0xFFFFFFFF, 4, 0},
      {18, 23, 4, 0}, {18, 0xFFFFFFF0, 4, 0}, {18, 0, 4, 0},     {18, 21, 4, 0},
      {14, 47, 4, 1}};
  for (const auto& [at, value, width, count] : cases) {
    EXPECT_EQ(damaged(at, value, width).size(), count) << at << " " << value;
  }
  // One damaged entry among sound ones makes the whole file damaged.
  std::string two = IcoFile({{16, 16, 32, Dib(32)}, {32, 32, 32, Dib(32)}});
  two[6 + 16 + 12] = '\x7F';
  EXPECT_TRUE(ParseIcoDirectory(AsBytes(two)).empty());
}

TEST(ChooseIcoEntry, PrefersLargeThenDeepImagesByTheirRealBitCount) {
  const std::string plain =
      IcoFile({{48, 48, 32, Dib(32)}, {256, 256, 8, Dib(8)}, {256, 256, 32, Png()}});
  EXPECT_EQ(ChooseIcoEntry(AsBytes(plain), ParseIcoDirectory(AsBytes(plain))), 2u);

  // Directory bit counts of 0 are read from the image: PNG counts as 32 bits.
  const std::string unsaid =
      IcoFile({{256, 256, 0, Dib(8)}, {256, 256, 0, Png()}, {48, 48, 0, Dib(32)}});
  const auto entries = ParseIcoDirectory(AsBytes(unsaid));
  EXPECT_EQ(IcoImageBitCount(AsBytes(unsaid), entries[0]), 8);
  EXPECT_EQ(IcoImageBitCount(AsBytes(unsaid), entries[1]), 32);
  EXPECT_EQ(ChooseIcoEntry(AsBytes(unsaid), entries), 1u);

  // Without any usable bit count nothing is chosen.
  const std::string unknown = IcoFile({{32, 32, 0, "short"}, {16, 16, 0, Dib(0)}});
  EXPECT_EQ(ChooseIcoEntry(AsBytes(unknown), ParseIcoDirectory(AsBytes(unknown))), std::nullopt);
}

// A PNG signature and the IHDR chunk of a width x height picture.
std::string PngOf(std::uint32_t width, std::uint32_t height) {
  std::string out = std::string("\x89PNG\r\n\x1a\n", 8);
  Put32(out, 0x0D000000);  // chunk length 13, big-endian
  out += "IHDR";
  for (std::uint32_t value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
  return out + std::string("\x08\x06\0\0\0", 5);
}

// A DIB icon image whose header says width x (2 x height): the colour image and the mask.
std::string DibOf(std::uint32_t width, std::uint32_t height) {
  std::string out = Dib(32);
  out.replace(4, 8, "");
  std::string sizes;
  Put32(sizes, width);
  Put32(sizes, 2 * height);
  return out.insert(4, sizes);
}

TEST(ReadIconImageSize, TheImagesOwnHeaderNotTheDirectory) {
  const std::pair<std::string, std::optional<IconImageSize>> cases[] = {
      {DibOf(48, 24), IconImageSize{48, 24}},
      {PngOf(1, 1024), IconImageSize{1, 1024}},
      {PngOf(0, 16), std::nullopt},
      {PngOf(16, 1025), std::nullopt},
      {PngOf(16, 16).substr(0, 23), std::nullopt},
      {Png(), std::nullopt},
      {DibOf(16, 0), std::nullopt},
      {DibOf(0x80000000u, 16), std::nullopt},
      {DibOf(16, 16).substr(0, 39), std::nullopt},
      {"", std::nullopt}};
  for (const auto& [bytes, size] : cases) EXPECT_EQ(ReadIconImageSize(AsBytes(bytes)), size);
  // A 16 x 16 image listed as 32 x 32 is no larger than a real 24 x 24 one.
  const std::string lying = IcoFile({{32, 32, 32, DibOf(16, 16)}, {24, 24, 32, DibOf(24, 24)}});
  const auto entries = ParseIcoDirectory(AsBytes(lying));
  EXPECT_EQ(ChooseIcoEntry(AsBytes(lying), entries), 1u);
}

TEST(ChooseGroupIconName, PicksByIndexOrByIdentifier) {
  const std::vector<ResourceName> names = {{false, 0, "MAINICON"}, {true, 2, {}}, {true, 7, {}}};
  EXPECT_EQ(ChooseGroupIconName(names, 0), names[0]);
  EXPECT_EQ(ChooseGroupIconName(names, 2), names[2]);
  // Past the end: the last group.
  EXPECT_EQ(ChooseGroupIconName(names, INT_MAX), names[2]);
  // Negative: the identifier, whether or not it was enumerated.
  EXPECT_EQ(ChooseGroupIconName(names, -7), (ResourceName{true, 7, {}}));
  EXPECT_EQ(ChooseGroupIconName({}, -65535), (ResourceName{true, 65535, {}}));
  // No such identifier can exist; INT_MIN has no positive int counterpart.
  EXPECT_EQ(ChooseGroupIconName(names, -65536), std::nullopt);
  EXPECT_EQ(ChooseGroupIconName(names, INT_MIN), std::nullopt);
  EXPECT_EQ(ChooseGroupIconName({}, 0), std::nullopt);

  // Identifiers are looked up as "#n", apart from names that look like numbers.
  EXPECT_EQ(ResourceLookupName({true, 32512, {}}), "#32512");
  EXPECT_EQ(ResourceLookupName({false, 0, "7"}), "7");
}

TEST(NewIconFileName, TakesTheFirstFreeNumber) {
  testing::MemoryFileSystem fs;
  const std::string folder = "C:\\Data\\KivoIcons\\";
  EXPECT_EQ(NewIconFileName(fs, folder), folder + "0.png");
  fs.Put(folder + "0.PNG", "x");  // names compare without regard to case
  fs.Put(folder + "1.png", "x");
  fs.Put(folder + "3.png", "x");
  fs.Put("C:\\Data\\2.png", "x");
  EXPECT_EQ(NewIconFileName(fs, folder), folder + "2.png");
  // A folder of that name cannot be written either.
  ASSERT_TRUE(fs.CreateFolder(folder + "2.png"));
  EXPECT_EQ(NewIconFileName(fs, folder), folder + "4.png");
}

}  // namespace
}  // namespace kivo
