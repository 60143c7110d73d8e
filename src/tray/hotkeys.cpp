#include "tray/hotkeys.h"

#include <cctype>

#include "core/program_registry.h"

namespace kivo {
namespace {

constexpr std::uint32_t kKeySpace = 0x20;
constexpr std::uint32_t kKeyF1 = 0x70;
constexpr std::uint32_t kKeyF24 = 0x87;
constexpr std::uint32_t kKeyNum0 = 0x60;
constexpr std::uint32_t kKeyNum9 = 0x69;
constexpr std::uint32_t kLastKey = 0xFE;

// Windows' own modifier keys, which cannot be the key of a combination.
constexpr std::uint32_t kModifierKeys[] = {0x10, 0x11, 0x12, 0x5B, 0x5C, 0xA0,
                                           0xA1, 0xA2, 0xA3, 0xA4, 0xA5};

struct KeyName {
  std::uint32_t key;
  const char* name;
};
constexpr KeyName kKeyNames[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},        {0x0D, "Enter"},  {0x13, "Pause"},
    {0x1B, "Esc"},       {kKeySpace, "Space"}, {0x21, "PageUp"}, {0x22, "PageDown"},
    {0x23, "End"},       {0x24, "Home"},       {0x25, "Left"},   {0x26, "Up"},
    {0x27, "Right"},     {0x28, "Down"},       {0x2D, "Insert"}, {0x2E, "Delete"},
};

struct ModifierName {
  std::uint32_t bit;
  const char* name;
};
// In the order they are written.
constexpr ModifierName kModifierNames[] = {
    {kModControl, "Ctrl"}, {kModAlt, "Alt"}, {kModShift, "Shift"}, {kModWin, "Win"}};

const std::array<HotKeyDefinition, kHotKeyCount> kDefinitions{{
    {HotKeyAction::ShowOrHideDock, "HotKey.ShowDock", {kModAlt, kKeySpace}},
    {HotKeyAction::SwitchDesktop, "HotKey.SwitchDesktop", {kModControl | kModAlt | kModShift, 'D'}},
    {HotKeyAction::CollapseDock, "HotKey.CollapseDock", {kModControl | kModAlt | kModShift, 'M'}},
}};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A decimal number of at most three digits, or nothing.
std::optional<std::uint32_t> SmallNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 3) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
}

bool IsModifierKey(std::uint32_t key) {
  for (const std::uint32_t m : kModifierKeys) {
    if (m == key) return true;
  }
  return false;
}

std::optional<std::uint32_t> ParseKey(std::string_view part) {
  const std::string name = Lower(part);
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a' + 'A');
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c);
    return std::nullopt;
  }
  for (const KeyName& k : kKeyNames) {
    if (name == Lower(k.name)) return k.key;
  }
  if (name[0] == 'f') {
    const auto n = SmallNumber(std::string_view(name).substr(1));
    if (n && *n >= 1 && *n <= kKeyF24 - kKeyF1 + 1) return kKeyF1 + *n - 1;
    return std::nullopt;
  }
  if (name.size() == 4 && name.starts_with("num") && name[3] >= '0' && name[3] <= '9') {
    return kKeyNum0 + static_cast<std::uint32_t>(name[3] - '0');
  }
  if (name.starts_with("vk")) {
    const auto n = SmallNumber(std::string_view(name).substr(2));
    if (n && *n >= 1 && *n <= kLastKey && !IsModifierKey(*n)) return *n;
  }
  return std::nullopt;
}

std::string KeyText(std::uint32_t key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    return std::string(1, static_cast<char>(key));
  }
  for (const KeyName& k : kKeyNames) {
    if (k.key == key) return k.name;
  }
  // Appended rather than concatenated: GCC 12 warns wrongly (-Wrestrict) about
  // `"literal" + std::string` at -O3.
  std::string text;
  if (key >= kKeyF1 && key <= kKeyF24) {
    text.append("F").append(std::to_string(key - kKeyF1 + 1));
  } else if (key >= kKeyNum0 && key <= kKeyNum9) {
    text.append("Num").append(std::to_string(key - kKeyNum0));
  } else {
    text.append("VK").append(std::to_string(key));
  }
  return text;
}

}  // namespace

const std::array<HotKeyDefinition, kHotKeyCount>& HotKeyDefinitions() {
  return kDefinitions;
}

HotKeySet DefaultHotKeys() {
  HotKeySet keys{};
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = kDefinitions[i].defaults;
  return keys;
}

std::string FormatHotKey(const HotKey& hotKey) {
  if (hotKey.empty()) return "";
  std::string text;
  for (const ModifierName& m : kModifierNames) {
    if ((hotKey.modifiers & m.bit) != 0) text.append(m.name).append("+");
  }
  return text.append(KeyText(hotKey.key));
}

std::optional<HotKey> ParseHotKey(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return HotKey{};
  HotKey hotKey;
  for (;;) {
    const std::size_t plus = text.find('+');
    const std::string_view part = Trim(text.substr(0, plus));
    if (part.empty()) return std::nullopt;
    if (plus == std::string_view::npos) {
      const auto key = ParseKey(part);
      if (!key) return std::nullopt;
      hotKey.key = *key;
      break;
    }
    const std::string name = Lower(part);
    std::uint32_t bit = 0;
    for (const ModifierName& m : kModifierNames) {
      if (name == Lower(m.name)) bit = m.bit;
    }
    if (name == "control") bit = kModControl;
    if (bit == 0 || (hotKey.modifiers & bit) != 0) return std::nullopt;
    hotKey.modifiers |= bit;
    text.remove_prefix(plus + 1);
  }
  if ((hotKey.modifiers & (kModControl | kModAlt | kModWin)) == 0) return std::nullopt;
  return hotKey;
}

HotKeySet LoadHotKeys(Registry& registry, const AnsiCodec& codec) {
  HotKeySet keys = DefaultHotKeys();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const HotKeyDefinition& definition = kDefinitions[i];
    const RegistryValue value =
        ReadRegistryValue(registry, codec, kProgramKeyPath, definition.valueName);
    if (const auto* text = std::get_if<std::string>(&value)) {
      if (const auto parsed = ParseHotKey(*text)) keys[i] = *parsed;
    } else if (std::holds_alternative<std::monostate>(value)) {
      // Missing (or unreadable): the default is written where the user can change it.
      WriteRegistryValue(registry, codec, kProgramKeyPath, definition.valueName,
                         FormatHotKey(definition.defaults), kRegSz);
    }
  }
  return keys;
}

bool SaveHotKeys(Registry& registry, const AnsiCodec& codec, const HotKeySet& keys) {
  bool all = true;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    all = WriteRegistryValue(registry, codec, kProgramKeyPath, kDefinitions[i].valueName,
                             FormatHotKey(keys[i]), kRegSz) &&
          all;
  }
  return all;
}

std::string HotKeyConflictMessage(const std::vector<HotKey>& taken) {
  std::string names;
  for (const HotKey& key : taken) {
    if (!names.empty()) names += "、";
    names += FormatHotKey(key);
  }
  std::string text = "热键 ";
  return text.append(names)
      .append(" 已被其他程序占用，Kivo Launcher 无法使用")
      .append(taken.size() > 1 ? "它们" : "它")
      .append("。");
}

}  // namespace kivo
