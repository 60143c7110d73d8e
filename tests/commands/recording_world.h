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

class RecordingSystem : public SystemActions {
 public:
  explicit RecordingSystem(std::vector<std::string>& log) : log_(log) {}

  int Execute(const ShellRequest& r) override {
    log_.push_back("Execute " + r.verb + " \"" + r.file + "\" " + Describe(r.parameters) + " " +
                   Describe(r.directory) + " " + std::to_string(r.show));
    return executeResult;
  }
  bool OpenWithDefaultVerb(const std::string& path) override {
    return Log("OpenWithDefaultVerb " + path);
  }
  bool PathExists(const std::string& path) const override { return existing.count(path) != 0; }
  bool ShowMessage(const ShellMessage& message) override {
    messages.push_back(message);
    return !Log("ShowMessage " + message.title);
  }
  void EndSession(std::uint32_t flags, std::uint32_t reason) override {
    Log("EndSession " + std::to_string(flags) + " " + std::to_string(reason));
  }
  void SleepComputer() override { Log("SleepComputer"); }
  void LockWorkstation() override { Log("LockWorkstation"); }
  void MonitorOffSoon() override { Log("MonitorOffSoon"); }
  void ShowRunDialog() override { Log("ShowRunDialog"); }
  bool ShowDesktopIcons(bool hide) override {
    Log(std::string("ShowDesktopIcons ") + (hide ? "hide" : "show"));
    return true;
  }
  void ToggleShowDesktop() override { Log("ToggleShowDesktop"); }
  void EmptyRecycleBin() override { Log("EmptyRecycleBin"); }
  void CheckRecycleBin() override { Log("CheckRecycleBin"); }

  int executeResult = 42;
  std::set<std::string> existing;
  std::vector<ShellMessage> messages;

 private:
  bool Log(std::string call) {
    log_.push_back(std::move(call));
    return true;
  }
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

// A store, settings, paths and both fakes, wired to Commands; saves are logged too.
struct CommandWorld {
  CommandWorld() {
    paths.ProfileFolder = "C:\\Users\\alice\\";
    paths.SystemIconFolder = "C:\\Kivo\\SysIcons\\";
    paths.UserIconFolder = "C:\\Data\\KivoIcons\\";
  }
  Commands Make(int osMajor = 6) {
    const auto save = [this](const char* what) {
      return [this, what] {
        log.push_back(what);
        return true;
      };
    };
    return Commands(
        {store, settings, paths, files, osMajor, "alice", save("SaveStore"), save("SaveSettings")},
        system, dock);
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
