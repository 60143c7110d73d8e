#include "gfx/win32/image_tables.h"

#include <algorithm>

namespace kivo::win {

GpBitmapPtr MakeScaledImage(Gdiplus::GpImage* image, int width, int height) {
  if (image == nullptr || width <= 0 || height <= 0) return nullptr;
  Gdiplus::GpBitmap* bitmap = nullptr;
  // At its own size the picture is copied, not drawn: the same pixels for a fraction of the
  // work (the centre icon's variant of every 128-pixel ring icon, for one).
  if (ImageSize(image) == std::pair{width, height}) {
    if (gp::GdipCloneBitmapAreaI(0, 0, width, height, PixelFormat32bppPARGB,
                                 static_cast<Gdiplus::GpBitmap*>(image), &bitmap) == Gdiplus::Ok) {
      return GpBitmapPtr(bitmap);
    }
    bitmap = nullptr;
  }
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, &bitmap) !=
      Gdiplus::Ok) {
    return nullptr;
  }
  GpBitmapPtr result(bitmap);
  Gdiplus::GpGraphics* raw = nullptr;
  if (gp::GdipGetImageGraphicsContext(bitmap, &raw) != Gdiplus::Ok) return nullptr;
  GpGraphicsPtr graphics(raw);
  UseSmoothScaling(raw);
  const auto [sourceWidth, sourceHeight] = ImageSize(image);
  gp::GdipDrawImageRectRectI(raw, image, 0, 0, width, height, 0, 0, sourceWidth, sourceHeight,
                             Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
  return result;
}

GpBitmapPtr MakeScaledIconImage(Gdiplus::GpImage* image, int width, int height) {
  GpBitmapPtr result = MakeScaledImage(image, width, height);
  if (!result) return result;
  Gdiplus::GpRect all{0, 0, width, height};
  Gdiplus::BitmapData data{};
  if (gp::GdipBitmapLockBits(AsBitmap(result), &all, Gdiplus::ImageLockModeWrite,
                             PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
    return result;
  }
  const auto clear = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    static_cast<std::uint32_t*>(data.Scan0)[y * data.Stride / 4 + x] = 0;
  };
  for (int x = 0; x < width; ++x) {
    clear(x, 0);
    clear(x, height - 1);
  }
  for (int y = 0; y < height; ++y) {
    clear(0, y);
    clear(width - 1, y);
  }
  for (int d = 0; d < 2; ++d) {
    for (int e = 0; e < 2; ++e) {
      clear(d, e);
      clear(width - 1 - d, e);
      clear(d, height - 1 - e);
      clear(width - 1 - d, height - 1 - e);
    }
  }
  gp::GdipBitmapUnlockBits(AsBitmap(result), &data);
  return result;
}

ImageTables::ImageTables()
    : skins_(static_cast<std::size_t>(kSkinCount * kVariantCount)),
      icons_(static_cast<std::size_t>(kIconCount * kVariantCount)) {
  for (int k = 1; k <= 9; ++k) {
    Gdiplus::GpImageAttributes* attributes = nullptr;
    if (gp::GdipCreateImageAttributes(&attributes) != Gdiplus::Ok) continue;
    fades_[static_cast<std::size_t>(k)].reset(attributes);
    Gdiplus::ColorMatrix matrix{};
    for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
    matrix.m[3][3] = static_cast<float>(k) / 10.0f;
    gp::GdipSetImageAttributesColorMatrix(attributes, Gdiplus::ColorAdjustTypeDefault, TRUE,
                                          &matrix, nullptr, Gdiplus::ColorMatrixFlagsDefault);
  }
}

int ImageTables::Index(ImageTable table, int number, int variant) {
  const int count = table == ImageTable::Skin ? kSkinCount : kIconCount;
  return number + count * variant;
}

bool ImageTables::Valid(ImageTable table, int number, int variant) const {
  const int count = table == ImageTable::Skin ? kSkinCount : kIconCount;
  return number >= 0 && number < count && variant >= 0 && variant < kVariantCount;
}

std::vector<GpBitmapPtr>& ImageTables::TableOf(ImageTable table) {
  return table == ImageTable::Skin ? skins_ : icons_;
}
const std::vector<GpBitmapPtr>& ImageTables::TableOf(ImageTable table) const {
  return table == ImageTable::Skin ? skins_ : icons_;
}

void ImageTables::Set(ImageTable table, int number, GpBitmapPtr full) {
  if (!Valid(table, number, 0)) return;
  Release(table, number);  // forgets the scaled copies of the old image too
  TableOf(table)[static_cast<std::size_t>(Index(table, number, 0))] = std::move(full);
}

void ImageTables::BuildVariant(ImageTable table, int number, int variant, int width, int height) {
  if (!Valid(table, number, variant) || variant == 0) return;
  auto& entries = TableOf(table);
  auto& slot = entries[static_cast<std::size_t>(Index(table, number, variant))];
  Gdiplus::GpImage* full = entries[static_cast<std::size_t>(Index(table, number, 0))].get();
  slot =
      width > 0 && height > 0 && full != nullptr ? MakeScaledImage(full, width, height) : nullptr;
}

void ImageTables::SetVariant(ImageTable table, int number, int variant, GpBitmapPtr image) {
  if (!Valid(table, number, variant) || variant == 0) return;
  TableOf(table)[static_cast<std::size_t>(Index(table, number, variant))] = std::move(image);
}

void ImageTables::Release(ImageTable table, int number) {
  if (!Valid(table, number, 0)) return;
  ForgetDrawnSizes(table, number);
  for (int variant = 0; variant < kVariantCount; ++variant) {
    TableOf(table)[static_cast<std::size_t>(Index(table, number, variant))].reset();
  }
}

void ImageTables::DropFull(ImageTable table, int number) {
  if (!Valid(table, number, 0)) return;
  ForgetDrawnSizes(table, number);
  TableOf(table)[static_cast<std::size_t>(Index(table, number, 0))].reset();
}

GpBitmapPtr ImageTables::Take(ImageTable table, int number, int variant) {
  if (!Valid(table, number, variant)) return nullptr;
  ForgetDrawnSizes(table, number);
  return std::move(TableOf(table)[static_cast<std::size_t>(Index(table, number, variant))]);
}

void ImageTables::Put(ImageTable table, int number, int variant, GpBitmapPtr image) {
  if (!Valid(table, number, variant)) return;
  ForgetDrawnSizes(table, number);
  TableOf(table)[static_cast<std::size_t>(Index(table, number, variant))] = std::move(image);
}

void ImageTables::ForgetDrawnSizes(ImageTable table, int number) {
  const auto first = drawnSizes_.lower_bound({table, number, 0, 0});
  auto last = first;
  while (last != drawnSizes_.end() && std::get<0>(last->first) == table &&
         std::get<1>(last->first) == number) {
    ++last;
  }
  drawnSizes_.erase(first, last);
}

Gdiplus::GpBitmap* ImageTables::DrawnSize(const ImageRef& ref, int width, int height) {
  const auto key = std::make_tuple(ref.table, ref.number, width, height);
  if (const auto known = drawnSizes_.find(key); known != drawnSizes_.end()) {
    return AsBitmap(known->second);
  }
  Gdiplus::GpImage* full = Get({ref.table, ref.number, 0});
  if (full == nullptr) return nullptr;
  GpBitmapPtr scaled = MakeScaledImage(full, width, height);
  if (!scaled) return nullptr;
  if (drawnSizes_.size() >= kMostDrawnSizes) drawnSizes_.clear();
  return AsBitmap(drawnSizes_.emplace(key, std::move(scaled)).first->second);
}

void ImageTables::ReleaseAll() {
  drawnSizes_.clear();
  for (auto& image : skins_) image.reset();
  for (auto& image : icons_) image.reset();
}

Gdiplus::GpImage* ImageTables::Get(const ImageRef& ref) const {
  if (!Valid(ref.table, ref.number, ref.variant)) return nullptr;
  return TableOf(ref.table)[static_cast<std::size_t>(Index(ref.table, ref.number, ref.variant))]
      .get();
}

PixelRect ImageTables::Bounds(const ImageRef& ref, const PixelRect& target) const {
  if (ref.variant == 0) return target;
  Gdiplus::GpImage* image = Get(ref);
  if (image == nullptr) return {};
  const auto [width, height] = ImageSize(image);
  return {target.left, target.top, width, height};
}

void ImageTables::Draw(Gdiplus::GpGraphics* graphics, const ImageRef& ref, const PixelRect& target,
                       int alphaTenths) const {
  if (alphaTenths <= 0) return;
  Gdiplus::GpImage* image = Get(ref);
  if (image == nullptr) return;
  const auto [width, height] = ImageSize(image);
  if (alphaTenths >= 10) {
    if (ref.variant == 0) {
      gp::GdipDrawImageRectRectI(graphics, image, target.left, target.top, target.width,
                                 target.height, 0, 0, width, height, Gdiplus::UnitPixel, nullptr,
                                 nullptr, nullptr);
    } else {
      gp::GdipDrawImageRectI(graphics, image, target.left, target.top, width, height);
    }
    return;
  }
  const PixelRect area =
      ref.variant == 0 ? target : PixelRect{target.left, target.top, width, height};
  gp::GdipDrawImageRectRectI(graphics, image, area.left, area.top, area.width, area.height, 0, 0,
                             width, height, Gdiplus::UnitPixel,
                             fades_[static_cast<std::size_t>(alphaTenths)].get(), nullptr, nullptr);
}

std::size_t ImageTables::MemoryBytes() const {
  std::size_t bytes = 0;
  const auto add = [&](Gdiplus::GpImage* image) {
    if (image == nullptr) return;
    const auto [width, height] = ImageSize(image);
    bytes += static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  };
  for (const auto* table : {&skins_, &icons_}) {
    for (const auto& image : *table) add(image.get());
  }
  for (const auto& [key, image] : drawnSizes_) add(image.get());
  return bytes;
}

}  // namespace kivo::win
