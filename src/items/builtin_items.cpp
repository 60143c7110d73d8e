#include "items/builtin_items.h"

#include <array>
#include <cstddef>

#include "core/shell_utilities.h"

namespace kivo {
namespace {

struct BuiltIn {
  const char* title;
  const char* icon;
};

constexpr std::array<BuiltIn, 14> kComputerCommands{{
    {"我的电脑", "My Computer.png"},
    {"属性", "Properties.png"},
    {"个性化选择", "Personal.png"},
    {"屏幕分辨率", "Display.png"},
    {"卸载程序", "Uninstall.png"},
    {"网络", "Network.png"},
    {"IE 属性", "IEProperty.png"},
    {"控制面板", "CPanel.png"},
    {"工作组", "Workgroup.png"},
    {"打印机和传真", "Printer.png"},
    {"设备管理器", "DeviceManager.png"},
    {"搜索", "Search.png"},
    {"运行", "Run.png"},
    {"网络连接", "Network Connection.png"},
}};

constexpr std::array<BuiltIn, 3> kRecycleCommands{{
    {"清空回收站", "TrashEmpty.png"},
    {"打开回收站", "TrashFull.png"},
    {"检查回收站状态", "TrashCheck.png"},
}};

ShortcutItem& Item(ShortcutStore& store, int number) {
  return store.Items[static_cast<std::size_t>(number)];
}

void SetEntry(ShortcutItem& item, std::int32_t type, const std::string& title,
              const std::string& iconFile) {
  item.ItemType = type;
  item.Title = title;
  item.IconFile = iconFile;
}

// Writes one command list: each command is a built-in command carrying its own number,
// and the group lists them in order.
template <std::size_t N>
void DefineCommandList(ShortcutStore& store, const AppPaths& paths, int group, int firstItem,
                       const std::array<BuiltIn, N>& commands) {
  ItemGroup& list = store.Groups[static_cast<std::size_t>(group)];
  for (std::size_t i = 0; i < N; ++i) {
    const int number = firstItem + static_cast<int>(i);
    ShortcutItem& item = Item(store, number);
    SetEntry(item, kItemBuiltInCommand, commands[i].title,
             paths.SystemIconFolder + commands[i].icon);
    item.IsSystem = true;
    item.CommandId = number;
    list.Members[i + 1] = number;
  }
  list.Count = static_cast<std::int32_t>(N);
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
    Item(store, n).CommandId = 101;
  }
  SetEntry(Item(store, 39), kItemSystemObject, "文件", icons + "File.png");
  SetEntry(Item(store, 40), kItemSystemObject, kBlankShortcutTitle, icons + "Shortcut.png");
  SetEntry(Item(store, 41), kItemSystemObject, "应用程序", icons + "Application.png");
  SetEntry(Item(store, 42), kItemSystemObject, "组", icons + "Group.png");

  for (int n = 9; n <= kLastRingGroup; ++n) MakeBlankShortcut(Item(store, n), paths);

  SetEntry(Item(store, 0), kItemUser, userName, userIconExists ? paths.UserPicture : std::string());

  ShortcutItem& computer = Item(store, 1);
  SetEntry(computer, kItemSystemObject, "我的电脑", icons + "My Computer.png");
  computer.IsSystem = true;
  computer.CommandId = 81;
  // The recycle-bin entry shows the empty bin until the dock's watch reads the real state.
  ShortcutItem& recycleBin = Item(store, 2);
  recycleBin.ItemType = kItemRecycleBin;
  recycleBin.Title = Item(store, kRecycleEmptyTemplate).Title;
  recycleBin.IconFile = Item(store, kRecycleEmptyTemplate).IconFile;

  const bool locked = settings.LockDragging;
  const std::array<BuiltIn, 16> systemCommands{{
      {"", "UserDoc.png"},
      {"更改用户名称和头像", "UserIcon.png"},
      {"设置", "Setting.png"},
      {"关于 Kivo Launcher", "About.png"},
      {"最小化 Kivo Launcher", "Minimize.png"},
      {"隐藏 Kivo Launcher", "HideKivo.png"},
      {"退出", "Exit.png"},
      {"", "Desktop.png"},
      {"切换桌面", "Switch.png"},
      {locked ? "允许拖放图标" : "禁止拖放图标",
       locked ? "Allow Dragging.png" : "Lock Dragging.png"},
      {"睡眠", "Sleep.png"},
      {"关闭计算机", "Shutdown.png"},
      {"重启计算机", "Restart.png"},
      {"注销用户", "LogOff.png"},
      {"锁定计算机", "LockWorkstation.png"},
      {"关闭显示器", "MonitorOff.png"},
  }};
  DefineCommandList(store, paths, kSystemCommandsGroup, 65, systemCommands);
  Item(store, 65).Title = "打开" + userName + "'的文档";
  Item(store, kDesktopIconsCommandItem).Title =
      DesktopIconsCommandTitle(settings.HideDesktopIcons != 0);
  DefineCommandList(store, paths, kComputerCommandsGroup, 81, kComputerCommands);
  DefineCommandList(store, paths, kRecycleCommandsGroup, 101, kRecycleCommands);
}

}  // namespace kivo
