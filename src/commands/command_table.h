// The built-in commands 65..103, written once: number, title, icon file and what the
// command does, as data. The built-in items, RunCommand and the tests all read this table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kivo {

inline constexpr int kFirstCommand = 65;
inline constexpr int kLastCommand = 103;
inline constexpr int kExitCommand = 71;
inline constexpr int kDesktopIconsCommand = 72;
inline constexpr int kDragLockCommand = 74;
inline constexpr int kComputerCommand = 81;
inline constexpr int kEmptyRecycleBinCommand = 101;

// What a command does. Most open something through the shell; the rest ask the system
// or the program's own windows.
enum class CommandAction {
  None,                      // 95..100: no command
  ShellOpen,                 // ShellExecute with the row's call
  ChangeUserNameAndPicture,  // 66
  ShowSettings,              // 67
  ShowAbout,                 // 68
  CollapseDock,              // 69
  HideDock,                  // 70
  ExitProgram,               // 71
  ToggleDesktopIcons,        // 72
  ToggleShowDesktop,         // 73
  ToggleDragLock,            // 74
  Sleep,                     // 75
  EndSession,                // 76..78, with the row's ExitWindowsEx flags
  LockWorkstation,           // 79
  MonitorOff,                // 80
  RunDialog,                 // 93
  EmptyRecycleBin,           // 101
  CheckRecycleBin,           // 103
};

// Where a shell call's file comes from.
enum class ShellFile {
  Fixed,          // the row's text
  ProfileFolder,  // the user's profile folder
};

// One ShellExecute call. A null text is passed as a null pointer, which the shell treats
// differently from an empty string for the working directory.
struct ShellCall {
  const char* verb = nullptr;
  ShellFile fileSource = ShellFile::Fixed;
  const char* file = nullptr;
  const char* parameters = nullptr;
  const char* directory = nullptr;
  int show = 1;  // SW_SHOWNORMAL
};

inline constexpr std::uint32_t kEwxLogoff = 0;
inline constexpr std::uint32_t kEwxShutdown = 1;
inline constexpr std::uint32_t kEwxReboot = 2;
// The reason every end-of-session command gives ExitWindowsEx.
inline constexpr std::uint32_t kEndSessionReason = 0xFFFFFFFF;

struct CommandRow {
  int number = 0;
  int list = -1;  // the command list (group 0..2) that shows the item; -1: none
  CommandAction action = CommandAction::None;
  // The title; for the documents command the user's name and `titleAfterUserName` follow.
  const char* title = "";
  const char* icon = "";
  // The second state of a toggling command (72: icons hidden, 74: dragging locked).
  const char* alternateTitle = nullptr;
  const char* alternateIcon = nullptr;
  const char* titleAfterUserName = nullptr;
  ShellCall shell;
  // Systems older than Windows Vista (major version below 6) use this call when it has a
  // file, `shell` otherwise.
  ShellCall olderShell;
  std::uint32_t exitFlags = 0;  // EndSession
};

inline constexpr std::size_t kCommandRowCount = kLastCommand - kFirstCommand + 1;

// Rows for every number 65..103 in order (95..100 have CommandAction::None).
const std::array<CommandRow, kCommandRowCount>& CommandTable();

// The row of `number`, or null outside 65..103.
const CommandRow* FindCommand(int number);

// The title the command's item shows: `alternate` picks the second state of 72 and 74.
std::string CommandTitle(const CommandRow& row, const std::string& userName, bool alternate);
// The icon file name (without folder) for the same state.
std::string CommandIcon(const CommandRow& row, bool alternate);

// The shell call a row makes on a system of major version `osMajor`.
const ShellCall& ShellCallFor(const CommandRow& row, int osMajor);

}  // namespace kivo
