#include "core/program_registry.h"

#include <gtest/gtest.h>

#include "support/iconv_codec.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

constexpr const char* kSubKey = "SOFTWARE\\Kivo Launcher\\System";
constexpr const char* kFontSubKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\GRE_Initialize";

class ProgramRegistryTest : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  testing::MemoryRegistry registry;

  std::string Stored(const char* name) {
    const auto data = registry.Get(RegistryRoot::CurrentUser, kSubKey, name);
    return data && data->type == kRegSz ? codec.Decode(data->bytes) : "<missing>";
  }
};

TEST_F(ProgramRegistryTest, RecordsPathAndVersion) {
  WriteProgramInfo(registry, codec, "D:\\工具\\Kivo\\KivoLauncher.exe", ProgramVersion{2, 10, 345});
  EXPECT_EQ(Stored("APP_PATH"), std::string("D:\\工具\\Kivo\\KivoLauncher.exe") + '\0');
  EXPECT_EQ(Stored("APP_VER"), std::string("2.10.345\0", 9));
  EXPECT_EQ(Stored("APP_BUILD"), std::string("345\0", 4));
}

TEST_F(ProgramRegistryTest, FirstRunMarkIsTakenOnceAndOnlyWhenItCanBeTurned) {
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  EXPECT_FALSE(registry.HasKey(RegistryRoot::CurrentUser, kSubKey)) << "no mark, nothing written";
  registry.Put(RegistryRoot::CurrentUser, kSubKey, "FirstRun", {kRegSz, std::string("00\0", 3)});
  EXPECT_FALSE(TakeFirstRun(registry, codec));

  registry.Put(RegistryRoot::CurrentUser, kSubKey, "FirstRun", {kRegSz, std::string(" 0\0", 3)});
  EXPECT_TRUE(TakeFirstRun(registry, codec));
  EXPECT_EQ(Stored("FirstRun"), std::string("1\0", 2));
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  // An installer's number 0 counts as the mark too.
  registry.Put(RegistryRoot::CurrentUser, kSubKey, "FirstRun", {kRegDword, std::string(4, '\0')});
  EXPECT_TRUE(TakeFirstRun(registry, codec));

  // A mark that cannot be turned would wipe the data at every start.
  registry.Put(RegistryRoot::CurrentUser, kSubKey, "FirstRun", {kRegSz, std::string("0\0", 2)});
  registry.Lock(RegistryRoot::CurrentUser, kSubKey);
  EXPECT_FALSE(TakeFirstRun(registry, codec));
  EXPECT_EQ(Stored("FirstRun"), std::string("0\0", 2));
}

TEST_F(ProgramRegistryTest, InterfaceFontFallsBackToVerdana) {
  EXPECT_EQ(ReadInterfaceFont(registry, codec), "Verdana");
  registry.Put(RegistryRoot::LocalMachine, kFontSubKey, "GUIFont.Facename",
               {kRegSz, std::string("  \0", 3)});
  EXPECT_EQ(ReadInterfaceFont(registry, codec), "Verdana");
  registry.Put(RegistryRoot::LocalMachine, kFontSubKey, "GUIFont.Facename",
               {kRegSz, codec.Encode("微软雅黑 ") + '\0'});
  EXPECT_EQ(ReadInterfaceFont(registry, codec), "微软雅黑");
}

}  // namespace
}  // namespace kivo
