#include "core/data_files.h"

#include "core/log.h"
#include "core/store_file.h"

namespace kivo {
namespace {

// Most callers cannot tell the user (a save on the way out, at log-off, after a drag), so
// every failed save leaves its line in the log whoever asked for it.
bool Saved(bool saved, const std::string& file) noexcept {
  if (!saved) {
    try {
      Log(LogLevel::Error, "Could not save \"" + file + "\"");
    } catch (...) {
      Log(LogLevel::Error, "Could not save a data file");
    }
  }
  return saved;
}

}  // namespace

int DataFiles::LoadStore(ShortcutStore& store) {
  std::optional<StoreFileImage> image;
  storeLoad_ = LoadWithSafetyCopy(fs_, paths_.MenuFile, kStoreFileSize, [&](const std::string& b) {
    image = DecodeStoreFile(b, codec_);
    return image.has_value();
  });
  if (!image) return 0;
  ApplyStoreFile(store, *image);
  return 1;
}

bool DataFiles::SaveStore(const ShortcutStore& store) {
  return Saved(SaveWithSafetyCopy(fs_, paths_.MenuFile, EncodeStoreFile(store, codec_)),
               paths_.MenuFile);
}

int DataFiles::LoadSettings(Settings& settings, const ScreenInfo& screen, ShortcutItem& userItem,
                            const std::function<bool()>& autoRunRegistered) {
  std::optional<SettingsRecord> record;
  settingsLoad_ =
      LoadWithSafetyCopy(fs_, paths_.SettingsFile, kSettingsFileSize, [&](const std::string& b) {
        record = DecodeSettingsFile(b, codec_);
        return record.has_value();
      });
  // Without a settings file the program starts with Windows, as by default; either way an
  // AutoRun setting is only true when the start-up entry really holds the program.
  const int loaded = record ? 1 : 0;
  if (record) {
    ApplySettingsRecord(settings, *record, screen);
    userItem.IconFile = fs_.FileExists(paths_.UserPicture) ? paths_.UserPicture : std::string();
  } else {
    settings.AutoRun = true;
  }
  if (settings.AutoRun && autoRunRegistered) settings.AutoRun = autoRunRegistered();
  return loaded;
}

bool DataFiles::SaveSettings(const Settings& settings, const ShortcutItem& userItem) {
  const SettingsRecord record = MakeSettingsRecord(settings, userItem.IconFile.str());
  return Saved(SaveWithSafetyCopy(fs_, paths_.SettingsFile, EncodeSettingsFile(record, codec_)),
               paths_.SettingsFile);
}

void DataFiles::DeleteDataFiles(bool includeSettings) {
  fs_.RemoveFile(paths_.MenuFile);
  fs_.RemoveFile(SafetyCopyPath(paths_.MenuFile));
  for (const std::string& name : fs_.ListFiles(paths_.UserIconFolder, ".png")) {
    fs_.RemoveFile(paths_.UserIconFolder + name);
  }
  if (includeSettings) {
    fs_.RemoveFile(paths_.SettingsFile);
    fs_.RemoveFile(SafetyCopyPath(paths_.SettingsFile));
  }
}

}  // namespace kivo
