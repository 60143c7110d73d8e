// Finding shortcuts by typing: every shortcut of the ring and of the groups, matched by
// its title, the pinyin initials of the title's Chinese characters and its file name,
// ignoring case and the difference between full-width and half-width forms.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ansi_codec.h"
#include "core/store.h"

namespace kivo {

// Text as the search compares it: Unicode code points, ASCII letters in lower case,
// full-width forms (U+FF01..U+FF5E) and the ideographic space as their ASCII twins.
// Malformed UTF-8 bytes become U+FFFD.
std::u32string FoldForSearch(std::string_view utf8);

// The first letter ('a'..'z') of the pinyin of the GB2312 level-1 character with the
// code-page-936 bytes (lead, trail), 0 for any other character. Level 1 holds the 3755
// common characters, sorted by pinyin, so a few boundaries give every initial.
char PinyinInitial(unsigned char lead, unsigned char trail);

// The initials of a title: the pinyin initial of each common Chinese character and the
// first letter or digit of each ASCII word, in order ("Windows 资源管理器" gives
// "wzyglq"). `gb` converts UTF-8 to code page 936; without it only ASCII words count.
std::string TitleInitials(std::string_view utf8, const AnsiCodec* gb);

// One shortcut as the search sees it.
struct SearchEntry {
  int item = 0;
  std::u32string title;  // folded
  std::u32string initials;
  std::u32string file;  // the link's and the target's file names, folded
};

// What a match was found in, best first; the result list is sorted by it, and by the
// order the entries were collected within one rank.
enum class SearchRank : int {
  TitleStart = 0,
  TitleInside,
  InitialsStart,
  InitialsInside,
  FileStart,
  FileInside,
  None
};
SearchRank RankMatch(const SearchEntry& entry, const std::u32string& foldedQuery);

// The shortcuts of the ring's slots 1..`ringSlots` (the item each shows) and then of the
// groups' members, each once: shortcuts, built-in commands and entries with a target;
// blank slots and groups without a target of their own are left out.
std::vector<SearchEntry> BuildSearchIndex(const ShortcutStore& store, int ringSlots,
                                          const AnsiCodec* gb);

// The items matching `query` (blanks at either end ignored), best first; none for an
// empty query.
std::vector<int> FindItems(const std::vector<SearchEntry>& index, std::string_view query);

// What the search field shows of `text`: at most `maxChars` characters, the end of a
// longer text after an ellipsis, so the last character typed is always in view.
std::string FieldTail(std::string_view text, std::size_t maxChars);

// `text` without its last character (a whole UTF-8 sequence).
std::string DropLastChar(std::string_view text);

}  // namespace kivo
