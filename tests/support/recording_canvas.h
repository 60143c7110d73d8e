// A canvas that records every call, for tests that check what a window drew, in which
// order and with which parameters. A test's clock can log its pauses into the same record,
// so frames and the pauses between them read in sequence.
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "render/canvas.h"

namespace kivo::testing {

struct CanvasCall {
  enum class Kind { Clear, Fill, Image, Text, Present, Pause };
  Kind kind = Kind::Clear;
  Argb colour = 0;       // Clear, Fill
  PixelRect area;        // Fill; Image: the target
  ImageRef image;        // Image
  int alphaTenths = 10;  // Image
  std::string text;      // Text
  int x = 0, y = 0;      // Text: centre and top (a text box: its corner; area its box)
  int value = 0;         // Present: constant alpha; Pause: milliseconds

  static CanvasCall MakeClear(Argb colour) {
    CanvasCall call;
    call.colour = colour;
    return call;
  }
  static CanvasCall MakeFill(const PixelRect& area, Argb colour) {
    CanvasCall call;
    call.kind = Kind::Fill;
    call.area = area;
    call.colour = colour;
    return call;
  }
  static CanvasCall MakeImage(const ImageRef& image, const PixelRect& target, int alpha = 10) {
    CanvasCall call;
    call.kind = Kind::Image;
    call.image = image;
    call.area = target;
    call.alphaTenths = alpha;
    return call;
  }
  static CanvasCall MakeText(std::string_view text, int centreX, int top) {
    CanvasCall call;
    call.kind = Kind::Text;
    call.text = std::string(text);
    call.x = centreX;
    call.y = top;
    return call;
  }
  static CanvasCall MakePresent(int alpha) { return WithValue(Kind::Present, alpha); }
  static CanvasCall MakePause(int ms) { return WithValue(Kind::Pause, ms); }

  friend bool operator==(const CanvasCall&, const CanvasCall&) = default;

 private:
  static CanvasCall WithValue(Kind kind, int value) {
    CanvasCall call;
    call.kind = kind;
    call.value = value;
    return call;
  }
};

inline std::ostream& operator<<(std::ostream& out, const PixelRect& r) {
  return out << '(' << r.left << ',' << r.top << ' ' << r.width << 'x' << r.height << ')';
}

inline std::ostream& operator<<(std::ostream& out, const CanvasCall& call) {
  using Kind = CanvasCall::Kind;
  switch (call.kind) {
    case Kind::Clear:
      return out << "clear 0x" << std::hex << call.colour << std::dec;
    case Kind::Fill:
      return out << "fill " << call.area << " 0x" << std::hex << call.colour << std::dec;
    case Kind::Image:
      return out << (call.image.table == ImageTable::Skin ? "skin " : "icon ") << call.image.number
                 << " v" << call.image.variant << " at " << call.area << " alpha "
                 << call.alphaTenths << "/10";
    case Kind::Text:
      return out << "text \"" << call.text << "\" centred " << call.x << " top " << call.y;
    case Kind::Present:
      return out << "present " << call.value;
    case Kind::Pause:
      return out << "pause " << call.value << " ms";
  }
  return out;
}

// GoogleTest prints calls (and vectors of them) in failure messages through this.
inline void PrintTo(const CanvasCall& call, std::ostream* out) {
  *out << call;
}

class RecordingCanvas : public Canvas {
 public:
  using Kind = CanvasCall::Kind;

  void Clear(Argb colour) override { calls.push_back(CanvasCall::MakeClear(colour)); }
  void Fill(const PixelRect& area, Argb colour) override {
    calls.push_back(CanvasCall::MakeFill(area, colour));
  }
  void DrawImage(const ImageRef& image, const PixelRect& target, int alphaTenths) override {
    calls.push_back(CanvasCall::MakeImage(image, target, alphaTenths));
  }
  void DrawText(std::string_view text, int centreX, int top) override {
    calls.push_back(CanvasCall::MakeText(text, centreX, top));
  }
  void DrawTextBox(std::string_view text, const PixelRect& box, Argb colour,
                   bool /*centred*/) override {
    CanvasCall call = CanvasCall::MakeText(text, box.left, box.top);
    call.area = box;
    call.colour = colour;
    calls.push_back(std::move(call));
  }
  void Present(int constantAlpha) override {
    calls.push_back(CanvasCall::MakePresent(constantAlpha));
  }
  void RecordPause(int milliseconds) { calls.push_back(CanvasCall::MakePause(milliseconds)); }

  // The calls of each presented frame, the Present itself last; pauses are left out, and
  // calls after the last Present are not a frame.
  std::vector<std::vector<CanvasCall>> Frames() const {
    std::vector<std::vector<CanvasCall>> frames(1);
    for (const CanvasCall& call : calls) {
      if (call.kind == Kind::Pause) continue;
      frames.back().push_back(call);
      if (call.kind == Kind::Present) frames.emplace_back();
    }
    frames.pop_back();
    return frames;
  }

  // The calls of one kind, in order.
  std::vector<CanvasCall> Only(Kind kind) const {
    std::vector<CanvasCall> found;
    for (const CanvasCall& call : calls) {
      if (call.kind == kind) found.push_back(call);
    }
    return found;
  }

  // The value of every Present or Pause: constant alphas, pause lengths, or both in order.
  std::vector<int> Values(Kind kind) const {
    std::vector<int> values;
    for (const CanvasCall& call : calls) {
      if (call.kind == kind) values.push_back(call.value);
    }
    return values;
  }

  // Every call, one per line, for a failure message.
  std::string Log() const {
    std::ostringstream out;
    for (const CanvasCall& call : calls) out << "  " << call << '\n';
    return out.str();
  }

  std::vector<CanvasCall> calls;
};

}  // namespace kivo::testing
