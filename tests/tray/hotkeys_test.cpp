#include "tray/hotkeys.h"

#include <gtest/gtest.h>

#include "support/iconv_codec.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

constexpr const char* kSubKey = "SOFTWARE\\Kivo Launcher\\System";

TEST(HotKeysTest, TextFormsReadAndWrittenBack) {
  const std::pair<const char*, const char*> cases[] = {{" shift + CTRL+alt+d ", "Ctrl+Alt+Shift+D"},
                                                       {"Win+Alt+F24", "Alt+Win+F24"},
                                                       {"Ctrl+VK186", "Ctrl+VK186"},
                                                       {"", ""}};
  for (const auto& [text, written] : cases) {
    ASSERT_TRUE(ParseHotKey(text)) << text;
    EXPECT_EQ(FormatHotKey(*ParseHotKey(text)), written);
  }
  // Refused: typing keys alone or with Shift, unknown or repeated names, broken forms.
  for (const char* text : {"Shift+Tab", "Ctrl+Ctrl+D", "Ctrl+", "Ctrl++D", "Ctrl+Alt", "Ctrl+F25",
                           "Ctrl+VK16", "Ctrl+É"})
    EXPECT_EQ(ParseHotKey(text), std::nullopt) << text;
}

// Every key code with every modifier set writes a text that reads back as the same
// combination, unless it lacks Ctrl, Alt and Win or its key is a modifier key.
TEST(HotKeysTest, EveryCombinationRoundTrips) {
  int checked = 0;
  for (std::uint32_t modifiers = 0; modifiers < 16; ++modifiers) {
    for (std::uint32_t key = 1; key <= 0xFE; ++key) {
      const HotKey hotKey{modifiers, key};
      const auto back = ParseHotKey(FormatHotKey(hotKey));
      const bool modifierKey = key == 0x10 || key == 0x11 || key == 0x12 || key == 0x5B ||
                               key == 0x5C || (key >= 0xA0 && key <= 0xA5);
      const bool allowed = (modifiers & (kModControl | kModAlt | kModWin)) != 0 && !modifierKey;
      EXPECT_EQ(back, allowed ? std::optional{hotKey} : std::nullopt) << FormatHotKey(hotKey);
      checked += allowed;
    }
  }
  EXPECT_EQ(checked, 14 * (254 - 11));
}

// Missing values get their defaults written; the user's choices are read, and a bad
// one (even a number where a text belongs) keeps the default, leaving the value untouched.
TEST(HotKeysTest, LoadedFromAndSavedToTheRegistry) {
  testing::IconvCodec codec{"CP936"};
  testing::MemoryRegistry registry;
  const auto stored = [&](const char* name) {
    return registry.Get(RegistryRoot::CurrentUser, kSubKey, name);
  };
  const auto put = [&](const char* name, std::uint32_t type, const std::string& bytes) {
    registry.Put(RegistryRoot::CurrentUser, kSubKey, name, {type, bytes});
  };
  EXPECT_EQ(LoadHotKeys(registry, codec), DefaultHotKeys());
  EXPECT_EQ(stored("HotKey.ShowDock"), (RegistryData{kRegSz, std::string("Alt+Space\0", 10)}));
  put("HotKey.ShowDock", kRegSz, std::string("ctrl+alt+k\0", 11));
  put("HotKey.SwitchDesktop", kRegSz, std::string("Shift+Tab\0", 10));  // takes reverse tabbing
  put("HotKey.CollapseDock", kRegDword, std::string(4, '\0'));
  EXPECT_EQ(LoadHotKeys(registry, codec), (HotKeySet{HotKey{kModControl | kModAlt, 'K'},
                                                     DefaultHotKeys()[1], DefaultHotKeys()[2]}));
  EXPECT_EQ(stored("HotKey.SwitchDesktop")->bytes, std::string("Shift+Tab\0", 10));

  const HotKeySet keys{HotKey{kModWin | kModAlt, 'Q'}, HotKey{}, HotKey{kModControl, 0x7A}};
  EXPECT_TRUE(SaveHotKeys(registry, codec, keys));
  EXPECT_EQ(LoadHotKeys(registry, codec), keys) << "an empty text turns a key off";
  testing::MemoryRegistry locked;
  locked.Lock(RegistryRoot::CurrentUser, kSubKey);
  EXPECT_FALSE(SaveHotKeys(locked, codec, keys));
}

}  // namespace
}  // namespace kivo
