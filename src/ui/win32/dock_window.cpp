#include "ui/win32/dock_window.h"

#include <imm.h>
#include <windowsx.h>

#include "dock/ring_layout.h"
#include "gfx/win32/tiled_layer.h"

namespace kivo::win {
namespace {

constexpr wchar_t kRingClass[] = L"KivoLauncherDock";
constexpr wchar_t kVeilClass[] = L"KivoLauncherVeil";
constexpr UINT_PTR kLeavePollTimer = 1;
constexpr UINT kLeavePollMs = 100;

}  // namespace

DockWindow::DockWindow(HINSTANCE instance, AppData& data, ImageTables& images)
    : instance_(instance),
      data_(data),
      images_(images),
      renderer_(images, text_),
      frames_([this](const Frame& frame) { OnFrame(frame); }),
      presenter_(std::make_unique<TiledLayer>()) {
  // The renderer knows where images and texts land, so a fill can drop what it hides.
  frames_.SetBounds(renderer_.Bounds());
}

DockWindow::~DockWindow() {
  Destroy();
}

bool DockWindow::Create(const std::vector<std::wstring>& fontFamilies) {
  const Rect& work = data_.screen.WorkArea;
  origin_ = POINT{work.Left, work.Top};
  geometry_ = ComputeRing(MakeRingMetrics(data_.screen, data_.settings));
  sectors_.reset();
  view_ = std::make_unique<DockView>(frames_, *clock_, data_.store, data_.settings, geometry_);

  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  RegisterWindowClass(instance_, {kRingClass, nullptr, arrow});
  RegisterWindowClass(instance_,
                      {kVeilClass, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)), arrow});
  const int width = geometry_.metrics.W;
  const int height = geometry_.metrics.H;
  veil_.reset(CreateBoundWindow(instance_, kVeilClass, L"Kivo Launcher",
                                WS_EX_LAYERED | WS_EX_TOOLWINDOW, WS_POPUP, origin_.x, origin_.y,
                                width, height));
  ring_.reset(CreateBoundWindow(instance_, kRingClass, L"Kivo Launcher",
                                WS_EX_LAYERED | WS_EX_TOOLWINDOW, WS_POPUP, origin_.x, origin_.y,
                                width, height));
  if (!veil_ || !ring_) return false;
  presenter_->SetWindows(ring_.get(), [this] { return MakeTileWindow(); });
  // The dock takes no text input: keys drive it directly.
  ::ImmAssociateContext(ring_.get(), nullptr);
  ::ImmAssociateContext(veil_.get(), nullptr);

  if (!text_.Create(fontFamilies, 17.0f)) return false;
  renderer_.SetLayoutWidth(width);
  renderer_.SetVeilSeparate(true);
  view_->IniIconParam();
  view_->state().centreIcon = -1;
  PlaceRingWindow(ExpandedArea());
  return true;
}

void DockWindow::Destroy() {
  if (ring_) ::KillTimer(ring_.get(), kLeavePollTimer);
  presenter_->Release();
  ring_.reset();
  veil_.reset();
}

HWND DockWindow::MakeTileWindow() {
  // Topmost from the start, so it comes above the veil. It never takes the activation
  // from the main window, which keeps the keyboard; the pointer is handled alike on every
  // window of the dock. Only the main window carries the program's name: the tiles are
  // parts of its picture.
  HWND window =
      CreateBoundWindow(instance_, kRingClass, L"",
                        WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                        WS_POPUP, origin_.x, origin_.y, 1, 1);
  if (window != nullptr) ::ImmAssociateContext(window, nullptr);
  return window;
}

PixelRect DockWindow::ExpandedArea() {
  return kivo::ExpandedArea(geometry_, MeasureTitleArea());
}

PixelRect DockWindow::MeasureTitleArea() {
  const RingMetrics& m = geometry_.metrics;
  const int titleTop = TitleTop(m);
  std::vector<std::optional<PixelRect>> titles;
  for (int i = 0; i <= m.K; ++i) {
    const std::string& name = view_->slot(i).name;
    if (!name.empty() && renderer_.surface().graphics() != nullptr) {
      titles.emplace_back(text_.Measure(renderer_.surface().graphics(), name, m.cx, titleTop, m.W));
    } else {
      titles.emplace_back(std::nullopt);
    }
  }
  return TitleArea(geometry_, titles);
}

TileLayout DockWindow::LayOut(const PixelRect& area) {
  RingClaims claims = ClaimRingTiles(geometry_, area, MeasureTitleArea());
  const bool withRing = !claims.ring.magnified.empty();
  const TileLayoutBuilder builder(area, claims.claims, std::move(claims.ring));
  // The sectors depend only on the ring, which stays where it is: choosing them once is
  // enough (an area grown for a dragged icon is laid out again, and quickly).
  if (!sectors_ && withRing) sectors_ = builder.ChooseSectors();
  return builder.Build(sectors_.value_or(RingSectors{}));
}

void DockWindow::PlaceRingWindow(const PixelRect& area) {
  if (!renderer_.SetArea(area)) return;
  if (!presenter_->SetLayout(LayOut(area))) renderer_.Invalidate();
}

void DockWindow::Show() {
  DockState& state = view_->state();
  state.active = true;
  state.mode = DockMode::Expanded;
  // A surface is needed to measure the titles; lay the windows out for them once it exists.
  PlaceRingWindow(ExpandedArea());
  ::ShowWindow(ring_.get(), SW_SHOWNOACTIVATE);
  presenter_->Show();
  ::SetWindowPos(ring_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  view_->DockFocus(true);
  ::SetForegroundWindow(ring_.get());
  ::SetTimer(ring_.get(), kLeavePollTimer, kLeavePollMs, nullptr);
}

void DockWindow::ShowVeil(Argb background) {
  const int alpha = static_cast<int>(background >> 24);
  if (alpha == veilAlpha_) return;
  // The veil window stays shown while the ring is: without a veil it is made fully
  // transparent and lets the pointer through, which is far cheaper than hiding and showing
  // a window the size of the screen between two frames.
  const auto style = ::GetWindowLongPtrW(veil_.get(), GWL_EXSTYLE);
  const auto passThrough = alpha == 0 ? (style | WS_EX_TRANSPARENT) : (style & ~WS_EX_TRANSPARENT);
  if (passThrough != style) ::SetWindowLongPtrW(veil_.get(), GWL_EXSTYLE, passThrough);
  ::SetLayeredWindowAttributes(veil_.get(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
  if (veilAlpha_ < 0) {
    // Directly below the ring window and below every tile, so the ring draws over it.
    ::SetWindowPos(veil_.get(), ring_.get(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    presenter_->Raise();
    ::ShowWindow(veil_.get(), SW_SHOWNOACTIVATE);
  }
  veilAlpha_ = alpha;
}

void DockWindow::OnFrame(const Frame& frame) {
  if (!ring_) return;
  LARGE_INTEGER frequency{}, start{}, end{};
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  // A frame must fit the ring window; the collapsed disc and unusual titles may not.
  const OpBounds bounds = renderer_.Bounds();
  PixelRect needed;
  for (const DrawOp& op : frame.ops) needed = Union(needed, bounds.Of(op));
  needed = Intersection(needed, PixelRect{0, 0, geometry_.metrics.W, geometry_.metrics.H});
  if (!needed.empty() && Intersection(needed, renderer_.area()) != needed) {
    PlaceRingWindow(view_->state().mode == DockMode::Expanded ? Union(ExpandedArea(), needed)
                                                              : needed);
  }
  ShowVeil(frame.background);
  renderer_.Render(frame);
  LARGE_INTEGER presentStart{};
  ::QueryPerformanceCounter(&presentStart);
  lastWindowsPresented_ =
      presenter_->Present(renderer_.surface(), renderer_.repainted(), origin_, frame.constantAlpha);
  if (lastWindowsPresented_ > 0) ++framesPresented_;
  ::QueryPerformanceCounter(&end);
  const auto ms = [&](LONGLONG ticks) {
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
  };
  lastFrameMs_ = ms(end.QuadPart - start.QuadPart);
  lastPresentMs_ = ms(end.QuadPart - presentStart.QuadPart);
}

POINT DockWindow::ClientPoint(HWND window, LPARAM lParam) const {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ClientToScreen(window, &point);
  return POINT{point.x - origin_.x, point.y - origin_.y};
}

std::optional<LRESULT> DockWindow::OnMessage(HWND window, UINT message, WPARAM /*wParam*/,
                                             LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE: {
      if (!view_) return 0;
      const POINT point = ClientPoint(window, lParam);
      view_->OnPointerMove(point.x, point.y);
      return 0;
    }
    case WM_TIMER: {
      if (!view_) return 0;
      POINT point{};
      ::GetCursorPos(&point);
      view_->OnLeavePoll(point.x - origin_.x, point.y - origin_.y);
      return 0;
    }
    case WM_CLOSE:
      return 0;  // the dock closes only with the program
    default:
      return std::nullopt;
  }
}

}  // namespace kivo::win
