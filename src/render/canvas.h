// The drawing surface of a layered window as the dock and the popup see it. The GDI+
// adapter draws for real; tests plug in a recording canvas and check what was drawn.
#pragma once

#include <cstdint>
#include <string_view>

namespace kivo {

struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// An image of the two image tables: skins by skin number, icons by icon number (icons
// are numbered like items; icon 0 is the LOGO overlay). Variant 0 is the full image,
// variants 1..6 the pre-scaled cached bitmaps.
enum class ImageTable : std::uint8_t { Skin, Icon };

struct ImageRef {
  ImageTable table = ImageTable::Icon;
  int number = 0;
  int variant = 0;
  friend bool operator==(const ImageRef&, const ImageRef&) = default;
};

// Skin numbers of the skin table.
enum SkinNumber : int {
  kSkinLogo = 0,
  kSkinMenuSelect = 1,
  kSkinMenuMouseDown = 2,
  kSkinMenuUpUnselect = 3,
  kSkinMenuUpSelect = 4,
  kSkinMenuDownUnselect = 5,
  kSkinMenuDownSelect = 6,
  kSkinMenuSpace = 7,
  kSkinMenuBody = 8,
  kSkinMenuTop = 9,
  kSkinMenuBottom = 10,
  kSkinBorder = 12,
  kSkinNoDrop = 16,
  kSkinAddIcon = 17,
  kSkinReplaceIcon = 18,
  kSkinDelIcon = 19,
  kSkinBackSelectColor = 20,
};

// Colours are 0xAARRGGBB, not premultiplied.
using Argb = std::uint32_t;

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Fills the whole surface with `colour` (the veil, or 0x00FFFFFF for full transparency).
  virtual void Clear(Argb colour) = 0;
  // Overwrites `area` with `colour` in source-copy mode (no blending).
  virtual void Fill(const PixelRect& area, Argb colour) = 0;
  // Variant 1..6: the cached bitmap unscaled at (x, y). Variant 0: the full image scaled
  // into `target`. `alphaTenths` scales the image's alpha by 0..10 tenths (10 = opaque).
  // An image that does not exist draws nothing.
  virtual void DrawImage(const ImageRef& image, const PixelRect& target, int alphaTenths = 10) = 0;
  // Outlined white text, horizontally centred on `centreX`, its top at `top`.
  virtual void DrawText(std::string_view text, int centreX, int top) = 0;
  // Plain text of the popup's rows in `colour`, trimmed to `box`, vertically centred in it
  // and left-aligned (or centred when `centred`).
  virtual void DrawTextBox(std::string_view text, const PixelRect& box, Argb colour,
                           bool centred = false) = 0;
  // Hands the surface to the window manager with the given constant alpha (0..255).
  virtual void Present(int constantAlpha) = 0;
};

}  // namespace kivo
