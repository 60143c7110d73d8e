// The system questions making shortcuts asks, answered by Windows: files and drives,
// environment, the user, version resources, shell links (.lnk and Windows Installer
// shortcuts) and the icons written for them.
#pragma once

#include "items/item_system.h"

namespace kivo::win {

class WinItemSystem final : public ItemSystem {
 public:
  std::optional<std::uint32_t> FileAttributes(const std::string& path) const override;
  int DriveType(const std::string& root) const override;
  std::vector<std::string> LogicalDrives() const override;
  std::vector<std::string> FolderEntries(const std::string& folder) const override;
  // On failure the path comes back unchanged.
  std::string ExpandPath(std::string_view path) const override;
  std::string UserName() const override;
  std::optional<std::string> VersionBlock(const std::string& file) const override;
  // Works on any thread: COM is set up for the call when the thread has not done so.
  std::optional<ShellLinkData> ReadShellLink(const std::string& linkFile) override;
  std::string MsiShortcutTarget(const std::string& linkFile) override;
};

// Needs a running GDI+ session (GdiplusSession).
class WinIconMaker final : public IconMaker {
 public:
  bool ExtractResourceIcon(const std::string& module, int index,
                           const std::string& pngFile) override;
  bool ConvertIcoFile(const std::string& icoFile, const std::string& pngFile) override;
  // The shell's large icon for the file, alpha channel kept. False when the shell has no
  // icon for it (a missing file) or the PNG could not be written.
  bool SaveShellIcon(const std::string& file, const std::string& pngFile) override;
};

}  // namespace kivo::win
