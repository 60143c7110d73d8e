#include "items/item_icon_files.h"

#include "core/text.h"

namespace kivo {
namespace {

// True for a file directly inside `folder` (compared as Windows does, without case);
// "..", a sub folder or another drive do not count.
bool DirectlyInside(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.size() <= folder.size()) return false;
  if (AsciiUpper(path.substr(0, folder.size())) != AsciiUpper(folder)) return false;
  const std::string name = path.substr(folder.size());
  return name.find('\\') == std::string::npos && name.find('/') == std::string::npos &&
         name != "." && name != "..";
}

}  // namespace

std::vector<std::string> IconFilesToDelete(const ShortcutItem& item,
                                           const std::string& userIconFolder) {
  std::vector<std::string> files;
  for (const std::string& file :
       {CleanText(item.IconFile.str()), CleanText(item.CustomIconFile.str())}) {
    if (DirectlyInside(file, userIconFolder) && (files.empty() || files.front() != file)) {
      files.push_back(file);
    }
  }
  return files;
}

}  // namespace kivo
