// The drawing surface of a per-pixel-alpha layered window: a top-down 32-bit DIB section
// in a memory DC, with a GDI+ bitmap and Graphics over the same memory, so GDI+ draws
// straight into the pixels UpdateLayeredWindow presents (premultiplied ARGB).
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/win32/gdiplus_api.h"
#include "platform/win32/handles.h"
#include "render/canvas.h"

namespace kivo::win {

// Premultiplied pixel of a straight 0xAARRGGBB colour.
std::uint32_t Premultiply(Argb colour);

class LayeredSurface {
 public:
  LayeredSurface() = default;
  ~LayeredSurface() { Release(); }
  LayeredSurface(const LayeredSurface&) = delete;
  LayeredSurface& operator=(const LayeredSurface&) = delete;

  // `withGraphics` false makes only the DIB and its DC: a surface that is copied into and
  // presented, never drawn on with GDI+.
  [[nodiscard]] bool Create(int width, int height, bool withGraphics = true);
  void Release();

  int width() const { return width_; }
  int height() const { return height_; }
  Gdiplus::GpGraphics* graphics() const { return graphics_.get(); }
  std::uint32_t* pixels() const { return pixels_; }
  // The memory DC the DIB is selected into (GDI drawing; its alpha is left at zero).
  HDC dc() const { return dc_.get(); }

  // Fills a rectangle of the pixels directly (source copy), far faster than GDI+ clears.
  void FillPixels(const PixelRect& area, Argb colour);
  // Draws premultiplied `pixels` (width x height, `stride` pixels from one row to the next)
  // with their top-left corner at (left, top), source over, only inside `clip`, their
  // alpha scaled by `alphaTenths` tenths.
  void BlendPixels(int left, int top, const std::uint32_t* pixels, int width, int height,
                   int stride, const PixelRect& clip, int alphaTenths = 10);
  // Presents the surface with the constant alpha; with `dirty`, only that part of the
  // surface is sent to the window manager. `position` moves the window there and gives it
  // the surface's size; without it the window keeps its place and size, which costs less.
  bool Present(HWND window, const POINT* position, int constantAlpha, const PixelRect* dirty) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::uint32_t* pixels_ = nullptr;
  UniqueMemoryDc dc_;
  UniqueGdiBitmap dib_;
  HGDIOBJ previousBitmap_ = nullptr;
  GpBitmapPtr bitmap_;
  GpGraphicsPtr graphics_;
};

}  // namespace kivo::win
