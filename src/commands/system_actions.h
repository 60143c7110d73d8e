// What launching items and running the built-in commands ask of the system. Texts are
// UTF-8; the Windows adapter widens them at the call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/shell_utilities.h"

namespace kivo {

// One ShellExecute call. A missing text is passed as a null pointer: for the working
// directory the shell treats that differently from an empty string.
struct ShellRequest {
  std::string verb;
  std::string file;
  std::optional<std::string> parameters;
  std::optional<std::string> directory;
  int show = 1;  // SW_SHOWNORMAL

  friend bool operator==(const ShellRequest&, const ShellRequest&) = default;
};

class SystemActions {
 public:
  virtual ~SystemActions() = default;

  // ShellExecute without an owner window; its result (above 32 when the shell took it).
  virtual int Execute(const ShellRequest& request) = 0;
  // Opens `path` with its type's default verb (ShellExecuteEx without a verb); true when
  // the shell took it.
  virtual bool OpenWithDefaultVerb(const std::string& path) = 0;
  // True when a file or folder is at `path` (no expansion of variables).
  virtual bool PathExists(const std::string& path) const = 0;
  // Shows a message box and waits; true for Yes.
  virtual bool ShowMessage(const ShellMessage& message) = 0;

  // Ends the session with ExitWindowsEx flags and reason.
  virtual void EndSession(std::uint32_t flags, std::uint32_t reason) = 0;
  // Puts the computer to sleep (not hibernation).
  virtual void SleepComputer() = 0;
  virtual void LockWorkstation() = 0;
  // Turns the monitors off about a second from now, without holding up the caller.
  virtual void MonitorOffSoon() = 0;
  // The shell's Run dialog.
  virtual void ShowRunDialog() = 0;

  // Hides or shows the icons on the desktop; false when the desktop has no icon view.
  virtual bool ShowDesktopIcons(bool hide) = 0;
  // Shows the desktop, or brings the windows back when it was shown.
  virtual void ToggleShowDesktop() = 0;
  // The recycle bin: confirm and empty; report and offer to empty.
  virtual void EmptyRecycleBin() = 0;
  virtual void CheckRecycleBin() = 0;
};

}  // namespace kivo
