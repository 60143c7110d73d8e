#include "commands/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/recording_world.h"
#include "items/builtin_items.h"

namespace kivo {
namespace {

using testing::CommandWorld;
using Log = std::vector<std::string>;

const char* const kSysdm =
    "Execute open \"rundll32.exe\" \"shell32.dll,Control_RunDLL sysdm.cpl\" null 1";

// What each command does between the two returns to rest, on Windows Vista or later
// (major 6) and on older systems (major 5), written out independently of the table.
struct CommandCase {
  int number;
  Log calls;       // major 6 and later
  Log olderCalls;  // major 5, when different
};

const std::vector<CommandCase>& CommandCases() {
  static const std::vector<CommandCase> cases{
      {65, {"Execute open \"C:\\Users\\alice\\\" \"\" null 1"}, {}},
      {66, {"ChangeUserNameAndPicture"}, {}},
      {67, {"ShowSettings"}, {}},
      {68, {"ShowAbout"}, {}},
      {69, {"MinWindows 1"}, {}},
      {70, {"MinWindows 2"}, {}},
      {72, {"ShowDesktopIcons hide", "SaveSettings"}, {}},
      {73, {"ToggleShowDesktop"}, {}},
      {74, {"ReloadItemImage 74", "SaveStore", "SaveSettings"}, {}},
      {75, {"SleepComputer"}, {}},
      {76, {"EndSession 1 4294967295"}, {}},
      {77, {"EndSession 2 4294967295"}, {}},
      {78, {"EndSession 0 4294967295"}, {}},
      {79, {"LockWorkstation"}, {}},
      {80, {"MonitorOffSoon"}, {}},
      {81, {"Execute open \"explorer\" \"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\" null 1"}, {}},
      {82,
       {"Execute open \"explorer\" \"::{26EE0668-A00A-44D7-9371-BEB064C98683}\\0\\::{BB06C0E4-"
        "D293-4F75-8A90-CB05B6477EEE}\" null 1"},
       {kSysdm}},
      {83, {"Execute open \"rundll32.exe\" \"shell32.dll,Control_RunDLL desk.cpl,,2\" null 1"}, {}},
      {84, {"Execute open \"rundll32.exe\" \"shell32.dll,Control_RunDLL desk.cpl,,3\" null 1"}, {}},
      {85, {"Execute open \"rundll32.exe\" \"shell32.dll,Control_RunDLL appwiz.cpl\" null 1"}, {}},
      {86,
       {"Execute open \"explorer\" \"::{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}\" null 1"},
       {"Execute open \"rundll32.exe\" \"shell32.dll, Control_RunDLL Ncpa.cpl\" null 1"}},
      {87,
       {"Execute open \"rundll32.exe\" \"shell32.dll, Control_RunDLL Inetcpl.cpl\" null 1"},
       {}},
      {88,
       {"Execute open \"explorer\" \"::{26EE0668-A00A-44D7-9371-BEB064C98683}\" null 1"},
       {"Execute open \"rundll32.exe\" \"shell32.dll, Control_RunDLL\" null 1"}},
      {89, {"Execute open \"explorer\" \"::{208D2C60-3AEA-1069-A2D7-08002B30309D}\" null 1"}, {}},
      {90, {"Execute open \"explorer\" \"::{2227A280-3AEA-1069-A2DE-08002B30309D}\" null 1"}, {}},
      {91, {"Execute open \"devmgmt.msc\" \"\" \"\" 1"}, {}},
      {92, {"Execute find \"\" null null 1"}, {}},
      {93, {"ShowRunDialog"}, {}},
      {94, {"Execute open \"rasphone.exe\" \"\" null 1"}, {}},
      {101, {"EmptyRecycleBin"}, {}},
      {102, {"Execute open \"explorer\" \"::{645FF040-5081-101B-9F08-00AA002F954E}\" null 1"}, {}},
      {103, {"CheckRecycleBin"}, {}},
  };
  return cases;
}

// The dock returns to rest around every command; it hides only when AutoHide is exactly 1.
Log Framed(const Log& calls, int autoHide) {
  Log expected{"EscCancel"};
  expected.insert(expected.end(), calls.begin(), calls.end());
  expected.push_back("EscCancel");
  if (autoHide == 1) expected.push_back("MinWindows 2");
  return expected;
}

TEST(RunCommand, EveryRowMakesItsExactCallsAndReturnsTheDockToRest) {
  std::vector<CommandCase> cases = CommandCases();
  for (int gap = 95; gap <= 100; ++gap) cases.push_back({gap, {}, {}});  // no command
  for (const CommandCase& c : cases) {
    for (const int osMajor : {10, 6, 5}) {
      for (const int autoHide : {0, 1, 2}) {
        CommandWorld world;
        DefineBuiltInItems(world.store, world.settings, world.paths, "alice", false);
        world.settings.AutoHide = static_cast<std::uint8_t>(autoHide);
        world.Make(osMajor).RunCommand(c.number);
        const Log& calls = osMajor < 6 && !c.olderCalls.empty() ? c.olderCalls : c.calls;
        EXPECT_EQ(world.log, Framed(calls, autoHide))
            << "command " << c.number << ", major " << osMajor << ", auto-hide " << autoHide;
      }
    }
  }
  EXPECT_EQ(cases.size(), kCommandRowCount - 1);  // all but the exit command, below

  for (const int number : {-5, 0, 37, 64, 104, 99999}) {  // outside the table: rest only
    CommandWorld world;
    world.settings.AutoHide = 1;
    world.Make().RunCommand(number);
    EXPECT_EQ(world.log, Framed({}, 1)) << number;
  }
  CommandWorld exiting;  // the program ends: nothing is left to return to rest
  exiting.settings.AutoHide = 1;
  exiting.Make().RunCommand(kExitCommand);
  EXPECT_EQ(exiting.log, (Log{"EscCancel", "ExitProgram"}));
}

// Twice from either state: every field of item 74 is rebuilt, and it ends where it started.
TEST(RunCommand, DragLockRebuildsItsItemAndDeletesOnlyItsGeneratedIcon) {
  for (const bool lockedAtStart : {false, true}) {
    CommandWorld world;
    world.settings.LockDragging = lockedAtStart;
    DefineBuiltInItems(world.store, world.settings, world.paths, "alice", false);
    ShortcutItem& item = world.store.Items[74];
    const ShortcutItem before = item;
    world.files.Put("C:\\Data\\KivoIcons\\74.png", "png");
    world.files.Put("C:\\Data\\KivoIcons\\other.png", "png");
    item.ItemType = kItemGroupMember;  // a damaged store may have left anything here
    item.CommandId = 3;
    item.ItemIndex = 9;
    item.IsSystem = false;
    item.IconFile = "C:\\Data\\KivoIcons\\74.png";
    Commands commands = world.Make();
    commands.RunCommand(74);
    EXPECT_EQ(world.settings.LockDragging, !lockedAtStart);
    EXPECT_EQ(item.Title, lockedAtStart ? "禁止拖放图标" : "允许拖放图标");
    EXPECT_EQ(item.IconFile, lockedAtStart ? "C:\\Kivo\\SysIcons\\Lock Dragging.png"
                                           : "C:\\Kivo\\SysIcons\\Allow Dragging.png");
    EXPECT_FALSE(world.files.FileExists("C:\\Data\\KivoIcons\\74.png"));
    EXPECT_TRUE(world.files.FileExists("C:\\Data\\KivoIcons\\other.png"));
    commands.RunCommand(74);
    EXPECT_EQ(world.settings.LockDragging, lockedAtStart);
    EXPECT_EQ(item, before);
  }
}

TEST(RunCommand, DesktopIconsToggleStartsFromTheSettingsAndRetitles) {
  for (const int hiddenAtStart : {0, 1}) {
    CommandWorld world;
    world.settings.HideDesktopIcons = static_cast<std::uint8_t>(hiddenAtStart);
    DefineBuiltInItems(world.store, world.settings, world.paths, "alice", false);
    Commands commands = world.Make();
    for (int click = 1; click <= 2; ++click) {
      const bool hidden = (hiddenAtStart + click) % 2 == 1;
      commands.RunCommand(72);
      EXPECT_EQ(commands.DesktopIconsHidden(), hidden);
      EXPECT_EQ(world.settings.HideDesktopIcons, hidden ? 1 : 0);
      EXPECT_EQ(world.store.Items[72].Title, hidden ? "总是显示桌面图标" : "总是隐藏桌面图标");
      EXPECT_EQ(world.log[1], hidden ? "ShowDesktopIcons hide" : "ShowDesktopIcons show");
      world.log.clear();
    }
  }
}

// --- Launching ---

TEST(LaunchItem, ShowCommandAndDirectory) {
  const std::pair<int, int> shows[] = {{0, 1}, {1, 2}, {2, 3}, {3, 1}, {-1, 1}, {INT32_MIN, 1}};
  for (const auto& [runWindow, show] : shows) EXPECT_EQ(LaunchShowCommand(runWindow), show);
  // Only programs start in their own folder.
  const std::pair<const char*, const char*> directories[] = {
      {"C:\\Tools\\APP.Exe", "C:\\Tools\\"},
      {"\\\\server\\share\\x.eXe", "\\\\server\\share\\"},
      {"C:\\Tools\\readme.txt", ""},
      {"app.EXE", ""},
      {"C:\\Tools\\app.exe.lnk", ""},
      {"exe", ""},
      {"C:/Tools/app.exe", ""},
  };
  for (const auto& [path, directory] : directories) EXPECT_EQ(LaunchDirectory(path), directory);
}

// Every target goes to the shell the same way, cleaned; one it refuses is opened with its
// default verb when it exists and reported when it is gone; the dock returns to rest.
// (The default-verb path is checked only here: under Wine 8 launching a type that has no
// "open" verb does not return.)
TEST(LaunchItem, TheShellCallAndWhatFollowsARefusal) {
  const struct {
    int answer;
    const char* target;     // stored with blanks and garbage after a NUL
    const char* directory;  // where the shell is asked to start it
    const char* then;       // after a refusal
  } cases[] = {
      {42, " C:\\Tools\\app.exe", "\"C:\\Tools\\\"", ""},
      {33, "http://x.org/a.exe", "\"\"", ""},
      {32, "C:\\notes.kivo", "\"\"", "OpenWithDefaultVerb C:\\notes.kivo"},
      {0, "C:\\Gone\\old.exe", "\"C:\\Gone\\\"", "ShowMessage Problem with Shortcut"},
      {-1, "C:\\Gone\\x.txt", "\"\"", "ShowMessage Problem with Shortcut"},
  };
  for (const int autoHide : {0, 1}) {
    for (const auto& c : cases) {
      CommandWorld world;
      world.settings.AutoHide = static_cast<std::uint8_t>(autoHide);
      world.system.executeResult = c.answer;
      const std::string file = std::string(c.target).substr(c.target[0] == ' ' ? 1 : 0);
      if (std::string(c.then).starts_with("Open")) world.system.existing.insert(file);
      world.store.Items[300].TargetPath = c.target + std::string("  \0\0garbage", 11);
      world.store.Items[300].Arguments = std::string("  -x \"a b\"  \0t", 14);
      world.store.Items[300].RunWindow = 5;
      EXPECT_EQ(world.Make().LaunchItem(300), c.answer > 32 ? 1 : 0) << c.target;
      Log expected{"Execute open \"" + file + "\" \"-x \"a b\"\" " + c.directory + " 1"};
      if (*c.then != '\0') expected.push_back(c.then);
      expected.push_back("EscCancel");
      if (autoHide == 1) expected.push_back("MinWindows 2");
      EXPECT_EQ(world.log, expected);
    }
  }
  CommandWorld world;
  world.store.Items[150].TargetPath = "C:\\Gone\\old.exe";
  world.system.executeResult = 2;
  world.Make().LaunchItem(150);
  ASSERT_EQ(world.system.messages.size(), 1u);
  EXPECT_EQ(world.system.messages[0],
            (ShellMessage{"The item 'C:\\Gone\\old.exe' that this shortcut refers to has been "
                          "changed or removed, so this shortcut will no longer work "
                          "properly.\r\n\r\n",
                          "Problem with Shortcut", MessageButtons::Ok, MessageIcon::Exclamation,
                          false, false}));
}

TEST(LaunchItem, ItemNumbersOutsideTheStoreOnlyReturnTheDockToRest) {
  for (const int number : {-1, kItemCount, 1 << 30}) {
    CommandWorld world;
    world.settings.AutoHide = 1;
    EXPECT_EQ(world.Make().LaunchItem(number), 0);
    EXPECT_EQ(world.log, (Log{"EscCancel", "MinWindows 2"})) << number;
  }
}

}  // namespace
}  // namespace kivo
