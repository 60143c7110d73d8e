// The core's message boxes, shown by the system.
#pragma once

#include <windows.h>

#include <functional>

#include "core/shell_utilities.h"

namespace kivo::win {

// Shows `message` in the foreground and waits for the answer: true for Yes.
bool ShowShellMessage(const ShellMessage& message);
// The same, belonging to `owner`, which gets the keyboard back when the box closes.
bool ShowMessageOver(HWND owner, const ShellMessage& message);

// Asks the user a question and tells whether the answer was Yes; the system's message
// box in the program, a scripted answer in tests.
using AskUser = std::function<bool(const ShellMessage&)>;

}  // namespace kivo::win
