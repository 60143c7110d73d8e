#include "items/link_files.h"

#include <gtest/gtest.h>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

std::string Utf16(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}

TEST(InternetShortcut, ReadsItsOwnSectionInTheCodePage) {
  testing::IconvCodec codec("CP936");
  const auto link = ParseInternetShortcut(
      "[Other]\r\nURL=http://wrong/\r\n[InternetShortcut]\r\n url = http://example.com/ \r\n"
      "IconFile=C:\\\xB2\xE2\xCA\xD4.ico\r\nIconIndex=-3\r\nShowCommand=7\r\n",
      codec);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target + "|" + link->iconFile, "http://example.com/|C:\\测试.ico");
  EXPECT_EQ(link->iconIndex * 10 + link->showCommand, -23);
  for (const char* bad : {"URL=http://no-section/", "[InternetShortcut]\nIconIndex=1\n", ""}) {
    EXPECT_FALSE(ParseInternetShortcut(bad, codec)) << bad;
  }
}

// One text entry of a version resource: lengths, type 1, key, padding, value.
std::string VersionString(const std::string& key, const std::string& value) {
  std::string node = std::string("\0\0\0\0\x01\0", 6) + Utf16(key) + std::string(2, '\0');
  while (node.size() % 4 != 0) node += '\0';
  node += Utf16(value) + std::string(2, '\0');
  while (node.size() % 4 != 0) node += '\0';
  return node;
}

TEST(VersionString, FirstTableWinsWholeKeysOnly) {
  const std::string block = std::string(8, '\0') + VersionString("ProductName", "Suite") +
                            VersionString("FileDescription", "Editor") +
                            VersionString("FileDescription", "Redacteur") +
                            VersionString("Comments", "");
  EXPECT_EQ(FindVersionString(block, "FileDescription"), "Editor");
  EXPECT_EQ(FindVersionString(block, "ProductName"), "Suite");
  EXPECT_EQ(FindVersionString(block, "Comments"), "");
  EXPECT_EQ(FindVersionString(block, "FileVersion"), std::nullopt);
  EXPECT_EQ(FindVersionString(block, "File"), std::nullopt) << "a key's prefix is no match";
}

}  // namespace
}  // namespace kivo
