// The recycle bins of all drives: how full they are, the check command and emptying.
#pragma once

#include <optional>
#include <string>

#include "core/shell_utilities.h"
#include "platform/win32/message_win.h"

namespace kivo::win {

// What the bins hold, or nothing when the shell cannot tell.
std::optional<RecycleBinState> QueryRecycleBin();

// True when the bins hold anything; false also when the shell cannot tell.
bool RecycleBinHasItems();

// Empties every bin at once, without the shell's own questions, and updates the bin's
// icon on the desktop. True when the shell emptied them.
bool EmptyAllRecycleBins();

// Asks first (No is the default), then empties. Does nothing when the bins are empty.
void EmptyRecycleBin(const AskUser& ask = ShowShellMessage);

// Reports size and item count, and empties the bins when the user answers Yes.
void CheckRecycleBin(const AskUser& ask = ShowShellMessage);

// Moves one file or folder to the recycle bin, without asking, except where it cannot be
// recycled (too large, or on a drive without a bin): then the shell asks before deleting
// it for good. True when the shell moved it and the user called nothing off.
bool MoveToRecycleBin(const std::string& path);

}  // namespace kivo::win
