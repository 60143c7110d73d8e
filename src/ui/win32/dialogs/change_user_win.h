// The windows and files behind changing the user entry: the picture dialog, the user
// icon file, the input box and the message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "dialogs/change_user.h"

namespace kivo::win {

// The system's open-file dialog for one existing file: `filter` is both the description
// and the pattern. Nothing when the user cancelled.
std::optional<std::string> ChooseOpenFile(HWND owner, const std::string& title,
                                          const std::string& filter);

class WinChangeUserPort : public ChangeUserPort {
 public:
  struct Actions {
    std::function<void()> reloadUserImages;  // reload the user entry's images and redraw
    std::function<void()> redraw;
    std::function<bool()> saveSettings;
    std::function<bool()> saveStore;
  };
  WinChangeUserPort(HWND owner, Actions actions) : owner_(owner), actions_(std::move(actions)) {}

  std::optional<std::string> ChoosePicture(const std::string& title,
                                           const std::string& filter) override;
  bool SaveUserPicture(const std::string& picture, const std::string& iconFile) override;
  void ReloadUserImages() override;
  void Redraw() override;
  bool SaveSettings() override;
  bool SaveStore() override;
  std::string AskText(const std::string& prompt, const std::string& title,
                      const std::string& defaultText) override;
  void Tell(const ShellMessage& message) override;

 private:
  HWND owner_;
  Actions actions_;
};

}  // namespace kivo::win
