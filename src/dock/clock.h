// The pauses between animation frames. Animations run inside one handler and block it
// for their few frames; the Win32 adapter sleeps, tests record the pauses instead.
#pragma once

namespace kivo {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(int milliseconds) = 0;
};

}  // namespace kivo
