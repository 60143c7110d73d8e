#include "core/ansi_codec.h"

#include "core/text.h"

namespace kivo {

std::string EncodeFixedText(const AnsiCodec& codec, std::string_view utf8, std::size_t width) {
  std::string bytes = codec.Encode(utf8);
  if (bytes.size() > width) {
    // Too long: add whole characters while they fit, so a double-byte character is
    // never split in half at the end of the field.
    bytes.clear();
    for (std::size_t pos = 0; pos < utf8.size();) {
      const std::size_t length = Utf8SequenceLength(utf8, pos);
      const std::string one = codec.Encode(utf8.substr(pos, length));
      if (bytes.size() + one.size() > width) break;
      bytes += one;
      pos += length;
    }
  }
  bytes.resize(width, ' ');
  return bytes;
}

std::string DecodeFixedText(const AnsiCodec& codec, std::string_view field) {
  const auto nul = field.find('\0');
  if (nul != std::string_view::npos) field = field.substr(0, nul);
  // The padding needs no decoding: a blank is one byte in every ANSI code page and is
  // never the second byte of a double-byte character.
  const auto last = field.find_last_not_of(' ');
  field = last == std::string_view::npos ? std::string_view() : field.substr(0, last + 1);
  return CleanText(codec.Decode(field));
}

}  // namespace kivo
