// The GDI+ flat API with one owner type per GDI+ object kind.
#pragma once

#include <windows.h>
// GDI+ needs the COM types of objidl.h declared before it.
#include <objidl.h>

#include <gdiplus.h>

#include <memory>
#include <utility>

namespace kivo::win {

namespace gp = Gdiplus::DllExports;

struct GdiplusDeleter {
  void operator()(Gdiplus::GpImage* p) const { gp::GdipDisposeImage(p); }
  void operator()(Gdiplus::GpGraphics* p) const { gp::GdipDeleteGraphics(p); }
  void operator()(Gdiplus::GpCachedBitmap* p) const { gp::GdipDeleteCachedBitmap(p); }
  void operator()(Gdiplus::GpImageAttributes* p) const { gp::GdipDisposeImageAttributes(p); }
  void operator()(Gdiplus::GpSolidFill* p) const { gp::GdipDeleteBrush(p); }
  void operator()(Gdiplus::GpFont* p) const { gp::GdipDeleteFont(p); }
  void operator()(Gdiplus::GpFontFamily* p) const { gp::GdipDeleteFontFamily(p); }
  void operator()(Gdiplus::GpStringFormat* p) const { gp::GdipDeleteStringFormat(p); }
};

using GpImagePtr = std::unique_ptr<Gdiplus::GpImage, GdiplusDeleter>;
using GpBitmapPtr = std::unique_ptr<Gdiplus::GpImage, GdiplusDeleter>;  // GpBitmap is a GpImage
using GpGraphicsPtr = std::unique_ptr<Gdiplus::GpGraphics, GdiplusDeleter>;
using GpCachedBitmapPtr = std::unique_ptr<Gdiplus::GpCachedBitmap, GdiplusDeleter>;
using GpImageAttributesPtr = std::unique_ptr<Gdiplus::GpImageAttributes, GdiplusDeleter>;
using GpSolidFillPtr = std::unique_ptr<Gdiplus::GpSolidFill, GdiplusDeleter>;
using GpFontPtr = std::unique_ptr<Gdiplus::GpFont, GdiplusDeleter>;
using GpFontFamilyPtr = std::unique_ptr<Gdiplus::GpFontFamily, GdiplusDeleter>;
using GpStringFormatPtr = std::unique_ptr<Gdiplus::GpStringFormat, GdiplusDeleter>;

// Width and height of an image in pixels (0, 0 for none).
inline std::pair<int, int> ImageSize(Gdiplus::GpImage* image) {
  UINT width = 0, height = 0;
  if (image != nullptr) {
    gp::GdipGetImageWidth(image, &width);
    gp::GdipGetImageHeight(image, &height);
  }
  return {static_cast<int>(width), static_cast<int>(height)};
}

// The drawing state every graphics of ours uses, so that images scaled or text drawn on
// one bitmap land on the same pixels as on another: high-quality bicubic scaling with
// pixel centres at half-pixel offsets.
inline void UseSmoothScaling(Gdiplus::GpGraphics* graphics) {
  gp::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
}

inline Gdiplus::GpBitmap* AsBitmap(const GpBitmapPtr& image) {
  return static_cast<Gdiplus::GpBitmap*>(image.get());
}

}  // namespace kivo::win
