#include "core/safe_file.h"

#include <optional>

namespace kivo {
namespace {

bool WriteWhole(FileSystem& fs, const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".tmp";
  if (!fs.WriteFileFlushed(temp, bytes) || fs.FileSize(temp) != bytes.size()) {
    fs.RemoveFile(temp);
    return false;
  }
  if (!fs.MoveReplacing(temp, path)) {
    fs.RemoveFile(temp);
    return false;
  }
  return true;
}

// Moves a damaged file to "<name>.damaged", "<name>.damaged2", ... so it is kept for the
// user (or for us) while the program goes on with sound data.
std::optional<std::string> MoveAside(FileSystem& fs, const std::string& path) {
  for (int n = 1; n < 100; ++n) {
    std::string aside = path + ".damaged";
    if (n > 1) aside += std::to_string(n);
    if (fs.FileExists(aside)) continue;
    if (fs.MoveReplacing(path, aside)) return aside;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

bool WriteFileReplacing(FileSystem& fs, const std::string& path, const std::string& bytes) {
  return WriteWhole(fs, path, bytes);
}

std::string SafetyCopyPath(const std::string& livePath) {
  return livePath + ".bak";
}

bool SaveWithSafetyCopy(FileSystem& fs, const std::string& livePath, const std::string& bytes) {
  const bool copyWritten = WriteWhole(fs, SafetyCopyPath(livePath), bytes);
  // The live file is replaced atomically, so writing it is safe even when the safety copy
  // failed; the save as a whole still reports the failure.
  const bool liveWritten = WriteWhole(fs, livePath, bytes);
  return copyWritten && liveWritten;
}

LoadOutcome LoadWithSafetyCopy(FileSystem& fs, const std::string& livePath, std::size_t maxBytes,
                               const std::function<bool(const std::string&)>& accept) {
  LoadOutcome outcome;
  const std::string copyPath = SafetyCopyPath(livePath);

  const bool liveExists = fs.FileExists(livePath);
  if (liveExists) {
    if (const auto bytes = fs.ReadFile(livePath, maxBytes); bytes && accept(*bytes)) {
      outcome.source = LoadSource::Live;
      return outcome;
    }
  }

  const bool copyExists = fs.FileExists(copyPath);
  if (copyExists) {
    if (const auto bytes = fs.ReadFile(copyPath, maxBytes); bytes && accept(*bytes)) {
      outcome.source = LoadSource::SafetyCopy;
      if (liveExists) {
        if (auto aside = MoveAside(fs, livePath)) outcome.keptAside.push_back(*aside);
      }
      // Rebuild the live file from the safety copy; a failure here only means the next
      // save writes it.
      (void)WriteWhole(fs, livePath, *bytes);
      return outcome;
    }
  }

  if (!liveExists && !copyExists) {
    outcome.source = LoadSource::Missing;
    return outcome;
  }
  outcome.source = LoadSource::Damaged;
  for (const std::string* path : {&livePath, &copyPath}) {
    if (fs.FileExists(*path)) {
      if (auto aside = MoveAside(fs, *path)) outcome.keptAside.push_back(*aside);
    }
  }
  return outcome;
}

}  // namespace kivo
