// FrmConfig: the preferences window. It edits the working settings in place and shows
// each change on the dock at once; the settings file is written when it closes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "dialogs/maintenance.h"
#include "dialogs/settings_rules.h"
#include "platform/win32/gdiplus_api.h"
#include "ui/win32/dialogs/dialog_support.h"

namespace kivo::win {

class SettingsDialog : public DialogBase {
 public:
  // What the dialog asks of the program. Each function may be left empty.
  struct Parts {
    Parts(Settings& editedSettings, const ScreenInfo& screenInfo)
        : settings(editedSettings), screen(screenInfo) {}
    Settings& settings;
    const ScreenInfo& screen;
    // The dock's live preview.
    std::function<void(RingFollowUp)> applyRing;  // the ring computed again, then the follow-up
    std::function<void()> rebuildNormalVariant;
    std::function<void()> redraw;
    std::function<void(bool)> setActive;
    std::function<void()> placeDisc;
    std::function<void(bool)> clearType;  // the popup's text hint
    // The start-up entry: true when it holds the program afterwards. Without it the box
    // is greyed (a portable copy).
    std::function<bool(bool)> setAutoRun;
    // The hot keys as stored, and a change: stored, registered, and the combinations
    // another program holds returned.
    std::function<HotKeySet()> loadHotKeys;
    std::function<std::vector<HotKey>(const HotKeySet&)> changeHotKeys;
    std::function<bool()> saveSettings;
    std::function<void(HWND)> showAbout;
    Maintenance* maintenance = nullptr;  // without it the backup buttons are greyed
  };

  explicit SettingsDialog(Parts parts);
  ~SettingsDialog() override;

  // Opens the window modeless over `owner`, or brings the open one to the front.
  bool Show(HWND owner);
  // As "确定": saves the settings and destroys the window.
  void Close();
  bool IsOpen() const { return window() != nullptr; }
  bool IsDialogMessage(MSG& message) const;

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void IniConfigData();
  void ShowPage(int page);
  void OnScroll(HWND slider, int code);
  void OnCommand(int control, int notification);
  void Apply(const SettingsEffect& effect);
  void WriteLabels();
  void OnHotKeyChanged(int index);
  void RunMaintenance(int control);
  void DrawLogo(const DRAWITEMSTRUCT& item) const;

  Parts parts_;
  SettingsEditor editor_;
  GpBitmapPtr logo_;
  bool transparencyHeld_ = false;
  bool filling_ = false;  // the controls are being filled: their notifications are no edits
  HotKeySet hotKeys_{};
};

}  // namespace kivo::win
