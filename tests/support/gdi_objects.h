// How many GDI objects this process holds. Only differences between two counts mean
// anything: the first DC a process makes also creates a few stock objects.
#pragma once

#include "platform/win32/process_figures.h"

namespace kivo::test {

inline long GdiObjectCount() {
  return static_cast<long>(win::ReadProcessFigure(win::ProcessFigure::GdiObjects));
}

}  // namespace kivo::test
