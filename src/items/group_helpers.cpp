#include "items/group_helpers.h"

#include <algorithm>
#include <cstddef>

#include "core/text.h"
#include "items/builtin_items.h"
#include "items/icon_cache.h"
#include "items/item_icon_files.h"
#include "items/shell_text.h"

namespace kivo {
namespace {

ShortcutItem& Item(ItemContext& context, int number) {
  return context.store.Items[static_cast<std::size_t>(number)];
}

bool IsItemNumber(int number) {
  return number >= 0 && number <= kLastItem;
}

// An item no longer used by anything: its icons go, its record is emptied.
void FreeItem(ItemContext& context, int item) {
  DeleteItemIcons(context, item);
  ShortcutItem& record = Item(context, item);
  record = ShortcutItem{};
  record.ItemIndex = item;
}

void FreeMembers(ItemContext& context, int group) {
  ItemGroup& members = context.store.Groups[static_cast<std::size_t>(group)];
  const int count = std::clamp(members.Count, 0, GroupCapacity(group));
  for (int i = 1; i <= count; ++i) {
    const int member = members.Members[static_cast<std::size_t>(i)];
    if (member >= kFirstUserItem && member <= kLastItem) FreeItem(context, member);
    members.Members[static_cast<std::size_t>(i)] = 0;
  }
  members.Count = 0;
}

std::string ReadText(ItemContext& context, const std::string& path, const std::string& name) {
  return RegistryValueText(ReadRegistryValue(context.registry, context.codec, path, name));
}

}  // namespace

int FindFreeItem(const ShortcutStore& store, int iconCount, int mode) {
  if (mode == 0) {
    for (int n = kFirstUserItem; n <= kLastItem; ++n) {
      if (store.Items[static_cast<std::size_t>(n)].ItemType == kItemUnused) return n;
    }
    return kNoFreeItem;
  }
  const int lastSlot = std::min(iconCount, kLastRingGroup);
  for (int n = 4; n <= lastSlot; ++n) {
    const std::int32_t type = store.Items[static_cast<std::size_t>(n)].ItemType;
    if (type == kItemUnused || type == kItemShortcut) return n;
  }
  return store.Groups[kAllProgramsGroup].Count < GroupCapacity(kAllProgramsGroup) ? 3 : 0;
}

namespace {

// The program's own icon files of `item` and their small copies in the icon cache.
void RemoveIconFiles(ItemContext& context, const ShortcutItem& item) {
  const std::string cache = IconCacheFolder(context.paths.UserIconFolder);
  for (const std::string& file : IconFilesToDelete(item, context.paths.UserIconFolder)) {
    context.files.RemoveFile(file);
    for (const int size : {kRowCopySize, kRingCopySize}) {
      context.files.RemoveFile(IconCacheFile(cache, file, size));
    }
  }
}

}  // namespace

void DeleteItemIcons(ItemContext& context, int item) {
  if (!IsItemNumber(item)) return;
  context.images.Release(item);
  RemoveIconFiles(context, Item(context, item));
}

void DeleteOwnIconFile(ItemContext& context, const std::string& iconFile) {
  ShortcutItem holder;
  holder.IconFile = iconFile;
  RemoveIconFiles(context, holder);
}

void RemoveGroupMember(ItemContext& context, int item) {
  if (!IsItemNumber(item)) return;
  for (int g = kFirstRingGroup; g <= kLastRingGroup; ++g) {
    ItemGroup& group = context.store.Groups[static_cast<std::size_t>(g)];
    const int count = std::clamp(group.Count, 0, GroupCapacity(g));
    const auto first = group.Members.begin() + 1;
    const auto last = first + count;
    const auto found = std::find(first, last, item);
    if (found == last) continue;
    std::copy(found + 1, last, found);
    *(last - 1) = 0;
    group.Count = count - 1;
    UpdateGroupTitle(context.store, g);
    if (item >= kFirstUserItem) {
      FreeItem(context, item);
    } else {
      DeleteItemIcons(context, item);
    }
    return;
  }
}

int DeleteItem(ItemContext& context, int item, bool quiet) {
  if (!IsItemNumber(item)) return 1;
  ShortcutItem& record = Item(context, item);
  const bool ringEntry = item < kGroupCount;
  switch (record.ItemType) {
    case kItemRingShortcut:
      if (!ringEntry) return 1;
      FreeItem(context, item);
      MakeBlankShortcut(Item(context, item), context.paths);
      context.images.Load(item);
      return 1;
    case kItemGroup:
      if (!ringEntry) return 1;
      if (!quiet && !context.prompts.ConfirmDeleteGroup(false)) return 0;
      FreeMembers(context, item);
      FreeItem(context, item);
      MakeBlankShortcut(Item(context, item), context.paths);
      context.images.Load(item);
      return 1;
    case kItemGroupMember:
      RemoveGroupMember(context, item);
      return 1;
    case kItemAllProgramsGroup:
      if (!ringEntry) return 1;
      if (!quiet && !context.prompts.ConfirmDeleteGroup(true)) return 0;
      FreeMembers(context, item);
      record.LinkPath = "";
      UpdateGroupTitle(context.store, item);
      return 1;
    default:
      return 1;
  }
}

std::string GetDefaultClient(ItemContext& context, ClientKind kind) {
  const std::string scheme = kind == ClientKind::WebBrowser ? "http" : "mailto";
  const std::string progId = ReadText(context,
                                      "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\"
                                      "Associations\\UrlAssociations\\" +
                                          scheme + "\\UserChoice",
                                      "Progid");
  std::string command;
  if (!progId.empty()) {
    command = ReadText(context, "HKEY_CLASSES_ROOT\\" + progId + "\\shell\\open\\command", "");
  }
  if (command.empty()) {
    command = ReadText(context, "HKEY_CLASSES_ROOT\\" + scheme + "\\shell\\open\\command", "");
  }
  const std::string program = CommandProgram(command);
  if (program.empty()) return {};
  return CleanText(context.system.ExpandPath(program));
}

}  // namespace kivo
