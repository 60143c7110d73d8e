// Files, registry, drives, links and icon pictures in memory; prompts answer as told.
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
  return key.size() == 2 && key[1] == ':' ? key + '\\' : key;  // "D:" is the drive's folder
}

template <typename Map>
std::optional<typename Map::mapped_type> Find(const Map& map, const std::string& key) {
  const auto it = map.find(Upper(key));
  return it == map.end() ? std::nullopt : std::optional(it->second);
}

class FakeItemSystem : public ItemSystem {
 public:
  explicit FakeItemSystem(MemoryFileSystem& files) : files_(files) {}

  std::optional<std::uint32_t> FileAttributes(const std::string& path) const override {
    const std::string key = Upper(path);
    if (hidden.count(key)) return 0x22u;
    if (files_.FileExists(path)) return 0x20u;
    if (files_.FolderExists(path) || drives.count(key)) return kAttributeDirectory;
    return std::nullopt;
  }
  int DriveType(const std::string& root) const override {
    return Find(drives, root).value_or(kDriveNoRoot);
  }
  std::vector<std::string> LogicalDrives() const override { return {}; }
  std::vector<std::string> FolderEntries(const std::string& folder) const override {
    return Find(entries, folder).value_or(std::vector<std::string>{});
  }
  std::string ExpandPath(std::string_view path) const override {
    std::string out(path);
    const std::size_t at = AsciiUpper(out).find("%SYSTEMROOT%");
    if (at != std::string::npos) out.replace(at, 12, "C:\\Windows");
    return out;
  }
  std::string UserName() const override { return "alice"; }
  std::optional<std::string> VersionBlock(const std::string& file) const override {
    return Find(versions, file);
  }
  std::optional<ShellLinkData> ReadShellLink(const std::string& linkFile) override {
    return Find(links, linkFile);
  }
  std::string MsiShortcutTarget(const std::string& linkFile) override {
    return Find(advertised, linkFile).value_or("");
  }

  std::map<std::string, int> drives;  // "C:\" -> drive type
  std::set<std::string> hidden;
  std::map<std::string, std::vector<std::string>> entries;
  std::map<std::string, std::string> versions, advertised;
  std::map<std::string, ShellLinkData> links;

 private:
  MemoryFileSystem& files_;
};

class FakeIconMaker : public IconMaker {
 public:
  explicit FakeIconMaker(MemoryFileSystem& files) : files_(files) {}
  bool ExtractResourceIcon(const std::string& module, int index,
                           const std::string& pngFile) override {
    return Write("extract " + module + "," + std::to_string(index), module, pngFile);
  }
  bool ConvertIcoFile(const std::string& icoFile, const std::string& pngFile) override {
    return Write("convert " + icoFile, icoFile, pngFile);
  }
  bool SaveShellIcon(const std::string& file, const std::string& pngFile) override {
    return Write("shell " + file, file, pngFile);
  }
  std::set<std::string> good;  // upper-case sources that yield a picture
  std::vector<std::string> calls;

 private:
  bool Write(const std::string& call, const std::string& source, const std::string& pngFile) {
    calls.push_back(call);
    return good.count(Upper(source)) && files_.WriteFileFlushed(pngFile, "png of " + source);
  }
  MemoryFileSystem& files_;
};

class ScriptedPrompts : public ItemPrompts {
 public:
  bool ConfirmReplaceShortcut() override { return asked.push_back("replace"), answer; }
  bool ConfirmDeleteGroup(bool allPrograms) override {
    return asked.push_back(allPrograms ? "delete all programs" : "delete group"), answer;
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
  void Release(int) override {}
  std::vector<int> loaded;
};

struct ItemWorld {
  ItemWorld() {
    const std::string home = "C:\\Users\\alice\\";
    paths.ProgramFolder = "C:\\Kivo\\";
    paths.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
    paths.CommonDesktopFolder = "C:\\Users\\Public\\Desktop\\";
    paths.DesktopFolder = home + "Desktop\\";
    for (const auto& [field, folder] : {std::pair{&paths.WindowsFolder, "C:\\Windows\\"},
                                        {&paths.SystemFolder, "C:\\Windows\\system32\\"},
                                        {&paths.ProfileFolder, home.c_str()},
                                        {&paths.UserIconFolder, "C:\\Data\\KivoIcons\\"}})
      files.CreateFolder(*field = folder);
    system.drives = {{"C:\\", kDriveFixed}};
  }

  ShortcutItem& Item(int n) { return store.Items[static_cast<std::size_t>(n)]; }
  ItemGroup& Group(int g) { return store.Groups[static_cast<std::size_t>(g)]; }
  std::string SysIcon(const std::string& name) const { return paths.SystemIconFolder + name; }
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
  AppPaths paths;
  Settings settings;
  ItemContext context{store, paths,    settings, files,   system,
                      icons, registry, codec,    prompts, images};
  ItemEditor editor{context};
};

}  // namespace kivo::testing
