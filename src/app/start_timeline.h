// Where a start spends its time, for the one measuring it: with KIVO_START_TIMELINE naming a
// file, each phase of the start up to the dock's first presented frame is written there.
// Without it every call returns at once; nothing is timed or kept.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kivo {

class StartTimeline {
 public:
  StartTimeline();
  // The end of a phase (a literal: kept as given).
  void Mark(const char* phase) {
    if (on_) Record(phase);
  }
  // Still waiting for the first frame.
  bool waiting() const { return on_; }
  // The last phase; writes the file with the memory at that moment, then stops.
  void Finish(const char* phase);

 private:
  struct Step {
    const char* phase;
    LONGLONG ticks;
  };
  void Record(const char* phase);

  bool on_ = false;
  std::wstring file_;
  LONGLONG frequency_ = 1;
  LONGLONG began_ = 0;
  double sinceProcessStartMs_ = 0;  // from the process's creation to this object's
  std::vector<Step> steps_;
};

}  // namespace kivo
