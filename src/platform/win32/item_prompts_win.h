// Item editing's questions and notices as message boxes.
#pragma once

#include "items/item_context.h"

namespace kivo::win {

class WinItemPrompts final : public ItemPrompts {
 public:
  bool ConfirmReplaceShortcut() override;
  bool ConfirmDeleteGroup(bool allProgramsGroup) override;
  void TellStoreFull() override;
  void TellPathNotStorable(const std::string& path) override;
};

}  // namespace kivo::win
