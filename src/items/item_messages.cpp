#include "items/item_messages.h"

namespace kivo {

ShellMessage ReplaceShortcutMessage() {
  return {"Are you sure to replace the selected shortcut?",
          "Replace shortcut",
          MessageButtons::YesNo,
          MessageIcon::Exclamation,
          true,
          false};
}

ShellMessage DeleteGroupMessage(bool allProgramsGroup) {
  return {"Are you sure to delete the selected group?",
          allProgramsGroup ? "Delete All Programs Group" : "Delete Shortcut Group",
          MessageButtons::YesNo,
          MessageIcon::Question,
          true,
          false};
}

ShellMessage StoreFullMessage() {
  return {
      "No more shortcuts can be stored: all places for shortcuts in groups are taken.\n"
      "Please delete some shortcuts you no longer need, then try again!",
      "Add Shortcut",
      MessageButtons::Ok,
      MessageIcon::Exclamation,
      false,
      false};
}

ShellMessage PathNotStorableMessage(const std::string& path) {
  return {"This path cannot be stored as a shortcut:\n\n" + path +
              "\n\nIts name holds characters this system's code page cannot represent, or it "
              "is longer than 255 bytes. Please rename it or choose another file!",
          "Add Shortcut",
          MessageButtons::Ok,
          MessageIcon::Exclamation,
          false,
          false};
}

}  // namespace kivo
