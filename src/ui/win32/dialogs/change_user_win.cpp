#include "ui/win32/dialogs/change_user_win.h"

#include "platform/win32/file_dialog.h"
#include "platform/win32/icon_extract_win.h"
#include "platform/win32/message_win.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/input_dialog.h"

namespace kivo::win {

std::optional<std::string> ChooseOpenFile(HWND owner, const std::string& title,
                                          const std::string& filter) {
  return ChooseFile(owner, FileDialog{title, filter, "", false});
}

std::optional<std::string> WinChangeUserPort::ChoosePicture(const std::string& title,
                                                            const std::string& filter) {
  return ChooseOpenFile(owner_, title, filter);
}

bool WinChangeUserPort::SaveUserPicture(const std::string& picture, const std::string& iconFile) {
  return win::SaveUserPicture(picture, iconFile);
}

void WinChangeUserPort::ReloadUserImages() {
  if (actions_.reloadUserImages) actions_.reloadUserImages();
}

void WinChangeUserPort::Redraw() {
  if (actions_.redraw) actions_.redraw();
}

bool WinChangeUserPort::SaveSettings() {
  return actions_.saveSettings ? actions_.saveSettings() : false;
}

bool WinChangeUserPort::SaveStore() {
  return actions_.saveStore ? actions_.saveStore() : false;
}

std::string WinChangeUserPort::AskText(const std::string& prompt, const std::string& title,
                                       const std::string& defaultText) {
  return InputText(owner_, prompt, title, defaultText);
}

void WinChangeUserPort::Tell(const ShellMessage& message) {
  ShowShellMessage(message);
}

}  // namespace kivo::win
