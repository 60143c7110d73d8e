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

  void SetUp() override {
    paths.DataFolder = "C:\\Users\\me\\AppData\\Roaming\\KivoSoft\\Kivo Launcher\\";
    paths.MenuFile = paths.DataFolder + "KivoMenu.cfg";
    paths.SettingsFile = paths.DataFolder + "KivoCfg.cfg";
    paths.UserIconFolder = paths.DataFolder + "KivoIcons\\";
    paths.UserPicture = paths.UserIconFolder + "User Icon.ico";
  }

  DataFiles files() { return DataFiles(fs, codec, paths); }

  ShortcutStore SampleStore(const char* title) {
    ShortcutStore store;
    store.Items[200].ItemType = 5;
    store.Items[200].Title = title;
    store.Groups[4].Count = 1;
    store.Groups[4].Members[1] = 200;
    return store;
  }
};

TEST_F(DataFilesTest, FirstStartFindsNothingAndChangesNothing) {
  ShortcutStore store;
  store.Items[1].Title = "built in";
  const ShortcutStore before = store;
  EXPECT_EQ(files().LoadStore(store), 0);
  EXPECT_EQ(store.Items, before.Items);
  EXPECT_TRUE(fs.AllFiles().empty());
}

TEST_F(DataFilesTest, SaveWritesIdenticalLiveFileAndSafetyCopyAndLeavesNoTemporaries) {
  ASSERT_TRUE(files().SaveStore(SampleStore("音乐")));
  const auto live = fs.Get(paths.MenuFile);
  const auto copy = fs.Get(paths.MenuFile + ".bak");
  ASSERT_TRUE(live && copy);
  EXPECT_EQ(live->size(), kStoreFileSize);
  EXPECT_EQ(*live, *copy);
  EXPECT_EQ(fs.AllFiles().size(), 2u);

  ShortcutStore loaded;
  auto data = files();
  EXPECT_EQ(data.LoadStore(loaded), 1);
  EXPECT_EQ(loaded.Items[200].Title, "音乐");
  EXPECT_EQ(data.lastStoreLoad().source, LoadSource::Live);
}

TEST_F(DataFilesTest, OnlyTheSafetyCopyRecreatesTheLiveFile) {
  ASSERT_TRUE(files().SaveStore(SampleStore("x")));
  fs.RemoveFile(paths.MenuFile);
  ShortcutStore loaded;
  EXPECT_EQ(files().LoadStore(loaded), 1);
  EXPECT_EQ(loaded.Items[200].Title, "x");
  EXPECT_EQ(fs.Get(paths.MenuFile), fs.Get(paths.MenuFile + ".bak"));
}

TEST_F(DataFilesTest, ADamagedLiveFileFallsBackToTheSafetyCopyAndIsKeptAside) {
  ASSERT_TRUE(files().SaveStore(SampleStore("good")));
  std::string damaged = *fs.Get(paths.MenuFile);
  damaged.resize(5000);
  fs.Put(paths.MenuFile, damaged);

  ShortcutStore loaded;
  auto data = files();
  EXPECT_EQ(data.LoadStore(loaded), 1);
  EXPECT_EQ(loaded.Items[200].Title, "good");
  EXPECT_EQ(data.lastStoreLoad().source, LoadSource::SafetyCopy);
  ASSERT_EQ(data.lastStoreLoad().keptAside.size(), 1u);
  EXPECT_EQ(fs.Get(data.lastStoreLoad().keptAside[0]), damaged);
  EXPECT_EQ(fs.Get(paths.MenuFile)->size(), kStoreFileSize) << "live file rebuilt";
}

TEST_F(DataFilesTest, BothFilesDamagedMeansDefaultsWithBothKept) {
  fs.Put(paths.MenuFile, std::string(100, 'a'));
  fs.Put(paths.MenuFile + ".bak", std::string(kStoreFileSize, '\xFF'));
  ShortcutStore loaded;
  auto data = files();
  EXPECT_EQ(data.LoadStore(loaded), 0);
  EXPECT_EQ(data.lastStoreLoad().source, LoadSource::Damaged);
  ASSERT_EQ(data.lastStoreLoad().keptAside.size(), 2u);

  // The next save must not overwrite what was kept; a second damage gets a new name.
  ASSERT_TRUE(data.SaveStore(loaded));
  EXPECT_EQ(fs.Get(paths.MenuFile + ".damaged"), std::string(100, 'a'));
  EXPECT_EQ(fs.Get(paths.MenuFile + ".bak.damaged"), std::string(kStoreFileSize, '\xFF'));
  fs.Put(paths.MenuFile, "again");
  fs.Put(paths.MenuFile + ".bak", "again");
  EXPECT_EQ(data.LoadStore(loaded), 0);
  EXPECT_EQ(fs.Get(paths.MenuFile + ".damaged2"), "again");
  EXPECT_EQ(fs.Get(paths.MenuFile + ".damaged"), std::string(100, 'a'));
}

TEST_F(DataFilesTest, AFailedSaveReportsFailureAndKeepsTheLastGoodFile) {
  ASSERT_TRUE(files().SaveStore(SampleStore("first")));
  const auto before = fs.Get(paths.MenuFile);

  fs.diskSpaceLeft = 1000;  // the disk fills up during the write
  EXPECT_FALSE(files().SaveStore(SampleStore("second")));
  EXPECT_EQ(fs.Get(paths.MenuFile), before);
  EXPECT_EQ(fs.Get(paths.MenuFile + ".bak"), before);
  EXPECT_EQ(fs.AllFiles().size(), 2u) << "no half-written temporary is left";

  fs.diskSpaceLeft = SIZE_MAX;
  fs.failReplace = true;
  EXPECT_FALSE(files().SaveStore(SampleStore("third")));
  EXPECT_EQ(fs.Get(paths.MenuFile), before);

  fs.failReplace = false;
  fs.readOnlyPrefix = paths.MenuFile + ".bak";  // only the safety copy cannot be written
  EXPECT_FALSE(files().SaveStore(SampleStore("fourth")));
  ShortcutStore loaded;
  EXPECT_EQ(files().LoadStore(loaded), 1);
  EXPECT_EQ(loaded.Items[200].Title, "fourth") << "the live file was still replaced whole";
}

TEST_F(DataFilesTest, SettingsRoundTripAndFollowTheUserPicture) {
  Settings settings;
  ApplyDefaultSettings(settings, screen);
  settings.IconSize = 40;
  settings.LockDragging = true;
  ShortcutItem user;
  user.IconFile = "C:\\old\\User Icon.ico";
  ASSERT_TRUE(files().SaveSettings(settings, user));
  EXPECT_EQ(fs.Get(paths.SettingsFile)->size(), kSettingsFileSize);
  EXPECT_EQ(fs.Get(paths.SettingsFile), fs.Get(paths.SettingsFile + ".bak"));

  Settings loaded;
  ApplyDefaultSettings(loaded, screen);
  ShortcutItem loadedUser;
  loadedUser.IconFile = "stale";
  int asked = 0;
  EXPECT_EQ(files().LoadSettings(loaded, screen, loadedUser, [&] { return ++asked, false; }), 1);
  EXPECT_EQ(loaded.IconSize, 40);
  EXPECT_TRUE(loaded.LockDragging);
  EXPECT_FALSE(loaded.AutoRun) << "the registry decides when the file says AutoRun";
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(loadedUser.IconFile, "") << "no user picture on disk";

  fs.Put(paths.UserPicture, "ico");
  EXPECT_EQ(files().LoadSettings(loaded, screen, loadedUser, nullptr), 1);
  EXPECT_EQ(loadedUser.IconFile, paths.UserPicture);
}

TEST_F(DataFilesTest, MissingOrDamagedSettingsLeaveDefaultsWithAutoRun) {
  Settings settings;
  ApplyDefaultSettings(settings, screen);
  settings.AutoRun = false;
  ShortcutItem user;
  EXPECT_EQ(files().LoadSettings(settings, screen, user, nullptr), 0);
  EXPECT_TRUE(settings.AutoRun);
  // The default AutoRun registers the program like a stored one, and stays on only when
  // that worked.
  int asked = 0;
  EXPECT_EQ(files().LoadSettings(settings, screen, user, [&] { return ++asked, false; }), 0);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(settings.AutoRun);
  EXPECT_EQ(files().LoadSettings(settings, screen, user, [&] { return ++asked, true; }), 0);
  EXPECT_TRUE(settings.AutoRun);

  fs.Put(paths.SettingsFile, std::string(563, '\0'));
  auto data = files();
  EXPECT_EQ(data.LoadSettings(settings, screen, user, nullptr), 0);
  EXPECT_EQ(data.lastSettingsLoad().source, LoadSource::Damaged);
  EXPECT_TRUE(fs.FileExists(paths.SettingsFile + ".damaged"));
}

TEST_F(DataFilesTest, DeleteDataFilesRemovesStoreIconsAndOptionallySettings) {
  ASSERT_TRUE(files().SaveStore(SampleStore("x")));
  Settings settings;
  ASSERT_TRUE(files().SaveSettings(settings, ShortcutItem{}));
  fs.Put(paths.UserIconFolder + "200.png", "png");
  fs.Put(paths.UserIconFolder + "201.PNG", "png");
  fs.Put(paths.UserPicture, "ico");
  fs.Put(paths.UserIconFolder + "sub\\deep.png", "png");

  files().DeleteDataFiles(false);
  EXPECT_FALSE(fs.FileExists(paths.MenuFile));
  EXPECT_FALSE(fs.FileExists(paths.MenuFile + ".bak"));
  EXPECT_FALSE(fs.FileExists(paths.UserIconFolder + "200.png"));
  EXPECT_FALSE(fs.FileExists(paths.UserIconFolder + "201.PNG"));
  EXPECT_TRUE(fs.FileExists(paths.UserPicture));
  EXPECT_TRUE(fs.FileExists(paths.UserIconFolder + "sub\\deep.png"));
  EXPECT_TRUE(fs.FileExists(paths.SettingsFile));

  files().DeleteDataFiles(true);
  EXPECT_FALSE(fs.FileExists(paths.SettingsFile));
  EXPECT_FALSE(fs.FileExists(paths.SettingsFile + ".bak"));
}

}  // namespace
}  // namespace kivo
