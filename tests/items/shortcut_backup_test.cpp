#include "items/shortcut_backup.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "core/safe_file.h"
#include "core/store_file.h"
#include "items/builtin_items.h"
#include "support/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kivo {
namespace {

using Files = std::map<std::string, std::string>;
const std::string kPackage = "C:\\Users\\alice\\Kivo Launcher Icons.bak";

Files Snapshot(const testing::MemoryFileSystem& fs) {
  Files files;
  for (const std::string& path : fs.AllFiles()) files[path] = *fs.Get(path);
  return files;
}

class ShortcutBackupTest : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  testing::MemoryFileSystem fs;
  AppPaths paths = [] {
    AppPaths p;
    p.ProgramFolder = "C:\\Kivo\\";
    p.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
    p.DataFolder = "C:\\Data\\";
    p.UserIconFolder = "C:\\Data\\KivoIcons\\";
    p.UserPicture = p.UserIconFolder + "User Icon.ico";
    p.MenuFile = "C:\\Data\\KivoMenu.cfg";
    p.SettingsFile = "C:\\Data\\KivoCfg.cfg";
    return p;
  }();
  Settings settings;
  std::unique_ptr<ShortcutStore> store = std::make_unique<ShortcutStore>(BuiltInStore());
  ShortcutBackup backup{fs, codec, paths};
  int nextIcon = 0;

  ShortcutStore BuiltInStore() const {
    ShortcutStore built;
    DefineBuiltInItems(built, settings, paths, "alice", false);
    return built;
  }
  ShortcutItem& Item(ShortcutStore& s, int n) { return s.Items[std::size_t(n)]; }
  std::string NewIcon(const std::string& bytes) {
    const std::string path = paths.UserIconFolder + std::to_string(nextIcon++) + ".png";
    fs.Put(path, bytes);
    return path;
  }
  // Groups, members, ring shortcuts and icons of every kind, as loading leaves them.
  void FillUserStore() {
    ShortcutStore& s = *store;
    const std::string group = paths.SystemIconFolder + "Group.png";
    const std::string shortcut = paths.SystemIconFolder + "Shortcut.png";
    fs.Put(group, "group");
    fs.Put(shortcut, "shortcut");
    for (int slot = 3; slot <= 12; ++slot) {
      ShortcutItem& entry = Item(s, slot);
      const bool ring = slot % 3 != 0;
      entry.ItemType = ring ? kItemRingShortcut : kItemGroup;
      entry.Title = "槽 " + std::to_string(slot);
      entry.IconFile = ring ? NewIcon(entry.Title.str()) : group;
      entry.LinkPath = entry.TargetPath = ring ? "C:\\App" + std::to_string(slot) + "\\a.exe" : "";
    }
    for (int slot = 13; slot <= 36; ++slot) Item(s, slot).ItemType = kItemShortcut;
    Item(s, kFirstBuiltInCommand).CustomIconFile = NewIcon("custom command icon");
    for (int g = 6, member = kFirstUserItem; g <= 12; g += 3) {
      s.Groups[static_cast<std::size_t>(g)].Count = 3;
      for (int m = 1; m <= 3; ++m, ++member) {
        s.Groups[static_cast<std::size_t>(g)].Members[static_cast<std::size_t>(m)] = member;
        ShortcutItem& entry = Item(s, member);
        entry.ItemType = kItemGroupMember;
        entry.Title = "程序 " + std::to_string(member);
        entry.LinkPath = "C:\\Users\\alice\\Desktop\\p" + std::to_string(member) + ".lnk";
        entry.IconFile =
            m == 3 ? shortcut : NewIcon(std::string(static_cast<std::size_t>(member), 'i'));
        if (m == 2) entry.CustomIconFile = NewIcon("custom " + std::to_string(member));
      }
    }
    StoreFileImage image{s};
    ApplyStoreFile(s, image);
  }
  // The icon bytes each field of the store names, field by field.
  std::vector<std::string> IconBytes(const ShortcutStore& s) const {
    std::vector<std::string> bytes;
    for (const ShortcutItem& item : s.Items) {
      for (const std::string* field : {&item.IconFile.str(), &item.CustomIconFile.str()}) {
        if (field->starts_with(paths.UserIconFolder)) bytes.push_back(fs.Get(*field).value_or("-"));
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
  ASSERT_EQ(iconsBefore.size(), 16u);
  ASSERT_TRUE(backup.BackupShortcuts(*store, kPackage));
  const std::string package = *fs.Get(kPackage);
  DataFiles(fs, codec, paths).DeleteDataFiles(false);
  *store = BuiltInStore();
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);
  EXPECT_TRUE(store->Items == before.Items && store->Groups == before.Groups);
  EXPECT_EQ(IconBytes(*store), iconsBefore);
  EXPECT_TRUE(fs.Get(SafetyCopyPath(paths.MenuFile)) == EncodeStoreFile(before, codec));

  // Over the live store: same bytes under fresh names, and the old icons are gone.
  const Files live = Snapshot(fs);
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);
  EXPECT_EQ(IconBytes(*store), iconsBefore);
  for (const auto& [path, bytes] : Snapshot(fs)) {
    EXPECT_TRUE(!path.starts_with(paths.UserIconFolder) || !live.count(path)) << path;
  }
  // Missing and cut packages change nothing (a stride through the menu image).
  fs.RemoveFile(kPackage);
  const Files files = Snapshot(fs);
  const ShortcutStore restored = *store;
  EXPECT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Missing);
  for (std::size_t length = 0; length < package.size();
       length += length < kStoreFileSize ? 65537 : 1) {
    fs.Put(kPackage, package.substr(0, length));
    ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Damaged) << length;
    fs.RemoveFile(kPackage);
    ASSERT_EQ(Snapshot(fs), files) << length;
    ASSERT_TRUE(store->Items == restored.Items) << length;
  }
}

// A package from another machine, with built-in items tampered with and icon fields that
// try to reach other folders: only ring slots and user items are taken, every icon lands
// as a new file in this machine's icon folder, system icons move to this machine's folder.
TEST_F(ShortcutBackupTest, APackageOnlyFillsUserItemsAndThisMachinesIconFolder) {
  AppPaths theirs = paths;
  theirs.SystemIconFolder = "D:\\Tools\\Kivo\\SysIcons\\";
  ShortcutStore other;
  DefineBuiltInItems(other, settings, theirs, "bob", false);
  for (int n : {0, 1, 2, 37, 42, 64, 100, 128}) {
    Item(other, n).ItemType = kItemGroupMember;
    Item(other, n).Title = "tampered";
    Item(other, n).IconFile = theirs.SystemIconFolder + "Evil.png";
  }
  Item(other, 100).CustomIconFile = paths.UserIconFolder + "mine.png";
  Item(other, 4).ItemType = kItemGroup;
  Item(other, 4).IconFile = theirs.SystemIconFolder + "Group.png";
  int item = kFirstUserItem;
  for (const char* field : {"C:\\Windows\\evil.dll", "..\\..\\win.ini", "\\\\server\\share\\x.png",
                            "C:\\Data\\KivoIcons\\..\\KivoCfg.cfg", "C:\\Data\\KivoIcons\\0.png",
                            "relative.png", "D:\\Tools\\Kivo\\SysIcons\\..\\..\\boot.ini"}) {
    Item(other, item).ItemType = kItemGroupMember;
    Item(other, item).IconFile = Item(other, item).CustomIconFile = field;
    ++item;
  }
  Item(other, item).ItemType = kItemGroupMember;
  Item(other, item).CustomIconFile = theirs.SystemIconFolder + "Shortcut.png";
  fs.Put(paths.UserIconFolder + "0.png", "mine");
  const auto package = MakePackage(other, theirs.SystemIconFolder, [](const std::string&) {
    return std::optional<std::string>("payload");
  });
  fs.Put(kPackage, EncodePackage(*package, codec));
  const ShortcutStore live = *store;
  const Files before = Snapshot(fs);
  ASSERT_EQ(backup.RestoreShortcuts(*store, kPackage), RestoreResult::Restored);

  for (const auto& [path, bytes] : Snapshot(fs)) {
    if (before.count(path) && before.at(path) == bytes) continue;
    const bool newIcon = path.starts_with(paths.UserIconFolder) && bytes == "payload" &&
                         path.find('\\', paths.UserIconFolder.size()) == std::string::npos;
    EXPECT_TRUE(path.starts_with(paths.MenuFile) || newIcon) << path;
  }
  // The user's own picture for a command survives, as it does a restart.
  EXPECT_EQ(fs.Get(Item(*store, 100).CustomIconFile.str()), "payload");
  for (int n = 0; n <= kLastBuiltInCommand; ++n) {
    ShortcutItem expected = live.Items[static_cast<std::size_t>(n)];
    if (n == 100) expected.CustomIconFile = Item(*store, n).CustomIconFile;
    EXPECT_TRUE(Item(*store, n) == expected || (n >= kFirstRingGroup && n <= kLastRingGroup)) << n;
  }
  EXPECT_EQ(Item(*store, 4).IconFile, paths.SystemIconFolder + "Group.png");
  EXPECT_EQ(Item(*store, item).CustomIconFile, paths.SystemIconFolder + "Shortcut.png");
  for (int n = kFirstUserItem; n < item; ++n) {
    for (const std::string& field :
         {Item(*store, n).IconFile.str(), Item(*store, n).CustomIconFile.str()}) {
      EXPECT_TRUE(field.empty() || field.starts_with(paths.UserIconFolder)) << field;
      EXPECT_EQ(field.find(".."), std::string::npos) << field;
    }
  }
  EXPECT_EQ(Item(*store, kFirstUserItem + 6).IconFile, "");  // climbs out of the system folder
}

// Fault injection: every file operation of a run fails in turn. After each run the files
// and the store are wholly the old ones or wholly the new ones.
class FaultTest : public ShortcutBackupTest {
 protected:
  using Run = std::function<bool(ShortcutBackup&, ShortcutStore&)>;
  std::tuple<bool, ShortcutStore, Files, int> Faulted(int k, const Run& run) {
    testing::MemoryFileSystem world = fs;
    world.operations = 0;
    world.failOperation = k;
    ShortcutBackup worldBackup{world, codec, paths};
    auto worldStore = std::make_unique<ShortcutStore>(*store);
    const bool done = run(worldBackup, *worldStore);
    return {done, *worldStore, Snapshot(world), world.operations};
  }
  // Counts the faulted runs that succeeded: they may leave an old icon, nothing else.
  int ExpectAllOrNothing(const Run& run) {
    const Files before = Snapshot(fs);
    const auto [cleanDone, cleanStore, cleanFiles, operations] = Faulted(0, run);
    EXPECT_TRUE(cleanDone);
    EXPECT_GT(operations, 2);
    int succeeded = 0;
    for (int k = 1; k <= operations; ++k) {
      const auto [done, faultedStore, files, ops] = Faulted(k, run);
      EXPECT_TRUE(faultedStore.Items == (done ? cleanStore : *store).Items) << k;
      EXPECT_TRUE(done || files == before) << k;
      if (!done) continue;
      ++succeeded;
      for (const auto& [path, bytes] : files) {
        const bool oldIcon = path.starts_with(paths.UserIconFolder) && before.count(path) &&
                             before.at(path) == bytes;
        EXPECT_TRUE((cleanFiles.count(path) && cleanFiles.at(path) == bytes) || oldIcon) << k;
      }
      for (const auto& [path, bytes] : cleanFiles) EXPECT_TRUE(files.count(path)) << k << path;
    }
    return succeeded;
  }
};

TEST_F(FaultTest, RestoreBackupAndSettingsAreAllOrNothingUnderEveryFault) {
  FillUserStore();
  ASSERT_TRUE(DataFiles(fs, codec, paths).SaveStore(*store));
  ASSERT_TRUE(DataFiles(fs, codec, paths).SaveSettings(settings, Item(*store, 0)));
  ShortcutStore other = *store;  // the package holds a different store
  Item(other, 200).ItemType = kItemGroupMember;
  Item(other, 200).IconFile = NewIcon("extra");
  Item(other, 5).Title = "changed";
  ASSERT_TRUE(backup.BackupShortcuts(other, kPackage));
  fs.RemoveFile(Item(other, 200).IconFile.str());
  // The removals of old icons come after the commit: some faulted restores succeed.
  EXPECT_GT(ExpectAllOrNothing([](ShortcutBackup& b, ShortcutStore& s) {
              return b.RestoreShortcuts(s, kPackage) == RestoreResult::Restored;
            }),
            0);
  fs.Put(kPackage, "old package");
  ExpectAllOrNothing(
      [](ShortcutBackup& b, ShortcutStore& s) { return b.BackupShortcuts(s, kPackage); });
  Settings changed = settings;
  changed.IconSize = 32;
  const std::string source = "C:\\cfg.bak";
  ASSERT_TRUE(backup.BackupSettings(changed, Item(*store, 0), source));
  ExpectAllOrNothing([&](ShortcutBackup& b, ShortcutStore&) {
    return b.RestoreSettings(source) == RestoreResult::Restored;
  });
  const std::string good = *fs.Get(source), current = *fs.Get(paths.SettingsFile);
  EXPECT_EQ(backup.RestoreSettings(source + "x"), RestoreResult::Missing);
  for (const std::string& bytes :
       {good.substr(0, 563), good + "x", EncodeStoreFile(*store, codec)}) {
    fs.Put(source, bytes);
    EXPECT_EQ(backup.RestoreSettings(source), RestoreResult::Damaged);
    EXPECT_EQ(fs.Get(paths.SettingsFile), current);
  }
  fs.Put(source, good);
  ASSERT_EQ(backup.RestoreSettings(source), RestoreResult::Restored);
  EXPECT_EQ(fs.Get(paths.SettingsFile), good);
  EXPECT_EQ(fs.Get(SafetyCopyPath(paths.SettingsFile)), good);
}

TEST_F(ShortcutBackupTest, ReloadDataFollowsItsThreeSwitches) {
  FillUserStore();
  settings.IconSize = 32;
  DataFiles files(fs, codec, paths);
  for (const auto* lost : {&Item(*store, 130).IconFile, &Item(*store, 130).CustomIconFile})
    fs.RemoveFile(lost->str());
  ASSERT_TRUE(files.SaveSettings(settings, Item(*store, 0)) && files.SaveStore(*store));
  for (const auto& [resetSettings, resetShortcuts, repair] :
       {std::tuple{true, false, false}, {false, true, false}, {false, false, true}}) {
    auto data = std::make_unique<AppData>();
    data->paths = paths;
    InitializeSteps steps;
    steps.readScreen = [] { return MakeScreenInfo(1920, 1050, 30, 96, 96, {0, 0, 1920, 1040}); };
    steps.defineBuiltInItems = [](AppData&) {};
    steps.buildDefaultGroups = [](AppData& d) { d.store.Items[131].Title = "default"; };
    std::vector<int> rebuilt;
    ReloadData(
        *data, files, steps, fs, [&](int n) { return rebuilt.push_back(n), true; }, resetSettings,
        resetShortcuts, repair);
    EXPECT_EQ(data->settings.IconSize, resetSettings ? 48 : 32);
    EXPECT_EQ(rebuilt, repair ? std::vector<int>{130} : std::vector<int>{});
    EXPECT_EQ(data->store.Items[131].Title, resetShortcuts ? "default" : Item(*store, 131).Title);
  }
}

}  // namespace
}  // namespace kivo
