#include "platform/win32/process_figures.h"

#include <windows.h>
// After windows.h, which it needs.
#include <intrin.h>
#include <psapi.h>

#include <cstring>

namespace kivo::win {
namespace {

// Windows counts a process's GDI objects in GetGuiResources; Wine answers 0 there, so the
// count is then read from the process's GDI handle table, which Wine keeps in the same
// place and layout as Windows (the PEB's GdiSharedHandleTable: 65536 entries of 24 bytes,
// type byte non-zero for a live object).
std::int64_t GdiObjects() {
  if (const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); count != 0) {
    return count;
  }
  struct Entry {
    std::uint64_t object;
    std::uint16_t processId, count, unique;
    std::uint8_t type, flags;
    std::uint64_t user;
  };
  static_assert(sizeof(Entry) == 24);
  constexpr std::size_t kTableOffset = 0xF8;  // PEB.GdiSharedHandleTable on x64
  // The PEB's address from the thread block (gs:0x60 on x64). GCC's own __readgsqword and
  // NtCurrentTeb trip its array-bounds check, so it reads the register itself.
#if defined(__GNUC__)
  const std::uint8_t* peb = nullptr;
  asm("movq %%gs:0x60, %0" : "=r"(peb));
#else
  const auto* peb = reinterpret_cast<const std::uint8_t*>(__readgsqword(0x60));
#endif
  const Entry* table = nullptr;
  std::memcpy(&table, peb + kTableOffset, sizeof(table));
  if (table == nullptr) return -1;
  const auto self = static_cast<std::uint16_t>(::GetCurrentProcessId());
  std::int64_t live = 0;
  for (std::size_t i = 0; i < 0x10000; ++i) {
    // Wine leaves the owner 0 (its table is per process); Windows names the process.
    live += table[i].type != 0 && (table[i].processId == 0 || table[i].processId == self);
  }
  return live;
}

// Committed private memory, region by region: what Windows reports as private bytes, for
// systems that leave PrivateUsage 0 (Wine).
std::int64_t CommittedPrivateBytes() {
  std::int64_t total = 0;
  MEMORY_BASIC_INFORMATION region{};
  const char* address = nullptr;
  while (::VirtualQuery(address, &region, sizeof(region)) == sizeof(region)) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
      total += static_cast<std::int64_t>(region.RegionSize);
    }
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= address) break;
    address = next;
  }
  return total;
}

BOOL CALLBACK CountChild(HWND /*window*/, LPARAM count) {
  ++*reinterpret_cast<std::int64_t*>(count);
  return TRUE;
}

BOOL CALLBACK CountOwn(HWND window, LPARAM count) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != ::GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<std::int64_t*>(count);
  ::EnumChildWindows(window, CountChild, count);
  return TRUE;
}

std::int64_t Windows() {
  std::int64_t count = 0;
  ::EnumWindows(CountOwn, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace

std::int64_t ReadProcessFigure(ProcessFigure figure) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  const auto readMemory = [&memory] {
    return ::GetProcessMemoryInfo(::GetCurrentProcess(),
                                  reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                  sizeof(memory)) != FALSE;
  };
  switch (figure) {
    case ProcessFigure::GdiObjects:
      return GdiObjects();
    case ProcessFigure::UserObjects:
      return ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    case ProcessFigure::Windows:
      return Windows();
    case ProcessFigure::PrivateBytes:
      if (!readMemory()) return -1;
      return memory.PrivateUsage != 0 ? static_cast<std::int64_t>(memory.PrivateUsage)
                                      : CommittedPrivateBytes();
    case ProcessFigure::WorkingSet:
      return readMemory() ? static_cast<std::int64_t>(memory.WorkingSetSize) : -1;
    case ProcessFigure::PeakWorkingSet:
      return readMemory() ? static_cast<std::int64_t>(memory.PeakWorkingSetSize) : -1;
  }
  return -1;
}

}  // namespace kivo::win
