// What this process holds, as a user or a soak run watches it: GDI and USER objects, windows
// and memory. Read only on request; nothing here runs unless asked.
#pragma once

#include <cstdint>

namespace kivo::win {

enum class ProcessFigure : int {
  GdiObjects = 0,
  UserObjects = 1,  // as the system counts them (Wine answers 0)
  Windows = 2,      // top-level and child windows of this process
  PrivateBytes = 3,
  WorkingSet = 4,
  PeakWorkingSet = 5,
};
inline constexpr int kProcessFigureCount = 6;

// The figure now, or -1 when the system cannot say.
std::int64_t ReadProcessFigure(ProcessFigure figure);

}  // namespace kivo::win
