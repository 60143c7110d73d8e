// The core's view of files and folders. Paths are UTF-8 Windows paths ("C:\...\").
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kivo {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool FileExists(const std::string& path) const = 0;
  virtual bool FolderExists(const std::string& path) const = 0;
  // Size in bytes, or nothing when the file cannot be examined.
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) const = 0;
  // The whole file, or nothing when it is missing, unreadable or larger than `maxBytes`.
  virtual std::optional<std::string> ReadFile(const std::string& path,
                                              std::size_t maxBytes) const = 0;
  // Creates or truncates the file, writes every byte and flushes it to the disk.
  [[nodiscard]] virtual bool WriteFileFlushed(const std::string& path,
                                              const std::string& bytes) = 0;
  // As WriteFileFlushed, leaving the flush to the system: for many files that can be made
  // again (a restore's icons), where one flush each would cost seconds.
  [[nodiscard]] virtual bool WriteFileLazily(const std::string& path, const std::string& bytes) {
    return WriteFileFlushed(path, bytes);
  }
  // Adds `bytes` at the end of the file, creating it when missing; not flushed. This
  // fallback rewrites the whole file, so a real disk's file system appends in place.
  [[nodiscard]] virtual bool AppendFile(const std::string& path, const std::string& bytes) {
    std::string whole;
    if (FileExists(path)) {
      auto existing = ReadFile(path, static_cast<std::size_t>(-1));
      if (!existing) return false;
      whole = std::move(*existing);
    }
    whole += bytes;
    return WriteFileLazily(path, whole);
  }
  // Moves `from` onto `to` in one step, replacing `to` when it exists.
  [[nodiscard]] virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // Names (not paths) of the files in `folder` whose names end with `suffix`
  // (compared without regard to case).
  virtual std::vector<std::string> ListFiles(const std::string& folder,
                                             const std::string& suffix) const = 0;
};

}  // namespace kivo
