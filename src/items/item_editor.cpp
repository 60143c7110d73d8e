#include "items/item_editor.h"

#include <algorithm>
#include <cstddef>

#include "core/text.h"
#include "items/associated_icon.h"
#include "items/builtin_items.h"
#include "items/group_helpers.h"
#include "items/icon_format.h"
#include "items/shell_text.h"

namespace kivo {
namespace {

// Internet shortcut files are small; anything larger is not one.
constexpr std::size_t kMaxInternetShortcutBytes = 64 * 1024;
// The store keeps paths in 255 bytes of the ANSI code page.
constexpr std::size_t kStoredPathBytes = 255;

bool IsWebKey(std::string_view key) {
  return key == "HTTP://" || key == "HTTPS:/";
}

// The extension of an upper-case path from its last dot (".EXE"); a dot inside a folder
// name yields a key that matches nothing.
std::string DotKey(std::string_view upath) {
  const std::size_t dot = upath.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(upath.substr(dot));
}

std::string KeyOf(std::string_view upath) {
  const std::string head(CutToChars(upath, 7));
  return IsWebKey(head) ? head : DotKey(upath);
}

std::string WithBackslash(std::string_view path) {
  std::string dir(path);
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir;
}

}  // namespace

std::string TitleFromPath(std::string_view path, bool isFolder) {
  const std::string p = CleanText(path);
  const std::size_t slash = p.rfind('\\');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::string upper = AsciiUpper(p);
  const bool strip = !isFolder && p.size() >= 4 && p.size() - 4 >= start &&
                     (upper.ends_with(".LNK") || upper.ends_with(".EXE"));
  return p.substr(start, strip ? p.size() - 4 - start : std::string::npos);
}

int ItemEditor::AddToGroup(std::string_view rawPath, int slot, std::string_view title,
                           std::string_view iconFile) {
  const std::string path = CleanText(rawPath);
  link_ = LinkInfo{};
  if (slot < 0 || slot >= kGroupCount) return 0;
  if (!Exists(path, false) && !IsWebAddress(path)) return 0;
  if (!Storable(path)) {
    if (!quiet_) context_.prompts.TellPathNotStorable(path);
    return 0;
  }

  ShortcutStore& store = context_.store;
  ShortcutItem& entry = store.Items[static_cast<std::size_t>(slot)];
  int target = 0;
  switch (entry.ItemType) {
    case kItemRingShortcut:
      if (!context_.prompts.ConfirmReplaceShortcut()) return 0;
      [[fallthrough]];
    case kItemShortcut:
      DeleteItemIcons(context_, slot);
      entry = ShortcutItem{};
      entry.ItemType = kItemRingShortcut;
      target = slot;
      break;
    case kItemGroup:
    case kItemAllProgramsGroup: {
      if (!GroupAcceptsPath(slot, path)) return 0;
      ItemGroup& group = store.Groups[static_cast<std::size_t>(slot)];
      // Whatever the caller checked, a group never takes more than it can hold.
      if (group.Count >= GroupCapacity(slot)) return 0;
      target = FindFreeItem(store, context_.settings.IconCount, 0);
      if (target == kNoFreeItem) {
        if (!quiet_) context_.prompts.TellStoreFull();
        return 0;
      }
      ShortcutItem& member = store.Items[static_cast<std::size_t>(target)];
      member = ShortcutItem{};
      member.ItemType = kItemGroupMember;
      group.Count = std::max(group.Count, 0) + 1;
      group.Members[static_cast<std::size_t>(group.Count)] = target;
      UpdateGroupTitle(store, slot);
      break;
    }
    default:
      // Only shortcuts, blank slots and groups take paths; nothing else is touched.
      return 0;
  }

  iconTarget_ = target;
  Classify(store.Items[static_cast<std::size_t>(target)], target, path, title, iconFile);
  context_.images.Load(target);
  return target;
}

int ItemEditor::FillItemFromPath(std::string_view rawPath, int item, std::string_view title,
                                 std::string_view iconFile) {
  const std::string path = CleanText(rawPath);
  link_ = LinkInfo{};
  if (item < 0 || item > kLastItem) return 0;
  if (!Storable(path)) {
    if (!quiet_) context_.prompts.TellPathNotStorable(path);
    return 0;
  }
  DeleteItemIcons(context_, item);
  ShortcutItem& record = context_.store.Items[static_cast<std::size_t>(item)];
  // The custom icon's file was just deleted; a later icon could take its name.
  record.CustomIconFile = "";
  record.ItemType = item >= kFirstTemplateItem ? kItemGroupMember : kItemRingShortcut;
  iconTarget_ = item;
  Classify(record, item, path, title, iconFile);
  context_.images.Load(item);
  return item;
}

bool ItemEditor::RebuildItemIcon(int item) {
  if (item < 0 || item > kLastItem) return false;
  ShortcutItem& record = context_.store.Items[static_cast<std::size_t>(item)];
  const std::string path = CleanText(record.LinkPath);
  if (path.empty()) return false;
  link_ = LinkInfo{};
  iconTarget_ = item;
  // A web address keeps its chosen picture of the system icon folder.
  const std::string current = record.IconFile.str();
  const bool systemIcon = !context_.paths.SystemIconFolder.empty() &&
                          current.starts_with(context_.paths.SystemIconFolder);
  ShortcutItem rebuilt = record;
  Classify(rebuilt, item, path, {}, systemIcon ? current : std::string());

  context_.images.Release(item);
  if (current != rebuilt.IconFile.str()) DeleteOwnIconFile(context_, current);
  record.IconFile = rebuilt.IconFile;
  record.ItemIndex = item;
  return true;
}

bool ItemEditor::GroupAcceptsPath(int slot, std::string_view path) const {
  if (slot < 0 || slot >= kGroupCount) return false;
  const ItemGroup& group = context_.store.Groups[static_cast<std::size_t>(slot)];
  const int count = std::clamp(group.Count, 0, GroupCapacity(slot));
  const std::string wanted = CleanText(path);
  for (int i = 1; i <= count; ++i) {
    const int member = group.Members[static_cast<std::size_t>(i)];
    if (member < 0 || member > kLastItem) continue;
    if (context_.store.Items[static_cast<std::size_t>(member)].LinkPath.str() == wanted) {
      return false;
    }
  }
  return true;
}

void ItemEditor::ReadLink(const std::string& linkPath) {
  ShellLinkData data;
  if (Exists(linkPath, true)) {
    const std::string file = Expanded(linkPath);
    if (EndsWithNoCase(CleanText(linkPath), ".URL")) {
      if (auto bytes = context_.files.ReadFile(file, kMaxInternetShortcutBytes)) {
        if (auto shortcut = ParseInternetShortcut(*bytes, context_.codec)) data = *shortcut;
      }
    } else {
      const std::string installed = context_.system.MsiShortcutTarget(file);
      if (!installed.empty() && Exists(installed, true)) {
        data.target = installed;
        data.iconFile = installed;
      } else if (auto link = context_.system.ReadShellLink(file)) {
        data = *link;
      }
    }
  }
  // A shortcut to a shortcut: the second one says where things are.
  const std::string target = CleanText(data.target);
  if (EndsWithNoCase(target, ".LNK") && Exists(target, true)) {
    if (auto inner = context_.system.ReadShellLink(Expanded(target))) data = *inner;
  }

  link_ = LinkInfo{};
  link_.LinkTarget = data.target;
  link_.LinkArguments = data.arguments;
  link_.LinkIconFile = data.iconFile;
  link_.LinkIconIndex = data.iconIndex;
  link_.LinkShowCommand = data.showCommand;
  link_.LinkFile = linkPath;
  link_.LinkWorkingDir = data.workingDir;
}

bool ItemEditor::Exists(std::string_view path, bool expand) const {
  const std::string clean = CleanText(path);
  if (clean.empty()) return false;
  return context_.system.FileAttributes(expand ? Expanded(clean) : clean).has_value();
}

std::string ItemEditor::Expanded(std::string_view path) const {
  return CleanText(context_.system.ExpandPath(CleanText(path)));
}

bool ItemEditor::Storable(const std::string& path) const {
  return context_.codec.CanRepresent(path) &&
         context_.codec.Encode(path).size() <= kStoredPathBytes;
}

std::string ItemEditor::SystemIcon(std::string_view name) const {
  return context_.paths.SystemIconFolder + std::string(name);
}

void ItemEditor::Classify(ShortcutItem& item, int number, const std::string& path,
                          std::string_view title, std::string_view iconFile) {
  item.ItemIndex = number;
  std::string subject = path;  // what is classified: the path, or a link's target
  std::string upath = AsciiUpper(path);
  std::string key = KeyOf(upath);
  bool throughLink = false;

  if (key == ".LNK") {
    ReadLink(path);
    const std::string target = CleanText(link_.LinkTarget);
    const std::string utarget = AsciiUpper(target);
    // A shortcut to a document, folder or drive is classified as what it points at; one
    // to a program, or with an icon of its own, stays a shortcut file. So does one whose
    // target is missing or could not be read: what it pointed at cannot be told any more,
    // and the shortcut's problem picture says so.
    if (!utarget.ends_with(".EXE") && !utarget.ends_with(".SCR") &&
        !Exists(link_.LinkIconFile, true) && Exists(target, true)) {
      subject = target;
      upath = utarget;
      key = DotKey(upath);
      throughLink = true;
    }
  }

  if (key == ".LNK") {
    ClassifyShortcutFile(item, path);
  } else if (key == ".URL") {
    ClassifyInternetShortcut(item, path);
  } else if (key == ".EXE" || key == ".SCR" || key == ".MSI" || key == ".MSC") {
    ClassifyProgram(item, path, subject, key);
  } else if (IsWebKey(key)) {
    item.ItemClass = 2;
    item.Title = TitleFromPath(path, false);
    item.IconFile = iconFile.empty() ? SystemIcon("URL.png") : std::string(iconFile);
  } else {
    const auto attributes =
        subject.empty() ? std::nullopt : context_.system.FileAttributes(subject);
    if (attributes && (*attributes & kAttributeDirectory) != 0) {
      ClassifyDirectory(item, path, subject, throughLink);
    } else {
      ClassifyDocument(item, path, key);
    }
  }

  item.LinkPath = path;
  const std::string target = CleanText(link_.LinkTarget);
  // A target the store cannot hold is left out: the link itself opens the same thing.
  item.TargetPath = target.empty() || !Storable(target) ? path : target;
  if (!CleanText(title).empty()) item.Title = std::string(title);
  item.Arguments = link_.LinkArguments;
}

void ItemEditor::ClassifyShortcutFile(ShortcutItem& item, const std::string& path) {
  item.ItemClass = 0;
  item.Title = TitleFromPath(path, false);
  const std::string iconLocation = Expanded(link_.LinkIconFile);
  if (EndsWithNoCase(iconLocation, ".ICO")) {
    item.IconFile = MakeIcon("Problem.png", [&](const std::string& png) {
      return context_.icons.ConvertIcoFile(iconLocation, png);
    });
  } else {
    item.IconFile =
        MakeIcon("Problem.png", [&](const std::string& png) { return ExtractFromLink(png); });
  }
}

void ItemEditor::ClassifyInternetShortcut(ShortcutItem& item, const std::string& path) {
  item.ItemClass = 0;
  item.Title = TitleFromPath(path, false);
  ReadLink(path);
  const std::string iconLocation = Expanded(link_.LinkIconFile);
  if (iconLocation.empty()) {
    // Most Internet shortcuts name no icon at all: that is no problem, just a web page.
    item.IconFile = SystemIcon("URL.png");
  } else if (EndsWithNoCase(iconLocation, ".ICO")) {
    item.IconFile = MakeIcon("URL.png", [&](const std::string& png) {
      return context_.icons.ConvertIcoFile(iconLocation, png);
    });
  } else {
    item.IconFile =
        MakeIcon("Problem.png", [&](const std::string& png) { return ExtractFromLink(png); });
  }
}

void ItemEditor::ClassifyProgram(ShortcutItem& item, const std::string& path,
                                 const std::string& program, const std::string& key) {
  item.ItemClass = 1;
  item.Title = ProgramTitle(path, program);
  link_ = LinkInfo{};
  link_.LinkIconFile = program;
  link_.LinkIconIndex = 0;
  item.IconFile = MakeIcon("Problem.png", [&](const std::string& png) {
    if (key == ".MSI") return Exists(program, false) && context_.icons.SaveShellIcon(program, png);
    return ExtractFromLink(png);
  });
}

std::string ItemEditor::ProgramTitle(const std::string& path, const std::string& program) const {
  if (auto block = context_.system.VersionBlock(program)) {
    const std::string description =
        CleanText(FindVersionString(*block, "FileDescription").value_or(std::string()));
    // A description the code page cannot show would be stored as question marks.
    if (!description.empty() && context_.codec.CanRepresent(description)) return description;
  }
  return TitleFromPath(path, false);
}

void ItemEditor::ClassifyDocument(ShortcutItem& item, const std::string& path,
                                  const std::string& key) {
  item.ItemClass = 2;
  item.Title = TitleFromPath(path, false);
  const auto expand = [this](std::string_view p) { return context_.system.ExpandPath(p); };
  const std::optional<IconLocation> icon =
      LookupAssociatedIcon(context_.registry, context_.codec, context_.files, key, expand);
  if (!icon) {
    item.IconFile = SystemIcon("File.png");
    return;
  }
  item.IconFile = MakeIcon("File.png", [&](const std::string& png) {
    if (EndsWithNoCase(icon->file, ".ICO")) return context_.icons.ConvertIcoFile(icon->file, png);
    return context_.icons.ExtractResourceIcon(icon->file, icon->index, png);
  });
}

void ItemEditor::ClassifyDirectory(ShortcutItem& item, const std::string& path,
                                   const std::string& folder, bool throughLink) {
  const std::string dir = WithBackslash(AsciiUpper(folder));
  if (dir.size() == 3) {
    std::string label = "(";
    label.append(dir, 0, 2).append(")");
    const std::string windowsDrive = AsciiUpper(context_.paths.WindowsFolder.substr(0, 3));
    struct DriveLook {
      const char* title;
      const char* icon;
    };
    DriveLook look{"Unknown Drive ", "UnknownDrive.png"};
    switch (context_.system.DriveType(dir)) {
      case kDriveRemovable:
        look = dir == "A:\\" || dir == "B:\\" ? DriveLook{"Floppy Disk ", "FloppyDrive.png"}
                                              : DriveLook{"Removable Disk ", "RemDrive.png"};
        break;
      case kDriveFixed:
        look = {"Local Disk ", dir == windowsDrive ? "WinDrive.png" : "FixedDrive.png"};
        break;
      case kDriveRemote:
        look = {"Remote Disk ", "RemoteDrive.png"};
        break;
      case kDriveCdRom:
        look = {"DVD/CD - Drive ", "DVDDrive.png"};
        break;
      case kDriveRamDisk:
        look = {"RAM Disk ", "RamDrive.png"};
        break;
      default:
        break;
    }
    item.Title = look.title + label;
    item.IconFile = SystemIcon(look.icon);
    return;
  }

  const AppPaths& paths = context_.paths;
  struct SpecialFolder {
    const std::string& folder;
    const char* title;  // nullptr: the user's logon name
    const char* icon;
  };
  const SpecialFolder specials[] = {
      {paths.ProfileFolder, nullptr, "UserFolder.png"},
      {paths.DocumentsFolder, "My Documents", "DocFolder.png"},
      {paths.PicturesFolder, "My Pictures", "PicFolder.png"},
      {paths.MusicFolder, "My Music", "MusicFolder.png"},
      {paths.VideoFolder, "My Videos", "VideoFolder.png"},
      {paths.FavoritesFolder, "My Favorites", "FavFolder.png"},
      {paths.WindowsFolder, "Windows Directory", "Directory.png"},
      {paths.ProgramFilesFolder, "Program Files Directory", "Directory.png"},
      {paths.SystemFolder, "System Directory", "Directory.png"},
  };
  for (const SpecialFolder& special : specials) {
    if (special.folder.empty() || AsciiUpper(WithBackslash(special.folder)) != dir) continue;
    item.Title = special.title ? std::string(special.title) : context_.system.UserName();
    item.IconFile = SystemIcon(special.icon);
    return;
  }

  // A link is titled after its own name; a folder given with its "\" after its name too.
  std::string titled = path;
  if (!throughLink && titled.size() > 1 && titled.back() == '\\') titled.pop_back();
  item.Title = TitleFromPath(titled, !throughLink);
  item.IconFile = SystemIcon("Folder.png");
}

std::string ItemEditor::MakeIcon(std::string_view fallback,
                                 const std::function<bool(const std::string&)>& make) {
  const std::string png = NewIconFileName(context_.files, context_.paths.UserIconFolder);
  if (make(png)) return png;
  context_.files.RemoveFile(png);  // nothing half-written stays behind
  return SystemIcon(fallback);
}

bool ItemEditor::ExtractFromLink(const std::string& pngFile) {
  const std::string iconFile = Expanded(link_.LinkIconFile);
  if (Exists(iconFile, false) &&
      context_.icons.ExtractResourceIcon(iconFile, link_.LinkIconIndex, pngFile)) {
    return true;
  }
  const std::string target = Expanded(link_.LinkTarget);
  return Exists(target, false) &&
         context_.icons.ExtractResourceIcon(target, link_.LinkIconIndex, pngFile);
}

}  // namespace kivo
