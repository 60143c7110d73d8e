// What making shortcuts needs from the system beyond files and the registry: drives,
// folder listings, path expansion, the user's name, shell links, version resources and
// icon pictures. Windows answers on Windows; tests answer from tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// GetDriveType's answers.
enum DriveKind : int {
  kDriveUnknown = 0,
  kDriveNoRoot = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdRom = 5,
  kDriveRamDisk = 6,
};

inline constexpr std::uint32_t kAttributeDirectory = 0x10;

// What a shell link (".lnk") holds.
struct ShellLinkData {
  std::string target;
  std::string workingDir;
  std::string arguments;
  std::string iconFile;
  int iconIndex = 0;
  int showCommand = 0;
  std::string description;

  friend bool operator==(const ShellLinkData&, const ShellLinkData&) = default;
};

class ItemSystem {
 public:
  virtual ~ItemSystem() = default;

  // GetFileAttributes of the path, or nothing when it does not exist.
  virtual std::optional<std::uint32_t> FileAttributes(const std::string& path) const = 0;
  // GetDriveType of a root such as "C:\".
  virtual int DriveType(const std::string& root) const = 0;
  // The roots of every drive ("C:\", "D:\", ...) in the order the system gives them.
  virtual std::vector<std::string> LogicalDrives() const = 0;
  // Names of every file and folder directly inside `folder` (with or without its "\"),
  // without "." and "..", in the order the system lists them.
  virtual std::vector<std::string> FolderEntries(const std::string& folder) const = 0;
  // The path with environment variables expanded ("%SystemRoot%\x" -> "C:\windows\x").
  virtual std::string ExpandPath(std::string_view path) const = 0;
  // The logon name of the current user, "" when the system would not tell.
  virtual std::string UserName() const = 0;
  // The whole version resource of a program or library (GetFileVersionInfo), or nothing.
  virtual std::optional<std::string> VersionBlock(const std::string& file) const = 0;
  // The contents of a shell link, or nothing when it cannot be read.
  virtual std::optional<ShellLinkData> ReadShellLink(const std::string& linkFile) = 0;
  // The installed path of a Windows Installer advertised shortcut, "" for any other link.
  virtual std::string MsiShortcutTarget(const std::string& linkFile) = 0;
};

// Icon pictures written as PNG files.
class IconMaker {
 public:
  virtual ~IconMaker() = default;
  // The best image of an icon group of a program or library (index >= 0: the index-th
  // group, the last when there are fewer; < 0: the group with identifier -index).
  virtual bool ExtractResourceIcon(const std::string& module, int index,
                                   const std::string& pngFile) = 0;
  // An ".ico" file, or a PNG file under that name.
  virtual bool ConvertIcoFile(const std::string& icoFile, const std::string& pngFile) = 0;
  // The icon the shell shows for the file (SHGetFileInfo).
  virtual bool SaveShellIcon(const std::string& file, const std::string& pngFile) = 0;
};

}  // namespace kivo
