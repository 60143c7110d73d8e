#include "platform/win32/image_files.h"

#include <shlwapi.h>

#include <memory>
#include <string>

#include "platform/win32/handles.h"

namespace kivo::win {
namespace {

struct ComReleaser {
  void operator()(IUnknown* p) const { p->Release(); }
};

}  // namespace

GpBitmapPtr DecodeImage(const void* bytes, std::size_t size) {
  if (bytes == nullptr || size == 0 || size > 64u * 1024 * 1024) return nullptr;
  std::unique_ptr<IStream, ComReleaser> stream(
      ::SHCreateMemStream(static_cast<const BYTE*>(bytes), static_cast<UINT>(size)));
  if (!stream) return nullptr;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromStream(stream.get(), &bitmap) != Gdiplus::Ok) return nullptr;
  GpBitmapPtr decoded(bitmap);
  // A copy detached from the stream: GDI+ may read a stream-backed image lazily.
  const auto [width, height] = ImageSize(bitmap);
  if (width <= 0 || height <= 0) return nullptr;
  Gdiplus::GpBitmap* copy = nullptr;
  if (gp::GdipCloneBitmapAreaI(0, 0, width, height, PixelFormat32bppPARGB, bitmap, &copy) !=
      Gdiplus::Ok) {
    return nullptr;
  }
  return GpBitmapPtr(copy);
}

GpBitmapPtr LoadImageFile(const std::wstring& path) {
  UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      size.QuadPart > 64ll * 1024 * 1024) {
    return nullptr;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size()) {
    return nullptr;
  }
  return DecodeImage(bytes.data(), bytes.size());
}

}  // namespace kivo::win
