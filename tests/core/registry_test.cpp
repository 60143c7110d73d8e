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

// Four little-endian bytes, as a number is stored.
std::string Le(std::uint32_t n) {
  return {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
          static_cast<char>(n >> 24)};
}
bool IsEmpty(const RegistryValue& value) {
  return std::holds_alternative<std::monostate>(value);
}

TEST(SplitRegistryPath, SplitsAtTheFirstAndLastBackslashAndKnowsRootsInAnyCase) {
  EXPECT_EQ(SplitRegistryPath(kKey), (RegistryPath{Root::CurrentUser, kSubKey, "System"}));
  EXPECT_EQ(SplitRegistryPath("HKEY_CURRENT_USER\\"), (RegistryPath{Root::CurrentUser, "", ""}));
  // Without a backslash the whole text is the root name, and also the last name.
  EXPECT_EQ(SplitRegistryPath("HKEY_USERS"), (RegistryPath{Root::Users, "", "HKEY_USERS"}));
  EXPECT_EQ(SplitRegistryPath(""), (RegistryPath{}));

  // Root names in any case, with the handle values Windows gives them.
  const char* roots[] = {"HKEY_CLASSES_ROOT", "hkey_current_user",     "Hkey_Local_Machine",
                         "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "hKEY_CURRENT_CONFIG",
                         "HKEY_DYN_DATA"};
  for (std::uint32_t i = 0; i < std::size(roots); ++i) {
    const RegistryPath path = SplitRegistryPath(std::string(roots[i]) + "\\Software\\X");
    EXPECT_EQ(path, (RegistryPath{static_cast<Root>(0x80000000u + i), "Software\\X", "X"}))
        << roots[i];
  }
  // Abbreviations and near misses are not roots.
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
      {kRegSz, "0\0"s, "0"s},  // the terminating NUL is not part of the text
      {kRegSz, codec.Encode("微软雅黑") + '\0', "微软雅黑"s},
      {kRegExpandSz, "%SystemRoot%\\x\0"s, "%SystemRoot%\\x"s},  // not expanded
      {kRegMultiSz, "a\0"s + codec.Encode("宋体") + "\0\0"s, "a\0宋体"s},
      {kRegBinary, "ab\0"s, "ab\0"s},  // binary data is kept whole
      {kRegSz, "abc", "abc"s},         // unterminated
      {kRegSz, std::string(1024, 'x') + '\0', std::string(1024, 'x')},
      {kRegSz, std::string(1500, 'y') + '\0', std::string(1024, 'y')},
      {kRegSz, codec.Encode(chinese) + '\0', chinese.substr(0, 512 * 3)},
      // One byte ahead, so byte 1024 falls in the middle of a double-byte character.
      {kRegSz, codec.Encode("a" + chinese) + '\0', "a" + chinese.substr(0, 511 * 3)},
      {kRegDword, Le(123), std::int32_t{123}},
      {kRegDword, Le(0xFFFFFFFE), std::int32_t{-2}},
      // Numbers of another size, big-endian numbers and 64-bit numbers read as empty.
      {kRegDword, "\x01\x00"s, {}},
      {kRegDword, "\x01\x00\x00\x00\x00"s, {}},
      {5, Le(1), {}},
      {11, std::string(8, '\x01'), {}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& [type, stored, value] = cases[i];
    PutValue("Value " + std::to_string(i), type, stored);
    EXPECT_EQ(Read("value " + std::to_string(i)), value) << "case " << i;
  }
  // The root name may be written in any case; other keys, roots and values read as empty.
  EXPECT_EQ(Read("Value 0", "hkey_current_user\\software\\kivo launcher\\system"),
            RegistryValue("0"s));
  EXPECT_TRUE(IsEmpty(Read("Missing")));
  for (const char* path : {"HKEY_CURRENT_USER\\SOFTWARE\\Kivo Launcher\\Other", kAbbreviated,
                           "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kivo Launcher\\System"}) {
    EXPECT_TRUE(IsEmpty(Read("Value 0", path))) << path;
  }

  // RegistryValueText cuts at the first NUL and trims blanks; numbers become decimal.
  EXPECT_EQ(RegistryValueText(Read("Value 3")), "a");
  EXPECT_EQ(RegistryValueText("  Tahoma \0junk"s), "Tahoma");
  EXPECT_EQ(RegistryValueText(std::int32_t{-2}), "-2");
  EXPECT_EQ(RegistryValueText(RegistryValue{}), "");
}

TEST_F(RegistryTest, WritesTextsInTheAnsiCodePageWithTheirNulAndNumbersAsFourBytes) {
  ASSERT_TRUE(Write("APP_PATH", "C:\\程序\\Kivo.exe", kRegSz));
  ASSERT_TRUE(Write("Expand", "%TEMP%\\图标", kRegExpandSz));
  EXPECT_EQ(Stored("APP_PATH"), (RegistryData{kRegSz, codec.Encode("C:\\程序\\Kivo.exe") + '\0'}));
  EXPECT_EQ(Stored("Expand"), (RegistryData{kRegExpandSz, codec.Encode("%TEMP%\\图标") + '\0'}));
  // A text stops at a NUL, as the stored text would.
  ASSERT_TRUE(Write("Cut", std::string_view("ab\0cd", 5), kRegSz));
  EXPECT_EQ(Stored("Cut")->bytes, "ab\0"s);

  // Numbers are four little-endian bytes, and replace a value of another type.
  const std::pair<const char*, std::uint32_t> numbers[] = {{"123", 123},
                                                           {" 42 ", 42},
                                                           {"-1", 0xFFFFFFFF},
                                                           {"+5", 5},
                                                           {"4294967295", 0xFFFFFFFF},
                                                           {"-2147483648", 0x80000000}};
  for (const auto& [text, number] : numbers) {
    ASSERT_TRUE(Write("APP_PATH", text, kRegDword)) << text;
    EXPECT_EQ(Stored("APP_PATH"), (RegistryData{kRegDword, Le(number)})) << text;
  }
}

TEST_F(RegistryTest, RefusedWritesLeaveTheRegistryAsItWas) {
  PutValue("Kept", kRegSz, "x\0"s);
  const auto before = registry.Contents();
  for (const char* number : {"", "abc", "1.5", "12a", "4294967296", "-2147483649", "0x10"}) {
    EXPECT_FALSE(Write("Number", number, kRegDword)) << number;
  }
  for (std::uint32_t type : {kRegBinary, kRegMultiSz, 0u}) {
    EXPECT_FALSE(Write("Kept", "y", type)) << type;
  }
  EXPECT_FALSE(Write("Kept", "y", kRegSz, kAbbreviated));
  // The code page has no such characters: storing '?' in their place would damage the text.
  EXPECT_FALSE(Write("Kept", "C:\\\xF0\x9F\x98\x80.exe", kRegSz));
  registry.Lock(Root::CurrentUser, "SOFTWARE\\Kivo Launcher");
  EXPECT_FALSE(Write("Kept", "y", kRegSz));
  EXPECT_FALSE(Write("New", "y", kRegSz, (std::string(kKey) + "\\Sub").c_str()));
  EXPECT_EQ(registry.Contents(), before);
  EXPECT_EQ(registry.writeCount, 0);
}

TEST_F(RegistryTest, DeletesValuesAndKeysAndNothingElse) {
  PutValue("A", kRegSz, "1\0"s);
  PutValue("B", kRegSz, "2\0"s);
  registry.Put(Root::CurrentUser, std::string(kSubKey) + "\\Old", "x", {kRegSz, "1"});
  registry.Put(Root::CurrentUser, "Temp", "x", {kRegSz, "1"});
  DeleteRegistryValue(registry, "hkey_current_user\\software\\kivo launcher\\system", "a");
  EXPECT_FALSE(Stored("A"));
  DeleteRegistryKey(registry, kKey, "Old");
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, std::string(kSubKey) + "\\Old"));
  DeleteRegistryKey(registry, "HKEY_CURRENT_USER", "Temp");  // below the root itself
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, "Temp"));
  EXPECT_TRUE(Stored("B")) << "the parents and the other values stay";

  // Missing values and keys, unknown roots, a key with sub keys and a name that names no
  // key below the parent change nothing, nor does a locked key.
  const auto before = registry.Contents();
  DeleteRegistryValue(registry, kKey, "Missing");
  DeleteRegistryValue(registry, "HKEY_CURRENT_USER\\SOFTWARE\\Missing", "B");
  DeleteRegistryValue(registry, kAbbreviated, "B");
  DeleteRegistryKey(registry, "HKEY_CURRENT_USER\\SOFTWARE", "Kivo Launcher");
  DeleteRegistryKey(registry, kKey, "");
  DeleteRegistryKey(registry, kKey, "\\");
  DeleteRegistryKey(registry, "HKCU\\SOFTWARE\\Kivo Launcher", "System");
  registry.Lock(Root::CurrentUser, kSubKey);
  DeleteRegistryValue(registry, kKey, "B");
  EXPECT_EQ(registry.Contents(), before);
}

TEST_F(RegistryTest, ProgramInfoIsRecordedAsTexts) {
  WriteProgramInfo(registry, codec, "D:\\工具\\Kivo\\KivoLauncher.exe", ProgramVersion{2, 10, 345});
  EXPECT_EQ(Stored("APP_PATH"),
            (RegistryData{kRegSz, codec.Encode("D:\\工具\\Kivo\\KivoLauncher.exe") + '\0'}));
  EXPECT_EQ(Stored("APP_VER"), (RegistryData{kRegSz, "2.10.345\0"s}));
  EXPECT_EQ(Stored("APP_BUILD"), (RegistryData{kRegSz, "345\0"s}));
}

TEST_F(RegistryTest, FirstRunMarkIsTakenOnceAndOnlyWhenItCanBeTurned) {
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, kSubKey)) << "no mark, nothing written";
  PutValue("FirstRun", kRegSz, "00\0"s);
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  PutValue("FirstRun", kRegSz, " 0\0"s);
  EXPECT_TRUE(TakeFirstRun(registry, codec));
  EXPECT_EQ(Stored("FirstRun"), (RegistryData{kRegSz, "1\0"s}));
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  PutValue("FirstRun", kRegDword, Le(0));  // an installer's number 0 counts too
  EXPECT_TRUE(TakeFirstRun(registry, codec));
  // A mark that cannot be turned would wipe the data at every start.
  PutValue("FirstRun", kRegSz, "0\0"s);
  registry.Lock(Root::CurrentUser, kSubKey);
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  EXPECT_EQ(Stored("FirstRun"), (RegistryData{kRegSz, "0\0"s}));
}

TEST_F(RegistryTest, InterfaceFontFallsBackToVerdana) {
  constexpr const char* kFont = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\GRE_Initialize";
  EXPECT_EQ(ReadInterfaceFont(registry, codec), "Verdana");
  registry.Put(Root::LocalMachine, kFont, "GUIFont.Facename", {kRegSz, "  \0"s});
  EXPECT_EQ(ReadInterfaceFont(registry, codec), "Verdana");
  registry.Put(Root::LocalMachine, kFont, "GUIFont.Facename",
               {kRegSz, codec.Encode("微软雅黑 ") + '\0'});
  EXPECT_EQ(ReadInterfaceFont(registry, codec), "微软雅黑");
}

}  // namespace
}  // namespace kivo
