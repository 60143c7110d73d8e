// Plays the dock's animations without blocking the message loop. The frame routines draw a
// whole animation at once, pausing between frames through the Clock port; the pacer keeps
// the frames and pauses in order and hands each frame on when its time has come. Between
// frames the message loop runs (painting, the tray, other windows), and whatever must wait
// for the animation (z-order, hiding the windows, input) is queued behind its frames.
#pragma once

#include <deque>
#include <functional>
#include <variant>

#include "dock/clock.h"
#include "render/display_list.h"

namespace kivo {

class FramePacer : public Clock {
 public:
  // `present` shows one frame; `schedule` asks for a call to Tick after that many
  // milliseconds and says whether one will come (when not, the pause is skipped rather
  // than waited for for ever).
  FramePacer(std::function<void(const Frame&)> present, std::function<bool(int)> schedule)
      : present_(std::move(present)), schedule_(std::move(schedule)) {}

  // A finished frame: shown now when nothing is waiting, otherwise after what is queued.
  void Push(const Frame& frame);
  // The pause after the last frame (the Clock port of the frame routines).
  void Sleep(int milliseconds) override;
  // Runs `action` now when nothing is waiting, otherwise once the frames before it are shown.
  void Then(std::function<void()> action);
  // The pause has passed: shows what follows it, up to the next pause.
  void Tick();
  // Frames or a pause are still to come.
  bool busy() const { return pausing_; }
  // Called whenever the pacer becomes idle again after an animation.
  void SetOnIdle(std::function<void()> onIdle) { onIdle_ = std::move(onIdle); }

 private:
  struct Pause {
    int milliseconds = 0;
  };
  using Step = std::variant<Frame, Pause, std::function<void()>>;
  void Drain();

  std::function<void(const Frame&)> present_;
  std::function<bool(int)> schedule_;
  std::function<void()> onIdle_;
  std::deque<Step> queue_;
  bool pausing_ = false;  // a pause is under way; everything new waits behind it
};

}  // namespace kivo
