#include "popup/popup_controller.h"

#include <algorithm>
#include <cstdlib>

namespace kivo {
namespace {

// A square of `edge` centred on (x, y).
PixelRect CentredSquare(int x, int y, int edge) {
  return PixelRect{x - edge / 2, y - edge / 2, edge, edge};
}

}  // namespace

PopupEvent PopupEvent::Open(int slot) {
  PopupEvent e;
  e.kind = Kind::Open;
  e.slot = slot;
  return e;
}
PopupEvent PopupEvent::Close() {
  PopupEvent e;
  e.kind = Kind::Close;
  return e;
}
PopupEvent PopupEvent::Move(int x, int y, bool leftDown) {
  PopupEvent e;
  e.x = x;
  e.y = y;
  e.leftDown = leftDown;
  return e;
}
PopupEvent PopupEvent::Down(MouseButton button, int x, int y) {
  PopupEvent e = Move(x, y, button == MouseButton::Left);
  e.kind = Kind::ButtonDown;
  e.button = button;
  return e;
}
PopupEvent PopupEvent::Up(MouseButton button, int x, int y) {
  PopupEvent e = Down(button, x, y);
  e.kind = Kind::ButtonUp;
  e.leftDown = false;
  return e;
}
PopupEvent PopupEvent::Wheel(bool up) {
  PopupEvent e;
  e.kind = Kind::Wheel;
  e.up = up;
  return e;
}
PopupEvent PopupEvent::Key(int key) {
  PopupEvent e;
  e.kind = Kind::KeyDown;
  e.key = key;
  return e;
}
PopupEvent PopupEvent::TimerTick(PopupTimer timer, int x, int y, bool flag) {
  PopupEvent e;
  e.kind = Kind::Tick;
  e.timer = timer;
  e.x = x;
  e.y = y;
  e.flag = flag;
  return e;
}

PopupEvent PopupEvent::Results(std::vector<int> items) {
  PopupEvent e;
  e.kind = Kind::Results;
  e.items = std::move(items);
  return e;
}

PopupEvent PopupEvent::Refresh() {
  PopupEvent e;
  e.kind = Kind::Refresh;
  return e;
}

PopupController::PopupController(PopupView& view, FramePacer& pacer, PopupPorts& ports,
                                 PopupActions& actions, ShortcutStore& store,
                                 const Settings& settings, const RingGeometry& geometry,
                                 const DockState& dock, DragThreshold drag)
    : view_(view),
      pacer_(pacer),
      ports_(ports),
      actions_(actions),
      store_(store),
      settings_(settings),
      geometry_(geometry),
      dock_(dock),
      drag_(drag),
      events_(pacer) {}

void PopupController::Handle(const PopupEvent& event) {
  using Kind = PopupEvent::Kind;
  const bool input = event.kind == Kind::PointerMove || event.kind == Kind::ButtonDown ||
                     event.kind == Kind::ButtonUp || event.kind == Kind::Wheel ||
                     event.kind == Kind::KeyDown;
  if (event.kind == Kind::Open || event.kind == Kind::Results) ++opens_;
  events_.Push(event, input, event.kind == Kind::PointerMove);
  Drain();
}

void PopupController::Resume() {
  Drain();
}

void PopupController::Drain() {
  events_.Drain([this](const PopupEvent& event) { Dispatch(event); });
}

void PopupController::Defer(std::function<void()> action) {
  events_.Defer(std::move(action));
}

void PopupController::Dispatch(const PopupEvent& event) {
  using Kind = PopupEvent::Kind;
  switch (event.kind) {
    case Kind::Open:
      MenuFocus(true, event.slot);
      break;
    case Kind::Close:
      MenuFocus(false, state().group);
      break;
    case Kind::PointerMove:
      OnPointerMove(event.x, event.y, event.leftDown);
      break;
    case Kind::ButtonDown:
      OnButtonDown(event.button, event.x, event.y);
      break;
    case Kind::ButtonUp:
      OnButtonUp(event.button, event.x, event.y);
      break;
    case Kind::Wheel:
      if (open()) MenuWheel(event.up, false);
      break;
    case Kind::KeyDown:
      OnKeyDown(event.key);
      break;
    case Kind::Tick:
      if (event.timer == PopupTimer::Foreground) {
        OnForegroundWatch(event.flag);
      } else {
        OnHoverPoll(event.x, event.y);
      }
      break;
    case Kind::CancelPress:
      CancelPress();
      break;
    case Kind::Refresh:
      RefreshList();
      break;
    case Kind::Results:
      ShowResults(event.items);
      break;
  }
  ReportActivity();
}

int PopupController::VisibleRows() const {
  return std::min(state().count, state().layout.rows);
}

int PopupController::RowAt(int x, int y) const {
  const PopupLayout& layout = state().layout;
  const int first = layout.paging ? 0 : 1;
  const int last = layout.paging ? layout.rows + 1 : VisibleRows();
  for (int r = first; r <= last; ++r) {
    const PixelRect& rect = layout.rowRects[static_cast<std::size_t>(r)];
    if (x >= rect.left && x < rect.right() && y >= rect.top && y < rect.bottom()) return r;
  }
  return -1;
}

bool PopupController::OutsideDragRectangle(int x, int y) const {
  return std::abs(x - pressX_) > drag_.cx / 2 || std::abs(y - pressY_) > drag_.cy / 2;
}

void PopupController::SetTimer(PopupTimer timer, bool on) {
  bool& running = timers_[static_cast<std::size_t>(timer)];
  if (running == on) return;
  running = on;
  ports_.SetTimer(timer, on);
}

void PopupController::ReportActivity() {
  const bool active = open() && (state().hovered != -1 || dragging_);
  if (active == active_) return;
  active_ = active;
  actions_.Activity(active);
}

void PopupController::Redraw() {
  view_.MenuAction();
}

void PopupController::MenuFocus(bool show, int slot) {
  PopupState& s = state();
  if (!show) {
    if (!s.open) return;
    if (dragging_) pacer_.Then([this] { ports_.HideSprite(); });
    dragging_ = false;
    pressedMember_ = -1;
    s.pressedLook = false;
    view_.FadeOut(dock_.fade);
    pacer_.Then([this] { ports_.Hide(); });
    SetTimer(PopupTimer::Foreground, false);
    SetTimer(PopupTimer::HoverPoll, false);
    s.open = false;
    s.hovered = -1;
    s.lastHovered = -1;
    return;
  }
  // One list at a time: another group's list makes way for this one.
  MenuFocus(false, s.group);
  const int group = std::clamp(slot, 0, kGroupCount - 1);
  s.hovered = -1;
  s.lastHovered = -1;
  hoverByPointer_ = false;
  view_.IniMenuParam(group, geometry_, settings_.PopupRows);
  if (s.count == 0 || slot != group) {
    ReportClosed(false);  // nothing to show: the dock learns at once
    return;
  }
  // The window takes the list's place before the first frame lands on it; the timers
  // start once it is in front, so their first look finds it there.
  const PixelRect bounds = s.layout.Bounds();
  pacer_.Then([this, bounds] { ports_.Show(bounds); });
  view_.FadeIn(dock_.fade);
  s.open = true;
  pacer_.Then([this] {
    if (!open()) return;
    SetTimer(PopupTimer::Foreground, true);
    SetTimer(PopupTimer::HoverPoll, true);
  });
}

void PopupController::ShowResults(std::vector<int> items) {
  PopupState& s = state();
  // The dock closes an empty list itself; it already knows.
  if (items.empty()) {
    MenuFocus(false, s.group);
    return;
  }
  const bool shown = s.open && s.results;
  if (s.open && !s.results) MenuFocus(false, s.group);
  view_.IniResultList(std::move(items), geometry_, settings_.PopupRows);
  // The first result is the one Enter starts until the arrows or the pointer choose.
  s.hovered = 1;
  s.lastHovered = 1;
  s.pressedLook = false;
  hoverByPointer_ = false;
  const PixelRect bounds = s.layout.Bounds();
  pacer_.Then([this, bounds] { ports_.ShowBesideField(bounds); });
  if (!shown) view_.FadeIn(dock_.fade);
  view_.MenuAction();
  s.open = true;
  if (shown) return;
  // No foreground watch: the dock keeps the keyboard and watches for both.
  pacer_.Then([this] {
    if (open()) SetTimer(PopupTimer::HoverPoll, true);
  });
}

void PopupController::EscCancel(bool keepFocus) {
  if (!open()) return;
  MenuFocus(false, state().group);
  ReportClosed(!keepFocus);
}

void PopupController::ReportClosed(bool dockTakesFocus) {
  // A report that reached the dock after its request for another list would make it
  // believe no list is open while the new one shows; that request supersedes the report.
  const auto& waiting = events_.waiting();
  const bool openWaiting = std::any_of(waiting.begin(), waiting.end(), [](const PopupEvent& e) {
    return e.kind == PopupEvent::Kind::Open;
  });
  if (openWaiting) return;
  const int opens = opens_;
  Defer([this, opens, dockTakesFocus] {
    if (opens == opens_) actions_.Closed(dockTakesFocus);
  });
}

void PopupController::MenuClick(int member) {
  const int item = view_.row(member).item;
  if (member < 1 || member > state().count || item < 1) return;
  EscCancel(false);
  const ShortcutItem& entry = store_.Items[static_cast<std::size_t>(item)];
  if (entry.IsSystem) {
    const int command = entry.CommandId;
    Defer([this, command] { actions_.RunCommand(command); });
  } else {
    Defer([this, item] { actions_.LaunchItem(item); });
  }
}

void PopupController::MenuWheel(bool up, bool byKeyboard) {
  PopupState& s = state();
  const int rows = s.layout.rows;
  if (!byKeyboard) {
    Scrolled(ScrollByRow(s.scroll, up, s.count, rows));
    return;
  }
  const int visible = VisibleRows();
  int next = 0;
  if (up) {
    next = IsMemberRow(s.hovered) ? s.hovered - 1 : visible;
  } else {
    next = s.hovered != -1 ? s.hovered + 1 : 1;
  }
  PopupScroll scroll = s.scroll;
  if (next < 1) {
    next = 1;
    scroll = ScrollByRow(scroll, true, s.count, rows);
  } else if (next > visible) {
    next = visible;
    scroll = ScrollByRow(scroll, false, s.count, rows);
  }
  s.hovered = next;
  s.lastHovered = next;
  hoverByPointer_ = false;
  s.scroll = scroll;
  Redraw();
}

void PopupController::MenuUpAndDown(bool up) {
  const PopupState& s = state();
  Scrolled(ScrollByPage(s.scroll, up, s.count, s.layout.rows));
}

void PopupController::Scrolled(const PopupScroll& scroll) {
  if (scroll == state().scroll) return;
  state().scroll = scroll;
  Redraw();
}

void PopupController::MenuDelEffect(int x, int y) {
  const PixelRect square = CentredSquare(x, y, state().layout.sizes.deleteFrame);
  for (int k = 1; k <= kDeleteFrames; ++k) {
    const ImageRef frame{ImageTable::Skin, kSkinDelIcon, k};
    pacer_.Then([this, frame, square] { ports_.ShowSprite(frame, square); });
    pacer_.Sleep(kFramePause);
  }
  pacer_.Then([this] { ports_.HideSprite(); });
}

void PopupController::OnPointerMove(int x, int y, bool leftDown) {
  if (!open()) return;
  PopupState& s = state();
  if (leftDown && pressedMember_ != -1 && !settings_.LockDragging && !dragging_ &&
      OutsideDragRectangle(x, y)) {
    dragging_ = true;
    s.pressedLook = false;
    view_.MenuNormal();  // the list rests while a member is carried off it
  }
  s.hovered = RowAt(x, y);
  hoverByPointer_ = true;
  if (dragging_) {
    const int icon =
        store_.Items[static_cast<std::size_t>(view_.row(pressedMember_).item)].ItemIndex;
    const ImageRef image{ImageTable::Icon, icon, kPopupIconVariant};
    const PixelRect square = CentredSquare(x, y, s.layout.sizes.icon);
    pacer_.Then([this, image, square] { ports_.ShowSprite(image, square); });
    return;
  }
  if (!leftDown) s.pressedLook = false;
  if (s.hovered != s.lastHovered) {
    s.lastHovered = s.hovered;
    Redraw();
  }
}

void PopupController::OnButtonDown(MouseButton button, int x, int y) {
  if (!open()) return;
  OnPointerMove(x, y, button == MouseButton::Left);
  PopupState& s = state();
  if (s.hovered == -1) return;
  // A result is only a way to a shortcut: it is not carried off the list to delete it.
  if (button == MouseButton::Left && IsMemberRow(s.hovered) && !s.results) {
    const int member = s.scroll.offset + s.hovered;
    const int item = view_.row(member).item;
    // Only shortcuts inside a group can be carried off it; commands stay.
    if (store_.Items[static_cast<std::size_t>(item)].ItemType == kItemGroupMember) {
      pressedMember_ = member;
      pressX_ = x;
      pressY_ = y;
    }
  }
  s.pressedLook = true;
  Redraw();
}

void PopupController::OnButtonUp(MouseButton button, int x, int y) {
  if (!open()) return;
  PopupState& s = state();
  const bool left = button == MouseButton::Left;
  s.hovered = RowAt(x, y);
  s.lastHovered = s.hovered;
  s.pressedLook = false;
  if (dragging_) {
    if (left) EndDrag(x, y);
    return;
  }
  pressedMember_ = -1;
  const int row = s.hovered;
  const int pageDown = s.layout.rows + 1;
  if (row != -1 && !left) {
    // Only a member's row has an item to offer; the page buttons have none.
    Redraw();
    if (IsMemberRow(row) && !s.results) {
      const int position = s.scroll.offset + row;
      contextMember_ = view_.row(position).item;
      const int item = contextMember_;
      const int group = s.group;
      Defer([this, item, group, position] { actions_.OpenItemMenu(item, group, position); });
    }
  } else if (row != -1 && s.layout.paging && (row == 0 || row == pageDown)) {
    MenuUpAndDown(row == 0);
    Redraw();
  } else if (IsMemberRow(row)) {
    MenuClick(s.scroll.offset + row);
  } else {
    Redraw();
  }
}

void PopupController::EndDrag(int x, int y) {
  PopupState& s = state();
  dragging_ = false;
  pacer_.Then([this] { ports_.HideSprite(); });
  const int item = view_.row(pressedMember_).item;
  pressedMember_ = -1;
  // Dropped on a row of the list changes nothing; off every row, the member goes.
  if (RowAt(x, y) != -1 || !actions_.DeleteMember(item)) {
    Redraw();
    return;
  }
  MenuDelEffect(x, y);
  actions_.SaveStore();
  if (!ReadMembersAgain()) return;
  s.hovered = RowAt(x, y);
  s.lastHovered = s.hovered;
  Redraw();
}

bool PopupController::ReadMembersAgain() {
  PopupState& s = state();
  view_.MenuResize(geometry_, settings_.PopupRows);
  if (s.count == 0) {
    // Nothing left to list: the ring shows the empty group, and the list goes.
    const int group = s.group;
    if (!s.results) Defer([this, group] { actions_.GroupEmptied(group); });
    EscCancel(false);
    return false;
  }
  const PixelRect bounds = s.layout.Bounds();
  pacer_.Then([this, bounds] { ports_.Show(bounds); });
  return true;
}

void PopupController::CancelPress() {
  PopupState& s = state();
  const bool carried = dragging_;
  dragging_ = false;
  pressedMember_ = -1;
  if (!open() || (!carried && !s.pressedLook)) return;
  s.pressedLook = false;
  if (carried) pacer_.Then([this] { ports_.HideSprite(); });
  Redraw();
}

void PopupController::RefreshList() {
  if (!open() || !ReadMembersAgain()) return;
  // The pointer may rest anywhere once the menu that changed the list has closed: the list
  // is drawn at rest until the pointer moves over a row again.
  PopupState& s = state();
  s.hovered = -1;
  s.lastHovered = -1;
  s.pressedLook = false;
  view_.MenuNormal();
}

void PopupController::OnKeyDown(int key) {
  if (!open()) return;
  const PopupState& s = state();
  switch (key) {
    case kKeyEscape:
      EscCancel(false);
      return;
    case kKeyPageUp:
    case kKeyPageDown:
      MenuUpAndDown(key == kKeyPageUp);
      return;
    case kKeyUp:
    case kKeyDown:
      MenuWheel(key == kKeyUp, true);
      return;
    case kKeyEnter:
      // A member's row launches; in a group's list the page buttons and no row do nothing.
      if (IsMemberRow(s.hovered)) {
        MenuClick(s.scroll.offset + s.hovered);
        return;
      }
      break;
    default:
      break;
  }
  if (s.results) {
    // Enter without a chosen row starts the first result; the hotkeys belong to the field.
    if (key == kKeyEnter) MenuClick(1);
    return;
  }
  if (const int member = MemberForKey(key, s.count); member > 0) MenuClick(member);
}

void PopupController::OnForegroundWatch(bool listInFront) {
  if (listInFront || !open()) return;
  SetTimer(PopupTimer::Foreground, false);
  // Another window came to the front: the list goes without taking the keyboard from it.
  EscCancel(true);
}

void PopupController::OnHoverPoll(int x, int y) {
  PopupState& s = state();
  // A row chosen with the keys stays chosen wherever the pointer rests.
  if (!open() || s.lastHovered == -1 || dragging_ || !hoverByPointer_ || RowAt(x, y) != -1) {
    return;
  }
  s.hovered = -1;
  s.lastHovered = -1;
  s.pressedLook = false;
  view_.MenuNormal();
}

}  // namespace kivo
