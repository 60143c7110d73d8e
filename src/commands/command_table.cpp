#include "commands/command_table.h"

namespace kivo {
namespace {

using A = CommandAction;

constexpr ShellCall Open(const char* file, const char* parameters) {
  return {"open", ShellFile::Fixed, file, parameters, nullptr, 1};
}

constexpr CommandRow Row(int number, int list, A action, const char* title, const char* icon) {
  CommandRow row;
  row.number = number;
  row.list = list;
  row.action = action;
  row.title = title;
  row.icon = icon;
  return row;
}

constexpr CommandRow Shell(int number, int list, const char* title, const char* icon,
                           ShellCall call, ShellCall older = {}) {
  CommandRow row = Row(number, list, A::ShellOpen, title, icon);
  row.shell = call;
  row.olderShell = older;
  return row;
}

constexpr CommandRow Toggle(int number, A action, const char* title, const char* icon,
                            const char* alternateTitle, const char* alternateIcon) {
  CommandRow row = Row(number, 0, action, title, icon);
  row.alternateTitle = alternateTitle;
  row.alternateIcon = alternateIcon;
  return row;
}

constexpr CommandRow EndSession(int number, const char* title, const char* icon,
                                std::uint32_t flags) {
  CommandRow row = Row(number, 0, A::EndSession, title, icon);
  row.exitFlags = flags;
  return row;
}

constexpr CommandRow Documents() {
  CommandRow row = Row(65, 0, A::ShellOpen, "打开", "UserDoc.png");
  row.titleAfterUserName = "'的文档";
  row.shell = {"open", ShellFile::ProfileFolder, nullptr, "", nullptr, 1};
  return row;
}

constexpr CommandRow None(int number) {
  return Row(number, -1, A::None, "", "");
}

constexpr std::array<CommandRow, kCommandRowCount> kTable{{
    Documents(),
    Row(66, 0, A::ChangeUserNameAndPicture, "更改用户名称和头像", "UserIcon.png"),
    Row(67, 0, A::ShowSettings, "设置", "Setting.png"),
    Row(68, 0, A::ShowAbout, "关于 Kivo Launcher", "About.png"),
    Row(69, 0, A::CollapseDock, "最小化 Kivo Launcher", "Minimize.png"),
    Row(70, 0, A::HideDock, "隐藏 Kivo Launcher", "HideKivo.png"),
    Row(71, 0, A::ExitProgram, "退出", "Exit.png"),
    // The title offers the opposite of the current state.
    Toggle(72, A::ToggleDesktopIcons, "总是隐藏桌面图标", "Desktop.png", "总是显示桌面图标",
           "Desktop.png"),
    Row(73, 0, A::ToggleShowDesktop, "切换桌面", "Switch.png"),
    Toggle(74, A::ToggleDragLock, "禁止拖放图标", "Lock Dragging.png", "允许拖放图标",
           "Allow Dragging.png"),
    Row(75, 0, A::Sleep, "睡眠", "Sleep.png"),
    EndSession(76, "关闭计算机", "Shutdown.png", kEwxShutdown),
    EndSession(77, "重启计算机", "Restart.png", kEwxReboot),
    EndSession(78, "注销用户", "LogOff.png", kEwxLogoff),
    Row(79, 0, A::LockWorkstation, "锁定计算机", "LockWorkstation.png"),
    Row(80, 0, A::MonitorOff, "关闭显示器", "MonitorOff.png"),

    Shell(81, 1, "我的电脑", "My Computer.png",
          Open("explorer", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}")),
    Shell(82, 1, "属性", "Properties.png",
          Open("explorer",
               "::{26EE0668-A00A-44D7-9371-BEB064C98683}\\0\\"
               "::{BB06C0E4-D293-4F75-8A90-CB05B6477EEE}"),
          Open("rundll32.exe", "shell32.dll,Control_RunDLL sysdm.cpl")),
    Shell(83, 1, "个性化选择", "Personal.png",
          Open("rundll32.exe", "shell32.dll,Control_RunDLL desk.cpl,,2")),
    Shell(84, 1, "屏幕分辨率", "Display.png",
          Open("rundll32.exe", "shell32.dll,Control_RunDLL desk.cpl,,3")),
    Shell(85, 1, "卸载程序", "Uninstall.png",
          Open("rundll32.exe", "shell32.dll,Control_RunDLL appwiz.cpl")),
    Shell(86, 1, "网络", "Network.png",
          Open("explorer", "::{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}"),
          Open("rundll32.exe", "shell32.dll, Control_RunDLL Ncpa.cpl")),
    Shell(87, 1, "IE 属性", "IEProperty.png",
          Open("rundll32.exe", "shell32.dll, Control_RunDLL Inetcpl.cpl")),
    Shell(88, 1, "控制面板", "CPanel.png",
          Open("explorer", "::{26EE0668-A00A-44D7-9371-BEB064C98683}"),
          Open("rundll32.exe", "shell32.dll, Control_RunDLL")),
    Shell(89, 1, "工作组", "Workgroup.png",
          Open("explorer", "::{208D2C60-3AEA-1069-A2D7-08002B30309D}")),
    Shell(90, 1, "打印机和传真", "Printer.png",
          Open("explorer", "::{2227A280-3AEA-1069-A2DE-08002B30309D}")),
    Shell(91, 1, "设备管理器", "DeviceManager.png",
          {"open", ShellFile::Fixed, "devmgmt.msc", "", "", 1}),
    Shell(92, 1, "搜索", "Search.png", {"find", ShellFile::Fixed, "", nullptr, nullptr, 1}),
    Row(93, 1, A::RunDialog, "运行", "Run.png"),
    Shell(94, 1, "网络连接", "Network Connection.png", Open("rasphone.exe", "")),

    None(95),
    None(96),
    None(97),
    None(98),
    None(99),
    None(100),

    Row(101, 2, A::EmptyRecycleBin, "清空回收站", "TrashEmpty.png"),
    Shell(102, 2, "打开回收站", "TrashFull.png",
          Open("explorer", "::{645FF040-5081-101B-9F08-00AA002F954E}")),
    Row(103, 2, A::CheckRecycleBin, "检查回收站状态", "TrashCheck.png"),
}};

// Every row sits at its own number, so a lookup is an index.
constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    if (kTable[i].number != kFirstCommand + static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(RowsInOrder());

}  // namespace

const std::array<CommandRow, kCommandRowCount>& CommandTable() {
  return kTable;
}

const CommandRow* FindCommand(int number) {
  if (number < kFirstCommand || number > kLastCommand) return nullptr;
  return &kTable[static_cast<std::size_t>(number - kFirstCommand)];
}

std::string CommandTitle(const CommandRow& row, const std::string& userName, bool alternate) {
  if (row.titleAfterUserName != nullptr) return row.title + userName + row.titleAfterUserName;
  return alternate && row.alternateTitle != nullptr ? row.alternateTitle : row.title;
}

std::string CommandIcon(const CommandRow& row, bool alternate) {
  return alternate && row.alternateIcon != nullptr ? row.alternateIcon : row.icon;
}

const ShellCall& ShellCallFor(const CommandRow& row, int osMajor) {
  return osMajor < 6 && row.olderShell.file != nullptr ? row.olderShell : row.shell;
}

}  // namespace kivo
