// Icon extraction against a real program's resources: Wine's notepad.exe has one icon group
// with a 256-pixel PNG image and smaller DIB images.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "win32/file_system_win.h"
#include "win32/gdiplus_session.h"
#include "win32/handles.h"
#include "win32/icon_extract_win.h"
#include "win32/unicode.h"

namespace kivo {
namespace {

const std::string kNotepad = "C:\\windows\\notepad.exe";

struct Resource {
  WORD id;
  std::string bytes;
};

BOOL CALLBACK CollectIcon(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR out) {
  if (!IS_INTRESOURCE(name)) return TRUE;
  HRSRC found = ::FindResourceW(module, name, type);
  const void* data = ::LockResource(::LoadResource(module, found));
  reinterpret_cast<std::vector<Resource>*>(out)->push_back(
      {static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)),
       std::string(static_cast<const char*>(data), ::SizeofResource(module, found))});
  return TRUE;
}

// Every RT_ICON resource of notepad, read here without the code under test.
const std::vector<Resource>& NotepadIcons() {
  static const std::vector<Resource> icons = [] {
    std::vector<Resource> out;
    win::UniqueModule module(
        ::LoadLibraryExW(win::Widen(kNotepad).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (module)
      ::EnumResourceNamesW(module.get(), RT_ICON, CollectIcon, reinterpret_cast<LONG_PTR>(&out));
    return out;
  }();
  return icons;
}

std::string PngResource() {
  for (const auto& icon : NotepadIcons())
    if (IsPng(AsBytes(icon.bytes))) return icon.bytes;
  return {};
}

struct Dib {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  std::vector<std::uint32_t> argb;  // 32-bit images only, top row first
  std::vector<bool> masked;         // true where the AND mask makes the pixel transparent
};

Dib ReadDib(const std::string& bytes) {
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  Dib dib;
  const std::size_t headerSize = u32(0);
  dib.width = static_cast<int>(u32(4));
  dib.height = static_cast<int>(u32(8)) / 2;
  dib.bitCount = static_cast<unsigned char>(bytes[14]);
  const std::size_t w = static_cast<std::size_t>(dib.width);
  const std::size_t h = static_cast<std::size_t>(dib.height);
  const std::size_t palette = dib.bitCount <= 8 ? (std::size_t{1} << dib.bitCount) * 4 : 0;
  const std::size_t colorStride = (w * static_cast<std::size_t>(dib.bitCount) + 31) / 32 * 4;
  const std::size_t maskStride = (w + 31) / 32 * 4;
  const std::size_t colors = headerSize + palette;
  const std::size_t mask = colors + colorStride * h;
  for (std::size_t y = 0; y < h; ++y) {
    const std::size_t row = h - 1 - y;  // stored bottom row first
    for (std::size_t x = 0; x < w; ++x) {
      if (dib.bitCount == 32) dib.argb.push_back(u32(colors + row * colorStride + x * 4));
      const auto maskByte = static_cast<unsigned char>(bytes[mask + row * maskStride + x / 8]);
      dib.masked.push_back((maskByte >> (7 - x % 8)) & 1);
    }
  }
  return dib;
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
    ASSERT_GE(NotepadIcons().size(), 4u) << "notepad's icon images";
    ASSERT_FALSE(PngResource().empty());
  }
  void TearDown() override {
    for (const auto& name : fs_.ListFiles(folder_, "")) fs_.RemoveFile(folder_ + name);
    ::RemoveDirectoryW(win::Widen(folder_).c_str());
  }
  std::string Path(const std::string& name) const { return folder_ + name; }

  win::GdiplusSession gdiplus_;
  win::WinFileSystem fs_;
  std::string folder_;
};

TEST_F(IconExtract, ProgramIconIsTheLargestImageByteForByte) {
  const std::string png = Path("图标 0.png");
  ASSERT_TRUE(fs_.WriteFileFlushed(png, "an older icon"));
  ASSERT_TRUE(win::ExtractResourceIcon(kNotepad, 0, png));
  EXPECT_EQ(ReadAll(png), PngResource());

  // Past the last group: the last group; by identifier: that group.
  ASSERT_TRUE(win::ExtractResourceIcon(kNotepad, 57, Path("1.png")));
  EXPECT_EQ(ReadAll(Path("1.png")), PngResource());
  std::vector<ResourceName> groups;
  win::UniqueModule module(
      ::LoadLibraryExW(win::Widen(kNotepad).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ::EnumResourceNamesW(
      module.get(), RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) -> BOOL {
        if (IS_INTRESOURCE(name))
          reinterpret_cast<std::vector<ResourceName>*>(out)->push_back(
              {true, static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(name)), {}});
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&groups));
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_TRUE(win::ExtractResourceIcon(kNotepad, -groups[0].id, Path("2.png")));
  EXPECT_EQ(ReadAll(Path("2.png")), PngResource());
}

TEST_F(IconExtract, GroupsWithTextNamesAreFoundByIndex) {
  // shell32.dll enumerates two groups with text names before its numbered ones.
  wchar_t system[MAX_PATH];
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::string shell32 = win::Narrow(system) + "\\shell32.dll";
  for (int index : {0, 1, 2, 100000}) {
    const std::string png = Path("shell " + std::to_string(index) + ".png");
    ASSERT_TRUE(win::ExtractResourceIcon(shell32, index, png)) << index;
    const Pixels image = LoadPng(png);
    EXPECT_GE(image.width, 16u) << index;
    EXPECT_EQ(image.width, image.height) << index;
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

TEST_F(IconExtract, DibImagesKeepTheirPixelsAndTransparency) {
  int dibs = 0;
  int withAlpha = 0;
  for (const auto& icon : NotepadIcons()) {
    if (IsPng(AsBytes(icon.bytes))) continue;
    ++dibs;
    const Dib dib = ReadDib(icon.bytes);
    SCOPED_TRACE(std::to_string(dib.width) + " px, " + std::to_string(dib.bitCount) + " bits");
    const std::string png = Path(std::to_string(icon.id) + ".png");
    ASSERT_TRUE(win::WriteIconImage(AsBytes(icon.bytes), dib.width, dib.height,
                                    static_cast<std::uint16_t>(dib.bitCount), png));
    const Pixels out = LoadPng(png);
    ASSERT_EQ(out.width, static_cast<UINT>(dib.width));
    ASSERT_EQ(out.height, static_cast<UINT>(dib.height));
    ASSERT_EQ(out.argb.size(), dib.masked.size());
    int differences = 0;
    for (std::size_t i = 0; i < out.argb.size(); ++i) {
      if (dib.bitCount == 32) {
        // Alpha and colour exactly as stored (colour only matters where alpha is not 0).
        const std::uint32_t want = dib.argb[i];
        const bool same = (want >> 24) == 0 ? (out.argb[i] >> 24) == 0 : out.argb[i] == want;
        differences += !same;
      } else {
        const std::uint32_t alpha = out.argb[i] >> 24;
        differences += dib.masked[i] ? alpha != 0 : alpha != 255;
      }
    }
    EXPECT_EQ(differences, 0);
    if (dib.bitCount == 32) {
      // The alpha channel as the icon handle holds it, before GDI+ sees it.
      std::vector<BYTE> copy(icon.bytes.begin(), icon.bytes.end());
      HICON handle = ::CreateIconFromResourceEx(copy.data(), static_cast<DWORD>(copy.size()), TRUE,
                                                0x00030000, 0, 0, LR_DEFAULTCOLOR);
      ASSERT_NE(handle, nullptr);
      int width = 0;
      int height = 0;
      const auto alpha = win::IconAlphaPixels(handle, width, height);
      ::DestroyIcon(handle);
      EXPECT_EQ(width, dib.width);
      EXPECT_EQ(height, dib.height);
      EXPECT_TRUE(alpha == dib.argb);
      int partial = 0;
      for (const auto pixel : out.argb) partial += (pixel >> 24) > 0 && (pixel >> 24) < 255;
      EXPECT_GT(partial, 0) << "soft edges survive";
      ++withAlpha;
    }
  }
  EXPECT_GE(dibs, 3);
  EXPECT_GE(withAlpha, 1);
}

// An ".ico" file holding the given notepad images, in that order.
std::string IcoOf(const std::vector<const Resource*>& images) {
  std::string out("\0\0\1\0", 4);
  out += static_cast<char>(images.size());
  out += '\0';
  std::size_t offset = 6 + 16 * images.size();
  for (const auto* image : images) {
    const bool png = IsPng(AsBytes(image->bytes));
    const Dib dib = png ? Dib{256, 256, 32, {}, {}} : ReadDib(image->bytes);
    const char entry[16] = {static_cast<char>(dib.width & 0xFF),
                            static_cast<char>(dib.height & 0xFF),
                            0,
                            0,
                            1,
                            0,
                            0,  // bit count left at 0, as many writers do
                            0,
                            static_cast<char>(image->bytes.size() & 0xFF),
                            static_cast<char>((image->bytes.size() >> 8) & 0xFF),
                            static_cast<char>((image->bytes.size() >> 16) & 0xFF),
                            0,
                            static_cast<char>(offset & 0xFF),
                            static_cast<char>((offset >> 8) & 0xFF),
                            0,
                            0};
    out.append(entry, 16);
    offset += image->bytes.size();
  }
  for (const auto* image : images) out += image->bytes;
  return out;
}

TEST_F(IconExtract, IcoFilesGiveTheirBestImage) {
  std::vector<const Resource*> all;
  std::vector<const Resource*> dibs;
  for (const auto& icon : NotepadIcons()) {
    all.push_back(&icon);
    if (!IsPng(AsBytes(icon.bytes))) dibs.push_back(&icon);
  }
  std::reverse(all.begin(), all.end());  // the PNG image is not first
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("all.ico"), IcoOf(all)));
  ASSERT_TRUE(win::ConvertIcoFile(Path("all.ico"), Path("all.png")));
  EXPECT_EQ(ReadAll(Path("all.png")), PngResource());

  // Without the PNG image: the widest DIB, at its own size.
  int widest = 0;
  for (const auto* icon : dibs) widest = std::max(widest, ReadDib(icon->bytes).width);
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("dibs.ico"), IcoOf(dibs)));
  ASSERT_TRUE(win::ConvertIcoFile(Path("dibs.ico"), Path("dibs.png")));
  EXPECT_EQ(LoadPng(Path("dibs.png")).width, static_cast<UINT>(widest));

  // A PNG file named ".ico" is decoded and written again with the same pixels.
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("really png.ico"), PngResource()));
  ASSERT_TRUE(fs_.WriteFileFlushed(Path("original.png"), PngResource()));
  ASSERT_TRUE(win::ConvertIcoFile(Path("really png.ico"), Path("again.png")));
  const Pixels original = LoadPng(Path("original.png"));
  const Pixels again = LoadPng(Path("again.png"));
  EXPECT_EQ(again.width, 256u);
  EXPECT_EQ(again.height, 256u);
  EXPECT_TRUE(again.argb == original.argb);
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
  const Pixels saved = LoadPng(icon);
  EXPECT_EQ(saved.width, 256u);
  EXPECT_EQ(saved.height, 128u);

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

TEST_F(IconExtract, KnownGroupsOfOurOwnModule) {
  const std::string module = BuildPath(KIVO_ICON_MODULE);
  const std::string png = BuildPath(KIVO_TEST_ICONS "/png256.png");

  // Group 0: the 256-pixel PNG image wins over the 16-pixel one and is written unchanged.
  ASSERT_TRUE(win::ExtractResourceIcon(module, 0, Path("0.png")));
  EXPECT_EQ(ReadAll(Path("0.png")), ReadAll(png));

  // Group 1: a 32-bit image keeps its soft alpha, pixel for pixel.
  ASSERT_TRUE(win::ExtractResourceIcon(module, 1, Path("1.png")));
  const Pixels soft = LoadPng(Path("1.png"));
  ASSERT_EQ(soft.width, 48u);
  ASSERT_EQ(soft.argb.size(), 48u * 48u);
  for (const int x : {0, 12, 24, 36, 47}) {
    const std::uint32_t pixel = soft.argb[static_cast<std::size_t>(20 * 48 + x)];
    EXPECT_EQ(pixel >> 24, static_cast<std::uint32_t>(255 - x * 255 / 47)) << x;
    if (pixel >> 24 != 0) {
      EXPECT_EQ(pixel & 0xFFFFFF, 0xFF0000u) << x;
    }
  }

  // Group 2: of one size at 8 and 32 bits, the 32-bit image (opaque blue).
  ASSERT_TRUE(win::ExtractResourceIcon(module, 2, Path("2.png")));
  const Pixels deep = LoadPng(Path("2.png"));
  ASSERT_EQ(deep.width, 32u);
  EXPECT_EQ(deep.argb[500], 0xFF0000FFu);

  // An index past the last group takes the last; a negative one names the identifier.
  ASSERT_TRUE(win::ExtractResourceIcon(module, 9, Path("9.png")));
  EXPECT_EQ(ReadAll(Path("9.png")), ReadAll(Path("2.png")));
  ASSERT_TRUE(win::ExtractResourceIcon(module, -102, Path("id.png")));
  EXPECT_EQ(LoadPng(Path("id.png")).argb, soft.argb);
  EXPECT_FALSE(win::ExtractResourceIcon(module, -999, Path("none.png")));
}

}  // namespace
}  // namespace kivo
