// The program's own entries: the user entry, "My Computer", the recycle bin, the templates
// new entries start from, and the three lists of built-in commands.
#pragma once

#include <string>

#include "core/paths.h"
#include "core/settings.h"
#include "core/store.h"

namespace kivo {

// Templates whose images an entry borrows until it has its own.
inline constexpr int kFileTemplate = 39;
inline constexpr int kShortcutTemplate = 40;
inline constexpr int kApplicationTemplate = 41;
inline constexpr int kGroupTemplate = 42;

// The command lists are groups 0..2.
inline constexpr int kSystemCommandsGroup = 0;
inline constexpr int kComputerCommandsGroup = 1;
inline constexpr int kRecycleCommandsGroup = 2;

inline constexpr const char* kBlankShortcutTitle = "空白快捷方式";

// Turns a ring slot into a blank shortcut showing Shortcut.png.
void MakeBlankShortcut(ShortcutItem& item, const AppPaths& paths);

// Writes the built-in entries into the tables. Ring slots 9..36 become blank shortcuts
// (a loaded store or the default groups overwrite them). `userIconExists` tells whether
// the user's picture ("User Icon.ico" in the user icon folder) is there.
void DefineBuiltInItems(ShortcutStore& store, const Settings& settings, const AppPaths& paths,
                        const std::string& userName, bool userIconExists);

}  // namespace kivo
