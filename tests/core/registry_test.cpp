#include "core/registry.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "support/iconv_codec.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

using Root = RegistryRoot;

constexpr const char* kKey = "HKEY_CURRENT_USER\\SOFTWARE\\Kivo Launcher\\System";
constexpr const char* kSubKey = "SOFTWARE\\Kivo Launcher\\System";

TEST(SplitRegistryPath, SplitsAtTheFirstAndLastBackslash) {
  EXPECT_EQ(SplitRegistryPath(kKey), (RegistryPath{Root::CurrentUser, kSubKey, "System"}));
  EXPECT_EQ(SplitRegistryPath("HKEY_CURRENT_USER\\"), (RegistryPath{Root::CurrentUser, "", ""}));
  // Without a backslash the whole text is the root name, and also the last name.
  EXPECT_EQ(SplitRegistryPath("HKEY_USERS"), (RegistryPath{Root::Users, "", "HKEY_USERS"}));
  EXPECT_EQ(SplitRegistryPath(""), (RegistryPath{}));
}

TEST(SplitRegistryPath, MatchesRootNamesWithoutRegardToCase) {
  const std::pair<const char*, std::uint32_t> roots[] = {
      {"HKEY_CLASSES_ROOT", 0x80000000u},     {"hkey_current_user", 0x80000001u},
      {"Hkey_Local_Machine", 0x80000002u},    {"HKEY_USERS", 0x80000003u},
      {"HKEY_PERFORMANCE_DATA", 0x80000004u}, {"hKEY_CURRENT_CONFIG", 0x80000005u},
      {"HKEY_DYN_DATA", 0x80000006u}};
  for (const auto& [name, handle] : roots) {
    const RegistryPath path = SplitRegistryPath(std::string(name) + "\\Software\\X");
    EXPECT_EQ(static_cast<std::uint32_t>(path.root), handle) << name;
    EXPECT_EQ(path.subKey, "Software\\X") << name;
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
  RegistryValue Read(const std::string& name, const char* keyPath = kKey) {
    return ReadRegistryValue(registry, codec, keyPath, name);
  }
  std::string ReadText(const std::string& name) {
    const RegistryValue value = Read(name);
    EXPECT_TRUE(std::holds_alternative<std::string>(value)) << name;
    return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "";
  }
  bool Write(const std::string& name, std::string_view value, std::uint32_t type,
             const char* keyPath = kKey) {
    return WriteRegistryValue(registry, codec, keyPath, name, value, type);
  }
};

TEST_F(RegistryTest, ReadsTextTypesFromTheAnsiCodePage) {
  PutValue("FirstRun", kRegSz, std::string("0\0", 2));
  PutValue("Font", kRegSz, codec.Encode("微软雅黑") + '\0');
  PutValue("Expand", kRegExpandSz, std::string("%SystemRoot%\\x\0", 15));
  PutValue("Multi", kRegMultiSz,
           std::string("a\0", 2) + codec.Encode("宋体") + std::string(2, '\0'));
  PutValue("Binary", kRegBinary, std::string("ab\0", 3));
  PutValue("Unterminated", kRegSz, "abc");

  EXPECT_EQ(ReadText("FirstRun"), "0");  // the terminating NUL is not part of the text
  EXPECT_EQ(ReadText("font"), "微软雅黑");
  EXPECT_EQ(ReadText("Expand"), "%SystemRoot%\\x");  // not expanded
  EXPECT_EQ(ReadText("Multi"), std::string("a\0宋体", 8));
  EXPECT_EQ(RegistryValueText(Read("Multi")), "a");
  EXPECT_EQ(ReadText("Binary"), std::string("ab\0", 3));  // binary data is kept whole
  EXPECT_EQ(ReadText("Unterminated"), "abc");
  // The root name of the path may be written in any case.
  EXPECT_EQ(Read("FirstRun", "hkey_current_user\\software\\kivo launcher\\system"),
            RegistryValue(std::string("0")));
}

TEST_F(RegistryTest, ReadsNumbersAsNumbersAndOtherTypesAsEmpty) {
  PutValue("Positive", kRegDword, std::string("\x7B\x00\x00\x00", 4));
  PutValue("Negative", kRegDword, std::string("\xFE\xFF\xFF\xFF", 4));
  PutValue("Short", kRegDword, std::string("\x01\x00", 2));
  PutValue("Long", kRegDword, std::string("\x01\x00\x00\x00\x00", 5));
  PutValue("BigEndian", 5, std::string("\x00\x00\x00\x01", 4));
  PutValue("Qword", 11, std::string(8, '\x01'));

  EXPECT_EQ(Read("Positive"), RegistryValue(std::int32_t{123}));
  EXPECT_EQ(Read("Negative"), RegistryValue(std::int32_t{-2}));
  EXPECT_EQ(RegistryValueText(Read("Negative")), "-2");
  for (const char* name : {"Short", "Long", "BigEndian", "Qword"}) {
    EXPECT_TRUE(std::holds_alternative<std::monostate>(Read(name))) << name;
  }
}

TEST_F(RegistryTest, AnythingMissingReadsAsEmpty) {
  PutValue("FirstRun", kRegSz, std::string("0\0", 2));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Read("Missing")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(
      Read("FirstRun", "HKEY_CURRENT_USER\\SOFTWARE\\Kivo Launcher\\Other")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(
      Read("FirstRun", "HKCU\\SOFTWARE\\Kivo Launcher\\System")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(
      Read("FirstRun", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kivo Launcher\\System")));
  EXPECT_EQ(RegistryValueText(Read("Missing")), "");
}

TEST_F(RegistryTest, CutsLongTextsAt1024AnsiBytesOnACharacterBoundary) {
  PutValue("Exact", kRegSz, std::string(1024, 'x') + '\0');
  PutValue("Long", kRegSz, std::string(1500, 'y') + '\0');
  std::string chinese;
  for (int i = 0; i < 600; ++i) chinese += "汉";
  PutValue("Chinese", kRegSz, codec.Encode(chinese) + '\0');
  // One byte ahead, so byte 1024 falls in the middle of a double-byte character.
  PutValue("Shifted", kRegSz, codec.Encode("a" + chinese) + '\0');

  EXPECT_EQ(ReadText("Exact"), std::string(1024, 'x'));
  EXPECT_EQ(ReadText("Long"), std::string(1500, 'y').substr(0, 1024));

  const std::string cut = ReadText("Chinese");
  EXPECT_EQ(codec.Encode(cut).size(), 1024u);
  EXPECT_TRUE(cut == chinese.substr(0, 512 * 3)) << CountChars(cut) << " characters";

  const std::string shifted = ReadText("Shifted");
  EXPECT_EQ(codec.Encode(shifted).size(), 1023u);
  EXPECT_TRUE(shifted == "a" + chinese.substr(0, 511 * 3)) << CountChars(shifted) << " characters";
}

TEST_F(RegistryTest, RegistryValueTextCleansTexts) {
  EXPECT_EQ(RegistryValueText(std::string("  Tahoma \0junk", 14)), "Tahoma");
  EXPECT_EQ(RegistryValueText(std::int32_t{0}), "0");
  EXPECT_EQ(RegistryValueText(RegistryValue{}), "");
}

TEST_F(RegistryTest, WritesTextsInTheAnsiCodePageWithTheirNul) {
  ASSERT_TRUE(Write("APP_PATH", "C:\\程序\\Kivo.exe", kRegSz));
  ASSERT_TRUE(Write("Expand", "%TEMP%\\图标", kRegExpandSz));
  EXPECT_TRUE(registry.HasKey(Root::CurrentUser, "SOFTWARE\\Kivo Launcher"));
  EXPECT_EQ(registry.Get(Root::CurrentUser, kSubKey, "APP_PATH"),
            (RegistryData{kRegSz, codec.Encode("C:\\程序\\Kivo.exe") + '\0'}));
  EXPECT_EQ(registry.Get(Root::CurrentUser, kSubKey, "Expand")->type, kRegExpandSz);
  EXPECT_EQ(ReadText("APP_PATH"), "C:\\程序\\Kivo.exe");

  // An existing value is replaced, also by one of another type.
  ASSERT_TRUE(Write("APP_PATH", "7", kRegDword));
  EXPECT_EQ(Read("APP_PATH"), RegistryValue(std::int32_t{7}));
  // A text stops at a NUL, as the stored text would.
  ASSERT_TRUE(Write("Cut", std::string_view("ab\0cd", 5), kRegSz));
  EXPECT_EQ(registry.Get(Root::CurrentUser, kSubKey, "Cut")->bytes, std::string("ab\0", 3));
}

TEST_F(RegistryTest, WritesNumbersAsFourLittleEndianBytes) {
  const std::pair<const char*, std::string> cases[] = {
      {"123", std::string("\x7B\x00\x00\x00", 4)},
      {" 42 ", std::string("\x2A\x00\x00\x00", 4)},
      {"-1", std::string("\xFF\xFF\xFF\xFF", 4)},
      {"+5", std::string("\x05\x00\x00\x00", 4)},
      {"4294967295", std::string("\xFF\xFF\xFF\xFF", 4)},
      {"-2147483648", std::string("\x00\x00\x00\x80", 4)}};
  for (const auto& [text, bytes] : cases) {
    ASSERT_TRUE(Write("Number", text, kRegDword)) << text;
    EXPECT_EQ(registry.Get(Root::CurrentUser, kSubKey, "Number"), (RegistryData{kRegDword, bytes}))
        << text;
  }
}

TEST_F(RegistryTest, RefusedWritesLeaveTheRegistryAsItWas) {
  PutValue("Kept", kRegSz, std::string("x\0", 2));
  const auto before = registry.Contents();
  for (const char* number : {"", "abc", "1.5", "12a", "4294967296", "-2147483649", "0x10"}) {
    EXPECT_FALSE(Write("Number", number, kRegDword)) << number;
  }
  EXPECT_FALSE(Write("Kept", "y", kRegBinary));
  EXPECT_FALSE(Write("Kept", "y", kRegMultiSz));
  EXPECT_FALSE(Write("Kept", "y", 0));
  EXPECT_FALSE(Write("Kept", "y", kRegSz, "HKCU\\SOFTWARE\\Kivo Launcher\\System"));
  // The code page has no such characters: storing '?' in their place would damage the text.
  EXPECT_FALSE(Write("Kept", "C:\\\xF0\x9F\x98\x80.exe", kRegSz));
  registry.Lock(Root::CurrentUser, "SOFTWARE\\Kivo Launcher");
  EXPECT_FALSE(Write("Kept", "y", kRegSz));
  EXPECT_FALSE(
      Write("New", "y", kRegSz, "HKEY_CURRENT_USER\\SOFTWARE\\Kivo Launcher\\System\\Sub"));
  EXPECT_EQ(registry.Contents(), before);
  EXPECT_EQ(registry.writeCount, 0);
}

TEST_F(RegistryTest, DeletesValuesAndLeavesTheOthers) {
  PutValue("A", kRegSz, std::string("1\0", 2));
  PutValue("B", kRegSz, std::string("2\0", 2));
  DeleteRegistryValue(registry, "hkey_current_user\\software\\kivo launcher\\system", "a");
  EXPECT_FALSE(registry.Get(Root::CurrentUser, kSubKey, "A"));
  EXPECT_TRUE(registry.Get(Root::CurrentUser, kSubKey, "B"));

  const auto before = registry.Contents();
  DeleteRegistryValue(registry, kKey, "Missing");
  DeleteRegistryValue(registry, "HKEY_CURRENT_USER\\SOFTWARE\\Missing", "B");
  DeleteRegistryValue(registry, "HKCU\\SOFTWARE\\Kivo Launcher\\System", "B");
  registry.Lock(Root::CurrentUser, kSubKey);
  DeleteRegistryValue(registry, kKey, "B");
  EXPECT_EQ(registry.Contents(), before);
}

TEST_F(RegistryTest, DeletesKeysBelowTheParentOrTheRoot) {
  registry.Put(Root::CurrentUser, "SOFTWARE\\Kivo Launcher\\System\\Old", "x", {kRegSz, "1"});
  registry.Put(Root::CurrentUser, "Temp", "x", {kRegSz, "1"});

  DeleteRegistryKey(registry, kKey, "Old");
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, "SOFTWARE\\Kivo Launcher\\System\\Old"));
  EXPECT_TRUE(registry.HasKey(Root::CurrentUser, kSubKey));
  DeleteRegistryKey(registry, "HKEY_CURRENT_USER", "Temp");
  EXPECT_FALSE(registry.HasKey(Root::CurrentUser, "Temp"));

  // A key with sub keys, a name that names no key below the parent, and unknown roots
  // delete nothing.
  const auto before = registry.Contents();
  DeleteRegistryKey(registry, "HKEY_CURRENT_USER\\SOFTWARE", "Kivo Launcher");
  DeleteRegistryKey(registry, kKey, "");
  DeleteRegistryKey(registry, kKey, "\\");
  DeleteRegistryKey(registry, "HKCU\\SOFTWARE\\Kivo Launcher", "System");
  EXPECT_EQ(registry.Contents(), before);
  EXPECT_TRUE(registry.HasKey(Root::CurrentUser, kSubKey));
}

}  // namespace
}  // namespace kivo
