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
      {3, 1, "1 Bytes (3 Items) right now."},
      {3, 1023, "1023 Bytes (3 Items) right now."},
      {3, 1024, "1.KB (3 Items) right now."},  // no fraction: the point stays
      {3, 1536, "1.5KB (3 Items) right now."},
      {3, 1034, "1.01KB (3 Items) right now."},
      {3, 1152, "1.13KB (3 Items) right now."},      // 1.125 rounds away from zero
      {3, 1029, "1.KB (3 Items) right now."},        // 1.0049 rounds down to a whole number
      {3, kMb - 1, "1024.KB (3 Items) right now."},  // no thousands separator in KB
      {3, kMb, "1.MB (3 Items) right now."},
      {3, kMb * 12345 / 10, "1,234.5MB (3 Items) right now."},
      {3, kMb * 100007 / 100 + 1, "1,000.07MB (3 Items) right now."},
      {3, (std::int64_t{1} << 31) - 1, "2,048.MB (3 Items) right now."},
      {42, std::int64_t{1} << 31, "over 2GB right now!"},
      {42, std::int64_t{1} << 50, "over 2GB right now!"},
      // A bin of items without size, or of bytes the shell cannot count as items.
      {1, 0, "0 Byte (1 Items) right now."},
      {0, 700, "700 Bytes (0 Items) right now."},
  };
  for (const auto& [items, size, report] : cases) {
    EXPECT_EQ(CheckRecycleBinMessage({items, size}),
              (ShellMessage{
                  "Your Recycle Bin consumes " + report + "\r\nDo you want to empty Recycle Bin?",
                  "Recycle Bin", MessageButtons::YesNo, MessageIcon::Question, false, true}))
        << size;
  }
}

TEST(CheckRecycleBinMessage, AnEmptyBinIsOnlyReportedAndNothingElseIsAsked) {
  const ShellMessage empty = CheckRecycleBinMessage({0, 0});
  EXPECT_EQ(empty,
            (ShellMessage{"Your Recycle Bin consumes 0 Byte (0 Item) right now.", "Recycle Bin",
                          MessageButtons::Ok, MessageIcon::Information, false, false}));
  // Nonsense from the shell counts as nothing.
  EXPECT_EQ(CheckRecycleBinMessage({-1, -5}), empty);
  EXPECT_FALSE(EmptyRecycleBinQuestion({0, 0}));
  EXPECT_FALSE(RecycleBinHasItems({0, 0}));
  for (const RecycleBinState bin : {RecycleBinState{1, 0}, RecycleBinState{0, 1}}) {
    EXPECT_TRUE(RecycleBinHasItems(bin));
    EXPECT_EQ(EmptyRecycleBinQuestion(bin),
              (ShellMessage{"Are you sure you want to empty the Recycle Bin?", "Empty Recycle Bin",
                            MessageButtons::YesNo, MessageIcon::Question, true, true}));
  }
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
  const int writes = registry.writeCount;
  EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1);
  EXPECT_EQ(registry.writeCount, writes) << "already in place: nothing is written again";

  // A stale, unquoted or foreign entry is replaced.
  for (const std::string& old : {"C:\\Old\\KivoLauncher.exe"s, program, "\"D:\\Other.exe\""s}) {
    PutEntry(old);
    EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1) << old;
    EXPECT_EQ(Entry(), quoted) << old;
  }

  // A path the code page cannot hold, or none, is not written.
  testing::MemoryRegistry untouched;
  EXPECT_EQ(SetAutoRun(untouched, codec, "C:\\\xF0\x9F\x98\x80\\KivoLauncher.exe", true), 0);
  EXPECT_EQ(SetAutoRun(untouched, codec, "", true), 0);
  EXPECT_EQ(untouched.writeCount, 0);
}

TEST_F(SetAutoRunTest, DisableRemovesOnlyThisProgramsEntry) {
  for (const std::string& ours :
       {quoted, program, "\"c:\\program files\\KIVO 启动器\\kivolauncher.EXE\""s}) {
    PutEntry(ours);
    EXPECT_EQ(SetAutoRun(registry, codec, program, false), 0) << ours;
    EXPECT_EQ(Entry(), "<none>") << ours;
  }
  EXPECT_EQ(SetAutoRun(registry, codec, program, false), 0) << "none at all";

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

TEST(DesktopIconsCommand, TitleOffersTheOppositeOnlyOnTheBuiltInCommand) {
  ShortcutStore store;
  ShortcutItem& item = store.Items[kDesktopIconsCommandItem];
  item.Title = "自定义";
  UpdateDesktopIconsCommand(store, true);
  EXPECT_EQ(item.Title, "自定义") << "not a built-in command";
  item.ItemType = kItemBuiltInCommand;
  UpdateDesktopIconsCommand(store, true);
  EXPECT_EQ(item.Title, "总是显示桌面图标");
  UpdateDesktopIconsCommand(store, false);
  EXPECT_EQ(item.Title, "总是隐藏桌面图标");
}

}  // namespace
}  // namespace kivo
