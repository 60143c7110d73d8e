#include "platform/win32/icon_extract_win.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/log.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/handles.h"
#include "platform/win32/image_files.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

// {557CF406-1A04-11D3-9A73-0000F81EF32E}: the GDI+ built-in PNG encoder.
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// Icon files and resources larger than this are not icons anyone made on purpose.
constexpr std::size_t kMaxIconFileBytes = 64 * 1024 * 1024;

// A copy of `source` as a new 32-bit ARGB bitmap of width x height, scaled with high-quality
// bicubic interpolation when the sizes differ and copied pixel for pixel when they agree.
GpBitmapPtr Redraw(Gdiplus::GpImage* source, int width, int height) {
  UINT sourceWidth = 0;
  UINT sourceHeight = 0;
  gp::GdipGetImageWidth(source, &sourceWidth);
  gp::GdipGetImageHeight(source, &sourceHeight);
  Gdiplus::GpBitmap* raw = nullptr;
  if (static_cast<int>(sourceWidth) == width && static_cast<int>(sourceHeight) == height) {
    if (gp::GdipCloneBitmapAreaI(0, 0, width, height, PixelFormat32bppARGB,
                                 static_cast<Gdiplus::GpBitmap*>(source), &raw) != Gdiplus::Ok)
      return nullptr;
    return GpBitmapPtr(raw);
  }
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &raw) !=
      Gdiplus::Ok)
    return nullptr;
  GpBitmapPtr target(raw);
  Gdiplus::GpGraphics* rawGraphics = nullptr;
  if (gp::GdipGetImageGraphicsContext(target.get(), &rawGraphics) != Gdiplus::Ok) return nullptr;
  GpGraphicsPtr graphics(rawGraphics);
  UseSmoothScaling(graphics.get());
  if (gp::GdipDrawImageRectRectI(graphics.get(), source, 0, 0, width, height, 0, 0,
                                 static_cast<INT>(sourceWidth), static_cast<INT>(sourceHeight),
                                 Gdiplus::UnitPixel, nullptr, nullptr, nullptr) != Gdiplus::Ok)
    return nullptr;
  return target;
}

bool SaveRedrawn(Gdiplus::GpImage* source, int width, int height, const std::string& pngFile) {
  const GpBitmapPtr bitmap = Redraw(source, width, height);
  return bitmap && SavePng(bitmap.get(), pngFile) == Gdiplus::Ok;
}

GpBitmapPtr MaskedIconBitmap(HICON icon) {
  Gdiplus::GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromHICON(icon, &raw) != Gdiplus::Ok) return nullptr;
  return GpBitmapPtr(raw);
}

bool WriteDibIcon(ByteSpan image, int width, int height, std::uint16_t bitCount,
                  const std::string& pngFile) {
  // The smallest DIB header; CreateIconFromResourceEx checks the rest against the size.
  if (image.size() < sizeof(BITMAPINFOHEADER) || image.size() > kMaxIconFileBytes) return false;
  // A copy: the resource memory is read-only and the call is documented to take PBYTE.
  std::vector<BYTE> bytes(image.begin(), image.end());
  UniqueIcon icon(::CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE,
                                             0x00030000, 0, 0, LR_DEFAULTCOLOR));
  if (!icon) return false;
  // Fewer bits than 32 carry no alpha channel: their transparency is the mask's alone.
  const GpBitmapPtr source = bitCount >= 32 ? IconBitmap(icon.get()) : MaskedIconBitmap(icon.get());
  return source && SaveRedrawn(source.get(), width, height, pngFile);
}

// The bytes of a resource of the module, or nothing.
ByteSpan ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
  HRSRC found = ::FindResourceW(module, name, type);
  if (!found) return {};
  const DWORD size = ::SizeofResource(module, found);
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data || size == 0) return {};
  return {static_cast<const std::uint8_t*>(data), size};
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  auto& list = *reinterpret_cast<std::vector<ResourceName>*>(names);
  try {
    if (IS_INTRESOURCE(name))
      list.push_back({true, static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(name)), {}});
    else
      list.push_back({false, 0, Narrow(name)});
  } catch (...) {
    LogCurrentException("listing icon resources");
    return FALSE;  // out of memory: no exception may cross the system's callback
  }
  return TRUE;
}

}  // namespace

Gdiplus::GpStatus SavePng(Gdiplus::GpImage* image, const std::string& file) {
  return gp::GdipSaveImageToFile(image, Widen(file).c_str(), &kPngEncoder, nullptr);
}

std::vector<std::uint32_t> IconAlphaPixels(HICON icon, int& width, int& height) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return {};
  UniqueGdiBitmap color(info.hbmColor);
  UniqueGdiBitmap mask(info.hbmMask);
  BITMAP header{};
  if (!color || !::GetObjectW(color.get(), sizeof header, &header) || header.bmWidth <= 0 ||
      header.bmHeight <= 0)
    return {};
  width = header.bmWidth;
  height = header.bmHeight;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) *
                                    static_cast<std::size_t>(height));
  UniqueScreenDc dc(::GetDC(nullptr));
  if (!dc || ::GetDIBits(dc.get(), color.get(), 0, static_cast<UINT>(height), pixels.data(),
                         &format, DIB_RGB_COLORS) != height)
    return {};
  for (const auto pixel : pixels)
    if (pixel >> 24) return pixels;
  return {};
}

GpBitmapPtr IconBitmap(HICON icon) {
  int width = 0;
  int height = 0;
  const std::vector<std::uint32_t> pixels = IconAlphaPixels(icon, width, height);
  if (pixels.empty()) return MaskedIconBitmap(icon);
  // Copied into a bitmap GDI+ allocates, so the result does not depend on `pixels`.
  Gdiplus::GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &raw) !=
      Gdiplus::Ok)
    return nullptr;
  GpBitmapPtr bitmap(raw);
  const Gdiplus::GpRect all(0, 0, width, height);
  Gdiplus::BitmapData data{};
  if (gp::GdipBitmapLockBits(raw, &all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
      Gdiplus::Ok)
    return nullptr;
  const auto rowBytes = static_cast<std::size_t>(width) * 4;
  for (int y = 0; y < height; ++y)
    std::memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                rowBytes);
  if (gp::GdipBitmapUnlockBits(raw, &data) != Gdiplus::Ok) return nullptr;
  return bitmap;
}

GpBitmapPtr ShellIconBitmap(const std::string& path) {
  if (path.empty()) return nullptr;
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(Widen(path).c_str(), 0, &info, sizeof(info),
                        SHGFI_ICON | SHGFI_SYSICONINDEX))
    return nullptr;
  const UniqueIcon icon(info.hIcon);
  return icon ? IconBitmap(icon.get()) : nullptr;
}

bool WriteIconImage(ByteSpan image, int width, int height, std::uint16_t bitCount,
                    const std::string& pngFile) {
  WinFileSystem fs;
  fs.RemoveFile(pngFile);
  if (image.empty()) return false;
  if (IsPng(image)) return fs.WriteFileFlushed(pngFile, std::string(image.begin(), image.end()));
  return WriteDibIcon(image, width, height, bitCount, pngFile);
}

bool ExtractResourceIcon(const std::string& module, int index, const std::string& pngFile) {
  // Mapped as data only: loading an arbitrary dropped library as code would run it.
  const std::wstring path = Widen(module);
  UniqueModule library(::LoadLibraryExW(path.c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!library) library.reset(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!library) return false;

  std::vector<ResourceName> names;
  if (index >= 0)
    ::EnumResourceNamesW(library.get(), RT_GROUP_ICON, CollectName,
                         reinterpret_cast<LONG_PTR>(&names));
  const auto group = ChooseGroupIconName(names, index);
  if (!group) return false;
  const std::wstring groupText = Widen(group->text);
  const wchar_t* groupName = group->isId ? MAKEINTRESOURCEW(group->id) : groupText.c_str();

  const auto entries = ParseGroupIcon(ResourceBytes(library.get(), groupName, RT_GROUP_ICON));
  const auto chosen = ChooseGroupIconEntry(entries);
  if (!chosen) return false;
  const IconEntry& entry = entries[*chosen];
  const ByteSpan image = ResourceBytes(library.get(), MAKEINTRESOURCEW(entry.resourceId), RT_ICON);
  return WriteIconImage(image, entry.width, entry.height, entry.bitCount, pngFile);
}

bool ConvertIcoFile(const std::string& icoFile, const std::string& pngFile) {
  WinFileSystem fs;
  const auto file = fs.ReadFile(icoFile, kMaxIconFileBytes);
  if (!file) return false;
  const ByteSpan bytes = AsBytes(*file);
  if (IsPng(bytes)) {
    // A PNG file under another name: decoded and written again as a 32-bit image.
    IStream* stream = ::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream) return false;
    Gdiplus::GpBitmap* raw = nullptr;
    const auto status = gp::GdipCreateBitmapFromStream(stream, &raw);
    stream->Release();
    if (status != Gdiplus::Ok) return false;
    const GpBitmapPtr source(raw);
    UINT width = 0;
    UINT height = 0;
    gp::GdipGetImageWidth(source.get(), &width);
    gp::GdipGetImageHeight(source.get(), &height);
    fs.RemoveFile(pngFile);
    return SaveRedrawn(source.get(), static_cast<int>(width), static_cast<int>(height), pngFile);
  }
  const auto entries = ParseIcoDirectory(bytes);
  const auto chosen = ChooseIcoEntry(bytes, entries);
  if (!chosen) return false;
  const IconEntry& entry = entries[*chosen];
  // The directory may list another size than the image has: the image's own header says
  // how large it is, and it is written at that size rather than stretched.
  const ByteSpan image = IcoImageBytes(bytes, entry);
  const IconImageSize size =
      ReadIconImageSize(image).value_or(IconImageSize{entry.width, entry.height});
  return WriteIconImage(image, size.width, size.height, IcoImageBitCount(bytes, entry), pngFile);
}

bool SaveUserPicture(const std::string& picture, const std::string& iconFile) {
  WinFileSystem fs;
  const auto file = fs.ReadFile(picture, kMaxIconFileBytes);
  if (!file) return false;
  const GpBitmapPtr source = DecodeImage(file->data(), file->size());
  if (!source) return false;
  const auto [width, height] = ImageSize(source.get());
  if (width <= 0 || height <= 0) return false;
  const double scale =
      std::min(1.0, static_cast<double>(kUserPictureSize) / std::max(width, height));
  const int targetWidth = std::max(1, static_cast<int>(width * scale + 0.5));
  const int targetHeight = std::max(1, static_cast<int>(height * scale + 0.5));
  const std::string temporary = iconFile + ".tmp";
  if (!SaveRedrawn(source.get(), targetWidth, targetHeight, temporary)) {
    fs.RemoveFile(temporary);
    return false;
  }
  return fs.MoveReplacing(temporary, iconFile);
}

}  // namespace kivo::win
