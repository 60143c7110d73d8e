// What the about box says: product, links, legal notice and credits.
#pragma once

#include <string>

namespace kivo {

inline constexpr const char* kAboutCaption = "About Kivo Launcher";
inline constexpr const char* kHomePage = "https://www.kivosoft.com/";
inline constexpr const char* kSupportMail = "support@kivosoft.com";

// "Kivo Launcher" with its version, then the legal notice.
std::string AboutProductText(const std::string& version);
// The two link labels as they read, and what each opens with the shell's "open".
std::string HomeLinkText();
std::string HomeLinkTarget();
std::string SupportLinkText();
std::string SupportLinkTarget();  // a new mail to support with the subject "Help"
// What the "打开日志" button says when the log file does not exist yet.
std::string NoLogYetText(const std::string& logFile);
// The credits box, lines separated by CR LF as an edit control wants them.
std::string SpecialThanksText();

}  // namespace kivo
