// The shell's own windows: the desktop's icon list and the taskbar, hidden and shown on
// the user's request.
#pragma once

#include <windows.h>

#include "core/store.h"

namespace kivo::win {

// The list view that shows the desktop icons: the "FolderView" list inside the shell's
// desktop view, which lives in "Progman" or, while a wallpaper slide show or the desktop
// peek runs, in one of the "WorkerW" windows. Null when there is no such window.
HWND FindDesktopListView();

// Hides or shows the desktop's icon list; false when there is none.
bool ShowDesktopIconList(bool hide);

// Hides or shows the desktop icons. When the desktop's list exists, the desktop-icons
// command in `store` then offers the opposite. False when there was nothing to change.
bool ShowDesktopIcons(bool hide, ShortcutStore& store);

// The start button that belongs to `taskbar`: a "Button" child (Windows XP and older)
// or a top-level "Button" of the taskbar's own thread (Windows Vista and 7). Null when
// the shell has no separate start button (Windows 8 and later).
HWND FindStartButton(HWND taskbar);

// Hides or shows the taskbar and its start button.
void ShowTaskbar(bool hide);

// The desktop icons, then the taskbar.
void ShowShellParts(bool hide, ShortcutStore& store);

}  // namespace kivo::win
