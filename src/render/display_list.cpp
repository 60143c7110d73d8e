#include "render/display_list.h"

#include <algorithm>

namespace kivo {

PixelRect OpBounds::Of(const DrawOp& op) const {
  switch (op.kind) {
    case DrawOp::Kind::Fill:
      return op.rect;
    case DrawOp::Kind::Image:
      return image ? image(op.image, op.rect) : op.rect;
    case DrawOp::Kind::Text:
      return text ? text(op.text, op.rect.left, op.rect.top) : op.rect;
    case DrawOp::Kind::TextBox:
      return op.rect;  // the text is trimmed to its box
  }
  return op.rect;
}

void DisplayList::Clear(Argb colour) {
  frame_.ops.clear();
  frame_.background = colour;
}

void DisplayList::Fill(const PixelRect& area, Argb colour) {
  if (bounds_ && !area.empty()) {
    std::erase_if(frame_.ops, [&](const DrawOp& earlier) {
      const PixelRect touched = bounds_->Of(earlier);
      return !touched.empty() && Intersection(touched, area) == touched;
    });
  }
  DrawOp op;
  op.kind = DrawOp::Kind::Fill;
  op.rect = area;
  op.colour = colour;
  frame_.ops.push_back(std::move(op));
}

void DisplayList::DrawImage(const ImageRef& image, const PixelRect& target, int alphaTenths) {
  DrawOp op;
  op.kind = DrawOp::Kind::Image;
  op.rect = target;
  op.image = image;
  op.alphaTenths = alphaTenths;
  frame_.ops.push_back(std::move(op));
}

void DisplayList::DrawText(std::string_view text, int centreX, int top) {
  DrawOp op;
  op.kind = DrawOp::Kind::Text;
  op.rect = PixelRect{centreX, top, 0, 0};
  op.text = std::string(text);
  frame_.ops.push_back(std::move(op));
}

void DisplayList::DrawTextBox(std::string_view text, const PixelRect& box, Argb colour,
                              bool centred) {
  DrawOp op;
  op.kind = DrawOp::Kind::TextBox;
  op.rect = box;
  op.colour = colour;
  op.text = std::string(text);
  op.centred = centred;
  frame_.ops.push_back(std::move(op));
}

void DisplayList::Present(int constantAlpha) {
  frame_.constantAlpha = constantAlpha;
  if (sink_) sink_(frame_);
}

PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
  const int left = std::max(a.left, b.left);
  const int top = std::max(a.top, b.top);
  const int right = std::min(a.right(), b.right());
  const int bottom = std::min(a.bottom(), b.bottom());
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  const int left = std::min(a.left, b.left);
  const int top = std::min(a.top, b.top);
  return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

namespace {

// Pairs each operation of `a` with an equal, not yet paired one of `b`, in order.
std::vector<int> Match(const std::vector<DrawOp>& a, const std::vector<DrawOp>& b) {
  std::vector<int> partner(a.size(), -1);
  std::vector<bool> taken(b.size(), false);
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) {
      if (!taken[j] && a[i] == b[j]) {
        taken[j] = true;
        partner[i] = static_cast<int>(j);
        break;
      }
    }
  }
  return partner;
}

void AddMerged(std::vector<PixelRect>& rects, PixelRect rect) {
  if (rect.empty()) return;
  // Merge with anything it touches until nothing overlaps any more.
  for (bool merged = true; merged;) {
    merged = false;
    for (auto it = rects.begin(); it != rects.end(); ++it) {
      if (!Intersection(*it, rect).empty()) {
        rect = Union(*it, rect);
        rects.erase(it);
        merged = true;
        break;
      }
    }
  }
  rects.push_back(rect);
}

}  // namespace

std::optional<std::vector<PixelRect>> Damage(const Frame* previous, const Frame& next,
                                             const OpBounds& bounds) {
  // The constant alpha is applied when the surface is presented, not drawn into it: a
  // frame that only fades changes no pixel.
  if (previous == nullptr || previous->background != next.background) return std::nullopt;
  const auto& before = previous->ops;
  const auto& after = next.ops;
  std::vector<PixelRect> damage;
  const std::vector<int> partner = Match(before, after);
  std::vector<bool> matchedAfter(after.size(), false);
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (partner[i] < 0) {
      AddMerged(damage, bounds.Of(before[i]));
    } else {
      matchedAfter[static_cast<std::size_t>(partner[i])] = true;
    }
  }
  for (std::size_t j = 0; j < after.size(); ++j) {
    if (!matchedAfter[j]) AddMerged(damage, bounds.Of(after[j]));
  }
  // Common operations drawn in the other order change the pixels where they overlap.
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (partner[i] < 0) continue;
    for (std::size_t k = i + 1; k < before.size(); ++k) {
      if (partner[k] < 0 || partner[k] > partner[i]) continue;
      AddMerged(damage, Intersection(bounds.Of(before[i]), bounds.Of(before[k])));
    }
  }
  return damage;
}

}  // namespace kivo
