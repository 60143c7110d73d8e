// How many GDI objects this process holds, for checking that the count stays flat under
// load. Windows answers GetGuiResources; Wine answers 0 there, so the count is then read
// from the process's GDI handle table, which Wine keeps in the same place and layout as
// Windows (the PEB's GdiSharedHandleTable: 65536 entries of 24 bytes, type byte non-zero
// for a live object). Only differences between two counts mean anything: the first DC a
// process makes also creates a few stock objects.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kivo::test {

inline long GdiObjectCount() {
  if (const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); count != 0) {
    return static_cast<long>(count);
  }
  struct Entry {
    std::uint64_t object;
    std::uint16_t processId, count, unique;
    std::uint8_t type, flags;
    std::uint64_t user;
  };
  static_assert(sizeof(Entry) == 24);
  constexpr std::size_t kTableOffset = 0xF8;  // PEB.GdiSharedHandleTable on x64
  // The PEB's address from the thread block (gs:0x60 on x64); the compiler's own
  // NtCurrentTeb trips its array-bounds check.
  const std::uint8_t* peb = nullptr;
  asm("movq %%gs:0x60, %0" : "=r"(peb));
  const auto* table = *reinterpret_cast<const Entry* const*>(peb + kTableOffset);
  if (table == nullptr) return -1;
  const auto self = static_cast<std::uint16_t>(::GetCurrentProcessId());
  long live = 0;
  for (std::size_t i = 0; i < 0x10000; ++i) {
    // Wine leaves the owner 0 (its table is per process); Windows names the process.
    live += table[i].type != 0 && (table[i].processId == 0 || table[i].processId == self);
  }
  return live;
}

}  // namespace kivo::test
