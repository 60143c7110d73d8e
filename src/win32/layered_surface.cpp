#include "win32/layered_surface.h"

#include <algorithm>

namespace kivo::win {

std::uint32_t Premultiply(Argb colour) {
  const std::uint32_t a = colour >> 24;
  const auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  const std::uint32_t r = scale((colour >> 16) & 0xFF);
  const std::uint32_t g = scale((colour >> 8) & 0xFF);
  const std::uint32_t b = scale(colour & 0xFF);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

bool LayeredSurface::Create(int width, int height) {
  Release();
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, so rows run like screen rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;

  UniqueScreenDc screen(::GetDC(nullptr));
  dc_.reset(::CreateCompatibleDC(screen.get()));
  if (!dc_) return false;
  void* bits = nullptr;
  dib_.reset(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib_ || bits == nullptr) {
    Release();
    return false;
  }
  previousBitmap_ = ::SelectObject(dc_.get(), dib_.get());
  pixels_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  std::fill_n(pixels_, static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);

  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                    static_cast<BYTE*>(bits), &bitmap) != Gdiplus::Ok) {
    Release();
    return false;
  }
  bitmap_.reset(bitmap);
  Gdiplus::GpGraphics* graphics = nullptr;
  if (gp::GdipGetImageGraphicsContext(bitmap, &graphics) != Gdiplus::Ok) {
    Release();
    return false;
  }
  graphics_.reset(graphics);
  gp::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
  return true;
}

void LayeredSurface::Release() {
  graphics_.reset();
  bitmap_.reset();
  if (dc_ && previousBitmap_) ::SelectObject(dc_.get(), previousBitmap_);
  previousBitmap_ = nullptr;
  dib_.reset();
  dc_.reset();
  pixels_ = nullptr;
  width_ = height_ = 0;
}

void LayeredSurface::FillPixels(const PixelRect& area, Argb colour) {
  const int left = std::max(area.left, 0);
  const int top = std::max(area.top, 0);
  const int right = std::min(area.right(), width_);
  const int bottom = std::min(area.bottom(), height_);
  if (left >= right || top >= bottom) return;
  const std::uint32_t pixel = Premultiply(colour);
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* row = pixels_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    std::fill(row + left, row + right, pixel);
  }
}

bool LayeredSurface::Present(HWND window, POINT position, int constantAlpha,
                             const PixelRect* dirty) const {
  if (!dc_) return false;
  SIZE size{width_, height_};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(constantAlpha, 0, 255)),
                      AC_SRC_ALPHA};
  RECT dirtyRect{};
  UPDATELAYEREDWINDOWINFO info{};
  info.cbSize = sizeof(info);
  info.pptDst = &position;
  info.psize = &size;
  info.hdcSrc = dc_.get();
  info.pptSrc = &source;
  info.pblend = &blend;
  info.dwFlags = ULW_ALPHA;
  if (dirty != nullptr && !dirty->empty()) {
    dirtyRect = RECT{dirty->left, dirty->top, dirty->right(), dirty->bottom()};
    info.prcDirty = &dirtyRect;
  }
  return ::UpdateLayeredWindowIndirect(window, &info) != 0;
}

}  // namespace kivo::win
