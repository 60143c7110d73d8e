#include "dock/frame_pacer.h"

namespace kivo {

void FramePacer::Push(const Frame& frame) {
  if (!pausing_) {
    present_(frame);
    return;
  }
  queue_.emplace_back(frame);
}

void FramePacer::Sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  if (!pausing_) {
    pausing_ = schedule_(milliseconds);
    return;
  }
  queue_.emplace_back(Pause{milliseconds});
}

void FramePacer::Then(std::function<void()> action) {
  if (!pausing_) {
    action();
    return;
  }
  queue_.emplace_back(std::move(action));
}

void FramePacer::Tick() {
  if (!pausing_) return;
  pausing_ = false;
  Drain();
  if (!pausing_ && onIdle_) onIdle_();
}

void FramePacer::Drain() {
  while (!queue_.empty()) {
    Step step = std::move(queue_.front());
    queue_.pop_front();
    if (const auto* pause = std::get_if<Pause>(&step)) {
      pausing_ = schedule_(pause->milliseconds);
      if (pausing_) return;
      continue;
    }
    if (const auto* frame = std::get_if<Frame>(&step)) {
      present_(*frame);
    } else {
      // An action may start a new animation: what it queues must come after what is still
      // waiting here, so the rest of the queue is kept in front of it.
      std::deque<Step> rest;
      rest.swap(queue_);
      std::get<std::function<void()>>(step)();
      for (auto& later : queue_) rest.push_back(std::move(later));
      queue_.swap(rest);
      if (pausing_) return;
    }
  }
}

}  // namespace kivo
