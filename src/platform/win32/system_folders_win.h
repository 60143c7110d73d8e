// Special folders, the temporary folder and the program's own folder.
#pragma once

#include "core/paths.h"

namespace kivo::win {

class WinSystemFolders : public SystemFolders {
 public:
  std::string SpecialFolder(int csidl) const override;
  std::string TempFolder() const override;
  std::string ProgramFolder() const override;
};

// The running executable's full path, "" when the system does not tell.
std::string ProgramFilePath();

}  // namespace kivo::win
