// FrmInput: the modal box that asks for one line of text.
#pragma once

#include <windows.h>

#include <string>

namespace kivo::win {

// Shows the box with `prompt` above a text field holding `defaultText`, captioned `title`
// (the program's own caption when empty). The typed text on OK or Enter (only when it
// holds more than blanks); `defaultText` on Cancel, Escape or closing.
std::string InputText(HWND owner, const std::string& prompt, const std::string& title,
                      const std::string& defaultText);

}  // namespace kivo::win
