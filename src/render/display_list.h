// A frame as a list of drawing operations. The dock and the popup draw whole frames into a
// DisplayList; the presenter compares it with the frame on screen and repaints only the
// parts that differ, so a hover change costs two slots, not the whole window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "render/canvas.h"

namespace kivo {

struct DrawOp {
  enum class Kind : std::uint8_t { Fill, Image, Text, TextBox };
  Kind kind = Kind::Image;
  PixelRect rect;        // Fill: the area; Image: the target (variants 1..6 draw unscaled)
  Argb colour = 0;       // Fill, TextBox
  ImageRef image;        // Image
  int alphaTenths = 10;  // Image
  std::string text;      // Text, centred on rect.left, top at rect.top; TextBox, in rect
  bool centred = false;  // TextBox
  friend bool operator==(const DrawOp&, const DrawOp&) = default;
};

struct Frame {
  Argb background = 0x00FFFFFF;  // what Clear filled the surface with
  int constantAlpha = 255;
  std::vector<DrawOp> ops;
  friend bool operator==(const Frame&, const Frame&) = default;
};

// Where an operation can touch pixels. Images of variants 1..6 draw at their cached size,
// which only the image tables know; text extent needs the font. Both come from outside.
struct OpBounds {
  std::function<PixelRect(const ImageRef&, const PixelRect& target)> image;
  std::function<PixelRect(const std::string& text, int centreX, int top)> text;
  PixelRect Of(const DrawOp& op) const;
};

// Records frames; each Present hands the finished frame to `sink`.
class DisplayList : public Canvas {
 public:
  explicit DisplayList(std::function<void(const Frame&)> sink) : sink_(std::move(sink)) {}

  void Clear(Argb colour) override;
  void Fill(const PixelRect& area, Argb colour) override;
  void DrawImage(const ImageRef& image, const PixelRect& target, int alphaTenths) override;
  void DrawText(std::string_view text, int centreX, int top) override;
  void DrawTextBox(std::string_view text, const PixelRect& box, Argb colour, bool centred) override;
  void Present(int constantAlpha) override;

  // With the bounds of operations known, a fill (it replaces the pixels under it) drops the
  // earlier operations it hides completely, so a frame drawn over again and again without
  // a Clear (the centre cross-fade) does not grow with every step.
  void SetBounds(OpBounds bounds) { bounds_ = std::move(bounds); }

 private:
  std::function<void(const Frame&)> sink_;
  Frame frame_;
  std::optional<OpBounds> bounds_;
};

PixelRect Intersection(const PixelRect& a, const PixelRect& b);
PixelRect Union(const PixelRect& a, const PixelRect& b);

// The rectangles of `next` that differ from `previous` when both are drawn from scratch:
// operations present in only one of them, and common operations that overlap but swapped
// their order. Nothing means the whole surface (a different background, or no previous
// frame); a different constant alpha alone damages nothing. Overlapping rectangles are merged.
std::optional<std::vector<PixelRect>> Damage(const Frame* previous, const Frame& next,
                                             const OpBounds& bounds);

}  // namespace kivo
