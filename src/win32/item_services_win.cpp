#include "win32/item_services_win.h"

#include "items/item_messages.h"
#include "win32/item_icons_win.h"
#include "win32/message_win.h"

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

void WinItemImages::Load(int item) {
  if (images_ && metrics_) LoadItemIcon(store_, *images_, *metrics_, item);
}

void WinItemImages::Release(int item) {
  if (images_) ReleaseItemImages(*images_, item);
}

void WinItemImages::Ensure(int item) {
  if (!images_ || item < 0 || item > kLastItem) return;
  if (images_->Get({ImageTable::Icon, item, 0}) ||
      images_->Get({ImageTable::Icon, item, kPopupVariant})) {
    return;
  }
  Load(item);
}

}  // namespace kivo::win
