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
      {95, {}, {}},
      {96, {}, {}},
      {97, {}, {}},
      {98, {}, {}},
      {99, {}, {}},
      {100, {}, {}},
      {101, {"EmptyRecycleBin"}, {}},
      {102, {"Execute open \"explorer\" \"::{645FF040-5081-101B-9F08-00AA002F954E}\" null 1"}, {}},
      {103, {"CheckRecycleBin"}, {}},
  };
  return cases;
}

Log Framed(const Log& calls, bool autoHide) {
  Log expected{"EscCancel"};
  expected.insert(expected.end(), calls.begin(), calls.end());
  expected.push_back("EscCancel");
  if (autoHide) expected.push_back("MinWindows 2");
  return expected;
}

TEST(RunCommand, EveryRowMakesItsExactCallsAndReturnsTheDockToRest) {
  std::size_t covered = 0;
  for (const CommandCase& c : CommandCases()) {
    for (const int osMajor : {10, 6, 5}) {
      for (const bool autoHide : {false, true}) {
        CommandWorld world;
        DefineBuiltInItems(world.store, world.settings, world.paths, "alice", false);
        world.settings.AutoHide = autoHide ? 1 : 0;
        Commands commands = world.Make(osMajor);
        commands.RunCommand(c.number);
        const Log& calls = osMajor < 6 && !c.olderCalls.empty() ? c.olderCalls : c.calls;
        EXPECT_EQ(world.log, Framed(calls, autoHide))
            << "command " << c.number << ", major " << osMajor << ", auto-hide " << autoHide;
      }
    }
    ++covered;
  }
  // Every number but the exit command, which has a test of its own.
  EXPECT_EQ(covered, kCommandRowCount - 1);
}

TEST(RunCommand, NumbersOutsideTheTableOnlyReturnTheDockToRest) {
  for (const int number : {-5, 0, 1, 2, 37, 64, 104, 128, 1024, 99999}) {
    CommandWorld world;
    world.settings.AutoHide = 1;
    world.Make().RunCommand(number);
    EXPECT_EQ(world.log, Framed({}, true)) << number;
  }
}

TEST(RunCommand, ExitNeitherHidesNorReturnsTheDockToRestAfterwards) {
  for (const int autoHide : {0, 1}) {
    CommandWorld world;
    world.settings.AutoHide = static_cast<std::uint8_t>(autoHide);
    world.Make().RunCommand(kExitCommand);
    EXPECT_EQ(world.log, (Log{"EscCancel", "ExitProgram"}));
  }
}

TEST(RunCommand, AutoHideOnlyWhenTheSettingIsExactlyOne) {
  for (const int autoHide : {0, 1, 2, 255}) {
    CommandWorld world;
    world.settings.AutoHide = static_cast<std::uint8_t>(autoHide);
    world.Make().RunCommand(97);
    EXPECT_EQ(world.log, Framed({}, autoHide == 1)) << autoHide;
  }
}

TEST(RunCommand, DragLockTwiceReturnsEverythingAndSavesBothFilesBothTimes) {
  for (const bool lockedAtStart : {false, true}) {
    CommandWorld world;
    world.settings.LockDragging = lockedAtStart;
    DefineBuiltInItems(world.store, world.settings, world.paths, "alice", false);
    // A damaged store may have left anything in the item: it is rebuilt.
    ShortcutItem& item = world.store.Items[74];
    const ShortcutItem before = item;
    Commands commands = world.Make();

    item.ItemType = kItemGroupMember;
    item.CommandId = 3;
    item.ItemIndex = 9;
    item.IsSystem = false;
    commands.RunCommand(74);
    EXPECT_EQ(world.settings.LockDragging, !lockedAtStart);
    EXPECT_EQ(item.Title, lockedAtStart ? "禁止拖放图标" : "允许拖放图标");
    EXPECT_EQ(item.IconFile, lockedAtStart ? "C:\\Kivo\\SysIcons\\Lock Dragging.png"
                                           : "C:\\Kivo\\SysIcons\\Allow Dragging.png");
    EXPECT_EQ(item.ItemType, kItemBuiltInCommand);
    EXPECT_TRUE(item.IsSystem);
    EXPECT_EQ(item.CommandId, 74);
    EXPECT_EQ(item.ItemIndex, 74);

    commands.RunCommand(74);
    EXPECT_EQ(world.settings.LockDragging, lockedAtStart);
    EXPECT_EQ(item, before);
    const Log once{"EscCancel", "ReloadItemImage 74", "SaveStore", "SaveSettings", "EscCancel"};
    Log twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(world.log, twice);
  }
}

TEST(RunCommand, DragLockDeletesOnlyGeneratedIconFilesOfTheItem) {
  CommandWorld world;
  world.files.Put("C:\\Data\\KivoIcons\\74.png", "png");
  world.files.Put("C:\\Data\\KivoIcons\\other.png", "png");
  world.files.Put("C:\\Kivo\\SysIcons\\Lock Dragging.png", "png");
  world.store.Items[74].IconFile = "C:\\Data\\KivoIcons\\74.png";
  world.store.Items[74].CustomIconFile = "C:\\Kivo\\SysIcons\\Lock Dragging.png";
  world.Make().RunCommand(74);
  EXPECT_FALSE(world.files.FileExists("C:\\Data\\KivoIcons\\74.png"));
  EXPECT_TRUE(world.files.FileExists("C:\\Data\\KivoIcons\\other.png"));
  EXPECT_TRUE(world.files.FileExists("C:\\Kivo\\SysIcons\\Lock Dragging.png"));
}

TEST(RunCommand, DesktopIconsToggleRetitlesRecordsAndSaves) {
  for (const bool desktopHasIcons : {true, false}) {
    CommandWorld world;
    DefineBuiltInItems(world.store, world.settings, world.paths, "alice", false);
    world.system.desktopHasIcons = desktopHasIcons;
    Commands commands = world.Make();
    EXPECT_FALSE(commands.DesktopIconsHidden());

    commands.RunCommand(72);
    EXPECT_TRUE(commands.DesktopIconsHidden());
    EXPECT_EQ(world.settings.HideDesktopIcons, 1);
    EXPECT_EQ(world.store.Items[72].Title, "总是显示桌面图标");
    commands.RunCommand(72);
    EXPECT_FALSE(commands.DesktopIconsHidden());
    EXPECT_EQ(world.settings.HideDesktopIcons, 0);
    EXPECT_EQ(world.store.Items[72].Title, "总是隐藏桌面图标");
    EXPECT_EQ(world.log, (Log{"EscCancel", "ShowDesktopIcons hide", "SaveSettings", "EscCancel",
                              "EscCancel", "ShowDesktopIcons show", "SaveSettings", "EscCancel"}));
  }
}

TEST(RunCommand, DesktopIconsStateStartsFromTheSettings) {
  CommandWorld world;
  world.settings.HideDesktopIcons = 1;
  Commands commands = world.Make();
  EXPECT_TRUE(commands.DesktopIconsHidden());
  commands.RunCommand(72);
  EXPECT_EQ(world.log[1], "ShowDesktopIcons show");
}

// --- Launching ---

TEST(LaunchShowCommand, RunWindowPlusOneWithinOneToThree) {
  const std::pair<int, int> cases[] = {{0, 1},  {1, 2},  {2, 3},   {3, 1},         {5, 1},
                                       {-1, 1}, {-3, 1}, {100, 1}, {INT32_MIN, 1}, {INT32_MAX, 1}};
  for (const auto& [runWindow, show] : cases) {
    EXPECT_EQ(LaunchShowCommand(runWindow), show) << runWindow;
  }
}

TEST(LaunchDirectory, ProgramsStartInTheirFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Tools\\app.exe", "C:\\Tools\\"},
      {"C:\\Tools\\APP.EXE", "C:\\Tools\\"},
      {"C:\\Tools\\app.Exe", "C:\\Tools\\"},
      {"C:\\app.exe", "C:\\"},
      {"\\\\server\\share\\x.eXe", "\\\\server\\share\\"},
      {"C:\\Tools\\readme.txt", ""},
      {"app.EXE", ""},
      {"C:\\Tools\\app.exe.lnk", ""},
      {"C:\\Tools\\exe", ""},
      {".exe", ""},
      {"exe", ""},
      {"", ""},
      {"C:/Tools/app.exe", ""},
  };
  for (const auto& [path, directory] : cases) {
    EXPECT_EQ(LaunchDirectory(path), directory) << path;
  }
}

TEST(LaunchItem, StartsTheCleanedTargetWithArgumentsDirectoryAndShow) {
  CommandWorld world;
  ShortcutItem& item = world.store.Items[200];
  item.TargetPath = std::string("C:\\Tools\\app.exe   \0\0garbage", 29);
  item.Arguments = std::string("  -x \"a b\"  \0tail", 17);
  item.RunWindow = 5;
  EXPECT_EQ(world.Make().LaunchItem(200), 1);
  ASSERT_EQ(world.system.requests.size(), 1u);
  EXPECT_EQ(world.system.requests[0],
            (ShellRequest{"open", "C:\\Tools\\app.exe", "-x \"a b\"", "C:\\Tools\\", 1}));
  EXPECT_EQ(world.log.back(), "EscCancel");
}

TEST(LaunchItem, EverythingGoesTheSameWayWhateverTheKind) {
  const struct {
    const char* target;
    int runWindow;
    ShellRequest expected;
  } cases[] = {
      {"C:\\Tools\\readme.txt", 1, {"open", "C:\\Tools\\readme.txt", "", "", 2}},
      {"app.EXE", 2, {"open", "app.EXE", "", "", 3}},
      {"http://example.com/a.exe", 0, {"open", "http://example.com/a.exe", "", "", 1}},
      {"D:\\", 0, {"open", "D:\\", "", "", 1}},
      {"", 0, {"open", "", "", "", 1}},
  };
  for (const auto& c : cases) {
    CommandWorld world;
    world.store.Items[300].TargetPath = c.target;
    world.store.Items[300].RunWindow = c.runWindow;
    world.Make().LaunchItem(300);
    ASSERT_EQ(world.system.requests.size(), 1u);
    EXPECT_EQ(world.system.requests[0], c.expected) << c.target;
  }
}

TEST(LaunchItem, AGoneTargetIsReportedAndTheDockStillReturnsToRestAndHides) {
  for (const int autoHide : {0, 1}) {
    for (const int refusal : {0, 2, 31, 32}) {
      CommandWorld world;
      world.settings.AutoHide = static_cast<std::uint8_t>(autoHide);
      world.system.executeResult = refusal;
      world.store.Items[150].TargetPath = "  C:\\Gone\\old.exe  ";
      EXPECT_EQ(world.Make().LaunchItem(150), 0);
      Log expected{"Execute open \"C:\\Gone\\old.exe\" \"\" \"C:\\Gone\\\" 1",
                   "ShowMessage Problem with Shortcut", "EscCancel"};
      if (autoHide == 1) expected.push_back("MinWindows 2");
      EXPECT_EQ(world.log, expected);
      ASSERT_EQ(world.system.messages.size(), 1u);
      const ShellMessage& message = world.system.messages[0];
      EXPECT_EQ(message.text,
                "The item 'C:\\Gone\\old.exe' that this shortcut refers to has been changed or "
                "removed, so this shortcut will no longer work properly.\r\n\r\n");
      EXPECT_EQ(message.buttons, MessageButtons::Ok);
      EXPECT_EQ(message.icon, MessageIcon::Exclamation);
      EXPECT_FALSE(message.defaultNo);
    }
  }
}

TEST(LaunchItem, AnExistingTargetTheShellRefusedOpensWithTheDefaultVerbSilently) {
  CommandWorld world;
  world.settings.AutoHide = 1;
  world.system.executeResult = 31;
  world.system.existing.insert("C:\\Data\\notes.kivo");
  world.store.Items[151].TargetPath = "C:\\Data\\notes.kivo";
  EXPECT_EQ(world.Make().LaunchItem(151), 0);
  EXPECT_EQ(world.log,
            (Log{"Execute open \"C:\\Data\\notes.kivo\" \"\" \"\" 1",
                 "OpenWithDefaultVerb C:\\Data\\notes.kivo", "EscCancel", "MinWindows 2"}));
  EXPECT_TRUE(world.system.messages.empty());
}

TEST(LaunchItem, ResultIsOneExactlyWhenTheShellAnsweredAbove32) {
  for (const int result : {-1, 0, 32, 33, 42, 1 << 20}) {
    CommandWorld world;
    world.system.executeResult = result;
    world.system.existing.insert("C:\\x.txt");
    world.store.Items[160].TargetPath = "C:\\x.txt";
    EXPECT_EQ(world.Make().LaunchItem(160), result > 32 ? 1 : 0) << result;
    EXPECT_EQ(world.log.size(), result > 32 ? 2u : 3u) << result;
  }
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
