#include "platform/win32/item_prompts_win.h"

#include "items/item_messages.h"
#include "platform/win32/message_win.h"

namespace kivo::win {

bool WinItemPrompts::ConfirmReplaceShortcut() {
  return ShowShellMessage(ReplaceShortcutMessage());
}

bool WinItemPrompts::ConfirmDeleteGroup(bool allProgramsGroup) {
  return ShowShellMessage(DeleteGroupMessage(allProgramsGroup));
}

void WinItemPrompts::TellStoreFull() {
  ShowShellMessage(StoreFullMessage());
}

void WinItemPrompts::TellPathNotStorable(const std::string& path) {
  ShowShellMessage(PathNotStorableMessage(path));
}

}  // namespace kivo::win
