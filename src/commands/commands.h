// Launching shortcut items and carrying out the built-in commands.
#pragma once

#include <functional>
#include <string>

#include "commands/command_table.h"
#include "commands/dock_control.h"
#include "commands/system_actions.h"
#include "core/file_system.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/shell_utilities.h"
#include "core/store.h"

namespace kivo {

// The show command of a launch: RunWindow 0, 1, 2 give normal, minimised, maximised; any
// other value normal.
int LaunchShowCommand(int runWindow);

// The working directory of a launch: a program starts in its own folder (with the "\" at
// the end); anything else, and a program named without a folder, gets an empty one.
std::string LaunchDirectory(const std::string& path);

// The ShellExecute call that starts an item.
ShellRequest LaunchRequest(const ShortcutItem& item);

// The message for a shortcut whose target is gone.
ShellMessage ShortcutProblemMessage(const std::string& path);

// The ShellExecute call of a shell-open command row.
ShellRequest CommandRequest(const CommandRow& row, int osMajor, const std::string& profileFolder);

class Commands {
 public:
  struct Environment {
    ShortcutStore& store;
    Settings& settings;
    const AppPaths& paths;
    FileSystem& files;  // the generated icon files of a rebuilt item
    int osMajor = 0;
    std::string userName;
    // Save the store and the settings to their files; true on success.
    std::function<bool()> saveStore;
    std::function<bool()> saveSettings;
  };

  Commands(Environment environment, SystemActions& system, DockControl& dock);

  // Starts item `itemNo` through the shell; 1 when the shell took it, else 0. The dock
  // returns to rest afterwards, and hides with auto-hide on.
  int LaunchItem(int itemNo);

  // Carries out command `commandId`; numbers without a command only return the dock to
  // rest. The result carries no information.
  int RunCommand(int commandId);

  // Whether the desktop icons are hidden now (starts as the settings say).
  bool DesktopIconsHidden() const { return desktopIconsHidden_; }

 private:
  void ReturnToRest();
  void Carry(const CommandRow& row);
  void ToggleDesktopIcons();
  void ToggleDragLock();
  void Save(bool store, bool settings);

  Environment env_;
  SystemActions& system_;
  DockControl& dock_;
  bool desktopIconsHidden_ = false;
};

}  // namespace kivo
