#include "core/log.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <utility>

namespace kivo {
namespace {

std::atomic<LogSink*> g_sink{nullptr};

// The length of `text` cut to at most `limit` bytes without splitting a UTF-8 character.
std::size_t WholeCharacters(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t end = limit;
  // Continuation bytes are 10xxxxxx: step back to the start of the character they belong to.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end;
}

}  // namespace

const char* LogLevelName(LogLevel level) {
  switch (level) {
    case LogLevel::Info:
      return "INFO";
    case LogLevel::Warning:
      return "WARN";
    case LogLevel::Error:
      return "ERROR";
  }
  return "ERROR";
}

std::string FormatLogLine(const LogTime& time, LogLevel level, std::string_view message) {
  char stamp[40];
  std::snprintf(stamp, sizeof(stamp), "%04d-%02d-%02d %02d:%02d:%02d.%03d ", time.year, time.month,
                time.day, time.hour, time.minute, time.second, time.millisecond);
  std::string line = stamp;
  line += LogLevelName(level);
  line += ' ';
  const std::size_t kept = WholeCharacters(message, kLogMessageMaxBytes);
  for (std::size_t i = 0; i < kept; ++i) {
    const auto c = static_cast<unsigned char>(message[i]);
    line += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
  }
  if (kept < message.size()) line += "...";
  line += "\r\n";
  return line;
}

std::string OlderLogPath(const std::string& logFile) {
  return logFile + kOlderLogSuffix;
}

bool LogNeedsRotation(std::uint64_t currentBytes, std::uint64_t addingBytes,
                      std::uint64_t maxBytes) {
  return currentBytes > 0 && currentBytes + addingBytes > maxBytes;
}

LogFile::LogFile(FileSystem& fs, std::string path, std::uint64_t maxBytes)
    : fs_(fs), path_(std::move(path)), maxBytes_(maxBytes) {}

bool LogFile::Append(const std::string& line) {
  if (!size_) size_ = fs_.FileExists(path_) ? fs_.FileSize(path_) : std::uint64_t{0};
  if (!size_) return false;  // there but unreadable: ask again next time
  if (LogNeedsRotation(*size_, line.size(), maxBytes_)) {
    if (!fs_.MoveReplacing(path_, OlderLogPath(path_)) && !fs_.RemoveFile(path_)) {
      size_.reset();
      return false;
    }
    size_ = 0;
  }
  if (!fs_.AppendFile(path_, line)) {
    size_.reset();
    return false;
  }
  *size_ += line.size();
  return true;
}

void SetLogSink(LogSink* sink) noexcept {
  g_sink.store(sink);
}

void Log(LogLevel level, std::string_view message) noexcept {
  if (LogSink* sink = g_sink.load()) sink->Write(level, message);
}

std::string DescribeCurrentException() {
  if (!std::current_exception()) return "no exception";
  try {
    throw;
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "unknown exception";
  }
}

void LogCurrentException(std::string_view where) noexcept {
  try {
    Log(LogLevel::Error, std::string(where) + ": " + DescribeCurrentException());
  } catch (...) {
    // Out of memory while describing it: the bare place still says something.
    Log(LogLevel::Error, where);
  }
}

void LogCurrentException(std::string_view where, std::uint32_t message) noexcept {
  char number[32];
  std::snprintf(number, sizeof(number), " (message 0x%04X)", static_cast<unsigned>(message));
  try {
    LogCurrentException(std::string(where) + number);
  } catch (...) {
    Log(LogLevel::Error, where);
  }
}

}  // namespace kivo
