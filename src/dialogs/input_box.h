// The rules of the one-line input box.
#pragma once

#include <string>
#include <string_view>

namespace kivo {

inline constexpr const char* kInputDefaultTitle = "Kivo Launcher Input";

// The box's caption: the caller's title, or the program's own when none is given.
std::string InputCaption(std::string_view title);

// True when OK (or Enter) may close the box with this text: something other than blanks.
bool InputAccepted(std::string_view text);

}  // namespace kivo
