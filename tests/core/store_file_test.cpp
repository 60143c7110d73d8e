#include "core/store_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

using namespace std::string_literals;

// Numbers in the file are little-endian, as on the machines that build and test this.
std::int32_t ReadInt32(const std::string& bytes, std::size_t offset) {
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}
void WriteInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
  std::memcpy(bytes.data() + offset, &value, 4);
}

// Offsets written out by hand from the file layout, not taken from the code under test.
std::size_t ItemOffset(int item) {
  return 9460 + static_cast<std::size_t>(item) * 1297;
}
std::size_t GroupOffset(int group) {
  return group == 3 ? 0 : 4114 + static_cast<std::size_t>(group - 4) * 162;
}
std::size_t CountOffset(int group) {
  return GroupOffset(group) + 10 + static_cast<std::size_t>(group == 3 ? 1025 : 37) * 4;
}

class StoreFile : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  ShortcutStore store;

  void SetUp() override {
    ShortcutItem& item = store.Items[130];
    std::tie(item.ItemType, item.ItemClass, item.IsSystem, item.CommandId, item.Reserved,
             item.ItemIndex, item.RunWindow) = std::tuple(5, 1, true, 77, -2, 130, 2);
    std::tie(item.LinkPath, item.Title, item.IconFile, item.Arguments) =
        std::tuple("C:\\Program Files\\记事本\\notepad.lnk", "记事本", "C:\\Users\\130.png", "/a");
    std::tie(store.Groups[4].Count, store.Groups[4].Members[1], store.Groups[4].Members[2]) =
        std::tuple(2, 130, 131);
    store.Groups[3].Count = 1024;
    for (int i = 1; i <= 1024; ++i) store.Groups[3].Members[static_cast<std::size_t>(i)] = i;
  }
  std::string Encoded() const { return EncodeStoreFile(store, codec); }
  std::optional<StoreFileImage> Decoded(const std::string& bytes) const {
    return DecodeStoreFile(bytes, codec);
  }
};

TEST_F(StoreFile, HasTheExactLayoutAndRoundTripsEveryField) {
  const std::string bytes = Encoded();
  ASSERT_EQ(bytes.size(), kStoreFileSize);

  // Group 3: one dimension of 1025 elements from 0; slot 0 names the group, then the
  // members and the count. Group 4 follows with 37 elements.
  EXPECT_EQ(bytes.substr(0, 14), "\x01\0\x01\x04\0\0\0\0\0\0\x03\0\0\0"s);
  EXPECT_EQ(std::tuple(ReadInt32(bytes, CountOffset(3)), ReadInt32(bytes, GroupOffset(4) + 2),
                       ReadInt32(bytes, GroupOffset(4) + 14), ReadInt32(bytes, CountOffset(4)),
                       ReadInt32(bytes, GroupOffset(36) + 10)),
            std::tuple(1024, 37, 130, 2, 36));

  // Item 130 field by field; True is -1, texts are CP936 padded with blanks.
  const std::pair<std::size_t, std::string> fields[] = {
      {0, "\x05\0\0\0\x01\xFF\xFF\x4D\0\0\0\xFE\xFF\x82\0\0\0C:\\Program"s},
      {272, "\xBC\xC7\xCA\xC2\xB1\xBE "},  // 记事本
      {655, "C:\\U"},
      {1292, " \x02\0\0\0"s}};
  for (const auto& [offset, text] : fields) {
    EXPECT_EQ(bytes.substr(ItemOffset(130) + offset, text.size()), text) << offset;
  }
  // Read back to the same bytes; a long Chinese text is cut at a character.
  std::string title;
  for (int i = 0; i < 128; ++i) title += "题";
  store.Items[131].Title = title;
  const auto image = Decoded(Encoded());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->store.Items[130], store.Items[130]);
  EXPECT_EQ(CountChars(image->store.Items[131].Title.str()), 64u) << "128 bytes hold 64";
  EXPECT_EQ(EncodeStoreFile(image->store, codec), Encoded());
}

TEST_F(StoreFile, RejectsFilesItCannotTrust) {
  const std::string good = Encoded();
  for (std::size_t length : {std::size_t{0}, std::size_t{9460}, kStoreFileSize - 1}) {
    EXPECT_FALSE(Decoded(good.substr(0, length))) << "length " << length;
  }

  // Counts beyond 36 (1024 in group 3) or negative, array headers of another size, lower
  // bound or number of dimensions, members outside the table.
  const std::pair<std::size_t, std::int32_t> damages[] = {
      {CountOffset(4), 37},          {CountOffset(3), 1025},   {CountOffset(5), -1},
      {GroupOffset(4) + 2, 1 << 30}, {GroupOffset(4) + 6, 1},  {GroupOffset(7), 0x00250002},
      {GroupOffset(4) + 18, 1025},   {GroupOffset(4) + 14, -5}};
  for (const auto& [offset, value] : damages) {
    std::string bytes = good;
    WriteInt32(bytes, offset, value);
    EXPECT_FALSE(Decoded(bytes)) << offset;
  }

  // Members past Count are not in use and may hold anything.
  std::string stale = good;
  WriteInt32(stale, GroupOffset(4) + 10 + 4 * 30, 99999);
  EXPECT_TRUE(Decoded(stale));
}

TEST_F(StoreFile, RepairsSingleFieldsOutOfRange) {
  std::string bytes = Encoded();
  WriteInt32(bytes, ItemOffset(130) + 1293, 7);  // window state
  bytes[ItemOffset(130) + 4] = 9;                // class
  WriteInt32(bytes, ItemOffset(131), 3);         // unknown kind in a group member
  WriteInt32(bytes, ItemOffset(20), 77);         // unknown kind in a ring slot
  WriteInt32(bytes, ItemOffset(21) + 1293, -1);
  const auto image = Decoded(bytes);
  ASSERT_TRUE(image.has_value());
  const auto& items = image->store.Items;
  EXPECT_EQ(std::tuple(items[130].RunWindow, int{items[130].ItemClass}, items[131].ItemType,
                       items[20].ItemType, items[21].RunWindow, items[130].Title.str()),
            std::tuple(0, 0, 0, 2, 0, "记事本"));
}

TEST_F(StoreFile, LoadingKeepsBuiltInsRepairsUnusedRingItemsAndMarksFullGroups) {
  std::tie(store.Items[70].Title, store.Items[70].CustomIconFile) =
      std::tuple("edited in the file", "C:\\mine.png");
  std::tie(store.Items[5].ItemType, store.Items[5].Title, store.Groups[5].Count) =
      std::tuple(kItemGroup, "办公", 36);
  store.Items[36].ItemType = store.Items[37].ItemType = 0;
  const auto image = Decoded(Encoded());
  ASSERT_TRUE(image.has_value());

  ShortcutStore live;
  std::tie(live.Items[70].ItemType, live.Items[70].Title, live.Items[70].CommandId) =
      std::tuple(kItemBuiltInCommand, "built-in title", 70);
  ApplyStoreFile(live, *image);
  const auto& items = live.Items;
  EXPECT_EQ(std::tuple(items[70].Title.str(), items[70].CommandId, items[70].CustomIconFile.str()),
            std::tuple("built-in title", 70, "C:\\mine.png"));
  EXPECT_EQ(std::tuple(items[0].ItemType, items[36].ItemType, items[37].ItemType),
            std::tuple(kItemShortcut, kItemShortcut, kItemUnused))
      << "only ring items are repaired";
  EXPECT_EQ(items[5].Title, "办公 (满)");
}

// Each mark replaces the other and is never doubled, however often the title is refreshed.
TEST(GroupTitle, MarksFullAndEmptyGroupsOnce) {
  ShortcutStore store;
  store.Items[4].Title = "T (满)";
  for (const auto& [count, after] : {std::pair{0, "T (空)"}, {36, "T (满)"}, {1, "T"}}) {
    store.Groups[4].Count = count;
    UpdateGroupTitle(store, 4);
    UpdateGroupTitle(store, 4);
    EXPECT_EQ(store.Items[4].Title, after) << count;
  }
}

}  // namespace
}  // namespace kivo
