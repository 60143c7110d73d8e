#pragma once

#include <algorithm>
#include <string>

namespace kivo::test {

// A Linux path as Wine shows it (drive Z: is the root).
inline std::string WinePath(std::string linuxPath) {
  std::replace(linuxPath.begin(), linuxPath.end(), '/', '\\');
  return "Z:" + linuxPath;
}

}  // namespace kivo::test
