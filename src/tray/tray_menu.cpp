#include "tray/tray_menu.h"

#include "core/text.h"

namespace kivo {

std::string TrayTip(int major, int minor, const std::string& homePage) {
  std::string tip =
      "Kivo Launcher " + std::to_string(major) + "." + std::to_string(minor) + "\r\n" + homePage;
  // The field counts UTF-16 units: a character beyond the basic plane (four UTF-8 bytes)
  // takes two of them.
  std::size_t units = 0;
  std::size_t end = 0;
  while (end < tip.size()) {
    const std::size_t length = Utf8SequenceLength(tip, end);
    const std::size_t width = length == 4 ? 2 : 1;
    if (units + width > kTrayTipLength) break;
    units += width;
    end += length;
  }
  tip.resize(end);
  return tip;
}

TrayCommand TrayCommandFromId(int id) {
  for (const TrayMenuEntry& entry : kTrayMenu) {
    if (entry.command != TrayCommand::None && static_cast<int>(entry.command) == id) {
      return entry.command;
    }
  }
  return TrayCommand::None;
}

}  // namespace kivo
