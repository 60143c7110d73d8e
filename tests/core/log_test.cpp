#include "core/log.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/memory_file_system.h"

namespace kivo {
namespace {

constexpr LogTime kTime{2024, 5, 1, 9, 4, 7, 35};

TEST(LogLine, FormatAndRotation) {
  const std::pair<std::string, std::string> rows[] = {
      {"two\r\nlines\tand\x7f", "two  lines and "},
      // Cut at 1024 bytes would split "日": the whole character goes.
      {std::string(1022, 'a') + "日志", std::string(1022, 'a') + "..."},
  };
  for (const auto& [message, shown] : rows) {
    EXPECT_EQ(FormatLogLine(kTime, LogLevel::Error, message),
              "2024-05-01 09:04:07.035 ERROR " + shown + "\r\n");
  }
  // A line longer than the limit still goes into an empty file.
  EXPECT_TRUE(!LogNeedsRotation(0, 500, 100) && LogNeedsRotation(91, 10, 100));
}

class LogFileTest : public ::testing::Test {
 protected:
  testing::MemoryFileSystem fs;
  const std::string path = "C:\\Data\\Kivo.log";
  static std::string Line(int n) {  // 30 bytes
    return ("line " + std::to_string(n) + std::string(28, '.')).substr(0, 28) + "\r\n";
  }
};

// Whatever the number of lines, neither file passes the limit, the newest line ends the
// log, and the two files together hold the newest lines in order without a gap.
TEST_F(LogFileTest, RotationKeepsBothFilesBoundedAndTheNewestLinesInOrder) {
  LogFile log(fs, path, 100);
  std::string all;
  for (int n = 1; n <= 25; ++n) {
    ASSERT_TRUE(log.Append(Line(n)));
    all += Line(n);
    const std::string current = fs.Get(path).value_or("");
    const std::string older = fs.Get(OlderLogPath(path)).value_or("");
    ASSERT_LE(std::max(current.size(), older.size()), 100u) << n;
    ASSERT_TRUE(current.ends_with(Line(n))) << n;
    ASSERT_TRUE(all.ends_with(older + current)) << n;
  }
}

TEST_F(LogFileTest, AFileThatCannotBeMovedAsideIsRemovedAndOneThatStaysTakesNoMore) {
  LogFile log(fs, path, 60);
  ASSERT_TRUE(log.Append(Line(1)) && log.Append(Line(2)));
  fs.failReplace = true;
  ASSERT_TRUE(log.Append(Line(3)));  // removed, started again
  EXPECT_EQ(fs.Get(path), Line(3));
  EXPECT_FALSE(fs.Get(OlderLogPath(path)));
  ASSERT_TRUE(log.Append(Line(4)));
  fs.readOnlyPrefix = "C:\\Data\\";
  EXPECT_FALSE(log.Append(Line(5)));
  EXPECT_EQ(fs.Get(path), Line(3) + Line(4));
  fs.readOnlyPrefix.clear();
  fs.failReplace = false;
  ASSERT_TRUE(log.Append(Line(6)));  // measured again, moved aside
  EXPECT_EQ(fs.Get(path), Line(6));
}

TEST(LogTest, CaughtExceptionsAreDescribedWhateverTheirType) {
  const auto describe = [](auto thrown) {
    try {
      throw thrown;
    } catch (...) {
      return DescribeCurrentException();
    }
  };
  EXPECT_EQ(describe(std::runtime_error("disk gone")), "disk gone");
  EXPECT_EQ(describe(42), "unknown exception");
}

}  // namespace
}  // namespace kivo
