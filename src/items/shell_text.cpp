#include "items/shell_text.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/text.h"

namespace kivo {

int ParseIndex(std::string_view text) {
  const std::string clean = CleanText(text);
  std::size_t pos = 0;
  bool negative = false;
  if (pos < clean.size() && (clean[pos] == '-' || clean[pos] == '+')) {
    negative = clean[pos] == '-';
    ++pos;
  }
  std::int64_t magnitude = 0;
  constexpr std::int64_t kLimit = std::int64_t{INT_MAX} + 1;
  for (; pos < clean.size() && clean[pos] >= '0' && clean[pos] <= '9'; ++pos) {
    magnitude = std::min(magnitude * 10 + (clean[pos] - '0'), kLimit);
  }
  const std::int64_t value = negative ? -magnitude : std::min<std::int64_t>(magnitude, INT_MAX);
  return static_cast<int>(value);
}

std::string CommandProgram(std::string_view command) {
  constexpr std::string_view kExeSuffix = ".EXE";
  const std::size_t at = AsciiUpper(command).find(kExeSuffix);
  if (at == std::string::npos) return {};
  std::string program = CleanText(command.substr(0, at + kExeSuffix.size()));
  if (!program.empty() && program.front() == '"') program.erase(0, 1);
  return program;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() &&
         AsciiUpper(text.substr(text.size() - tail.size())) == AsciiUpper(tail);
}

}  // namespace kivo
