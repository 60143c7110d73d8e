#include "commands/commands.h"

#include <utility>

#include "core/text.h"
#include "items/item_icon_files.h"

namespace kivo {

int LaunchShowCommand(int runWindow) {
  return runWindow >= 0 && runWindow <= 2 ? runWindow + 1 : 1;
}

std::string LaunchDirectory(const std::string& path) {
  if (path.size() < 4 || AsciiUpper(path.substr(path.size() - 4)) != ".EXE") return {};
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

ShellRequest LaunchRequest(const ShortcutItem& item) {
  ShellRequest request;
  request.verb = "open";
  request.file = CleanText(item.TargetPath.str());
  request.parameters = CleanText(item.Arguments.str());
  request.directory = LaunchDirectory(request.file);
  request.show = LaunchShowCommand(item.RunWindow);
  return request;
}

ShellMessage ShortcutProblemMessage(const std::string& path) {
  ShellMessage message;
  message.text = "The item '" + path +
                 "' that this shortcut refers to has been changed or removed, so this shortcut "
                 "will no longer work properly.\r\n\r\n";
  message.title = "Problem with Shortcut";
  message.buttons = MessageButtons::Ok;
  message.icon = MessageIcon::Exclamation;
  return message;
}

ShellRequest CommandRequest(const CommandRow& row, int osMajor, const std::string& profileFolder) {
  const ShellCall& call = ShellCallFor(row, osMajor);
  const auto text = [](const char* value) -> std::optional<std::string> {
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
  ShellRequest request;
  request.verb = call.verb != nullptr ? call.verb : "";
  request.file =
      call.fileSource == ShellFile::ProfileFolder ? profileFolder : text(call.file).value_or("");
  request.parameters = text(call.parameters);
  request.directory = text(call.directory);
  request.show = call.show;
  return request;
}

Commands::Commands(Environment environment, SystemActions& system, DockControl& dock)
    : env_(std::move(environment)),
      system_(system),
      dock_(dock),
      desktopIconsHidden_(env_.settings.HideDesktopIcons != 0) {}

void Commands::ReturnToRest() {
  dock_.EscCancel();
  if (env_.settings.AutoHide == 1) dock_.MinWindows(kHideDock);
}

int Commands::LaunchItem(int itemNo) {
  if (itemNo < 0 || itemNo > kLastItem) {
    ReturnToRest();
    return 0;
  }
  const ShellRequest request = LaunchRequest(env_.store.Items[static_cast<std::size_t>(itemNo)]);
  const bool started = system_.Execute(request) > 32;
  if (!started) {
    // A type without an "open" verb still has a default one; only a target that is gone
    // is reported.
    if (system_.PathExists(request.file)) {
      system_.OpenWithDefaultVerb(request.file);
    } else {
      system_.ShowMessage(ShortcutProblemMessage(request.file));
    }
  }
  ReturnToRest();
  return started ? 1 : 0;
}

int Commands::RunCommand(int commandId) {
  dock_.EscCancel();
  const CommandRow* row = FindCommand(commandId);
  if (row != nullptr && row->action == CommandAction::ExitProgram) {
    // The program ends: nothing is left to return to rest.
    dock_.ExitProgram();
    return 0;
  }
  if (row != nullptr) Carry(*row);
  ReturnToRest();
  return 0;
}

void Commands::Carry(const CommandRow& row) {
  switch (row.action) {
    case CommandAction::None:
    case CommandAction::ExitProgram:
      break;
    case CommandAction::ShellOpen:
      system_.Execute(CommandRequest(row, env_.osMajor, env_.paths.ProfileFolder));
      break;
    case CommandAction::ChangeUserNameAndPicture:
      dock_.ChangeUserNameAndPicture();
      break;
    case CommandAction::ShowSettings:
      dock_.ShowSettings();
      break;
    case CommandAction::ShowAbout:
      dock_.ShowAbout();
      break;
    case CommandAction::CollapseDock:
      dock_.MinWindows(kCollapseDock);
      break;
    case CommandAction::HideDock:
      dock_.MinWindows(kHideDock);
      break;
    case CommandAction::ToggleDesktopIcons:
      ToggleDesktopIcons();
      break;
    case CommandAction::ToggleShowDesktop:
      system_.ToggleShowDesktop();
      break;
    case CommandAction::ToggleDragLock:
      ToggleDragLock();
      break;
    case CommandAction::Sleep:
      system_.SleepComputer();
      break;
    case CommandAction::EndSession:
      system_.EndSession(row.exitFlags, kEndSessionReason);
      break;
    case CommandAction::LockWorkstation:
      system_.LockWorkstation();
      break;
    case CommandAction::MonitorOff:
      system_.MonitorOffSoon();
      break;
    case CommandAction::RunDialog:
      system_.ShowRunDialog();
      break;
    case CommandAction::EmptyRecycleBin:
      system_.EmptyRecycleBin();
      break;
    case CommandAction::CheckRecycleBin:
      system_.CheckRecycleBin();
      break;
  }
}

// The choice is a preference: it is kept and item 72 offers the opposite even when the
// desktop shows no icon view right now (it is applied at the next start).
void Commands::ToggleDesktopIcons() {
  desktopIconsHidden_ = !desktopIconsHidden_;
  system_.ShowDesktopIcons(desktopIconsHidden_);
  UpdateDesktopIconsCommand(env_.store, desktopIconsHidden_);
  env_.settings.HideDesktopIcons = desktopIconsHidden_ ? 1 : 0;
  Save(false, true);
}

// Item 74 is rebuilt on the spot; its title names what the next click will do.
void Commands::ToggleDragLock() {
  ShortcutItem& item = env_.store.Items[kDragLockCommand];
  for (const std::string& file : IconFilesToDelete(item, env_.paths.UserIconFolder)) {
    env_.files.RemoveFile(file);
  }
  const CommandRow& row = *FindCommand(kDragLockCommand);
  const bool lockAfter = !env_.settings.LockDragging;
  item.ItemType = kItemBuiltInCommand;
  item.IsSystem = true;
  item.CommandId = kDragLockCommand;
  item.ItemIndex = kDragLockCommand;
  item.Title = CommandTitle(row, env_.userName, lockAfter);
  item.IconFile = env_.paths.SystemIconFolder + CommandIcon(row, lockAfter);
  env_.settings.LockDragging = lockAfter;
  dock_.ReloadItemImage(kDragLockCommand);
  Save(true, true);
}

void Commands::Save(bool store, bool settings) {
  if (store && env_.saveStore) env_.saveStore();
  if (settings && env_.saveSettings) env_.saveSettings();
}

}  // namespace kivo
