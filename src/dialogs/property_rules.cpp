#include "dialogs/property_rules.h"

#include <algorithm>
#include <cstddef>

#include "core/text.h"
#include "items/builtin_items.h"
#include "items/default_groups.h"
#include "items/group_helpers.h"
#include "items/icon_format.h"

namespace kivo {
namespace {

constexpr std::array<const char*, kLinkKindCount> kLinkKindNames = {
    "'Internet' Shortcut", "'Check Email' Shortcut",         "'System Folders & Drives Group'",
    "'Accessories Group'", "'Microsoft Office Suite Group'", "'Website Group'"};

bool IsGroupKind(LinkKind kind) {
  return kind != LinkKind::Internet && kind != LinkKind::Email;
}

// The web browser and mail entries: their fixed titles and pictures, as the default ring
// has them.
struct ClientLook {
  ClientKind client;
  const char* title;
  const char* icon;
};

ClientLook ClientLookOf(LinkKind kind) {
  return kind == LinkKind::Internet ? ClientLook{ClientKind::WebBrowser, "互联网", "Internet.png"}
                                    : ClientLook{ClientKind::Mail, "电子邮件", "Mailbox.png"};
}

// A title the user left empty, or the blank slot's own, lets the path decide.
std::string TitleArgument(const std::string& typed) {
  const std::string title = CleanText(typed);
  return title == kBlankShortcutTitle ? std::string() : title;
}

bool IsMovableRingSlot(int n) {
  return n >= kFirstMovableSlot && n <= kLastRingGroup;
}

ShellMessage Question(const char* text, const char* title, bool defaultNo) {
  ShellMessage m;
  m.text = text;
  m.title = title;
  m.buttons = MessageButtons::YesNo;
  m.icon = MessageIcon::Question;
  m.defaultNo = defaultNo;
  return m;
}

}  // namespace

std::array<std::string, kLinkKindCount> LinkKindCaptions(bool addMode) {
  std::array<std::string, kLinkKindCount> captions;
  const std::string prefix = addMode ? "Add New " : "Replace by  New ";
  for (std::size_t i = 0; i < captions.size(); ++i) captions[i] = prefix + kLinkKindNames[i];
  return captions;
}

int DefaultSlotKindOf(LinkKind kind) {
  switch (kind) {
    case LinkKind::Internet:
      return kDefaultBrowser;
    case LinkKind::Email:
      return kDefaultMail;
    case LinkKind::SystemFolders:
      return kDefaultSystemFolders;
    case LinkKind::Accessories:
      return kDefaultAccessories;
    case LinkKind::Office:
      return kDefaultOffice;
    case LinkKind::WebSites:
      return kDefaultWebSites;
  }
  return kDefaultBrowser;
}

PropertyType PropertyTypeOf(std::int32_t itemType) {
  switch (itemType) {
    case kItemGroup:
      return PropertyType::Group;
    case kItemAllProgramsGroup:
    case kItemRecycleBin:
    case kItemSystemObject:
    case kItemBuiltInCommand:
    case kItemUser:
      return PropertyType::System;
    default:
      return PropertyType::Shortcut;
  }
}

ShellMessage ReplaceQuestion() {
  return Question("Are you sure to replace?", "Properties", true);
}

ShellMessage GroupToShortcutQuestion() {
  return Question("This operation will delete all items of this group, continue?", "Kivo Launcher",
                  false);
}

ShellMessage ShortcutToGroupQuestion() {
  return Question("This operation will delete this shortcut, continue?", "Kivo Launcher", false);
}

ShellMessage ChangeIconFailedMessage() {
  ShellMessage m;
  m.text = "Change icon failed";
  m.title = "Kivo Launcher";
  m.icon = MessageIcon::Exclamation;
  return m;
}

PropertyEditor::PropertyEditor(ItemContext& items, const ItemMenuContext& context, bool addMode,
                               PropertyPrompts& prompts, std::uint32_t osMajor)
    : items_(items),
      editor_(items),
      context_(context),
      addMode_(addMode),
      prompts_(prompts),
      osMajor_(osMajor),
      item_(addMode ? 0 : context.member) {}

const ShortcutItem* PropertyEditor::record() const {
  if (addMode_ || item_ < 0 || item_ > kLastItem) return nullptr;
  return &items_.store.Items[static_cast<std::size_t>(item_)];
}

ShortcutItem& PropertyEditor::Entry(int n) {
  return items_.store.Items[static_cast<std::size_t>(n)];
}

PropertyView PropertyEditor::Reload() {
  PropertyView v;
  v.caption = addMode_ ? kAddShortcutCaption : kPropertyCaption;
  if (addMode_) {
    // A new shortcut: the path and its fields; no type to switch and no icon yet.
    v.titleEnabled = v.linkEnabled = v.linkKindsEnabled = true;
    v.argumentsEnabled = v.runEnabled = v.targetEnabled = true;
    shown_ = v;
    return v;
  }
  const ShortcutItem* entry = record();
  if (entry == nullptr) {
    shown_ = v;
    return v;
  }
  v.type = PropertyTypeOf(entry->ItemType);
  v.title = CleanText(entry->Title);
  v.link = CleanText(entry->LinkPath);
  v.arguments = CleanText(entry->Arguments);
  v.runWindow = std::clamp(entry->RunWindow, 0, 2);
  v.target = CleanText(entry->TargetPath);
  v.iconEnabled = {true, true, true};
  // Only a ring slot that can move has a member list of its own to become a group with;
  // the fixed slots 0..3 and every popup row cannot.
  const bool groupable = OnRing() && IsMovableRingSlot(item_);
  switch (v.type) {
    case PropertyType::Shortcut:
      v.typeEnabled = {true, groupable, false};
      v.titleEnabled = v.linkEnabled = v.argumentsEnabled = true;
      v.runEnabled = v.targetEnabled = true;
      v.linkKindsEnabled = true;
      break;
    case PropertyType::Group:
      v.typeEnabled = {true, true, false};
      v.titleEnabled = true;
      v.linkKindsEnabled = groupable;
      break;
    case PropertyType::System:
      // Built-in entries are defined by the program; only their picture is the user's.
      v.typeEnabled = {false, false, true};
      break;
  }
  shown_ = v;
  return v;
}

bool PropertyEditor::ValidPath(const std::string& path) const {
  if (path.empty()) return false;
  return IsWebAddress(path) || items_.system.FileAttributes(path).has_value();
}

int PropertyEditor::Rebuild(const std::string& path, int item, const std::string& title) {
  ShortcutItem& entry = Entry(item);
  const std::string custom = CleanText(entry.CustomIconFile);
  // Out of the record while the rebuild deletes the item's icon files: the user's own
  // picture stays.
  entry.CustomIconFile = "";
  const int filled = editor_.FillItemFromPath(path, item, title);
  if (!custom.empty()) {
    Entry(item).CustomIconFile = custom;
    if (filled != 0) items_.images.Load(item);
  }
  return filled;
}

void PropertyEditor::ApplyTyped(ShortcutItem& entry, const PropertyInput& input,
                                const std::string& path) {
  entry.RunWindow = std::clamp(input.runWindow, 0, 2);
  // The rebuild made the arguments and the target from the path. What the user typed wins
  // over them; so does what they kept for the same path. Only for a new path do the
  // fields left as they were shown give way, or the old program's target would be
  // launched under the new path.
  const bool samePath = path == shown_.link;
  const std::string arguments = CleanText(input.arguments);
  const std::string target = CleanText(input.target);
  if (samePath || arguments != shown_.arguments) entry.Arguments = arguments;
  if (samePath || target != shown_.target) {
    if (!target.empty()) entry.TargetPath = target;
  }
}

OkResult PropertyEditor::Ok(const PropertyInput& input) {
  std::string path = CleanText(input.link);
  if (!ValidPath(path)) {
    path = CleanText(input.target);
    if (!ValidPath(path)) path.clear();
  }

  if (addMode_) {
    const int slot = context_.slot;
    if (path.empty() || slot < kFirstRingGroup || slot > kLastRingGroup) return OkResult::NotSaved;
    ShortcutItem& entry = Entry(slot);
    // An unused ring slot is a blank one: it takes the path itself.
    if (entry.ItemType == kItemUnused) entry.ItemType = kItemShortcut;
    const int made = editor_.AddToGroup(path, slot, TitleArgument(input.title));
    if (made <= 0) return OkResult::NotSaved;
    item_ = made;
    ApplyTyped(Entry(made), input, path);
    return OkResult::Saved;
  }

  const ShortcutItem* entry = record();
  if (entry == nullptr) return OkResult::NotSaved;
  switch (PropertyTypeOf(entry->ItemType)) {
    case PropertyType::Group: {
      const std::string title = CleanText(input.title);
      if (title.empty() || title == shown_.title) return OkResult::NotSaved;
      Entry(item_).Title = title;
      if (item_ >= kFirstRingGroup && item_ <= kLastRingGroup) {
        UpdateGroupTitle(items_.store, item_);
      }
      return OkResult::Saved;
    }
    case PropertyType::System:
      return OkResult::NotSaved;
    case PropertyType::Shortcut:
      break;
  }
  if (path.empty()) return OkResult::NotSaved;
  if (Rebuild(path, item_, TitleArgument(input.title)) == 0) return OkResult::NotSaved;
  ApplyTyped(Entry(item_), input, path);
  return OkResult::Saved;
}

bool PropertyEditor::Browse(const std::string& file) {
  const std::string path = CleanText(file);
  if (addMode_ || record() == nullptr || !ValidPath(path)) return false;
  if (PropertyTypeOf(record()->ItemType) != PropertyType::Shortcut) return false;
  return Rebuild(path, item_, {}) != 0;
}

ChoiceResult PropertyEditor::ReplaceSlot(int slot, LinkKind kind, bool ask) {
  if (ask && !prompts_.Ask(ReplaceQuestion())) return ChoiceResult::Declined;
  DeleteItem(items_, slot, true);
  editor_.SetQuiet(true);  // a default group skips what this machine lacks, without a word
  BuildDefaultSlot(items_, editor_, DefaultSlotKindOf(kind), slot, osMajor_);
  editor_.SetQuiet(false);
  items_.images.Release(slot);
  items_.images.Load(slot);
  item_ = slot;
  return addMode_ ? ChoiceResult::Added : ChoiceResult::Changed;
}

ChoiceResult PropertyEditor::ClientMember(int item, LinkKind kind) {
  const ClientLook look = ClientLookOf(kind);
  const std::string client = GetDefaultClient(items_, look.client);
  if (client.empty()) return ChoiceResult::Declined;
  int filled = 0;
  if (addMode_) {
    filled = editor_.AddToGroup(client, context_.slot, look.title);
  } else {
    if (!prompts_.Ask(ReplaceQuestion())) return ChoiceResult::Declined;
    filled = editor_.FillItemFromPath(client, item, look.title);
  }
  if (filled <= 0) return ChoiceResult::Declined;
  // The entry shows the program's own picture for web pages or mail, not the browser's.
  ShortcutItem& entry = Entry(filled);
  items_.images.Release(filled);
  DeleteOwnIconFile(items_, entry.IconFile.str());
  entry.IconFile = items_.paths.SystemIconFolder + look.icon;
  items_.images.Load(filled);
  item_ = filled;
  return addMode_ ? ChoiceResult::Added : ChoiceResult::Changed;
}

ChoiceResult PropertyEditor::ChooseLinkKind(LinkKind kind) {
  if (addMode_) {
    const int slot = context_.slot;
    if (slot < kFirstRingGroup || slot > kLastRingGroup) return ChoiceResult::Declined;
    const std::int32_t type = Entry(slot).ItemType;
    if (type == kItemGroup || type == kItemAllProgramsGroup) {
      // A group takes the web browser or the mail program as a new member; a group kind
      // replaces the whole group (never the all-programs group), after asking.
      if (!IsGroupKind(kind)) return ClientMember(0, kind);
      if (type == kItemAllProgramsGroup) return ChoiceResult::Declined;
      return ReplaceSlot(slot, kind, true);
    }
    if (type == kItemUnused || type == kItemShortcut) return ReplaceSlot(slot, kind, false);
    if (type == kItemRingShortcut && IsMovableRingSlot(slot)) return ReplaceSlot(slot, kind, true);
    return ChoiceResult::Declined;
  }

  const ShortcutItem* entry = record();
  if (entry == nullptr || PropertyTypeOf(entry->ItemType) == PropertyType::System) {
    return ChoiceResult::Declined;
  }
  if (OnRing()) {
    if (!IsMovableRingSlot(item_)) return ChoiceResult::Declined;
    return ReplaceSlot(item_, kind, true);
  }
  // A popup row stays a member of its list: it can become the browser or the mail entry,
  // never a group.
  if (IsGroupKind(kind) || entry->ItemType != kItemGroupMember) return ChoiceResult::Declined;
  return ClientMember(item_, kind);
}

ChoiceResult PropertyEditor::SwitchType(PropertyType type) {
  const ShortcutItem* entry = record();
  if (entry == nullptr) return ChoiceResult::Declined;
  const PropertyType current = PropertyTypeOf(entry->ItemType);
  if (type == current || current == PropertyType::System || type == PropertyType::System) {
    return ChoiceResult::Declined;
  }
  if (current == PropertyType::Group) {
    if (!prompts_.Ask(GroupToShortcutQuestion())) return ChoiceResult::Declined;
    DeleteItem(items_, item_, true);  // the members go; the slot becomes a blank shortcut
    return ChoiceResult::Changed;
  }
  if (!OnRing() || !IsMovableRingSlot(item_)) return ChoiceResult::Declined;
  if (entry->ItemType == kItemRingShortcut) {
    if (!prompts_.Ask(ShortcutToGroupQuestion())) return ChoiceResult::Declined;
  }
  DeleteItemIcons(items_, item_);
  ShortcutItem& group = Entry(item_);
  group = ShortcutItem{};
  group.ItemType = kItemGroup;
  group.ItemIndex = item_;
  group.Title = kNewGroupTitle;
  group.IconFile = items_.paths.SystemIconFolder + "Group.png";
  ItemGroup& members = items_.store.Groups[static_cast<std::size_t>(item_)];
  std::fill(members.Members.begin() + 1, members.Members.end(), 0);
  members.Count = 0;
  items_.images.Load(item_);
  return ChoiceResult::Changed;
}

bool PropertyEditor::ChangeIcon(const std::string& picture) {
  if (record() == nullptr) return false;
  const std::string png = NewIconFileName(items_.files, items_.paths.UserIconFolder);
  if (CleanText(picture).empty() || !items_.icons.ConvertIcoFile(CleanText(picture), png)) {
    items_.files.RemoveFile(png);  // nothing half-written stays behind
    prompts_.Tell(ChangeIconFailedMessage());
    return false;
  }
  ShortcutItem& entry = Entry(item_);
  const std::string old = CleanText(entry.CustomIconFile);
  entry.CustomIconFile = png;
  items_.images.Release(item_);
  if (!old.empty() && old != png) DeleteOwnIconFile(items_, old);
  items_.images.Load(item_);
  return true;
}

bool PropertyEditor::RestoreIcon() {
  if (record() == nullptr) return false;
  ShortcutItem& entry = Entry(item_);
  const std::string old = CleanText(entry.CustomIconFile);
  entry.CustomIconFile = "";
  items_.images.Release(item_);
  DeleteOwnIconFile(items_, old);
  if (!CleanText(entry.LinkPath).empty()) editor_.RebuildItemIcon(item_);
  items_.images.Load(item_);
  return true;
}

}  // namespace kivo
