// Icon extraction against real programs' resources and real files. Files stay behind in
// the temporary folder: every run has a prefix of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/win32/gdiplus_session.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/handles.h"
#include "platform/win32/icon_extract_win.h"
#include "platform/win32/unicode.h"

namespace kivo {
namespace {

const std::string kNotepad = "C:\\windows\\notepad.exe";

// An icon image as RT_ICON resources and ".ico" files hold it: the header with twice the
// height, the palette, the colour rows bottom-up, then the AND mask rows bottom-up.
std::string DibIcon(int size, std::uint16_t bitCount, const std::string& palette,
                    const std::string& colourRows, const std::string& maskRows) {
  std::string out(40, '\0');
  const std::int32_t fields[] = {40, size, size * 2};
  std::memcpy(out.data(), fields, sizeof fields);
  out[12] = 1;  // planes
  std::memcpy(out.data() + 14, &bitCount, 2);
  return out + palette + colourRows + maskRows;
}

struct Pixels {
  UINT width = 0;
  UINT height = 0;
  std::vector<std::uint32_t> argb;
};

Pixels LoadPng(const std::string& file) {
  Pixels out;
  Gdiplus::GpBitmap* raw = nullptr;
  if (win::gp::GdipCreateBitmapFromFile(win::Widen(file).c_str(), &raw) != Gdiplus::Ok) return out;
  const win::GpBitmapPtr bitmap(raw);
  win::gp::GdipGetImageWidth(bitmap.get(), &out.width);
  win::gp::GdipGetImageHeight(bitmap.get(), &out.height);
  const Gdiplus::GpRect all(0, 0, static_cast<INT>(out.width), static_cast<INT>(out.height));
  Gdiplus::BitmapData data{};
  if (win::gp::GdipBitmapLockBits(raw, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                  &data) != Gdiplus::Ok)
    return out;
  for (UINT y = 0; y < out.height; ++y) {
    const auto* row = static_cast<const std::uint32_t*>(data.Scan0) +
                      static_cast<std::ptrdiff_t>(y) * data.Stride / 4;
    out.argb.insert(out.argb.end(), row, row + out.width);
  }
  win::gp::GdipBitmapUnlockBits(raw, &data);
  return out;
}

std::string ReadAll(const std::string& file) {
  return win::WinFileSystem().ReadFile(file, 64 << 20).value_or("<missing>");
}

class IconExtract : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Start());
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = win::Narrow(temp) + "kivo icons " + std::to_string(::GetTickCount64()) + "\\";
    ASSERT_TRUE(fs_.CreateFolder(folder_));
  }
  std::string Path(const std::string& name) const { return folder_ + name; }

  win::GdiplusSession gdiplus_;
  win::WinFileSystem fs_;
  std::string folder_;
};

// Wine's notepad.exe has one icon group with a 256-pixel PNG image and smaller DIB images;
// shell32.dll enumerates two groups with text names before its numbered ones.
TEST_F(IconExtract, ProgramIconIsTheLargestImageAndGroupsWithTextNamesAreFoundByIndex) {
  const std::string png = Path("图标 0.png");
  ASSERT_TRUE(fs_.WriteFileFlushed(png, "an older icon"));
  ASSERT_TRUE(win::ExtractResourceIcon(kNotepad, 0, png));
  EXPECT_TRUE(IsPng(AsBytes(ReadAll(png))));
  EXPECT_EQ(LoadPng(png).width, 256u);
  const std::string shell32 = "C:\\windows\\system32\\shell32.dll";
  for (int index : {0, 1, 2, 100000}) {
    const std::string shellPng = Path("shell " + std::to_string(index) + ".png");
    ASSERT_TRUE(win::ExtractResourceIcon(shell32, index, shellPng)) << index;
    const Pixels image = LoadPng(shellPng);
    EXPECT_TRUE(image.width >= 16 && image.width == image.height) << index;
  }
}

TEST_F(IconExtract, FailuresWriteNothing) {
  EXPECT_FALSE(win::ExtractResourceIcon(kNotepad, -30000, Path("a.png")));
  EXPECT_FALSE(win::ExtractResourceIcon(Path("missing.exe"), 0, Path("b.png")));
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("text.exe"), "MZ but not really a program"));
  EXPECT_FALSE(win::ExtractResourceIcon(Path("text.exe"), 0, Path("c.png")));
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("bad.ico"), std::string("\0\0\1\0\2\0", 6)));
  EXPECT_FALSE(win::ConvertIcoFile(Path("bad.ico"), Path("d.png")));
  EXPECT_FALSE(win::ConvertIcoFile(Path("missing.ico"), Path("e.png")));
  EXPECT_FALSE(win::WriteIconImage({}, 32, 32, 32, Path("f.png")));
  for (const char* name : {"a.png", "b.png", "c.png", "d.png", "e.png", "f.png"})
    EXPECT_FALSE(fs_.FileExists(Path(name))) << name;
}

TEST_F(IconExtract, DibImagesKeepTheirAlphaChannelOrTheirMask) {
  // 4 x 4 at 32 bits, red, with a different alpha in every pixel (the mask is unused).
  std::vector<std::uint32_t> argb;  // top row first
  std::string rows;                 // bottom row first
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x)
      argb.push_back(static_cast<std::uint32_t>(15 + 16 * (y * 4 + x)) << 24 | 0xFF0000u);
  }
  for (int y = 3; y >= 0; --y)
    rows.append(reinterpret_cast<const char*>(&argb[static_cast<std::size_t>(y * 4)]), 16);
  std::string deep = DibIcon(4, 32, "", rows, std::string(16, '\0'));
  ASSERT_TRUE(win::WriteIconImage(AsBytes(deep), 4, 4, 32, Path("deep.png")));
  EXPECT_EQ(LoadPng(Path("deep.png")).argb, argb);
  // The alpha channel as the icon handle holds it, before GDI+ sees it.
  const win::UniqueIcon handle(::CreateIconFromResourceEx(reinterpret_cast<BYTE*>(deep.data()),
                                                          static_cast<DWORD>(deep.size()), TRUE,
                                                          0x00030000, 0, 0, LR_DEFAULTCOLOR));
  ASSERT_TRUE(handle);
  int width = 0, height = 0;
  EXPECT_EQ(win::IconAlphaPixels(handle.get(), width, height), argb);
  EXPECT_EQ(std::pair(width, height), std::pair(4, 4));

  // 8 x 8 at 4 bits: palette entry 1 is green; the mask hides the black left half.
  const std::string palette =
      std::string(4, '\0') + std::string("\0\xFF\0\0", 4) + std::string(56, '\0');
  std::string colour, mask;
  for (int y = 0; y < 8; ++y)
    colour += std::string("\0\0\x11\x11", 4), mask += std::string("\xF0\0\0\0", 4);
  const std::string shallow = DibIcon(8, 4, palette, colour, mask);
  ASSERT_TRUE(win::WriteIconImage(AsBytes(shallow), 8, 8, 4, Path("shallow.png")));
  const Pixels out = LoadPng(Path("shallow.png"));
  ASSERT_EQ(out.argb.size(), 64u);
  for (std::size_t i = 0; i < 64; ++i)
    EXPECT_EQ(out.argb[i] >> 24 ? out.argb[i] : 0u, i % 8 < 4 ? 0u : 0xFF00FF00u) << i;
}

TEST_F(IconExtract, UserPictureIsScaledIntoAPngAndReplacedOnlyWhenWhole) {
  // A 600 x 300 picture under a ".jpg" name: GDI+ goes by the contents.
  Gdiplus::GpBitmap* raw = nullptr;
  ASSERT_EQ(win::gp::GdipCreateBitmapFromScan0(600, 300, 0, PixelFormat32bppARGB, nullptr, &raw),
            Gdiplus::Ok);
  const win::GpBitmapPtr photo(raw);
  ASSERT_EQ(win::SavePng(photo.get(), Path("photo.jpg")), Gdiplus::Ok);
  const std::string icon = Path("User Icon.ico");
  ASSERT_TRUE(win::SaveUserPicture(Path("photo.jpg"), icon));
  EXPECT_TRUE(IsPng(AsBytes(ReadAll(icon))));
  EXPECT_EQ(std::pair(LoadPng(icon).width, LoadPng(icon).height), std::pair(256u, 128u));

  // Not a picture, or no file: the old picture stays as it was.
  const std::string before = ReadAll(icon);
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("notes.png"), "not a picture"));
  EXPECT_FALSE(win::SaveUserPicture(Path("notes.png"), icon));
  EXPECT_FALSE(win::SaveUserPicture(Path("missing.bmp"), icon));
  EXPECT_EQ(ReadAll(icon), before);
  EXPECT_FALSE(fs_.FileExists(icon + ".tmp"));
}

// A Linux path of the build as Wine shows it (drive Z: is the root).
std::string BuildPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

TEST_F(IconExtract, KnownGroupsOfOurOwnModuleAndTheirIcoFilesGiveTheSameImages) {
  const std::string module = BuildPath(KIVO_ICON_MODULE);
  const char* icoFiles[] = {"png256.ico", "alpha48.ico", "depth32.ico"};
  for (int group = 0; group < 3; ++group) {
    const std::string ico = BuildPath(KIVO_TEST_ICONS "/") + icoFiles[group];
    const std::string png = Path(std::to_string(group) + ".png");
    ASSERT_TRUE(win::ExtractResourceIcon(module, group, png)) << group;
    ASSERT_TRUE(win::ConvertIcoFile(ico, Path("ico.png"))) << ico;
    EXPECT_EQ(ReadAll(Path("ico.png")), ReadAll(png)) << ico;
  }

  // Group 0: the 256-pixel PNG image wins over the 16-pixel one and is written unchanged.
  EXPECT_EQ(ReadAll(Path("0.png")), ReadAll(BuildPath(KIVO_TEST_ICONS "/png256.png")));

  // Group 1: a 32-bit image keeps its soft alpha, pixel for pixel.
  const Pixels soft = LoadPng(Path("1.png"));
  ASSERT_EQ(soft.argb.size(), 48u * 48u);
  for (const int x : {0, 12, 24, 36, 47}) {
    const std::uint32_t pixel = soft.argb[static_cast<std::size_t>(20 * 48 + x)];
    const auto alpha = static_cast<std::uint32_t>(255 - x * 255 / 47);
    EXPECT_EQ(pixel, alpha ? alpha << 24 | 0xFF0000u : pixel & 0xFFFFFF) << x;
  }

  // Group 2: of one size at 8 and 32 bits, the 32-bit image (opaque blue).
  const Pixels deep = LoadPng(Path("2.png"));
  ASSERT_EQ(deep.width, 32u);
  EXPECT_EQ(deep.argb[500], 0xFF0000FFu);

  // An index past the last group takes the last; a negative one names the identifier.
  ASSERT_TRUE(win::ExtractResourceIcon(module, 9, Path("9.png")));
  EXPECT_EQ(ReadAll(Path("9.png")), ReadAll(Path("2.png")));
  ASSERT_TRUE(win::ExtractResourceIcon(module, -102, Path("id.png")));
  EXPECT_EQ(LoadPng(Path("id.png")).argb, soft.argb);
  EXPECT_FALSE(win::ExtractResourceIcon(module, -999, Path("none.png")));

  // A PNG file named ".ico" is decoded and written again with the same pixels.
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("really png.ico"), ReadAll(Path("0.png"))));
  ASSERT_TRUE(win::ConvertIcoFile(Path("really png.ico"), Path("again.png")));
  const Pixels again = LoadPng(Path("again.png"));
  EXPECT_EQ(again.width, 256u);
  EXPECT_TRUE(again.argb == LoadPng(Path("0.png")).argb);
}

// A directory that lists a 16 x 16 image as 16 x 32 (or as 48 x 48): the picture is written
// at the size its own header gives, with its pixels unscaled, not stretched to the listing.
TEST_F(IconExtract, IcoImagesKeepTheSizeOfTheirOwnHeader) {
  std::string rows;
  std::vector<std::uint32_t> argb;
  for (int i = 0; i < 16 * 16; ++i) {
    const std::uint32_t pixel = (i / 16) % 2 == 0 ? 0xFF2040C0u : 0x80C08020u;
    rows.append(reinterpret_cast<const char*>(&pixel), 4);
  }
  // Bottom-up rows: the top row of the picture is the last one stored.
  for (int y = 15; y >= 0; --y)
    for (int x = 0; x < 16; ++x) argb.push_back(y % 2 == 0 ? 0xFF2040C0u : 0x80C08020u);
  const std::string image = DibIcon(16, 32, "", rows, std::string(16 * 4, '\0'));
  for (const auto& [listedWidth, listedHeight] : {std::pair(16, 32), std::pair(48, 48)}) {
    std::string ico("\0\0\1\0\1\0", 6);
    ico.push_back(static_cast<char>(listedWidth));
    ico.push_back(static_cast<char>(listedHeight));
    ico.append("\0\0\1\0\x20\0", 6);
    const auto bytes = static_cast<std::uint32_t>(image.size());
    ico.append(reinterpret_cast<const char*>(&bytes), 4);
    const std::uint32_t offset = 22;
    ico.append(reinterpret_cast<const char*>(&offset), 4);
    ico += image;
    ASSERT_TRUE(fs_.WriteFileFlushed(Path("lying.ico"), ico));
    ASSERT_TRUE(win::ConvertIcoFile(Path("lying.ico"), Path("lying.png"))) << listedHeight;
    const Pixels written = LoadPng(Path("lying.png"));
    EXPECT_EQ(std::pair(written.width, written.height), std::pair(16u, 16u)) << listedHeight;
    EXPECT_TRUE(written.argb == argb) << listedHeight;
  }
}

}  // namespace
}  // namespace kivo
