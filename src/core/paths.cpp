#include "core/paths.h"

#include <vector>

#include "core/log.h"

namespace kivo {
namespace {

// CSIDL numbers of the special folders the program uses.
enum Csidl : int {
  kDesktop = 0,
  kPrograms = 2,
  kDocuments = 5,
  kFavorites = 6,
  kMusic = 13,
  kVideo = 14,
  kCommonPrograms = 23,
  kCommonDesktop = 25,
  kAppData = 26,
  kWindows = 36,
  kSystem = 37,
  kProgramFiles = 38,
  kPictures = 39,
  kProfile = 40,
  kCommonFiles = 43,
};

}  // namespace

std::string WithTrailingBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

AppPaths BuildPaths(const SystemFolders& folders, FileSystem& fs) {
  const auto special = [&](int csidl) {
    return WithTrailingBackslash(folders.SpecialFolder(csidl));
  };
  AppPaths paths;
  paths.ProgramFolder = WithTrailingBackslash(folders.ProgramFolder());
  paths.TempFolder = WithTrailingBackslash(folders.TempFolder());
  paths.WindowsFolder = special(kWindows);
  paths.SystemFolder = special(kSystem);
  paths.ProgramFilesFolder = special(kProgramFiles);
  paths.CommonFilesFolder = special(kCommonFiles) + "KivoSoft\\";
  paths.DesktopFolder = special(kDesktop);
  paths.CommonDesktopFolder = special(kCommonDesktop);
  paths.ProgramsFolder = special(kPrograms);
  paths.CommonProgramsFolder = special(kCommonPrograms);
  paths.ProfileFolder = special(kProfile);
  paths.DocumentsFolder = special(kDocuments);
  paths.MusicFolder = special(kMusic);
  paths.VideoFolder = special(kVideo);
  paths.PicturesFolder = special(kPictures);
  paths.FavoritesFolder = special(kFavorites);

  // Without a program folder there is nowhere to look for the marker.
  paths.Portable =
      !paths.ProgramFolder.empty() && fs.FileExists(paths.ProgramFolder + kPortableMarkerName);
  std::string data = paths.Portable ? paths.ProgramFolder : special(kAppData);
  const auto levels = paths.Portable ? std::vector<const char*>{kPortableDataFolderName}
                                     : std::vector<const char*>{"KivoSoft\\", "Kivo Launcher\\"};
  for (const char* level : levels) {
    data += level;
    if (!fs.FolderExists(data)) fs.CreateFolder(data);
  }
  paths.DataFolder = data;
  paths.SystemIconFolder = paths.ProgramFolder + "SysIcons\\";
  paths.UserIconFolder = data + "KivoIcons\\";
  if (!fs.FolderExists(paths.UserIconFolder)) fs.CreateFolder(paths.UserIconFolder);
  paths.UserPicture = paths.UserIconFolder + "User Icon.ico";
  paths.TempIcon = paths.TempFolder + "kivotempicon.ico";
  paths.SettingsFile = data + "KivoCfg.cfg";
  paths.MenuFile = data + "KivoMenu.cfg";
  paths.LogFile = data + kLogFileName;
  return paths;
}

}  // namespace kivo
