// UTF-8 (the core's text) to UTF-16 (the W functions) and back.
#pragma once

#include <string>
#include <string_view>

namespace kivo::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace kivo::win
