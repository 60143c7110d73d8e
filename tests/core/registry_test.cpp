#include "core/registry.h"

#include "core/program_registry.h"

#include <gtest/gtest.h>

#include "support/iconv_codec.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

using Root = RegistryRoot;
using namespace std::string_literals;

constexpr const char* kKey = "HKEY_CURRENT_USER\\SOFTWARE\\Kivo Launcher\\System";
constexpr const char* kSubKey = "SOFTWARE\\Kivo Launcher\\System";
constexpr const char* kAbbreviated = "HKCU\\SOFTWARE\\Kivo Launcher\\System";

std::string Le(std::uint32_t n) {  // four little-endian bytes, as a number is stored
  return {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
          static_cast<char>(n >> 24)};
}

TEST(SplitRegistryPath, SplitsAtTheFirstAndLastBackslashAndKnowsRootsInAnyCase) {
  EXPECT_EQ(SplitRegistryPath(kKey), (RegistryPath{Root::CurrentUser, kSubKey, "System"}));
  EXPECT_EQ(SplitRegistryPath("HKEY_USERS"), (RegistryPath{Root::Users, "", "HKEY_USERS"}));
  EXPECT_EQ(SplitRegistryPath("Hkey_Local_Machine\\Software\\X"),
            (RegistryPath{Root::LocalMachine, "Software\\X", "X"}));
  for (const char* name : {"HKCU\\Software", "HKEY_CURRENT_USERS\\A", " HKEY_USERS\\A", "\\A"}) {
    EXPECT_EQ(SplitRegistryPath(name).root, Root::None) << name;
  }
}

class RegistryTest : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  testing::MemoryRegistry registry;

  void PutValue(const std::string& name, std::uint32_t type, const std::string& bytes) {
    registry.Put(Root::CurrentUser, kSubKey, name, RegistryData{type, bytes});
  }
  std::optional<RegistryData> Stored(const std::string& name) const {
    return registry.Get(Root::CurrentUser, kSubKey, name);
  }
  RegistryValue Read(const std::string& name, const char* keyPath = kKey) {
    return ReadRegistryValue(registry, codec, keyPath, name);
  }
  bool Write(const std::string& name, std::string_view value, std::uint32_t type,
             const char* keyPath = kKey) {
    return WriteRegistryValue(registry, codec, keyPath, name, value, type);
  }
};

TEST_F(RegistryTest, ReadsTextsCutAt1024BytesOnACharacterBoundaryAndNumbersAsNumbers) {
  std::string chinese;
  for (int i = 0; i < 600; ++i) chinese += "汉";
  const std::tuple<std::uint32_t, std::string, RegistryValue> cases[] = {
      {kRegSz, codec.Encode("微软雅黑") + '\0', "微软雅黑"s},
      {kRegMultiSz, "a\0"s + codec.Encode("宋体") + "\0\0"s, "a\0宋体"s},
      {kRegBinary, "ab\0"s, "ab\0"s},  // binary data is kept whole
      // One byte ahead, so byte 1024 falls in the middle of a double-byte character.
      {kRegSz, codec.Encode("a" + chinese) + '\0', "a" + chinese.substr(0, 511 * 3)},
      {kRegDword, Le(0xFFFFFFFE), std::int32_t{-2}},
      {kRegDword, "\x01\x00"s, {}},  // numbers of another size read as empty

  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& [type, stored, value] = cases[i];
    PutValue("Value " + std::to_string(i), type, stored);
    EXPECT_EQ(Read("value " + std::to_string(i)), value) << "case " << i;
  }
  EXPECT_EQ(Read("Value 3", "hkey_current_user\\software\\kivo launcher\\system"), Read("Value 3"));
  EXPECT_EQ(Read("Value 3", kAbbreviated), RegistryValue{});
}

// Texts go in the ANSI code page with their NUL, numbers as four bytes; a refused write
// leaves the registry as it was.
TEST_F(RegistryTest, WritesAndRefusedWrites) {
  using D = RegistryData;
  const std::tuple<std::string, D> rows[] = {
      {"C:\\程序\\K.exe", D{kRegSz, codec.Encode("C:\\程序\\K.exe") + '\0'}},
      {"ab\0cd"s, D{kRegExpandSz, "ab\0"s}},
      {" 42 ", D{kRegDword, Le(42)}},
      {"4294967295", D{kRegDword, Le(0xFFFFFFFF)}},
      {"-2147483648", D{kRegDword, Le(0x80000000)}}};
  for (const auto& [value, stored] : rows) {
    EXPECT_TRUE(Write("V", value, stored.type)) << value;
    EXPECT_EQ(Stored("V"), stored) << value;
  }
  const auto before = registry.Contents();
  for (const char* number : {"", "12a", "4294967296", "-2147483649", "0x10"})
    EXPECT_FALSE(Write("V", number, kRegDword)) << number;
  EXPECT_FALSE(Write("V", "y", kRegBinary));
  EXPECT_FALSE(Write("V", "y", kRegSz, kAbbreviated));
  // The code page has no such characters: storing '?' in their place would damage the text.
  EXPECT_FALSE(Write("V", "C:\\\xF0\x9F\x98\x80.exe", kRegSz));
  registry.Lock(Root::CurrentUser, "SOFTWARE\\Kivo Launcher");
  EXPECT_FALSE(Write("V", "y", kRegSz));
  EXPECT_EQ(registry.Contents(), before);
}

TEST_F(RegistryTest, DeletesValuesAndKeysAndNothingElse) {
  PutValue("A", kRegSz, "1\0"s);
  PutValue("B", kRegSz, "2\0"s);
  registry.Put(Root::CurrentUser, std::string(kSubKey) + "\\Old", "x", {kRegSz, "1"});
  DeleteRegistryValue(registry, "hkey_current_user\\software\\kivo launcher\\system", "a");
  DeleteRegistryKey(registry, kKey, "Old");
  EXPECT_EQ(std::tuple(Stored("A").has_value(), Stored("B").has_value(),
                       registry.HasKey(Root::CurrentUser, std::string(kSubKey) + "\\Old")),
            std::tuple(false, true, false))
      << "the parents and the other values stay";

  // Unknown roots, a key with sub keys and an empty name change nothing, nor does a lock.
  const auto before = registry.Contents();
  DeleteRegistryValue(registry, kAbbreviated, "B");
  DeleteRegistryKey(registry, "HKEY_CURRENT_USER\\SOFTWARE", "Kivo Launcher");
  DeleteRegistryKey(registry, kKey, "");
  registry.Lock(Root::CurrentUser, kSubKey);
  DeleteRegistryValue(registry, kKey, "B");
  EXPECT_EQ(registry.Contents(), before);
}

TEST_F(RegistryTest, FirstRunMarkIsTakenOnceAndOnlyWhenItCanBeTurned) {
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, kSubKey)) << "no mark, nothing written";
  PutValue("FirstRun", kRegSz, " 0\0"s);
  EXPECT_TRUE(TakeFirstRun(registry, codec));
  EXPECT_EQ(Stored("FirstRun"), (RegistryData{kRegSz, "1\0"s}));
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  // A mark that cannot be turned would wipe the data at every start.
  PutValue("FirstRun", kRegSz, "0\0"s);
  registry.Lock(Root::CurrentUser, kSubKey);
  EXPECT_FALSE(TakeFirstRun(registry, codec));
}

}  // namespace
}  // namespace kivo
