#include "core/data_files.h"

#include <gtest/gtest.h>

#include "core/store_file.h"
#include "support/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kivo {
namespace {

class DataFilesTest : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  testing::MemoryFileSystem fs;
  AppPaths paths;
  ScreenInfo screen = MakeScreenInfo(1920, 1050, 30, 96, 96, Rect{0, 0, 1920, 1040});
  DataFiles data{fs, codec, paths};

  void SetUp() override {
    paths.MenuFile = "C:\\Data\\KivoMenu.cfg";
    paths.SettingsFile = "C:\\Data\\KivoCfg.cfg";
    paths.UserIconFolder = "C:\\Data\\KivoIcons\\";
    paths.UserPicture = paths.UserIconFolder + "User Icon.ico";
  }

  bool Save(const char* title) {
    ShortcutStore store;
    store.Items[200].ItemType = 5;
    store.Items[200].Title = title;
    return data.SaveStore(store);
  }
  // The title of item 200 as loaded, or "<none>" when no store was loaded.
  std::string LoadedTitle() {
    ShortcutStore store;
    return data.LoadStore(store) == 1 ? store.Items[200].Title.str() : "<none>";
  }
  std::string Menu(const std::string& suffix = "") {
    return fs.Get(paths.MenuFile + suffix).value_or("<missing>");
  }
};

TEST_F(DataFilesTest, FirstStartFindsNothingAndSaveWritesTwoIdenticalFiles) {
  EXPECT_EQ(LoadedTitle(), "<none>");
  EXPECT_TRUE(fs.AllFiles().empty());
  ASSERT_TRUE(Save("音乐"));
  EXPECT_EQ(Menu(), Menu(".bak"));
  EXPECT_EQ(fs.AllFiles().size(), 2u) << "no temporary is left";
  EXPECT_EQ(LoadedTitle(), "音乐");
}

TEST_F(DataFilesTest, AMissingShortOrOversizedLiveFileFallsBackToTheSafetyCopy) {
  ASSERT_TRUE(Save("good"));
  const std::string good = Menu();
  for (const std::string& live : {std::string(), good.substr(0, 5000), good + 'x'}) {
    fs.RemoveFile(paths.MenuFile + ".damaged");
    live.empty() ? (void)fs.RemoveFile(paths.MenuFile) : fs.Put(paths.MenuFile, live);
    EXPECT_EQ(LoadedTitle(), "good") << live.size();
    EXPECT_EQ(Menu(), good) << "live file rebuilt";
    EXPECT_EQ(Menu(".damaged"), live.empty() ? "<missing>" : live);
  }
}

TEST_F(DataFilesTest, BothFilesDamagedMeansDefaultsWithBothKeptUnderNewNames) {
  fs.Put(paths.MenuFile, std::string(100, 'a'));
  fs.Put(paths.MenuFile + ".bak", std::string(kStoreFileSize, '\xFF'));
  EXPECT_EQ(LoadedTitle(), "<none>");
  EXPECT_EQ(data.lastStoreLoad().source, LoadSource::Damaged);

  // The next save must not overwrite what was kept; a second damage gets a new name.
  ASSERT_TRUE(Save("new"));
  EXPECT_EQ(Menu(".damaged"), std::string(100, 'a'));
  EXPECT_EQ(Menu(".bak.damaged"), std::string(kStoreFileSize, '\xFF'));
  fs.Put(paths.MenuFile, "again");
  fs.RemoveFile(paths.MenuFile + ".bak");
  EXPECT_EQ(LoadedTitle(), "<none>");
  EXPECT_EQ(Menu(".damaged2"), "again");
}

TEST_F(DataFilesTest, AFailedSaveReportsFailureAndKeepsTheLastGoodFile) {
  ASSERT_TRUE(Save("first"));
  const std::string before = Menu();

  fs.diskSpaceLeft = 1000;  // the disk fills up during the write
  EXPECT_FALSE(Save("second"));
  EXPECT_EQ(Menu(), before);
  EXPECT_EQ(Menu(".bak"), before);
  EXPECT_EQ(fs.AllFiles().size(), 2u) << "no half-written temporary is left";

  fs.diskSpaceLeft = SIZE_MAX;
  fs.failReplace = true;
  EXPECT_FALSE(Save("third"));
  EXPECT_EQ(Menu(), before);
  fs.failReplace = false;
  fs.readOnlyPrefix = paths.MenuFile + ".bak";  // only the safety copy cannot be written
  EXPECT_FALSE(Save("fourth"));
  EXPECT_EQ(LoadedTitle(), "fourth") << "the live file was still replaced whole";
}

TEST_F(DataFilesTest, SettingsRoundTripFollowTheUserPictureAndAskForAutoRun) {
  Settings settings, loaded;
  ApplyDefaultSettings(settings, screen);
  settings.IconSize = 40;
  ShortcutItem user;
  user.IconFile = "C:\\old\\User Icon.ico";
  ASSERT_TRUE(data.SaveSettings(settings, user));
  EXPECT_EQ(fs.Get(paths.SettingsFile), fs.Get(paths.SettingsFile + ".bak"));
  EXPECT_EQ(data.LoadSettings(loaded, screen, user, [] { return false; }), 1);
  EXPECT_EQ(std::pair(loaded.IconSize, loaded.AutoRun), std::pair(40, false))
      << "the registry decides when the file says AutoRun";
  EXPECT_EQ(user.IconFile, "") << "no user picture on disk";
  fs.Put(paths.UserPicture, "ico");
  EXPECT_EQ(data.LoadSettings(loaded, screen, user, nullptr), 1);
  EXPECT_EQ(user.IconFile, paths.UserPicture);
  // Without a sound file AutoRun is on as by default, if registering the program worked.
  fs.Put(paths.SettingsFile, std::string(563, '\0'));
  fs.RemoveFile(paths.SettingsFile + ".bak");
  for (const bool registered : {false, true}) {
    loaded.AutoRun = false;
    EXPECT_EQ(data.LoadSettings(loaded, screen, user, [&] { return registered; }), 0);
    EXPECT_EQ(loaded.AutoRun, registered);
  }
}

TEST_F(DataFilesTest, DeleteDataFilesRemovesStoreIconsAndOptionallySettings) {
  ASSERT_TRUE(Save("x"));
  ASSERT_TRUE(data.SaveSettings(Settings{}, ShortcutItem{}));
  const std::string icons = paths.UserIconFolder;
  for (const std::string& file : {icons + "201.PNG", paths.UserPicture, icons + "sub\\deep.png"})
    fs.Put(file, "picture");
  data.DeleteDataFiles(false);
  EXPECT_EQ(fs.AllFiles(),
            (std::vector<std::string>{paths.SettingsFile, paths.SettingsFile + ".bak",
                                      icons + "sub\\deep.png", paths.UserPicture}));
  data.DeleteDataFiles(true);
  EXPECT_EQ(fs.AllFiles(), (std::vector<std::string>{icons + "sub\\deep.png", paths.UserPicture}));
}

}  // namespace
}  // namespace kivo
