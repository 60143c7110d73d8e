// A small world for the item-editing tests: files, registry, drives, links and icon
// pictures in memory, and prompts that answer as the test says.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/paths.h"
#include "core/settings.h"
#include "core/store.h"
#include "core/text.h"
#include "items/item_context.h"
#include "items/item_editor.h"
#include "support/iconv_codec.h"
#include "support/memory_file_system.h"
#include "support/memory_registry.h"

namespace kivo::testing {

inline std::string Upper(const std::string& path) {
  std::string key = AsciiUpper(path);
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  if (key.size() == 2 && key[1] == ':') key += '\\';  // "D:" is the drive's folder
  return key;
}

class FakeItemSystem : public ItemSystem {
 public:
  explicit FakeItemSystem(MemoryFileSystem& files) : files_(files) {}

  std::optional<std::uint32_t> FileAttributes(const std::string& path) const override {
    const std::string key = Upper(path);
    if (hidden.count(key)) return 0x22u;
    if (files_.FileExists(path)) return 0x20u;
    if (files_.FolderExists(path) || (key.size() <= 3 && drives.count(key))) {
      return kAttributeDirectory;
    }
    return std::nullopt;
  }
  int DriveType(const std::string& root) const override {
    const auto it = drives.find(Upper(root));
    return it == drives.end() ? kDriveNoRoot : it->second;
  }
  std::vector<std::string> LogicalDrives() const override { return driveOrder; }
  std::vector<std::string> FolderEntries(const std::string& folder) const override {
    const auto it = entries.find(Upper(folder));
    return it == entries.end() ? std::vector<std::string>{} : it->second;
  }
  std::string ExpandPath(std::string_view path) const override {
    std::string out(path);
    const std::size_t at = AsciiUpper(out).find("%SYSTEMROOT%");
    if (at != std::string::npos) out.replace(at, 12, "C:\\Windows");
    return out;
  }
  std::string UserName() const override { return "alice"; }
  std::optional<std::string> VersionBlock(const std::string& file) const override {
    const auto it = versions.find(Upper(file));
    if (it == versions.end()) return std::nullopt;
    return it->second;
  }
  std::optional<ShellLinkData> ReadShellLink(const std::string& linkFile) override {
    const auto it = links.find(Upper(linkFile));
    if (it == links.end()) return std::nullopt;
    return it->second;
  }
  std::string MsiShortcutTarget(const std::string& linkFile) override {
    const auto it = advertised.find(Upper(linkFile));
    return it == advertised.end() ? std::string() : it->second;
  }

  std::map<std::string, int> drives;  // "C:\" -> drive type
  std::vector<std::string> driveOrder;
  std::set<std::string> hidden;
  std::map<std::string, std::vector<std::string>> entries;
  std::map<std::string, std::string> versions;
  std::map<std::string, ShellLinkData> links;
  std::map<std::string, std::string> advertised;

 private:
  MemoryFileSystem& files_;
};

// Writes a small stand-in picture for every source it knows; records each call.
class FakeIconMaker : public IconMaker {
 public:
  explicit FakeIconMaker(MemoryFileSystem& files) : files_(files) {}
  bool ExtractResourceIcon(const std::string& module, int index,
                           const std::string& pngFile) override {
    calls.push_back("extract " + module + "," + std::to_string(index));
    return Write(module, pngFile);
  }
  bool ConvertIcoFile(const std::string& icoFile, const std::string& pngFile) override {
    calls.push_back("convert " + icoFile);
    return Write(icoFile, pngFile);
  }
  bool SaveShellIcon(const std::string& file, const std::string& pngFile) override {
    calls.push_back("shell " + file);
    return Write(file, pngFile);
  }
  std::set<std::string> good;  // upper-case sources that yield a picture
  std::vector<std::string> calls;

 private:
  bool Write(const std::string& source, const std::string& pngFile) {
    if (!good.count(Upper(source))) return false;
    return files_.WriteFileFlushed(pngFile, "png of " + source);
  }
  MemoryFileSystem& files_;
};

class ScriptedPrompts : public ItemPrompts {
 public:
  bool ConfirmReplaceShortcut() override {
    asked.push_back("replace");
    return answer;
  }
  bool ConfirmDeleteGroup(bool allProgramsGroup) override {
    asked.push_back(allProgramsGroup ? "delete all programs" : "delete group");
    return answer;
  }
  void TellStoreFull() override { asked.push_back("store full"); }
  void TellPathNotStorable(const std::string& path) override {
    asked.push_back("not storable " + path);
  }
  bool answer = true;
  std::vector<std::string> asked;
};

class RecordingImages : public ItemImages {
 public:
  void Load(int item) override { loaded.push_back(item); }
  void Release(int item) override { released.push_back(item); }
  std::vector<int> loaded;
  std::vector<int> released;
};

inline AppPaths WorldPaths() {
  AppPaths p;
  p.ProgramFolder = "C:\\Kivo\\";
  p.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
  p.UserIconFolder = "C:\\Data\\KivoIcons\\";
  p.WindowsFolder = "C:\\Windows\\";
  p.SystemFolder = "C:\\Windows\\system32\\";
  p.ProgramFilesFolder = "C:\\Program Files\\";
  p.ProfileFolder = "C:\\Users\\alice\\";
  p.DocumentsFolder = "C:\\Users\\alice\\Documents\\";
  p.PicturesFolder = "C:\\Users\\alice\\Pictures\\";
  p.MusicFolder = "C:\\Users\\alice\\Music\\";
  p.VideoFolder = "C:\\Users\\alice\\Videos\\";
  p.FavoritesFolder = "C:\\Users\\alice\\Favorites\\";
  p.DesktopFolder = "C:\\Users\\alice\\Desktop\\";
  p.CommonDesktopFolder = "C:\\Users\\Public\\Desktop\\";
  return p;
}

struct ItemWorld {
  ItemWorld() {
    files.CreateFolder(paths.UserIconFolder);
    for (const std::string* folder :
         {&paths.WindowsFolder, &paths.SystemFolder, &paths.ProgramFilesFolder,
          &paths.ProfileFolder, &paths.DocumentsFolder, &paths.PicturesFolder, &paths.MusicFolder,
          &paths.VideoFolder, &paths.FavoritesFolder}) {
      files.CreateFolder(*folder);
    }
    system.drives = {{"C:\\", kDriveFixed}};
    system.driveOrder = {"C:\\"};
  }

  ShortcutItem& Item(int n) { return store.Items[static_cast<std::size_t>(n)]; }
  ItemGroup& Group(int g) { return store.Groups[static_cast<std::size_t>(g)]; }
  std::string SysIcon(const std::string& name) const { return paths.SystemIconFolder + name; }
  // A group entry in ring slot `slot` with the given title.
  void MakeGroup(int slot, const std::string& title) {
    Item(slot).ItemType = kItemGroup;
    Item(slot).Title = title + " (空)";
  }

  MemoryFileSystem files;
  MemoryRegistry registry;
  IconvCodec codec{"CP936"};
  FakeItemSystem system{files};
  FakeIconMaker icons{files};
  ScriptedPrompts prompts;
  RecordingImages images;
  ShortcutStore store;
  AppPaths paths = WorldPaths();
  Settings settings;
  ItemContext context{store, paths,    settings, files,   system,
                      icons, registry, codec,    prompts, images};
  ItemEditor editor{context};
};

}  // namespace kivo::testing
