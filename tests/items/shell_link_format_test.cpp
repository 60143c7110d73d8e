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
const testing::IconvCodec& Codec() {
  static const testing::IconvCodec codec("CP936");
  return codec;
}

// Read from a copy of exactly the bytes, so that ASan sees any read past them (a string
// has its NUL there).
std::optional<ShellLinkFile> Read(const std::string& bytes) {
  const std::vector<char> exact(bytes.begin(), bytes.end());
  return ReadShellLinkFile(std::string_view(exact.data(), exact.size()), Codec());
}

// A link as Windows writes one to a file on the public desktop: an item list, a location
// block whose base is a folder and whose suffix holds the rest, every string, both
// environment blocks.
ShellLinkFields FullLink() {
  ShellLinkFields fields;
  fields.idList = testing::WindowsItemList('C', {"Users", "Public", "Desktop", "x.txt"},
                                           {"Users", "Public", "Desktop", "x.txt"});
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
  return fields;
}

TEST(ReadShellLinkFile, ReadsEveryFieldWindowsWrites) {
  const std::string bytes = BuildShellLink(FullLink());
  const auto link = Read(bytes);
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->iconIndex, -102);
  EXPECT_EQ(link->showCommand, 7u);
  EXPECT_EQ(LinkInfoTarget(*link), "C:\\Users\\Public\\Desktop\\x.txt");
  EXPECT_EQ(link->name, "说明");
  EXPECT_EQ(link->relativePath, "..\\..\\Public\\Desktop\\x.txt");
  EXPECT_EQ(link->workingDir, "C:\\Users\\Public\\Desktop");
  EXPECT_EQ(link->arguments, "/p \"a b\"");
  EXPECT_EQ(link->iconLocation, "%SystemRoot%\\system32\\shell32.dll");
  EXPECT_EQ(link->environmentTarget, "%PUBLIC%\\Desktop\\x.txt");
  EXPECT_EQ(link->environmentIcon, "%SystemRoot%\\system32\\imageres.dll");
}

TEST(ReadShellLinkFile, TextsInEveryEncodingAndLocationKind) {
  // A Unicode location block: its Unicode forms win over the ANSI ones, which lost the
  // characters the code page lacks.
  ShellLinkFields wide;
  wide.linkInfo = UnicodeInfo("C:\\??\\", "??.txt", "C:\\测试 한\\", "说明 ü.txt");
  auto link = Read(BuildShellLink(wide));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(LinkInfoTarget(*link), "C:\\测试 한\\说明 ü.txt");

  // Without them (empty Unicode texts), the ANSI forms stand, decoded from the code page.
  wide.linkInfo = UnicodeInfo("C:\\\xB2\xE2\xCA\xD4\\", "a.txt", "", "");
  link = Read(BuildShellLink(wide));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(LinkInfoTarget(*link), "C:\\测试\\a.txt");

  // String data in the code page when the link is not Unicode.
  ShellLinkFields ansi;
  ansi.unicode = false;
  ansi.arguments = "\xB2\xE2\xCA\xD4 -x";
  ansi.relativePath = ".\\a.exe";
  link = Read(BuildShellLink(ansi));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->arguments, "测试 -x");
  EXPECT_EQ(link->relativePath, ".\\a.exe");
  EXPECT_FALSE(link->hasLinkInfo);
  EXPECT_EQ(LinkInfoTarget(*link), "");

  // A network location: the share and the suffix.
  ShellLinkFields share;
  share.linkInfo = LinkInfoFields{};
  share.linkInfo->netName = "\\\\server\\docs";
  share.linkInfo->ansiSuffix = "plans\\q1.xlsx";
  link = Read(BuildShellLink(share));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(LinkInfoTarget(*link), "\\\\server\\docs\\plans\\q1.xlsx");

  // The whole path in the base and an empty suffix, as older systems wrote it.
  ShellLinkFields whole;
  whole.linkInfo = LocalInfo("C:\\Tools\\app.exe", "");
  link = Read(BuildShellLink(whole));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(LinkInfoTarget(*link), "C:\\Tools\\app.exe");

  // A block the writer marked as not to be used gives no target.
  whole.extraFlags = kLinkForceNoLinkInfo;
  link = Read(BuildShellLink(whole));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(LinkInfoTarget(*link), "");

  // The terminal block may be missing.
  ShellLinkFields bare = FullLink();
  bare.terminalBlock = false;
  link = Read(BuildShellLink(bare));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->environmentIcon, "%SystemRoot%\\system32\\imageres.dll");
}

// Every shorter copy of a link is rejected while it cuts a structure; a cut between two
// extra-data blocks is a whole link without the later blocks. Each copy holds exactly its
// bytes, so that ASan sees any read past them.
TEST(ReadShellLinkFile, EveryCutIsRejectedOrEndsBetweenBlocks) {
  ShellLinkFields fields = FullLink();
  const std::string sound = BuildShellLink(fields);
  fields.environmentTarget.reset();
  fields.environmentIcon.reset();
  fields.terminalBlock = false;
  const std::size_t stringsEnd = BuildShellLink(fields).size();
  ASSERT_EQ(sound.size(), stringsEnd + 2 * 0x314 + 4);
  const auto whole = Read(sound);
  ASSERT_TRUE(whole.has_value());
  for (std::size_t length = 0; length < sound.size(); ++length) {
    const std::string cut = sound.substr(0, length);
    const auto link = Read(cut);
    const bool boundary =
        length == stringsEnd || length == stringsEnd + 0x314 || length == stringsEnd + 2 * 0x314;
    EXPECT_EQ(link.has_value(), boundary) << length;
    if (link) {
      EXPECT_EQ(LinkInfoTarget(*link), LinkInfoTarget(*whole));
      EXPECT_EQ(link->iconLocation, whole->iconLocation);
    }
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
  const std::size_t list = 0x4C;
  const std::size_t info = list + 2 + fields.idList->size();
  const std::size_t infoSize = 0x24 + 17 + 10 + 6 + 20 + 12;
  const std::size_t strings = info + infoSize;
  const std::size_t extra = strings + 2 + 4;

  struct Damage {
    const char* what;
    std::size_t at;
    std::uint32_t value;
  };
  // clang-format off
  const Damage damages[] = {
      {"header size", 0, 0x4D}, {"class", 4, 0x00021402}, {"item list size", list, 0xFFFF},
      {"location block size", info, 0xFFFFFFF0},
      {"location block size below its header", info, 0x10},
      {"location header size", info + 4, 0x20},
      {"location header past the block", info + 4, 0x1000},
      {"volume offset", info + 12, 0xFFFFFF00}, {"volume offset inside the header", info + 12, 4},
      {"volume size", info + 0x24, 0x1000},
      {"base path offset", info + 16, static_cast<std::uint32_t>(infoSize)},
      {"base path offset missing", info + 16, 0},
      {"base path offset inside the header", info + 16, 8},
      {"suffix offset", info + 24, 0x7FFFFFFF},
      {"Unicode base path offset", info + 28, static_cast<std::uint32_t>(infoSize - 1)},
      {"Unicode suffix offset", info + 32, 0x10000}, {"string count", strings, 0x7FFF},
      {"extra block size", extra, 0x315 + 8}, {"extra block too small to be one", extra, 6},
      {"environment block too small", extra, 0x20},
  };
  // clang-format on
  for (const Damage& damage : damages) {
    std::string bytes = sound;
    if (damage.at == strings) {
      bytes[damage.at] = static_cast<char>(damage.value & 0xFF);
      bytes[damage.at + 1] = static_cast<char>(damage.value >> 8);
    } else if (damage.at == list) {
      bytes[damage.at] = '\xFF';
      bytes[damage.at + 1] = '\xFF';
    } else {
      testing::SetU32(bytes, damage.at, damage.value);
    }
    EXPECT_FALSE(Read(bytes).has_value()) << damage.what;
  }

  // A location block whose base path has no terminating NUL inside the block.
  std::string open = sound;
  const std::size_t baseAt = info + 0x24 + 17;
  open.replace(baseAt, info + infoSize - baseAt, std::string(info + infoSize - baseAt, 'a'));
  EXPECT_FALSE(Read(open).has_value());

  // A Unicode suffix whose terminator is cut off by the block's end, at the file's end.
  ShellLinkFields last;
  last.linkInfo = UnicodeInfo("C:\\", "a", "C:\\", "a");
  last.terminalBlock = false;
  std::string cut = BuildShellLink(last);
  cut.pop_back();
  testing::SetU32(cut, 0x4C, static_cast<std::uint32_t>(cut.size() - 0x4C));
  EXPECT_FALSE(Read(cut).has_value());
  cut.push_back('\0');
  testing::SetU32(cut, 0x4C, static_cast<std::uint32_t>(cut.size() - 0x4C));
  EXPECT_TRUE(Read(cut).has_value());

  EXPECT_FALSE(Read("").has_value());
  EXPECT_FALSE(Read(sound.substr(0, 0x4B)).has_value());
  EXPECT_FALSE(Read(std::string(0x4C, '\0')).has_value());
  std::string huge = sound;
  huge.resize(kMaxShellLinkBytes + 1, '\0');
  EXPECT_FALSE(Read(huge).has_value());
}

}  // namespace
}  // namespace kivo
