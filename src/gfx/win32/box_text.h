// The popup's plain text: dark, regular, trimmed to a box and vertically centred in it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "gfx/win32/layered_surface.h"
#include "platform/win32/gdiplus_api.h"
#include "platform/win32/handles.h"
#include "render/canvas.h"

namespace kivo::win {

class BoxTextRenderer {
 public:
  // Tries `families` in order, then the common ones, so text is drawn whatever is installed.
  [[nodiscard]] bool Create(const std::vector<std::wstring>& families, float emSize);
  void Release();
  // ClearType text (grid-fitted) when the user turned it on, else grey antialiasing.
  void SetClearType(bool on) { clearType_ = on; }
  // Draws `text` into `box` (surface coordinates), clipped by the graphics' clip.
  void Draw(Gdiplus::GpGraphics* graphics, const std::string& text, const PixelRect& box,
            Argb colour, bool centred);
  // As Draw, onto `surface` and only inside `clip`, from a picture of the text made once:
  // laying out and rasterising a row's title costs far more than blending its pixels, and
  // a list shows the same titles page after page. ClearType needs the background under the
  // glyphs, so with ClearType on the text is drawn directly.
  void DrawOnto(LayeredSurface& surface, const PixelRect& clip, const std::string& text,
                const PixelRect& box, Argb colour, bool centred);
  const std::wstring& familyName() const { return familyName_; }

 private:
  Gdiplus::GpSolidFill* Brush(Argb colour);
  struct Picture {
    PixelRect box;  // the inked part, relative to the text box's corner
    std::vector<std::uint32_t> pixels;
    bool drawn = false;
  };
  using PictureKey = std::tuple<std::string, int, int, Argb, bool>;
  const Picture& PictureOf(const std::string& text, int width, int height, Argb colour,
                           bool centred);
  // The glyphs' coverage drawn with GDI, white on black, on the scratch surface; far
  // quicker than GDI+ text. False when it cannot.
  bool Rasterise(const std::string& text, int width, int height, bool centred);

  GpFontFamilyPtr family_;
  GpFontPtr font_;
  GpStringFormatPtr left_;
  GpStringFormatPtr centred_;
  std::map<Argb, GpSolidFillPtr> brushes_;
  std::wstring familyName_;
  bool clearType_ = false;
  UniqueFont gdiFont_;
  LayeredSurface scratch_;
  // A few pages of titles; the whole cache goes when it is full (a few megabytes at most).
  std::map<PictureKey, Picture> pictures_;
  static constexpr std::size_t kMostPictures = 512;
};

}  // namespace kivo::win
