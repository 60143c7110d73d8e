// The order in which a window's state machine (the dock's, the popup's) handles its events:
// one at a time, never while an animation's frames are still being shown, and never
// re-entered by an event that arrives while a handler waits for the user.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "dock/frame_pacer.h"

namespace kivo {

// `Event` has `kind`, `leftDown`, `flag` and `timer` members and a `Kind` with Tick.
template <typename Event>
class EventQueue {
 public:
  explicit EventQueue(FramePacer& pacer) : pacer_(pacer) {}

  // Queues the event. Input that arrives while a handler waits for the user (a question
  // asked before deleting) belongs to nothing the user sees and is dropped, as a window
  // disabled under a modal box would never get it; input during an animation waits.
  // A position report (`move`: the pointer, a drag) waiting right behind another of its
  // kind is only worth the later position, and a timer that fired again while its tick
  // waits counts once, with the latest reading.
  void Push(const Event& event, bool input, bool move) {
    using Kind = typename Event::Kind;
    if (input && handling_) return;
    if (move && !queue_.empty() && queue_.back().kind == event.kind &&
        queue_.back().leftDown == event.leftDown && queue_.back().flag == event.flag) {
      queue_.back() = event;
      return;
    }
    if (event.kind == Kind::Tick) {
      const auto tick = std::find_if(queue_.begin(), queue_.end(), [&](const Event& e) {
        return e.kind == Kind::Tick && e.timer == event.timer;
      });
      if (tick != queue_.end()) {
        *tick = event;
        return;
      }
    }
    queue_.push_back(event);
  }

  // Handles what waits, in order, while no animation plays. Launching, commands, menus and
  // windows may show modal loops or call back into the machine: what a handler deferred
  // runs once the event is handled, after the frames it drew.
  template <typename Dispatch>
  void Drain(Dispatch&& dispatch) {
    while (!handling_ && !pacer_.busy() && !queue_.empty()) {
      const Event event = queue_.front();
      queue_.pop_front();
      handling_ = true;
      dispatch(event);
      handling_ = false;
      std::vector<std::function<void()>> actions;
      actions.swap(deferred_);
      for (auto& action : actions) pacer_.Then(std::move(action));
    }
  }

  void Defer(std::function<void()> action) { deferred_.push_back(std::move(action)); }
  bool handling() const { return handling_; }
  const std::deque<Event>& waiting() const { return queue_; }

 private:
  FramePacer& pacer_;
  std::deque<Event> queue_;
  std::vector<std::function<void()>> deferred_;
  bool handling_ = false;
};

}  // namespace kivo
