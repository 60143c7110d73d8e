// The two data files in the data folder and the operations on them.
#pragma once

#include <functional>
#include <string>

#include "core/ansi_codec.h"
#include "core/file_system.h"
#include "core/paths.h"
#include "core/safe_file.h"
#include "core/settings.h"
#include "core/store.h"

namespace kivo {

class DataFiles {
 public:
  DataFiles(FileSystem& fs, const AnsiCodec& codec, const AppPaths& paths)
      : fs_(fs), codec_(codec), paths_(paths) {}

  // 1 when a sound menu file (or its safety copy) was taken into `store`, 0 when there
  // was none, or only damaged ones (then moved aside): the caller builds the defaults.
  int LoadStore(ShortcutStore& store);
  [[nodiscard]] bool SaveStore(const ShortcutStore& store);

  // 1 when a sound settings file was taken into `settings` (which holds the defaults),
  // 0 otherwise (defaults stay, AutoRun on). Item 0's icon file follows the presence of
  // the user picture. `autoRunRegistered` makes sure the start-with-Windows entry holds
  // the program and tells whether it does; it is asked whenever AutoRun ends up on (from
  // the file or by default), and its answer becomes the AutoRun setting.
  int LoadSettings(Settings& settings, const ScreenInfo& screen, ShortcutItem& userItem,
                   const std::function<bool()>& autoRunRegistered);
  [[nodiscard]] bool SaveSettings(const Settings& settings, const ShortcutItem& userItem);

  // Deletes the menu file and its safety copy, every "*.png" in the user icon folder and,
  // when asked, the settings file and its safety copy.
  void DeleteDataFiles(bool includeSettings);

  // How the last loads went, for telling the user about damaged files.
  const LoadOutcome& lastStoreLoad() const { return storeLoad_; }
  const LoadOutcome& lastSettingsLoad() const { return settingsLoad_; }

 private:
  FileSystem& fs_;
  const AnsiCodec& codec_;
  const AppPaths& paths_;
  LoadOutcome storeLoad_;
  LoadOutcome settingsLoad_;
};

}  // namespace kivo
