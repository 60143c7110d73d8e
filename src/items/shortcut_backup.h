// Backing up, restoring and resetting the user's data: the settings file and the shortcut
// package. Nothing here asks or tells the user anything; the caller does, from the results.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/ansi_codec.h"
#include "core/data_files.h"
#include "core/file_system.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/shortcut_package.h"
#include "core/startup.h"
#include "core/store.h"

namespace kivo {

enum class RestoreResult {
  Restored,  // the new data is in place, in the files and in memory
  Missing,   // the chosen file does not exist
  Damaged,   // the chosen file is not a sound package or settings file
  Failed,    // writing failed; the previous data was put back
};

// The store a package restores to, before any file is written: the user groups and the
// ring and user items from the package, the built-in items (0..2, 37..128) as `live` has
// them, except that the built-in commands take the user's own icon from the package.
// Icon fields are rewritten by `placeIcon(icon)`, which returns the new path ("" drops
// the field); fields naming the package's system icon folder name this machine's.
// False when `placeIcon` reported a failure by returning nothing.
bool BuildRestoredStore(
    const ShortcutStore& live, const ShortcutPackage& package, const std::string& systemIconFolder,
    const std::function<std::optional<std::string>(const PackageIcon&)>& placeIcon,
    ShortcutStore& restored);

class ShortcutBackup {
 public:
  ShortcutBackup(FileSystem& fs, const AnsiCodec& codec, const AppPaths& paths)
      : fs_(fs), codec_(codec), paths_(paths) {}

  // Writes the package of `store` to `packagePath` through a temporary file. Fields that
  // name missing files are blanked in the package only. False (and the old file left as
  // it was) when it could not be written.
  [[nodiscard]] bool BackupShortcuts(const ShortcutStore& store, const std::string& packagePath);

  // Reads and checks the whole package before anything changes, writes its icons into the
  // user icon folder under fresh names, then installs the menu file through the safety
  // copy. On success `store` holds the restored store and icon files no longer named by it
  // are removed; on any failure the files and `store` are as they were.
  RestoreResult RestoreShortcuts(ShortcutStore& store, const std::string& packagePath);

  // The settings as the settings file holds them, written to `target` through a
  // temporary file.
  [[nodiscard]] bool BackupSettings(const Settings& settings, const ShortcutItem& userItem,
                                    const std::string& target);

  // Takes a valid settings file (exactly the record's size) as the settings file, through
  // the safety copy. The caller reloads the settings afterwards.
  RestoreResult RestoreSettings(const std::string& source);

 private:
  // The live file and its safety copy as they are now, for putting them back.
  struct FilePair {
    std::optional<std::string> live, copy;
  };
  std::optional<FilePair> Snapshot(const std::string& livePath) const;
  void PutBack(const std::string& livePath, const FilePair& before);
  void RemoveUnusedIcons(const ShortcutStore& store);

  FileSystem& fs_;
  const AnsiCodec& codec_;
  const AppPaths& paths_;
};

// The in-memory part of reloading the data after a restore or a reset: the tables are
// made anew when the shortcuts are reset or their icons repaired, then the settings and
// the store are loaded (or left at their defaults when reset). With `repairIcons`, items
// 4..36 and 129..1024 in use, with a path, whose custom icon and icon file are both missing get
// their icon made again by `rebuildIcon`. Returns how many icons were made again.
int ReloadData(AppData& data, DataFiles& files, const InitializeSteps& steps, const FileSystem& fs,
               const std::function<bool(int)>& rebuildIcon, bool resetSettings, bool resetShortcuts,
               bool repairIcons);

}  // namespace kivo
