#include "commands/command_table.h"

#include <gtest/gtest.h>

#include "items/builtin_items.h"

namespace kivo {
namespace {

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
