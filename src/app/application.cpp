#include "app/application.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "core/log.h"
#include "core/os_version.h"
#include "core/paths.h"
#include "core/program_registry.h"
#include "core/shell_utilities.h"
#include "dialogs/about_texts.h"
#include "gfx/win32/item_icons_win.h"
#include "gfx/win32/skins_win.h"
#include "items/builtin_items.h"
#include "items/default_groups.h"
#include "items/icon_cache.h"
#include "items/item_editor.h"
#include "items/shortcut_backup.h"
#include "platform/win32/log_win.h"
#include "platform/win32/os_version_win.h"
#include "platform/win32/process_figures.h"
#include "platform/win32/screen_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/shutdown_win.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/unicode.h"
#include "tray/hotkeys.h"
#include "tray/tray_menu.h"
#include "ui/win32/drop_target.h"
#include "version.h"

namespace kivo {
namespace {

constexpr wchar_t kHostClass[] = L"KivoLauncher";
constexpr wchar_t kProgramTitle[] = L"Kivo Launcher";
// Another program (a soak run's control program) asks the host window for a figure of this
// process: GDI objects under Wine are only countable from inside.
constexpr wchar_t kFigureMessage[] = L"KivoLauncherProcessFigure";

void ShowMessage(const std::string& text, UINT icon) {
  ::MessageBoxW(nullptr, win::Widen(text).c_str(), kProgramTitle,
                MB_OK | icon | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace

int Application::Main() {
  if (!singleInstance_.Acquire()) return 0;  // another copy runs: end at once, silently

  // Files are dropped on the dock through OLE, which the window thread must start.
  const win::OleSession ole;
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_USEREX_CLASSES};
  ::InitCommonControlsEx(&controls);

  if (!CheckOperatingSystem()) return 0;
  timeline_.Mark("OLE, controls, system");

  win::WinSystemFolders folders;
  data_.paths = BuildPaths(folders, fileSystem_);
  win::ProgramLog().OpenFile(data_.paths.LogFile);
  programPath_ = win::ProgramFilePath();
  if (data_.paths.Portable) {
    portableRegistry_ = std::make_unique<PortableRegistry>(
        systemRegistry_, fileSystem_, data_.paths.DataFolder + kPortableRegistryFileName);
  }
  files_ = std::make_unique<DataFiles>(fileSystem_, codec_, data_.paths);
  itemContext_.reset(new ItemContext{data_.store, data_.paths, data_.settings, fileSystem_,
                                     itemSystem_, iconMaker_, registry(), codec_, itemPrompts_,
                                     itemImages_});
  PrepareRegistry();
  timeline_.Mark("paths and registry");

  // The shut-down commands need the privilege. At log-off the program wants to be among
  // the last to be asked, and only once.
  win::EnableShutdownPrivilege();
  win::RequestLastShutdownTurn();

  if (!gdiplus_.Start()) {
    ::MessageBoxW(nullptr, L"Load GDI+ Error!", L"Quendal Desktop Error", MB_OK | MB_ICONERROR);
    return 1;
  }
  timeline_.Mark("GDI+ start");

  // Popup rows keep small copies of their pictures, made with the entries.
  itemImages_.UseIconCache(IconCacheFolder(data_.paths.UserIconFolder));
  InitializeData(true, true, true);
  ReportDamagedFiles();
  timeline_.Mark("settings and store");
  win::ShowDesktopIcons(data_.settings.HideDesktopIcons, data_.store);
  figureMessage_ = ::RegisterWindowMessageW(kFigureMessage);

  if (!CreateHostWindow() || !LoadWindows()) {
    ExitProgram();
    return 1;
  }
  LoadSkin();
  timeline_.Mark("ring variants");
  ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1),
                             static_cast<SIZE_T>(-1));
  // Let pending messages run, then bring the dock up in front.
  MSG pending;
  while (::PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&pending);
    ::DispatchMessageW(&pending);
  }
  timeline_.Mark("pending messages");
  dock_->Show();
  // The first frame is usually presented within Show itself.
  if (dock_->framesPresented() > 0) timeline_.Finish("first frame");
  actions_->ShowQuickStartAtStart();
  timeline_.Mark("dock shown");

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (actions_ && actions_->IsDialogMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    if (timeline_.waiting() && dock_ && dock_->framesPresented() > 0) {
      timeline_.Finish("first frame");
    }
  }
  ExitProgram();
  return 0;
}

bool Application::CheckOperatingSystem() {
  const auto version = win::ReadOsVersion();
  if (!version) return true;  // the system would not say: nothing to refuse
  const OsName name = GetOsName(*version);
  if (!name.supported) {
    ::MessageBoxW(nullptr, win::Widen(UnsupportedOsMessage(name)).c_str(),
                  win::Widen(kUnsupportedOsTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  data_.osName = name.text;
  data_.osMajor = name.major;
  return true;
}

void Application::PrepareRegistry() {
  // A portable copy is not installed: it does not announce itself to other programs, and
  // no installer leaves it a first-run mark.
  if (!data_.paths.Portable) {
    WriteProgramInfo(registry(), codec_, programPath_,
                     ProgramVersion{KIVO_VERSION_MAJOR, KIVO_VERSION_MINOR, KIVO_BUILD_NUMBER});
    // An installation asks for a fresh start: nothing of an earlier one is kept.
    if (TakeFirstRun(registry(), codec_)) {
      files_->DeleteDataFiles(true);
      // The installer leaves the start-up entry only when the user asked for it; the
      // fresh start must not turn it on again behind the user's back.
      installedWithoutAutoRun_ = !AutoRunHolds(registry(), codec_, programPath_);
    }
  }
  data_.interfaceFont = ReadInterfaceFont(registry(), codec_);
}

void Application::InitializeData(bool withTables, bool loadSettings, bool loadStore) {
  kivo::InitializeData(data_, *files_, MakeInitializeSteps(), withTables, loadSettings, loadStore);
}

InitializeSteps Application::MakeInitializeSteps() {
  InitializeSteps steps;
  steps.readScreen = &win::ReadScreenInfo;
  // Rewritten at every start, so that the entry follows the program when it moves.
  // A portable copy never starts with Windows: its registry refuses the entry anyway.
  steps.autoRunRegistered = [this] {
    if (std::exchange(installedWithoutAutoRun_, false)) return false;
    return !data_.paths.Portable && SetAutoRun(registry(), codec_, programPath_, true) == 1;
  };
  steps.defineBuiltInItems = [this](AppData& data) {
    DefineBuiltInItems(data.store, data.settings, data.paths, itemSystem_.UserName(),
                       fileSystem_.FileExists(data.paths.UserPicture));
  };
  steps.buildDefaultGroups = [this](AppData& data) {
    BuildDefaultGroups(*itemContext_, data.osMajor);
  };
  return steps;
}

bool Application::LoadWindows() {
  images_ = std::make_unique<win::ImageTables>();
  const std::string version =
      std::string(KIVO_VERSION_TEXT) + " (Build " + std::to_string(KIVO_BUILD_NUMBER) + ")";
  actions_ = std::make_unique<ProgramActions>(ProgramActions::Parts{
      data_, *files_, *itemContext_, *images_, codec_, version,
      // Posted, so that the messages already waiting run before the program ends.
      [this] { ::PostMessageW(host_.get(), WM_CLOSE, 0, 0); },
      [this](bool resetSettings, bool resetShortcuts, bool repairIcons) {
        ReloadData(resetSettings, resetShortcuts, repairIcons);
      }});
  dock_ = std::make_unique<win::DockWindow>(instance_, data_, *images_, actions_.get());
  dock_->SetSearchCodec(&gbCodec_);
  // Labels are drawn in Verdana; where it is not installed, in the interface font, and
  // failing both in the system's sans serif.
  if (!dock_->Create({L"Verdana", win::Widen(data_.interfaceFont)})) return false;
  timeline_.Mark("dock create");
  popup_ = std::make_unique<win::PopupWindow>(instance_, data_, *images_, actions_.get());
  if (!popup_->Create({win::Widen(data_.interfaceFont)}, dock_->geometry(), dock_->view().state(),
                      [this](int item) { itemImages_.Ensure(item); })) {
    return false;
  }
  timeline_.Mark("popup create");
  actions_->Bind(*dock_, *popup_);
  dock_->SetScreenFollower([this](POINT where) { FollowScreen(where); });
  tray_ = std::make_unique<win::TrayWindow>(
      instance_, win::TrayWindow::Parts{*actions_, *actions_,
                                        [this](const DockEvent& event) { dock_->Handle(event); },
                                        kHomePage, kHelpPage});
  // Without the tray the program still runs; it ends through its exit command.
  if (!tray_->Create(LoadHotKeys(registry(), codec_))) tray_.reset();
  actions_->BindTray(tray_.get());
  timeline_.Mark("tray create");
  return true;
}

void Application::LoadSkin() {
  win::LoadRingSkins(*images_, instance_, data_.store.Items[0].IconFile.str(),
                     dock_->geometry().metrics.C);
  timeline_.Mark("skins");
  // Icon 0 is the LOGO overlay (the user picture when there is one), set just above; the
  // items' own icons follow.
  const RingMetrics& metrics = dock_->geometry().metrics;
  itemImages_.Attach(images_.get(), &metrics);
  // The ring's entries and the templates they may borrow from; popup rows are loaded when a
  // popup first shows them, so a store full of shortcuts does not slow every start.
  // Their pictures scaled for the ring come from the icon cache when it has them.
  const std::string cache = IconCacheFolder(data_.paths.UserIconFolder);
  for (int item = 1; item <= kGroupTemplate; ++item) {
    if (data_.store.Items[static_cast<std::size_t>(item)].ItemType == kItemUnused) continue;
    win::LoadItemIcon(data_.store, *images_, metrics, item, cache);
  }
  timeline_.Mark("ring icons");
  win::BuildRingVariants(*images_, metrics);
}

void Application::FollowScreen(POINT where) {
  if (!dock_ || !images_) return;
  const ScreenInfo screen = win::ReadScreenInfoAt(where.x, where.y);
  if (screen == data_.screen) return;
  const bool rescaled = screen.Dpi != data_.screen.Dpi;
  if (popup_) popup_->Handle(PopupEvent::Close());
  data_.screen = screen;
  // What the settings derive from the screen; the preferences themselves stay.
  data_.settings.RingRadiusMax = UnscaleFromDpi(screen.HalfHeight, screen.Dpi) - 80;
  data_.settings.PopupRows = PopupRowsFor(screen.ScreenHeight, screen.Dpi);
  dock_->MoveToScreen();
  if (popup_) popup_->MoveToScreen();
  if (rescaled) {
    // Every picture again at the new sizes, as after a reload.
    itemImages_.Attach(nullptr, nullptr);
    images_->ReleaseAll();
    LoadSkin();
  }
  dock_->RedrawOnScreen();
}

void Application::ReloadData(bool resetSettings, bool resetShortcuts, bool repairIcons) {
  if (!files_ || !images_ || !dock_) return;
  if (popup_) popup_->Handle(PopupEvent::Close());
  // Every picture goes: the items they show may be other items now.
  itemImages_.Attach(nullptr, nullptr);
  images_->ReleaseAll();
  ItemEditor editor(*itemContext_);
  editor.SetQuiet(true);
  const int rebuilt = kivo::ReloadData(
      data_, *files_, MakeInitializeSteps(), fileSystem_,
      [&editor](int item) { return editor.RebuildItemIcon(item); }, resetSettings, resetShortcuts,
      repairIcons);
  if (rebuilt > 0) (void)files_->SaveStore(data_.store);
  LoadSkin();
  dock_->Handle(DockEvent::Simple(DockEvent::Kind::Refresh));
  dock_->Invalidate();
  dock_->TakeFocus();
}

void Application::ExitProgram() {
  if (exited_) return;
  exited_ = true;
  // The windows go first: a message about a failed save must not lie under a top-most dock.
  if (actions_) actions_->Close();
  if (actions_) actions_->BindTray(nullptr);
  tray_.reset();
  popup_.reset();
  dock_.reset();
  actions_.reset();
  SaveAll(true);
  // Whatever a command hid during the run comes back with the program's end.
  win::ShowShellParts(false, data_.store);
  itemImages_.Attach(nullptr, nullptr);
  if (images_) images_->ReleaseAll();
  images_.reset();
  host_.reset();
  gdiplus_.Stop();
  ::PostQuitMessage(0);
}

void Application::SaveAll(bool tellUser) {
  if (!files_ || saved_) return;
  saved_ = true;
  const bool settingsSaved = files_->SaveSettings(data_.settings, data_.store.Items[0]);
  const bool storeSaved = files_->SaveStore(data_.store);
  if (tellUser && !(settingsSaved && storeSaved)) {
    ShowMessage("Kivo Launcher could not save its data in \"" + data_.paths.DataFolder +
                    "\".\n\nCheck that the disk is not full and that the folder can be written.",
                MB_ICONWARNING);
  }
}

void Application::ReportDamagedFiles() const {
  std::string kept;
  bool damaged = false;
  for (const LoadOutcome* outcome : {&files_->lastStoreLoad(), &files_->lastSettingsLoad()}) {
    if (outcome->source != LoadSource::Damaged) continue;
    damaged = true;
    for (const std::string& path : outcome->keptAside) kept += "\n" + path;
  }
  if (!damaged) return;
  Log(LogLevel::Error, "Damaged data files were kept aside:" + kept);
  ShowMessage(
      "Kivo Launcher's data files were damaged and could not be read, and neither could "
      "their safety copies. The program starts with its default settings and shortcuts.\n\n"
      "The damaged files were kept as:" +
          kept,
      MB_ICONWARNING);
}

bool Application::CreateHostWindow() {
  if (!RegisterWindowClass(instance_, {kHostClass, nullptr, nullptr})) return false;
  // A top-level window (not message-only) so that it hears the log-off broadcasts.
  host_.reset(CreateBoundWindow(instance_, kHostClass, kProgramTitle, WS_EX_TOOLWINDOW, WS_POPUP, 0,
                                0, 0, 0));
  return static_cast<bool>(host_);
}

std::optional<LRESULT> Application::OnMessage(HWND /*window*/, UINT message, WPARAM wParam,
                                              LPARAM /*lParam*/) {
  if (message == figureMessage_ && message != 0) {
    if (wParam >= static_cast<WPARAM>(win::kProcessFigureCount)) return -1;
    return static_cast<LRESULT>(
        win::ReadProcessFigure(static_cast<win::ProcessFigure>(static_cast<int>(wParam))));
  }
  switch (message) {
    case WM_CLOSE:
      ExitProgram();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows ends the process soon after this returns: save now, without questions.
      if (wParam) SaveAll(false);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace kivo
