#include "items/builtin_items.h"

#include <array>
#include <cstddef>

#include "commands/command_table.h"

namespace kivo {
namespace {

ShortcutItem& Item(ShortcutStore& store, int number) {
  return store.Items[static_cast<std::size_t>(number)];
}

void SetEntry(ShortcutItem& item, std::int32_t type, const std::string& title,
              const std::string& iconFile) {
  item.ItemType = type;
  item.Title = title;
  item.IconFile = iconFile;
}

// Writes the command lists from the command table: each command is a built-in command
// carrying its own number, and its list shows them in table order.
void DefineCommandLists(ShortcutStore& store, const Settings& settings, const AppPaths& paths,
                        const std::string& userName) {
  for (int group : {kSystemCommandsGroup, kComputerCommandsGroup, kRecycleCommandsGroup}) {
    store.Groups[static_cast<std::size_t>(group)].Count = 0;
  }
  for (const CommandRow& row : CommandTable()) {
    if (row.list < 0) continue;
    // The toggles show their second state: desktop icons hidden, dragging locked.
    const bool alternate = row.number == kDesktopIconsCommand
                               ? settings.HideDesktopIcons != 0
                               : row.number == kDragLockCommand && settings.LockDragging;
    ShortcutItem& item = Item(store, row.number);
    SetEntry(item, kItemBuiltInCommand, CommandTitle(row, userName, alternate),
             paths.SystemIconFolder + CommandIcon(row, alternate));
    item.IsSystem = true;
    item.CommandId = row.number;
    ItemGroup& list = store.Groups[static_cast<std::size_t>(row.list)];
    ++list.Count;
    list.Members[static_cast<std::size_t>(list.Count)] = row.number;
  }
}

}  // namespace

void MakeBlankShortcut(ShortcutItem& item, const AppPaths& paths) {
  SetEntry(item, kItemShortcut, kBlankShortcutTitle, paths.SystemIconFolder + "Shortcut.png");
}

void DefineBuiltInItems(ShortcutStore& store, const Settings& settings, const AppPaths& paths,
                        const std::string& userName, bool userIconExists) {
  for (int n = 1; n < kItemCount; ++n) Item(store, n).ItemIndex = n;
  for (int g = 0; g < kGroupCount; ++g) store.Groups[static_cast<std::size_t>(g)].Members[0] = g;

  const std::string& icons = paths.SystemIconFolder;
  SetEntry(Item(store, 37), kItemRecycleBin, "回收站 (空)", icons + "RecycleEmpty.png");
  SetEntry(Item(store, 38), kItemRecycleBin, "回收站 (满)", icons + "RecycleFull.png");
  for (int n : {37, 38}) {
    Item(store, n).IsSystem = true;
    Item(store, n).CommandId = kEmptyRecycleBinCommand;
  }
  SetEntry(Item(store, 39), kItemSystemObject, "文件", icons + "File.png");
  SetEntry(Item(store, 40), kItemSystemObject, kBlankShortcutTitle, icons + "Shortcut.png");
  SetEntry(Item(store, 41), kItemSystemObject, "应用程序", icons + "Application.png");
  SetEntry(Item(store, 42), kItemSystemObject, "组", icons + "Group.png");

  for (int n = 9; n <= kLastRingGroup; ++n) MakeBlankShortcut(Item(store, n), paths);

  SetEntry(Item(store, 0), kItemUser, userName, userIconExists ? paths.UserPicture : std::string());

  ShortcutItem& computer = Item(store, 1);
  const CommandRow& computerCommand = *FindCommand(kComputerCommand);
  SetEntry(computer, kItemSystemObject, computerCommand.title, icons + computerCommand.icon);
  computer.IsSystem = true;
  computer.CommandId = kComputerCommand;
  // The recycle-bin entry shows the empty bin until the dock's watch reads the real state.
  ShortcutItem& recycleBin = Item(store, 2);
  recycleBin.ItemType = kItemRecycleBin;
  recycleBin.Title = Item(store, kRecycleEmptyTemplate).Title;
  recycleBin.IconFile = Item(store, kRecycleEmptyTemplate).IconFile;

  DefineCommandLists(store, settings, paths, userName);
}

}  // namespace kivo
