#include "core/shell_utilities.h"

#include <algorithm>

#include "core/text.h"

namespace kivo {
namespace {

constexpr std::int64_t kKilobyte = 1024;
constexpr std::int64_t kMegabyte = 1024 * 1024;
constexpr std::int64_t kTwoGigabytes = std::int64_t{1} << 31;
constexpr const char* kLineBreak = "\r\n";
constexpr const char* kEmptyOffer = "Do you want to empty Recycle Bin?";

std::string GroupThousands(const std::string& digits) {
  std::string result;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) result += ',';
    result += digits[i];
  }
  return result;
}

// `bytes` ÷ `unit` with up to two decimals, rounded half away from zero, trailing zeros of
// the fraction dropped but the point always kept ("12." for exactly 12). Whole-number
// arithmetic, so a value on a rounding edge is never nudged by binary fractions.
std::string FormatUnits(std::int64_t bytes, std::int64_t unit, bool groupThousands) {
  const std::int64_t hundredths = (bytes * 100 + unit / 2) / unit;
  std::string whole = std::to_string(hundredths / 100);
  if (groupThousands) whole = GroupThousands(whole);
  const std::int64_t fraction = hundredths % 100;
  std::string decimals;
  if (fraction != 0) {
    decimals = std::to_string(fraction / 10);
    if (fraction % 10 != 0) decimals += std::to_string(fraction % 10);
  }
  return whole + "." + decimals;
}

// Quotes around a start-up command are not part of the program path.
std::string_view Unquoted(std::string_view command) {
  if (command.size() >= 2 && command.front() == '"' && command.back() == '"') {
    return command.substr(1, command.size() - 2);
  }
  return command;
}

// True when the start-up command starts exactly this program, however it is quoted or
// cased (Windows paths do not depend on case).
bool StartsProgram(std::string_view command, const std::string& programPath) {
  return AsciiUpper(Unquoted(command)) == AsciiUpper(programPath);
}

std::string ReadAutoRunValue(Registry& registry, const AnsiCodec& codec) {
  return RegistryValueText(ReadRegistryValue(registry, codec, kRunKeyPath, kAutoRunValueName));
}

}  // namespace

bool RecycleBinHasItems(const RecycleBinState& bin) {
  return bin.byteSize > 0 || bin.itemCount > 0;
}

ShellMessage CheckRecycleBinMessage(const RecycleBinState& bin) {
  const std::int64_t size = std::max<std::int64_t>(bin.byteSize, 0);
  const std::string count = std::to_string(std::max<std::int64_t>(bin.itemCount, 0));
  ShellMessage message;
  message.title = "Recycle Bin";
  if (!RecycleBinHasItems(bin)) {
    message.text = "Your Recycle Bin consumes 0 Byte (" + count + " Item) right now.";
    return message;
  }

  std::string report;
  if (size >= kTwoGigabytes) {
    report = "Your Recycle Bin consumes over 2GB right now!";
  } else if (size >= kMegabyte) {
    report = "Your Recycle Bin consumes " + FormatUnits(size, kMegabyte, true) + "MB (" + count +
             " Items) right now.";
  } else if (size >= kKilobyte) {
    report = "Your Recycle Bin consumes " + FormatUnits(size, kKilobyte, false) + "KB (" + count +
             " Items) right now.";
  } else if (size > 0) {
    report = "Your Recycle Bin consumes " + std::to_string(size) + " Bytes (" + count +
             " Items) right now.";
  } else {
    report = "Your Recycle Bin consumes 0 Byte (" + count + " Items) right now.";
  }
  message.text = report + kLineBreak + kEmptyOffer;
  message.buttons = MessageButtons::YesNo;
  message.icon = MessageIcon::Question;
  message.offersEmpty = true;
  return message;
}

std::optional<ShellMessage> EmptyRecycleBinQuestion(const RecycleBinState& bin) {
  if (!RecycleBinHasItems(bin)) return std::nullopt;
  ShellMessage message;
  message.text = "Are you sure you want to empty the Recycle Bin?";
  message.title = "Empty Recycle Bin";
  message.buttons = MessageButtons::YesNo;
  message.icon = MessageIcon::Question;
  message.defaultNo = true;
  message.offersEmpty = true;
  return message;
}

std::string AutoRunCommand(const std::string& programPath) {
  return '"' + programPath + '"';
}

bool AutoRunHolds(Registry& registry, const AnsiCodec& codec, const std::string& programPath) {
  return StartsProgram(ReadAutoRunValue(registry, codec), programPath);
}

int SetAutoRun(Registry& registry, const AnsiCodec& codec, const std::string& programPath,
               bool enable) {
  if (programPath.empty()) return 0;
  const std::string command = AutoRunCommand(programPath);
  const std::string current = ReadAutoRunValue(registry, codec);
  if (enable) {
    if (current == command) return 1;
    WriteRegistryValue(registry, codec, kRunKeyPath, kAutoRunValueName, command, kRegSz);
  } else {
    // Another program's entry (or none at all) is not ours to remove.
    if (!StartsProgram(current, programPath)) return 0;
    DeleteRegistryValue(registry, kRunKeyPath, kAutoRunValueName);
  }
  return AutoRunHolds(registry, codec, programPath) ? 1 : 0;
}

std::string DesktopIconsCommandTitle(bool iconsHidden) {
  return iconsHidden ? "总是显示桌面图标" : "总是隐藏桌面图标";
}

void UpdateDesktopIconsCommand(ShortcutStore& store, bool iconsHidden) {
  ShortcutItem& item = store.Items[kDesktopIconsCommandItem];
  if (item.ItemType != kItemBuiltInCommand) return;
  item.Title = DesktopIconsCommandTitle(iconsHidden);
}

}  // namespace kivo
