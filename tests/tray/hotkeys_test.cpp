#include "tray/hotkeys.h"

#include <gtest/gtest.h>

#include <set>

#include "support/iconv_codec.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

constexpr const char* kSubKey = "SOFTWARE\\Kivo Launcher\\System";
constexpr std::uint32_t kCtrlAltShift = kModControl | kModAlt | kModShift;

TEST(HotKeysTest, DefaultsKeepAltSpaceAndLeaveTabToOtherPrograms) {
  const HotKeySet keys = DefaultHotKeys();
  EXPECT_EQ(keys[0], (HotKey{kModAlt, 0x20}));
  EXPECT_EQ(FormatHotKey(keys[1]), "Ctrl+Alt+Shift+D");
  EXPECT_EQ(FormatHotKey(keys[2]), "Ctrl+Alt+Shift+M");
  std::set<std::string> names;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const HotKeyDefinition& d = HotKeyDefinitions()[i];
    EXPECT_EQ(static_cast<std::size_t>(d.action), i) << "registration order";
    EXPECT_EQ(d.defaults, keys[i]);
    EXPECT_NE(keys[i].key, 0x09u) << "Tab stays with every other program";
    names.insert(d.valueName);
    // Every default reads back as itself and could be stored.
    EXPECT_EQ(ParseHotKey(FormatHotKey(keys[i])), keys[i]);
  }
  EXPECT_EQ(names.size(), 3u);
  EXPECT_NE(keys[1], keys[2]);
}

TEST(HotKeysTest, TextForms) {
  const struct {
    const char* text;           // as read
    std::optional<HotKey> key;  // nothing: refused
    const char* written;        // as FormatHotKey writes it back
  } cases[] = {
      {"Alt+Space", HotKey{kModAlt, 0x20}, "Alt+Space"},
      {" shift + CTRL+alt+d ", HotKey{kCtrlAltShift, 'D'}, "Ctrl+Alt+Shift+D"},
      {"Control+F12", HotKey{kModControl, 0x7B}, "Ctrl+F12"},
      {"Win+Alt+F24", HotKey{kModWin | kModAlt, 0x87}, "Alt+Win+F24"},
      {"Alt+Num0", HotKey{kModAlt, 0x60}, "Alt+Num0"},
      {"Ctrl+Alt+PageDown", HotKey{kModControl | kModAlt, 0x22}, "Ctrl+Alt+PageDown"},
      {"Ctrl+VK186", HotKey{kModControl, 186}, "Ctrl+VK186"},
      {"Ctrl+Tab", HotKey{kModControl, 0x09}, "Ctrl+Tab"},
      {"", HotKey{}, ""},
      // Refused: typing keys alone or with Shift, unknown or repeated names, broken forms.
      {"Shift+Tab", std::nullopt, ""},
      {"D", std::nullopt, ""},
      {"Ctrl+Ctrl+D", std::nullopt, ""},
      {"Ctrl+", std::nullopt, ""},
      {"+D", std::nullopt, ""},
      {"Ctrl++D", std::nullopt, ""},
      {"Ctrl+Alt", std::nullopt, ""},
      {"Ctrl+F0", std::nullopt, ""},
      {"Ctrl+F25", std::nullopt, ""},
      {"Ctrl+VK0", std::nullopt, ""},
      {"Ctrl+VK255", std::nullopt, ""},
      {"Ctrl+VK16", std::nullopt, "a modifier key is no key"},
      {"Hyper+D", std::nullopt, ""},
      {"Ctrl+É", std::nullopt, ""},
      {"Ctrl+Num10", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = ParseHotKey(c.text);
    EXPECT_EQ(parsed, c.key);
    if (parsed) {
      EXPECT_EQ(FormatHotKey(*parsed), c.written);
    }
  }
}

// Every key code with every modifier set that is allowed writes a text that reads back as
// the same combination.
TEST(HotKeysTest, EveryCombinationRoundTrips) {
  int checked = 0;
  for (std::uint32_t modifiers = 0; modifiers < 16; ++modifiers) {
    for (std::uint32_t key = 1; key <= 0xFE; ++key) {
      const HotKey hotKey{modifiers, key};
      const auto back = ParseHotKey(FormatHotKey(hotKey));
      const bool allowed = (modifiers & (kModControl | kModAlt | kModWin)) != 0;
      const bool modifierKey = key == 0x10 || key == 0x11 || key == 0x12 || key == 0x5B ||
                               key == 0x5C || (key >= 0xA0 && key <= 0xA5);
      if (allowed && !modifierKey) {
        EXPECT_EQ(back, hotKey) << FormatHotKey(hotKey);
        ++checked;
      } else {
        EXPECT_FALSE(back) << FormatHotKey(hotKey);
      }
    }
  }
  EXPECT_EQ(checked, 14 * (254 - 11));
}

class HotKeyRegistryTest : public ::testing::Test {
 protected:
  testing::IconvCodec codec{"CP936"};
  testing::MemoryRegistry registry;

  void Put(const char* name, const std::string& text) {
    registry.Put(RegistryRoot::CurrentUser, kSubKey, name, {kRegSz, codec.Encode(text) + '\0'});
  }
  std::string Stored(const char* name) {
    const auto data = registry.Get(RegistryRoot::CurrentUser, kSubKey, name);
    if (!data) return "<missing>";
    if (data->type != kRegSz) return "<type>";
    std::string text = codec.Decode(data->bytes);
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
};

TEST_F(HotKeyRegistryTest, MissingValuesGetTheirDefaultsWritten) {
  EXPECT_EQ(LoadHotKeys(registry, codec), DefaultHotKeys());
  EXPECT_EQ(Stored("HotKey.ShowDock"), "Alt+Space");
  EXPECT_EQ(Stored("HotKey.SwitchDesktop"), "Ctrl+Alt+Shift+D");
  EXPECT_EQ(Stored("HotKey.CollapseDock"), "Ctrl+Alt+Shift+M");
  // A second start reads them and writes nothing.
  const int writes = registry.writeCount;
  EXPECT_EQ(LoadHotKeys(registry, codec), DefaultHotKeys());
  EXPECT_EQ(registry.writeCount, writes);
}

TEST_F(HotKeyRegistryTest, UsersChoicesAreReadAndBadOnesKeepTheDefaultUntouched) {
  Put("HotKey.ShowDock", "ctrl+alt+k");
  Put("HotKey.SwitchDesktop", "Shift+Tab");  // would take reverse tabbing from everyone
  Put("HotKey.CollapseDock", "");            // turned off
  const HotKeySet keys = LoadHotKeys(registry, codec);
  EXPECT_EQ(keys[0], (HotKey{kModControl | kModAlt, 'K'}));
  EXPECT_EQ(keys[1], DefaultHotKeys()[1]);
  EXPECT_TRUE(keys[2].empty());
  EXPECT_EQ(Stored("HotKey.ShowDock"), "ctrl+alt+k") << "read, not rewritten";
  EXPECT_EQ(Stored("HotKey.SwitchDesktop"), "Shift+Tab") << "left for the user to mend";
  EXPECT_EQ(Stored("HotKey.CollapseDock"), "");

  // A number where a text belongs counts as unreadable, not as missing.
  registry.Put(RegistryRoot::CurrentUser, kSubKey, "HotKey.ShowDock",
               {kRegDword, std::string(4, '\0')});
  EXPECT_EQ(LoadHotKeys(registry, codec)[0], DefaultHotKeys()[0]);
  EXPECT_EQ(Stored("HotKey.ShowDock"), "<type>");
}

TEST_F(HotKeyRegistryTest, SavedKeysLoadBackAndALockedKeyIsReported) {
  const HotKeySet keys{HotKey{kModWin | kModAlt, 'Q'}, HotKey{}, HotKey{kModControl, 0x7A}};
  EXPECT_TRUE(SaveHotKeys(registry, codec, keys));
  EXPECT_EQ(Stored("HotKey.ShowDock"), "Alt+Win+Q");
  EXPECT_EQ(LoadHotKeys(registry, codec), keys);

  testing::MemoryRegistry locked;
  locked.Lock(RegistryRoot::CurrentUser, kSubKey);
  EXPECT_FALSE(SaveHotKeys(locked, codec, keys));
  // Loading from a key that cannot be written still gives the defaults.
  EXPECT_EQ(LoadHotKeys(locked, codec), DefaultHotKeys());
}

TEST(HotKeysTest, ConflictMessageNamesEveryTakenKey) {
  const HotKey altSpace{kModAlt, 0x20};
  const HotKey desktop{kCtrlAltShift, 'D'};
  EXPECT_EQ(HotKeyConflictMessage({altSpace}),
            "热键 Alt+Space 已被其他程序占用，Kivo Launcher 无法使用它。");
  EXPECT_EQ(HotKeyConflictMessage({altSpace, desktop}),
            "热键 Alt+Space、Ctrl+Alt+Shift+D 已被其他程序占用，Kivo Launcher 无法使用它们。");
}

}  // namespace
}  // namespace kivo
