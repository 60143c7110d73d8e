#include "items/shortcut_backup.h"

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "core/safe_file.h"
#include "core/store_file.h"
#include "core/text.h"

namespace kivo {
namespace {

// A bare file name: what a field below the package's system icon folder may add to this
// machine's folder. Anything that could reach another folder is refused.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/:") == std::string::npos;
}

bool IsBuiltInCommand(int item) {
  return item >= kFirstBuiltInCommand && item <= kLastBuiltInCommand;
}

// Items a package fills: the ring slots and the user's shortcuts. Everything else is the
// program's own definition.
bool TakenFromPackage(int item) {
  return (item >= kFirstRingGroup && item <= kLastRingGroup) || item >= kFirstUserItem;
}

}  // namespace

bool BuildRestoredStore(
    const ShortcutStore& live, const ShortcutPackage& package, const std::string& systemIconFolder,
    const std::function<std::optional<std::string>(const PackageIcon&)>& placeIcon,
    ShortcutStore& restored) {
  // The package's image taken in as a menu file is (kinds repaired, group marks set), then
  // only its user part kept.
  auto taken = std::make_unique<ShortcutStore>(live);
  auto image = std::make_unique<StoreFileImage>(StoreFileImage{package.store});
  ApplyStoreFile(*taken, *image);
  image.reset();

  restored = live;
  for (int g = kFirstRingGroup; g <= kLastRingGroup; ++g) {
    const auto index = static_cast<std::size_t>(g);
    restored.Groups[index] = taken->Groups[index];
  }
  for (int item = 0; item <= kLastItem; ++item) {
    if (TakenFromPackage(item)) {
      restored.Items[static_cast<std::size_t>(item)] = taken->Items[static_cast<std::size_t>(item)];
    }
  }
  taken.reset();

  std::vector<const PackageIcon*> blocks(static_cast<std::size_t>(kItemCount) * 2, nullptr);
  for (const PackageIcon& icon : package.icons) {
    if (icon.item < 0 || icon.item > kLastItem) continue;
    blocks[static_cast<std::size_t>(icon.item) * 2 + (icon.custom ? 1 : 0)] = &icon;
  }
  const std::string& packageFolder = package.systemIconFolder;
  // The new value of one icon field; nothing when an icon could not be placed.
  auto rewrite = [&](int item, bool custom) -> std::optional<std::string> {
    const ShortcutItem& stored = package.store.Items[static_cast<std::size_t>(item)];
    const std::string& field = custom ? stored.CustomIconFile.str() : stored.IconFile.str();
    if (field.empty()) return std::string();
    if (!FieldCarriesBlock(field, packageFolder)) {
      const std::string name = field.substr(packageFolder.size());
      return IsPlainFileName(name) ? systemIconFolder + name : std::string();
    }
    const PackageIcon* block = blocks[static_cast<std::size_t>(item) * 2 + (custom ? 1 : 0)];
    // Ring slot 3 carries no block: a path of another machine is no use here.
    if (block == nullptr) return std::string();
    return placeIcon(*block);
  };
  for (int item = kFirstRingGroup; item <= kLastItem; ++item) {
    ShortcutItem& entry = restored.Items[static_cast<std::size_t>(item)];
    if (TakenFromPackage(item)) {
      const auto icon = rewrite(item, false);
      if (!icon) return false;
      entry.IconFile = *icon;
    }
    if (TakenFromPackage(item) || IsBuiltInCommand(item)) {
      const auto custom = rewrite(item, true);
      if (!custom) return false;
      entry.CustomIconFile = *custom;
    }
  }
  return true;
}

bool ShortcutBackup::BackupShortcuts(const ShortcutStore& store, const std::string& packagePath) {
  // A missing file (or one too large to be an icon) leaves its field blank in the
  // package; a file that is there but cannot be read fails the backup rather than
  // quietly losing the picture.
  bool unreadable = false;
  const auto package = MakePackage(store, paths_.SystemIconFolder, [&](const std::string& path) {
    std::optional<std::string> bytes;
    if (!fs_.FileExists(path)) return bytes;
    const auto size = fs_.FileSize(path);
    if (size && *size > kMaxPackageIconBytes) return bytes;
    bytes = fs_.ReadFile(path, kMaxPackageIconBytes);
    if (!bytes) unreadable = true;
    return bytes;
  });
  if (unreadable) return false;
  return WriteFileReplacing(fs_, packagePath, EncodePackage(*package, codec_));
}

std::optional<ShortcutBackup::FilePair> ShortcutBackup::Snapshot(
    const std::string& livePath) const {
  FilePair pair;
  for (auto [path, slot] :
       {std::pair{livePath, &pair.live}, std::pair{SafetyCopyPath(livePath), &pair.copy}}) {
    if (!fs_.FileExists(path)) continue;
    *slot = fs_.ReadFile(path, kMaxPackageBytes);
    // A file that cannot be read could not be put back: better not to start.
    if (!*slot) return std::nullopt;
  }
  return pair;
}

void ShortcutBackup::PutBack(const std::string& livePath, const FilePair& before) {
  for (auto [path, old] :
       {std::pair{livePath, &before.live}, std::pair{SafetyCopyPath(livePath), &before.copy}}) {
    const std::optional<std::string> now =
        fs_.FileExists(path) ? fs_.ReadFile(path, kMaxPackageBytes) : std::nullopt;
    if (now == *old) continue;
    if (*old) {
      (void)WriteFileReplacing(fs_, path, **old);
    } else {
      fs_.RemoveFile(path);
    }
  }
}

void ShortcutBackup::RemoveUnusedIcons(const ShortcutStore& store) {
  std::set<std::string> named;
  for (const ShortcutItem& item : store.Items) {
    named.insert(AsciiUpper(item.IconFile.str()));
    named.insert(AsciiUpper(item.CustomIconFile.str()));
  }
  for (const std::string& name : fs_.ListFiles(paths_.UserIconFolder, ".png")) {
    const std::string path = paths_.UserIconFolder + name;
    if (named.count(AsciiUpper(path)) == 0) fs_.RemoveFile(path);
  }
}

RestoreResult ShortcutBackup::RestoreShortcuts(ShortcutStore& store,
                                               const std::string& packagePath) {
  if (!fs_.FileExists(packagePath)) return RestoreResult::Missing;
  DecodedPackage decoded;
  {
    const auto bytes = fs_.ReadFile(packagePath, kMaxPackageBytes);
    if (!bytes) return RestoreResult::Damaged;
    decoded = DecodePackage(*bytes, codec_, paths_.SystemIconFolder);
  }
  if (!decoded.package) return RestoreResult::Damaged;

  const auto before = Snapshot(paths_.MenuFile);
  if (!before) return RestoreResult::Failed;

  std::vector<std::string> written;
  std::uint64_t nextNumber = 0;
  // NewIconFileName's first free "<n>.png", searched on from the last name taken against
  // one listing of the folder: a full store costs no look at the disk per name.
  std::set<std::string> taken;
  for (const std::string& name : fs_.ListFiles(paths_.UserIconFolder, ".png")) {
    taken.insert(AsciiUpper(name));
  }
  auto place = [&](const PackageIcon& icon) -> std::optional<std::string> {
    if (icon.bytes.empty()) return std::string();  // an empty file is no picture
    std::string name;
    do name = std::to_string(nextNumber++) + ".png";
    while (taken.count(AsciiUpper(name)) != 0);
    const std::string path = paths_.UserIconFolder + name;
    written.push_back(path);
    // Icons are many and can be made again from their targets; the menu file that names
    // them is flushed when it is committed. A write that fails (a folder of that name,
    // a full disk) fails the whole restore.
    if (!fs_.WriteFileLazily(path, icon.bytes)) return std::nullopt;
    return path;
  };
  fs_.CreateFolder(paths_.UserIconFolder);
  auto restored = std::make_unique<ShortcutStore>();
  bool installed =
      BuildRestoredStore(store, *decoded.package, paths_.SystemIconFolder, place, *restored);
  decoded.package.reset();
  if (installed) {
    installed = SaveWithSafetyCopy(fs_, paths_.MenuFile, EncodeStoreFile(*restored, codec_));
  }
  if (!installed) {
    PutBack(paths_.MenuFile, *before);
    for (const std::string& path : written) fs_.RemoveFile(path);
    return RestoreResult::Failed;
  }
  store = *restored;
  // The previous store's icons are named by nothing now; a removal that fails leaves an
  // unused file, never a missing one.
  RemoveUnusedIcons(store);
  return RestoreResult::Restored;
}

bool ShortcutBackup::BackupSettings(const Settings& settings, const ShortcutItem& userItem,
                                    const std::string& target) {
  const SettingsRecord record = MakeSettingsRecord(settings, userItem.IconFile.str());
  return WriteFileReplacing(fs_, target, EncodeSettingsFile(record, codec_));
}

RestoreResult ShortcutBackup::RestoreSettings(const std::string& source) {
  if (!fs_.FileExists(source)) return RestoreResult::Missing;
  const auto bytes = fs_.ReadFile(source, kSettingsFileSize);
  if (!bytes || bytes->size() != kSettingsFileSize || !DecodeSettingsFile(*bytes, codec_)) {
    return RestoreResult::Damaged;
  }
  const auto before = Snapshot(paths_.SettingsFile);
  if (!before) return RestoreResult::Failed;
  if (!SaveWithSafetyCopy(fs_, paths_.SettingsFile, *bytes)) {
    PutBack(paths_.SettingsFile, *before);
    return RestoreResult::Failed;
  }
  return RestoreResult::Restored;
}

int ReloadData(AppData& data, DataFiles& files, const InitializeSteps& steps, const FileSystem& fs,
               const std::function<bool(int)>& rebuildIcon, bool resetSettings, bool resetShortcuts,
               bool repairIcons) {
  InitializeData(data, files, steps, resetShortcuts || repairIcons, !resetSettings,
                 !resetShortcuts);
  if (!repairIcons || !rebuildIcon) return 0;
  int rebuilt = 0;
  auto repair = [&](int item) {
    const ShortcutItem& entry = data.store.Items[static_cast<std::size_t>(item)];
    // Without a path there is nothing to make an icon from.
    if (entry.ItemType == kItemUnused || entry.LinkPath.empty()) return;
    const bool hasIcon = (!entry.CustomIconFile.empty() && fs.FileExists(entry.CustomIconFile)) ||
                         (!entry.IconFile.empty() && fs.FileExists(entry.IconFile));
    if (!hasIcon && rebuildIcon(item)) ++rebuilt;
  };
  for (int item = kFirstPackagedIconItem; item <= kLastRingGroup; ++item) repair(item);
  for (int item = kFirstUserItem; item <= kLastItem; ++item) repair(item);
  return rebuilt;
}

}  // namespace kivo
