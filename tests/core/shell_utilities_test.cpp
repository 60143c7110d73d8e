#include "core/shell_utilities.h"

#include <gtest/gtest.h>

#include "support/iconv_codec.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

constexpr std::int64_t kMb = 1048576;
const std::string kOffer = "\r\nDo you want to empty Recycle Bin?";

TEST(CheckRecycleBinMessage, ReportsTheSizeInTheLargestFittingUnit) {
  const std::pair<std::int64_t, std::string> cases[] = {
      {1, "1 Bytes"},
      {1023, "1023 Bytes"},
      {1024, "1.KB"},  // no fraction: the point stays
      {1536, "1.5KB"},
      {1034, "1.01KB"},
      {1152, "1.13KB"},      // 1.125 rounds away from zero
      {1029, "1.KB"},        // 1.0049 rounds down to a whole number
      {kMb - 1, "1024.KB"},  // no thousands separator in KB
      {kMb, "1.MB"},
      {12 * kMb, "12.MB"},
      {kMb * 12345 / 10, "1,234.5MB"},
      {kMb * 100007 / 100 + 1, "1,000.07MB"},
      {(std::int64_t{1} << 31) - 1, "2,048.MB"},
  };
  for (const auto& [size, amount] : cases) {
    const ShellMessage message = CheckRecycleBinMessage({3, size});
    EXPECT_EQ(message.text,
              "Your Recycle Bin consumes " + amount + " (3 Items) right now." + kOffer)
        << size;
    EXPECT_EQ(message.title, "Recycle Bin");
    EXPECT_EQ(message.buttons, MessageButtons::YesNo);
    EXPECT_EQ(message.icon, MessageIcon::Question);
    EXPECT_TRUE(message.offersEmpty);
    EXPECT_FALSE(message.defaultNo);
  }
}

TEST(CheckRecycleBinMessage, Over2GbShowsOnlyThatFact) {
  for (const std::int64_t size : {std::int64_t{1} << 31, 3 * 1024 * kMb, std::int64_t{1} << 50}) {
    const ShellMessage message = CheckRecycleBinMessage({42, size});
    EXPECT_EQ(message.text, "Your Recycle Bin consumes over 2GB right now!" + kOffer) << size;
    EXPECT_TRUE(message.offersEmpty);
  }
}

TEST(CheckRecycleBinMessage, EmptyAndSizelessBins) {
  const ShellMessage empty = CheckRecycleBinMessage({0, 0});
  EXPECT_EQ(empty,
            (ShellMessage{"Your Recycle Bin consumes 0 Byte (0 Item) right now.", "Recycle Bin",
                          MessageButtons::Ok, MessageIcon::Information, false, false}));
  // Nonsense from the shell counts as nothing.
  EXPECT_EQ(CheckRecycleBinMessage({-1, -5}), empty);

  const ShellMessage sizeless = CheckRecycleBinMessage({1, 0});
  EXPECT_EQ(sizeless.text, "Your Recycle Bin consumes 0 Byte (1 Items) right now." + kOffer);
  EXPECT_TRUE(sizeless.offersEmpty);
  // Bytes the shell cannot count as items still make a bin worth emptying.
  const ShellMessage countless = CheckRecycleBinMessage({0, 700});
  EXPECT_EQ(countless.text, "Your Recycle Bin consumes 700 Bytes (0 Items) right now." + kOffer);
  EXPECT_TRUE(countless.offersEmpty);
}

TEST(EmptyRecycleBinQuestion, AsksOnlyWhenThereIsSomethingToEmpty) {
  EXPECT_FALSE(EmptyRecycleBinQuestion({0, 0}));
  EXPECT_FALSE(RecycleBinHasItems({0, 0}));
  for (const RecycleBinState bin : {RecycleBinState{1, 0}, RecycleBinState{0, 1}}) {
    EXPECT_TRUE(RecycleBinHasItems(bin));
    const auto question = EmptyRecycleBinQuestion(bin);
    ASSERT_TRUE(question);
    EXPECT_EQ(*question,
              (ShellMessage{"Are you sure you want to empty the Recycle Bin?", "Empty Recycle Bin",
                            MessageButtons::YesNo, MessageIcon::Question, true, true}));
  }
}

class SetAutoRunTest : public ::testing::Test {
 protected:
  static constexpr const char* kRunSubKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string program = "C:\\Program Files\\Kivo 启动器\\KivoLauncher.exe";
  testing::IconvCodec codec{"CP936"};
  testing::MemoryRegistry registry;

  void PutEntry(const std::string& command) {
    registry.Put(RegistryRoot::CurrentUser, kRunSubKey, "Kivo Launcher",
                 {kRegSz, codec.Encode(command) + '\0'});
  }
  std::optional<std::string> Entry() {
    const auto data = registry.Get(RegistryRoot::CurrentUser, kRunSubKey, "kivo launcher");
    if (!data) return std::nullopt;
    EXPECT_EQ(data->type, kRegSz);
    return codec.Decode(data->bytes);
  }
};

TEST_F(SetAutoRunTest, EnableWritesTheQuotedProgramPath) {
  EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1);
  EXPECT_EQ(Entry(), '"' + program + '"' + '\0');

  // Already in place: nothing is written again.
  const int writes = registry.writeCount;
  EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1);
  EXPECT_EQ(registry.writeCount, writes);
}

TEST_F(SetAutoRunTest, EnableReplacesAStaleOrUnquotedEntry) {
  const std::string olds[] = {"C:\\Old\\KivoLauncher.exe", program, "\"D:\\Other.exe\""};
  for (const std::string& old : olds) {
    PutEntry(old);
    EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1) << old;
    EXPECT_EQ(Entry(), '"' + program + '"' + '\0') << old;
  }
}

TEST_F(SetAutoRunTest, DisableRemovesOnlyThisProgramsEntry) {
  const std::string entries[] = {'"' + program + '"', program,
                                 "\"c:\\program files\\KIVO 启动器\\kivolauncher.EXE\""};
  for (const std::string& ours : entries) {
    PutEntry(ours);
    EXPECT_EQ(SetAutoRun(registry, codec, program, false), 0) << ours;
    EXPECT_FALSE(Entry()) << ours;
  }

  PutEntry("\"C:\\Other\\Launcher.exe\"");
  const auto before = registry.Contents();
  EXPECT_EQ(SetAutoRun(registry, codec, program, false), 0);
  // A command with arguments is not this program's own entry either.
  PutEntry('"' + program + "\" /min");
  EXPECT_EQ(SetAutoRun(registry, codec, program, false), 0);
  EXPECT_EQ(Entry(), '"' + program + "\" /min" + '\0');
  PutEntry("\"C:\\Other\\Launcher.exe\"");
  EXPECT_EQ(registry.Contents(), before);

  testing::MemoryRegistry empty;
  EXPECT_EQ(SetAutoRun(empty, codec, program, false), 0);
  EXPECT_EQ(empty.writeCount, 0);
}

TEST_F(SetAutoRunTest, TheResultTellsWhatTheEntryHoldsWhenWritingFails) {
  registry.Lock(RegistryRoot::CurrentUser, kRunSubKey);
  EXPECT_EQ(SetAutoRun(registry, codec, program, true), 0);
  EXPECT_FALSE(Entry());

  PutEntry(program);
  // Still starts the program: enabling is as good as done, disabling failed.
  EXPECT_EQ(SetAutoRun(registry, codec, program, true), 1);
  EXPECT_EQ(SetAutoRun(registry, codec, program, false), 1);
  EXPECT_EQ(Entry(), program + '\0');
}

TEST_F(SetAutoRunTest, APathTheCodePageCannotHoldIsNotWritten) {
  const std::string unusual = "C:\\\xF0\x9F\x98\x80\\KivoLauncher.exe";
  EXPECT_EQ(SetAutoRun(registry, codec, unusual, true), 0);
  EXPECT_EQ(SetAutoRun(registry, codec, "", true), 0);
  EXPECT_EQ(registry.writeCount, 0);
}

TEST(DesktopIconsCommand, TitleOffersTheOppositeOnlyOnTheBuiltInCommand) {
  ShortcutStore store;
  store.Items[kDesktopIconsCommandItem].Title = "自定义";
  UpdateDesktopIconsCommand(store, true);
  EXPECT_EQ(store.Items[kDesktopIconsCommandItem].Title, "自定义") << "not a built-in command";

  store.Items[kDesktopIconsCommandItem].ItemType = kItemBuiltInCommand;
  UpdateDesktopIconsCommand(store, true);
  EXPECT_EQ(store.Items[kDesktopIconsCommandItem].Title, "总是显示桌面图标");
  UpdateDesktopIconsCommand(store, false);
  EXPECT_EQ(store.Items[kDesktopIconsCommandItem].Title, "总是隐藏桌面图标");
  EXPECT_EQ(store.Items[kDesktopIconsCommandItem + 1].Title, "");
}

}  // namespace
}  // namespace kivo
