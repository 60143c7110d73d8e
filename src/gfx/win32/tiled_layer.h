// The ring's picture on the small layered windows of a TileLayout (render/tile_layout.h).
// Each tile keeps a surface of its own holding the pixels it owns (transparent elsewhere);
// after a frame the repainted parts of the frame's surface are copied into the tiles, and
// only the tiles whose pixels really changed are presented.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "gfx/win32/layered_surface.h"
#include "gfx/win32/presenter.h"
#include "platform/win32/handles.h"
#include "render/tile_layout.h"

namespace kivo::win {

class TiledLayer final : public Presenter {
 public:
  TiledLayer() = default;
  ~TiledLayer() override { Release(); }
  TiledLayer(const TiledLayer&) = delete;
  TiledLayer& operator=(const TiledLayer&) = delete;

  // Tile 0 shows on `main` (not owned here); the other tiles get windows from `maker` the
  // first time they have something to show, so tiles nothing is drawn on cost nothing.
  void SetWindows(HWND main, WindowMaker maker) override;
  // Takes a new layout: tiles keep their windows by number (windows no longer needed are
  // destroyed), and every tile is presented whole at the next update.
  [[nodiscard]] bool SetLayout(TileLayout layout) override;
  // Copies the rectangles `repainted` (client coordinates) of `frame`, the surface over
  // the layout's area, into the tiles and presents the tiles that changed, at `origin` (the
  // screen point of client (0, 0)) with `constantAlpha`. Returns how many it presented.
  int Present(const LayeredSurface& frame, std::span<const PixelRect> repainted, POINT origin,
              int constantAlpha) override;
  // The next update presents every tile whole.
  void Invalidate() override;
  // Shows the windows of the tiles (tile 0's window is the caller's); windows made later
  // are shown as they are made.
  void Show() override;
  void Hide() override;
  // Puts every tile window on top of the topmost windows.
  void Raise() override;
  // Out of the topmost band, below `anchor` when there is one (new windows are placed by
  // the window maker, which knows where the dock lies).
  void Lower(HWND anchor) override;
  void Release() override;

  const TileLayout& layout() const { return layout_; }
  std::size_t size() const { return tiles_.size(); }
  const LayeredSurface& surface(std::size_t tile) const { return tiles_[tile]->surface; }
  HWND window(std::size_t tile) const;
  // Pixels of the tile that changed and are not on screen yet.
  bool pending(std::size_t tile) const {
    return tiles_[tile]->whole || !tiles_[tile]->changed.empty();
  }
  // The constant alpha the tile's window was last presented with; -1 before.
  int alpha(std::size_t tile) const { return tiles_[tile]->alpha; }

 private:
  struct Tile {
    LayeredSurface surface;
    UniqueWindow window;        // tiles 1 and up
    PixelRect changed;          // surface coordinates, not presented yet
    bool whole = true;          // present everything (new layout, new window, forgotten screen)
    bool placed = false;        // the window has the tile's place and size
    int alpha = -1;             // the constant alpha it was presented with
    std::optional<bool> blank;  // every pixel transparent; unknown after a change
  };
  static bool Blank(Tile& tile);
  static void PresentAlphaOnly(HWND window, int constantAlpha);

  HWND main_ = nullptr;
  WindowMaker maker_;
  TileLayout layout_;
  std::vector<std::unique_ptr<Tile>> tiles_;  // surfaces stay put
  POINT origin_{};
  int shownAlpha_ = -1;
  bool shown_ = false;
};

}  // namespace kivo::win
