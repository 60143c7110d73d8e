#include "platform/win32/log_win.h"

#include <windows.h>

#include "platform/win32/unicode.h"

namespace kivo::win {

void WinLogSink::OpenFile(const std::string& file) noexcept {
  try {
    const std::lock_guard lock(mutex_);
    file_.emplace(fs_, file);
  } catch (...) {
    // Without memory for the path the lines still reach the debugger.
  }
}

std::string WinLogSink::file() const {
  const std::lock_guard lock(mutex_);
  return file_ ? file_->path() : std::string();
}

void WinLogSink::Write(LogLevel level, std::string_view message) noexcept {
  try {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::string line = FormatLogLine(
        {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds},
        level, message);
    ::OutputDebugStringW(Widen("Kivo Launcher: " + line).c_str());
    const std::lock_guard lock(mutex_);
    if (file_) (void)file_->Append(line);
  } catch (...) {
    // Out of memory, or a lock the system refused: the line is lost, the caller goes on.
  }
}

WinLogSink& ProgramLog() noexcept {
  static WinLogSink sink;
  static const bool installed = (SetLogSink(&sink), true);
  (void)installed;
  return sink;
}

}  // namespace kivo::win
