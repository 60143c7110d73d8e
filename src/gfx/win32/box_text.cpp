#include "gfx/win32/box_text.h"

#include <algorithm>

#include "gfx/win32/frame_renderer.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

GpStringFormatPtr MakeFormat(Gdiplus::StringAlignment align) {
  Gdiplus::GpStringFormat* format = nullptr;
  if (gp::GdipCreateStringFormat(Gdiplus::StringFormatFlagsNoWrap, LANG_NEUTRAL, &format) !=
      Gdiplus::Ok) {
    return nullptr;
  }
  gp::GdipSetStringFormatAlign(format, align);
  gp::GdipSetStringFormatLineAlign(format, Gdiplus::StringAlignmentCenter);
  // A title longer than its row ends in an ellipsis instead of a cut letter.
  gp::GdipSetStringFormatTrimming(format, Gdiplus::StringTrimmingEllipsisCharacter);
  return GpStringFormatPtr(format);
}

}  // namespace

bool BoxTextRenderer::Create(const std::vector<std::wstring>& families, float emSize) {
  Release();
  family_ = FindFontFamily(families, familyName_);
  if (!family_) return false;
  Gdiplus::GpFont* font = nullptr;
  if (gp::GdipCreateFont(family_.get(), emSize, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel,
                         &font) != Gdiplus::Ok) {
    return false;
  }
  font_.reset(font);
  gdiFont_.reset(::CreateFontW(-static_cast<int>(emSize), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, familyName_.c_str()));
  left_ = MakeFormat(Gdiplus::StringAlignmentNear);
  centred_ = MakeFormat(Gdiplus::StringAlignmentCenter);
  return left_ && centred_;
}

void BoxTextRenderer::Release() {
  pictures_.clear();
  scratch_.Release();
  gdiFont_.reset();
  brushes_.clear();
  centred_.reset();
  left_.reset();
  font_.reset();
  family_.reset();
}

Gdiplus::GpSolidFill* BoxTextRenderer::Brush(Argb colour) {
  auto& brush = brushes_[colour];
  if (!brush) {
    Gdiplus::GpSolidFill* made = nullptr;
    if (gp::GdipCreateSolidFill(colour, &made) == Gdiplus::Ok) brush.reset(made);
  }
  return brush.get();
}

void BoxTextRenderer::Draw(Gdiplus::GpGraphics* graphics, const std::string& text,
                           const PixelRect& box, Argb colour, bool centred) {
  Gdiplus::GpSolidFill* brush = Brush(colour);
  if (!font_ || text.empty() || box.empty() || brush == nullptr) return;
  const std::wstring wide = Widen(text);
  gp::GdipSetTextRenderingHint(graphics, clearType_ ? Gdiplus::TextRenderingHintClearTypeGridFit
                                                    : Gdiplus::TextRenderingHintAntiAliasGridFit);
  const Gdiplus::RectF layout(static_cast<float>(box.left), static_cast<float>(box.top),
                              static_cast<float>(box.width), static_cast<float>(box.height));
  gp::GdipDrawString(graphics, wide.c_str(), static_cast<INT>(wide.size()), font_.get(), &layout,
                     (centred ? centred_ : left_).get(), brush);
}

bool BoxTextRenderer::Rasterise(const std::string& text, int width, int height, bool centred) {
  if (!gdiFont_) return false;
  if (scratch_.width() < width || scratch_.height() < height) {
    if (!scratch_.Create(std::max(width, scratch_.width()), std::max(height, scratch_.height()),
                         false)) {
      return false;
    }
  }
  scratch_.FillPixels(PixelRect{0, 0, width, height}, 0xFF000000);
  const HDC dc = scratch_.dc();
  const HGDIOBJ previous = ::SelectObject(dc, gdiFont_.get());
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::SetBkMode(dc, TRANSPARENT);
  std::wstring wide = Widen(text);
  RECT box{0, 0, width, height};
  const UINT format =
      (centred ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  const int drawn = ::DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &box, format);
  ::SelectObject(dc, previous);
  ::GdiFlush();
  return drawn != 0;
}

const BoxTextRenderer::Picture& BoxTextRenderer::PictureOf(const std::string& text, int width,
                                                           int height, Argb colour, bool centred) {
  PictureKey key{text, width, height, colour, centred};
  if (auto known = pictures_.find(key); known != pictures_.end()) return known->second;
  if (pictures_.size() >= kMostPictures) pictures_.clear();
  Picture picture;
  picture.drawn = Rasterise(text, width, height, centred);
  if (picture.drawn) {
    // White glyphs on black: any channel is the coverage. Only the inked part is kept, in
    // the colour asked for, premultiplied.
    const std::uint32_t* pixels = scratch_.pixels();
    const int stride = scratch_.width();
    const auto coverage = [&](int x, int y) {
      return static_cast<std::uint32_t>(pixels[static_cast<std::size_t>(y * stride + x)] >> 8) &
             0xFFu;
    };
    int left = width, top = height, right = 0, bottom = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (coverage(x, y) == 0) continue;
        left = std::min(left, x);
        right = std::max(right, x + 1);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
      }
    }
    if (right > left && bottom > top) {
      picture.box = PixelRect{left, top, right - left, bottom - top};
      picture.pixels.reserve(static_cast<std::size_t>(picture.box.width * picture.box.height));
      const std::uint32_t alpha = colour >> 24;
      for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
          const std::uint32_t a = coverage(x, y) * alpha / 255;
          const auto channel = [&](int shift) {
            return (((colour >> shift) & 0xFFu) * a / 255) << shift;
          };
          picture.pixels.push_back((a << 24) | channel(16) | channel(8) | channel(0));
        }
      }
    }
  }
  return pictures_.emplace(std::move(key), std::move(picture)).first->second;
}

void BoxTextRenderer::DrawOnto(LayeredSurface& surface, const PixelRect& clip,
                               const std::string& text, const PixelRect& box, Argb colour,
                               bool centred) {
  if (!font_ || text.empty() || box.empty()) return;
  if (clearType_) {
    Draw(surface.graphics(), text, box, colour, centred);
    return;
  }
  const Picture& picture = PictureOf(text, box.width, box.height, colour, centred);
  if (!picture.drawn) {
    Draw(surface.graphics(), text, box, colour, centred);
    return;
  }
  if (picture.box.empty()) return;
  surface.BlendPixels(box.left + picture.box.left, box.top + picture.box.top, picture.pixels.data(),
                      picture.box.width, picture.box.height, picture.box.width, clip);
}

}  // namespace kivo::win
