// The decisions and texts behind the small shell routines: the recycle-bin report and
// question, start with Windows, and the title of the desktop-icons command.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/ansi_codec.h"
#include "core/registry.h"
#include "core/store.h"

namespace kivo {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Information, Question, Exclamation, None };

// A message box to show in the foreground.
struct ShellMessage {
  std::string text;
  std::string title;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::Information;
  bool defaultNo = false;    // No is the default button
  bool offersEmpty = false;  // a Yes empties the recycle bin (without asking again)

  friend bool operator==(const ShellMessage&, const ShellMessage&) = default;
};

// What the recycle bins of all drives hold, as the shell counts it.
struct RecycleBinState {
  std::int64_t itemCount = 0;
  std::int64_t byteSize = 0;
};

// True when the bin holds anything: items, or bytes the shell could not count as items.
bool RecycleBinHasItems(const RecycleBinState& bin);

// The report of the check command: size and item count, and the offer to empty a bin
// that holds anything.
ShellMessage CheckRecycleBinMessage(const RecycleBinState& bin);

// The question before emptying, or nothing when the bin holds nothing to empty.
std::optional<ShellMessage> EmptyRecycleBinQuestion(const RecycleBinState& bin);

inline constexpr const char* kRunKeyPath =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAutoRunValueName = "Kivo Launcher";

// The command the start-up entry holds: the program's full path in quotes, so that a
// path with blanks cannot be taken for a shorter program path.
std::string AutoRunCommand(const std::string& programPath);

// Makes the start-up entry start `programPath` (enable) or removes it (disable). An
// entry that starts another program is never removed. 1 when the entry holds the
// program's command afterwards, else 0.
// True when the start-up entry holds this program.
bool AutoRunHolds(Registry& registry, const AnsiCodec& codec, const std::string& programPath);
int SetAutoRun(Registry& registry, const AnsiCodec& codec, const std::string& programPath,
               bool enable);

// Item 72 offers the opposite of the current desktop-icons state.
inline constexpr int kDesktopIconsCommandItem = 72;
std::string DesktopIconsCommandTitle(bool iconsHidden);
// Gives item 72 the title for the new desktop-icons state, when item 72 is the built-in
// command (before the built-in items are defined it is not, and keeps its title).
void UpdateDesktopIconsCommand(ShortcutStore& store, bool iconsHidden);

}  // namespace kivo
