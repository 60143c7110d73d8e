// Backing up and restoring a full store: 1024 items, each with its own 256-pixel icon
// file (a different picture of ~30 KB per item), on the real file system.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench_support.h"
#include "items/shortcut_backup.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"

using namespace kivo;

int wmain(int argc, wchar_t** argv) {
  const std::wstring iconFolder = argc > 1 ? argv[1] : L"SysIcons";
  const auto pictures = bench::PngFilesIn(iconFolder);
  win::WinFileSystem fs;
  win::SystemAnsiCodec codec;
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  AppPaths paths;
  paths.DataFolder = std::string(temp) + "kivo_backup_bench\\";
  paths.UserIconFolder = paths.DataFolder + "KivoIcons\\";
  paths.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
  paths.MenuFile = paths.DataFolder + "KivoMenu.cfg";
  paths.SettingsFile = paths.DataFolder + "KivoCfg.cfg";
  fs.CreateFolder(paths.DataFolder);
  fs.CreateFolder(paths.UserIconFolder);

  auto store = std::make_unique<ShortcutStore>();
  std::size_t iconBytes = 0;
  for (int item = 4; item <= kLastItem; ++item) {
    ShortcutItem& entry = store->Items[static_cast<std::size_t>(item)];
    entry.ItemType = item <= kLastRingGroup ? kItemRingShortcut : kItemGroupMember;
    entry.Title = "Item " + std::to_string(item);
    std::string bytes =
        pictures.empty() ? std::string(30000, 'p')
                         : *fs.ReadFile(pictures[static_cast<std::size_t>(item) % pictures.size()],
                                        kMaxPackageIconBytes);
    bytes += std::to_string(item);  // every file differs
    entry.IconFile = paths.UserIconFolder + "src" + std::to_string(item) + ".png";
    if (!fs.WriteFileFlushed(entry.IconFile, bytes)) return 1;
    iconBytes += bytes.size();
  }
  ShortcutBackup backup(fs, codec, paths);
  const std::string package = paths.DataFolder + "Kivo Launcher Icons.bak";
  for (int round = 0; round < 3; ++round) {
    const double start = bench::NowMs();
    const bool written = backup.BackupShortcuts(*store, package);
    const double backedUp = bench::NowMs();
    const RestoreResult restored = backup.RestoreShortcuts(*store, package);
    const double end = bench::NowMs();
    std::printf(
        "round %d: %zu icons, %.1f MB of icons; backup %.0f ms (%s), restore %.0f ms (%s)\n", round,
        static_cast<std::size_t>(kLastItem - 3), static_cast<double>(iconBytes) / 1e6,
        backedUp - start, written ? "ok" : "FAILED", end - backedUp,
        restored == RestoreResult::Restored ? "ok" : "FAILED");
  }
  return 0;
}
