#include "items/shortcut_backup.h"

#include <gtest/gtest.h>

#include <map>

#include "core/safe_file.h"
#include "core/store_file.h"
#include "items/builtin_items.h"
#include "support/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kivo {
namespace {

using Files = std::map<std::string, std::string>;

AppPaths BackupPaths() {
  AppPaths p;
  p.ProgramFolder = "C:\\Kivo\\";
  p.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
  p.DataFolder = "C:\\Data\\";
  p.UserIconFolder = "C:\\Data\\KivoIcons\\";
  p.UserPicture = p.UserIconFolder + "User Icon.ico";
  p.MenuFile = p.DataFolder + "KivoMenu.cfg";
  p.SettingsFile = p.DataFolder + "KivoCfg.cfg";
  return p;
}

const std::string kPackage = "C:\\Users\\alice\\Kivo Launcher Icons.bak";

class ShortcutBackupTest : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  testing::MemoryFileSystem fs;
  AppPaths paths = BackupPaths();
  Settings settings;
  std::unique_ptr<ShortcutStore> store = std::make_unique<ShortcutStore>();
  ShortcutBackup backup{fs, codec, paths};
  int nextIcon = 0;

  void SetUp() override { *store = BuiltInStore(); }

  ShortcutStore BuiltInStore() const {
    ShortcutStore built;
    DefineBuiltInItems(built, settings, paths, "alice", false);
    return built;
  }
  ShortcutItem& Item(ShortcutStore& s, int n) { return s.Items[static_cast<std::size_t>(n)]; }
  // A new icon file in the user icon folder, named as a restore on an empty folder would.
  std::string NewIcon(const std::string& bytes) {
    const std::string path = paths.UserIconFolder + std::to_string(nextIcon++) + ".png";
    fs.Put(path, bytes);
    return path;
  }
  // A store with groups, members, ring shortcuts and icons of every kind, as loading would
  // leave it (kinds and group marks settled).
  void FillUserStore() {
    ShortcutStore& s = *store;
    fs.Put(paths.SystemIconFolder + "Group.png", "group");
    fs.Put(paths.SystemIconFolder + "Shortcut.png", "shortcut");
    for (int slot = 3; slot <= 12; ++slot) {
      ShortcutItem& entry = Item(s, slot);
      entry.ItemType = slot % 3 == 0 ? kItemGroup : kItemRingShortcut;
      entry.Title = "槽 " + std::to_string(slot);
      entry.IconFile = paths.SystemIconFolder + "Group.png";
      if (slot > 3 && entry.ItemType == kItemRingShortcut) {
        entry.IconFile = NewIcon("ring icon " + std::to_string(slot));
        entry.TargetPath = "C:\\Program Files\\App" + std::to_string(slot) + "\\app.exe";
        entry.LinkPath = entry.TargetPath;
      }
    }
    for (int slot = 13; slot <= 36; ++slot) Item(s, slot).ItemType = kItemShortcut;
    Item(s, kFirstBuiltInCommand).CustomIconFile = NewIcon("custom command icon");
    int member = kFirstUserItem;
    for (int g = 6; g <= 12; g += 3) {
      ItemGroup& group = s.Groups[static_cast<std::size_t>(g)];
      group.Count = 3;
      for (int m = 1; m <= 3; ++m, ++member) {
        group.Members[static_cast<std::size_t>(m)] = member;
        ShortcutItem& entry = Item(s, member);
        entry.ItemType = kItemGroupMember;
        entry.Title = "程序 " + std::to_string(member);
        entry.LinkPath = "C:\\Users\\alice\\Desktop\\p" + std::to_string(member) + ".lnk";
        entry.IconFile = m == 3 ? paths.SystemIconFolder + "Shortcut.png"
                                : NewIcon(std::string(static_cast<std::size_t>(member), 'i'));
        if (m == 2) entry.CustomIconFile = NewIcon("custom " + std::to_string(member));
      }
    }
    StoreFileImage image{s};
    ApplyStoreFile(s, image);
  }
  Files Snapshot() const {
    Files files;
    for (const std::string& path : fs.AllFiles()) files[path] = *fs.Get(path);
    return files;
  }
  // The icon bytes each field of the store names, field by field.
  std::vector<std::string> IconBytes(const ShortcutStore& s) const {
    std::vector<std::string> bytes;
    for (const ShortcutItem& item : s.Items) {
      for (const std::string* field : {&item.IconFile.str(), &item.CustomIconFile.str()}) {
        if (field->starts_with(paths.UserIconFolder)) {
          bytes.push_back(fs.Get(*field).value_or("<missing " + *field + ">"));
        }
      }
    }
    return bytes;
  }
};

TEST_F(ShortcutBackupTest, BackupResetRestoreGivesTheSameStoreAndIconBytes) {
  FillUserStore();
  ASSERT_TRUE(DataFiles(fs, codec, paths).SaveStore(*store));
  const ShortcutStore before = *store;
  const std::vector<std::string> iconsBefore = IconBytes(before);
  ASSERT_EQ(iconsBefore.size(), 16u);  // 6 ring, 1 command, 6 + 3 members

  ASSERT_TRUE(backup.BackupShortcuts(*store, kPackage));
  DataFiles(fs, codec, paths).DeleteDataFiles(false);
  *store = BuiltInStore();
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);

  for (int n = 0; n <= kLastItem; ++n) {
    EXPECT_TRUE(Item(*store, n) == before.Items[static_cast<std::size_t>(n)]) << n;
  }
  EXPECT_TRUE(store->Groups == before.Groups);
  EXPECT_EQ(IconBytes(*store), iconsBefore);
  EXPECT_TRUE(fs.Get(paths.MenuFile) == EncodeStoreFile(before, codec));
  EXPECT_TRUE(fs.Get(SafetyCopyPath(paths.MenuFile)) == EncodeStoreFile(before, codec));
}

TEST_F(ShortcutBackupTest, RestoreOverALiveStoreKeepsNoOldIconAndOverwritesNone) {
  FillUserStore();
  ASSERT_TRUE(backup.BackupShortcuts(*store, kPackage));
  const std::vector<std::string> packedIcons = IconBytes(*store);
  const Files before = Snapshot();
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);
  // Same content, fresh names: no file that existed was written over.
  EXPECT_EQ(IconBytes(*store), packedIcons);
  for (const ShortcutItem& item : store->Items) {
    for (const std::string& field : {item.IconFile.str(), item.CustomIconFile.str()}) {
      if (field.starts_with(paths.UserIconFolder)) {
        EXPECT_EQ(before.count(field), 0u) << field;
      }
    }
  }
  // The old icons are named by nothing now and are gone.
  for (const auto& [path, bytes] : before) {
    if (path.starts_with(paths.UserIconFolder)) {
      EXPECT_FALSE(fs.FileExists(path)) << path;
    }
  }
}

TEST_F(ShortcutBackupTest, BackupBlanksMissingFilesInThePackageOnly) {
  FillUserStore();
  const std::string gone = Item(*store, 130).CustomIconFile.str();
  ASSERT_FALSE(gone.empty());
  fs.RemoveFile(gone);
  const ShortcutStore live = *store;
  ASSERT_TRUE(backup.BackupShortcuts(*store, kPackage));
  EXPECT_TRUE(store->Items == live.Items);
  const auto decoded = DecodePackage(*fs.Get(kPackage), codec, paths.SystemIconFolder);
  ASSERT_TRUE(decoded.package);
  EXPECT_EQ(decoded.package->store.Items[130].CustomIconFile, "");
  EXPECT_EQ(decoded.package->icons.size(), IconBytes(live).size() - 1);
}

TEST_F(ShortcutBackupTest, AFailedBackupReportsFailureAndKeepsTheOldFile) {
  FillUserStore();
  fs.Put(kPackage, "old package");
  fs.failReplace = true;
  EXPECT_FALSE(backup.BackupShortcuts(*store, kPackage));
  EXPECT_EQ(fs.Get(kPackage), "old package");
  EXPECT_FALSE(fs.FileExists(kPackage + ".tmp"));
  fs.failReplace = false;
  fs.diskSpaceLeft = 1000;  // the disk fills up mid-write
  EXPECT_FALSE(backup.BackupShortcuts(*store, kPackage));
  EXPECT_EQ(fs.Get(kPackage), "old package");
}

TEST_F(ShortcutBackupTest, MissingAndDamagedPackagesChangeNothing) {
  FillUserStore();
  ASSERT_TRUE(DataFiles(fs, codec, paths).SaveStore(*store));
  ASSERT_TRUE(backup.BackupShortcuts(*store, kPackage));
  const std::string package = *fs.Get(kPackage);
  fs.RemoveFile(kPackage);
  const Files before = Snapshot();
  const ShortcutStore live = *store;

  EXPECT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Missing);
  EXPECT_EQ(Snapshot(), before);
  // Every cut through the blocks and the end marker, and a stride through the menu image.
  for (std::size_t length = 0; length < package.size();
       length += length < kStoreFileSize ? 65537 : 1) {
    fs.Put(kPackage, package.substr(0, length));
    ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Damaged) << length;
    fs.RemoveFile(kPackage);
    ASSERT_EQ(Snapshot(), before) << length;
    ASSERT_TRUE(store->Items == live.Items) << length;
  }
}

// A package written by hand: the store as given, blocks for the fields that carry one.
std::string HandMadePackage(const ShortcutStore& s, const std::string& sysFolder,
                            const AnsiCodec& codec, const std::string& blockBytes) {
  const auto package = MakePackage(
      s, sysFolder, [&](const std::string&) { return std::optional<std::string>(blockBytes); });
  return EncodePackage(*package, codec);
}

TEST_F(ShortcutBackupTest, PackagePathsNeverLeaveTheUserIconFolder) {
  ShortcutStore hostile = *store;
  const char* fields[] = {
      "C:\\Windows\\system32\\evil.dll",
      "..\\..\\Windows\\win.ini",
      "\\\\server\\share\\x.png",
      "C:\\Data\\KivoMenu.cfg",
      "C:\\Data\\KivoIcons\\..\\KivoCfg.cfg",
      "C:\\Data\\KivoIcons\\0.png",
      "relative.png",
      "C:\\Kivo\\SysIcons\\..\\..\\boot.ini",
  };
  int item = kFirstUserItem;
  for (const char* field : fields) {
    Item(hostile, item).ItemType = kItemGroupMember;
    Item(hostile, item).IconFile = field;
    Item(hostile, item).CustomIconFile = field;
    ++item;
  }
  fs.Put(paths.UserIconFolder + "0.png", "mine");
  fs.Put(kPackage, HandMadePackage(hostile, paths.SystemIconFolder, codec, "payload"));
  const Files before = Snapshot();
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);

  for (const auto& [path, bytes] : Snapshot()) {
    if (before.count(path) && before.at(path) == bytes) continue;
    const bool isMenu = path.starts_with(paths.MenuFile);
    const bool isNewIcon = path.starts_with(paths.UserIconFolder) &&
                           path.find('\\', paths.UserIconFolder.size()) == std::string::npos &&
                           path.ends_with(".png") && bytes == "payload";
    EXPECT_TRUE(isMenu || isNewIcon) << path;
  }
  for (int n = kFirstUserItem; n < item; ++n) {
    for (const std::string& field :
         {Item(*store, n).IconFile.str(), Item(*store, n).CustomIconFile.str()}) {
      EXPECT_TRUE(field.empty() || field.starts_with(paths.UserIconFolder)) << field;
      EXPECT_EQ(field.find(".."), std::string::npos) << field;
    }
  }
  // A system icon path that climbs out of the folder names nothing.
  ShortcutStore climbing = *store;
  Item(climbing, 200).ItemType = kItemGroupMember;
  Item(climbing, 200).IconFile = paths.SystemIconFolder + "..\\..\\boot.ini";
  Item(climbing, 201).ItemType = kItemGroupMember;
  Item(climbing, 201).IconFile = paths.SystemIconFolder + "Shortcut.png";
  fs.Put(kPackage, HandMadePackage(climbing, paths.SystemIconFolder, codec, "x"));
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);
  EXPECT_EQ(Item(*store, 200).IconFile, "");
  EXPECT_EQ(Item(*store, 201).IconFile, paths.SystemIconFolder + "Shortcut.png");
}

TEST_F(ShortcutBackupTest, APackageOfAnotherMachineRestoresWithThisMachinesFolders) {
  AppPaths theirs = paths;
  theirs.SystemIconFolder = "D:\\Tools\\Kivo\\SysIcons\\";
  theirs.UserIconFolder = "E:\\Profiles\\bob\\KivoIcons\\";
  ShortcutStore other;
  DefineBuiltInItems(other, settings, theirs, "bob", false);
  Item(other, 4).ItemType = kItemGroup;
  Item(other, 4).IconFile = theirs.SystemIconFolder + "Group.png";
  Item(other, 129).ItemType = kItemGroupMember;
  Item(other, 129).IconFile = theirs.UserIconFolder + "7.png";
  Item(other, 129).CustomIconFile = theirs.SystemIconFolder + "Shortcut.png";
  other.Groups[4].Count = 1;
  other.Groups[4].Members[1] = 129;
  fs.Put(kPackage, HandMadePackage(other, theirs.SystemIconFolder, codec, "bob's icon"));
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);
  EXPECT_EQ(Item(*store, 4).IconFile, paths.SystemIconFolder + "Group.png");
  EXPECT_EQ(Item(*store, 129).IconFile, paths.UserIconFolder + "0.png");
  EXPECT_EQ(fs.Get(paths.UserIconFolder + "0.png"), "bob's icon");
  EXPECT_EQ(Item(*store, 129).CustomIconFile, paths.SystemIconFolder + "Shortcut.png");
  EXPECT_EQ(store->Groups[4].Count, 1);
}

TEST_F(ShortcutBackupTest, BuiltInItemsAreNotReplacedFromThePackage) {
  ShortcutStore tampered = *store;
  for (int n : {0, 1, 2, 37, 42, 50, 64, 65, 100, 128}) {
    Item(tampered, n).ItemType = kItemGroupMember;
    Item(tampered, n).Title = "tampered";
    Item(tampered, n).TargetPath = "C:\\evil.exe";
    Item(tampered, n).IconFile = paths.SystemIconFolder + "Evil.png";
  }
  Item(tampered, 100).CustomIconFile = paths.UserIconFolder + "mine.png";
  fs.Put(kPackage, HandMadePackage(tampered, paths.SystemIconFolder, codec, "own icon"));
  const ShortcutStore live = *store;
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);
  for (int n = 0; n <= kLastBuiltInCommand; ++n) {
    if (n >= kFirstRingGroup && n <= kLastRingGroup) continue;
    ShortcutItem expected = live.Items[static_cast<std::size_t>(n)];
    // The user's own picture for a command survives, as it does a restart.
    if (n == 100) expected.CustomIconFile = paths.UserIconFolder + "0.png";
    EXPECT_TRUE(Item(*store, n) == expected) << n;
  }
  EXPECT_EQ(fs.Get(paths.UserIconFolder + "0.png"), "own icon");
}

// Fault injection: every file operation of a run fails in turn. After each run the files
// and the store are wholly the old ones or wholly the new ones.
class FaultTest : public ShortcutBackupTest {
 protected:
  void Arrange() {
    FillUserStore();
    ASSERT_TRUE(DataFiles(fs, codec, paths).SaveStore(*store));
    ASSERT_TRUE(DataFiles(fs, codec, paths).SaveSettings(settings, Item(*store, 0)));
    // The package restores a different store than the live one.
    ShortcutStore other = *store;
    Item(other, 200).ItemType = kItemGroupMember;
    Item(other, 200).IconFile = NewIcon("extra");
    Item(other, 5).Title = "changed";
    ASSERT_TRUE(backup.BackupShortcuts(other, kPackage));
    fs.RemoveFile(Item(other, 200).IconFile.str());
  }
  // Runs `run` with operation `k` failing (0: none) on a copy of the arranged world.
  template <typename Run>
  auto Faulted(int k, Run run) {
    testing::MemoryFileSystem world = fs;
    world.operations = 0;
    world.failOperation = k;
    ShortcutBackup worldBackup{world, codec, paths};
    auto worldStore = std::make_unique<ShortcutStore>(*store);
    const auto result = run(worldBackup, *worldStore);
    Files files;
    for (const std::string& path : world.AllFiles()) files[path] = *world.Get(path);
    return std::tuple{result, std::move(worldStore), files, world.operations};
  }
};

TEST_F(FaultTest, RestoreIsAllOrNothingUnderEveryFault) {
  Arrange();
  const Files before = Snapshot();
  auto restore = [](ShortcutBackup& b, ShortcutStore& s) {
    return b.RestoreShortcuts(s, kPackage);
  };
  const auto [cleanResult, cleanStore, cleanFiles, operations] = Faulted(0, restore);
  ASSERT_EQ(cleanResult, RestoreResult::Restored);
  ASSERT_GT(operations, 10);
  int restored = 0, refused = 0;
  for (int k = 1; k <= operations; ++k) {
    const auto [result, faultedStore, files, ops] = Faulted(k, restore);
    if (result == RestoreResult::Restored) {
      ++restored;
      EXPECT_TRUE(faultedStore->Items == cleanStore->Items) << k;
      // Everything the clean run left, and at most an old icon whose removal failed.
      for (const auto& [path, bytes] : files) {
        const bool asClean = cleanFiles.count(path) && cleanFiles.at(path) == bytes;
        const bool oldIcon = before.count(path) && before.at(path) == bytes &&
                             path.starts_with(paths.UserIconFolder);
        EXPECT_TRUE(asClean || oldIcon) << k << " " << path;
      }
      for (const auto& [path, bytes] : cleanFiles) EXPECT_TRUE(files.count(path)) << k << path;
    } else {
      ++refused;
      EXPECT_TRUE(faultedStore->Items == store->Items) << k;
      EXPECT_TRUE(files == before) << k;
    }
  }
  EXPECT_GT(refused, 5);
  EXPECT_GT(restored, 0);  // the removals of old icons come after the commit
}

TEST_F(FaultTest, BackupIsAllOrNothingUnderEveryFault) {
  Arrange();
  fs.Put(kPackage, "old package");
  const Files before = Snapshot();
  auto run = [](ShortcutBackup& b, ShortcutStore& s) { return b.BackupShortcuts(s, kPackage); };
  const auto [cleanResult, cleanStore, cleanFiles, operations] = Faulted(0, run);
  ASSERT_TRUE(cleanResult);
  for (int k = 1; k <= operations; ++k) {
    const auto [result, faultedStore, files, ops] = Faulted(k, run);
    EXPECT_TRUE(faultedStore->Items == store->Items) << k;
    EXPECT_TRUE(files == (result ? cleanFiles : before)) << k;
  }
}

TEST_F(FaultTest, SettingsRestoreIsAllOrNothingUnderEveryFault) {
  Arrange();
  Settings changed = settings;
  changed.IconSize = 32;
  const std::string source = "C:\\Users\\alice\\Kivo Launcher Cfg.bak";
  ASSERT_TRUE(backup.BackupSettings(changed, Item(*store, 0), source));
  const Files before = Snapshot();
  auto run = [&](ShortcutBackup& b, ShortcutStore&) { return b.RestoreSettings(source); };
  const auto [cleanResult, cleanStore, cleanFiles, operations] = Faulted(0, run);
  ASSERT_EQ(cleanResult, RestoreResult::Restored);
  EXPECT_EQ(cleanFiles.at(paths.SettingsFile), before.at(source));
  EXPECT_EQ(cleanFiles.at(SafetyCopyPath(paths.SettingsFile)), before.at(source));
  for (int k = 1; k <= operations; ++k) {
    const auto [result, faultedStore, files, ops] = Faulted(k, run);
    EXPECT_TRUE(files == (result == RestoreResult::Restored ? cleanFiles : before)) << k;
  }
}

TEST_F(ShortcutBackupTest, OnlyAWholeSettingsFileIsRestored) {
  const std::string source = "C:\\cfg.bak";
  ASSERT_TRUE(backup.BackupSettings(settings, Item(*store, 0), source));
  const std::string good = *fs.Get(source);
  ASSERT_EQ(good.size(), kSettingsFileSize);
  fs.Put(paths.SettingsFile, "current");
  struct Row {
    std::string bytes;
    RestoreResult result;
  } rows[] = {{"", RestoreResult::Damaged},
              {good.substr(0, 563), RestoreResult::Damaged},
              {good + "x", RestoreResult::Damaged},
              {EncodeStoreFile(*store, codec), RestoreResult::Damaged},
              {good, RestoreResult::Restored}};
  EXPECT_EQ(backup.RestoreSettings(source + "x"), RestoreResult::Missing);
  for (const Row& row : rows) {
    fs.Put(source, row.bytes);
    EXPECT_EQ(backup.RestoreSettings(source), row.result) << row.bytes.size();
    EXPECT_EQ(fs.Get(paths.SettingsFile), row.result == RestoreResult::Restored ? good : "current");
  }
}

TEST_F(ShortcutBackupTest, ReloadDataFollowsItsThreeSwitches) {
  FillUserStore();
  settings.IconSize = 32;
  DataFiles files(fs, codec, paths);
  ASSERT_TRUE(files.SaveStore(*store));
  ASSERT_TRUE(files.SaveSettings(settings, Item(*store, 0)));
  // Item 130's icons are lost; item 131 still has one.
  fs.RemoveFile(Item(*store, 130).IconFile.str());
  fs.RemoveFile(Item(*store, 130).CustomIconFile.str());
  ASSERT_TRUE(files.SaveStore(*store));

  struct Row {
    bool resetSettings, resetShortcuts, repairIcons;
    int iconSize;
    bool defaults;
    std::vector<int> rebuilt;
  } rows[] = {{false, false, false, 32, false, {}},
              {true, false, false, 48, false, {}},
              {false, true, false, 32, true, {}},
              {false, false, true, 32, false, {130}}};
  for (const Row& row : rows) {
    auto data = std::make_unique<AppData>();
    data->paths = paths;
    InitializeSteps steps;
    steps.readScreen = [] { return MakeScreenInfo(1920, 1050, 30, 96, 96, {0, 0, 1920, 1040}); };
    steps.defineBuiltInItems = [&](AppData& d) {
      DefineBuiltInItems(d.store, d.settings, d.paths, "alice", false);
    };
    bool defaultsBuilt = false;
    steps.buildDefaultGroups = [&](AppData&) { defaultsBuilt = true; };
    std::vector<int> rebuilt;
    const int count = ReloadData(
        *data, files, steps, fs,
        [&](int item) {
          rebuilt.push_back(item);
          return true;
        },
        row.resetSettings, row.resetShortcuts, row.repairIcons);
    EXPECT_EQ(data->settings.IconSize, row.iconSize);
    EXPECT_EQ(defaultsBuilt, row.defaults);
    EXPECT_EQ(rebuilt, row.rebuilt);
    EXPECT_EQ(count, static_cast<int>(row.rebuilt.size()));
    if (!row.defaults) {
      EXPECT_EQ(data->store.Items[131].Title, Item(*store, 131).Title);
    }
  }
}

}  // namespace
}  // namespace kivo
