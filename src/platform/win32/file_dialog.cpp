#include "platform/win32/file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

// As the dialog wants it: NUL-separated pairs, ending in two NULs.
std::wstring DialogFilter(const std::string& filter) {
  std::wstring list = Widen(filter.find('|') == std::string::npos ? filter + "|" + filter : filter);
  std::replace(list.begin(), list.end(), L'|', L'\0');
  list.push_back(L'\0');
  return list;  // the string's own terminator is the second NUL
}

}  // namespace

std::optional<std::string> ChooseFile(HWND owner, const FileDialog& dialog) {
  const std::wstring filter = DialogFilter(dialog.filter);
  const std::wstring title = Widen(dialog.title);
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring proposed = Widen(dialog.proposedName);
  std::copy_n(proposed.begin(), std::min(proposed.size(), file.size() - 1), file.begin());
  OPENFILENAMEW box{};
  box.lStructSize = sizeof(box);
  box.hwndOwner = owner;
  box.lpstrFilter = filter.c_str();
  box.nFilterIndex = 1;
  box.lpstrFile = file.data();
  box.nMaxFile = static_cast<DWORD>(file.size());
  box.lpstrTitle = title.c_str();
  box.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              OFN_DONTADDTORECENT | (dialog.save ? 0 : OFN_FILEMUSTEXIST);
  const BOOL chosen = dialog.save ? ::GetSaveFileNameW(&box) : ::GetOpenFileNameW(&box);
  if (!chosen) return std::nullopt;
  return Narrow(file.data());
}

}  // namespace kivo::win
