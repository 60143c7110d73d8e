#include "core/store.h"

#include <string>
#include <string_view>

namespace kivo {
namespace {

constexpr std::string_view kFullMark = " (满)";
constexpr std::string_view kEmptyMark = " (空)";

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

ShortcutStore::ShortcutStore() {
  Clear();
}

void ShortcutStore::Clear() {
  Items.fill(ShortcutItem{});
  for (int g = 0; g < kGroupCount; ++g) {
    ItemGroup& group = Groups[static_cast<std::size_t>(g)];
    group.Members.assign(static_cast<std::size_t>(GroupCapacity(g) + 1), 0);
    group.Members[0] = g;  // slot 0 names the group itself; the ring slot shows that item
    group.Count = 0;
  }
}

void UpdateGroupTitle(ShortcutStore& store, int group) {
  ShortcutItem& entry = store.Items[static_cast<std::size_t>(group)];
  std::string title = entry.Title.str();
  if (EndsWith(title, kFullMark)) title.resize(title.size() - kFullMark.size());
  if (EndsWith(title, kEmptyMark)) title.resize(title.size() - kEmptyMark.size());
  const std::int32_t count = store.Groups[static_cast<std::size_t>(group)].Count;
  if (count >= 1) {
    // Full means full for this group: group 3 holds 1024, so 36 members there is not full.
    if (count >= GroupCapacity(group)) title += kFullMark;
  } else {
    title += kEmptyMark;
  }
  entry.Title = title;
}

}  // namespace kivo
