#include "platform/win32/shutdown_win.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace kivo::win {

bool EnableShutdownPrivilege() {
  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                          &rawToken)) {
    return false;
  }
  const UniqueKernelHandle token(rawToken);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    return false;
  }
  // The call also succeeds when the token lacks the privilege; only the last error
  // tells whether it was really enabled.
  ::SetLastError(ERROR_SUCCESS);
  if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) {
    return false;
  }
  return ::GetLastError() == ERROR_SUCCESS;
}

bool RequestLastShutdownTurn() {
  return ::SetProcessShutdownParameters(0, SHUTDOWN_NORETRY) != FALSE;
}

}  // namespace kivo::win
