// A broken invariant ends the fuzz run with a crash libFuzzer reports and keeps.
#pragma once

#include <cstdlib>

namespace kivo::fuzz {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace kivo::fuzz
