// The group popup's behaviour: opening beside its slot and closing, the hovered row,
// scrolling by wheel, arrow and page keys and the page buttons, launching a member by
// click, Enter or its hotkey, dragging a member out of the list to delete it, and the two
// 100 ms timers. A state machine beside the dock's, fed with the same kinds of events; it
// draws through PopupView and asks for everything else through PopupPorts (its windows)
// and PopupActions (the rest of the program).
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <vector>

#include "core/settings.h"
#include "core/store.h"
#include "dock/dock_controller.h"
#include "dock/event_queue.h"
#include "dock/frame_pacer.h"
#include "popup/popup_view.h"

namespace kivo {

enum class PopupTimer : int { Foreground = 0, HoverPoll };
inline constexpr int kPopupTimerCount = 2;
inline constexpr int kPopupTimerInterval = 100;  // ms, both timers

struct PopupEvent {
  enum class Kind : int {
    Open,         // slot: MenuFocus(True) for the group of that slot
    Close,        // the dock closes the list (it knows already)
    PointerMove,  // x, y; leftDown
    ButtonDown,   // x, y; button
    ButtonUp,     // x, y; button
    Wheel,        // up
    KeyDown,      // key
    Tick,         // timer; Foreground: flag = the list's window is in front; HoverPoll: x, y
    CancelPress,  // the mouse was taken away mid-press: a carried member goes back
    Refresh,      // the open group's members changed (moved): read them again and redraw
    Results       // items: the search's result list, opened or replaced; first row lit
  };
  Kind kind = Kind::PointerMove;
  int slot = 0;
  int x = 0, y = 0;
  bool leftDown = false;
  MouseButton button = MouseButton::Left;
  bool up = false;
  int key = 0;
  PopupTimer timer = PopupTimer::Foreground;
  bool flag = false;
  std::vector<int> items{};

  static PopupEvent Open(int slot);
  static PopupEvent Results(std::vector<int> items);
  static PopupEvent Close();
  static PopupEvent Move(int x, int y, bool leftDown = false);
  static PopupEvent Down(MouseButton button, int x, int y);
  static PopupEvent Up(MouseButton button, int x, int y);
  static PopupEvent Wheel(bool up);
  static PopupEvent Key(int key);
  static PopupEvent TimerTick(PopupTimer timer, int x = 0, int y = 0, bool flag = false);
  static PopupEvent Refresh();
};

// What the list asks of its own windows.
class PopupPorts {
 public:
  virtual ~PopupPorts() = default;
  virtual void SetTimer(PopupTimer timer, bool on) = 0;
  // Puts the list's window over `bounds` (client coordinates), top-most and in front with
  // the keyboard; `Hide` sends it to the bottom, empty.
  virtual void Show(const PixelRect& bounds) = 0;
  // As Show, but the keyboard stays with the dock's search field.
  virtual void ShowBesideField(const PixelRect& bounds) { Show(bounds); }
  virtual void Hide() = 0;
  // A single picture off the list: the dragged member's icon, a frame of the delete
  // animation, drawn into `rect` (its size is the list's, at the list's dpi); nothing
  // hides it.
  virtual void ShowSprite(const ImageRef& image, const PixelRect& rect) = 0;
  virtual void HideSprite() = 0;
};

// What the list asks of the rest of the program.
class PopupActions {
 public:
  virtual ~PopupActions() = default;
  virtual void LaunchItem(int item) = 0;
  virtual void RunCommand(int command) = 0;
  // The item context menu for the member under the pointer: item `item`, at index
  // `position` of the Members of group `group` (the list's slot).
  virtual void OpenItemMenu(int item, int group, int position) = 0;
  // Asks the user where needed; true when the member was deleted.
  virtual bool DeleteMember(int item) = 0;
  virtual void SaveStore() = 0;
  // The group lost its last member: the ring shows its slot anew.
  virtual void GroupEmptied(int group) = 0;
  // The list closed by itself; with `dockTakesFocus` the dock gets the keyboard back.
  virtual void Closed(bool dockTakesFocus) = 0;
  // A row is hovered or a member dragged: the dock's auto-hide waits meanwhile.
  virtual void Activity(bool active) = 0;
};

class PopupController {
 public:
  // `dock` gives the fade flag; `geometry` the slots the list opens beside.
  PopupController(PopupView& view, FramePacer& pacer, PopupPorts& ports, PopupActions& actions,
                  ShortcutStore& store, const Settings& settings, const RingGeometry& geometry,
                  const DockState& dock, DragThreshold drag = {});

  // Handles the event now, or after the animation or event under way, in order.
  void Handle(const PopupEvent& event);
  void Resume();

  const PopupState& state() const { return view_.state(); }
  bool open() const { return view_.state().open; }
  bool dragging() const { return dragging_; }
  int pressedMember() const { return pressedMember_; }
  int contextMember() const { return contextMember_; }
  bool timerOn(PopupTimer timer) const { return timers_[static_cast<std::size_t>(timer)]; }

 private:
  PopupState& state() { return view_.state(); }
  void Dispatch(const PopupEvent& event);
  void Drain();
  void Defer(std::function<void()> action);
  // The operations by their names.
  void MenuFocus(bool show, int slot);
  void ShowResults(std::vector<int> items);
  void EscCancel(bool keepFocus);
  // Tells the dock the list closed, unless it has asked for another list since.
  void ReportClosed(bool dockTakesFocus);
  void MenuClick(int member);
  void MenuWheel(bool up, bool byKeyboard);
  void MenuUpAndDown(bool up);
  void MenuDelEffect(int x, int y);
  // The members read again, the scroll offset kept where it still fits.
  void RefreshList();

  void OnPointerMove(int x, int y, bool leftDown);
  void OnButtonDown(MouseButton button, int x, int y);
  void OnButtonUp(MouseButton button, int x, int y);
  void OnKeyDown(int key);
  void OnForegroundWatch(bool listInFront);
  void OnHoverPoll(int x, int y);
  void EndDrag(int x, int y);
  void CancelPress();
  // MenuResize after the group changed, the window following the list; false when no
  // member is left and the list went.
  bool ReadMembersAgain();
  // The row whose rectangle holds the point: 1..count in plain mode, 0..P + 1 in paging
  // mode; -1 for none.
  int RowAt(int x, int y) const;
  int VisibleRows() const;
  bool IsMemberRow(int row) const { return row >= 1 && row <= VisibleRows(); }
  void Redraw();
  void Scrolled(const PopupScroll& scroll);
  void SetTimer(PopupTimer timer, bool on);
  void ReportActivity();
  bool OutsideDragRectangle(int x, int y) const;

  PopupView& view_;
  FramePacer& pacer_;
  PopupPorts& ports_;
  PopupActions& actions_;
  ShortcutStore& store_;
  const Settings& settings_;
  const RingGeometry& geometry_;
  const DockState& dock_;
  DragThreshold drag_;

  bool hoverByPointer_ = false;  // the hovered row follows the pointer, not the keys
  int pressedMember_ = -1;       // a member of kind 5 held with the left button
  int pressX_ = 0, pressY_ = 0;
  bool dragging_ = false;
  int contextMember_ = -1;  // item under the pointer at the last right-button release
  bool active_ = false;     // what the dock was last told
  std::array<bool, kPopupTimerCount> timers_{};

  EventQueue<PopupEvent> events_;
  int opens_ = 0;  // Open events received so far
};

}  // namespace kivo
