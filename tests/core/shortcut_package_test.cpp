#include "core/shortcut_package.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "core/byte_io.h"
#include "core/store_file.h"
#include "support/iconv_codec.h"

namespace kivo {
namespace {

const std::string kSysIcons = "C:\\Kivo\\SysIcons\\";
const std::string kUserIcons = "C:\\Data\\KivoIcons\\";

class ShortcutPackageTest : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  std::unique_ptr<ShortcutStore> store = std::make_unique<ShortcutStore>();
  std::map<std::string, std::string> files;  // what readIcon can give

  void SetUp() override { BuiltIns(kSysIcons); }
  // Built-in entries draw from the system icon folder, as on a real machine.
  void BuiltIns(const std::string& folder) {
    for (int item = kFirstBuiltInCommand; item <= 80; ++item) {
      Item(item).ItemType = kItemBuiltInCommand;
      Item(item).IconFile = folder + "Cmd" + std::to_string(item) + ".png";
    }
  }
  ShortcutItem& Item(int n) { return store->Items[static_cast<std::size_t>(n)]; }
  std::unique_ptr<ShortcutPackage> Make(const std::string& folder = kSysIcons) {
    return MakePackage(*store, folder, [&](const std::string& path) {
      return files.contains(path) ? std::optional(files[path]) : std::nullopt;
    });
  }
  std::string UserIcon(int item, const std::string& bytes) {
    const std::string path = kUserIcons + std::to_string(item) + ".png";
    files[path] = bytes;
    return path;
  }
};

// System icons carry no block; the others follow item order, IconFile before CustomIconFile.
TEST_F(ShortcutPackageTest, BlocksFollowItemOrderIconFileBeforeCustomIcon) {
  Item(300).CustomIconFile = UserIcon(3001, "C300");
  Item(300).IconFile = UserIcon(300, "I300x");
  Item(4).IconFile = UserIcon(4, "I4");
  Item(3).IconFile = UserIcon(3, "never");  // slot 3 carries no block
  Item(1024).CustomIconFile = UserIcon(1024, "");
  Item(200).IconFile = kUserIcons + "gone.png";  // missing: blanked in the package copy only
  const auto package = Make();
  EXPECT_EQ(package->store.Items[200].IconFile, "");
  EXPECT_EQ(Item(200).IconFile, kUserIcons + "gone.png");
  Item(200).IconFile = "";
  const std::string bytes = EncodePackage(*package, codec);
  std::string expected = EncodeStoreFile(*store, codec);
  ByteWriter out(expected);
  for (const std::string& block : std::vector<std::string>{"I4", "I300x", "C300", ""}) {
    out.Put<std::int32_t>(static_cast<std::int32_t>(block.size()));
    out.PutBytes(block);
  }
  out.PutBytes(kPackageEndMarker);
  EXPECT_EQ(bytes, expected);
}

// A package made on another machine is read back whole, with that machine's system folder.
TEST_F(ShortcutPackageTest, DecodeGivesBackWhatWasEncoded) {
  const std::string theirs = "D:\\Apps\\Kivo\\SysIcons\\";
  BuiltIns(theirs);
  for (int item = 129; item < 160; ++item) {
    Item(item).ItemType = kItemGroupMember;
    Item(item).Title = "程序 " + std::to_string(item);
    Item(item).IconFile = UserIcon(item, std::string(static_cast<std::size_t>(item), 'x'));
    if (item % 3 == 0) Item(item).CustomIconFile = UserIcon(item + 5000, "custom");
  }
  const auto made = Make(theirs);
  const DecodedPackage decoded = DecodePackage(EncodePackage(*made, codec), codec, kSysIcons);
  ASSERT_TRUE(decoded.package);
  EXPECT_EQ(decoded.package->icons, made->icons);
  EXPECT_EQ(decoded.package->systemIconFolder, theirs);
  EXPECT_TRUE(decoded.package->store.Items == made->store.Items);
}

TEST_F(ShortcutPackageTest, EveryCutAndEveryWrongBlockLengthIsRefused) {
  Item(150).IconFile = UserIcon(150, "abcdefgh");
  Item(151).CustomIconFile = UserIcon(151, "");
  Item(152).IconFile = UserIcon(152, "0123456789");
  const std::string bytes = EncodePackage(*Make(), codec);
  ASSERT_TRUE(DecodePackage(bytes, codec, kSysIcons).package);
  // Every length through the blocks and the marker, and a stride through the menu image.
  for (std::size_t length = 0; length < bytes.size();
       length += length < kStoreFileSize ? 4099 : 1) {
    const DecodedPackage decoded = DecodePackage(bytes.substr(0, length), codec, kSysIcons);
    EXPECT_TRUE(!decoded.package && decoded.defect != PackageDefect::None) << length;
  }
  for (const std::int64_t length : {-1LL, 0LL + INT_MIN, 0LL + INT_MAX, 9LL, 7LL}) {
    std::string damaged = bytes, field;
    ByteWriter(field).Put<std::int32_t>(static_cast<std::int32_t>(length));
    damaged.replace(kStoreFileSize, 4, field);  // the first block's length
    EXPECT_EQ(DecodePackage(damaged, codec, kSysIcons).defect, PackageDefect::BadBlocks) << length;
  }
}

TEST_F(ShortcutPackageTest, AnIconBeyondTheBoundIsRefusedEvenWhenThePackageHoldsIt) {
  Item(150).IconFile = UserIcon(150, std::string(kMaxPackageIconBytes, 'p'));
  auto made = Make();
  ASSERT_EQ(made->icons.size(), 1u);
  EXPECT_TRUE(DecodePackage(EncodePackage(*made, codec), codec, kSysIcons).package);
  made->icons[0].bytes.push_back('p');
  EXPECT_FALSE(DecodePackage(EncodePackage(*made, codec), codec, kSysIcons).package);
  // Nor does the backup take such a file.
  files[Item(150).IconFile] += "p";
  EXPECT_EQ(Make()->store.Items[150].IconFile, "");
}

TEST_F(ShortcutPackageTest, TheEndMarkerMustCloseASoundMenuImage) {
  std::string bytes = EncodePackage(*Make(), codec);
  const std::string image = bytes.substr(0, kStoreFileSize);
  EXPECT_TRUE(DecodePackage(image + std::string("/END\0", 5), codec, kSysIcons).package);
  for (const std::string& tail : {std::string("/END\0\0", 6), std::string("/end\0", 5)}) {
    const DecodedPackage decoded = DecodePackage(image + tail, codec, kSysIcons);
    EXPECT_TRUE(!decoded.package && decoded.defect != PackageDefect::None) << tail;
  }
  std::string count;
  ByteWriter(count).Put<std::int32_t>(2000);  // group 3's Count beyond its 1024 members
  bytes.replace(2 + 4 + 4 + 1025 * 4, 4, count);
  EXPECT_EQ(DecodePackage(bytes, codec, kSysIcons).defect, PackageDefect::BadStoreImage);
}

}  // namespace
}  // namespace kivo
