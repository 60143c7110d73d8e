#include "gfx/win32/icon_cache_win.h"

#include <cstring>

#include "platform/win32/handles.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

constexpr DWORD kLargestCacheFile = 64 + kLargestCachedIcon * kLargestCachedIcon * 4;

std::optional<std::string> ReadSmallFile(const std::wstring& path) {
  UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      size.QuadPart > kLargestCacheFile) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size()) {
    return std::nullopt;
  }
  return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

}  // namespace

std::optional<IconStamp> SourceStamp(const std::string& file) {
  if (file.empty()) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Widen(file).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return IconStamp{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                   (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                       data.ftLastWriteTime.dwLowDateTime};
}

GpBitmapPtr ReadCachedIcon(const std::string& cacheFile, const IconStamp& stamp) {
  if (cacheFile.empty()) return nullptr;
  const std::optional<std::string> bytes = ReadSmallFile(Widen(cacheFile));
  if (!bytes) return nullptr;
  const std::optional<CachedIcon> icon = DecodeCachedIcon(*bytes, stamp);
  if (!icon) return nullptr;
  Gdiplus::GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(icon->width, icon->height, 0, PixelFormat32bppPARGB, nullptr,
                                    &raw) != Gdiplus::Ok) {
    return nullptr;
  }
  GpBitmapPtr bitmap(raw);
  Gdiplus::GpRect all{0, 0, icon->width, icon->height};
  Gdiplus::BitmapData data{};
  if (gp::GdipBitmapLockBits(raw, &all, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB,
                             &data) != Gdiplus::Ok) {
    return nullptr;
  }
  const auto rowBytes = static_cast<std::size_t>(icon->width) * 4;
  for (int y = 0; y < icon->height; ++y) {
    std::memcpy(static_cast<char*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                icon->pixels.data() + static_cast<std::size_t>(y * icon->width), rowBytes);
  }
  gp::GdipBitmapUnlockBits(raw, &data);
  return bitmap;
}

void WriteCachedIcon(const std::string& cacheFolder, const std::string& cacheFile,
                     Gdiplus::GpImage* image, const IconStamp& stamp) {
  if (cacheFolder.empty() || cacheFile.empty() || image == nullptr) return;
  const auto [width, height] = ImageSize(image);
  if (width <= 0 || height <= 0 || width > kLargestCachedIcon || height > kLargestCachedIcon) {
    return;
  }
  CachedIcon icon{width, height, {}};
  icon.pixels.resize(static_cast<std::size_t>(width * height));
  Gdiplus::GpRect all{0, 0, width, height};
  Gdiplus::BitmapData data{};
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(image);
  if (gp::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB,
                             &data) != Gdiplus::Ok) {
    return;
  }
  for (int y = 0; y < height; ++y) {
    std::memcpy(icon.pixels.data() + static_cast<std::size_t>(y * width),
                static_cast<const char*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                static_cast<std::size_t>(width) * 4);
  }
  gp::GdipBitmapUnlockBits(bitmap, &data);

  // A name of this process's own, so two copies of the program never write one file. The
  // folder is made when the first copy finds it missing.
  const std::wstring target = Widen(cacheFile);
  const std::wstring temporary = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  const std::string bytes = EncodeCachedIcon(icon, stamp);
  bool written = WriteWholeFile(temporary, bytes);
  if (!written && ::CreateDirectoryW(Widen(cacheFolder).c_str(), nullptr)) {
    written = WriteWholeFile(temporary, bytes);
  }
  if (!written || !::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    ::DeleteFileW(temporary.c_str());
  }
}

}  // namespace kivo::win
