#include "gfx/win32/frame_renderer.h"

#include <cmath>

#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

constexpr Argb kTransparent = 0x00FFFFFF;
constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kOutline = 0xFF010203;
constexpr int kLayoutHeight = 128;

// Families tried after the ones asked for: common sans serifs of Windows, the Chinese
// interface fonts, and families that systems without them (Wine) usually have. They all
// hold Latin letters; the Chinese ones also hold the characters of Chinese titles.
constexpr const wchar_t* kFallbackFamilies[] = {
    L"Tahoma", L"Segoe UI",    L"Microsoft YaHei", L"SimSun", L"WenQuanYi Micro Hei",
    L"Arial",  L"DejaVu Sans", L"Liberation Sans"};

Gdiplus::GpFontFamily* FirstInstalledFamily() {
  Gdiplus::GpFontCollection* installed = nullptr;
  if (gp::GdipNewInstalledFontCollection(&installed) != Gdiplus::Ok) return nullptr;
  INT count = 0;
  if (gp::GdipGetFontCollectionFamilyCount(installed, &count) != Gdiplus::Ok || count <= 0) {
    return nullptr;
  }
  Gdiplus::GpFontFamily* first = nullptr;
  INT found = 0;
  if (gp::GdipGetFontCollectionFamilyList(installed, 1, &first, &found) != Gdiplus::Ok ||
      found != 1) {
    return nullptr;
  }
  Gdiplus::GpFontFamily* clone = nullptr;
  return gp::GdipCloneFontFamily(first, &clone) == Gdiplus::Ok ? clone : nullptr;
}

}  // namespace

GpFontFamilyPtr FindFontFamily(const std::vector<std::wstring>& families, std::wstring& name) {
  Gdiplus::GpFontFamily* family = nullptr;
  std::vector<std::wstring> candidates = families;
  candidates.insert(candidates.end(), std::begin(kFallbackFamilies), std::end(kFallbackFamilies));
  for (const std::wstring& candidate : candidates) {
    if (!candidate.empty() &&
        gp::GdipCreateFontFamilyFromName(candidate.c_str(), nullptr, &family) == Gdiplus::Ok) {
      name = candidate;
      return GpFontFamilyPtr(family);
    }
    family = nullptr;
  }
  // The generic family is owned by GDI+; a clone can be deleted like any other.
  Gdiplus::GpFontFamily* generic = nullptr;
  if (gp::GdipGetGenericFontFamilySansSerif(&generic) == Gdiplus::Ok) {
    gp::GdipCloneFontFamily(generic, &family);
  }
  if (family == nullptr) family = FirstInstalledFamily();
  if (family == nullptr) return nullptr;
  WCHAR found[LF_FACESIZE] = {};
  gp::GdipGetFamilyName(family, found, LANG_NEUTRAL);
  name = found;
  return GpFontFamilyPtr(family);
}

bool TextRenderer::Create(const std::vector<std::wstring>& families, float emSize) {
  Release();
  family_ = FindFontFamily(families, familyName_);
  Gdiplus::GpFontFamily* family = family_.get();
  if (family == nullptr) return false;
  Gdiplus::GpFont* font = nullptr;
  if (gp::GdipCreateFont(family, emSize, Gdiplus::FontStyleBold, Gdiplus::UnitPixel, &font) !=
      Gdiplus::Ok) {
    return false;
  }
  font_.reset(font);
  Gdiplus::GpStringFormat* format = nullptr;
  if (gp::GdipCreateStringFormat(0, LANG_NEUTRAL, &format) != Gdiplus::Ok) return false;
  format_.reset(format);
  gp::GdipSetStringFormatAlign(format, Gdiplus::StringAlignmentCenter);
  gp::GdipSetStringFormatLineAlign(format, Gdiplus::StringAlignmentNear);
  Gdiplus::GpSolidFill* brush = nullptr;
  if (gp::GdipCreateSolidFill(kWhite, &brush) != Gdiplus::Ok) return false;
  white_.reset(brush);
  if (gp::GdipCreateSolidFill(kOutline, &brush) != Gdiplus::Ok) return false;
  outline_.reset(brush);
  return true;
}

void TextRenderer::Release() {
  pictures_.clear();
  extents_.clear();
  outline_.reset();
  white_.reset();
  format_.reset();
  font_.reset();
  family_.reset();
}

PixelRect TextRenderer::Measure(Gdiplus::GpGraphics* graphics, const std::string& text, int centreX,
                                int top, int layoutWidth) const {
  if (!font_ || text.empty()) return {};
  auto known = extents_.find({text, layoutWidth});
  if (known == extents_.end()) {
    const std::wstring wide = Widen(text);
    const Gdiplus::RectF layout(0.0f, 0.0f, static_cast<float>(layoutWidth),
                                static_cast<float>(kLayoutHeight));
    Gdiplus::RectF box;
    Extent extent{static_cast<float>(layoutWidth), 0.0f, static_cast<float>(kLayoutHeight)};
    if (gp::GdipMeasureString(graphics, wide.c_str(), static_cast<INT>(wide.size()), font_.get(),
                              &layout, format_.get(), &box, nullptr, nullptr) == Gdiplus::Ok) {
      extent = Extent{box.Width, box.Y, box.Height};
    }
    if (extents_.size() > 4096) extents_.clear();
    known = extents_.emplace(std::make_pair(text, layoutWidth), extent).first;
  }
  // The text is centred in the layout box; its position is taken from the measured size
  // alone, because some GDI+ builds report the box at the layout's left edge. One pixel
  // of outline on every side, one more for antialiasing.
  const Extent& e = known->second;
  const float halfWidth = e.width / 2.0f;
  const int left = static_cast<int>(std::floor(static_cast<float>(centreX) - halfWidth)) - 2;
  const int boxTop = static_cast<int>(std::floor(static_cast<float>(top) + e.offsetY)) - 2;
  const int right = static_cast<int>(std::ceil(static_cast<float>(centreX) + halfWidth)) + 2;
  const int bottom =
      static_cast<int>(std::ceil(static_cast<float>(top) + e.offsetY + e.height)) + 2;
  return {left, boxTop, right - left, bottom - boxTop};
}

void TextRenderer::Draw(Gdiplus::GpGraphics* graphics, const std::string& text, int centreX,
                        int top, int layoutWidth) const {
  if (!font_ || text.empty()) return;
  const std::wstring wide = Widen(text);
  const auto length = static_cast<INT>(wide.size());
  gp::GdipSetTextRenderingHint(graphics, Gdiplus::TextRenderingHintAntiAliasGridFit);
  const auto drawAt = [&](int dx, int dy, Gdiplus::GpSolidFill* brush) {
    const Gdiplus::RectF layout(static_cast<float>(centreX - layoutWidth / 2 + dx),
                                static_cast<float>(top + dy), static_cast<float>(layoutWidth),
                                static_cast<float>(kLayoutHeight));
    gp::GdipDrawString(graphics, wide.c_str(), length, font_.get(), &layout, format_.get(), brush);
  };
  drawAt(-1, -1, outline_.get());
  drawAt(-1, 1, outline_.get());
  drawAt(1, -1, outline_.get());
  drawAt(1, 1, outline_.get());
  drawAt(0, 0, white_.get());
}

const TextRenderer::Picture& TextRenderer::PictureOf(Gdiplus::GpGraphics* graphics,
                                                     const std::string& text,
                                                     int layoutWidth) const {
  const auto key = std::make_pair(text, layoutWidth);
  if (auto known = pictures_.find(key); known != pictures_.end()) return known->second;
  if (pictures_.size() > 1024) pictures_.clear();
  Picture picture;
  picture.box = Measure(graphics, text, 0, 0, layoutWidth);
  if (!picture.box.empty()) {
    picture.pixels.assign(
        static_cast<std::size_t>(picture.box.width) * static_cast<std::size_t>(picture.box.height),
        0u);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromScan0(
            picture.box.width, picture.box.height, picture.box.width * 4, PixelFormat32bppPARGB,
            reinterpret_cast<BYTE*>(picture.pixels.data()), &bitmap) == Gdiplus::Ok) {
      GpBitmapPtr owner(bitmap);
      Gdiplus::GpGraphics* scratch = nullptr;
      if (gp::GdipGetImageGraphicsContext(bitmap, &scratch) == Gdiplus::Ok) {
        GpGraphicsPtr scratchOwner(scratch);
        // The same state as the surface's graphics, so the glyphs land on the same pixels.
        UseSmoothScaling(scratch);
        Draw(scratch, text, -picture.box.left, -picture.box.top, layoutWidth);
        picture.drawn = true;
      }
    }
  }
  return pictures_.emplace(key, std::move(picture)).first->second;
}

void TextRenderer::DrawOnto(LayeredSurface& surface, const PixelRect& clip, const std::string& text,
                            int centreX, int top, int layoutWidth) const {
  if (!font_ || text.empty()) return;
  const Picture& picture = PictureOf(surface.graphics(), text, layoutWidth);
  if (!picture.drawn) {
    // No picture could be made: drawn directly, clipped by the graphics' own clip.
    Draw(surface.graphics(), text, centreX, top, layoutWidth);
    return;
  }
  surface.BlendPixels(centreX + picture.box.left, top + picture.box.top, picture.pixels.data(),
                      picture.box.width, picture.box.height, picture.box.width, clip);
}

bool FrameRenderer::SetArea(const PixelRect& area) {
  if (area == area_ && surface_.pixels() != nullptr) return true;
  shown_.reset();
  if (area.width != area_.width || area.height != area_.height || !surface_.pixels()) {
    if (!surface_.Create(area.width, area.height)) return false;
  }
  // Operations come in client coordinates and are moved onto the surface here, not with a
  // world transform: text under a transform lands in the wrong place on some GDI+ builds.
  area_ = area;
  return true;
}

OpBounds FrameRenderer::Bounds() const {
  OpBounds bounds;
  bounds.image = [this](const ImageRef& ref, const PixelRect& target) {
    return images_.Bounds(ref, target);
  };
  bounds.text = [this](const std::string& text, int centreX, int top) {
    const PixelRect local = text_.Measure(surface_.graphics(), text, centreX - area_.left,
                                          top - area_.top, layoutWidth_);
    return local.empty() ? local
                         : PixelRect{local.left + area_.left, local.top + area_.top, local.width,
                                     local.height};
  };
  return bounds;
}

Argb FrameRenderer::Effective(Argb colour, const Frame& frame) const {
  return veilSeparate_ && colour == frame.background ? kTransparent : colour;
}

bool FrameRenderer::BlendImage(const ImageRef& ref, const PixelRect& target, int alphaTenths,
                               const PixelRect& clip) {
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(images_.Get(ref));
  if (bitmap == nullptr) return true;  // nothing to draw
  if (ref.variant == 0) {
    // A full image is drawn scaled into the target, unless it has the target's size.
    const auto [fullWidth, fullHeight] = ImageSize(bitmap);
    if (target.empty()) return true;
    if (fullWidth != target.width || fullHeight != target.height) {
      bitmap = images_.DrawnSize(ref, target.width, target.height);
      if (bitmap == nullptr) return false;
    }
  }
  const auto [width, height] = ImageSize(bitmap);
  Gdiplus::GpRect whole(0, 0, width, height);
  Gdiplus::BitmapData data{};
  if (gp::GdipBitmapLockBits(bitmap, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB,
                             &data) != Gdiplus::Ok) {
    return false;
  }
  if (data.Stride > 0 && data.Stride % 4 == 0) {
    surface_.BlendPixels(target.left, target.top, static_cast<const std::uint32_t*>(data.Scan0),
                         width, height, data.Stride / 4, clip, alphaTenths);
  }
  gp::GdipBitmapUnlockBits(bitmap, &data);
  return data.Stride > 0 && data.Stride % 4 == 0;
}

void FrameRenderer::Replay(const Frame& frame, const PixelRect& clip) {
  Gdiplus::GpGraphics* graphics = surface_.graphics();
  const auto toSurface = [this](const PixelRect& r) {
    return PixelRect{r.left - area_.left, r.top - area_.top, r.width, r.height};
  };
  const PixelRect local = toSurface(clip);
  surface_.FillPixels(local, Effective(frame.background, frame));
  gp::GdipSetClipRectI(graphics, local.left, local.top, local.width, local.height,
                       Gdiplus::CombineModeReplace);
  const OpBounds bounds = Bounds();
  for (const DrawOp& op : frame.ops) {
    const PixelRect where = bounds.Of(op);
    const PixelRect hit = Intersection(where, clip);
    if (hit.empty()) continue;
    switch (op.kind) {
      case DrawOp::Kind::Fill:
        surface_.FillPixels(toSurface(hit), Effective(op.colour, frame));
        break;
      case DrawOp::Kind::Image:
        if (!BlendImage(op.image, toSurface(op.rect), op.alphaTenths, local)) {
          images_.Draw(graphics, op.image, toSurface(op.rect), op.alphaTenths);
        }
        break;
      case DrawOp::Kind::Text:
        text_.DrawOnto(surface_, local, op.text, op.rect.left - area_.left, op.rect.top - area_.top,
                       layoutWidth_);
        break;
      case DrawOp::Kind::TextBox:
        if (boxText_) {
          boxText_->DrawOnto(surface_, local, op.text, toSurface(op.rect), op.colour, op.centred);
        }
        break;
    }
  }
  gp::GdipResetClip(graphics);
}

PixelRect FrameRenderer::Render(const Frame& frame) {
  repainted_.clear();
  if (!surface_.pixels()) return {};
  const auto damage = Damage(shown_ ? &*shown_ : nullptr, frame, Bounds());
  PixelRect changed;
  if (!damage) {
    Replay(frame, area_);
    changed = area_;
    repainted_.push_back(area_);
  } else {
    for (const PixelRect& rect : *damage) {
      const PixelRect clipped = Intersection(rect, area_);
      if (clipped.empty()) continue;
      Replay(frame, clipped);
      changed = Union(changed, clipped);
      repainted_.push_back(clipped);
    }
  }
  shown_ = frame;
  return changed.empty() ? changed
                         : PixelRect{changed.left - area_.left, changed.top - area_.top,
                                     changed.width, changed.height};
}

}  // namespace kivo::win
