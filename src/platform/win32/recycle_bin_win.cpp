#include "platform/win32/recycle_bin_win.h"

#include <windows.h>

#include <shellapi.h>

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

}  // namespace kivo::win
