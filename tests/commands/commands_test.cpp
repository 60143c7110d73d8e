#include "commands/commands.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "commands/command_table.h"
#include "items/builtin_items.h"
#include "support/memory_file_system.h"

namespace kivo {
namespace {

// The system and the dock faked in one object that logs every call (saves too) in order.
struct CommandWorld : SystemActions, DockControl {
  CommandWorld() {
    paths.ProfileFolder = "C:\\Users\\alice\\";
    paths.UserIconFolder = "C:\\Data\\KivoIcons\\";
  }
  Commands Make(int osMajor = 6) {
    const auto save = [this](const char* what) { return [this, what] { return Log(what); }; };
    return Commands(
        {store, settings, paths, files, osMajor, "alice", save("SaveStore"), save("SaveSettings")},
        *this, *this);
  }
  void DefineItems(bool toggled = false) {  // toggled: icons hidden, dragging locked
    settings.LockDragging = toggled;
    settings.HideDesktopIcons = toggled ? 1 : 0;
    DefineBuiltInItems(store, settings, paths, "alice", false);
  }
  bool Log(const std::string& call) {
    log += (log.empty() ? "" : "; ") + call;
    return true;
  }

  int Execute(const ShellRequest& r) override {
    const auto text = [](const auto& t) { return t ? "\"" + *t + "\"" : std::string("null"); };
    Log("Execute " + r.verb + " \"" + r.file + "\" " + text(r.parameters) + " " +
        text(r.directory) + " " + std::to_string(r.show));
    return executeResult;
  }
  bool OpenWithDefaultVerb(const std::string& path) override {
    return Log("OpenWithDefaultVerb " + path);
  }
  bool PathExists(const std::string& path) const override { return path == existing; }
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
  bool ShowDesktopIcons(bool hide) override { return Log(hide ? "HideIcons" : "ShowIcons"); }
  void ToggleShowDesktop() override { Log("ToggleShowDesktop"); }
  void EmptyRecycleBin() override { Log("EmptyRecycleBin"); }
  void CheckRecycleBin() override { Log("CheckRecycleBin"); }
  void EscCancel() override { Log("EscCancel"); }
  void MinWindows(int mode) override { Log("MinWindows " + std::to_string(mode)); }
  void ExitProgram() override { Log("ExitProgram"); }
  void ShowSettings() override { Log("ShowSettings"); }
  void ShowAbout() override { Log("ShowAbout"); }
  void ChangeUserNameAndPicture() override { Log("ChangeUserNameAndPicture"); }
  void ReloadItemImage(int item) override { Log("ReloadItemImage " + std::to_string(item)); }

  std::string log;  // the calls, separated by "; "
  ShortcutStore store;
  Settings settings;
  AppPaths paths;
  testing::MemoryFileSystem files;
  int executeResult = 42;
  std::string existing;  // the one path that exists
  std::vector<ShellMessage> messages;
};

// What each command does between the two returns to rest; "82<" and the like are what
// systems before Vista (major 5) do instead. Numbers not listed do nothing.
constexpr const char* kCommandCalls = R"(
65 Execute open "C:\Users\alice\" "" null 1
66 ChangeUserNameAndPicture
67 ShowSettings
68 ShowAbout
69 MinWindows 1
70 MinWindows 2
71 ExitProgram
72 HideIcons; SaveSettings
73 ToggleShowDesktop
74 ReloadItemImage 74; SaveStore; SaveSettings
75 SleepComputer
76 EndSession 1 4294967295
77 EndSession 2 4294967295
78 EndSession 0 4294967295
79 LockWorkstation
80 MonitorOffSoon
81 Execute open "explorer" "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}" null 1
82 Execute open "explorer" "::{26EE0668-A00A-44D7-9371-BEB064C98683}\0\::{BB06C0E4-D293-4F75-8A90-CB05B6477EEE}" null 1
82< Execute open "rundll32.exe" "shell32.dll,Control_RunDLL sysdm.cpl" null 1
83 Execute open "rundll32.exe" "shell32.dll,Control_RunDLL desk.cpl,,2" null 1
84 Execute open "rundll32.exe" "shell32.dll,Control_RunDLL desk.cpl,,3" null 1
85 Execute open "rundll32.exe" "shell32.dll,Control_RunDLL appwiz.cpl" null 1
86 Execute open "explorer" "::{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}" null 1
86< Execute open "rundll32.exe" "shell32.dll, Control_RunDLL Ncpa.cpl" null 1
87 Execute open "rundll32.exe" "shell32.dll, Control_RunDLL Inetcpl.cpl" null 1
88 Execute open "explorer" "::{26EE0668-A00A-44D7-9371-BEB064C98683}" null 1
88< Execute open "rundll32.exe" "shell32.dll, Control_RunDLL" null 1
89 Execute open "explorer" "::{208D2C60-3AEA-1069-A2D7-08002B30309D}" null 1
90 Execute open "explorer" "::{2227A280-3AEA-1069-A2DE-08002B30309D}" null 1
91 Execute open "devmgmt.msc" "" "" 1
92 Execute find "" null null 1
93 ShowRunDialog
94 Execute open "rasphone.exe" "" null 1
101 EmptyRecycleBin
102 Execute open "explorer" "::{645FF040-5081-101B-9F08-00AA002F954E}" null 1
103 CheckRecycleBin
)";

// The dock returns to rest around every command (but the exit); it hides only when AutoHide
// is exactly 1.
TEST(RunCommand, EveryRowMakesItsExactCallsAndReturnsTheDockToRest) {
  std::map<std::string, std::string> calls;  // "82" or "82<" -> its calls
  std::istringstream lines(kCommandCalls);
  for (std::string key, rest; lines >> key && std::getline(lines, rest);)
    calls[key] = rest.substr(1) + "; ";
  EXPECT_EQ(calls.size(), kCommandRowCount - 6 + 3);  // 95..100 are not listed; 3 older
  for (int number = kFirstCommand - 3; number <= kLastCommand + 3; ++number) {
    for (const int osMajor : {10, 6, 5}) {
      for (const int autoHide : {0, 1, 2}) {
        CommandWorld world;
        world.DefineItems();
        world.settings.AutoHide = static_cast<std::uint8_t>(autoHide);
        world.Make(osMajor).RunCommand(number);
        std::string key = std::to_string(number);
        if (osMajor < 6 && calls.count(key + "<") != 0) key += "<";
        const std::string expected =
            number == kExitCommand  // the program ends: nothing is left to return to rest
                ? "EscCancel; ExitProgram"
                : "EscCancel; " + calls[key] + "EscCancel" +
                      (autoHide == 1 ? "; MinWindows 2" : "");
        EXPECT_EQ(world.log, expected)
            << "command " << number << ", major " << osMajor << ", auto-hide " << autoHide;
      }
    }
  }
}

// Each click leaves item 72 or 74 as the built-in items define it for the new state, deletes
// only the generated icon of item 74 (which a damaged store may have left as anything), and
// two clicks come back to the start.
TEST(RunCommand, TogglesStartFromTheSettingsAndRebuildTheirItem) {
  for (const bool atStart : {false, true}) {
    CommandWorld world, flipped;
    world.DefineItems(atStart);
    flipped.DefineItems(!atStart);
    const auto before = world.store.Items;
    ShortcutItem& item = world.store.Items[74];
    item = ShortcutItem{};
    item.IconFile = "C:\\Data\\KivoIcons\\74.png";
    world.files.Put(item.IconFile.str(), "png");
    world.files.Put("C:\\Data\\KivoIcons\\other.png", "png");
    Commands commands = world.Make();
    for (const int number : {72, 74}) commands.RunCommand(number);
    EXPECT_TRUE(world.log.starts_with(atStart ? "EscCancel; ShowIcons" : "EscCancel; HideIcons"));
    EXPECT_EQ(commands.DesktopIconsHidden(), !atStart);
    EXPECT_EQ(world.settings, flipped.settings);
    EXPECT_EQ(world.store.Items[72], flipped.store.Items[72]);
    EXPECT_EQ(item, flipped.store.Items[74]);
    EXPECT_FALSE(world.files.FileExists("C:\\Data\\KivoIcons\\74.png"));
    EXPECT_TRUE(world.files.FileExists("C:\\Data\\KivoIcons\\other.png"));
    for (const int number : {72, 74}) commands.RunCommand(number);
    EXPECT_EQ(world.settings.LockDragging, atStart);
    EXPECT_EQ(world.settings.HideDesktopIcons, atStart ? 1 : 0);
    EXPECT_EQ(world.store.Items, before);
  }
}

// Every target goes to the shell the same way, cleaned of blanks and of garbage after a NUL,
// with the show command of its RunWindow (0, 1, 2; anything else normal), in its own folder
// when it is a program; one the shell refuses is opened with its default verb when it exists
// and reported when it is gone. (The default-verb path is checked only here: under Wine 8
// launching a type that has no "open" verb does not return.)
TEST(LaunchItem, TheShellCallAndWhatFollowsARefusal) {
  const struct {
    int answer, runWindow;
    const char* target;
    const char* calls;
  } cases[] = {
      {42, 0, " C:\\Tools\\APP.Exe", R"(Execute open "C:\Tools\APP.Exe" "-x" "C:\Tools\" 1)"},
      {33, 1, "http://x.org/a.exe", R"(Execute open "http://x.org/a.exe" "-x" "" 2)"},
      {42, 2, "C:/Tools/app.exe", R"(Execute open "C:/Tools/app.exe" "-x" "" 3)"},
      {42, INT32_MIN, "exe", R"(Execute open "exe" "-x" "" 1)"},
      {32, 3, "app.EXE", R"(Execute open "app.EXE" "-x" "" 1; OpenWithDefaultVerb app.EXE)"},
      {0, -1, "\\\\server\\share\\x.eXe",
       R"(Execute open "\\server\share\x.eXe" "-x" "\\server\share\" 1; ShowMessage Problem with Shortcut)"},
      {-1, 5, "C:\\Gone\\x.exe.lnk",
       R"(Execute open "C:\Gone\x.exe.lnk" "-x" "" 1; ShowMessage Problem with Shortcut)"}};
  for (const auto& c : cases) {
    CommandWorld world;
    world.settings.AutoHide = 1;
    world.executeResult = c.answer;
    world.existing = "app.EXE";
    world.store.Items[300].TargetPath = c.target + std::string("  \0\0garbage", 11);
    world.store.Items[300].Arguments = std::string("  -x  \0t", 8);
    world.store.Items[300].RunWindow = c.runWindow;
    EXPECT_EQ(world.Make().LaunchItem(300), c.answer > 32 ? 1 : 0) << c.target;
    EXPECT_EQ(world.log, c.calls + std::string("; EscCancel; MinWindows 2"));
    EXPECT_EQ(world.messages,
              std::vector<ShellMessage>(c.answer < 32 ? 1u : 0u, ShortcutProblemMessage(c.target)));
  }
  for (const int n : {-1, kItemCount, 1 << 30}) {  // outside the store: rest only
    CommandWorld world;
    world.settings.AutoHide = 1;
    EXPECT_EQ(world.Make().LaunchItem(n), 0);
    EXPECT_EQ(world.log, "EscCancel; MinWindows 2") << n;
  }
}

// Each number finds its own row; the built-in items show the table's titles and icons in
// both states of the toggles (72: icons hidden, 74: dragging locked).
TEST(CommandTable, RowsAndTheBuiltInItemsTheyDefine) {
  for (const CommandRow& row : CommandTable()) EXPECT_EQ(FindCommand(row.number), &row);
  for (const int outside : {-1, 64, 104, 1 << 30}) EXPECT_EQ(FindCommand(outside), nullptr);
  EXPECT_EQ(CommandTitle(*FindCommand(65), "bob", true), "打开bob'的文档");
  EXPECT_EQ(CommandTitle(*FindCommand(72), "bob", false), "总是隐藏桌面图标");
  EXPECT_EQ(CommandTitle(*FindCommand(72), "bob", true), "总是显示桌面图标");
  EXPECT_EQ(CommandTitle(*FindCommand(74), "bob", true), "允许拖放图标");
  EXPECT_EQ(CommandIcon(*FindCommand(74), false), "Lock Dragging.png");
  EXPECT_EQ(CommandIcon(*FindCommand(74), true), "Allow Dragging.png");
  EXPECT_EQ(CommandIcon(*FindCommand(73), true), "Switch.png");

  AppPaths paths;
  paths.SystemIconFolder = "D:\\K\\";
  for (const bool second : {false, true}) {
    ShortcutStore store;
    Settings settings;
    settings.LockDragging = second;
    settings.HideDesktopIcons = second ? 1 : 0;
    DefineBuiltInItems(store, settings, paths, "bob", false);
    for (const CommandRow& row : CommandTable()) {
      const ShortcutItem& item = store.Items[static_cast<std::size_t>(row.number)];
      EXPECT_TRUE(row.list < 0 ? item.ItemType == kItemUnused
                               : item.Title == CommandTitle(row, "bob", second) &&
                                     item.IconFile == "D:\\K\\" + CommandIcon(row, second) &&
                                     item.CommandId == row.number)
          << row.number;
    }
    EXPECT_EQ(store.Items[1].CommandId, kComputerCommand);
  }
}

}  // namespace
}  // namespace kivo
