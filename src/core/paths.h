// The folders and files the program uses, built once at start.
#pragma once

#include <string>

#include "core/file_system.h"

namespace kivo {

// Where the system keeps its special folders (CSIDL numbers) and temporary files.
class SystemFolders {
 public:
  virtual ~SystemFolders() = default;
  // The folder's path without a trailing backslash, or "" when the system has none.
  virtual std::string SpecialFolder(int csidl) const = 0;
  virtual std::string TempFolder() const = 0;
  // The folder that holds the running executable.
  virtual std::string ProgramFolder() const = 0;
};

// A file of this name beside the program makes it portable: its data folder is the folder
// "Data" beside the program, and the program's own registry values are kept there too.
inline constexpr const char* kPortableMarkerName = "portable.ini";
inline constexpr const char* kPortableDataFolderName = "Data\\";

// Every folder path ends with "\".
struct AppPaths {
  bool Portable = false;  // the marker lies beside the program
  std::string ProgramFolder;
  std::string TempFolder;
  std::string WindowsFolder;
  std::string SystemFolder;
  std::string ProgramFilesFolder;
  std::string CommonFilesFolder;  // common files & "KivoSoft\"
  std::string DesktopFolder;
  std::string CommonDesktopFolder;
  std::string ProgramsFolder;
  std::string CommonProgramsFolder;
  std::string ProfileFolder;
  std::string DocumentsFolder;
  std::string MusicFolder;
  std::string VideoFolder;
  std::string PicturesFolder;
  std::string FavoritesFolder;
  std::string DataFolder;
  std::string SystemIconFolder;
  std::string UserIconFolder;
  std::string UserPicture;
  std::string TempIcon;
  std::string SettingsFile;
  std::string MenuFile;
  std::string LogFile;  // "Kivo.log" in the data folder, wherever that is
};

// A folder path with its "\" at the end ("" stays "").
std::string WithTrailingBackslash(std::string folder);

// Fills the paths and creates the data folder levels and the user icon folder when missing.
// The data folder is application data & "KivoSoft\Kivo Launcher\", or, when the portable
// marker lies beside the program, the program folder & "Data\".
AppPaths BuildPaths(const SystemFolders& folders, FileSystem& fs);

}  // namespace kivo
