// Fakes of the system and the dock that write every call, in order, into one log.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "support/memory_file_system.h"

namespace kivo::testing {

inline std::string Describe(const std::optional<std::string>& text) {
  return text ? "\"" + *text + "\"" : "null";
}

inline std::string Describe(const ShellRequest& r) {
  return "Execute " + r.verb + " \"" + r.file + "\" " + Describe(r.parameters) + " " +
         Describe(r.directory) + " " + std::to_string(r.show);
}

class RecordingSystem : public SystemActions {
 public:
  explicit RecordingSystem(std::vector<std::string>& log) : log_(log) {}

  int Execute(const ShellRequest& request) override {
    log_.push_back(Describe(request));
    requests.push_back(request);
    return executeResult;
  }
  bool OpenWithDefaultVerb(const std::string& path) override {
    log_.push_back("OpenWithDefaultVerb " + path);
    return true;
  }
  bool PathExists(const std::string& path) const override { return existing.count(path) != 0; }
  bool ShowMessage(const ShellMessage& message) override {
    log_.push_back("ShowMessage " + message.title);
    messages.push_back(message);
    return false;
  }
  void EndSession(std::uint32_t flags, std::uint32_t reason) override {
    log_.push_back("EndSession " + std::to_string(flags) + " " + std::to_string(reason));
  }
  void SleepComputer() override { log_.push_back("SleepComputer"); }
  void LockWorkstation() override { log_.push_back("LockWorkstation"); }
  void MonitorOffSoon() override { log_.push_back("MonitorOffSoon"); }
  void ShowRunDialog() override { log_.push_back("ShowRunDialog"); }
  bool ShowDesktopIcons(bool hide) override {
    log_.push_back(std::string("ShowDesktopIcons ") + (hide ? "hide" : "show"));
    return desktopHasIcons;
  }
  void ToggleShowDesktop() override { log_.push_back("ToggleShowDesktop"); }
  void EmptyRecycleBin() override { log_.push_back("EmptyRecycleBin"); }
  void CheckRecycleBin() override { log_.push_back("CheckRecycleBin"); }

  int executeResult = 42;
  std::set<std::string> existing;
  bool desktopHasIcons = true;
  std::vector<ShellRequest> requests;
  std::vector<ShellMessage> messages;

 private:
  std::vector<std::string>& log_;
};

class RecordingDock : public DockControl {
 public:
  explicit RecordingDock(std::vector<std::string>& log) : log_(log) {}
  void EscCancel() override { log_.push_back("EscCancel"); }
  void MinWindows(int mode) override { log_.push_back("MinWindows " + std::to_string(mode)); }
  void ExitProgram() override { log_.push_back("ExitProgram"); }
  void ShowSettings() override { log_.push_back("ShowSettings"); }
  void ShowAbout() override { log_.push_back("ShowAbout"); }
  void ChangeUserNameAndPicture() override { log_.push_back("ChangeUserNameAndPicture"); }
  void ReloadItemImage(int item) override {
    log_.push_back("ReloadItemImage " + std::to_string(item));
  }

 private:
  std::vector<std::string>& log_;
};

// A store with the built-in items, settings, paths and both fakes, wired to Commands.
struct CommandWorld {
  CommandWorld() {
    paths.ProfileFolder = "C:\\Users\\alice\\";
    paths.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
    paths.UserIconFolder = "C:\\Data\\KivoIcons\\";
  }

  Commands Make(int osMajor = 6) {
    Commands::Environment env{store,
                              settings,
                              paths,
                              files,
                              osMajor,
                              "alice",
                              [this] {
                                log.push_back("SaveStore");
                                return true;
                              },
                              [this] {
                                log.push_back("SaveSettings");
                                return true;
                              }};
    return Commands(std::move(env), system, dock);
  }

  std::vector<std::string> log;
  ShortcutStore store;
  Settings settings;
  AppPaths paths;
  MemoryFileSystem files;
  RecordingSystem system{log};
  RecordingDock dock{log};
};

}  // namespace kivo::testing
