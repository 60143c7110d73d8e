#include "app/program_actions.h"

#include "ui/win32/dialogs/drop_actions.h"

#include "core/shell_utilities.h"
#include "dialogs/change_user.h"
#include "gfx/win32/item_icons_win.h"
#include "gfx/win32/skins_win.h"
#include "items/group_helpers.h"
#include "items/icon_cache.h"
#include "platform/win32/system_folders_win.h"
#include "tray/hotkeys.h"
#include "ui/win32/dialogs/about_dialog.h"
#include "ui/win32/dialogs/change_user_win.h"

namespace kivo {

ProgramActions::ProgramActions(Parts parts)
    : parts_(std::move(parts)),
      quickStart_(parts_.data.settings.StartedPage, [this] { return SaveSettings(); }),
      maintenance_(std::make_unique<win::MaintenanceWin>(win::MaintenanceWin::Parts{
          parts_.data, parts_.files, parts_.items.files, parts_.codec,
          [this] { return settings_ && settings_->IsOpen() ? settings_->window() : owner(); },
          parts_.reloadData})) {}

void ProgramActions::Bind(win::DockWindow& dock, win::PopupWindow& popup) {
  dock_ = &dock;
  popup_ = &popup;
  system_ = std::make_unique<win::WinSystemActions>(dock.handle());
  AppData& data = parts_.data;
  Commands::Environment environment{data.store,
                                    data.settings,
                                    data.paths,
                                    parts_.items.files,
                                    static_cast<int>(data.osMajor),
                                    parts_.items.system.UserName(),
                                    [this] { return parts_.files.SaveStore(parts_.data.store); },
                                    [this] { return SaveSettings(); }};
  commands_ = std::make_unique<Commands>(std::move(environment), *system_, *this);
  itemMenu_ = std::make_unique<win::ItemMenu>(win::ItemMenu::Parts{
      data.store, data.settings, parts_.items, parts_.images, [this] { SaveStore(); }});
  itemMenu_->Bind(dock, popup);
}

HWND ProgramActions::owner() const {
  return dock_ != nullptr ? dock_->handle() : nullptr;
}

bool ProgramActions::SaveSettings() {
  return parts_.files.SaveSettings(parts_.data.settings, parts_.data.store.Items[0]);
}

void ProgramActions::ShowQuickStartAtStart() {
  if (kivo::ShowQuickStartAtStart(parts_.data.settings.StartedPage)) quickStart_.Show(owner());
}

bool ProgramActions::IsDialogMessage(MSG& message) const {
  return quickStart_.IsDialogMessage(message) || (settings_ && settings_->IsDialogMessage(message));
}

void ProgramActions::Close() {
  quickStart_.Close();
  if (settings_) settings_->Close();
}

void ProgramActions::LaunchItem(int item) {
  if (commands_) commands_->LaunchItem(item);
}

void ProgramActions::RunCommand(int command) {
  if (commands_) commands_->RunCommand(command);
}

void ProgramActions::OpenPopup(int slot) {
  if (popup_) {
    popup_->Handle(PopupEvent::Open(slot));
  } else if (dock_) {
    dock_->Handle(DockEvent::Simple(DockEvent::Kind::PopupClosed));
  }
}

void ProgramActions::ShowSearchResults(const std::vector<int>& items) {
  if (popup_) popup_->Handle(PopupEvent::Results(items));
}

void ProgramActions::SearchListKey(int key) {
  if (popup_) popup_->Handle(PopupEvent::Key(key));
}

void ProgramActions::ClosePopup() {
  if (popup_) popup_->Handle(PopupEvent::Close());
}

void ProgramActions::OpenItemMenu(int item, int group, int position) {
  if (itemMenu_) itemMenu_->OpenForMember(item, group, position);
}

bool ProgramActions::DeleteMember(int item) {
  return kivo::DeleteItem(parts_.items, item, false) == 1;
}

void ProgramActions::GroupEmptied(int /*group*/) {
  // The group's slot shows its " (空)" title and picture.
  if (dock_) dock_->Handle(DockEvent::Simple(DockEvent::Kind::Refresh));
}

void ProgramActions::Closed(bool dockTakesFocus) {
  if (!dock_) return;
  dock_->Handle(DockEvent::Simple(DockEvent::Kind::PopupClosed));
  if (dockTakesFocus) dock_->TakeFocus();
}

void ProgramActions::Activity(bool active) {
  if (!dock_) return;
  DockEvent event = DockEvent::Simple(DockEvent::Kind::PopupActivity);
  event.flag = active;
  dock_->Handle(event);
}

void ProgramActions::OpenContextMenu(int slot) {
  if (itemMenu_) itemMenu_->OpenForSlot(slot);
}

bool ProgramActions::DeleteItem(int item) {
  if (kivo::DeleteItem(parts_.items, item, false) != 1) return false;
  // The entry's image was replaced under the same number: what is on screen is stale.
  if (dock_) dock_->Invalidate();
  return true;
}

void ProgramActions::SaveStore() {
  // A failed save keeps the old files; the store is written again at the next change and
  // at exit, where a failure is reported.
  static_cast<void>(parts_.files.SaveStore(parts_.data.store));
}

void ProgramActions::ShowQuickStart() {
  quickStart_.Show(owner());
}

void ProgramActions::EscCancel() {
  if (dock_) dock_->Handle(DockEvent::Simple(DockEvent::Kind::EscCancel));
}

void ProgramActions::MinWindows(int mode) {
  if (dock_ && mode >= 0 && mode <= 2) dock_->Handle(DockEvent::Mode(static_cast<DockMode>(mode)));
}

void ProgramActions::ExitProgram() {
  if (!dock_) {
    EndProgram();
    return;
  }
  // The dock fades out first; the exit comes after the fade, in the order of the dock's
  // own events.
  dock_->Handle(DockEvent::Simple(DockEvent::Kind::Exit));
}

void ProgramActions::EndProgram() {
  parts_.exit();
}

void ProgramActions::ShowSettings() {
  if (!settings_) {
    AppData& data = parts_.data;
    win::SettingsDialog::Parts parts(data.settings, data.screen);
    parts.applyRing = [this](RingFollowUp followUp) {
      if (dock_) dock_->ApplyRingMetrics(static_cast<int>(followUp));
    };
    parts.rebuildNormalVariant = [this] {
      if (dock_) dock_->RebuildNormalVariant();
    };
    parts.redraw = [this] {
      if (dock_) dock_->RedrawResting();
    };
    parts.setActive = [this](bool active) {
      if (dock_) dock_->SetActiveLook(active);
    };
    parts.placeDisc = [this] {
      if (dock_) dock_->PlaceCollapsedDisc();
    };
    parts.clearType = [this](bool on) {
      if (popup_) popup_->SetClearType(on);
    };
    // A portable copy cannot start with Windows: the dialog greys the box.
    if (!parts_.data.paths.Portable) {
      parts.setAutoRun = [this](bool enable) {
        return SetAutoRun(parts_.items.registry, parts_.codec, win::ProgramFilePath(), enable) != 0;
      };
    }
    parts.loadHotKeys = [this] { return LoadHotKeys(parts_.items.registry, parts_.codec); };
    parts.changeHotKeys = [this](const HotKeySet& keys) {
      static_cast<void>(SaveHotKeys(parts_.items.registry, parts_.codec, keys));
      return tray_ != nullptr ? tray_->ChangeHotKeys(keys) : std::vector<HotKey>{};
    };
    parts.saveSettings = [this] { return SaveSettings(); };
    parts.showAbout = [this](HWND owner) {
      win::ShowAbout(owner, win::AboutInfo{parts_.version, parts_.data.osName, nullptr,
                                           parts_.data.paths.LogFile, nullptr});
    };
    parts.maintenance = maintenance_.get();
    settings_ = std::make_unique<win::SettingsDialog>(std::move(parts));
  }
  settings_->Show(owner());
}

void ProgramActions::ShowAbout() {
  win::ShowAbout(owner(), win::AboutInfo{parts_.version, parts_.data.osName, nullptr,
                                         parts_.data.paths.LogFile, nullptr});
}

void ProgramActions::ChangeUserNameAndPicture() {
  AppData& data = parts_.data;
  win::WinChangeUserPort port(
      owner(), {[this] {
                  win::SetUserPicture(parts_.images, parts_.data.store.Items[0].IconFile.str(),
                                      dock_ ? dock_->geometry().metrics.C : kCentreIconSize);
                  ReloadItemImage(0);
                },
                [this] { ReloadItemImage(-1); }, [this] { return SaveSettings(); },
                [this] { return parts_.files.SaveStore(parts_.data.store); }});
  kivo::ChangeUserNameAndPicture(data.store.Items[0], data.paths.UserPicture, parts_.codec, port);
}

void ProgramActions::ReloadItemImage(int item) {
  if (!dock_) return;
  const RingMetrics& metrics = dock_->geometry().metrics;
  if (item == 0) {
    // The user picture is icon 0: the centre's overlay and the user entry alike.
    for (int variant = 1; variant <= 4; ++variant) {
      const int size = VariantSize(metrics, variant);
      parts_.images.BuildVariant(ImageTable::Icon, 0, variant, size, size);
    }
  } else if (item > 0 && item <= kLastItem) {
    win::LoadItemIcon(parts_.data.store, parts_.images, metrics, item,
                      IconCacheFolder(parts_.data.paths.UserIconFolder));
  }
  dock_->Invalidate();
  dock_->Handle(DockEvent::Simple(DockEvent::Kind::Refresh));
}

void ProgramActions::DropFiles(int slot, std::vector<std::string> paths) {
  const DropOutcome outcome = CarryOutDrop(parts_.items, owner(), slot, std::move(paths));
  if (outcome.result != DropResult::Added) return;
  // Entries' images were made again under the same numbers: what is on screen is stale.
  if (dock_) {
    dock_->Invalidate();
    dock_->Handle(DockEvent::Simple(DockEvent::Kind::Refresh));
  }
  SaveStore();
}

}  // namespace kivo
