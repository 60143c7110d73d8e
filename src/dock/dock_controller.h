// The dock's behaviour: hovering, clicking and launching, dragging an icon off the ring,
// the keys, activating and dismissing, collapsing and hiding, auto-hide and the recycle
// bin's picture. A state machine fed with events; it draws through DockView and asks the
// rest of the program for everything else through DockPorts (its windows) and
// DockActions (launching, commands, menus, deleting, saving). The window only turns
// messages into events and carries out the effects.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/store.h"
#include "dock/dock_view.h"
#include "dock/event_queue.h"
#include "dock/frame_pacer.h"
#include "search/item_search.h"

namespace kivo {

// The dock's five timers and their intervals in milliseconds.
enum class DockTimer : int { LeavePoll = 0, Foreground, RecycleBin, AutoHide, Dwell };
inline constexpr int kDockTimerCount = 5;
int DockTimerInterval(DockTimer timer);

enum class MouseButton : int { Left, Right, Middle };

// Virtual-key codes the dock reacts to.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyTilde = 192;
inline constexpr int kKeySearch = 'F';  // with Ctrl: the search field
// Virtual-key codes of the lists: the group popup's, and the search's result list while
// the field holds the keyboard.
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyDown = 40;
inline constexpr std::size_t kMostSearchChars = 64;

inline constexpr int kAutoHideTicks = 7;  // idle seconds before auto-hide
inline constexpr int kDwellTicks = 3;     // dwell ticks the pointer must rest beyond
inline constexpr int kHideFadeFrames = 32;

struct DockEvent {
  enum class Kind : int {
    PointerMove,    // x, y; leftDown
    ButtonDown,     // x, y; button
    ButtonUp,       // x, y; button
    KeyDown,        // key; alt, ctrl
    KeyUp,          // key
    Tick,           // timer; LeavePoll: x, y the cursor; Foreground: flag = the foreground
                    // window is one of the program's; RecycleBin: flag = the bin has items
    Start,          // the program has started: show the dock in front
    AltSpace,       // the hot key: activate
    EscCancel,      // dismiss (commands, launching)
    SetMode,        // mode: MinWindows (commands)
    ToggleShown,    // the tray: hidden <-> expanded, without animation
    CancelPress,    // the mouse was taken away mid-press: the lifted icon goes back
    Exit,           // DockFocus(false), then the program's orderly exit
    Refresh,        // items changed (icons, titles): read the slots again and redraw
    PopupClosed,    // the popup closed itself
    PopupActivity,  // flag: a popup row is hovered or dragged (keeps auto-hide waiting)
    ShowOrHide,     // the show/hide hot key: hide an active dock, else activate it; no fade
    DragOver,       // files dragged from another program: x, y; flag = paths on offer
    DragLeave,      // the drag left the dock or was called off
    Drop,           // x, y; paths: what was dropped
    Typed           // text: characters typed (UTF-8), for the search field
  };
  Kind kind = Kind::PointerMove;
  int x = 0, y = 0;
  bool leftDown = false;
  MouseButton button = MouseButton::Left;
  int key = 0;
  bool alt = false;
  bool ctrl = false;
  std::string text;
  DockTimer timer = DockTimer::LeavePoll;
  bool flag = false;
  DockMode mode = DockMode::Expanded;
  std::vector<std::string> paths;

  static DockEvent Move(int x, int y, bool leftDown = false);
  static DockEvent Down(MouseButton button, int x, int y);
  static DockEvent Up(MouseButton button, int x, int y);
  static DockEvent Key(int key, bool alt = false, bool ctrl = false);
  static DockEvent Typed(std::string text);
  static DockEvent KeyRelease(int key);
  static DockEvent TimerTick(DockTimer timer, int x = 0, int y = 0, bool flag = false);
  static DockEvent Simple(Kind kind);
  static DockEvent Mode(DockMode mode);
  static DockEvent DragAt(int x, int y, bool filesOnOffer);
  static DockEvent DropAt(int x, int y, std::vector<std::string> paths);
};

// What the dock asks of its own windows.
class DockPorts {
 public:
  virtual ~DockPorts() = default;
  virtual void SetTimer(DockTimer timer, bool on) = 0;
  // Top-most and holding the keyboard / below every other window.
  virtual void BringToFront() = 0;
  virtual void SendToBottom() = 0;
  // A hidden dock takes its windows off the screen.
  virtual void ShowWindows(bool visible) = 0;
  // Top-most without taking the keyboard, while files are dragged over a dock lying on
  // the desktop.
  virtual void RaiseForDrop() {}
  // The search field takes typed text (the input method composes for it) / the dock's
  // keys drive it directly again.
  virtual void SetTextInput(bool /*on*/) {}
};

// What the dock asks of the rest of the program.
class DockActions {
 public:
  virtual ~DockActions() = default;
  virtual void LaunchItem(int item) = 0;
  virtual void RunCommand(int command) = 0;
  virtual void OpenPopup(int slot) = 0;
  virtual void ClosePopup() = 0;
  virtual void OpenContextMenu(int slot) = 0;
  // Asks the user where needed; true when the item was deleted.
  virtual bool DeleteItem(int item) = 0;
  virtual void SaveStore() = 0;
  virtual void ShowQuickStart() = 0;
  // Ends the program in order (after the dock's fade-out is on screen).
  virtual void EndProgram() = 0;
  // Files were dropped on ring slot `slot` (0 the centre): add, group or recycle them.
  virtual void DropFiles(int /*slot*/, std::vector<std::string> /*paths*/) {}
  // The search's result list beside the disc: these items in order, the first one
  // highlighted, without taking the keyboard from the field. The dock closes it with
  // ClosePopup.
  virtual void ShowSearchResults(const std::vector<int>& /*items*/) {}
  // A key for the result list while the field holds the keyboard: arrows, page keys and
  // Enter (which starts the highlighted result, else the first).
  virtual void SearchListKey(int /*key*/) {}
};

// Asks for nothing: the actions of a dock that only draws (tests, benchmarks).
class IgnoredDockActions : public DockActions {
 public:
  void LaunchItem(int) override {}
  void RunCommand(int) override {}
  void OpenPopup(int) override {}
  void ClosePopup() override {}
  void OpenContextMenu(int) override {}
  bool DeleteItem(int) override { return false; }
  void SaveStore() override {}
  void ShowQuickStart() override {}
  void EndProgram() override {}
};

// How far the pointer may tremble before a press becomes a drag (the system's drag
// rectangle: SM_CXDRAG x SM_CYDRAG centred on the press point).
struct DragThreshold {
  int cx = 4, cy = 4;
};

class DockController {
 public:
  // `gb` converts text to code page 936 for the pinyin initials of the search; without
  // it only titles and file names are matched.
  DockController(DockView& view, FramePacer& pacer, DockPorts& ports, DockActions& actions,
                 ShortcutStore& store, const Settings& settings, DragThreshold drag = {},
                 const AnsiCodec* gb = nullptr);

  // Handles the event now, or, while an animation plays or another event is being handled,
  // after it, in order of arrival.
  void Handle(const DockEvent& event);
  // The animation has finished: handles what arrived meanwhile.
  void Resume();

  const DockState& state() const { return view_.state(); }
  bool hidden() const { return hidden_; }
  bool popupOpen() const { return popupOpen_; }
  int contextSlot() const { return contextSlot_; }
  int idleTicks() const { return idleTicks_; }
  bool timerOn(DockTimer timer) const { return timers_[static_cast<std::size_t>(timer)]; }
  // Events waiting for an animation or for the current event to finish.
  std::size_t queued() const { return events_.waiting().size(); }
  // The search field is open; what it found for its text.
  bool searching() const { return view_.state().searching; }
  const std::vector<int>& searchResults() const { return results_; }

 private:
  // The operations other parts of the program reach through events, by their names.
  void AltSpace();
  void EscCancel();
  void MinWindows(DockMode mode);
  void IconClick(int how);
  DockState& state() { return view_.state(); }
  void Dispatch(const DockEvent& event);
  void Drain();
  void OnPointerMove(int x, int y, bool leftDown);
  void OnButtonDown(MouseButton button, int x, int y);
  void OnButtonUp(MouseButton button, int x, int y);
  void OnKeyDown(int key, bool alt, bool ctrl);
  void OnKeyUp(int key);
  void OnTick(const DockEvent& event);
  void OnLeavePoll(int x, int y);
  void OnForegroundWatch(bool foregroundIsOurs);
  void OnRecycleBinWatch(bool hasItems);
  void OnAutoHide();
  void OnDwell();
  void Start();
  void ToggleShown();
  void ShowOrHide();
  void DockFocus(bool show);
  // Lets go of a pressed or lifted icon without acting on it.
  void CancelPress();
  void Redraw();
  void OpenPopup(int slot);
  void ClosePopup();
  void SetTimer(DockTimer timer, bool on);
  // Window effects that must wait until the frames drawn before them are on screen.
  void SendToBottom();
  void BringToFront();
  void ShowWindows(bool visible);
  void Defer(std::function<void()> action);
  int SlotCount() const;
  const ShortcutItem& Item(int number) const;
  bool OutsideDragRectangle(int x, int y) const;
  // Files dragged from another program: the badge under the pointer, the drop.
  void OnDragOver(int x, int y, bool filesOnOffer);
  void EndDragOver();
  void OnDrop(int x, int y, std::vector<std::string> paths);
  void DrawDropBadge();
  // The search field on the disc: opened by Ctrl+F, fed with typed text, closed by Esc,
  // by a launch from its list and by anything that takes the dock away.
  void BeginSearch();
  void EndSearch();
  void OnTyped(const std::string& text);
  void OnSearchKey(int key, bool alt);
  void RunSearch();

  DockView& view_;
  FramePacer& pacer_;
  DockPorts& ports_;
  DockActions& actions_;
  ShortcutStore& store_;
  const Settings& settings_;
  DragThreshold drag_;

  bool hidden_ = false;
  bool popupOpen_ = false;
  bool popupActive_ = false;  // a popup row is hovered or dragged
  int contextSlot_ = -1;
  int idleTicks_ = 0;
  bool pressed_ = false;
  int pressX_ = 0, pressY_ = 0;
  bool leftDown_ = false;
  struct Dwell {
    int x = 0, y = 0, ticks = 0;
  } dwell_;
  std::array<bool, kDockTimerCount> timers_{};

  // The badge shown while files are dragged over the ring (skin number, 0 for none) and
  // where; empty while no such drag is under way.
  struct DropBadgeAt {
    int skin = 0, x = 0, y = 0;
    friend bool operator==(const DropBadgeAt&, const DropBadgeAt&) = default;
  };
  std::optional<DropBadgeAt> dropBadge_;
  bool raisedForDrop_ = false;

  const AnsiCodec* gb_ = nullptr;
  std::vector<SearchEntry> searchIndex_;  // built when the field opens
  std::vector<int> results_;

  EventQueue<DockEvent> events_;
};

}  // namespace kivo
