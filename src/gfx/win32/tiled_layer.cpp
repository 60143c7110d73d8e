#include "gfx/win32/tiled_layer.h"

#include <algorithm>
#include <cstring>

#include "render/display_list.h"

namespace kivo::win {
namespace {

bool Transparent(const LayeredSurface& surface) {
  const std::uint32_t* pixels = surface.pixels();
  const auto count =
      static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height());
  return std::all_of(pixels, pixels + count, [](std::uint32_t pixel) { return pixel == 0; });
}

}  // namespace

void TiledLayer::SetWindows(HWND main, WindowMaker maker) {
  main_ = main;
  maker_ = std::move(maker);
}

HWND TiledLayer::window(std::size_t tile) const {
  return tile == 0 ? main_ : tiles_[tile]->window.get();
}

bool TiledLayer::SetLayout(TileLayout layout) {
  layout_ = std::move(layout);
  // Windows of tiles that no longer exist go; the others are moved, sized and filled at
  // the next update.
  tiles_.resize(layout_.tiles.size());
  bool ok = true;
  for (std::size_t i = 0; i < tiles_.size(); ++i) {
    if (!tiles_[i]) tiles_[i] = std::make_unique<Tile>();
    const PixelRect& rect = layout_.tiles[i];
    Tile& tile = *tiles_[i];
    if (tile.surface.width() != rect.width || tile.surface.height() != rect.height) {
      ok = tile.surface.Create(rect.width, rect.height, false) && ok;
    } else {
      std::fill_n(tile.surface.pixels(),
                  static_cast<std::size_t>(rect.width) * static_cast<std::size_t>(rect.height), 0u);
    }
    tile.changed = {};
    tile.whole = true;
    tile.placed = false;
    tile.blank.reset();
  }
  // Without every surface the tiles cannot show the picture: nothing is shown rather than
  // part of it.
  if (!ok) {
    tiles_.clear();
    layout_ = {};
  }
  return ok;
}

void TiledLayer::Invalidate() {
  for (auto& tile : tiles_) tile->whole = true;
  shownAlpha_ = -1;
}

void TiledLayer::Show() {
  shown_ = true;
  for (std::size_t i = 1; i < tiles_.size(); ++i) {
    if (tiles_[i]->window) ::ShowWindow(tiles_[i]->window.get(), SW_SHOWNOACTIVATE);
  }
}

bool TiledLayer::Blank(Tile& tile) {
  if (!tile.blank) tile.blank = Transparent(tile.surface);
  return *tile.blank;
}

void TiledLayer::PresentAlphaOnly(HWND window, int constantAlpha) {
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(constantAlpha), AC_SRC_ALPHA};
  ::UpdateLayeredWindow(window, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA);
}

void TiledLayer::Hide() {
  shown_ = false;
  for (std::size_t i = 1; i < tiles_.size(); ++i) {
    if (tiles_[i]->window) ::ShowWindow(tiles_[i]->window.get(), SW_HIDE);
  }
}

void TiledLayer::Lower(HWND anchor) {
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (std::size_t i = 1; i < tiles_.size(); ++i) {
    const HWND window = tiles_[i]->window.get();
    if (window == nullptr) continue;
    ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
    if (anchor != nullptr) ::SetWindowPos(window, anchor, 0, 0, 0, 0, kFlags);
  }
}

void TiledLayer::Raise() {
  for (std::size_t i = 1; i < tiles_.size(); ++i) {
    if (!tiles_[i]->window) continue;
    ::SetWindowPos(tiles_[i]->window.get(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TiledLayer::Release() {
  tiles_.clear();
  layout_ = {};
  shownAlpha_ = -1;
  shown_ = false;
}

int TiledLayer::Present(const LayeredSurface& frame, std::span<const PixelRect> repainted,
                        POINT origin, int constantAlpha) {
  const PixelRect& area = layout_.area;
  if (frame.pixels() == nullptr || frame.width() != area.width || frame.height() != area.height) {
    return 0;
  }
  // Only runs whose pixels differ from the tile's count as changed: the repainted
  // rectangles are bounding boxes and often cover tiles that look the same as before.
  ForEachOwnedRun(layout_, repainted, [&](std::uint16_t index, int y, int left, int right) {
    Tile& tile = *tiles_[index];
    const PixelRect& rect = layout_.tiles[index];
    const std::uint32_t* from =
        frame.pixels() +
        static_cast<std::size_t>(y - area.top) * static_cast<std::size_t>(area.width) +
        (left - area.left);
    std::uint32_t* to =
        tile.surface.pixels() +
        static_cast<std::size_t>(y - rect.top) * static_cast<std::size_t>(rect.width) +
        (left - rect.left);
    const auto bytes = static_cast<std::size_t>(right - left) * sizeof(std::uint32_t);
    if (std::memcmp(from, to, bytes) == 0) return;
    std::memcpy(to, from, bytes);
    tile.blank.reset();
    tile.changed = Union(tile.changed, PixelRect{left - rect.left, y - rect.top, right - left, 1});
  });

  if (origin.x != origin_.x || origin.y != origin_.y) {
    for (auto& tile : tiles_) tile->placed = false;
    origin_ = origin;
  }
  const bool alphaChanged = constantAlpha != shownAlpha_;
  int presented = 0;
  for (std::size_t i = 0; i < tiles_.size(); ++i) {
    Tile& tile = *tiles_[i];
    HWND target = window(i);
    const bool changed = tile.whole || !tile.changed.empty();
    if (!changed && (target == nullptr || !alphaChanged)) continue;
    if (!changed && target != nullptr) {
      // A fade: the window keeps its pixels and only takes the new constant alpha, which
      // costs a fraction of presenting them again.
      if (Blank(tile)) continue;
      PresentAlphaOnly(target, constantAlpha);
      tile.alpha = constantAlpha;
      ++presented;
      continue;
    }
    bool made = false;
    if (target == nullptr) {
      // A tile gets its window when it first has something to show.
      if (!maker_ || Transparent(tile.surface)) {
        tile.changed = {};
        tile.whole = false;
        continue;
      }
      tile.window.reset(maker_());
      target = tile.window.get();
      if (target == nullptr) continue;
      made = true;
    }
    const PixelRect& rect = layout_.tiles[i];
    const POINT position{origin.x + rect.left, origin.y + rect.top};
    const bool whole = made || tile.whole || alphaChanged;
    // Moving and sizing a window that already has its place and size only costs time.
    tile.surface.Present(target, made || !tile.placed ? &position : nullptr, constantAlpha,
                         whole ? nullptr : &tile.changed);
    if (made && shown_) ::ShowWindow(target, SW_SHOWNOACTIVATE);
    tile.changed = {};
    tile.whole = false;
    tile.placed = true;
    tile.alpha = constantAlpha;
    ++presented;
  }
  shownAlpha_ = constantAlpha;
  return presented;
}

}  // namespace kivo::win
