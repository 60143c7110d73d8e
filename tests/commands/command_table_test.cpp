#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "items/builtin_items.h"

namespace kivo {
namespace {

TEST(CommandTable, EveryNumberOnceInOrderAndOnlyTheGapWithoutACommand) {
  int expected = kFirstCommand;
  for (const CommandRow& row : CommandTable()) {
    EXPECT_EQ(row.number, expected++);
    EXPECT_EQ(FindCommand(row.number), &row);
    const bool gap = row.number >= 95 && row.number <= 100;
    EXPECT_EQ(row.action == CommandAction::None, gap) << row.number;
    EXPECT_EQ(row.list < 0, gap) << row.number;
    // Everything with a command shows a title and an icon of the system icon set.
    EXPECT_EQ(std::string(row.title).empty(), gap) << row.number;
    EXPECT_EQ(std::string(row.icon).ends_with(".png"), !gap) << row.number;
    // A shell row has a verb; every other row has no shell call at all.
    EXPECT_EQ(row.shell.verb != nullptr, row.action == CommandAction::ShellOpen) << row.number;
  }
  EXPECT_EQ(expected, kLastCommand + 1);
  for (int outside : {-1, 0, 64, 104, 1024, 1 << 30}) EXPECT_EQ(FindCommand(outside), nullptr);
}

TEST(CommandTable, ListsAreContiguousRunsOfNumbers) {
  std::map<int, std::pair<int, int>> ranges;  // list -> first, last
  for (const CommandRow& row : CommandTable()) {
    if (row.list < 0) continue;
    auto [it, fresh] = ranges.try_emplace(row.list, row.number, row.number);
    if (!fresh) {
      EXPECT_EQ(it->second.second + 1, row.number) << "list " << row.list;
      it->second.second = row.number;
    }
  }
  const std::map<int, std::pair<int, int>> expected{{0, {65, 80}}, {1, {81, 94}}, {2, {101, 103}}};
  EXPECT_EQ(ranges, expected);
}

TEST(CommandTable, TitlesOfTheVariants) {
  const struct {
    int number;
    bool alternate;
    const char* title;
    const char* icon;
  } cases[] = {
      {65, false, "打开bob'的文档", "UserDoc.png"},
      {65, true, "打开bob'的文档", "UserDoc.png"},
      {72, false, "总是隐藏桌面图标", "Desktop.png"},
      {72, true, "总是显示桌面图标", "Desktop.png"},
      {74, false, "禁止拖放图标", "Lock Dragging.png"},
      {74, true, "允许拖放图标", "Allow Dragging.png"},
      {73, true, "切换桌面", "Switch.png"},
      {94, false, "网络连接", "Network Connection.png"},
  };
  for (const auto& c : cases) {
    const CommandRow& row = *FindCommand(c.number);
    EXPECT_EQ(CommandTitle(row, "bob", c.alternate), c.title) << c.number;
    EXPECT_EQ(CommandIcon(row, c.alternate), c.icon) << c.number;
  }
}

// The built-in items are written from the table, in both states of the toggles.
TEST(CommandTable, BuiltInItemsShowTheTable) {
  AppPaths paths;
  paths.SystemIconFolder = "D:\\K\\SysIcons\\";
  for (const bool second : {false, true}) {
    ShortcutStore store;
    Settings settings;
    settings.LockDragging = second;
    settings.HideDesktopIcons = second ? 1 : 0;
    DefineBuiltInItems(store, settings, paths, "bob", false);
    for (const CommandRow& row : CommandTable()) {
      const ShortcutItem& item = store.Items[static_cast<std::size_t>(row.number)];
      if (row.list < 0) {
        EXPECT_EQ(item.ItemType, kItemUnused) << row.number;
        continue;
      }
      EXPECT_EQ(item.Title, CommandTitle(row, "bob", second)) << row.number;
      EXPECT_EQ(item.IconFile, paths.SystemIconFolder + CommandIcon(row, second)) << row.number;
      EXPECT_EQ(item.CommandId, row.number);
    }
    EXPECT_EQ(store.Items[1].Title, "我的电脑");
    EXPECT_EQ(store.Items[1].IconFile, "D:\\K\\SysIcons\\My Computer.png");
    EXPECT_EQ(store.Items[1].CommandId, kComputerCommand);
  }
}

}  // namespace
}  // namespace kivo
