#include "search/item_search.h"

#include <algorithm>
#include <array>
#include <set>

#include "core/text.h"

namespace kivo {
namespace {

char32_t Fold(char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) c = c - 0xFF01 + 0x21;  // full-width forms
  if (c == 0x3000) c = U' ';                              // the ideographic space
  if (c >= U'A' && c <= U'Z') c = c - U'A' + U'a';
  return c;
}

bool IsAsciiWordChar(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9');
}

// The first code of each initial in GB2312 level 1 (lead byte * 256 + trail byte). The
// letters i, u and v begin no pinyin syllable; the level ends at 0xD7F9.
struct InitialStart {
  unsigned code;
  char letter;
};
constexpr std::array<InitialStart, 23> kInitialStarts{{
    {0xB0A1, 'a'}, {0xB0C5, 'b'}, {0xB2C1, 'c'}, {0xB4EE, 'd'}, {0xB6EA, 'e'}, {0xB7A2, 'f'},
    {0xB8C1, 'g'}, {0xB9FE, 'h'}, {0xBBF7, 'j'}, {0xBFA6, 'k'}, {0xC0AC, 'l'}, {0xC2E8, 'm'},
    {0xC4C3, 'n'}, {0xC5B6, 'o'}, {0xC5BE, 'p'}, {0xC6DA, 'q'}, {0xC8BB, 'r'}, {0xC8F6, 's'},
    {0xCBFA, 't'}, {0xCDDA, 'w'}, {0xCEF4, 'x'}, {0xD1B9, 'y'}, {0xD4D1, 'z'},
}};
constexpr unsigned kLastLevelOne = 0xD7F9;

bool IsCjk(char32_t c) {
  return c >= 0x4E00 && c <= 0x9FFF;
}

std::u32string Widen(std::string_view ascii) {
  return std::u32string(ascii.begin(), ascii.end());
}

// The file name at the end of a path or web address (after the last separator).
std::string_view FileNameOf(std::string_view path) {
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
  const std::size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// Worth offering: something a click on the result starts.
bool Searchable(const ShortcutItem& item) {
  switch (item.ItemType) {
    case kItemRingShortcut:
    case kItemGroupMember:
    case kItemBuiltInCommand:
      return item.IsSystem || !CleanText(item.LinkPath.str()).empty();
    case kItemGroup:
    case kItemAllProgramsGroup:
    case kItemRecycleBin:
    case kItemSystemObject:
      // A group entry opens its list; only one with a target or a command of its own
      // starts something.
      return item.IsSystem || !CleanText(item.LinkPath.str()).empty();
    default:
      return false;
  }
}

}  // namespace

std::u32string FoldForSearch(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) out += Fold(NextCodePoint(utf8, pos));
  return out;
}

char PinyinInitial(unsigned char lead, unsigned char trail) {
  const unsigned code = static_cast<unsigned>(lead) << 8 | trail;
  if (code < kInitialStarts.front().code || code > kLastLevelOne) return 0;
  // Trail bytes run 0xA1..0xFE within each lead byte.
  if (trail < 0xA1 || trail > 0xFE) return 0;
  const auto after = std::upper_bound(
      kInitialStarts.begin(), kInitialStarts.end(), code,
      [](unsigned value, const InitialStart& start) { return value < start.code; });
  return std::prev(after)->letter;
}

std::string TitleInitials(std::string_view utf8, const AnsiCodec* gb) {
  std::string out;
  bool inWord = false;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = Fold(NextCodePoint(utf8, pos));
    if (IsAsciiWordChar(c)) {
      if (!inWord) out += static_cast<char>(c);
      inWord = true;
      continue;
    }
    inWord = false;
    if (gb == nullptr || !IsCjk(c)) continue;
    std::string character;
    AppendUtf8(character, c);
    const std::string bytes = gb->Encode(character);
    if (bytes.size() != 2) continue;
    const char initial =
        PinyinInitial(static_cast<unsigned char>(bytes[0]), static_cast<unsigned char>(bytes[1]));
    if (initial != 0) out += initial;
  }
  return out;
}

SearchRank RankMatch(const SearchEntry& entry, const std::u32string& query) {
  if (query.empty()) return SearchRank::None;
  const struct {
    const std::u32string& text;
    SearchRank start;
    SearchRank inside;
  } fields[] = {{entry.title, SearchRank::TitleStart, SearchRank::TitleInside},
                {entry.initials, SearchRank::InitialsStart, SearchRank::InitialsInside},
                {entry.file, SearchRank::FileStart, SearchRank::FileInside}};
  for (const auto& field : fields) {
    const std::size_t at = field.text.find(query);
    if (at == 0) return field.start;
    if (at != std::u32string::npos) return field.inside;
  }
  return SearchRank::None;
}

std::vector<SearchEntry> BuildSearchIndex(const ShortcutStore& store, int ringSlots,
                                          const AnsiCodec* gb) {
  std::vector<int> order;
  const auto itemAt = [&](int number) -> const ShortcutItem& {
    return store.Items[static_cast<std::size_t>(number)];
  };
  const int slots = std::clamp(ringSlots, 0, kLastRingGroup);
  for (int slot = 1; slot <= slots; ++slot) {
    // A ring group's member 0 names the item its slot shows, as the ring draws it.
    const auto& members = store.Groups[static_cast<std::size_t>(slot)].Members;
    int item = slot;
    if (!members.empty() && members[0] >= 0 && members[0] <= kLastItem) item = members[0];
    order.push_back(item);
  }
  for (const ItemGroup& group : store.Groups) {
    const int count = std::clamp(group.Count, 0, static_cast<int>(group.Members.size()) - 1);
    for (int m = 1; m <= count; ++m) order.push_back(group.Members[static_cast<std::size_t>(m)]);
  }
  std::vector<SearchEntry> index;
  std::set<int> seen;
  for (const int number : order) {
    if (number < 1 || number > kLastItem || !seen.insert(number).second) continue;
    const ShortcutItem& item = itemAt(number);
    if (!Searchable(item)) continue;
    const std::string title = CleanText(item.Title.str());
    // The link's file name, and the target's where a shortcut file leads elsewhere, kept
    // apart by a character no one types.
    std::string files(FileNameOf(CleanText(item.LinkPath.str())));
    const std::string target(FileNameOf(CleanText(item.TargetPath.str())));
    if (!target.empty() && FoldForSearch(target) != FoldForSearch(files)) files += "\n" + target;
    index.push_back(SearchEntry{number, FoldForSearch(title), Widen(TitleInitials(title, gb)),
                                FoldForSearch(files)});
  }
  return index;
}

std::vector<int> FindItems(const std::vector<SearchEntry>& index, std::string_view query) {
  std::u32string folded = FoldForSearch(query);
  const auto blank = [](char32_t c) { return c == U' ' || c == U'\t'; };
  while (!folded.empty() && blank(folded.back())) folded.pop_back();
  const auto first = std::find_if_not(folded.begin(), folded.end(), blank);
  folded.erase(folded.begin(), first);
  std::vector<std::pair<SearchRank, int>> found;
  if (folded.empty()) return {};
  for (const SearchEntry& entry : index) {
    const SearchRank rank = RankMatch(entry, folded);
    if (rank != SearchRank::None) found.emplace_back(rank, entry.item);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<int> items;
  items.reserve(found.size());
  for (const auto& [rank, item] : found) items.push_back(item);
  return items;
}

std::string FieldTail(std::string_view text, std::size_t maxChars) {
  const std::size_t chars = CountChars(text);
  if (chars <= maxChars || maxChars == 0) return std::string(chars <= maxChars ? text : "");
  std::size_t pos = 0;
  for (std::size_t skip = chars - (maxChars - 1); skip > 0; --skip) {
    pos += Utf8SequenceLength(text, pos);
  }
  return "\xE2\x80\xA6" + std::string(text.substr(pos));  // "…"
}

std::string DropLastChar(std::string_view text) {
  std::size_t last = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += Utf8SequenceLength(text, pos)) last = pos;
  return std::string(text.substr(0, last));
}

}  // namespace kivo
