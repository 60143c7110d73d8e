#include "support/memory_file_system.h"

#include "core/text.h"

namespace kivo::testing {

std::string MemoryFileSystem::Key(const std::string& path) {
  std::string key = AsciiUpper(path);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

bool MemoryFileSystem::Writable(const std::string& path) const {
  return readOnlyPrefix.empty() || Key(path).rfind(Key(readOnlyPrefix), 0) != 0;
}

bool MemoryFileSystem::Faulted() const {
  ++operations;
  return failOperation != 0 && operations == failOperation;
}

bool MemoryFileSystem::FileExists(const std::string& path) const {
  return files_.count(Key(path)) != 0;
}

bool MemoryFileSystem::FolderExists(const std::string& path) const {
  return folders_.count(Key(path)) != 0;
}

std::optional<std::uint64_t> MemoryFileSystem::FileSize(const std::string& path) const {
  const auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.second.size();
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path,
                                                      std::size_t maxBytes) const {
  if (Faulted()) return std::nullopt;
  const auto it = files_.find(Key(path));
  if (it == files_.end() || it->second.second.size() > maxBytes) return std::nullopt;
  return it->second.second;
}

bool MemoryFileSystem::WriteFileFlushed(const std::string& path, const std::string& bytes) {
  if (Faulted() || !Writable(path)) return false;
  ++writeCount;
  const std::size_t written = std::min(bytes.size(), diskSpaceLeft);
  diskSpaceLeft -= written;
  files_[Key(path)] = {path, bytes.substr(0, written)};
  return written == bytes.size();
}

bool MemoryFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  if (Faulted()) return false;
  const auto it = files_.find(Key(from));
  if (failReplace || it == files_.end() || !Writable(to)) return false;
  auto entry = it->second;
  files_.erase(it);
  entry.first = to;
  files_[Key(to)] = entry;
  return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
  if (Faulted() || !Writable(path)) return false;
  return files_.erase(Key(path)) != 0;
}

bool MemoryFileSystem::CreateFolder(const std::string& path) {
  folders_.insert(Key(path));
  return true;
}

std::vector<std::string> MemoryFileSystem::ListFiles(const std::string& folder,
                                                     const std::string& suffix) const {
  std::vector<std::string> names;
  const std::string prefix = Key(folder) + "\\";
  const std::string upperSuffix = AsciiUpper(suffix);
  for (const auto& [key, entry] : files_) {
    if (key.rfind(prefix, 0) != 0) continue;
    const std::string rest = key.substr(prefix.size());
    if (rest.find('\\') != std::string::npos) continue;
    if (rest.size() >= upperSuffix.size() &&
        rest.compare(rest.size() - upperSuffix.size(), upperSuffix.size(), upperSuffix) == 0) {
      names.push_back(entry.first.substr(entry.first.size() - rest.size()));
    }
  }
  return names;
}

void MemoryFileSystem::Put(const std::string& path, std::string bytes) {
  files_[Key(path)] = {path, std::move(bytes)};
}

std::optional<std::string> MemoryFileSystem::Get(const std::string& path) const {
  const auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.second;
}

std::vector<std::string> MemoryFileSystem::AllFiles() const {
  std::vector<std::string> paths;
  for (const auto& [key, entry] : files_) paths.push_back(entry.first);
  return paths;
}

}  // namespace kivo::testing
