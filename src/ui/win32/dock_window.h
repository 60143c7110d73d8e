// FrmMain: the dock ring on the desktop. Layered windows share the work area: the veil
// (black, one constant alpha, drawn once) and above it the ring's picture, split among
// small windows (the main ring window holds the centre disc) so that a frame presents
// only the few windows whose pixels changed.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/startup.h"
#include "dock/dock_controller.h"
#include "dock/dock_view.h"
#include "dock/frame_pacer.h"
#include "dock/ring_geometry.h"
#include "gfx/win32/box_text.h"
#include "gfx/win32/frame_renderer.h"
#include "gfx/win32/image_tables.h"
#include "gfx/win32/presenter.h"
#include "platform/win32/handles.h"
#include "render/display_list.h"
#include "ui/win32/drop_target.h"
#include "ui/win32/window.h"

namespace kivo::win {

class DockWindow final : public Window, public DockPorts {
 public:
  // Without `actions` the dock only draws and moves its windows (tests, benchmark).
  DockWindow(HINSTANCE instance, AppData& data, ImageTables& images,
             DockActions* actions = nullptr);
  ~DockWindow() override;

  // Window set-up: places the windows over the work area, prepares the text and the
  // surface and reads the slots from the store. `fontFamilies` are tried in order.
  [[nodiscard]] bool Create(const std::vector<std::wstring>& fontFamilies);
  // Shows the ring at rest, in front and active.
  void Show();
  // Hands an event to the dock's state machine (commands, the tray, the popup use this).
  void Handle(const DockEvent& event);
  // Runs `action` once the frames drawn so far are on screen.
  void AfterFrames(std::function<void()> action) { pacer_.Then(std::move(action)); }
  const DockController& controller() const { return *controller_; }
  // The ring's window takes the keyboard back (a popup list closed with a key).
  void TakeFocus() {
    if (ring_) ::SetForegroundWindow(ring_.get());
  }
  void Destroy();
  // Forgets what is on screen, so the next frame is drawn and presented whole.
  void Invalidate() {
    renderer_.Invalidate();
    presenter_->Invalidate();
  }

  HWND handle() const { return ring_.get(); }
  DockView& view() { return *view_; }
  const RingGeometry& geometry() const { return geometry_; }
  // Animations pause through this clock instead of being paced by a timer, so every frame
  // is drawn at once (the benchmark and the tests pass one that does not sleep). Before
  // Create.
  void SetClock(Clock& clock) { clock_ = &clock; }
  // Converts to code page 936 for the search's pinyin initials. Before Create; must
  // outlive the window.
  void SetSearchCodec(const AnsiCodec* gb) { gb_ = gb; }
  // For the tests and the benchmark: the area the ring's picture covers, the frame drawn
  // on it, what shows it on screen, and how long the last frame took to render and
  // present and how many windows it presented.
  const PixelRect& ringArea() const { return renderer_.area(); }
  const FrameRenderer& renderer() const { return renderer_; }
  const Presenter& presenter() const { return *presenter_; }
  double lastFrameMilliseconds() const { return lastFrameMs_; }
  double lastPresentMilliseconds() const { return lastPresentMs_; }
  int lastWindowsPresented() const { return lastWindowsPresented_; }
  int framesPresented() const { return framesPresented_; }

  // Live changes from the settings dialog. The slot table is computed again from the
  // settings, the windows are laid out for the new ring and it is brought up to date as
  // `followUp` says: 0 the resting ring, 1 the resting ring with every icon scaled from its
  // full image (the normal-size variant still has the old size), 2 the magnified variant
  // rebuilt, then the resting ring.
  void ApplyRingMetrics(int followUp);
  // Every icon and the slot background again at the normal size, then the resting ring.
  void RebuildNormalVariant();
  // The resting ring again, for a change of the veil's transparency or the hotkey
  // characters. When only the veil's alpha differs, only the veil window changes.
  void RedrawResting();
  // The active look (veil and hotkey characters) on or off, without taking the keyboard.
  void SetActiveLook(bool active);
  // The collapsed disc moves to the position the settings name, when it shows.
  void PlaceCollapsedDisc();

  // The screen the dock lies on. `follow` is asked to make the screen at a point the
  // program's screen (data.screen) and redraw; the dock asks with the pointer when it is
  // called to the front (the hot key, the tray icon), and with its own monitor after the
  // display, its dpi or the work area changed.
  void SetScreenFollower(std::function<void(POINT)> follow) { follow_ = std::move(follow); }
  // After data.screen changed: the windows cover the new work area, the ring is computed
  // again and, with another dpi, the labels' font is made at the new size. The images
  // are the caller's; RedrawOnScreen draws the picture once they are ready.
  void MoveToScreen();
  void RedrawOnScreen();

 private:
  std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) override;
  void OnFrame(const Frame& frame);
  void ShowVeil(Argb background);
  // Everything the expanded ring can draw (dock/ring_layout.h), in client coordinates.
  PixelRect ExpandedArea();
  // Where the titles under the disc can draw, measured with the dock's font.
  PixelRect MeasureTitleArea();
  // Which window shows which pixel of `area` (see render/tile_layout.h).
  TileLayout LayOut(const PixelRect& area);
  void PlaceRingWindow(const PixelRect& area);
  // The whole picture on the main window alone (see ApplyRingMetrics).
  void PlaceSingleWindow(const PixelRect& area);
  // From the main window alone onto the small windows, keeping the area and the picture.
  void SplitIntoTiles();
  // Forgets what is on screen and draws the present mode's picture whole.
  void DrawAfresh();
  HWND MakeTileWindow();
  POINT ClientPoint(HWND window, LPARAM lParam) const;
  void OnTimer(UINT_PTR id);
  bool OnKey(UINT message, WPARAM key, LPARAM flags);
  // A UTF-16 unit typed (WM_CHAR, WM_IME_CHAR) for the search field; surrogate pairs
  // are joined first.
  void OnTypedUnit(wchar_t unit);
  // Whether the event calls the dock to the front.
  bool Summons(const DockEvent& event) const;
  // A change of the display, of its dpi or of the work area: handled once after the
  // messages announcing it have all arrived.
  void ScreenChanged();

  // DockPorts (for the state machine only): the window effects.
  void SetTimer(DockTimer timer, bool on) override;
  void BringToFront() override;
  void SendToBottom() override;
  void ShowWindows(bool visible) override;
  void RaiseForDrop() override;
  void SetTextInput(bool on) override;

  // Files dragged over the dock and dropped on it, from every window of the dock.
  void RegisterDrop(HWND window);
  bool OnDragOver(POINT screen, bool filesOnOffer);
  bool OnDrop(POINT screen, std::vector<std::string> paths);
  // Whether a drop at client point (x, y) would be taken.
  bool TakesDropAt(int x, int y, bool filesOnOffer) const;

  HINSTANCE instance_;
  AppData& data_;
  std::vector<std::wstring> fontFamilies_;
  int textDpi_ = 0;  // the dpi the labels' font was made for
  std::function<void(POINT)> follow_;
  bool screenChangePending_ = false;
  ImageTables& images_;
  TextRenderer text_;
  BoxTextRenderer fieldText_;  // the search field's text on the disc
  FrameRenderer renderer_;
  DockActions& actions_;
  FramePacer pacer_;
  Clock* clock_ = nullptr;  // a clock of the caller's instead of the pacer
  const AnsiCodec* gb_ = nullptr;
  wchar_t highSurrogate_ = 0;
  DisplayList frames_;
  RingGeometry geometry_;
  std::unique_ptr<DockView> view_;
  std::unique_ptr<DockController> controller_;
  bool shown_ = false;   // the windows are on screen (not hidden)
  bool inFront_ = true;  // top-most, not lying on the desktop
  UniqueWindow veil_;
  UniqueWindow ring_;
  // Shows the frames; destroyed before the windows it presents on.
  std::unique_ptr<Presenter> presenter_;
  std::optional<RingSectors> sectors_;  // how the ring is split among windows
  bool singleWindow_ = false;           // the picture is on the main window alone
  bool splitPending_ = false;           // the start's single window awaits its small windows
  POINT origin_{};                      // work-area origin on the screen: client (0, 0)
  int veilAlpha_ = -1;                  // what the veil window shows; -1 hidden
  double lastFrameMs_ = 0;
  double lastPresentMs_ = 0;
  int lastWindowsPresented_ = 0;
  int framesPresented_ = 0;
  DropTargetOwner dropTarget_;
  std::deque<DockEvent> drops_;  // dropped, handed to the dock once the drop has returned
};

}  // namespace kivo::win
