// Files and folders through the Unicode file API.
#pragma once

#include "core/file_system.h"

namespace kivo::win {

class WinFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  bool FolderExists(const std::string& path) const override;
  std::optional<std::uint64_t> FileSize(const std::string& path) const override;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) const override;
  bool WriteFileFlushed(const std::string& path, const std::string& bytes) override;
  bool WriteFileLazily(const std::string& path, const std::string& bytes) override;
  // Opens the file for appending only, so a line costs one small write however long the
  // file is; others may read, write or rename it meanwhile.
  bool AppendFile(const std::string& path, const std::string& bytes) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder,
                                     const std::string& suffix) const override;
};

}  // namespace kivo::win
