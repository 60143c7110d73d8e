#include "items/drop_files.h"

#include <algorithm>

#include "core/text.h"
#include "items/group_helpers.h"

namespace kivo {
namespace {

constexpr int kRingGroupLimit = 36;
constexpr int kAllProgramsLimit = 1024;

bool OnRing(int slot) {
  return slot >= 0 && slot <= kLastRingGroup;
}

const ShortcutItem& Entry(const ShortcutStore& store, int slot) {
  return store.Items[static_cast<std::size_t>(slot)];
}

int MemberCount(const ShortcutStore& store, int slot) {
  return store.Groups[static_cast<std::size_t>(slot)].Count;
}

// A group that cannot take one more member.
bool GroupIsFull(const ShortcutStore& store, int slot) {
  const int kind = Entry(store, slot).ItemType;
  if (kind != kItemGroup && kind != kItemAllProgramsGroup) return false;
  return MemberCount(store, slot) >= std::min(DropGroupLimit(kind), GroupCapacity(slot));
}

// A ring shortcut or blank slot becomes an empty group named `name`. Whatever it launched
// goes: a group that still carried its old target would launch it instead of opening.
void MakeGroup(ItemContext& context, int slot, const std::string& name) {
  DeleteItemIcons(context, slot);
  ShortcutItem& entry = context.store.Items[static_cast<std::size_t>(slot)];
  entry = ShortcutItem{};
  entry.ItemType = kItemGroup;
  entry.Title = name;
  entry.ItemIndex = slot;
  entry.IconFile = context.paths.SystemIconFolder + "Group.png";
  // A slot that was not a group has no members to keep.
  context.store.Groups[static_cast<std::size_t>(slot)].Count = 0;
  UpdateGroupTitle(context.store, slot);
  context.images.Load(slot);
}

}  // namespace

int DropGroupLimit(int kind) {
  return kind == kItemAllProgramsGroup ? kAllProgramsLimit : kRingGroupLimit;
}

DropBadge DragOverBadge(const ShortcutStore& store, const Settings& settings, int target,
                        bool filesOnOffer) {
  if (!OnRing(target)) return DropBadge::None;
  if (settings.LockDragging || !filesOnOffer) return DropBadge::NoDrop;
  switch (Entry(store, target).ItemType) {
    case kItemRingShortcut:
      return DropBadge::ReplaceIcon;
    case kItemShortcut:
    case kItemRecycleBin:
      return DropBadge::AddIcon;
    case kItemGroup:
    case kItemAllProgramsGroup:
      return GroupIsFull(store, target) ? DropBadge::NoDrop : DropBadge::AddIcon;
    case kItemUser:
      return FindFreeItem(store, settings.IconCount, -1) >= 1 ? DropBadge::AddIcon
                                                              : DropBadge::NoDrop;
    default:
      return DropBadge::NoDrop;
  }
}

ShellMessage GroupFullMessage() {
  return {"This group is full. Please choose another group or create a new group!",
          "Add Shortcut",
          MessageButtons::Ok,
          MessageIcon::Information,
          false,
          false};
}

ShellMessage RecycleDroppedQuestion() {
  return {"Are you sure you want to move the selected files and folders to the Recycle Bin?",
          "Delete File",
          MessageButtons::YesNo,
          MessageIcon::Question,
          true,
          false};
}

ShellMessage DesktopGroupFullMessage() {
  return {"Desktop Group is full. The selected shortcut will be added to All programs Group",
          "Kivo Launcher",
          MessageButtons::Ok,
          MessageIcon::None,
          false,
          false};
}

DropOutcome DropFiles(ItemContext& context, ItemEditor& editor, DropHost& host, int slot,
                      std::vector<std::string> paths) {
  ShortcutStore& store = context.store;
  if (!OnRing(slot) || context.settings.LockDragging || paths.empty()) return {};
  if (paths.size() > static_cast<std::size_t>(kMaxDroppedPaths)) {
    paths.resize(static_cast<std::size_t>(kMaxDroppedPaths));
  }
  // A full group is told why nothing happens; any other entry that shows the no-drop
  // badge takes nothing, silently, as the badge said.
  if (GroupIsFull(store, slot)) {
    host.Show(GroupFullMessage());
    return {DropResult::Full, slot, 0};
  }
  const bool centre = Entry(store, slot).ItemType == kItemUser;
  if (!centre && DragOverBadge(store, context.settings, slot, true) == DropBadge::NoDrop) {
    return {DropResult::Refused, slot, 0};
  }

  if (Entry(store, slot).ItemType == kItemRecycleBin) {
    if (!host.Show(RecycleDroppedQuestion())) return {DropResult::RecycleDeclined, slot, 0};
    int moved = 0;
    for (const std::string& path : paths) {
      if (host.Recycle(path)) ++moved;
    }
    return {DropResult::Recycled, slot, moved};
  }

  if (centre) {
    // The centre holds no shortcuts: the files go to the first free ring place, else to
    // the all-programs group; with neither, nowhere.
    const int place = FindFreeItem(store, context.settings.IconCount, -1);
    if (place <= 0) {
      host.Show(GroupFullMessage());
      return {DropResult::Full, slot, 0};
    }
    if (place == kAllProgramsGroup) host.Show(DesktopGroupFullMessage());
    slot = place;
    // An unused ring place is taken like a blank one.
    ShortcutItem& entry = store.Items[static_cast<std::size_t>(slot)];
    if (entry.ItemType == kItemUnused) entry.ItemType = kItemShortcut;
  }

  const int kind = Entry(store, slot).ItemType;
  if (paths.size() == 1) {
    const int filled = editor.AddToGroup(paths.front(), slot);
    return {DropResult::Added, slot, filled != 0 ? 1 : 0};
  }

  std::vector<std::string> list;
  switch (kind) {
    case kItemRingShortcut:
    case kItemShortcut: {
      std::string name = CleanText(host.AskText(kNewGroupPrompt, kNewGroupTitle));
      if (name.empty()) name = kNewGroupDefaultName;
      // The shortcut that stood here becomes the group's first member.
      if (kind == kItemRingShortcut) list.push_back(CleanText(Entry(store, slot).LinkPath.str()));
      MakeGroup(context, slot, name);
      break;
    }
    case kItemGroup:
    case kItemAllProgramsGroup:
      break;
    default:
      return {DropResult::Refused, slot, 0};
  }
  list.insert(list.end(), paths.begin(), paths.end());

  const int limit = std::min(DropGroupLimit(Entry(store, slot).ItemType), GroupCapacity(slot));
  int added = 0;
  for (const std::string& path : list) {
    // Paths beyond what the group holds are left out without a word.
    if (MemberCount(store, slot) >= limit) break;
    // Every item for members is taken: said once, not once for each path left.
    if (FindFreeItem(store, context.settings.IconCount, 0) == kNoFreeItem) {
      context.prompts.TellStoreFull();
      break;
    }
    if (editor.AddToGroup(path, slot) != 0) ++added;
  }
  return {DropResult::Added, slot, added};
}

}  // namespace kivo
