#include "ui/win32/dialogs/drop_actions.h"

#include "platform/win32/message_win.h"
#include "platform/win32/recycle_bin_win.h"
#include "ui/win32/dialogs/input_dialog.h"

namespace kivo {

bool WinDropHost::Show(const ShellMessage& message) {
  return win::ShowShellMessage(message);
}

std::string WinDropHost::AskText(const std::string& prompt, const std::string& title) {
  return win::InputText(owner_, prompt, title, "");
}

bool WinDropHost::Recycle(const std::string& path) {
  return win::MoveToRecycleBin(path);
}

DropOutcome CarryOutDrop(ItemContext& context, HWND owner, int slot,
                         std::vector<std::string> paths) {
  WinDropHost host(owner);
  ItemEditor editor(context);
  return DropFiles(context, editor, host, slot, std::move(paths));
}

}  // namespace kivo
