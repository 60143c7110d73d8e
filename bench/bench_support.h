// What the benchmarks share: a millisecond clock and the pictures they use as icons.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/unicode.h"

namespace kivo::bench {

inline double NowMs() {
  LARGE_INTEGER frequency{}, counter{};
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The PNG files of a folder, sorted.
inline std::vector<std::string> PngFilesIn(const std::wstring& folder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAW found{};
  const HANDLE find = ::FindFirstFileW((folder + L"\\*.png").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do files.push_back(win::Narrow(folder + L"\\" + found.cFileName));
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace kivo::bench
