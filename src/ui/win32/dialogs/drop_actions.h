// Carrying out a drop on the dock with the real system: message boxes, the input box and
// the recycle bin.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "items/drop_files.h"

namespace kivo {

class WinDropHost final : public DropHost {
 public:
  explicit WinDropHost(HWND owner) : owner_(owner) {}
  bool Show(const ShellMessage& message) override;
  std::string AskText(const std::string& prompt, const std::string& title) override;
  bool Recycle(const std::string& path) override;

 private:
  HWND owner_;
};

// Drops `paths` on ring slot `slot` through the item editor of `context`.
DropOutcome CarryOutDrop(ItemContext& context, HWND owner, int slot,
                         std::vector<std::string> paths);

}  // namespace kivo
