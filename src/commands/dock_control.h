// What launching and the built-in commands ask of the program's own windows. The dock
// implements it.
#pragma once

namespace kivo {

class DockControl {
 public:
  virtual ~DockControl() = default;
  virtual void EscCancel() = 0;                 // dismiss the dock (closes a popup too)
  virtual void MinWindows(int mode) = 0;        // 1 collapse, 2 hide
  virtual void ExitProgram() = 0;               // fade out, let messages run, exit
  virtual void ShowSettings() = 0;              // the settings dialog, modal
  virtual void ShowAbout() = 0;                 // the about box, modal
  virtual void ChangeUserNameAndPicture() = 0;  // picture dialog, then the name
  virtual void ReloadItemImage(int item) = 0;   // reload one item's icon image and redraw
};

inline constexpr int kCollapseDock = 1;
inline constexpr int kHideDock = 2;

}  // namespace kivo
