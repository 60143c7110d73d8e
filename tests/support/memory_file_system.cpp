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
  return files_.contains(Key(path));
}

bool MemoryFileSystem::FolderExists(const std::string& path) const {
  return folders_.contains(Key(path));
}

std::optional<std::uint64_t> MemoryFileSystem::FileSize(const std::string& path) const {
  const auto bytes = Get(path);
  return bytes ? std::optional<std::uint64_t>(bytes->size()) : std::nullopt;
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path,
                                                      std::size_t maxBytes) const {
  if (Faulted()) return std::nullopt;
  auto bytes = Get(path);
  return bytes && bytes->size() <= maxBytes ? bytes : std::nullopt;
}

bool MemoryFileSystem::WriteFileFlushed(const std::string& path, const std::string& bytes) {
  if (Faulted() || !Writable(path)) return false;
  ++writeCount;
  const std::size_t written = std::min(bytes.size(), diskSpaceLeft);
  diskSpaceLeft -= written;
  Put(path, bytes.substr(0, written));
  return written == bytes.size();
}

bool MemoryFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  if (Faulted()) return false;
  const auto it = files_.find(Key(from));
  if (failReplace || it == files_.end() || !Writable(to)) return false;
  std::string bytes = std::move(it->second.second);
  files_.erase(it);
  Put(to, std::move(bytes));
  return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
  return !Faulted() && Writable(path) && files_.erase(Key(path)) != 0;
}

bool MemoryFileSystem::CreateFolder(const std::string& path) {
  folders_.insert(Key(path));
  return true;
}

std::vector<std::string> MemoryFileSystem::ListFiles(const std::string& folder,
                                                     const std::string& suffix) const {
  std::vector<std::string> names;
  const std::string prefix = Key(folder) + "\\";
  for (const auto& [key, entry] : files_) {
    const std::string rest = key.substr(std::min(prefix.size(), key.size()));
    if (key.starts_with(prefix) && rest.find('\\') == std::string::npos &&
        rest.ends_with(AsciiUpper(suffix))) {
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
  return it == files_.end() ? std::nullopt : std::optional(it->second.second);
}

std::vector<std::string> MemoryFileSystem::AllFiles() const {
  std::vector<std::string> paths;
  for (const auto& [key, entry] : files_) paths.push_back(entry.first);
  return paths;
}

}  // namespace kivo::testing
