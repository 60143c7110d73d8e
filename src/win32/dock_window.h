// FrmMain: the dock ring on the desktop. Two layered windows share the work area: the
// veil (black, one constant alpha, drawn once) and above it the ring window, no larger
// than what the ring draws, so each frame moves only the pixels that changed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/startup.h"
#include "dock/dock_view.h"
#include "dock/ring_geometry.h"
#include "render/display_list.h"
#include "win32/frame_renderer.h"
#include "win32/handles.h"
#include "win32/image_tables.h"

namespace kivo::win {

class SleepClock : public Clock {
 public:
  void Sleep(int milliseconds) override { ::Sleep(static_cast<DWORD>(milliseconds)); }
};

class DockWindow {
 public:
  DockWindow(HINSTANCE instance, AppData& data, ImageTables& images);
  ~DockWindow();
  DockWindow(const DockWindow&) = delete;
  DockWindow& operator=(const DockWindow&) = delete;

  // Window set-up: places the windows over the work area, prepares the text and the
  // surface and reads the slots from the store. `fontFamilies` are tried in order.
  [[nodiscard]] bool Create(const std::vector<std::wstring>& fontFamilies);
  // Shows the ring at rest, in front and active.
  void Show();
  void Destroy();
  // Forgets what is on screen, so the next frame is drawn and presented whole.
  void Invalidate() {
    renderer_.Invalidate();
    shownAlpha_ = -1;
  }

  HWND handle() const { return ring_.get(); }
  DockView& view() { return *view_; }
  const RingGeometry& geometry() const { return geometry_; }
  // Animations pause through this clock (the benchmark passes one that does not sleep).
  void SetClock(Clock& clock) { clock_ = &clock; }
  // Figures for the benchmark: the surface the ring window uses, and how long the last
  // frame took to render and present.
  const PixelRect& ringArea() const { return renderer_.area(); }
  double lastFrameMilliseconds() const { return lastFrameMs_; }
  double lastPresentMilliseconds() const { return lastPresentMs_; }
  int framesPresented() const { return framesPresented_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnFrame(const Frame& frame);
  void ShowVeil(Argb background);
  // Everything the expanded ring can draw: slots magnified, their hotkey characters, the
  // centre and the widest title, in client coordinates.
  PixelRect ExpandedArea();
  void PlaceRingWindow(const PixelRect& area);
  POINT ClientPoint(HWND window, LPARAM lParam) const;

  HINSTANCE instance_;
  AppData& data_;
  ImageTables& images_;
  TextRenderer text_;
  FrameRenderer renderer_;
  SleepClock sleepClock_;
  Clock* clock_ = &sleepClock_;
  DisplayList frames_;
  RingGeometry geometry_;
  std::unique_ptr<DockView> view_;
  UniqueWindow veil_;
  UniqueWindow ring_;
  POINT origin_{};      // work-area origin on the screen: client (0, 0)
  int veilAlpha_ = -1;  // what the veil window shows; -1 hidden
  int shownAlpha_ = -1;
  double lastFrameMs_ = 0;
  double lastPresentMs_ = 0;
  int framesPresented_ = 0;
};

}  // namespace kivo::win
