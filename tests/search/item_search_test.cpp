#include "search/item_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/iconv_codec.h"

namespace kivo {
namespace {

class ItemSearchIndex : public ::testing::Test {
 protected:
  ItemSearchIndex() {
    // Ring slots 1..4: a shortcut, a blank slot, a group without a target, and slot 4
    // showing item 300 through its group's member 0.
    Set(1, kItemRingShortcut, "计算器", "C:\\Windows\\calc.exe");
    Set(2, kItemShortcut, "空白", "");
    Set(3, kItemGroup, "附件", "");
    Set(300, kItemRingShortcut, "Paint 画图", "C:\\Windows\\mspaint.exe");
    store_.Groups[4].Members[0] = 300;
    // Group 3's members, one of them also the ring's item 1.
    Member(3, 200, "记事本", "C:\\Windows\\notepad.exe");
    Member(3, 201, "My Notes", "D:\\docs\\readme.txt");
    Member(3, 202, "Windows 资源管理器", "C:\\Windows\\explorer.exe");
    Member(3, 1, "", "");
    Member(3, 203, "百度", "http://www.baidu.com/");
    Member(3, 204, "Notes 2", "D:\\docs\\two.txt");
    store_.Items[204].TargetPath = "D:\\docs\\Target.doc";
    Set(100, kItemBuiltInCommand, "关机", "");
    store_.Items[100].IsSystem = true;
    Member(0, 100, "关机", "");
    index_ = BuildSearchIndex(store_, 4, &gb_);
  }
  void Set(int n, int kind, const std::string& title, const std::string& link) {
    ShortcutItem& item = store_.Items[static_cast<std::size_t>(n)];
    item.ItemType = kind;
    if (!title.empty()) item.Title = title;
    if (!link.empty()) item.LinkPath = link;
  }
  void Member(int group, int n, const std::string& title, const std::string& link) {
    ItemGroup& g = store_.Groups[static_cast<std::size_t>(group)];
    g.Members[static_cast<std::size_t>(++g.Count)] = n;
    if (!title.empty()) Set(n, kItemGroupMember, title, link);
  }
  testing::IconvCodec gb_{"CP936"};
  ShortcutStore store_;
  std::vector<SearchEntry> index_;
};

TEST_F(ItemSearchIndex, EachShortcutOnceTitlesRankBeforeInitialsBeforeFileNames) {
  std::vector<int> items;
  for (const SearchEntry& e : index_) items.push_back(e.item);
  EXPECT_EQ(items, (std::vector<int>{1, 300, 100, 200, 201, 202, 203, 204}));
  const std::pair<const char*, std::vector<int>> rows[] = {
      {"not", {204, 201, 200}},     // a title's start, inside one, notepad.exe's start
      {" ｎｏｔｅPAD ", {200}},     // width, case, blanks around
      {"js", {1, 200}},             // initials of 计算器 and 记事本, in index order
      {"exe", {1, 300, 200, 202}},  // inside file names
      {"baidu", {203}},             // a web address's last part
      {"target", {204}},            // the target's file name beside the link's
      {"windows", {202}},           // titles only: the folder C:\Windows is no file name
      {"   ", {}},
      {"附件", {}},  // a group without a target is not offered
      {"空白", {}},  // nor a blank slot
  };
  for (const auto& [query, found] : rows) EXPECT_EQ(FindItems(index_, query), found) << query;
  EXPECT_EQ(FoldForSearch("\xFFx").size(), 2u) << "a malformed byte folds to one character";
}

}  // namespace
}  // namespace kivo
