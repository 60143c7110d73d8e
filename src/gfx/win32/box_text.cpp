#include "gfx/win32/box_text.h"

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
  left_ = MakeFormat(Gdiplus::StringAlignmentNear);
  centred_ = MakeFormat(Gdiplus::StringAlignmentCenter);
  return left_ && centred_;
}

void BoxTextRenderer::Release() {
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

}  // namespace kivo::win
