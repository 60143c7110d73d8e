// The skin and icon image tables: each image in full (variant 0) and pre-scaled to the
// sizes the ring draws at (variants 1..6), so a frame blits images instead of scaling them.
#pragma once

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/gdiplus_api.h"
#include "render/canvas.h"

namespace kivo::win {

inline constexpr int kSkinCount = 33;    // skin numbers 0..32
inline constexpr int kIconCount = 1025;  // icon numbers 0..1024, like items
inline constexpr int kVariantCount = 7;  // 0 full, 1..6 pre-scaled

// A 32-bit ARGB bitmap of `image` scaled to width x height with high-quality bicubic
// interpolation (the alpha channel scaled with it).
GpBitmapPtr MakeScaledImage(Gdiplus::GpImage* image, int width, int height);
// As MakeScaledImage, then clears the outer one-pixel frame and a 2 x 2 square at each
// corner, which keeps scaled icons from bleeding into their neighbours' edges.
GpBitmapPtr MakeScaledIconImage(Gdiplus::GpImage* image, int width, int height);

class ImageTables {
 public:
  ImageTables();

  // Takes the full image; its pre-scaled variants are dropped until rebuilt.
  void Set(ImageTable table, int number, GpBitmapPtr full);
  // Builds (or rebuilds) one pre-scaled variant from the full image. Skins have sizes of
  // their own (the disc at 190, a popup row at 248 x 38); icons use the ring's sizes.
  void BuildVariant(ImageTable table, int number, int variant, int width, int height);
  // Stores a picture of its own as a variant (the frames of an animation strip).
  void SetVariant(ImageTable table, int number, int variant, GpBitmapPtr image);
  bool Has(ImageTable table, int number) const { return Get({table, number, 0}) != nullptr; }
  void Release(ImageTable table, int number);
  // Drops the full image but keeps the pre-scaled variants.
  void DropFull(ImageTable table, int number);
  void ReleaseAll();
  // Moves one image out of its place (which is left empty) / into a place, any variant:
  // pictures that change numbers with their entries.
  GpBitmapPtr Take(ImageTable table, int number, int variant);
  void Put(ImageTable table, int number, int variant, GpBitmapPtr image);

  Gdiplus::GpImage* Get(const ImageRef& ref) const;
  // Where drawing `ref` into `target` touches pixels (cached variants draw at their size).
  PixelRect Bounds(const ImageRef& ref, const PixelRect& target) const;
  // Draws as a frame needs it: variants 1..6 unscaled at the target's corner, variant 0
  // scaled into the target; with alpha below ten tenths through a fading colour matrix.
  void Draw(Gdiplus::GpGraphics* graphics, const ImageRef& ref, const PixelRect& target,
            int alphaTenths) const;

  // The full image scaled to width x height as Draw would scale it, made on first use and
  // kept until the image changes. A frame that draws a full image at another size (the
  // centre icon, at every step of the centre cross-fade) blends these pixels instead of
  // having GDI+ resample a 256-pixel picture each time. Null when there is no image.
  Gdiplus::GpBitmap* DrawnSize(const ImageRef& ref, int width, int height);

  // Bytes held by all bitmaps (width x height x 4), for the memory figures.
  std::size_t MemoryBytes() const;

 private:
  std::vector<GpBitmapPtr>& TableOf(ImageTable table);
  const std::vector<GpBitmapPtr>& TableOf(ImageTable table) const;
  static int Index(ImageTable table, int number, int variant);
  bool Valid(ImageTable table, int number, int variant) const;

  void ForgetDrawnSizes(ImageTable table, int number);

  std::vector<GpBitmapPtr> skins_;
  std::vector<GpBitmapPtr> icons_;
  // Scaled copies by (table, number, width, height): the magnified icon of each slot and
  // the centre icons, at most 2 x 37 on a full ring; the rest is a safety bound.
  std::map<std::tuple<ImageTable, int, int, int>, GpBitmapPtr> drawnSizes_;
  static constexpr std::size_t kMostDrawnSizes = 96;
  // Alpha scaled to 1/10 .. 9/10 (index 1..9); index 0 and 10 need no attributes.
  std::array<GpImageAttributesPtr, 10> fades_;
};

}  // namespace kivo::win
