// The program's entry routine and its orderly exit.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/program_actions.h"
#include "app/start_timeline.h"
#include "core/data_files.h"
#include "core/portable_registry.h"
#include "core/startup.h"
#include "gfx/win32/gdiplus_session.h"
#include "gfx/win32/image_tables.h"
#include "gfx/win32/item_images_win.h"
#include "items/item_context.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/handles.h"
#include "platform/win32/item_prompts_win.h"
#include "platform/win32/item_system_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/single_instance.h"
#include "ui/win32/dock_window.h"
#include "ui/win32/popup_window.h"
#include "ui/win32/tray_window.h"
#include "ui/win32/window.h"

namespace kivo {

// The hidden host window's messages come to the application itself.
class Application final : public win::Window {
 public:
  explicit Application(HINSTANCE instance) : instance_(instance) {}

  // Prepares everything, runs the message loop and returns the process exit code.
  int Main();
  // Saves settings and store, releases everything and ends the message loop. Runs once.
  void ExitProgram();

  AppData& data() { return data_; }
  // Rebuilds the running program after a restore or a reset: the data (settings and store
  // loaded or reset, lost icons made again), the images and the dock's picture.
  void ReloadData(bool resetSettings, bool resetShortcuts, bool repairIcons);

 private:
  std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) override;
  bool CreateHostWindow();
  // False when this Windows is one the program refuses (the user has been told).
  bool CheckOperatingSystem();
  // The program's version and path, the first-run mark and the interface font (a portable
  // copy has only the font).
  void PrepareRegistry();
  void InitializeData(bool withTables, bool loadSettings, bool loadStore);
  InitializeSteps MakeInitializeSteps();
  void SaveAll(bool tellUser);
  void ReportDamagedFiles() const;
  bool LoadWindows();
  void LoadSkin();
  // The dock moves to the screen at `where` (its monitor's work area and dpi) when that is
  // not the screen it is on, with its pictures made again for another dpi.
  void FollowScreen(POINT where);

  HINSTANCE instance_;
  StartTimeline timeline_;  // first, so that it sees the whole start
  // Asks for one of the process's figures (wParam: a ProcessFigure), answered in the result.
  UINT figureMessage_ = 0;
  win::SingleInstance singleInstance_;
  win::GdiplusSession gdiplus_;
  win::WinFileSystem fileSystem_;
  win::SystemAnsiCodec codec_;
  win::SystemAnsiCodec gbCodec_{936};  // the search's pinyin initials
  win::WinRegistry systemRegistry_;
  // The first start after an installation whose user left "start with Windows" off.
  bool installedWithoutAutoRun_ = false;
  // A portable copy keeps its own values in its data folder and writes nothing to the
  // system's registry; made once the paths say so.
  std::unique_ptr<PortableRegistry> portableRegistry_;
  Registry& registry() {
    return portableRegistry_ ? static_cast<Registry&>(*portableRegistry_) : systemRegistry_;
  }
  std::string programPath_;
  AppData data_;
  std::unique_ptr<DataFiles> files_;
  // What making and changing shortcuts works with; ready once the paths are known.
  win::WinItemSystem itemSystem_;
  win::WinIconMaker iconMaker_;
  win::WinItemPrompts itemPrompts_;
  win::WinItemImages itemImages_{data_.store};
  std::unique_ptr<ItemContext> itemContext_;
  // Hidden top-level window that owns the message loop until the tray window exists; it
  // receives WM_CLOSE and the log-off messages so the program always ends in order.
  win::UniqueWindow host_;
  // The image tables need GDI+ running, so they come after its start and go before its end.
  std::unique_ptr<win::ImageTables> images_;
  // What the dock and the commands ask of the program; outlives the dock it serves.
  std::unique_ptr<ProgramActions> actions_;
  std::unique_ptr<win::DockWindow> dock_;
  std::unique_ptr<win::PopupWindow> popup_;
  // The tray icon, its menu and the hot keys: made after the dock and the popup it
  // drives, gone before them.
  std::unique_ptr<win::TrayWindow> tray_;
  bool saved_ = false;  // settings and store written for the last time
  bool exited_ = false;
};

}  // namespace kivo
