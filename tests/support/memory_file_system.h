// An in-memory file system with Windows path rules (case-insensitive names, "\" folders)
// and switches for the failures a real disk can produce.
#pragma once

#include <map>
#include <set>
#include <string>

#include "core/file_system.h"
#include "core/text.h"

namespace kivo::testing {

class MemoryFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override { return files_.contains(Key(path)); }
  bool FolderExists(const std::string& path) const override { return folders_.contains(Key(path)); }
  std::optional<std::uint64_t> FileSize(const std::string& path) const override {
    const auto bytes = Get(path);
    return bytes ? std::optional<std::uint64_t>(bytes->size()) : std::nullopt;
  }
  std::optional<std::string> ReadFile(const std::string& path,
                                      std::size_t maxBytes) const override {
    auto bytes = Faulted() ? std::nullopt : Get(path);
    return bytes && bytes->size() <= maxBytes ? bytes : std::nullopt;
  }
  bool WriteFileFlushed(const std::string& path, const std::string& bytes) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override {
    return !Faulted() && Writable(path) && files_.erase(Key(path)) != 0;
  }
  bool CreateFolder(const std::string& path) override { return folders_.insert(Key(path)), true; }
  std::vector<std::string> ListFiles(const std::string& folder,
                                     const std::string& suffix) const override;

  // Direct access for arranging and checking a test.
  void Put(const std::string& path, std::string bytes) {
    files_[Key(path)] = {path, std::move(bytes)};
  }
  std::optional<std::string> Get(const std::string& path) const {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? std::nullopt : std::optional(it->second.second);
  }
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
  static std::string Key(const std::string& path) {
    std::string key = AsciiUpper(path);
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
  }
  bool Writable(const std::string& path) const {
    return readOnlyPrefix.empty() || !Key(path).starts_with(Key(readOnlyPrefix));
  }
  bool Faulted() const { return ++operations == failOperation; }
  std::map<std::string, std::pair<std::string, std::string>> files_;  // key -> (path, bytes)
  std::set<std::string> folders_;
};

}  // namespace kivo::testing
