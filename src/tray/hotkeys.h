// The program's three system-wide hot keys: what they are called, how a combination is
// written as text ("Ctrl+Alt+Shift+D") and where the user's choice is kept (values under
// the program's registry key; the settings file has no room for them).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ansi_codec.h"
#include "core/registry.h"

namespace kivo {

// Modifier bits as RegisterHotKey takes them.
inline constexpr std::uint32_t kModAlt = 0x1;
inline constexpr std::uint32_t kModControl = 0x2;
inline constexpr std::uint32_t kModShift = 0x4;
inline constexpr std::uint32_t kModWin = 0x8;

// A key combination: modifier bits and a virtual-key code. Key 0 is no hot key at all.
struct HotKey {
  std::uint32_t modifiers = 0;
  std::uint32_t key = 0;

  bool empty() const { return key == 0; }
  friend bool operator==(const HotKey&, const HotKey&) = default;
};

enum class HotKeyAction : int {
  ShowOrHideDock = 0,  // show and activate the dock, or hide it when it is active
  SwitchDesktop = 1,   // the "切换桌面" command
  CollapseDock = 2,    // collapse the dock to its disc, behind every window
};
inline constexpr int kHotKeyCount = 3;

// The built-in command that switches between the desktop and the windows ("切换桌面").
inline constexpr int kSwitchDesktopCommand = 73;

struct HotKeyDefinition {
  HotKeyAction action;
  const char* valueName;  // the registry value under the program's key
  HotKey defaults;
};

// The three hot keys in registration order.
const std::array<HotKeyDefinition, kHotKeyCount>& HotKeyDefinitions();

using HotKeySet = std::array<HotKey, kHotKeyCount>;
HotKeySet DefaultHotKeys();

// "Ctrl+Alt+Shift+Win+<key>", modifiers always in that order; "" for no hot key. Keys are
// named "A".."Z", "0".."9", "F1".."F24", "Num0".."Num9", "Space", "Tab", "Enter", "Esc",
// "Backspace", "Insert", "Delete", "Home", "End", "PageUp", "PageDown", "Left", "Up",
// "Right", "Down", "Pause"; any other key as "VK" and its decimal code ("VK186").
std::string FormatHotKey(const HotKey& hotKey);

// Reads what FormatHotKey writes, without regard to case or blanks around the parts, the
// modifiers in any order ("Control" for "Ctrl" too). A blank text is no hot key. Nothing
// for anything else: an unknown name, a repeated modifier, a modifier as the key, and a
// combination without Ctrl, Alt or Win, which would take plain or shifted typing away
// from every other program.
std::optional<HotKey> ParseHotKey(std::string_view text);

// The hot keys as stored under the program's key. A missing value is given its default,
// which is written there so that the user can find and change it; a value that does not
// read as a combination keeps its default for this run and is left as the user wrote it.
HotKeySet LoadHotKeys(Registry& registry, const AnsiCodec& codec);

// Stores all three (the settings dialog's way); true when every value was written.
bool SaveHotKeys(Registry& registry, const AnsiCodec& codec, const HotKeySet& keys);

// The balloon text for combinations another program holds, naming each of them.
std::string HotKeyConflictMessage(const std::vector<HotKey>& taken);

}  // namespace kivo
