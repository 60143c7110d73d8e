#include "items/link_files.h"

#include <cstddef>
#include <vector>

#include "core/text.h"
#include "items/shell_text.h"

namespace kivo {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

std::string DecodeShortcutText(std::string_view bytes, const AnsiCodec& codec) {
  if (bytes.starts_with(kUtf8Bom)) return std::string(bytes.substr(kUtf8Bom.size()));
  if (bytes.starts_with(kUtf16Bom)) return Utf16LeToUtf8(bytes.substr(kUtf16Bom.size()));
  return codec.Decode(bytes);
}

std::uint16_t UnitAt(std::string_view block, std::size_t index) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(block[2 * index]) |
                                    static_cast<unsigned char>(block[2 * index + 1]) << 8);
}

}  // namespace

std::optional<ShellLinkData> ParseInternetShortcut(std::string_view bytes, const AnsiCodec& codec) {
  const std::string text = DecodeShortcutText(bytes, codec);
  ShellLinkData link;
  bool inSection = false;
  bool sawSection = false;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = CleanText(std::string_view(text).substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line = CleanText(line.substr(0, line.size() - 1));
    start = end + 1;
    if (line.starts_with('[')) {
      inSection = AsciiUpper(line) == "[INTERNETSHORTCUT]";
      sawSection = sawSection || inSection;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string::npos) continue;
    const std::string key = AsciiUpper(CleanText(line.substr(0, equals)));
    const std::string value = CleanText(line.substr(equals + 1));
    if (key == "URL") {
      link.target = value;
    } else if (key == "ICONFILE") {
      link.iconFile = value;
    } else if (key == "ICONINDEX") {
      link.iconIndex = ParseIndex(value);
    } else if (key == "WORKINGDIRECTORY") {
      link.workingDir = value;
    } else if (key == "SHOWCOMMAND") {
      link.showCommand = ParseIndex(value);
    }
  }
  if (!sawSection || link.target.empty()) return std::nullopt;
  return link;
}

std::optional<std::string> FindVersionString(std::string_view block, std::string_view name) {
  // Each entry of a version resource starts with its length, its value length and its
  // type (1 for text), then the key as UTF-16 with a NUL, padded to 32 bits, then the
  // value. Searching for type 1 followed by the key finds the entry in the first table.
  const std::size_t units = block.size() / 2;
  std::vector<std::uint16_t> needle{1};
  for (const char c : name) needle.push_back(static_cast<unsigned char>(c));
  needle.push_back(0);
  for (std::size_t at = 0; at + needle.size() <= units; ++at) {
    bool match = true;
    for (std::size_t i = 0; i < needle.size() && match; ++i) {
      match = UnitAt(block, at + i) == needle[i];
    }
    if (!match) continue;
    std::size_t valueByte = (at + needle.size()) * 2;
    valueByte = (valueByte + 3) & ~std::size_t{3};
    std::size_t valueEnd = valueByte / 2;
    while (valueEnd < units && UnitAt(block, valueEnd) != 0) ++valueEnd;
    if (valueByte / 2 >= valueEnd) return std::string();
    return Utf16LeToUtf8(block.substr(valueByte, (valueEnd - valueByte / 2) * 2));
  }
  return std::nullopt;
}

}  // namespace kivo
