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
  using Path = const std::string&;

 public:
  bool FileExists(Path path) const override { return files_.contains(Key(path)); }
  bool FolderExists(Path path) const override { return folders_.contains(Key(path)); }
  std::optional<std::uint64_t> FileSize(Path path) const override {
    const auto bytes = Get(path);
    return bytes ? std::optional<std::uint64_t>(bytes->size()) : std::nullopt;
  }
  std::optional<std::string> ReadFile(Path path, std::size_t maxBytes) const override {
    auto bytes = Faulted() ? std::nullopt : Get(path);
    return bytes && bytes->size() <= maxBytes ? bytes : std::nullopt;
  }
  bool WriteFileFlushed(Path path, const std::string& bytes) override;
  bool MoveReplacing(Path from, Path to) override;
  bool RemoveFile(Path path) override {
    return !Faulted() && Writable(path) && files_.erase(Key(path)) != 0;
  }
  bool CreateFolder(Path path) override { return folders_.insert(Key(path)), true; }
  std::vector<std::string> ListFiles(Path folder, const std::string& suffix) const override;

  // Direct access for arranging and checking a test.
  void Put(Path path, std::string bytes) { files_[Key(path)] = {path, std::move(bytes)}; }
  std::optional<std::string> Get(Path path) const {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? std::nullopt : std::optional(it->second.second);
  }
  std::vector<std::string> AllFiles() const;

  // Failures: writes stop after this many bytes (a full disk); a path prefix refuses writes
  // and replaces; replaces fail; the `failOperation`-th read, write, replace or remove
  // (counted in `operations` from 1; 0 fails none) fails without touching anything.
  std::size_t diskSpaceLeft = SIZE_MAX;
  std::string readOnlyPrefix;
  bool failReplace = false;
  int writeCount = 0;
  int failOperation = 0;
  mutable int operations = 0;

 private:
  static std::string Key(Path path) {
    std::string key = AsciiUpper(path);
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
  }
  bool Writable(Path path) const {
    return readOnlyPrefix.empty() || !Key(path).starts_with(Key(readOnlyPrefix));
  }
  bool Faulted() const { return ++operations == failOperation; }
  std::map<std::string, std::pair<std::string, std::string>> files_;  // key -> (path, bytes)
  std::set<std::string> folders_;
};

}  // namespace kivo::testing
