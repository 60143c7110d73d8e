#include "gfx/win32/layered_surface.h"

#include <algorithm>

#include "render/display_list.h"

namespace kivo::win {

std::uint32_t Premultiply(Argb colour) {
  const std::uint32_t a = colour >> 24;
  const auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  const std::uint32_t r = scale((colour >> 16) & 0xFF);
  const std::uint32_t g = scale((colour >> 8) & 0xFF);
  const std::uint32_t b = scale(colour & 0xFF);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

bool LayeredSurface::Create(int width, int height, bool withGraphics) {
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
  if (!withGraphics) return true;

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
  UseSmoothScaling(graphics);
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

void LayeredSurface::BlendPixels(int left, int top, const std::uint32_t* pixels, int width,
                                 int height, int stride, const PixelRect& clip, int alphaTenths) {
  const PixelRect target = Intersection(Intersection(PixelRect{left, top, width, height}, clip),
                                        PixelRect{0, 0, width_, height_});
  if (target.empty() || alphaTenths <= 0) return;
  const auto tenths = static_cast<std::uint32_t>(std::min(alphaTenths, 10));
  for (int y = target.top; y < target.bottom(); ++y) {
    const std::uint32_t* from =
        pixels + static_cast<std::size_t>(y - top) * static_cast<std::size_t>(stride) +
        (target.left - left);
    std::uint32_t* to =
        pixels_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + target.left;
    for (int x = 0; x < target.width; ++x) {
      std::uint32_t source = from[x];
      if (tenths < 10) {
        // Premultiplied, so every channel scales with the alpha.
        std::uint32_t scaled = 0;
        for (int shift = 0; shift < 32; shift += 8) {
          scaled |= ((((source >> shift) & 0xFFu) * tenths + 5) / 10) << shift;
        }
        source = scaled;
      }
      const std::uint32_t alpha = source >> 24;
      if (alpha == 0) continue;
      if (alpha == 255 || to[x] == 0) {
        to[x] = source;
        continue;
      }
      // Source over: every channel of the destination keeps (255 - alpha) / 255 of itself.
      const std::uint32_t keep = 255 - alpha;
      const std::uint32_t under = to[x];
      std::uint32_t result = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t value =
            ((source >> shift) & 0xFFu) + (((under >> shift) & 0xFFu) * keep + 127) / 255;
        result |= std::min(value, 255u) << shift;
      }
      to[x] = result;
    }
  }
}

bool LayeredSurface::Present(HWND window, const POINT* position, int constantAlpha,
                             const PixelRect* dirty) const {
  if (!dc_) return false;
  POINT place = position != nullptr ? *position : POINT{};
  SIZE size{width_, height_};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(constantAlpha, 0, 255)),
                      AC_SRC_ALPHA};
  RECT dirtyRect{};
  UPDATELAYEREDWINDOWINFO info{};
  info.cbSize = sizeof(info);
  info.pptDst = position != nullptr ? &place : nullptr;
  info.psize = position != nullptr ? &size : nullptr;
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
