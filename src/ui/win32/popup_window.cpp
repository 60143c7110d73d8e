#include "ui/win32/popup_window.h"

#include <commctrl.h>
#include <imm.h>
#include <windowsx.h>

#include "core/log.h"
#include "gfx/win32/skins_win.h"
#include "ui/win32/mouse_input.h"

namespace kivo::win {
namespace {

constexpr wchar_t kListClass[] = L"KivoLauncherPopup";
constexpr wchar_t kSpriteClass[] = L"KivoLauncherPopupSprite";
constexpr float kTextSize = 12.0f;
// Timer identifiers: the list's two timers are 1 and 2, the animation's pacing 10.
constexpr UINT_PTR kFirstPopupTimer = 1;
constexpr UINT_PTR kAnimationTimer = 10;
constexpr UINT_PTR kWheelSubclass = 1;

UINT_PTR TimerId(PopupTimer timer) {
  return kFirstPopupTimer + static_cast<UINT_PTR>(timer);
}

PopupActions& NoActions() {
  static class : public PopupActions {
    void LaunchItem(int) override {}
    void RunCommand(int) override {}
    void OpenItemMenu(int, int, int) override {}
    bool DeleteMember(int) override { return false; }
    void SaveStore() override {}
    void GroupEmptied(int) override {}
    void Closed(bool) override {}
    void Activity(bool) override {}
  } none;
  return none;
}

DragThreshold SystemDragThreshold() {
  return DragThreshold{::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG)};
}

}  // namespace

PopupWindow::PopupWindow(HINSTANCE instance, AppData& data, ImageTables& images,
                         PopupActions* actions)
    : instance_(instance),
      data_(data),
      images_(images),
      actions_(actions != nullptr ? *actions : NoActions()),
      renderer_(images, labels_),
      spriteRenderer_(images, labels_),
      pacer_([this](const Frame& frame) { OnFrame(frame); },
             [this](int milliseconds) {
               return list_ && ::SetTimer(list_.get(), kAnimationTimer,
                                          static_cast<UINT>(milliseconds), nullptr) != 0;
             }),
      frames_([this](const Frame& frame) { pacer_.Push(frame); }) {
  renderer_.SetBoxText(&text_);
  frames_.SetBounds(renderer_.Bounds());
}

PopupWindow::~PopupWindow() {
  Destroy();
}

bool PopupWindow::Create(const std::vector<std::wstring>& fontFamilies,
                         const RingGeometry& geometry, const DockState& dock,
                         std::function<void(int)> ensureIcon) {
  origin_ = POINT{data_.screen.WorkArea.Left, data_.screen.WorkArea.Top};
  Clock& clock = clock_ != nullptr ? *clock_ : static_cast<Clock&>(pacer_);
  view_ = std::make_unique<PopupView>(frames_, clock, data_.store, std::move(ensureIcon));
  controller_ =
      std::make_unique<PopupController>(*view_, pacer_, *this, actions_, data_.store,
                                        data_.settings, geometry, dock, SystemDragThreshold());
  pacer_.SetOnIdle([this] {
    if (controller_) controller_->Resume();
  });
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  RegisterWindowClass(instance_, {kListClass, nullptr, arrow});
  RegisterWindowClass(instance_, {kSpriteClass, nullptr, arrow});
  list_.reset(CreateBoundWindow(instance_, kListClass, L"Kivo Launcher",
                                WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP,
                                origin_.x, origin_.y, 1, 1));
  // The sprite never takes the pointer or the keyboard: it only shows a picture.
  sprite_.reset(CreateBoundWindow(
      instance_, kSpriteClass, L"",
      WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
      WS_POPUP, origin_.x, origin_.y, 1, 1));
  if (!list_ || !sprite_) return false;
  // Keys drive the list directly; no input method composes text for it.
  ::ImmAssociateContext(list_.get(), nullptr);
  subclassed_ = ::SetWindowSubclass(list_.get(), &PopupWindow::WheelProcedure, kWheelSubclass,
                                    reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  fontFamilies_ = {L"Arial"};
  fontFamilies_.insert(fontFamilies_.end(), fontFamilies.begin(), fontFamilies.end());
  geometry_ = &geometry;
  return MakeText();
}

bool PopupWindow::MakeText() {
  const int dpi = geometry_ != nullptr ? geometry_->metrics.Dpi : 96;
  if (!text_.Create(fontFamilies_, kTextSize * static_cast<float>(dpi) / 96.0f)) return false;
  text_.SetClearType(data_.settings.ClearType != 0);
  textDpi_ = dpi;
  return true;
}

void PopupWindow::MoveToScreen() {
  origin_ = POINT{data_.screen.WorkArea.Left, data_.screen.WorkArea.Top};
  // A font that cannot be made at the new size leaves the old one, smaller but readable.
  if (geometry_ != nullptr && geometry_->metrics.Dpi != textDpi_) (void)MakeText();
}

void PopupWindow::Destroy() {
  if (list_) {
    for (int t = 0; t < kPopupTimerCount; ++t) ::KillTimer(list_.get(), TimerId(PopupTimer(t)));
    ::KillTimer(list_.get(), kAnimationTimer);
    if (subclassed_) {
      ::RemoveWindowSubclass(list_.get(), &PopupWindow::WheelProcedure, kWheelSubclass);
    }
  }
  subclassed_ = false;
  list_.reset();
  sprite_.reset();
}

void PopupWindow::Handle(const PopupEvent& event) {
  if (controller_) controller_->Handle(event);
}

LRESULT CALLBACK PopupWindow::WheelProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR self) {
  if (message != WM_MOUSEWHEEL) return ::DefSubclassProc(window, message, wParam, lParam);
  try {
    // Turned away from the user (a positive delta) scrolls up.
    const short delta = GET_WHEEL_DELTA_WPARAM(wParam);
    reinterpret_cast<PopupWindow*>(self)->Handle(PopupEvent::Wheel(delta >= 0));
  } catch (...) {
    // Nothing may leave a window procedure; the turn of the wheel is lost.
    LogCurrentException("popup wheel");
  }
  return 0;
}

void PopupWindow::SetTimer(PopupTimer timer, bool on) {
  if (!list_) return;
  if (on) {
    ::SetTimer(list_.get(), TimerId(timer), kPopupTimerInterval, nullptr);
  } else {
    ::KillTimer(list_.get(), TimerId(timer));
  }
}

void PopupWindow::LoadSkins() {
  (void)LoadListSkins(images_, instance_, geometry_ != nullptr ? geometry_->metrics.Dpi : 96);
}

void PopupWindow::Show(const PixelRect& bounds) {
  if (!list_ || !renderer_.SetArea(bounds)) return;
  LoadSkins();
  placed_ = false;  // the next frame moves the window and gives it the list's size
  ::SetWindowPos(list_.get(), HWND_TOPMOST, origin_.x + bounds.left, origin_.y + bounds.top,
                 bounds.width, bounds.height, SWP_SHOWWINDOW);
  ::SetForegroundWindow(list_.get());
}

void PopupWindow::ShowBesideField(const PixelRect& bounds) {
  if (!list_) return;
  // Every key typed shows the results again. A list that keeps its place and size stays
  // where it is and presents only the rows that changed.
  if (placed_ && renderer_.area() == bounds && ::IsWindowVisible(list_.get())) return;
  if (!renderer_.SetArea(bounds)) return;
  LoadSkins();
  placed_ = false;
  ::SetWindowPos(list_.get(), HWND_TOPMOST, origin_.x + bounds.left, origin_.y + bounds.top,
                 bounds.width, bounds.height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void PopupWindow::Hide() {
  if (!list_) return;
  ::ShowWindow(list_.get(), SW_HIDE);
  // Shown again whole, wherever the next list lies.
  renderer_.Invalidate();
  placed_ = false;
}

void PopupWindow::ShowSprite(const ImageRef& image, const PixelRect& rect) {
  if (!sprite_) return;
  const PixelRect bounds = images_.Bounds(image, rect);
  if (bounds.empty() || !spriteRenderer_.SetArea(bounds)) return;
  Frame frame;
  DrawOp op;
  op.kind = DrawOp::Kind::Image;
  op.image = image;
  op.rect = rect;
  frame.ops.push_back(op);
  spriteRenderer_.Render(frame);
  const POINT position{origin_.x + bounds.left, origin_.y + bounds.top};
  spriteRenderer_.surface().Present(sprite_.get(), &position, 255, nullptr);
  if (!::IsWindowVisible(sprite_.get())) {
    ::SetWindowPos(sprite_.get(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

void PopupWindow::HideSprite() {
  if (sprite_) ::ShowWindow(sprite_.get(), SW_HIDE);
}

void PopupWindow::OnFrame(const Frame& frame) {
  if (!list_) return;
  LARGE_INTEGER frequency{}, start{}, end{};
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  const PixelRect changed = renderer_.Render(frame);
  const PixelRect& area = renderer_.area();
  const POINT position{origin_.x + area.left, origin_.y + area.top};
  // A new place or a new constant alpha presents the whole list; otherwise only the part
  // that changed goes to the window manager.
  const bool whole = !placed_ || frame.constantAlpha != shownAlpha_;
  if (whole || !changed.empty()) {
    const PixelRect all{0, 0, area.width, area.height};
    const PixelRect& dirty = whole ? all : changed;
    renderer_.surface().Present(list_.get(), placed_ ? nullptr : &position, frame.constantAlpha,
                                &dirty);
    placed_ = true;
    shownAlpha_ = frame.constantAlpha;
    lastPresentedPixels_ = dirty.width * dirty.height;
    ++framesPresented_;
  } else {
    lastPresentedPixels_ = 0;
  }
  ::QueryPerformanceCounter(&end);
  lastFrameMs_ = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                 static_cast<double>(frequency.QuadPart);
}

POINT PopupWindow::ClientPoint(HWND window, LPARAM lParam) const {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ClientToScreen(window, &point);
  return POINT{point.x - origin_.x, point.y - origin_.y};
}

void PopupWindow::OnTimer(UINT_PTR id) {
  if (id == kAnimationTimer) {
    ::KillTimer(list_.get(), kAnimationTimer);
    pacer_.Tick();
    return;
  }
  if (id == TimerId(PopupTimer::Foreground)) {
    Handle(PopupEvent::TimerTick(PopupTimer::Foreground, 0, 0,
                                 ::GetForegroundWindow() == list_.get()));
  } else if (id == TimerId(PopupTimer::HoverPoll)) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    Handle(
        PopupEvent::TimerTick(PopupTimer::HoverPoll, cursor.x - origin_.x, cursor.y - origin_.y));
  }
}

std::optional<LRESULT> PopupWindow::OnMessage(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (!controller_ || window != list_.get()) return std::nullopt;
  switch (message) {
    case WM_MOUSEMOVE: {
      const POINT point = ClientPoint(window, lParam);
      Handle(PopupEvent::Move(point.x, point.y, (wParam & MK_LBUTTON) != 0));
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool down = IsButtonDown(message);
      // A member carried off the list is let go off the window: the list keeps the mouse
      // from press to release.
      if (down) ::SetCapture(window);
      const POINT point = ClientPoint(window, lParam);
      const MouseButton button = ButtonOf(message);
      Handle(down ? PopupEvent::Down(button, point.x, point.y)
                  : PopupEvent::Up(button, point.x, point.y));
      ReleaseCaptureAfter(window, message, wParam);
      return 0;
    }
    case WM_KEYDOWN: {
      const int key = static_cast<int>(wParam);
      const bool repeat = (lParam & (LPARAM{1} << 30)) != 0;
      // Held arrow and page keys move on; a held launch key starts its member once.
      const bool moves =
          key == kKeyUp || key == kKeyDown || key == kKeyPageUp || key == kKeyPageDown;
      if (!repeat || moves) Handle(PopupEvent::Key(key));
      return 0;
    }
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse mid-press: a member being carried goes back instead
      // of waiting for a release that never comes.
      Handle(PopupEvent{PopupEvent::Kind::CancelPress});
      return 0;
    case WM_MOUSEACTIVATE:
      // A click on a search result leaves the keyboard with the dock's field.
      return controller().state().results ? MA_NOACTIVATE : MA_ACTIVATE;
    case WM_CLOSE:
      return 0;  // the list closes with its own rules, not with Alt+F4
    default:
      return std::nullopt;
  }
}

}  // namespace kivo::win
