// FrmAbout: the about box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace kivo::win {

struct AboutInfo {
  std::string version;  // "1.2.3 (Build 45)"
  std::string osName;   // the running Windows as the start-up check named it
  // Opens a link's target with the shell's "open" (ShellOpen when empty).
  std::function<void(const std::string&)> open;
  // The log file "打开日志" opens; the button is disabled when there is none.
  std::string logFile;
  // Shows a message box owned by the about box (a plain MessageBox when empty).
  std::function<void(HWND owner, const std::string& text)> tell;
};

// Opens `target` with the shell's "open" verb.
void ShellOpen(const std::string& target);

// Shows the about box modally and returns when "&OK" or the close box ends it. While one
// is open, a second call brings it to the front instead of opening another.
void ShowAbout(HWND owner, const AboutInfo& info);

}  // namespace kivo::win
