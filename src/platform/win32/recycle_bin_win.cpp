#include "platform/win32/recycle_bin_win.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

// Exported by shell32 since Windows 2000 but missing from the MinGW headers.
void UpdateRecycleBinIcon() {
  using Function = HRESULT(WINAPI*)();
  const HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
  const FARPROC address = shell ? ::GetProcAddress(shell, "SHUpdateRecycleBinIcon") : nullptr;
  if (address != nullptr) reinterpret_cast<Function>(reinterpret_cast<void*>(address))();
}

}  // namespace

std::optional<RecycleBinState> QueryRecycleBin() {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  // No root path: the bins of all drives together.
  if (FAILED(::SHQueryRecycleBinW(nullptr, &info))) return std::nullopt;
  return RecycleBinState{info.i64NumItems, info.i64Size};
}

bool RecycleBinHasItems() {
  const auto bin = QueryRecycleBin();
  return bin && kivo::RecycleBinHasItems(*bin);
}

bool EmptyAllRecycleBins() {
  const HRESULT result = ::SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION);
  UpdateRecycleBinIcon();
  return SUCCEEDED(result);
}

void EmptyRecycleBin(const AskUser& ask) {
  const auto bin = QueryRecycleBin();
  if (!bin) return;
  const auto question = EmptyRecycleBinQuestion(*bin);
  if (question && ask(*question)) EmptyAllRecycleBins();
}

void CheckRecycleBin(const AskUser& ask) {
  // A bin the shell cannot count is reported as holding nothing, with nothing to offer.
  const ShellMessage message =
      CheckRecycleBinMessage(QueryRecycleBin().value_or(RecycleBinState{}));
  if (ask(message) && message.offersEmpty) EmptyAllRecycleBins();
}

bool MoveToRecycleBin(const std::string& path) {
  if (path.empty()) return false;
  // The shell reads a list of paths, each ended by a NUL, the list by a second one.
  std::wstring from = Widen(path);
  from.push_back(L'\0');
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  // Without the nuke warning a file that cannot go to the bin would be deleted silently.
  operation.fFlags =
      static_cast<FILEOP_FLAGS>(FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING);
  const int result = ::SHFileOperationW(&operation);
  const bool moved = result == 0 && !operation.fAnyOperationsAborted;
  if (moved) UpdateRecycleBinIcon();
  return moved;
}

}  // namespace kivo::win
