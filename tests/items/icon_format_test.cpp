#include "items/icon_format.h"

#include <gtest/gtest.h>

#include "support/memory_file_system.h"

namespace kivo {
namespace {

struct Image {
  int width;  // pixels; 256 is stored as 0
  int height;
  std::uint16_t bitCount;
  std::string data;
};

void Put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
// A group icon resource (`ico` false) or an .ico file: header, entries, a file's images.
std::string Directory(const std::vector<Image>& images, bool ico) {
  std::string out;
  for (unsigned value : {0u, 1u, static_cast<unsigned>(images.size())}) Put(out, value, 2);
  std::size_t offset = 6 + 16 * images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    out += {static_cast<char>(images[i].width & 0xFF), static_cast<char>(images[i].height & 0xFF),
            0, 0};
    Put(out, 1, 2);  // planes
    Put(out, images[i].bitCount, 2);
    Put(out, static_cast<std::uint32_t>(images[i].data.size()), 4);
    if (!ico) Put(out, static_cast<unsigned>(i + 1), 2);
    if (ico) Put(out, static_cast<std::uint32_t>(offset), 4);
    offset += images[i].data.size();
  }
  for (const auto& image : images) out += ico ? image.data : "";
  return out;
}

// A PNG signature and the IHDR chunk of a width x height picture.
std::string PngOf(std::uint32_t width, std::uint32_t height) {
  std::string out = std::string("\x89PNG\r\n\x1a\n", 8);
  Put(out, 0x0D000000, 4);  // chunk length 13, big-endian
  out += "IHDR";
  for (std::uint32_t value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
  return out + std::string("\x08\x06\0\0\0", 5);
}

// A DIB icon image: header (height doubled for the mask), `bitCount`, a few pixel bytes.
std::string Dib(std::uint16_t bitCount, std::uint32_t width = 16, std::uint32_t height = 16) {
  std::string out;
  for (std::uint32_t value : {40u, width, 2 * height}) Put(out, value, 4);
  Put(out, 1, 2);
  Put(out, bitCount, 2);
  out.resize(40 + 8, '\x55');
  return out;
}

// Every shorter copy of a sound directory is rejected, as are the damages given as
// (offset, value, width, entries left); each cut is its own copy, for ASan.
void ExpectDamageRejected(
    const std::string& sound, std::vector<IconEntry> (*parse)(ByteSpan),
    const std::vector<std::tuple<std::size_t, std::uint32_t, int, std::size_t>>& damages) {
  ASSERT_FALSE(parse(AsBytes(sound)).empty());
  for (std::size_t length = 0; length < sound.size(); ++length) {
    const std::vector<std::uint8_t> cut(sound.begin(),
                                        sound.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_TRUE(parse(cut).empty()) << length;
  }
  for (const auto& [at, value, width, count] : damages) {
    std::string bytes = sound;
    for (int i = 0; i < width; ++i)
      bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    EXPECT_EQ(parse(AsBytes(bytes)).size(), count) << at << " " << value;
  }
}

TEST(ParseGroupIcon, ReadsTheCountedEntriesAndRejectsDamage) {
  std::string bytes =
      Directory({{256, 256, 32, std::string(70000, 'p')}, {48, 32, 8, "abc"}}, false);
  bytes[6 + 2] = 16;  // colour count of the first entry
  // The header's count decides, not the resource size: padding is not an extra image.
  const auto entries = ParseGroupIcon(AsBytes(bytes + std::string(14, '\x20')));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (IconEntry{256, 256, 16, 1, 32, 70000, 1, 0}));
  EXPECT_EQ(entries[1], (IconEntry{48, 32, 0, 1, 8, 3, 2, 0}));
  // One more entry than there are bytes for, a wild count, none, a cursor group, a reserved
  // word that is not 0.
  ExpectDamageRejected(bytes, ParseGroupIcon,
                       {{4, 3, 1, 0}, {5, 0xFF, 1, 0}, {4, 0, 2, 0}, {2, 2, 1, 0}, {0, 1, 1, 0}});
}

TEST(ParseIcoDirectory, ReadsEntriesWhoseImagesLieInsideTheFile) {
  const std::string png = PngOf(256, 256);
  const std::string bytes = Directory({{16, 16, 8, Dib(8)}, {256, 256, 32, png}}, true);
  const auto entries = ParseIcoDirectory(AsBytes(bytes));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (IconEntry{16, 16, 0, 1, 8, 48, 0, 38}));
  const auto image = IcoImageBytes(AsBytes(bytes), entries[1]);
  EXPECT_EQ(std::string(image.begin(), image.end()), png);
  EXPECT_FALSE(IsPng(IcoImageBytes(AsBytes(bytes), entries[0])));
  // Counts, an image past the end, empty or wrapping around, one inside the directory; a
  // shorter image is fine. One damaged entry among sound ones makes the whole file damaged.
  // clang-format off
  ExpectDamageRejected(Directory({{32, 32, 32, Dib(32)}}, true), ParseIcoDirectory,
                       {{4, 2, 2, 0}, {4, 0xFFFF, 2, 0}, {4, 0, 2, 0}, {2, 2, 2, 0}, {14, 49, 4, 0}, {14, 0, 4, 0},
                        {14, 0xFFFFFFFF, 4, 0}, {18, 23, 4, 0}, {18, 0xFFFFFFF0, 4, 0}, {18, 0, 4, 0}, {18, 21, 4, 0}, {14, 47, 4, 1}});
  // clang-format on
  ExpectDamageRejected(Directory({{16, 16, 32, Dib(32)}, {32, 32, 32, Dib(32)}}, true),
                       ParseIcoDirectory, {{6 + 16 + 12, 0x7F, 1, 0}});
}

TEST(NewIconFileName, TakesTheFirstFreeNumber) {
  testing::MemoryFileSystem fs;
  const std::string folder = "C:\\Data\\KivoIcons\\";
  EXPECT_EQ(NewIconFileName(fs, folder), folder + "0.png");
  for (const std::string& name :
       {folder + "0.PNG", folder + "1.png", folder + "3.png", std::string("C:\\Data\\2.png")})
    fs.Put(name, "x");  // names compare without regard to case
  EXPECT_EQ(NewIconFileName(fs, folder), folder + "2.png");
  // A folder of that name cannot be written either.
  ASSERT_TRUE(fs.CreateFolder(folder + "2.png"));
  EXPECT_EQ(NewIconFileName(fs, folder), folder + "4.png");
}

}  // namespace
}  // namespace kivo
