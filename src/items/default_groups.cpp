#include "items/default_groups.h"

#include <array>
#include <cstddef>

#include "core/text.h"
#include "items/builtin_items.h"
#include "items/group_helpers.h"

namespace kivo {
namespace {

constexpr std::uint32_t kAttributeHidden = 0x2;

struct WebSite {
  const char* address;
  const char* title;
  const char* icon;
};

constexpr std::array<WebSite, 13> kWebSites{{
    {"https://www.kivosoft.com/", "KivoSoft", "KivoSoft.png"},
    {"https://www.google.com/", "Google", "Google.png"},
    {"https://www.yahoo.com/", "Yahoo", "Yahoo.png"},
    {"https://www.pinterest.com/", "Pinterest", "Pinterest.png"},
    {"https://www.facebook.com/", "Facebook", "Facebook.png"},
    {"https://twitter.com/", "Twitter", "Twitter.png"},
    {"https://www.youtube.com/", "Youtube", "Youtube.png"},
    {"https://www.linkedin.com/", "Linkedin", "Linkedin.png"},
    {"https://www.last.fm/", "Last.fm", "Lastfm.png"},
    {"https://www.flickr.com/", "Flickr", "Flickr.png"},
    {"https://del.icio.us/", "Delicious", "Delicious.png"},
    {"https://technorati.com/", "Technorati", "Technorati.png"},
    {"https://www.deviantart.com/", "DeviantART", "DeviantART.png"},
}};

// Accessories by folder: 's' system folder, 'p' Program Files, 'w' Windows folder.
constexpr std::array<std::pair<char, const char*>, 21> kAccessories{{
    {'s', "notepad.exe"},
    {'s', "mspaint.exe"},
    {'s', "calc.exe"},
    {'p', "Windows NT\\Accessories\\wordpad.exe"},
    {'p', "Windows Media Player\\wmplayer.exe"},
    {'s', "cmd.exe"},
    {'s', "msconfig.exe"},
    {'s', "SoundRecorder.exe"},
    {'s', "sndrec32.exe"},
    {'s', "SnippingTool.exe"},
    {'s', "StikyNot.exe"},
    {'s', "magnify.exe"},
    {'s', "osk.exe"},
    {'s', "mstsc.exe"},
    {'s', "taskmgr.exe"},
    {'w', "regedit.exe"},
    {'s', "cleanmgr.exe"},
    {'s', "dfrgui.exe"},
    {'s', "dfrg.msc"},
    {'s', "rstrui.exe"},
    {'s', "ntbackup.exe"},
}};

constexpr std::array<const char*, 5> kOfficePrograms{"Word.Application", "Excel.Application",
                                                     "Access.Application", "PowerPoint.Application",
                                                     "FrontPage.Application"};

std::string ReadDefault(ItemContext& context, const std::string& keyPath) {
  return CleanText(
      RegistryValueText(ReadRegistryValue(context.registry, context.codec, keyPath, "")));
}

// A LocalServer32 command without its switches: up to the last ".EXE" (exact case, as the
// registry writes it); a command without one stays as it is.
std::string ServerProgram(const std::string& command) {
  const std::size_t at = command.rfind(".EXE");
  return at == std::string::npos ? command : command.substr(0, at + 4);
}

void StartGroup(ItemContext& context, int slot, std::int32_t type, const std::string& title,
                const char* icon) {
  DeleteItemIcons(context, slot);
  ShortcutItem& entry = context.store.Items[static_cast<std::size_t>(slot)];
  entry = ShortcutItem{};
  entry.ItemIndex = slot;
  entry.ItemType = type;
  entry.Title = title + " (空)";
  entry.IconFile = context.paths.SystemIconFolder + icon;
  ItemGroup& group = context.store.Groups[static_cast<std::size_t>(slot)];
  std::fill(group.Members.begin() + 1, group.Members.end(), 0);
  group.Count = 0;
}

// The web browser or mail entry: the registered program under a fixed title and picture,
// or the bare entry when none is registered.
void BuildClientSlot(ItemContext& context, ItemEditor& editor, int slot, ClientKind kind,
                     const std::string& title, const char* icon) {
  DeleteItemIcons(context, slot);
  ShortcutItem& entry = context.store.Items[static_cast<std::size_t>(slot)];
  entry = ShortcutItem{};
  entry.ItemType = kItemShortcut;
  const std::string client = GetDefaultClient(context, kind);
  if (client.empty() || editor.AddToGroup(client, slot, title) != slot) {
    entry = ShortcutItem{};
    entry.ItemType = kItemRingShortcut;
    entry.Title = title;
  }
  // The entry shows its own picture; the program's extracted icon is not needed.
  context.images.Release(slot);
  DeleteOwnIconFile(context, entry.IconFile);
  entry.ItemIndex = slot;
  entry.IconFile = context.paths.SystemIconFolder + icon;
}

}  // namespace

void AddFolderFiles(ItemContext& context, ItemEditor& editor, const std::string& folder, int slot) {
  if (CleanText(folder).empty()) return;
  std::string base = folder;
  if (base.back() != '\\') base += '\\';
  for (const std::string& name : context.system.FolderEntries(base)) {
    const std::string path = base + name;
    const auto attributes = context.system.FileAttributes(path);
    if (!attributes || (*attributes & kAttributeHidden) != 0) continue;
    editor.AddToGroup(path, slot);
  }
}

void BuildDefaultSlot(ItemContext& context, ItemEditor& editor, int kind, int slot,
                      std::uint32_t osMajor) {
  if (kind < kDefaultAllPrograms || kind > kDefaultMail) return;
  if (slot == 0) slot = kind + 3;
  if (slot < kFirstRingGroup || slot > kLastRingGroup) return;
  const AppPaths& paths = context.paths;

  switch (kind) {
    case kDefaultAllPrograms:
      StartGroup(context, slot, kItemAllProgramsGroup, "所有程序组", "All Programs Group.png");
      AddFolderFiles(context, editor, paths.CommonDesktopFolder, slot);
      AddFolderFiles(context, editor, paths.DesktopFolder, slot);
      break;
    case kDefaultSystemFolders:
      StartGroup(context, slot, kItemGroup, "系统文件夹和驱动文件夹组", "Library.png");
      if (osMajor >= 5) editor.AddToGroup(paths.WindowsFolder + "Explorer.exe", slot);
      for (const std::string* folder :
           {&paths.DocumentsFolder, &paths.PicturesFolder, &paths.MusicFolder, &paths.VideoFolder,
            &paths.FavoritesFolder, &paths.ProgramFilesFolder, &paths.WindowsFolder,
            &paths.SystemFolder}) {
        if (!folder->empty()) editor.AddToGroup(*folder, slot);
      }
      for (const std::string& drive : context.system.LogicalDrives()) {
        editor.AddToGroup(drive, slot);
      }
      break;
    case kDefaultAccessories:
      StartGroup(context, slot, kItemGroup, "Windows附件组", "WinGroup.png");
      for (const auto& [where, file] : kAccessories) {
        const std::string& folder = where == 's'   ? paths.SystemFolder
                                    : where == 'p' ? paths.ProgramFilesFolder
                                                   : paths.WindowsFolder;
        if (!folder.empty()) editor.AddToGroup(folder + file, slot);
      }
      break;
    case kDefaultOffice:
      StartGroup(context, slot, kItemGroup, "Microsoft Office 办公套件组",
                 "Microsoft Office Group.png");
      for (const char* programId : kOfficePrograms) {
        const std::string classId =
            ReadDefault(context, "HKEY_CLASSES_ROOT\\" + std::string(programId) + "\\CLSID");
        if (classId.empty()) continue;
        const std::string server = ServerProgram(
            ReadDefault(context, "HKEY_CLASSES_ROOT\\CLSID\\" + classId + "\\LocalServer32"));
        const std::string program = CleanText(context.system.ExpandPath(server));
        if (!program.empty() && context.system.FileAttributes(program)) {
          editor.AddToGroup(program, slot);
        }
      }
      break;
    case kDefaultWebSites:
      StartGroup(context, slot, kItemGroup, "网站组", "Website Group.png");
      for (const WebSite& site : kWebSites) {
        editor.AddToGroup(site.address, slot, site.title, paths.SystemIconFolder + site.icon);
      }
      break;
    case kDefaultBrowser:
      BuildClientSlot(context, editor, slot, ClientKind::WebBrowser, "互联网", "Internet.png");
      break;
    case kDefaultMail:
      BuildClientSlot(context, editor, slot, ClientKind::Mail, "电子邮件", "Mailbox.png");
      break;
  }
}

void BuildDefaultGroups(ItemContext& context, std::uint32_t osMajor) {
  ItemEditor editor(context);
  editor.SetQuiet(true);
  for (int kind = kDefaultAllPrograms; kind <= kDefaultMail; ++kind) {
    BuildDefaultSlot(context, editor, kind, 0, osMajor);
  }
}

}  // namespace kivo
