// The system's side of launching items and of the built-in commands, with the shell,
// user32 and the power functions.
#pragma once

#include <windows.h>

#include <vector>

#include "commands/system_actions.h"
#include "platform/win32/message_win.h"

namespace kivo::win {

class WinSystemActions : public SystemActions {
 public:
  // `monitorWindow` is the program's window that asks the system to turn the monitors
  // off (without one, the monitor command does nothing). `ask` shows the message boxes.
  explicit WinSystemActions(HWND monitorWindow = nullptr, AskUser ask = ShowShellMessage);

  void SetMonitorWindow(HWND window) { monitorWindow_ = window; }

  int Execute(const ShellRequest& request) override;
  bool OpenWithDefaultVerb(const std::string& path) override;
  bool PathExists(const std::string& path) const override;
  bool ShowMessage(const ShellMessage& message) override;
  void EndSession(std::uint32_t flags, std::uint32_t reason) override;
  void SleepComputer() override;
  void LockWorkstation() override;
  void MonitorOffSoon() override;
  void ShowRunDialog() override;
  bool ShowDesktopIcons(bool hide) override;
  void ToggleShowDesktop() override;
  void EmptyRecycleBin() override;
  void CheckRecycleBin() override;

  // The fallback of ToggleShowDesktop on its own: minimises the other programs' windows,
  // or brings back the ones it minimised. The windows it has minimised now.
  void ToggleWindowsOurselves();
  const std::vector<HWND>& MinimisedWindows() const { return minimised_; }

 private:
  HWND monitorWindow_;
  AskUser ask_;
  std::vector<HWND> minimised_;
};

}  // namespace kivo::win
