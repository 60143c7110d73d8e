#include "ui/win32/dock_window.h"

#include <imm.h>
#include <windowsx.h>

#include <array>
#include <string_view>

#include "dock/ring_layout.h"
#include "gfx/win32/tiled_layer.h"
#include "items/drop_files.h"
#include "platform/win32/recycle_bin_win.h"
#include "platform/win32/unicode.h"
#include "ui/win32/mouse_input.h"

namespace kivo::win {
namespace {

constexpr wchar_t kRingClass[] = L"KivoLauncherDock";
constexpr wchar_t kVeilClass[] = L"KivoLauncherVeil";
// Timer identifiers: the dock's five timers are 1..5, the animation's pacing 10.
constexpr UINT_PTR kFirstDockTimer = 1;
constexpr UINT_PTR kAnimationTimer = 10;
// A drop waits for this message, so that the dock's questions come after the source's
// drag loop has ended.
constexpr UINT kDroppedMessage = WM_APP + 40;
// Posted when the display, its dpi or the work area changed; several such messages come
// together, and the screen is read once after them.
constexpr UINT kScreenChangedMessage = WM_APP + 41;
// Posted after the first frame: the ring's small windows are made once it is on screen.
constexpr UINT kSplitIntoTilesMessage = WM_APP + 42;
// The labels' size at 96 dpi.
constexpr float kTextSize = 17.0f;
constexpr float kFieldTextSize = 14.0f;  // the search field on the disc

UINT_PTR TimerId(DockTimer timer) {
  return kFirstDockTimer + static_cast<UINT_PTR>(timer);
}

bool IsDesktopWindow(HWND window) {
  if (window == ::GetShellWindow()) return true;
  wchar_t name[32]{};
  ::GetClassNameW(window, name, 32);
  return std::wstring_view(name) == L"Progman" || std::wstring_view(name) == L"WorkerW";
}

// The lowest visible window of another program that is neither the desktop nor top-most.
HWND LowestOtherWindow() {
  for (HWND w = ::GetWindow(::GetTopWindow(nullptr), GW_HWNDLAST); w != nullptr;
       w = ::GetWindow(w, GW_HWNDPREV)) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(w, &process);
    if (process == ::GetCurrentProcessId() || !::IsWindowVisible(w) || IsDesktopWindow(w)) {
      continue;
    }
    if ((::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) continue;
    return w;
  }
  return nullptr;
}

// Out of the top-most band and, with an anchor, directly below it.
void PlaceBelow(HWND window, HWND anchor) {
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
  if (anchor != nullptr) ::SetWindowPos(window, anchor, 0, 0, 0, 0, kFlags);
}

bool IsProgramWindow(HWND window) {
  if (window == nullptr) return false;
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  return process == ::GetCurrentProcessId();
}

// A dock that only draws (tests, benchmarks) is asked for nothing else.
DockActions& NoActions() {
  static IgnoredDockActions none;
  return none;
}

// The system's drag rectangle, so a click with a tremble of the hand stays a click.
DragThreshold SystemDragThreshold() {
  return DragThreshold{::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG)};
}

}  // namespace

DockWindow::DockWindow(HINSTANCE instance, AppData& data, ImageTables& images, DockActions* actions)
    : instance_(instance),
      data_(data),
      images_(images),
      renderer_(images, text_),
      actions_(actions != nullptr ? *actions : NoActions()),
      pacer_([this](const Frame& frame) { OnFrame(frame); },
             [this](int milliseconds) {
               return ring_ && ::SetTimer(ring_.get(), kAnimationTimer,
                                          static_cast<UINT>(milliseconds), nullptr) != 0;
             }),
      frames_([this](const Frame& frame) { pacer_.Push(frame); }),
      presenter_(std::make_unique<TiledLayer>()) {
  // The renderer knows where images and texts land, so a fill can drop what it hides.
  frames_.SetBounds(renderer_.Bounds());
  renderer_.SetBoxText(&fieldText_);
}

DockWindow::~DockWindow() {
  Destroy();
}

bool DockWindow::Create(const std::vector<std::wstring>& fontFamilies) {
  const Rect& work = data_.screen.WorkArea;
  origin_ = POINT{work.Left, work.Top};
  geometry_ = ComputeRing(MakeRingMetrics(data_.screen, data_.settings));
  sectors_.reset();
  Clock& clock = clock_ != nullptr ? *clock_ : static_cast<Clock&>(pacer_);
  view_ = std::make_unique<DockView>(frames_, clock, data_.store, data_.settings, geometry_);
  controller_ = std::make_unique<DockController>(*view_, pacer_, *this, actions_, data_.store,
                                                 data_.settings, SystemDragThreshold(), gb_);
  pacer_.SetOnIdle([this] {
    if (controller_) controller_->Resume();
  });

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
  if (dropTarget_.get() == nullptr) {
    dropTarget_.reset(
        DropTarget::Create({[this](POINT screen, bool files) { return OnDragOver(screen, files); },
                            [this] { Handle(DockEvent::Simple(DockEvent::Kind::DragLeave)); },
                            [this](POINT screen, std::vector<std::string> paths) {
                              return OnDrop(screen, std::move(paths));
                            }}));
  }
  RegisterDrop(ring_.get());
  RegisterDrop(veil_.get());
  // The dock takes no text input: keys drive it directly. The search field turns the
  // input method on for the ring's window while it is open.
  ::ImmAssociateContext(ring_.get(), nullptr);
  ::ImmAssociateContext(veil_.get(), nullptr);

  fontFamilies_ = fontFamilies;
  textDpi_ = geometry_.metrics.Dpi;
  if (!text_.Create(fontFamilies, kTextSize * static_cast<float>(textDpi_) / 96.0f)) return false;
  if (!fieldText_.Create(fontFamilies, kFieldTextSize * static_cast<float>(textDpi_) / 96.0f)) {
    return false;
  }
  fieldText_.SetClearType(data_.settings.ClearType != 0);
  renderer_.SetLayoutWidth(width);
  renderer_.SetVeilSeparate(true);
  view_->IniIconParam();
  view_->state().centreIcon = -1;
  // Only the surface, which measuring the titles needs: the windows are laid out when the
  // dock is shown, with the titles measured.
  (void)renderer_.SetArea(ExpandedArea());
  return true;
}

void DockWindow::Destroy() {
  if (ring_) {
    for (int t = 0; t < kDockTimerCount; ++t) ::KillTimer(ring_.get(), TimerId(DockTimer(t)));
    ::KillTimer(ring_.get(), kAnimationTimer);
  }
  presenter_->Release();
  ring_.reset();
  veil_.reset();
  // Every window revoked its registration as it went; a drag still holding the target
  // reaches nothing now.
  dropTarget_.reset();
  drops_.clear();
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
  if (window == nullptr) return nullptr;
  ::ImmAssociateContext(window, nullptr);
  // Files dropped anywhere on the ring's picture reach the dock.
  RegisterDrop(window);
  // Made while the dock lies on the desktop: it goes there too, below whatever window of
  // another program is lowest now.
  if (!inFront_) PlaceBelow(window, LowestOtherWindow());
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
  singleWindow_ = false;
  splitPending_ = false;
  if (!renderer_.SetArea(area)) return;
  if (!presenter_->SetLayout(LayOut(area))) renderer_.Invalidate();
}

void DockWindow::PlaceSingleWindow(const PixelRect& area) {
  singleWindow_ = true;
  splitPending_ = false;
  if (!renderer_.SetArea(area)) return;
  TileLayout whole{
      area,
      {area},
      std::vector<std::uint16_t>(
          static_cast<std::size_t>(area.width) * static_cast<std::size_t>(area.height), 0)};
  if (!presenter_->SetLayout(std::move(whole))) renderer_.Invalidate();
}

void DockWindow::Show() {
  // The first frame goes on the main window alone: making and filling the dozen small
  // windows costs far more than one present of the whole picture, and the user is waiting
  // for the ring. They are made right after, before the pointer is likely to move.
  PlaceSingleWindow(ExpandedArea());
  Handle(DockEvent::Simple(DockEvent::Kind::Start));
  if (singleWindow_) {
    splitPending_ = ::PostMessageW(ring_.get(), kSplitIntoTilesMessage, 0, 0) != FALSE;
    if (!splitPending_) SplitIntoTiles();
  }
}

void DockWindow::SplitIntoTiles() {
  if (!view_) return;
  // Now that the surface exists the titles can be measured, and the area may grow by them.
  PlaceRingWindow(view_->state().mode == DockMode::Expanded ? ExpandedArea() : renderer_.area());
  DrawAfresh();
}

void DockWindow::DrawAfresh() {
  Invalidate();
  switch (view_->state().mode) {
    case DockMode::Expanded:
      view_->DockNormal(false);
      break;
    case DockMode::Collapsed:
      view_->DrawCollapsedDisc();
      break;
    default:
      break;
  }
}

void DockWindow::Handle(const DockEvent& event) {
  if (!controller_) return;
  if (follow_ && Summons(event)) {
    // Called to the front: on the monitor the user is looking at, the one with the pointer.
    POINT cursor{};
    if (::GetCursorPos(&cursor)) follow_(cursor);
  }
  controller_->Handle(event);
}

bool DockWindow::Summons(const DockEvent& event) const {
  switch (event.kind) {
    case DockEvent::Kind::AltSpace:
      return true;
    case DockEvent::Kind::ShowOrHide:
      // It hides an active dock; otherwise it activates it.
      return !view_->state().active;
    default:
      return false;
  }
}

void DockWindow::SetTimer(DockTimer timer, bool on) {
  if (!ring_) return;
  if (on) {
    ::SetTimer(ring_.get(), TimerId(timer), static_cast<UINT>(DockTimerInterval(timer)), nullptr);
  } else {
    ::KillTimer(ring_.get(), TimerId(timer));
  }
}

void DockWindow::BringToFront() {
  inFront_ = true;
  ::SetWindowPos(ring_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (veilAlpha_ >= 0) {
    ::SetWindowPos(veil_.get(), ring_.get(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  presenter_->Raise();
  ::SetForegroundWindow(ring_.get());
}

void DockWindow::SendToBottom() {
  // Lying on the desktop: below every other program's window, above the desktop itself.
  // The lowest such window is the anchor; HWND_BOTTOM would go below the desktop's own
  // window wherever the system does not keep that one at the very bottom.
  inFront_ = false;
  const HWND anchor = LowestOtherWindow();
  for (HWND window : {veil_.get(), ring_.get()}) PlaceBelow(window, anchor);
  presenter_->Lower(anchor);
  // Without an anchor the veil still belongs below the ring's windows.
  if (anchor == nullptr) {
    ::SetWindowPos(veil_.get(), ring_.get(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void DockWindow::ShowWindows(bool visible) {
  if (visible == shown_) return;
  shown_ = visible;
  if (visible) {
    ::ShowWindow(ring_.get(), SW_SHOWNOACTIVATE);
    presenter_->Show();
    return;
  }
  ::ShowWindow(ring_.get(), SW_HIDE);
  ::ShowWindow(veil_.get(), SW_HIDE);
  presenter_->Hide();
  veilAlpha_ = -1;  // shown again with the next frame
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
    if (inFront_) presenter_->Raise();
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

void DockWindow::OnTimer(UINT_PTR id) {
  if (id == kAnimationTimer) {
    ::KillTimer(ring_.get(), kAnimationTimer);
    pacer_.Tick();
    return;
  }
  if (id < kFirstDockTimer || id >= kFirstDockTimer + kDockTimerCount) return;
  const auto timer = static_cast<DockTimer>(id - kFirstDockTimer);
  POINT cursor{};
  bool flag = false;
  switch (timer) {
    case DockTimer::LeavePoll:
      ::GetCursorPos(&cursor);
      break;
    case DockTimer::Foreground:
      flag = IsProgramWindow(::GetForegroundWindow());
      break;
    case DockTimer::RecycleBin:
      flag = RecycleBinHasItems();
      break;
    default:
      break;
  }
  Handle(DockEvent::TimerTick(timer, cursor.x - origin_.x, cursor.y - origin_.y, flag));
}

bool DockWindow::OnKey(UINT message, WPARAM key, LPARAM flags) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const bool repeat = (flags & (LPARAM{1} << 30)) != 0;
  const bool alt = (flags & (LPARAM{1} << 29)) != 0;
  const int code = static_cast<int>(key);
  // Holding a key down does not launch it again and again; in the search field the
  // editing and moving keys repeat as in any text box.
  const bool repeats =
      controller_->searching() && (code == kKeyBackspace || code == kKeyUp || code == kKeyDown ||
                                   code == kKeyPageUp || code == kKeyPageDown);
  if (down && repeat && !repeats) return true;
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  Handle(down ? DockEvent::Key(code, alt, ctrl) : DockEvent::KeyRelease(code));
  return true;
}

void DockWindow::OnTypedUnit(wchar_t unit) {
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    highSurrogate_ = unit;
    return;
  }
  std::wstring text;
  if (unit >= 0xDC00 && unit <= 0xDFFF) {
    if (highSurrogate_ == 0) return;
    text = {highSurrogate_, unit};
  } else {
    text = {unit};
  }
  highSurrogate_ = 0;
  Handle(DockEvent::Typed(Narrow(text)));
}

void DockWindow::SetTextInput(bool on) {
  if (!ring_) return;
  highSurrogate_ = 0;
  if (!on) {
    ::ImmAssociateContext(ring_.get(), nullptr);
    return;
  }
  ::ImmAssociateContextEx(ring_.get(), nullptr, IACE_DEFAULT);
  // The input method's composition shows at the field.
  if (const HIMC context = ::ImmGetContext(ring_.get()); context != nullptr) {
    const PixelRect field = SearchTextRect(geometry_);
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = POINT{field.left, field.bottom() + 4};
    ::ImmSetCompositionWindow(context, &form);
    ::ImmReleaseContext(ring_.get(), context);
  }
}

std::optional<LRESULT> DockWindow::OnMessage(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (!controller_) return std::nullopt;
  switch (message) {
    case WM_MOUSEMOVE: {
      const POINT point = ClientPoint(window, lParam);
      Handle(DockEvent::Move(point.x, point.y, (wParam & MK_LBUTTON) != 0));
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool down = IsButtonDown(message);
      // The release must reach the dock even off its windows (an icon dragged away). The
      // main window holds the mouse: tile windows may be remade while an icon is dragged.
      if (down) ::SetCapture(ring_.get());
      const POINT point = ClientPoint(window, lParam);
      const MouseButton button = ButtonOf(message);
      Handle(down ? DockEvent::Down(button, point.x, point.y)
                  : DockEvent::Up(button, point.x, point.y));
      ReleaseCaptureAfter(ring_.get(), message, wParam);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      OnKey(message, wParam, lParam);
      return 0;
    case WM_CHAR:
    case WM_IME_CHAR:
      // Typed text reaches the dock only for its search field; WM_IME_CHAR is taken
      // here so that it does not come back as WM_CHAR.
      if (window == ring_.get()) OnTypedUnit(static_cast<wchar_t>(wParam));
      return 0;
    case WM_SYSCOMMAND:
      // Alt+Space is the dock's own key, not the window menu.
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      return std::nullopt;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse mid-press (a switch to another program, a pop-up):
      // whatever was lifted goes back instead of waiting for a release that never comes.
      if (window == ring_.get()) Handle(DockEvent::Simple(DockEvent::Kind::CancelPress));
      return 0;
    case WM_CLOSE:
      return 0;  // the dock closes only with the program
    case WM_DPICHANGED:
      // The suggested rectangle is for a window that keeps its size in logical units; the
      // dock covers the work area of its monitor instead.
      if (window == ring_.get()) ScreenChanged();
      return 0;
    case WM_DISPLAYCHANGE:
      if (window == ring_.get()) ScreenChanged();
      return std::nullopt;
    case WM_SETTINGCHANGE:
      if (window == ring_.get() && wParam == SPI_SETWORKAREA) ScreenChanged();
      return std::nullopt;
    case kScreenChangedMessage:
      screenChangePending_ = false;
      if (follow_) {
        // The monitor the dock is on, or the one nearest to it when it is gone.
        const Rect& work = data_.screen.WorkArea;
        follow_(POINT{work.Left + (work.Right - work.Left) / 2,
                      work.Top + (work.Bottom - work.Top) / 2});
      }
      return 0;
    case kSplitIntoTilesMessage:
      // Only when nothing has laid the windows out since (the settings' slider, a new screen).
      if (splitPending_) SplitIntoTiles();
      return 0;
    case kDroppedMessage:
      if (!drops_.empty()) {
        DockEvent drop = std::move(drops_.front());
        drops_.pop_front();
        Handle(drop);
      }
      return 0;
    case WM_DESTROY:
      ::RevokeDragDrop(window);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace kivo::win

namespace kivo::win {

void DockWindow::RaiseForDrop() {
  // In front for the drag, but the keyboard stays where it is.
  inFront_ = true;
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  ::SetWindowPos(ring_.get(), HWND_TOPMOST, 0, 0, 0, 0, kFlags);
  if (veilAlpha_ >= 0) ::SetWindowPos(veil_.get(), ring_.get(), 0, 0, 0, 0, kFlags);
  presenter_->Raise();
}

void DockWindow::RegisterDrop(HWND window) {
  RegisterDropTarget(window, dropTarget_.get());
}

bool DockWindow::TakesDropAt(int x, int y, bool filesOnOffer) const {
  if (!view_ || view_->state().mode != DockMode::Expanded) return false;
  const DropBadge badge =
      DragOverBadge(data_.store, data_.settings, HitTest(geometry_, x, y), filesOnOffer);
  return badge != DropBadge::None && badge != DropBadge::NoDrop;
}

bool DockWindow::OnDragOver(POINT screen, bool filesOnOffer) {
  const int x = screen.x - origin_.x;
  const int y = screen.y - origin_.y;
  Handle(DockEvent::DragAt(x, y, filesOnOffer));
  return TakesDropAt(x, y, filesOnOffer);
}

bool DockWindow::OnDrop(POINT screen, std::vector<std::string> paths) {
  const int x = screen.x - origin_.x;
  const int y = screen.y - origin_.y;
  const bool taken = TakesDropAt(x, y, !paths.empty());
  // The badge goes now; what the drop does waits until the source has its answer.
  Handle(DockEvent::Simple(DockEvent::Kind::DragLeave));
  drops_.push_back(DockEvent::DropAt(x, y, std::move(paths)));
  if (!ring_ || !::PostMessageW(ring_.get(), kDroppedMessage, 0, 0)) drops_.pop_back();
  return taken;
}

}  // namespace kivo::win

namespace kivo::win {
namespace {

// One pre-scaled variant of the slot background and of every icon the ring shows, at the
// variant's size for the current metrics. Other icons (the popup's rows) keep theirs.
void RebuildRingVariant(ImageTables& images, const DockView& view, int variant) {
  const RingMetrics& m = view.geometry().metrics;
  const int size = VariantSize(m, variant);
  if (size <= 0) return;
  images.BuildVariant(ImageTable::Skin, kSkinBackSelectColor, variant, size, size);
  std::array<bool, kIconCount> done{};
  for (int slot = 0; slot < kSlotEntries; ++slot) {
    const int icon = view.slot(slot).icon;
    if (icon < 0 || icon >= kIconCount || done[static_cast<std::size_t>(icon)]) continue;
    done[static_cast<std::size_t>(icon)] = true;
    if (images.Has(ImageTable::Icon, icon)) {
      images.BuildVariant(ImageTable::Icon, icon, variant, size, size);
    }
  }
}

}  // namespace

void DockWindow::ApplyRingMetrics(int followUp) {
  if (!view_) return;
  geometry_ = ComputeRing(MakeRingMetrics(data_.screen, data_.settings));
  view_->SetGeometry(geometry_);
  // Slots beyond a smaller ring are no longer there to be hovered.
  DockState& state = view_->state();
  state.hovered = -1;
  state.previous = -1;
  bool relaid = false;
  if (state.mode == DockMode::Expanded) {
    // While the normal-size slider moves, every icon changes at every step. The ring's
    // small windows pay off when a few of them change; with all of them changing, their
    // fixed cost per window dominates and one window over the whole picture presents the
    // step in a fraction of the time. The release lays the small windows out afresh.
    const PixelRect area = ExpandedArea();
    if (followUp != 1) {
      sectors_.reset();
      PlaceRingWindow(area);
      relaid = true;
    } else if (!singleWindow_ || Intersection(area, renderer_.area()) != area) {
      PlaceSingleWindow(area);
      relaid = true;
    }
  }
  if (relaid || followUp != 1) Invalidate();
  switch (followUp) {
    case 1:
      view_->DockSizeChange();
      break;
    case 2:
      RebuildRingVariant(images_, *view_, 2);
      view_->DockNormal(false);
      break;
    default:
      view_->DockNormal(false);
      break;
  }
}

void DockWindow::RebuildNormalVariant() {
  if (!view_) return;
  RebuildRingVariant(images_, *view_, 1);
  if (view_->state().mode == DockMode::Expanded) {
    sectors_.reset();
    PlaceRingWindow(ExpandedArea());
  }
  Invalidate();
  view_->DockNormal(false);
}

void DockWindow::RedrawResting() {
  if (!view_) return;
  view_->DockNormal(false);
}

void DockWindow::SetActiveLook(bool active) {
  if (!view_ || view_->state().active == active) return;
  view_->state().active = active;
  view_->DockNormal(false);
}

void DockWindow::ScreenChanged() {
  if (screenChangePending_ || !ring_) return;
  screenChangePending_ = ::PostMessageW(ring_.get(), kScreenChangedMessage, 0, 0) != FALSE;
}

void DockWindow::MoveToScreen() {
  if (!view_ || !ring_) return;
  const Rect& work = data_.screen.WorkArea;
  origin_ = POINT{work.Left, work.Top};
  geometry_ = ComputeRing(MakeRingMetrics(data_.screen, data_.settings));
  view_->SetGeometry(geometry_);
  DockState& state = view_->state();
  state.hovered = -1;
  state.previous = -1;
  const RingMetrics& m = geometry_.metrics;
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(veil_.get(), nullptr, origin_.x, origin_.y, m.W, m.H, kFlags);
  ::SetWindowPos(ring_.get(), nullptr, origin_.x, origin_.y, m.W, m.H, kFlags);
  if (m.Dpi != textDpi_ &&
      text_.Create(fontFamilies_, kTextSize * static_cast<float>(m.Dpi) / 96.0f) &&
      fieldText_.Create(fontFamilies_, kFieldTextSize * static_cast<float>(m.Dpi) / 96.0f)) {
    textDpi_ = m.Dpi;
  }
  renderer_.SetLayoutWidth(m.W);
  sectors_.reset();
}

void DockWindow::RedrawOnScreen() {
  if (!view_) return;
  view_->IniIconParam();
  if (view_->state().mode == DockMode::Expanded) PlaceRingWindow(ExpandedArea());
  DrawAfresh();
}

void DockWindow::PlaceCollapsedDisc() {
  if (!view_ || view_->state().mode != DockMode::Collapsed) return;
  view_->DrawCollapsedDisc();
}

}  // namespace kivo::win
