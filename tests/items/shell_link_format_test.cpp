#include "items/shell_link_format.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/iconv_codec.h"
#include "support/shell_link_builder.h"

namespace kivo {
namespace {

using testing::BuildShellLink;
using testing::LinkInfoFields;
using testing::LocalInfo;
using testing::ShellLinkFields;
using testing::UnicodeInfo;

// Read from a copy of exactly the bytes, so that ASan sees any read past them (a string
// has its NUL there).
std::optional<ShellLinkFile> Read(const std::string& bytes) {
  static const testing::IconvCodec codec("CP936");
  const std::vector<char> exact(bytes.begin(), bytes.end());
  return ReadShellLinkFile(std::string_view(exact.data(), exact.size()), codec);
}

// A link as Windows writes one to a file on the public desktop, every field set. Every
// shorter copy is rejected while it cuts a structure; a cut between two extra-data blocks
// is a whole link without the later blocks.
TEST(ReadShellLinkFile, ReadsEveryFieldAndEveryCutIsRejectedOrEndsBetweenBlocks) {
  ShellLinkFields fields;
  fields.idList = testing::IdItem("abcd") + std::string(2, '\0');
  fields.linkInfo = LocalInfo("C:\\Users\\", "Public\\Desktop\\x.txt");
  fields.name = "说明";
  fields.relativePath = "..\\..\\Public\\Desktop\\x.txt";
  fields.workingDir = "C:\\Users\\Public\\Desktop";
  fields.arguments = "/p \"a b\"";
  fields.iconLocation = "%SystemRoot%\\system32\\shell32.dll";
  fields.environmentTarget = "%PUBLIC%\\Desktop\\x.txt";
  fields.environmentIcon = "%SystemRoot%\\system32\\imageres.dll";
  fields.iconIndex = -102;
  fields.showCommand = 7;
  const std::string sound = BuildShellLink(fields);
  const auto whole = Read(sound);
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(std::pair(whole->iconIndex, whole->showCommand), std::pair(-102, 7u));
  EXPECT_EQ(LinkInfoTarget(*whole), "C:\\Users\\Public\\Desktop\\x.txt");
  EXPECT_EQ(
      whole->name + "|" + whole->relativePath + "|" + whole->workingDir + "|" + whole->arguments +
          "|" + whole->iconLocation + "|" + whole->environmentTarget + "|" + whole->environmentIcon,
      "说明|" + *fields.relativePath + "|" + *fields.workingDir + "|" + *fields.arguments + "|" +
          *fields.iconLocation + "|" + *fields.environmentTarget + "|" + *fields.environmentIcon);
  const std::size_t stringsEnd = sound.size() - 2 * 0x314 - 4;
  for (std::size_t length = 0; length < sound.size(); ++length) {
    const auto link = Read(sound.substr(0, length));
    const bool boundary = length == stringsEnd || length == stringsEnd + 0x314 ||
                          length == stringsEnd + 2 * 0x314;  // the terminal block may be missing
    EXPECT_EQ(link.has_value(), boundary) << length;
    if (!link) continue;
    EXPECT_EQ(LinkInfoTarget(*link) + link->iconLocation,
              LinkInfoTarget(*whole) + whole->iconLocation);
  }
}

TEST(ReadShellLinkFile, DamagedSizesAndOffsetsAreNotReadable) {
  ShellLinkFields fields;
  fields.idList = testing::IdItem("abcd") + std::string(2, '\0');
  fields.linkInfo = UnicodeInfo("C:\\Users\\", "x.txt", "C:\\Users\\", "x.txt");
  fields.arguments = "-a";
  fields.environmentTarget = "%windir%\\notepad.exe";
  const std::string sound = BuildShellLink(fields);
  ASSERT_TRUE(Read(sound).has_value());
  const std::size_t list = 0x4C, info = list + 2 + fields.idList->size();
  const std::size_t infoSize = 0x24 + 17 + 10 + 6 + 20 + 12, strings = info + infoSize;
  const std::size_t extra = strings + 2 + 4;
  // clang-format off
  const std::tuple<const char*, std::size_t, std::uint32_t> damages[] = {
      {"header size", 0, 0x4D}, {"class", 4, 0x00021402}, {"item list size", list, 0xFFFF},
      {"location block size", info, 0xFFFFFFF0}, {"location block size below its header", info, 0x10},
      {"location header size", info + 4, 0x20}, {"location header past the block", info + 4, 0x1000},
      {"volume offset", info + 12, 0xFFFFFF00}, {"volume offset inside the header", info + 12, 4},
      {"volume size", info + 0x24, 0x1000}, {"base path offset", info + 16, static_cast<std::uint32_t>(infoSize)},
      {"base path offset missing", info + 16, 0}, {"base path offset inside the header", info + 16, 8},
      {"suffix offset", info + 24, 0x7FFFFFFF}, {"Unicode base path offset", info + 28, static_cast<std::uint32_t>(infoSize - 1)},
      {"Unicode suffix offset", info + 32, 0x10000}, {"string count", strings, 0x7FFF},
      {"extra block size", extra, 0x315 + 8}, {"extra block too small to be one", extra, 6},
      {"environment block too small", extra, 0x20},
  };
  // clang-format on
  for (const auto& [what, at, value] : damages) {
    std::string bytes = sound;
    if (at == strings || at == list) {
      bytes.replace(at, 2, {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)});
    } else {
      testing::SetU32(bytes, at, value);
    }
    EXPECT_FALSE(Read(bytes).has_value()) << what;
  }

  // A location block whose base path has no terminating NUL inside the block.
  std::string open = sound;
  const std::size_t baseAt = info + 0x24 + 17;
  open.replace(baseAt, info + infoSize - baseAt, std::string(info + infoSize - baseAt, 'a'));
  EXPECT_FALSE(Read(open).has_value());

  EXPECT_FALSE(Read(std::string(0x4C, '\0')).has_value());
  std::string huge = sound;
  huge.resize(kMaxShellLinkBytes + 1, '\0');
  EXPECT_FALSE(Read(huge).has_value());
}

}  // namespace
}  // namespace kivo
