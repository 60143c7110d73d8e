// Changing the user entry (item 0): its picture, then its name.
#pragma once

#include <optional>
#include <string>

#include "core/ansi_codec.h"
#include "core/shell_utilities.h"
#include "core/store.h"

namespace kivo {

inline constexpr const char* kUserPictureDialogTitle = "Kivo Launcher - 更改用户头像";
inline constexpr const char* kUserPictureFilter = "*.bmp;*.jpg;*.png;*.gif";
inline constexpr const char* kUserNamePrompt = "输入一个新的用户名称，放弃更改请点击 '取消' 按钮。";
inline constexpr const char* kUserNameTitle = "更改用户名称";

// What the flow needs from the windows and the files.
class ChangeUserPort {
 public:
  virtual ~ChangeUserPort() = default;
  // The picture file the user chose, or nothing when the dialog was cancelled.
  virtual std::optional<std::string> ChoosePicture(const std::string& title,
                                                   const std::string& filter) = 0;
  // Writes `picture` as the user icon file; false when nothing usable was written.
  virtual bool SaveUserPicture(const std::string& picture, const std::string& iconFile) = 0;
  // Loads the user entry's images again and redraws the dock.
  virtual void ReloadUserImages() = 0;
  virtual void Redraw() = 0;
  virtual bool SaveSettings() = 0;
  virtual bool SaveStore() = 0;
  // The input box: what the user typed, or `defaultText` when cancelled.
  virtual std::string AskText(const std::string& prompt, const std::string& title,
                              const std::string& defaultText) = 0;
  virtual void Tell(const ShellMessage& message) = 0;
};

struct ChangeUserOutcome {
  bool pictureChanged = false;
  bool nameChanged = false;
  friend bool operator==(const ChangeUserOutcome&, const ChangeUserOutcome&) = default;
};

// Offers a new picture, then a new name. A picture that cannot be used, or a name the
// system's code page cannot store, is refused with a message and changes nothing.
ChangeUserOutcome ChangeUserNameAndPicture(ShortcutItem& user, const std::string& userPicturePath,
                                           const AnsiCodec& codec, ChangeUserPort& port);

ShellMessage UserPictureNotUsableMessage(const std::string& picture);
ShellMessage UserNameNotStorableMessage(const std::string& name);

}  // namespace kivo
