// The system's open and save dialogs for one file.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kivo::win {

struct FileDialog {
  std::string title;
  // "name|pattern|name|pattern…", or one pattern that is its own name ("*.png;*.ico").
  std::string filter;
  std::string proposedName;
  bool save = false;  // a save dialog: the file need not exist (the caller asks about replacing)
};

// The chosen file's path, or nothing when the user cancelled.
std::optional<std::string> ChooseFile(HWND owner, const FileDialog& dialog);

}  // namespace kivo::win
