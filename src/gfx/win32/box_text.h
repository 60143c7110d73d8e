// The popup's plain text: dark, regular, trimmed to a box and vertically centred in it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/win32/gdiplus_api.h"
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
  const std::wstring& familyName() const { return familyName_; }

 private:
  Gdiplus::GpSolidFill* Brush(Argb colour);

  GpFontFamilyPtr family_;
  GpFontPtr font_;
  GpStringFormatPtr left_;
  GpStringFormatPtr centred_;
  std::map<Argb, GpSolidFillPtr> brushes_;
  std::wstring familyName_;
  bool clearType_ = false;
};

}  // namespace kivo::win
