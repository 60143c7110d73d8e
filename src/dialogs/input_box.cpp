#include "dialogs/input_box.h"

namespace kivo {

std::string InputCaption(std::string_view title) {
  return title.empty() ? std::string(kInputDefaultTitle) : std::string(title);
}

bool InputAccepted(std::string_view text) {
  return text.find_first_not_of(' ') != std::string_view::npos;
}

}  // namespace kivo
