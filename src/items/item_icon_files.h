// Which icon files belong to an item and may go with it.
#pragma once

#include <string>
#include <vector>

#include "core/store.h"

namespace kivo {

// The icon files to delete with an item: its generated icon file and its custom icon file,
// but only files inside the user icon folder, which holds nothing but the program's own
// copies. A built-in entry's file in the system icon folder, or any other file a damaged
// or edited store may name, is never touched.
std::vector<std::string> IconFilesToDelete(const ShortcutItem& item,
                                           const std::string& userIconFolder);

}  // namespace kivo
