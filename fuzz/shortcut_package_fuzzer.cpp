// Feeds damaged shortcut packages to the restore: decoding, checking and installing into
// an in-memory file system that already holds a store, its safety copy and icons. A
// package is 1.3 MB of menu image before its blocks, so the input is read three ways:
// as a whole package, as the block region behind a sound image whose fields ask for
// blocks, and as patches laid over a sound package. One byte chooses a file operation to
// fail. Whatever happens, the files are wholly the old ones or the restore succeeded with
// every write inside the data folder.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "core/safe_file.h"
#include "core/store_file.h"
#include "items/shortcut_backup.h"
#include "support/iconv_codec.h"
#include "support/memory_file_system.h"

#include "fuzz_check.h"

namespace {

using kivo::fuzz::Check;
using Files = std::map<std::string, std::string>;

const kivo::testing::IconvCodec& Codec() {
  static const kivo::testing::IconvCodec codec("CP936");
  return codec;
}

const kivo::AppPaths& Paths() {
  static const kivo::AppPaths paths = [] {
    kivo::AppPaths p;
    p.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
    p.DataFolder = "C:\\Data\\";
    p.UserIconFolder = "C:\\Data\\KivoIcons\\";
    p.MenuFile = "C:\\Data\\KivoMenu.cfg";
    p.SettingsFile = "C:\\Data\\KivoCfg.cfg";
    return p;
  }();
  return paths;
}

const std::string kPackage = "C:\\in\\package.bak";

// The package's store: a few groups and items whose icon fields ask for blocks, some
// below the system icon folder, some hostile paths.
const kivo::ShortcutStore& PackageStore() {
  static const auto store = [] {
    auto s = std::make_unique<kivo::ShortcutStore>();
    for (int g = 4; g <= 8; ++g) {
      auto& entry = s->Items[static_cast<std::size_t>(g)];
      entry.ItemType = kivo::kItemGroup;
      entry.IconFile = Paths().SystemIconFolder + "Group.png";
      auto& group = s->Groups[static_cast<std::size_t>(g)];
      group.Count = 2;
      for (int m = 1; m <= 2; ++m) {
        const int item = 129 + g * 2 + m;
        group.Members[static_cast<std::size_t>(m)] = item;
        auto& member = s->Items[static_cast<std::size_t>(item)];
        member.ItemType = kivo::kItemGroupMember;
        member.IconFile = "..\\..\\x" + std::to_string(item) + ".png";
        if (m == 2) member.CustomIconFile = "C:\\Windows\\evil.dll";
      }
    }
    s->Items[70].CustomIconFile = "D:\\mine.png";
    return s;
  }();
  return *store;
}

const std::string& SoundImage() {
  static const std::string bytes = kivo::EncodeStoreFile(PackageStore(), Codec());
  return bytes;
}

const std::string& SoundPackage() {
  static const std::string bytes = [] {
    const auto package = kivo::MakePackage(
        PackageStore(), Paths().SystemIconFolder,
        [](const std::string& path) { return std::optional<std::string>("icon " + path); });
    return kivo::EncodePackage(*package, Codec());
  }();
  return bytes;
}

const kivo::testing::MemoryFileSystem& World() {
  static const auto world = [] {
    kivo::testing::MemoryFileSystem fs;
    kivo::ShortcutStore live;
    live.Items[129].ItemType = kivo::kItemGroupMember;
    live.Items[129].IconFile = Paths().UserIconFolder + "0.png";
    fs.Put(Paths().UserIconFolder + "0.png", "old icon");
    fs.Put(Paths().UserIconFolder + "1.png", "other old icon");
    const std::string image = kivo::EncodeStoreFile(live, Codec());
    fs.Put(Paths().MenuFile, image);
    fs.Put(kivo::SafetyCopyPath(Paths().MenuFile), image);
    return fs;
  }();
  return world;
}

Files Snapshot(const kivo::testing::MemoryFileSystem& fs) {
  Files files;
  for (const std::string& path : fs.AllFiles()) files[path] = *fs.Get(path);
  return files;
}

void Restore(const std::string& package, int failOperation) {
  kivo::testing::MemoryFileSystem fs = World();
  fs.Put(kPackage, package);
  const Files before = Snapshot(fs);
  auto live = std::make_unique<kivo::ShortcutStore>();
  live->Items[129].ItemType = kivo::kItemGroupMember;
  live->Items[129].IconFile = Paths().UserIconFolder + "0.png";
  const auto liveBefore = std::make_unique<kivo::ShortcutStore>(*live);

  fs.operations = 0;
  fs.failOperation = failOperation;
  kivo::ShortcutBackup backup(fs, Codec(), Paths());
  const auto result = backup.RestoreShortcuts(*live, kPackage);
  const Files after = Snapshot(fs);
  if (result != kivo::RestoreResult::Restored) {
    Check(after == before);
    Check(live->Items == liveBefore->Items);
    return;
  }
  // Every file that changed is the menu file, its safety copy or an icon directly in the
  // user icon folder.
  const std::string& icons = Paths().UserIconFolder;
  for (const auto& [path, bytes] : after) {
    const auto old = before.find(path);
    if (old != before.end() && old->second == bytes) continue;
    const bool menu = path == Paths().MenuFile || path == kivo::SafetyCopyPath(Paths().MenuFile);
    const bool icon = path.starts_with(icons) &&
                      path.find('\\', icons.size()) == std::string::npos && old == before.end();
    Check(menu || icon);
  }
  Check(*fs.Get(Paths().MenuFile) == kivo::EncodeStoreFile(*live, Codec()));
  for (const auto& item : live->Items) {
    for (const std::string* field : {&item.IconFile.str(), &item.CustomIconFile.str()}) {
      if (field->empty() || field->starts_with(Paths().SystemIconFolder)) continue;
      if (&item == &live->Items[0]) continue;
      Check(field->starts_with(icons) && field->find("..") == std::string::npos);
      Check(fs.FileExists(*field));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int failOperation = data[0] % 4 == 0 ? data[0] / 4 : 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      Restore(input, failOperation);
      break;
    case 1:
      Restore(SoundImage() + input, failOperation);
      break;
    default: {
      // Patches: [offset:4][length:1][bytes...] over the sound package's last 64 KB and
      // its image.
      std::string patched = SoundPackage();
      std::size_t pos = 0;
      while (pos + 5 <= input.size()) {
        std::uint32_t offset = 0;
        for (std::size_t i = 0; i < 4; ++i) {
          offset |= static_cast<std::uint32_t>(static_cast<unsigned char>(input[pos + i]))
                    << (8 * i);
        }
        const std::size_t length = static_cast<unsigned char>(input[pos + 4]);
        pos += 5;
        const std::size_t take = std::min(length, input.size() - pos);
        const std::size_t at = offset % patched.size();
        patched.replace(at, std::min(take, patched.size() - at), input, pos, take);
        pos += take;
      }
      if (input.size() % 7 == 1) patched.resize(patched.size() - input.size() % 50);
      Restore(patched, failOperation);
    }
  }
  return 0;
}
