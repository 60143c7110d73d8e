#include "dialogs/about_texts.h"

namespace kivo {

std::string AboutProductText(const std::string& version) {
  return "Kivo Launcher " + version +
         "\r\nCopyright © 2024 KivoSoft. 保留所有权利。"
         "\r\n本软件受著作权法保护，未经许可不得复制、修改或转售。";
}

std::string HomeLinkText() {
  return std::string("官方网站：") + kHomePage;
}
std::string HomeLinkTarget() {
  return kHomePage;
}
std::string SupportLinkText() {
  return std::string("技术支持：") + kSupportMail;
}
std::string SupportLinkTarget() {
  return std::string("mailto:") + kSupportMail + "?subject=Help";
}

std::string NoLogYetText(const std::string& logFile) {
  return "还没有日志文件：Kivo Launcher 尚未记录任何问题。\r\n\r\n出现问题时，日志将写在：\r\n" +
         logFile;
}

std::string SpecialThanksText() {
  return "Special thanks to:\r\n"
         "  everyone who tried the early builds and told us what was missing;\r\n"
         "  the KivoSoft testers, who ran the ring on every screen they had;\r\n"
         "  the makers of the free tools our pictures are drawn with:\r\n"
         "  Fluent UI System Icons, the Inter typeface, the WenQuanYi fonts,\r\n"
         "  librsvg and ImageMagick.";
}

}  // namespace kivo
