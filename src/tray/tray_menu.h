// What the tray icon shows and offers: its tip, the tray menu's entries and the web
// pages the menu opens. Free of any window, so that the texts and their limits are
// checked natively.
#pragma once

#include <array>
#include <string>

namespace kivo {

// The product's own version as its users know it; the tip names it.
inline constexpr int kProductVersionMajor = 2;
inline constexpr int kProductVersionMinor = 0;

// The tray callback message of the icon.
inline constexpr unsigned kTrayCallbackMessage = 2025;

// The tip holds at most this many characters (its field keeps one more for the NUL).
inline constexpr std::size_t kTrayTipLength = 63;

// The online help (frequently asked questions) on the product's site.
inline constexpr const char* kHelpPage = "https://www.kivosoft.com/faq/";

// "Kivo Launcher <major>.<minor>", CR LF, the home page; cut to the tip's length at a
// whole character (the text is UTF-8).
std::string TrayTip(int major, int minor, const std::string& homePage);

// The tray menu's commands; 0 is "nothing chosen" (the menu was dismissed).
enum class TrayCommand : int {
  None = 0,
  ChangeUser = 1,
  Settings,
  About,
  HomePage,
  Help,
  Exit,
};

struct TrayMenuEntry {
  TrayCommand command;  // None: a separator
  const char* caption;  // UTF-8; empty for a separator
};

// The entries in display order.
inline constexpr std::array<TrayMenuEntry, 8> kTrayMenu{{
    {TrayCommand::ChangeUser, "更改头像和用户名"},
    {TrayCommand::Settings, "设置"},
    {TrayCommand::About, "关于 Kivo Launcher"},
    {TrayCommand::None, ""},
    {TrayCommand::HomePage, "官方网站"},
    {TrayCommand::Help, "在线帮助"},
    {TrayCommand::None, ""},
    {TrayCommand::Exit, "退出"},
}};

// The command of a menu result (what TrackPopupMenu returns); None for anything unknown.
TrayCommand TrayCommandFromId(int id);

}  // namespace kivo
