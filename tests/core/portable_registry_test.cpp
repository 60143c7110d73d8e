#include "core/portable_registry.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/paths.h"
#include "core/shell_utilities.h"
#include "core/text.h"
#include "support/iconv_codec.h"
#include "support/memory_file_system.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

using enum RegistryRoot;
constexpr auto R = RegistryAccess::Read;
constexpr auto W = RegistryAccess::Write;
constexpr const char* kFile = "E:\\Kivo\\Data\\KivoReg.ini";

TEST(PortableRegistry, RoutesOnlyItsOwnKeyToTheFileAndNoWriteToTheSystem) {
  using enum RegistryRoute;
  const std::string own = "SOFTWARE\\Kivo Launcher", run = "Software\\Microsoft\\Windows\\Run";
  const std::tuple<RegistryRoot, std::string, RegistryAccess, RegistryRoute> rows[] = {
      {CurrentUser, "software\\kivo launcher\\System", W, File},
      {CurrentUser, own + "2", W, Refused},
      {CurrentUser, run, W, Refused},
      {LocalMachine, own, W, Refused},
      {None, own, R, Refused},
  };
  for (const auto& [root, subKey, access, route] : rows) {
    EXPECT_EQ(RoutePortableKey(root, subKey, access), route) << subKey;
  }
}

class PortableRegistryTest : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  testing::MemoryRegistry system;
  testing::MemoryFileSystem fs;
};

TEST_F(PortableRegistryTest, ValuesOfEveryTypeComeBackFromTheFileAndTheSystemIsUntouched) {
  const std::pair<const char*, RegistryData> values[] = {
      {"HotKey.ShowDock", {kRegSz, std::string("Alt+Space\0", 10)}},
      {"Number", {kRegDword, std::string("\x01\x02\x03\x84", 4)}},
      {"Lines", {kRegSz, std::string("a\r\nb=[c]\0", 9)}},  // not plain: kept as bytes
      {"Blob", {kRegBinary, std::string("\0\xff", 2)}},
  };
  {
    PortableRegistry registry(system, fs, kFile);
    auto key = registry.CreateKey(CurrentUser, "SOFTWARE\\Kivo Launcher\\System");
    ASSERT_TRUE(key);
    // Replaced below whatever its name's case, keeping the name as first written.
    EXPECT_TRUE(key->SetValue("hotkey.showdock", kRegSz, std::string("Ctrl+K\0", 7)));
    for (const auto& [name, data] : values) EXPECT_TRUE(key->SetValue(name, data.type, data.bytes));
    EXPECT_FALSE(key->SetValue("a=b", kRegSz, std::string("x\0", 2))) << "cannot be read back";
  }
  PortableRegistry again(system, fs, kFile);
  // Other keys are read from the system and never written, the start-up entry among them.
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  system.Put(CurrentUser, run, "Other", {kRegSz, "x"});
  EXPECT_TRUE(again.OpenKey(CurrentUser, run, R)->QueryValue("Other"));
  EXPECT_EQ(SetAutoRun(again, codec, "E:\\Kivo\\KivoLauncher.exe", true), 0);
  EXPECT_EQ(system.writeCount, 0);
  const auto key = again.OpenKey(CurrentUser, "software\\kivo launcher\\system", R);
  ASSERT_TRUE(key);
  for (const auto& [name, data] : values)
    EXPECT_EQ(key->QueryValue(AsciiUpper(name)), data) << name;
  EXPECT_FALSE(key->DeleteValue("blob")) << "opened for reading";
  EXPECT_TRUE(
      again.OpenKey(CurrentUser, "SOFTWARE\\Kivo Launcher\\System", W)->DeleteValue("blob"));
  EXPECT_FALSE(PortableRegistry(system, fs, kFile)
                   .OpenKey(CurrentUser, "SOFTWARE\\Kivo Launcher\\System", R)
                   ->QueryValue("Blob"));
}

TEST_F(PortableRegistryTest, AFailedWriteChangesNothingAndBadFilesDoNotCrash) {
  fs.Put(kFile,
         "[SOFTWARE\\Kivo Launcher\\System]\na=sz:0\nA=sz:1\nB=dword:12\nC=hex(x):00\n=sz:2\n"
         "D\n[broken\nE=hex(3):0g\nF=hex(4294967296):00\nG=expand_sz:ok\r\n");
  PortableRegistry registry(system, fs, kFile);
  const auto key = registry.OpenKey(CurrentUser, "SOFTWARE\\Kivo Launcher\\System", W);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->QueryValue("A"), (RegistryData{kRegSz, std::string("1\0", 2)}));
  // A bad section header ends the section: G is not filed under the key before it.
  for (const char* bad : {"B", "C", "", "D", "E", "F", "G"})
    EXPECT_FALSE(key->QueryValue(bad)) << bad;
  fs.readOnlyPrefix = "E:\\Kivo\\Data";
  EXPECT_FALSE(key->SetValue("A", kRegSz, std::string("2\0", 2)));
  EXPECT_EQ(key->QueryValue("A"), (RegistryData{kRegSz, std::string("1\0", 2)}));
}

class Folders : public SystemFolders {
 public:
  std::string SpecialFolder(int csidl) const override {
    return csidl == 26 ? "C:\\Users\\me\\AppData\\Roaming" : "C:\\X";
  }
  std::string TempFolder() const override { return "C:\\Temp"; }
  std::string ProgramFolder() const override { return "E:\\Kivo"; }
};

TEST(PortablePaths, TheMarkerMovesTheDataBesideTheProgram) {
  for (const bool marker : {false, true}) {
    testing::MemoryFileSystem fs;
    if (marker) fs.Put("E:\\Kivo\\portable.ini", "");
    const AppPaths paths = BuildPaths(Folders(), fs);
    const std::string data =
        marker ? "E:\\Kivo\\Data\\" : "C:\\Users\\me\\AppData\\Roaming\\KivoSoft\\Kivo Launcher\\";
    // The icons and the log go where the data goes.
    EXPECT_EQ(std::tuple(paths.Portable, paths.DataFolder, paths.UserIconFolder, paths.LogFile),
              std::tuple(marker, data, data + "KivoIcons\\", data + "Kivo.log"));
  }
}

}  // namespace
}  // namespace kivo
