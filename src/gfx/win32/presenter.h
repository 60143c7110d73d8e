// How a frame drawn on a LayeredSurface reaches the screen. The tiled layer shows the
// ring's picture on several small layered windows (cheap under Wine); a presenter with
// one window for the whole picture can stand beside it and be picked at run time.
#pragma once

#include <windows.h>

#include <functional>
#include <span>

#include "gfx/win32/layered_surface.h"
#include "render/tile_layout.h"

namespace kivo::win {

class Presenter {
 public:
  // Makes a hidden layered window for the presenter's use.
  using WindowMaker = std::function<HWND()>;

  virtual ~Presenter() = default;

  // The picture's first window is `main` (the caller's, which keeps the keyboard and
  // shows the centre disc); further windows come from `maker` when they are needed.
  virtual void SetWindows(HWND main, WindowMaker maker) = 0;
  // Takes the picture's area (layout.area) and how it may be split among windows. Every
  // window is presented whole at the next Present. False when the presenter could not
  // prepare for it, in which case it shows nothing.
  [[nodiscard]] virtual bool SetLayout(TileLayout layout) = 0;
  // Presents the rectangles `repainted` (client coordinates) of `frame`, the surface over
  // the layout's area, at `origin` (the screen point of client (0, 0)) with
  // `constantAlpha`. Returns how many windows it presented.
  virtual int Present(const LayeredSurface& frame, std::span<const PixelRect> repainted,
                      POINT origin, int constantAlpha) = 0;
  // The next Present shows everything whole.
  virtual void Invalidate() = 0;
  // Shows the presenter's windows other than the main one.
  virtual void Show() = 0;
  // Hides the presenter's windows other than the main one.
  virtual void Hide() = 0;
  // Puts the presenter's windows other than the main one on top of the topmost windows.
  virtual void Raise() = 0;
  // Takes them out of the top-most band and, with an `anchor`, directly below it (the dock
  // lying on the desktop), windows made later included.
  virtual void Lower(HWND anchor) = 0;
  // Destroys the windows the presenter made and forgets the layout.
  virtual void Release() = 0;
};

}  // namespace kivo::win
