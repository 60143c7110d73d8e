#include "dock/dock_controller.h"

#include <algorithm>
#include <cstdlib>

#include "core/text.h"
#include "items/drop_files.h"

namespace kivo {
namespace {

constexpr int kFirstDigitKey = '0';
constexpr int kLastDigitKey = '9';
constexpr int kFirstLetterKey = 'A';
constexpr int kLastLetterKey = 'Z';

bool DragsOnPress(int kind) {
  return kind == kItemRingShortcut || kind == kItemGroup || kind == kItemAllProgramsGroup;
}

// The slot a key selects: "0".."9" slots 1..10, "A".."Z" slots 11..36, "~" the centre.
int SlotForKey(int key) {
  if (key >= kFirstDigitKey && key <= kLastDigitKey) return key - kFirstDigitKey + 1;
  if (key >= kFirstLetterKey && key <= kLastLetterKey) return key - kFirstLetterKey + 11;
  if (key == kKeyTilde) return 0;
  return -1;
}

int BadgeSkin(DropBadge badge) {
  switch (badge) {
    case DropBadge::NoDrop:
      return kSkinNoDrop;
    case DropBadge::AddIcon:
      return kSkinAddIcon;
    case DropBadge::ReplaceIcon:
      return kSkinReplaceIcon;
    case DropBadge::None:
      break;
  }
  return 0;
}

}  // namespace

int DockTimerInterval(DockTimer timer) {
  switch (timer) {
    case DockTimer::LeavePoll:
    case DockTimer::Foreground:
      return 100;
    case DockTimer::RecycleBin:
    case DockTimer::AutoHide:
      return 1000;
    case DockTimer::Dwell:
      return 50;
  }
  return 1000;
}

DockEvent DockEvent::Move(int x, int y, bool leftDown) {
  DockEvent e;
  e.kind = Kind::PointerMove;
  e.x = x;
  e.y = y;
  e.leftDown = leftDown;
  return e;
}
DockEvent DockEvent::Down(MouseButton button, int x, int y) {
  DockEvent e = Move(x, y);
  e.kind = Kind::ButtonDown;
  e.button = button;
  return e;
}
DockEvent DockEvent::Up(MouseButton button, int x, int y) {
  DockEvent e = Down(button, x, y);
  e.kind = Kind::ButtonUp;
  return e;
}
DockEvent DockEvent::Key(int key, bool alt, bool ctrl) {
  DockEvent e;
  e.kind = Kind::KeyDown;
  e.key = key;
  e.alt = alt;
  e.ctrl = ctrl;
  return e;
}
DockEvent DockEvent::Typed(std::string text) {
  DockEvent e;
  e.kind = Kind::Typed;
  e.text = std::move(text);
  return e;
}
DockEvent DockEvent::KeyRelease(int key) {
  DockEvent e = Key(key);
  e.kind = Kind::KeyUp;
  return e;
}
DockEvent DockEvent::TimerTick(DockTimer timer, int x, int y, bool flag) {
  DockEvent e;
  e.kind = Kind::Tick;
  e.timer = timer;
  e.x = x;
  e.y = y;
  e.flag = flag;
  return e;
}
DockEvent DockEvent::Simple(Kind kind) {
  DockEvent e;
  e.kind = kind;
  return e;
}
DockEvent DockEvent::Mode(DockMode mode) {
  DockEvent e = Simple(Kind::SetMode);
  e.mode = mode;
  return e;
}

DockEvent DockEvent::DragAt(int x, int y, bool filesOnOffer) {
  DockEvent e = Move(x, y);
  e.kind = Kind::DragOver;
  e.flag = filesOnOffer;
  return e;
}
DockEvent DockEvent::DropAt(int x, int y, std::vector<std::string> paths) {
  DockEvent e = Move(x, y);
  e.kind = Kind::Drop;
  e.paths = std::move(paths);
  return e;
}

DockController::DockController(DockView& view, FramePacer& pacer, DockPorts& ports,
                               DockActions& actions, ShortcutStore& store, const Settings& settings,
                               DragThreshold drag, const AnsiCodec* gb)
    : view_(view),
      pacer_(pacer),
      ports_(ports),
      actions_(actions),
      store_(store),
      settings_(settings),
      drag_(drag),
      gb_(gb),
      events_(pacer) {}

void DockController::Handle(const DockEvent& event) {
  using Kind = DockEvent::Kind;
  // The popup's reports describe the list as it is now: applied at once, not behind input
  // that waits, so that a key waiting to open another list is not undone by the report
  // that the previous list closed.
  if (event.kind == Kind::PopupClosed || event.kind == Kind::PopupActivity) {
    Dispatch(event);
    return;
  }
  const bool input = event.kind == Kind::PointerMove || event.kind == Kind::ButtonDown ||
                     event.kind == Kind::ButtonUp || event.kind == Kind::KeyDown ||
                     event.kind == Kind::KeyUp || event.kind == Kind::DragOver ||
                     event.kind == Kind::Drop || event.kind == Kind::Typed;
  events_.Push(event, input, event.kind == Kind::PointerMove || event.kind == Kind::DragOver);
  Drain();
}

void DockController::Resume() {
  Drain();
}

void DockController::Drain() {
  events_.Drain([this](const DockEvent& event) { Dispatch(event); });
}

void DockController::Defer(std::function<void()> action) {
  events_.Defer(std::move(action));
}

void DockController::Dispatch(const DockEvent& event) {
  using Kind = DockEvent::Kind;
  switch (event.kind) {
    case Kind::PointerMove:
      OnPointerMove(event.x, event.y, event.leftDown);
      break;
    case Kind::ButtonDown:
      OnButtonDown(event.button, event.x, event.y);
      break;
    case Kind::ButtonUp:
      OnButtonUp(event.button, event.x, event.y);
      break;
    case Kind::KeyDown:
      OnKeyDown(event.key, event.alt, event.ctrl);
      break;
    case Kind::KeyUp:
      OnKeyUp(event.key);
      break;
    case Kind::Tick:
      OnTick(event);
      break;
    case Kind::Start:
      Start();
      break;
    case Kind::AltSpace:
      AltSpace();
      break;
    case Kind::EscCancel:
      EscCancel();
      break;
    case Kind::SetMode:
      MinWindows(event.mode);
      break;
    case Kind::ToggleShown:
      ToggleShown();
      break;
    case Kind::CancelPress:
      CancelPress();
      break;
    case Kind::Exit:
      view_.DockFocus(false);
      Defer([this] { actions_.EndProgram(); });
      break;
    case Kind::Refresh:
      view_.IniIconParam();
      if (searching()) {
        // The shortcuts changed under the field: it finds in what is there now.
        searchIndex_ = BuildSearchIndex(store_, SlotCount(), gb_);
        RunSearch();
      }
      Redraw();
      break;
    case Kind::PopupClosed:
      popupOpen_ = false;
      popupActive_ = false;
      // The result list closes by itself only when one of its rows was started.
      if (searching()) EndSearch();
      break;
    case Kind::PopupActivity:
      popupActive_ = event.flag;
      break;
    case Kind::ShowOrHide:
      ShowOrHide();
      break;
    case Kind::DragOver:
      OnDragOver(event.x, event.y, event.flag);
      break;
    case Kind::DragLeave:
      EndDragOver();
      break;
    case Kind::Drop:
      OnDrop(event.x, event.y, event.paths);
      break;
    case Kind::Typed:
      OnTyped(event.text);
      break;
  }
}

int DockController::SlotCount() const {
  return std::clamp(view_.geometry().metrics.K, 0, kMaxSlot);
}

const ShortcutItem& DockController::Item(int number) const {
  return store_.Items[static_cast<std::size_t>(std::clamp(number, 0, kLastItem))];
}

bool DockController::OutsideDragRectangle(int x, int y) const {
  // The drag rectangle is centred on the press point: a tremble within half of it on
  // either side is still a click.
  return std::abs(x - pressX_) > drag_.cx / 2 || std::abs(y - pressY_) > drag_.cy / 2;
}

void DockController::SetTimer(DockTimer timer, bool on) {
  bool& running = timers_[static_cast<std::size_t>(timer)];
  if (running == on) return;
  running = on;
  ports_.SetTimer(timer, on);
}

void DockController::SendToBottom() {
  pacer_.Then([this] { ports_.SendToBottom(); });
}

void DockController::BringToFront() {
  pacer_.Then([this] { ports_.BringToFront(); });
}

void DockController::ShowWindows(bool visible) {
  pacer_.Then([this, visible] { ports_.ShowWindows(visible); });
}

void DockController::Redraw() {
  if (dropBadge_ && dropBadge_->skin != 0) {
    DrawDropBadge();
  } else if (state().hovered != -1) {
    view_.DockAction(false);
  } else {
    view_.DockNormal(false);
  }
}

void DockController::OpenPopup(int slot) {
  popupOpen_ = true;
  Defer([this, slot] { actions_.OpenPopup(slot); });
}

void DockController::ClosePopup() {
  if (!popupOpen_) return;
  popupOpen_ = false;
  popupActive_ = false;
  actions_.ClosePopup();
}

void DockController::OnPointerMove(int x, int y, bool leftDown) {
  leftDown_ = leftDown;
  if (state().mode == DockMode::Hidden) return;
  SetTimer(DockTimer::Dwell, true);
  DockState& s = state();
  if (leftDown && pressed_ && !settings_.LockDragging) {
    if (!s.dragging && OutsideDragRectangle(x, y)) s.dragging = true;
    if (s.dragging) view_.DockDrag(x, y);
  }
  view_.OnPointerMove(x, y);
  if (s.previous != -1) SetTimer(DockTimer::LeavePoll, true);
}

void DockController::OnButtonDown(MouseButton button, int x, int y) {
  if (state().mode == DockMode::Hidden) return;
  // A press anywhere on the dock leaves the search and then acts as always.
  if (searching()) EndSearch();
  OnPointerMove(x, y, button == MouseButton::Left);
  SetTimer(DockTimer::Foreground, true);
  DockState& s = state();
  const bool left = button == MouseButton::Left;
  // Only a ring on screen has icons to lift: the collapsed disc may lie where a slot would.
  if (left && s.mode == DockMode::Expanded && s.hovered >= 1 &&
      DragsOnPress(Item(s.hovered).ItemType)) {
    pressed_ = true;
    s.pressedSlot = s.hovered;
    pressX_ = x;
    pressY_ = y;
  }
  if (s.hovered == -1 && s.active) EscCancel();  // a click on the empty desktop
  if (left && s.hovered != -1 && s.mode != DockMode::Collapsed) view_.DockAction(true);
}

void DockController::OnButtonUp(MouseButton button, int x, int y) {
  if (state().mode == DockMode::Hidden) {
    CancelPress();
    return;
  }
  // A release, like a press, leaves the search before it acts.
  if (searching()) EndSearch();
  DockState& s = state();
  view_.OnPointerMove(x, y);
  const bool left = button == MouseButton::Left;
  const int releasedOver = s.hovered;
  const DockMode modeBefore = s.mode;

  // An icon dragged off the ring is deleted; one dropped on a slot changes nothing. Only
  // the button that lifted it lets it go.
  if (left && pressed_ && s.dragging && !settings_.LockDragging && s.hovered == -1) {
    if (actions_.DeleteItem(s.pressedSlot)) {
      view_.DockDelEffect(x, y);
      view_.IniIconParam();
    }
    s.pressedSlot = -1;
    view_.DockNormal(false);
    s.dragging = false;
    actions_.SaveStore();
    pressed_ = false;
    return;
  }
  s.pressedSlot = -1;
  pressed_ = false;
  if (s.mode == DockMode::Collapsed) {
    MinWindows(DockMode::Expanded);
  } else if (s.hovered != -1) {
    contextSlot_ = s.hovered;
    if (!left) {
      view_.DockAction(false);
      if (Item(s.hovered).ItemType < 7) {
        const int slot = s.hovered;
        Defer([this, slot] { actions_.OpenContextMenu(slot); });
      } else {
        IconClick(1);
      }
    } else if (s.hovered != 0) {
      view_.DockAction(false);
      if (!s.dragging) IconClick(0);
    } else if (s.mode == DockMode::Expanded) {
      MinWindows(DockMode::Collapsed);  // a left click on the centre collapses the dock
      SendToBottom();
    }
  }
  s.dragging = false;
  // A release over nothing hides the dock with auto-hide on, but not the release that just
  // collapsed or expanded it (collapsing forgets the hovered slot, and a disc in a corner
  // lies over no slot).
  if (releasedOver == -1 && s.mode == modeBefore && settings_.AutoHide != 0) {
    MinWindows(DockMode::Hidden);
  }
}

void DockController::CancelPress() {
  DockState& s = state();
  const bool lifted = s.dragging;
  pressed_ = false;
  s.pressedSlot = -1;
  s.dragging = false;
  // The lifted icon goes back to its slot.
  if (lifted) Redraw();
}

void DockController::IconClick(int how) {
  const int slot = state().hovered;
  // Only slots that are shown act; a release or key over nothing never reaches an item.
  if (slot < 0 || slot > SlotCount()) return;
  const ShortcutItem& item = Item(slot);
  const int kind = item.ItemType;
  if (kind == kItemUnused || kind == kItemShortcut) return;
  const bool isGroupKind = kind >= kItemGroup;
  const auto launchOrRun = [&] {
    if (item.IsSystem) {
      const int command = item.CommandId;
      Defer([this, command] { actions_.RunCommand(command); });
    } else {
      Defer([this, slot] { actions_.LaunchItem(slot); });
    }
  };
  if (how == 0 || how == 2) {
    if (kind == kItemRingShortcut) {
      launchOrRun();
      return;
    }
    if (how == 2) {
      if (isGroupKind) OpenPopup(slot);
      return;
    }
    if (kind == kItemGroup || kind == kItemAllProgramsGroup || kind == kItemRecycleBin ||
        kind == kItemSystemObject) {
      if (!item.IsSystem && item.LinkPath.str().empty()) {
        OpenPopup(slot);
      } else {
        launchOrRun();
      }
    } else if (kind == kItemUser) {
      OpenPopup(slot);
    }
    return;
  }
  if (how == 1 && isGroupKind) OpenPopup(slot);
}

void DockController::OnKeyDown(int key, bool alt, bool ctrl) {
  DockState& s = state();
  if (s.searching) {
    OnSearchKey(key, alt);
    return;
  }
  ClosePopup();
  if (key == kKeySearch && ctrl && s.active && s.mode == DockMode::Expanded) {
    BeginSearch();
  } else if (key == kKeyEscape) {
    EscCancel();
    if (settings_.AutoHide != 0) MinWindows(DockMode::Hidden);
  } else if (s.active) {
    const int slot = SlotForKey(key);
    if (slot >= 0 && slot <= SlotCount()) {
      // The key acts on its slot as if it were hovered; the pointer's own slot comes back.
      const int saved = s.hovered;
      s.hovered = slot;
      IconClick(2);
      s.hovered = saved;
    }
  }
  if (key == kKeySpace && alt) AltSpace();
}

void DockController::OnKeyUp(int key) {
  if (key != kKeyF1) return;
  EscCancel();
  Defer([this] { actions_.ShowQuickStart(); });
}

void DockController::OnTick(const DockEvent& event) {
  switch (event.timer) {
    case DockTimer::LeavePoll:
      OnLeavePoll(event.x, event.y);
      break;
    case DockTimer::Foreground:
      OnForegroundWatch(event.flag);
      break;
    case DockTimer::RecycleBin:
      OnRecycleBinWatch(event.flag);
      break;
    case DockTimer::AutoHide:
      OnAutoHide();
      break;
    case DockTimer::Dwell:
      OnDwell();
      break;
  }
}

void DockController::OnLeavePoll(int x, int y) {
  view_.OnLeavePoll(x, y);
  // Nothing to watch until the pointer is over a slot again.
  if (state().previous == -1) SetTimer(DockTimer::LeavePoll, false);
}

void DockController::OnForegroundWatch(bool foregroundIsOurs) {
  if (foregroundIsOurs) return;
  EscCancel();
  if (settings_.AutoHide != 0) MinWindows(DockMode::Hidden);
  SetTimer(DockTimer::Foreground, false);
}

void DockController::OnRecycleBinWatch(bool hasItems) {
  ShortcutItem& bin = store_.Items[kRecycleBinItem];
  if (bin.ItemType != kItemRecycleBin) return;  // the slot holds something else now
  const int shown = hasItems ? kRecycleFullTemplate : kRecycleEmptyTemplate;
  if (bin.ItemIndex == shown) return;  // the picture already tells the truth: draw nothing
  bin = store_.Items[static_cast<std::size_t>(shown)];
  view_.IniIconParam();
  Redraw();
}

void DockController::OnAutoHide() {
  const DockState& s = state();
  if (settings_.AutoHide == 0 || s.hovered != -1 || popupActive_ || s.dragging || dropBadge_ ||
      s.searching) {
    idleTicks_ = 0;
    return;
  }
  if (++idleTicks_ < kAutoHideTicks) return;
  idleTicks_ = 0;
  ClosePopup();
  const bool fade = state().fade;
  state().fade = s.mode != DockMode::Collapsed;
  EscCancel();
  MinWindows(DockMode::Hidden);
  state().fade = fade;
  SetTimer(DockTimer::AutoHide, false);
}

void DockController::OnDwell() {
  const DockState& s = state();
  if (s.lastX != dwell_.x || s.lastY != dwell_.y) {
    dwell_ = Dwell{s.lastX, s.lastY, 0};
    return;
  }
  if (++dwell_.ticks <= kDwellTicks) return;
  view_.EffectAction(s.hovered);
  dwell_ = Dwell{};
  // Resting longer changes nothing more; the next pointer move starts the watch again.
  SetTimer(DockTimer::Dwell, false);
}

void DockController::Start() {
  DockState& s = state();
  s.active = true;
  s.mode = DockMode::Expanded;
  hidden_ = false;
  ShowWindows(true);
  BringToFront();
  DockFocus(true);
}

void DockController::DockFocus(bool show) {
  view_.DockFocus(show);
  if (!show) return;
  SetTimer(DockTimer::Foreground, true);
  SetTimer(DockTimer::RecycleBin, true);
  SetTimer(DockTimer::AutoHide, true);
}

void DockController::AltSpace() {
  DockState& s = state();
  s.active = true;
  SetTimer(DockTimer::Foreground, true);
  if (s.mode != DockMode::Expanded) {
    MinWindows(DockMode::Expanded);
  } else {
    Redraw();
  }
  BringToFront();
}

void DockController::EscCancel() {
  if (searching()) EndSearch();
  ClosePopup();
  SendToBottom();
  DockState& s = state();
  if (!s.active) return;
  s.active = false;
  if (s.mode == DockMode::Expanded) Redraw();  // without the veil and hotkey characters
  SendToBottom();
}

void DockController::ToggleShown() {
  DockState& s = state();
  const bool fade = s.fade;
  s.fade = false;
  if (s.mode == DockMode::Hidden) {
    s.active = true;
    MinWindows(DockMode::Expanded);
    BringToFront();
  } else {
    EscCancel();
    MinWindows(DockMode::Hidden);
  }
  s.fade = fade;
}

void DockController::ShowOrHide() {
  DockState& s = state();
  // The hot key answers at once: neither hiding nor showing is animated.
  const bool fade = s.fade;
  s.fade = false;
  ClosePopup();
  if (s.active) {
    MinWindows(DockMode::Hidden);
  } else {
    AltSpace();
  }
  s.fade = fade;
}

void DockController::MinWindows(DockMode mode) {
  DockState& s = state();
  if (mode == s.mode) return;
  if (mode != DockMode::Expanded && s.searching) EndSearch();
  s.mode = mode;
  if (mode != DockMode::Expanded) s.active = false;
  switch (mode) {
    case DockMode::Expanded:
      hidden_ = false;
      ShowWindows(true);
      DockFocus(true);
      BringToFront();
      break;
    case DockMode::Collapsed:
      CancelPress();
      hidden_ = false;
      ShowWindows(true);
      ClosePopup();
      view_.DockFocus(false);
      view_.DrawCollapsedDisc();
      s.hovered = -1;
      s.previous = -1;
      SendToBottom();
      SetTimer(DockTimer::LeavePoll, false);
      SetTimer(DockTimer::Dwell, false);
      if (settings_.AutoHide != 0) SetTimer(DockTimer::AutoHide, true);
      break;
    case DockMode::Hidden:
      CancelPress();
      ClosePopup();
      if (s.fade) view_.HideFade();
      hidden_ = true;
      s.hovered = -1;
      s.previous = -1;
      // Nothing is on screen to watch until the dock is shown again.
      for (int t = 0; t < kDockTimerCount; ++t) SetTimer(static_cast<DockTimer>(t), false);
      SendToBottom();
      ShowWindows(false);
      break;
  }
}

}  // namespace kivo

namespace kivo {

void DockController::OnDragOver(int x, int y, bool filesOnOffer) {
  DockState& s = state();
  if (s.mode != DockMode::Expanded) return;
  if (!dropBadge_) {
    if (searching()) EndSearch();
    // The drag owns the pointer: nothing is hovered, and the hover timers would only
    // draw over the badge.
    s.hovered = -1;
    s.previous = -1;
    SetTimer(DockTimer::LeavePoll, false);
    SetTimer(DockTimer::Dwell, false);
  }
  const int target = HitTest(view_.geometry(), x, y);
  const int skin = BadgeSkin(DragOverBadge(store_, settings_, target, filesOnOffer));
  // Without a badge the pointer's position changes nothing on screen.
  const DropBadgeAt badge = skin != 0 ? DropBadgeAt{skin, x, y} : DropBadgeAt{};
  if (badge.skin != 0 && !s.active && !raisedForDrop_) {
    // A dock lying on the desktop comes up while something is dragged over its slots.
    raisedForDrop_ = true;
    pacer_.Then([this] { ports_.RaiseForDrop(); });
  }
  // The drag reports the pointer again and again while it rests: only a change is drawn.
  if (dropBadge_ == badge) return;
  const bool drawn = dropBadge_.has_value() && dropBadge_->skin != 0;
  dropBadge_ = badge;
  if (badge.skin != 0) {
    DrawDropBadge();
    return;
  }
  if (drawn) view_.DockNormal(false);
  if (!s.active && raisedForDrop_) {
    raisedForDrop_ = false;
    SendToBottom();
  }
}

void DockController::DrawDropBadge() {
  view_.DrawBadge(dropBadge_->skin, dropBadge_->x, dropBadge_->y);
}

void DockController::EndDragOver() {
  const bool shown = dropBadge_.has_value() && dropBadge_->skin != 0;
  dropBadge_.reset();
  if (shown) view_.DockNormal(false);
  if (raisedForDrop_) {
    raisedForDrop_ = false;
    if (!state().active) SendToBottom();
  }
}

void DockController::OnDrop(int x, int y, std::vector<std::string> paths) {
  EndDragOver();
  if (state().mode != DockMode::Expanded || settings_.LockDragging) return;
  const int target = HitTest(view_.geometry(), x, y);
  if (target == -1) return;
  // Questions and the input box come after the drop has returned to its source.
  Defer([this, target, dropped = std::move(paths)]() mutable {
    actions_.DropFiles(target, std::move(dropped));
  });
}

}  // namespace kivo

namespace kivo {

void DockController::BeginSearch() {
  DockState& s = state();
  CancelPress();
  s.searching = true;
  s.searchText.clear();
  results_.clear();
  searchIndex_ = BuildSearchIndex(store_, SlotCount(), gb_);
  ports_.SetTextInput(true);
  Redraw();
}

void DockController::EndSearch() {
  DockState& s = state();
  if (!s.searching) return;
  s.searching = false;
  s.searchText.clear();
  results_.clear();
  searchIndex_.clear();
  ClosePopup();
  ports_.SetTextInput(false);
  Redraw();
}

void DockController::OnTyped(const std::string& text) {
  DockState& s = state();
  if (!s.searching) return;  // the ring's own keys come as key presses
  std::string kept;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, pos);
    const auto first = static_cast<unsigned char>(text[pos]);
    // Control characters (Ctrl+letters, Backspace, Enter, Esc) are keys, not text.
    if (first >= 0x20 && first != 0x7F) kept.append(text, pos, length);
    pos += length;
  }
  if (kept.empty()) return;
  const std::string typed = s.searchText + kept;
  if (CountChars(typed) > kMostSearchChars) return;
  s.searchText = typed;
  RunSearch();
  Redraw();
}

void DockController::OnSearchKey(int key, bool alt) {
  DockState& s = state();
  switch (key) {
    case kKeyEscape:
      // Esc leaves the search; the dock stays in front with its own keys.
      EndSearch();
      return;
    case kKeyBackspace:
      if (s.searchText.empty()) return;
      s.searchText = DropLastChar(s.searchText);
      RunSearch();
      Redraw();
      return;
    case kKeyUp:
    case kKeyDown:
    case kKeyPageUp:
    case kKeyPageDown:
    case kKeyEnter:
      if (popupOpen_) actions_.SearchListKey(key);
      return;
    default:
      break;
  }
  if (key == kKeySpace && alt) AltSpace();
}

void DockController::RunSearch() {
  results_ = FindItems(searchIndex_, state().searchText);
  if (results_.empty()) {
    ClosePopup();
    return;
  }
  popupOpen_ = true;
  Defer([this, items = results_] { actions_.ShowSearchResults(items); });
}

}  // namespace kivo
