#include "core/startup.h"

namespace kivo {

void InitializeData(AppData& data, DataFiles& files, const InitializeSteps& steps, bool withTables,
                    bool loadSettings, bool loadStore) {
  if (steps.readScreen) data.screen = steps.readScreen();
  if (withTables) data.store.Clear();

  ApplyDefaultSettings(data.settings, data.screen);
  if (loadSettings) {
    files.LoadSettings(data.settings, data.screen, data.store.Items[0], steps.autoRunRegistered);
  }
  data.iconSizes = {data.settings.IconSize, data.settings.MagnifiedSize, data.settings.MaxIconSize,
                    32};

  if (steps.defineBuiltInItems) steps.defineBuiltInItems(data);
  const bool loaded = loadStore && files.LoadStore(data.store) == 1;
  if (!loaded && steps.buildDefaultGroups) steps.buildDefaultGroups(data);
}

}  // namespace kivo
