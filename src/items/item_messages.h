// The questions and notices of shortcut editing, as the user reads them.
#pragma once

#include <string>

#include "core/shell_utilities.h"

namespace kivo {

ShellMessage ReplaceShortcutMessage();
ShellMessage DeleteGroupMessage(bool allProgramsGroup);
ShellMessage StoreFullMessage();
ShellMessage PathNotStorableMessage(const std::string& path);

}  // namespace kivo
