// Paths of the build as the Windows programs under test see them.
#pragma once

#include <algorithm>
#include <string>

namespace kivo::test {

// A Linux path as Wine shows it (drive Z: is the root).
inline std::string WinePath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace kivo::test
