#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "items/builtin_items.h"

namespace kivo {
namespace {

// Numbers 65..103 once each, in order; only 95..100 have no command. Lists are runs.
TEST(CommandTable, EveryNumberOnceInOrderInContiguousLists) {
  int expected = kFirstCommand;
  std::map<int, std::pair<int, int>> lists;  // list -> first, last
  for (const CommandRow& row : CommandTable()) {
    EXPECT_EQ(row.number, expected++);
    EXPECT_EQ(FindCommand(row.number), &row);
    const bool gap = row.number >= 95 && row.number <= 100;
    EXPECT_EQ(row.action == CommandAction::None, gap) << row.number;
    EXPECT_EQ(std::string(row.icon).ends_with(".png"), !gap) << row.number;
    EXPECT_EQ(row.shell.verb != nullptr, row.action == CommandAction::ShellOpen) << row.number;
    if (row.list < 0) continue;
    auto [it, fresh] = lists.try_emplace(row.list, row.number, row.number);
    const int last = fresh ? row.number - 1 : std::exchange(it->second.second, row.number);
    EXPECT_EQ(last + 1, row.number) << "list " << row.list;
  }
  EXPECT_EQ(expected, kLastCommand + 1);
  for (int outside : {-1, 64, 104, 1 << 30}) EXPECT_EQ(FindCommand(outside), nullptr);
  const std::map<int, std::pair<int, int>> expectedLists{
      {0, {65, 80}}, {1, {81, 94}}, {2, {101, 103}}};
  EXPECT_EQ(lists, expectedLists);
}

// The built-in items show the table's titles and icons, in both states of the toggles.
TEST(CommandTable, BuiltInItemsShowTheTitlesOfTheVariants) {
  const std::map<int, std::pair<const char*, const char*>> titles[] = {
      {{65, {"打开bob'的文档", "UserDoc.png"}},
       {72, {"总是隐藏桌面图标", "Desktop.png"}},
       {74, {"禁止拖放图标", "Lock Dragging.png"}},
       {81, {"我的电脑", "My Computer.png"}}},
      {{65, {"打开bob'的文档", "UserDoc.png"}},
       {72, {"总是显示桌面图标", "Desktop.png"}},
       {74, {"允许拖放图标", "Allow Dragging.png"}},
       {73, {"切换桌面", "Switch.png"}}},
  };
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
      EXPECT_EQ(item.ItemType == kItemUnused, row.list < 0) << row.number;
      if (row.list < 0) continue;
      EXPECT_EQ(item.Title, CommandTitle(row, "bob", second)) << row.number;
      EXPECT_EQ(item.IconFile, paths.SystemIconFolder + CommandIcon(row, second)) << row.number;
      EXPECT_EQ(item.CommandId, row.number);
    }
    for (const auto& [number, texts] : titles[second ? 1 : 0]) {
      EXPECT_EQ(store.Items[static_cast<std::size_t>(number)].Title, texts.first);
      EXPECT_EQ(store.Items[static_cast<std::size_t>(number)].IconFile,
                std::string("D:\\K\\") + texts.second);
    }
    EXPECT_EQ(store.Items[1].CommandId, kComputerCommand);
  }
}

}  // namespace
}  // namespace kivo
