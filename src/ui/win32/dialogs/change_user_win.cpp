#include "ui/win32/dialogs/change_user_win.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/icon_extract_win.h"
#include "platform/win32/message_win.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/input_dialog.h"

namespace kivo::win {

std::optional<std::string> ChooseOpenFile(HWND owner, const std::string& title,
                                          const std::string& filter) {
  const std::wstring pattern = Widen(filter);
  std::wstring filters = pattern;
  filters.push_back(L'\0');
  filters += pattern;
  filters.push_back(L'\0');  // the string's own terminator ends the list
  const std::wstring caption = Widen(title);
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = caption.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
  if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  return Narrow(file.data());
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
