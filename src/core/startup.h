// The program's data and the initialization routine that fills it, free of any window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/data_files.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/store.h"

namespace kivo {

// The signature that tells a PNG file from other icon data.
inline constexpr std::array<std::uint8_t, 8> kPngSignature{137, 80, 78, 71, 13, 10, 26, 10};

// Everything the windows work on: paths, screen, settings and the shortcut store.
struct AppData {
  AppPaths paths;
  ScreenInfo screen;
  Settings settings;
  ShortcutStore store;
  // Sizes icon extraction renders: IconSize, MagnifiedSize, MaxIconSize, 32.
  std::array<int, 4> iconSizes{48, 64, 128, 32};
  // The running Windows ("Microsoft Windows 7 Service Pack 1 (Build 7601)") and its major
  // version; "" and 0 when the system would not tell.
  std::string osName;
  std::uint32_t osMajor = 0;
  // Face name of the system's interface font, for the dialogs.
  std::string interfaceFont = "Verdana";
};

// What the initialization routine needs from the world and from other parts of the
// program. Parts that are not there leave their entry empty.
struct InitializeSteps {
  std::function<ScreenInfo()> readScreen;
  std::function<bool()> autoRunRegistered;
  std::function<void(AppData&)> defineBuiltInItems;
  std::function<void(AppData&)> buildDefaultGroups;
};

// Reads the screen, applies the default settings and loads the settings file, defines the
// built-in items and loads the store (or builds the default groups). `withTables`
// recreates the tables; `loadSettings` and `loadStore` choose what comes from the files.
void InitializeData(AppData& data, DataFiles& files, const InitializeSteps& steps, bool withTables,
                    bool loadSettings, bool loadStore);

}  // namespace kivo
