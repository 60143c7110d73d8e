// Icon extraction against real programs' resources and real files. Files stay behind in
// the temporary folder: every run has a prefix of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/win32/gdiplus_session.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/handles.h"
#include "platform/win32/icon_extract_win.h"
#include "platform/win32/unicode.h"

namespace kivo {
namespace {

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
  win::gp::GdipGetImageWidth(raw, &out.width);
  win::gp::GdipGetImageHeight(raw, &out.height);
  for (UINT i = 0; i < out.width * out.height; ++i) {
    Gdiplus::ARGB pixel = 0;
    win::gp::GdipBitmapGetPixel(raw, static_cast<INT>(i % out.width),
                                static_cast<INT>(i / out.width), &pixel);
    out.argb.push_back(pixel);
  }
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
  ASSERT_TRUE(win::ExtractResourceIcon("C:\\windows\\notepad.exe", 0, png));
  EXPECT_EQ(LoadPng(png).width, 256u);
  for (int index : {0, 2, 100000}) {
    ASSERT_TRUE(win::ExtractResourceIcon("C:\\windows\\system32\\shell32.dll", index, png));
    const Pixels image = LoadPng(png);
    EXPECT_TRUE(image.width >= 16 && image.width == image.height) << index;
  }
}

TEST_F(IconExtract, FailuresWriteNothing) {
  EXPECT_FALSE(win::ExtractResourceIcon("C:\\windows\\notepad.exe", -30000, Path("a.png")));
  EXPECT_FALSE(win::ExtractResourceIcon(Path("missing.exe"), 0, Path("b.png")));
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("text.exe"), "MZ but not really a program"));
  EXPECT_FALSE(win::ExtractResourceIcon(Path("text.exe"), 0, Path("c.png")));
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("bad.ico"), std::string("\0\0\1\0\2\0", 6)));
  EXPECT_FALSE(win::ConvertIcoFile(Path("bad.ico"), Path("d.png")));
  EXPECT_FALSE(win::WriteIconImage({}, 32, 32, 32, Path("e.png")));
  for (const char* name : {"a.png", "b.png", "c.png", "d.png", "e.png"})
    EXPECT_FALSE(fs_.FileExists(Path(name))) << name;
}

TEST_F(IconExtract, DibImagesKeepTheirAlphaChannelOrTheirMask) {
  // 4 x 4 at 32 bits, red, with a different alpha in every pixel (the mask is unused).
  std::vector<std::uint32_t> argb;  // top row first
  std::string rows;                 // bottom row first
  for (int i = 0; i < 16; ++i)
    argb.push_back(static_cast<std::uint32_t>(15 + 16 * i) << 24 | 0xFF0000u);
  for (int y = 3; y >= 0; --y)
    rows.append(reinterpret_cast<const char*>(&argb[static_cast<std::size_t>(y * 4)]), 16);
  const std::string deep = DibIcon(4, 32, "", rows, std::string(16, '\0'));
  ASSERT_TRUE(win::WriteIconImage(AsBytes(deep), 4, 4, 32, Path("deep.png")));
  EXPECT_EQ(LoadPng(Path("deep.png")).argb, argb);

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
  EXPECT_EQ(std::pair(LoadPng(icon).width, LoadPng(icon).height), std::pair(256u, 128u));

  // Not a picture, or no file: the old picture stays as it was.
  const std::string before = ReadAll(icon);
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("notes.png"), "not a picture"));
  EXPECT_FALSE(win::SaveUserPicture(Path("notes.png"), icon));
  EXPECT_FALSE(win::SaveUserPicture(Path("missing.bmp"), icon));
  EXPECT_EQ(ReadAll(icon), before);
  EXPECT_FALSE(fs_.FileExists(icon + ".tmp"));
}

// A directory that lists a 16 x 16 image as 16 x 32 (or as 48 x 48): the picture is written
// at the size its own header gives, with its pixels unscaled, not stretched to the listing.
TEST_F(IconExtract, IcoImagesKeepTheSizeOfTheirOwnHeader) {
  const std::vector<std::uint32_t> argb(16 * 16, 0x80C08020u);
  const std::string image =
      DibIcon(16, 32, "", std::string(reinterpret_cast<const char*>(argb.data()), 16 * 16 * 4),
              std::string(16 * 4, '\0'));
  for (const char listed : {char{32}, char{48}}) {
    std::string ico =
        std::string("\0\0\1\0\1\0", 6) + char{16} + listed + std::string("\0\0\1\0\x20\0", 6);
    const std::uint32_t fields[] = {static_cast<std::uint32_t>(image.size()), 22};
    ico.append(reinterpret_cast<const char*>(fields), 8);
    ASSERT_TRUE(fs_.WriteFileFlushed(Path("lying.ico"), ico + image));
    ASSERT_TRUE(win::ConvertIcoFile(Path("lying.ico"), Path("lying.png"))) << int{listed};
    const Pixels written = LoadPng(Path("lying.png"));
    EXPECT_EQ(std::pair(written.width, written.height), std::pair(16u, 16u)) << int{listed};
    EXPECT_TRUE(written.argb == argb) << int{listed};
  }
}

}  // namespace
}  // namespace kivo
