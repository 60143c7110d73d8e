#include "core/shell_utilities.h"

#include <gtest/gtest.h>

#include "support/iconv_codec.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

using namespace std::string_literals;

constexpr std::int64_t kMb = 1048576;

TEST(CheckRecycleBinMessage, ReportsTheSizeInTheLargestFittingUnitAndOffersToEmpty) {
  const std::tuple<std::int64_t, std::int64_t, std::string> cases[] = {
      {3, 1152, "1.13KB (3 Items) right now."},  // 1.125 rounds away from zero
      {3, kMb * 100007 / 100 + 1, "1,000.07MB (3 Items) right now."},
      {42, std::int64_t{1} << 31, "over 2GB right now!"},
  };
  for (const auto& [items, size, report] : cases) {
    EXPECT_EQ(CheckRecycleBinMessage({items, size}),
              (ShellMessage{
                  "Your Recycle Bin consumes " + report + "\r\nDo you want to empty Recycle Bin?",
                  "Recycle Bin", MessageButtons::YesNo, MessageIcon::Question, false, true}))
        << size;
  }
  // An empty bin (nonsense from the shell counts as empty) is only reported.
  EXPECT_EQ(CheckRecycleBinMessage({-1, -5}).buttons, MessageButtons::Ok);
  EXPECT_TRUE(!EmptyRecycleBinQuestion({0, 0}) && EmptyRecycleBinQuestion({0, 1}));
}

TEST(SetAutoRun, WritesTheQuotedPathAndRemovesOnlyThisProgramsEntry) {
  constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string program = "C:\\Program Files\\Kivo 启动器\\KivoLauncher.exe";
  const std::string quoted = '"' + program + '"', other = "\"C:\\Other\\Launcher.exe\"";
  testing::IconvCodec codec{"CP936"};
  // (entry before, enable, locked, result, entry after)
  const std::tuple<std::string, bool, bool, int, std::string> rows[] = {
      {"<none>", true, false, 1, quoted},
      {"C:\\Old\\KivoLauncher.exe", true, false, 1, quoted},
      {program, true, false, 1, quoted},
      {"\"c:\\program files\\KIVO 启动器\\kivolauncher.EXE\"", false, false, 0, "<none>"},
      // Another program's entry, or a command with arguments, is not this program's own.
      {other, false, false, 0, other},
      {quoted + " /min", false, false, 0, quoted + " /min"},
      // When writing fails the result tells whether the entry still starts the program.
      {"<none>", true, true, 0, "<none>"},
      {program, true, true, 1, program},
      {program, false, true, 1, program},
  };
  for (const auto& [before, enable, locked, result, after] : rows) {
    testing::MemoryRegistry registry;
    if (before != "<none>") {
      registry.Put(RegistryRoot::CurrentUser, kRun, "Kivo Launcher",
                   {kRegSz, codec.Encode(before) + '\0'});
    }
    if (locked) registry.Lock(RegistryRoot::CurrentUser, kRun);
    EXPECT_EQ(SetAutoRun(registry, codec, program, enable), result) << before << enable;
    const auto data = registry.Get(RegistryRoot::CurrentUser, kRun, "kivo launcher");
    EXPECT_EQ(data ? codec.Decode(data->bytes.substr(0, data->bytes.size() - 1)) : "<none>", after)
        << before << enable;
  }
  testing::MemoryRegistry untouched;  // a path the code page cannot hold is not written
  EXPECT_EQ(SetAutoRun(untouched, codec, "C:\\\xF0\x9F\x98\x80\\K.exe", true), 0);
  EXPECT_EQ(untouched.writeCount, 0);
}

}  // namespace
}  // namespace kivo
