// Conversion between the core's UTF-8 text and the system ANSI code page, in which the
// data files keep their fixed-width texts. On Windows this is CP_ACP; tests use iconv.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kivo {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // UTF-8 to ANSI bytes; characters the code page cannot hold become the code page's
  // default character.
  virtual std::string Encode(std::string_view utf8) const = 0;
  // ANSI bytes to UTF-8.
  virtual std::string Decode(std::string_view ansi) const = 0;
  // True when every character of the text survives a round trip through the code page.
  virtual bool CanRepresent(std::string_view utf8) const = 0;
};

// A fixed-width text field as stored in the data files: the text in the ANSI code page,
// cut at a character boundary so that it fits `width` bytes, padded with blanks.
std::string EncodeFixedText(const AnsiCodec& codec, std::string_view utf8, std::size_t width);

// Reads a fixed-width field back: cut at the first NUL, decoded, blanks trimmed.
std::string DecodeFixedText(const AnsiCodec& codec, std::string_view field);

}  // namespace kivo
