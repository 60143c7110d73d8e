// The log's Win32 sink: every line goes to the debugger (OutputDebugStringW) at once, and
// to the log file once the program knows its data folder.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "core/log.h"
#include "platform/win32/file_system_win.h"

namespace kivo::win {

class WinLogSink final : public LogSink {
 public:
  // Lines from now on also go to `file` (moved aside to "<file>.1" when full).
  void OpenFile(const std::string& file) noexcept;
  // The file in use, "" before OpenFile.
  std::string file() const;

  // Thread-safe and never throws. A line costs one small unflushed append of its own file
  // handle, well under a millisecond, so it is written at once on the caller's thread; a
  // line that cannot be written is lost, never retried.
  void Write(LogLevel level, std::string_view message) noexcept override;

 private:
  mutable std::mutex mutex_;
  WinFileSystem fs_;
  std::optional<LogFile> file_;
};

// The process's one sink, installed with SetLogSink on first use; it lives until the
// process ends, so a line from any thread at any time has somewhere to go.
WinLogSink& ProgramLog() noexcept;

}  // namespace kivo::win
