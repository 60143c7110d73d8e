#include "core/text.h"

#include <cmath>
#include <cstdint>

namespace kivo {

std::string CleanText(std::string_view text) {
  const auto nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool IsWebAddress(std::string_view path) {
  const std::string head = AsciiUpper(CutToChars(CleanText(path), 7));
  return head == "HTTP://" || head == "HTTPS:/";
}

std::size_t Utf8SequenceLength(std::string_view utf8, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  std::size_t length = 1;
  if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = lead <= 0xEF ? 3 : 1;
  } else if (lead >= 0xC2) {
    length = 2;
  }
  if (pos + length > utf8.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(utf8[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

std::size_t CountChars(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < utf8.size(); pos += Utf8SequenceLength(utf8, pos)) ++count;
  return count;
}

std::string_view CutToChars(std::string_view utf8, std::size_t maxChars) {
  std::size_t pos = 0;
  for (std::size_t count = 0; pos < utf8.size() && count < maxChars; ++count) {
    pos += Utf8SequenceLength(utf8, pos);
  }
  return utf8.substr(0, pos);
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

char32_t NextCodePoint(std::string_view utf8, std::size_t& pos) {
  const std::size_t length = Utf8SequenceLength(utf8, pos);
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  pos += length;
  if (length == 1) return lead < 0x80 ? lead : kReplacementCharacter;
  char32_t value = lead & (0x7Fu >> length);
  for (std::size_t i = pos - length + 1; i < pos; ++i) {
    value = (value << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
  }
  return value;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  const auto unit = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  };
  const std::size_t units = bytes.size() / 2;
  std::string out;
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint32_t code = unit(i);
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) < 0xE000) {
      AppendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, code >= 0xD800 && code < 0xE000 ? kReplacementCharacter : code);
    }
  }
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

int HalveRoundEven(int value) {
  return RoundHalfEven(value / 2.0);
}

int RoundHalfEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace kivo
