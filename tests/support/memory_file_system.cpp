#include "support/memory_file_system.h"

namespace kivo::testing {

bool MemoryFileSystem::WriteFileFlushed(Path path, const std::string& bytes) {
  if (Faulted() || !Writable(path)) return false;
  ++writeCount;
  const std::size_t written = std::min(bytes.size(), diskSpaceLeft);
  diskSpaceLeft -= written;
  Put(path, bytes.substr(0, written));
  return written == bytes.size();
}

bool MemoryFileSystem::MoveReplacing(Path from, Path to) {
  const auto it = Faulted() ? files_.end() : files_.find(Key(from));
  if (failReplace || it == files_.end() || !Writable(to)) return false;
  std::string bytes = std::move(it->second.second);
  files_.erase(it);
  Put(to, std::move(bytes));
  return true;
}

std::vector<std::string> MemoryFileSystem::ListFiles(Path folder, const std::string& suffix) const {
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

std::vector<std::string> MemoryFileSystem::AllFiles() const {
  std::vector<std::string> paths;
  for (const auto& [key, entry] : files_) paths.push_back(entry.first);
  return paths;
}

}  // namespace kivo::testing
