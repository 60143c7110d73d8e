// An in-memory file system with Windows path rules (case-insensitive names, "\" folders)
// and switches for the failures a real disk can produce.
#pragma once

#include <map>
#include <set>
#include <string>

#include "core/file_system.h"

namespace kivo::testing {

class MemoryFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  bool FolderExists(const std::string& path) const override;
  std::optional<std::uint64_t> FileSize(const std::string& path) const override;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) const override;
  bool WriteFileFlushed(const std::string& path, const std::string& bytes) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder,
                                     const std::string& suffix) const override;

  // Direct access for arranging and checking a test.
  void Put(const std::string& path, std::string bytes);
  std::optional<std::string> Get(const std::string& path) const;
  std::vector<std::string> AllFiles() const;

  // Failure switches: writes stop after this many bytes (a full disk); a path prefix
  // that refuses writes and replaces; replaces fail altogether.
  std::size_t diskSpaceLeft = SIZE_MAX;
  std::string readOnlyPrefix;
  bool failReplace = false;
  int writeCount = 0;
  // Fault injection: the `failOperation`-th operation that reads, writes, replaces or
  // removes a file (counted in `operations`, from 1) fails without touching anything.
  // 0 fails none.
  int failOperation = 0;
  mutable int operations = 0;

 private:
  static std::string Key(const std::string& path);
  bool Writable(const std::string& path) const;
  bool Faulted() const;
  std::map<std::string, std::pair<std::string, std::string>> files_;  // key -> (path, bytes)
  std::set<std::string> folders_;
};

}  // namespace kivo::testing
