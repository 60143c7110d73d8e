// One running copy per user session: a named mutex held for the life of the process.
#pragma once

#include "platform/win32/handles.h"

namespace kivo::win {

class SingleInstance {
 public:
  // Tries to become the one instance; false when another copy already runs.
  [[nodiscard]] bool Acquire();

 private:
  UniqueKernelHandle mutex_;
};

}  // namespace kivo::win
