// Saving and loading a data file together with its safety copy (name & ".bak") so that a
// crash, a full disk or a damaged file never costs the user their data.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace kivo {

std::string SafetyCopyPath(const std::string& livePath);

// Writes `bytes` as the safety copy, then as the live file. Each is written completely
// to a temporary file, flushed and size-checked before it replaces the old one in one
// step, so at every moment at least one of the two files is whole. False when any step
// failed (the files not yet replaced keep their previous content).
[[nodiscard]] bool SaveWithSafetyCopy(FileSystem& fs, const std::string& livePath,
                                      const std::string& bytes);

// Writes `bytes` to a temporary file beside `path`, checks it and moves it onto `path` in
// one step. False when any step failed; `path` then keeps its previous content.
[[nodiscard]] bool WriteFileReplacing(FileSystem& fs, const std::string& path,
                                      const std::string& bytes);

enum class LoadSource {
  Live,        // the live file was sound
  SafetyCopy,  // the live file was missing or damaged; the safety copy was used
  Missing,     // neither file exists: a first start
  Damaged,     // files exist but neither is sound; they were moved aside
};

struct LoadOutcome {
  LoadSource source = LoadSource::Missing;
  std::vector<std::string> keptAside;  // where damaged files were moved
};

// Reads the live file, else its safety copy, and hands the bytes to `accept`, which
// decodes them and answers whether they are sound. A damaged file is moved aside under a
// new name rather than overwritten; when the safety copy is used, the live file is
// rebuilt from it.
LoadOutcome LoadWithSafetyCopy(FileSystem& fs, const std::string& livePath, std::size_t maxBytes,
                               const std::function<bool(const std::string&)>& accept);

}  // namespace kivo
