#include "dialogs/change_user.h"

#include "core/text.h"

namespace kivo {
namespace {

// The settings file keeps the picture's path in its fixed field of 255 bytes.
constexpr std::size_t kStoredPathBytes = 255;

bool Storable(const AnsiCodec& codec, const std::string& text, std::size_t maxBytes) {
  return codec.CanRepresent(text) && codec.Encode(text).size() <= maxBytes;
}

}  // namespace

ShellMessage UserPictureNotUsableMessage(const std::string& picture) {
  return {"This picture cannot be used as the user picture:\n\n" + picture +
              "\n\nIt is not a BMP, JPEG, PNG or GIF image that can be read, or the user icon "
              "folder cannot be written, or its path cannot be stored. The picture was not "
              "changed.",
          kUserPictureDialogTitle,
          MessageButtons::Ok,
          MessageIcon::Exclamation,
          false,
          false};
}

ShellMessage UserNameNotStorableMessage(const std::string& name) {
  return {"This name cannot be stored:\n\n" + name +
              "\n\nIt holds characters this system's code page cannot represent. The name was "
              "not changed; please choose another one!",
          kUserNameTitle,
          MessageButtons::Ok,
          MessageIcon::Exclamation,
          false,
          false};
}

ChangeUserOutcome ChangeUserNameAndPicture(ShortcutItem& user, const std::string& userPicturePath,
                                           const AnsiCodec& codec, ChangeUserPort& port) {
  ChangeUserOutcome outcome;
  if (const auto picture = port.ChoosePicture(kUserPictureDialogTitle, kUserPictureFilter)) {
    // A path the settings file would store damaged is never given to the user entry.
    if (Storable(codec, userPicturePath, kStoredPathBytes) &&
        port.SaveUserPicture(*picture, userPicturePath)) {
      user.IconFile = userPicturePath;
      port.ReloadUserImages();
      port.SaveSettings();
      outcome.pictureChanged = true;
    } else {
      port.Tell(UserPictureNotUsableMessage(*picture));
    }
  }

  const std::string current = user.Title.str();
  const std::string name = CleanText(port.AskText(kUserNamePrompt, kUserNameTitle, current));
  if (name.empty() || name == current) return outcome;
  if (!codec.CanRepresent(name)) {
    port.Tell(UserNameNotStorableMessage(name));
    return outcome;
  }
  user.Title = name;
  port.SaveStore();
  port.Redraw();
  outcome.nameChanged = true;
  return outcome;
}

}  // namespace kivo
