// Draws frames of the display list onto a layered window's surface, repainting only what
// changed since the frame on screen, and presents them.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gfx/win32/box_text.h"
#include "gfx/win32/image_tables.h"
#include "gfx/win32/layered_surface.h"
#include "render/display_list.h"

namespace kivo::win {

// The first of `families` that is installed, else a common family that is, else the
// generic sans serif; `name` receives its name. Null only when the system has no font.
GpFontFamilyPtr FindFontFamily(const std::vector<std::wstring>& families, std::wstring& name);

// The outlined label text: a bold pixel font, centred, four dark copies around a white one.
class TextRenderer {
 public:
  // Tries `families` in order and falls back to the generic sans serif, so text is drawn
  // even when a named family is not installed.
  [[nodiscard]] bool Create(const std::vector<std::wstring>& families, float emSize);
  void Release();
  // The pixels the text touches (outline included) when centred on `centreX`.
  PixelRect Measure(Gdiplus::GpGraphics* graphics, const std::string& text, int centreX, int top,
                    int layoutWidth) const;
  void Draw(Gdiplus::GpGraphics* graphics, const std::string& text, int centreX, int top,
            int layoutWidth) const;
  // Draws the text onto `surface`, only inside `clip` (which the surface's graphics must be
  // clipped to as well), from a picture of it made once per text and layout width: every
  // GDI+ text call lays out and rasterises the glyphs again, five times per label for the
  // outline, and a ring shows the same few texts again and again. The picture is the text
  // drawn on transparency, so where the surface is transparent the pixels are the ones
  // drawing directly gives.
  void DrawOnto(LayeredSurface& surface, const PixelRect& clip, const std::string& text,
                int centreX, int top, int layoutWidth) const;
  const std::wstring& familyName() const { return familyName_; }

 private:
  GpFontFamilyPtr family_;
  GpFontPtr font_;
  GpStringFormatPtr format_;
  GpSolidFillPtr white_;
  GpSolidFillPtr outline_;
  std::wstring familyName_;
  // Measuring is slow and a ring shows the same few texts again and again: the extent of
  // a text depends only on the text and the layout width.
  struct Extent {
    float width = 0, offsetY = 0, height = 0;
  };
  mutable std::map<std::pair<std::string, int>, Extent> extents_;
  struct Picture {
    PixelRect box;  // relative to the anchor (centre, top)
    std::vector<std::uint32_t> pixels;
    bool drawn = false;
  };
  const Picture& PictureOf(Gdiplus::GpGraphics* graphics, const std::string& text,
                           int layoutWidth) const;
  mutable std::map<std::pair<std::string, int>, Picture> pictures_;
};

class FrameRenderer {
 public:
  FrameRenderer(ImageTables& images, TextRenderer& text) : images_(images), text_(text) {}

  // The part of the logical plane (work-area client coordinates) the surface covers;
  // recreates the surface when the size changes.
  [[nodiscard]] bool SetArea(const PixelRect& area);
  const PixelRect& area() const { return area_; }
  // Width of the text layout box, as wide as the whole dock window.
  void SetLayoutWidth(int width) { layoutWidth_ = width; }
  // With the veil on a window of its own, the frame's background (and fills with it) are
  // drawn transparent here.
  void SetVeilSeparate(bool separate) { veilSeparate_ = separate; }
  // Where the popup's text boxes are drawn; without one they draw nothing.
  void SetBoxText(BoxTextRenderer* boxText) { boxText_ = boxText; }

  // Draws `frame`: only the damaged parts when they are known, else everything. Returns
  // the surface rectangle that changed (empty when nothing did).
  PixelRect Render(const Frame& frame);
  // The rectangles the last Render repainted, in client coordinates.
  const std::vector<PixelRect>& repainted() const { return repainted_; }
  // The frame the surface holds, if any.
  const Frame* shown() const { return shown_ ? &*shown_ : nullptr; }
  // Forgets the frame on screen, so the next one is drawn whole.
  void Invalidate() { shown_.reset(); }

  OpBounds Bounds() const;
  LayeredSurface& surface() { return surface_; }

 private:
  void Replay(const Frame& frame, const PixelRect& clip);
  // Draws an image by blending its pixels: a pre-scaled variant as it is, a full image
  // through its copy at the target's size. Far cheaper than GDI+, which resamples even an
  // unscaled image and fades through a colour matrix. False when it cannot.
  bool BlendImage(const ImageRef& ref, const PixelRect& target, int alphaTenths,
                  const PixelRect& clip);
  Argb Effective(Argb colour, const Frame& frame) const;

  ImageTables& images_;
  TextRenderer& text_;
  BoxTextRenderer* boxText_ = nullptr;
  LayeredSurface surface_;
  PixelRect area_;
  int layoutWidth_ = 0;
  bool veilSeparate_ = false;
  std::optional<Frame> shown_;
  std::vector<PixelRect> repainted_;
};

}  // namespace kivo::win
