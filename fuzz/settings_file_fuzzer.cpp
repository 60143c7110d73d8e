// Feeds damaged settings files to the loader and checks that whatever it accepts leaves
// every working value inside the range the dock relies on.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/data_files.h"
#include "core/settings.h"
#include "support/iconv_codec.h"
#include "support/memory_file_system.h"

#include "fuzz_check.h"

namespace {

using kivo::fuzz::Check;

void Exercise(const std::string& bytes) {
  static const kivo::testing::IconvCodec codec("CP936");
  const auto record = kivo::DecodeSettingsFile(bytes, codec);
  if (!record) return;
  for (const auto& screen : {kivo::MakeScreenInfo(1920, 1057, 23, 96, 96, {0, 0, 1920, 1040}),
                             kivo::MakeScreenInfo(800, 577, 23, 144, 144, {0, 0, 800, 560})}) {
    kivo::Settings settings;
    kivo::ApplyDefaultSettings(settings, screen);
    kivo::ApplySettingsRecord(settings, *record, screen);
    Check(settings.IconSize >= 16 && settings.IconSize <= settings.MaxIconSize);
    Check(settings.MagnifiedSize >= settings.IconSize &&
          settings.MagnifiedSize <= settings.MaxIconSize);
    Check(settings.IconCount >= 8 && settings.IconCount <= 36 && settings.IconCount % 4 == 0);
    Check(settings.RingRadius <= settings.RingRadiusMax || settings.RingRadius == 300);
    Check(settings.MinimizedPosition <= 8);
    Check(settings.StartedPage >= -1 && settings.StartedPage <= 4);
    Check(settings.Reserved4 >= 0 && settings.Reserved4 <= 8);
    Check(settings.StoredLeft >= 0 && settings.StoredTop >= 0);
    const std::string saved =
        kivo::EncodeSettingsFile(kivo::MakeSettingsRecord(settings, ""), codec);
    Check(saved.size() == kivo::kSettingsFileSize);
    Check(kivo::DecodeSettingsFile(saved, codec).has_value());
  }
}

// The live file and its safety copy through the loader: a sound one is taken, a damaged
// pair is moved aside (never lost), and the result is always inside the ranges.
void ExerciseLoader(const std::string& live, const std::string& copy, bool liveExists,
                    bool copyExists) {
  static const kivo::testing::IconvCodec codec("CP936");
  kivo::testing::MemoryFileSystem fs;
  kivo::AppPaths paths;
  paths.SettingsFile = "C:\\data\\KivoCfg.cfg";
  paths.UserPicture = "C:\\data\\User Icon.ico";
  if (liveExists) fs.Put(paths.SettingsFile, live);
  if (copyExists) fs.Put(paths.SettingsFile + ".bak", copy);
  const auto screen = kivo::MakeScreenInfo(1920, 1057, 23, 96, 96, {0, 0, 1920, 1040});
  kivo::Settings settings;
  kivo::ApplyDefaultSettings(settings, screen);
  kivo::ShortcutItem user;
  kivo::DataFiles files(fs, codec, paths);
  const int loaded = files.LoadSettings(settings, screen, user, [] { return true; });
  const auto& outcome = files.lastSettingsLoad();
  if (loaded == 0) {
    const std::size_t existing = (liveExists ? 1u : 0u) + (copyExists ? 1u : 0u);
    Check(outcome.keptAside.size() == existing);
    Check(fs.AllFiles().size() == existing);
  }
  Check(settings.IconCount >= 8 && settings.IconCount <= 36);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  Exercise(input);
  std::string whole = input;
  whole.resize(kivo::kSettingsFileSize, ' ');  // every input also as a whole record
  Exercise(whole);
  const unsigned flags = size > 0 ? data[0] : 0u;
  ExerciseLoader(input, whole, (flags & 1) != 0, (flags & 2) != 0);
  return 0;
}
