// Reading the texts the shell keeps in the registry and in link files.
#pragma once

#include <string>
#include <string_view>

namespace kivo {

// Number prefix of a text, the way an icon index after "," is read: blanks, a sign,
// digits; stops at the first other character ("-3", " 7", "12x" -> 12; nothing numeric
// -> 0; beyond the 32-bit range -> the nearest end).
int ParseIndex(std::string_view text);

// The program an open command starts: everything up to and including the first ".EXE"
// (any case), trimmed, without a leading quote. A command naming no ".EXE" gives "".
std::string CommandProgram(std::string_view command);

// True when the text ends with `tail`, compared in ASCII upper case.
bool EndsWithNoCase(std::string_view text, std::string_view tail);

}  // namespace kivo
