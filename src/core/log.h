// The program's log: one line for each thing that went wrong where nobody else would hear
// of it (an exception stopped at a window procedure, a data file that could not be saved).
//
// The file is "Kivo.log" in the data folder (beside the program in a portable copy). It
// grows to at most kLogFileMaxBytes; the line that would take it past that first moves it
// to "Kivo.log.1", replacing the copy there, so at most twice that lies on the disk and the
// newest lines are always in "Kivo.log".
//
// A line reads "2024-05-01 13:04:59.123 ERROR what happened" and ends with CR LF, so that
// Notepad shows it; the text is UTF-8 with any control character turned into a blank, so
// one entry is always one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/file_system.h"

namespace kivo {

inline constexpr const char* kLogFileName = "Kivo.log";
inline constexpr const char* kOlderLogSuffix = ".1";
inline constexpr std::uint64_t kLogFileMaxBytes = 256 * 1024;
// A longer message is cut (at a whole character) and ends with "...".
inline constexpr std::size_t kLogMessageMaxBytes = 1024;

enum class LogLevel { Info, Warning, Error };

// Local wall-clock time, as the system reports it.
struct LogTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// "INFO", "WARN" or "ERROR".
const char* LogLevelName(LogLevel level);

// One whole line with its CR LF.
std::string FormatLogLine(const LogTime& time, LogLevel level, std::string_view message);

// The path of the one older copy kept of `logFile`.
std::string OlderLogPath(const std::string& logFile);

// Whether a file of `currentBytes` must be moved aside before `addingBytes` more go on it.
// A line never moves away an empty file, so that even a line longer than the limit is kept.
bool LogNeedsRotation(std::uint64_t currentBytes, std::uint64_t addingBytes,
                      std::uint64_t maxBytes);

// Appends lines to the log file, moving it aside when it is full. Not thread-safe: its
// owner serialises the calls.
class LogFile {
 public:
  LogFile(FileSystem& fs, std::string path, std::uint64_t maxBytes = kLogFileMaxBytes);

  // False when the line could not be written (it is then lost; the next one tries again).
  // A file that can be neither moved aside nor removed takes no more lines, so the log
  // never grows past its limit.
  bool Append(const std::string& line);

  const std::string& path() const { return path_; }

 private:
  FileSystem& fs_;
  std::string path_;
  std::uint64_t maxBytes_;
  std::optional<std::uint64_t> size_;  // known size of the file, asked for again after a failure
};

// Where log lines go; set once the program knows its data folder.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void Write(LogLevel level, std::string_view message) noexcept = 0;
};

// The sink must outlive every call to Log; nullptr drops the lines.
void SetLogSink(LogSink* sink) noexcept;

// Hands the message to the sink, if any. Never throws.
void Log(LogLevel level, std::string_view message) noexcept;

// What the exception being handled says: its what() for a standard exception, "unknown
// exception" for anything else, "no exception" outside a handler.
std::string DescribeCurrentException();

// For a catch (...) block: logs `where` and what the exception being handled says, as an
// error. `message` names the window message being handled, when there is one.
void LogCurrentException(std::string_view where) noexcept;
void LogCurrentException(std::string_view where, std::uint32_t message) noexcept;

}  // namespace kivo
