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
      {3, 1023, "1023 Bytes (3 Items) right now."},
      {3, 1024, "1.KB (3 Items) right now."},        // no fraction: the point stays
      {3, 1152, "1.13KB (3 Items) right now."},      // 1.125 rounds away from zero
      {3, kMb - 1, "1024.KB (3 Items) right now."},  // no thousands separator in KB
      {3, kMb * 100007 / 100 + 1, "1,000.07MB (3 Items) right now."},
      {42, std::int64_t{1} << 31, "over 2GB right now!"},
      {1, 0, "0 Byte (1 Items) right now."},  // items without size
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
  EXPECT_FALSE(EmptyRecycleBinQuestion({0, 0}));
  EXPECT_TRUE(EmptyRecycleBinQuestion({0, 1}));
}

class SetAutoRunTest : public ::testing::Test {
 protected:
  static constexpr const char* kRunSubKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string program = "C:\\Program Files\\Kivo 启动器\\KivoLauncher.exe";
  const std::string quoted = '"' + program + '"';
  testing::IconvCodec codec{"CP936"};
  testing::MemoryRegistry registry;

  void PutEntry(const std::string& command) {
    registry.Put(RegistryRoot::CurrentUser, kRunSubKey, "Kivo Launcher",
                 {kRegSz, codec.Encode(command) + '\0'});
  }
  std::string Entry() {
    const auto data = registry.Get(RegistryRoot::CurrentUser, kRunSubKey, "kivo launcher");
    if (!data) return "<none>";
    EXPECT_EQ(data->type, kRegSz);
    return codec.Decode(data->bytes.substr(0, data->bytes.size() - 1));
  }
};

TEST_F(SetAutoRunTest, EnableWritesTheQuotedProgramPathOnce) {
  EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1);
  EXPECT_EQ(Entry(), quoted);
  // A stale, unquoted or foreign entry is replaced.
  for (const std::string& old : {"C:\\Old\\KivoLauncher.exe"s, program}) {
    PutEntry(old);
    EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1) << old;
    EXPECT_EQ(Entry(), quoted) << old;
  }

  // A path the code page cannot hold, or none, is not written.
  testing::MemoryRegistry untouched;
  EXPECT_EQ(SetAutoRun(untouched, codec, "C:\\\xF0\x9F\x98\x80\\KivoLauncher.exe", true), 0);
  EXPECT_EQ(untouched.writeCount, 0);
}

TEST_F(SetAutoRunTest, DisableRemovesOnlyThisProgramsEntry) {
  for (const std::string& ours :
       {program, "\"c:\\program files\\KIVO 启动器\\kivolauncher.EXE\""s}) {
    PutEntry(ours);
    EXPECT_EQ(SetAutoRun(registry, codec, program, false), 0) << ours;
    EXPECT_EQ(Entry(), "<none>") << ours;
  }

  // Another program's entry, or a command with arguments, is not this program's own.
  for (const std::string& other : {"\"C:\\Other\\Launcher.exe\""s, quoted + " /min"}) {
    PutEntry(other);
    const int writes = registry.writeCount;
    EXPECT_EQ(SetAutoRun(registry, codec, program, false), 0) << other;
    EXPECT_EQ(Entry(), other);
    EXPECT_EQ(registry.writeCount, writes) << other;
  }
}

TEST_F(SetAutoRunTest, TheResultTellsWhatTheEntryHoldsWhenWritingFails) {
  registry.Lock(RegistryRoot::CurrentUser, kRunSubKey);
  EXPECT_EQ(SetAutoRun(registry, codec, program, true), 0);
  EXPECT_EQ(Entry(), "<none>");

  PutEntry(program);
  // Still starts the program: enabling is as good as done, disabling failed.
  EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1);
  EXPECT_EQ(SetAutoRun(registry, codec, program, false), 1);
  EXPECT_EQ(Entry(), program);
}

}  // namespace
}  // namespace kivo
