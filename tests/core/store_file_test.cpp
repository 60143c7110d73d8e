#include "core/store_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

constexpr std::size_t kGroup3Size = 4114;
constexpr std::size_t kGroupSize = 162;

std::int32_t ReadInt32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

void WriteInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
  }
}

std::size_t ItemOffset(int item) {
  return kGroupBlockSize + static_cast<std::size_t>(item) * kItemRecordSize;
}
std::size_t GroupOffset(int group) {
  return group == 3 ? 0 : kGroup3Size + static_cast<std::size_t>(group - 4) * kGroupSize;
}
std::size_t CountOffset(int group) {
  return GroupOffset(group) + 10 + static_cast<std::size_t>(GroupCapacity(group) + 1) * 4;
}

class StoreFile : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  ShortcutStore store;

  void SetUp() override {
    ShortcutItem& item = store.Items[130];
    item.ItemType = 5;
    item.ItemClass = 1;
    item.IsSystem = true;
    item.CommandId = 77;
    item.Reserved = -2;
    item.ItemIndex = 130;
    item.LinkPath = "C:\\Program Files\\记事本\\notepad.lnk";
    item.Title = "记事本";
    item.CustomIconFile = "D:\\icons\\my.png";
    item.IconFile = "C:\\Users\\me\\KivoIcons\\130.png";
    item.TargetPath = "C:\\Windows\\notepad.exe";
    item.Arguments = "/a \"b c\"";
    item.RunWindow = 2;
    store.Groups[4].Count = 2;
    store.Groups[4].Members[0] = 4;
    store.Groups[4].Members[1] = 130;
    store.Groups[4].Members[2] = 131;
    store.Groups[3].Count = 1024;
    for (int i = 1; i <= 1024; ++i) store.Groups[3].Members[static_cast<std::size_t>(i)] = i;
  }
};

TEST_F(StoreFile, HasTheExactLayout) {
  const std::string bytes = EncodeStoreFile(store, codec);
  ASSERT_EQ(bytes.size(), 1'338'885u);
  EXPECT_EQ(bytes.size(), 9460u + 1025u * 1297u);

  // Group 3: one dimension of 1025 elements from 0, then the members and the count.
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(ReadInt32(bytes, 2), 1025);
  EXPECT_EQ(ReadInt32(bytes, 6), 0);
  EXPECT_EQ(ReadInt32(bytes, 10 + 4 * 1024), 1024);
  EXPECT_EQ(ReadInt32(bytes, CountOffset(3)), 1024);
  // Group 4 follows with 37 elements.
  EXPECT_EQ(ReadInt32(bytes, GroupOffset(4) + 2), 37);
  EXPECT_EQ(ReadInt32(bytes, GroupOffset(4) + 10 + 4), 130);
  EXPECT_EQ(ReadInt32(bytes, CountOffset(4)), 2);
  EXPECT_EQ(ReadInt32(bytes, CountOffset(36)), 0);
  EXPECT_EQ(CountOffset(36) + 4, kGroupBlockSize);

  const std::size_t at = ItemOffset(130);
  EXPECT_EQ(ReadInt32(bytes, at + 0), 5);
  EXPECT_EQ(bytes[at + 4], 1);
  EXPECT_EQ(static_cast<unsigned char>(bytes[at + 5]), 0xFF);  // True is -1
  EXPECT_EQ(static_cast<unsigned char>(bytes[at + 6]), 0xFF);
  EXPECT_EQ(ReadInt32(bytes, at + 7), 77);
  EXPECT_EQ(static_cast<unsigned char>(bytes[at + 11]), 0xFE);
  EXPECT_EQ(ReadInt32(bytes, at + 13), 130);
  EXPECT_EQ(bytes.substr(at + 17, 3), "C:\\");
  EXPECT_EQ(bytes.substr(at + 272, 6), "\xBC\xC7\xCA\xC2\xB1\xBE");  // 记事本 in CP936
  EXPECT_EQ(bytes[at + 278], ' ');
  EXPECT_EQ(bytes.substr(at + 400, 3), "D:\\");
  EXPECT_EQ(bytes.substr(at + 655, 3), "C:\\");
  EXPECT_EQ(bytes.substr(at + 910, 10), "C:\\Windows");
  EXPECT_EQ(bytes.substr(at + 1165, 2), "/a");
  EXPECT_EQ(bytes[at + 1292], ' ');
  EXPECT_EQ(ReadInt32(bytes, at + 1293), 2);
}

TEST_F(StoreFile, RoundTripsEveryFieldWithChineseText) {
  const auto image = DecodeStoreFile(EncodeStoreFile(store, codec), codec);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->store.Items[130], store.Items[130]);
  EXPECT_EQ(image->store.Groups[4], store.Groups[4]);
  EXPECT_EQ(image->store.Groups[3], store.Groups[3]);
  // What one build writes, it reads back to the same bytes.
  EXPECT_EQ(EncodeStoreFile(image->store, codec), EncodeStoreFile(store, codec));
}

TEST_F(StoreFile, ALongChineseTitleIsCutAtABoundaryWhenWritten) {
  std::string title;
  for (int i = 0; i < 128; ++i) title += "题";
  store.Items[131].Title = title;
  EXPECT_EQ(CountChars(store.Items[131].Title.str()), 128u) << "assignment keeps 128 characters";
  const auto image = DecodeStoreFile(EncodeStoreFile(store, codec), codec);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(CountChars(image->store.Items[131].Title.str()), 64u) << "128 bytes hold 64 of them";
}

TEST_F(StoreFile, RejectsAnythingButTheExactSize) {
  const std::string bytes = EncodeStoreFile(store, codec);
  for (std::size_t length :
       {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{9459}, std::size_t{9460},
        std::size_t{9461}, kStoreFileSize - 1297, kStoreFileSize - 1}) {
    EXPECT_FALSE(DecodeStoreFile(bytes.substr(0, length), codec)) << "length " << length;
  }
  EXPECT_FALSE(DecodeStoreFile(bytes + '\0', codec));
}

TEST_F(StoreFile, RejectsGroupRecordsItCannotTrust) {
  const std::string good = EncodeStoreFile(store, codec);
  struct Damage {
    const char* what;
    std::size_t offset;
    std::int32_t value;
  };
  const Damage damages[] = {
      {"count above 36", CountOffset(4), 37},
      {"count above 1024 in group 3", CountOffset(3), 1025},
      {"negative count", CountOffset(5), -1},
      {"wild count", CountOffset(36), 0x7FFFFFFF},
      {"element count of group 3", GroupOffset(3) + 2, 37},
      {"huge element count", GroupOffset(4) + 2, 0x40000000},
      {"lower bound", GroupOffset(4) + 6, 1},
      {"member beyond the table", GroupOffset(4) + 10 + 8, 1025},
      {"negative member", GroupOffset(4) + 10 + 4, -5},
  };
  for (const Damage& damage : damages) {
    std::string bytes = good;
    WriteInt32(bytes, damage.offset, damage.value);
    EXPECT_FALSE(DecodeStoreFile(bytes, codec)) << damage.what;
  }
  std::string twoDimensions = good;
  twoDimensions[GroupOffset(7)] = 2;
  EXPECT_FALSE(DecodeStoreFile(twoDimensions, codec));

  // Members past Count are not in use and may hold anything.
  std::string stale = good;
  WriteInt32(stale, GroupOffset(4) + 10 + 4 * 30, 99999);
  EXPECT_TRUE(DecodeStoreFile(stale, codec));
}

TEST_F(StoreFile, RepairsSingleFieldsOutOfRange) {
  std::string bytes = EncodeStoreFile(store, codec);
  WriteInt32(bytes, ItemOffset(130) + 1293, 7);   // window state
  bytes[ItemOffset(130) + 4] = 9;                 // class
  WriteInt32(bytes, ItemOffset(130) + 13, 5000);  // icon number
  WriteInt32(bytes, ItemOffset(131), 3);          // unknown kind in a group member
  WriteInt32(bytes, ItemOffset(20), 77);          // unknown kind in a ring slot
  const auto image = DecodeStoreFile(bytes, codec);
  ASSERT_TRUE(image.has_value());
  const ShortcutItem& item = image->store.Items[130];
  EXPECT_EQ(item.RunWindow, 0);
  EXPECT_EQ(item.ItemClass, 0);
  EXPECT_EQ(item.ItemIndex, 130);
  EXPECT_EQ(item.Title, "记事本") << "the rest of the record is kept";
  EXPECT_EQ(image->store.Items[131].ItemType, 0);
  EXPECT_EQ(image->store.Items[20].ItemType, 2);
}

TEST_F(StoreFile, LoadingKeepsBuiltInsAndRepairsUnusedRingItems) {
  store.Items[70].Title = "edited in the file";
  store.Items[70].CustomIconFile = "C:\\mine.png";
  store.Items[5].ItemType = 0;
  store.Items[36].ItemType = 0;
  store.Items[37].ItemType = 0;
  store.Items[64].Title = "kept as stored";
  const auto image = DecodeStoreFile(EncodeStoreFile(store, codec), codec);
  ASSERT_TRUE(image.has_value());

  ShortcutStore live;
  live.Items[70].ItemType = kItemBuiltInCommand;
  live.Items[70].Title = "built-in title";
  live.Items[70].CommandId = 70;
  ApplyStoreFile(live, *image);
  EXPECT_EQ(live.Items[70].Title, "built-in title");
  EXPECT_EQ(live.Items[70].CommandId, 70);
  EXPECT_EQ(live.Items[70].CustomIconFile, "C:\\mine.png");
  EXPECT_EQ(live.Items[0].ItemType, kItemShortcut);
  EXPECT_EQ(live.Items[5].ItemType, kItemShortcut);
  EXPECT_EQ(live.Items[36].ItemType, kItemShortcut);
  EXPECT_EQ(live.Items[37].ItemType, kItemUnused) << "only ring items are repaired";
  EXPECT_EQ(live.Items[64].Title, "kept as stored");
  EXPECT_EQ(live.Items[130], store.Items[130]);
  EXPECT_EQ(live.Groups[4], store.Groups[4]);
}

TEST_F(StoreFile, LoadingRefreshesTheFullMarkOfGroupEntries) {
  store.Items[5].ItemType = kItemGroup;
  store.Items[5].Title = "办公";
  store.Groups[5].Count = 36;
  store.Items[6].ItemType = kItemShortcut;
  store.Items[6].Title = "plain";
  store.Groups[6].Count = 36;  // stale members of a slot that is no group
  const auto image = DecodeStoreFile(EncodeStoreFile(store, codec), codec);
  ASSERT_TRUE(image.has_value());
  ShortcutStore live;
  ApplyStoreFile(live, *image);
  EXPECT_EQ(live.Items[5].Title, "办公 (满)");
  EXPECT_EQ(live.Items[6].Title, "plain");
}

TEST(Store, NewTablesHaveTheirSizesAndEachGroupNamesItself) {
  const ShortcutStore store;
  EXPECT_EQ(store.Groups[3].Members.size(), 1025u);
  EXPECT_EQ(store.Groups[36].Members.size(), 37u);
  for (int g = 0; g < kGroupCount; ++g) {
    EXPECT_EQ(store.Groups[static_cast<std::size_t>(g)].Members[0], g);
    EXPECT_EQ(store.Groups[static_cast<std::size_t>(g)].Count, 0);
  }
}

TEST(GroupTitle, MarksFullAndEmptyGroupsOnce) {
  ShortcutStore store;
  store.Items[4].Title = "Tools";
  store.Groups[4].Count = 35;
  UpdateGroupTitle(store, 4);
  EXPECT_EQ(store.Items[4].Title, "Tools");
  store.Groups[4].Count = 36;
  UpdateGroupTitle(store, 4);
  EXPECT_EQ(store.Items[4].Title, "Tools (满)");
  UpdateGroupTitle(store, 4);
  EXPECT_EQ(store.Items[4].Title, "Tools (满)");
  store.Groups[4].Count = 0;
  UpdateGroupTitle(store, 4);
  EXPECT_EQ(store.Items[4].Title, "Tools (空)");
  UpdateGroupTitle(store, 4);
  EXPECT_EQ(store.Items[4].Title, "Tools (空)");
  // The all-programs group holds 1024: at 36 it is not full yet.
  store.Items[3].Title = "All (空)";
  store.Groups[3].Count = 36;
  UpdateGroupTitle(store, 3);
  EXPECT_EQ(store.Items[3].Title, "All");
  store.Groups[3].Count = 1024;
  UpdateGroupTitle(store, 3);
  EXPECT_EQ(store.Items[3].Title, "All (满)");
}

}  // namespace
}  // namespace kivo
