// The system registry behind the core's Registry port. Keys and names go through the
// Unicode functions; value data are handed over as the ANSI functions would see them.
#pragma once

#include <windows.h>

#include "core/registry.h"

namespace kivo::win {

// The predefined key for `root`, or null for RegistryRoot::None.
HKEY PredefinedKey(RegistryRoot root);

class WinRegistry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& subKey,
                                       RegistryAccess access) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& subKey) override;
};

}  // namespace kivo::win
