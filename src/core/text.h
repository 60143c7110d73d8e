// Text helpers shared by every part of the program. Text is UTF-8 throughout the core.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kivo {

// Cuts at the first NUL, then removes leading and trailing blanks. Every fixed-length
// text passes through here before the rest of the program sees it.
std::string CleanText(std::string_view text);

// True for "http://" and "https:/" prefixes, case-insensitive.
bool IsWebAddress(std::string_view path);

// Number of Unicode characters in a UTF-8 text (malformed bytes count one each).
std::size_t CountChars(std::string_view utf8);

// The first `maxChars` characters of a UTF-8 text, never splitting a character.
std::string_view CutToChars(std::string_view utf8, std::size_t maxChars);

// Length in bytes of the UTF-8 sequence starting at `utf8[pos]` (1 for a malformed byte).
std::size_t Utf8SequenceLength(std::string_view utf8, std::size_t pos);

// UTF-16 little-endian bytes as UTF-8; an unpaired surrogate becomes U+FFFD and an odd
// last byte is dropped.
std::string Utf16LeToUtf8(std::string_view bytes);

// Stands for what could not be decoded.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;
// The code point at `pos` of `utf8`, moving `pos` past it; a byte that starts no whole
// sequence gives kReplacementCharacter and moves one byte.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);
// `code` appended to `out` in UTF-8.
void AppendUtf8(std::string& out, char32_t code);

// ASCII upper-casing, the way paths and web prefixes are compared.
std::string AsciiUpper(std::string_view text);

// Half of an integer rounded to the nearest, halves to the even neighbour.
int HalveRoundEven(int value);

// A real quotient rounded to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

}  // namespace kivo
