// The properties dialog's rules, free of any window: what the controls show and which of
// them may be used for an entry, and what OK, the link kinds, the type switch and the icon
// buttons do to the store. Edits one entry (the item menu's context member) or, in add
// mode, puts a new shortcut into the context slot.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/shell_utilities.h"
#include "items/item_context.h"
#include "items/item_editor.h"
#include "items/item_menu.h"

namespace kivo {

inline constexpr const char* kPropertyCaption = "Properties";
inline constexpr const char* kAddShortcutCaption = "Add Shortcut";
inline constexpr const char* kPropertyTabCaption = "  属性  ";
inline constexpr std::array<const char*, 3> kPropertyTypeCaptions = {"快捷方式", "快捷方式组",
                                                                     "系统"};
inline constexpr std::array<const char*, 3> kRunWindowCaptions = {"正常窗口", "最小化", "最大化"};
inline constexpr std::array<const char*, 3> kIconButtonCaptions = {
    "更改图标(&C)", "恢复默认图标(&R)", "搜索图标(&S)"};
inline constexpr const char* kBrowseDialogTitle = "Kivo Launcher - Properties";
inline constexpr const char* kBrowseFilter = "*.lnk;*.exe;*.*";
inline constexpr const char* kChangeIconDialogTitle = "Kivo Launcher - Change Icon";
inline constexpr const char* kChangeIconFilter = "*.ico;*.png";
inline constexpr const char* kNewGroupTitle = "新建组  (空)";
// Where "搜索图标" sends the user: an icon search engine.
inline constexpr const char* kIconSearchAddress = "https://www.iconfinder.com/";

// The six link kinds of the path list, in list order.
enum class LinkKind : int { Internet, Email, SystemFolders, Accessories, Office, WebSites };
inline constexpr int kLinkKindCount = 6;

// The list's texts: "Add New ..." in add mode, "Replace by  New ..." (two blanks) otherwise.
std::array<std::string, kLinkKindCount> LinkKindCaptions(bool addMode);

// The default-slot kind (BuildDefaultSlot) a link kind makes.
int DefaultSlotKindOf(LinkKind kind);

// The three type options.
enum class PropertyType : int { Shortcut = 0, Group = 1, System = 2 };

// Which option an entry's kind selects: groups, system entries (the all-programs group,
// the recycle bin, "My Computer", built-in commands, the user entry) and everything else
// as a shortcut.
PropertyType PropertyTypeOf(std::int32_t itemType);

// What the dialog shows after Reload, and what may be used.
struct PropertyView {
  std::string caption;
  PropertyType type = PropertyType::Shortcut;
  std::string title;
  std::string link;
  std::string arguments;
  int runWindow = 0;  // 0..2, the list index
  std::string target;
  std::array<bool, 3> typeEnabled{};
  bool titleEnabled = false;
  bool linkEnabled = false;       // the path's text and the browse button
  bool linkKindsEnabled = false;  // the list of link kinds
  bool argumentsEnabled = false;
  bool runEnabled = false;
  bool targetEnabled = false;
  std::array<bool, 3> iconEnabled{};  // change, restore, search

  friend bool operator==(const PropertyView&, const PropertyView&) = default;
};

// What the user typed, read from the controls at OK.
struct PropertyInput {
  std::string title;
  std::string link;
  std::string arguments;
  int runWindow = 0;
  std::string target;
};

// The questions of the dialog; Windows shows message boxes, tests answer.
class PropertyPrompts {
 public:
  virtual ~PropertyPrompts() = default;
  // True for Yes.
  virtual bool Ask(const ShellMessage& question) = 0;
  virtual void Tell(const ShellMessage& message) = 0;
};

ShellMessage ReplaceQuestion();          // "Are you sure to replace?"
ShellMessage GroupToShortcutQuestion();  // "...delete all items of this group..."
ShellMessage ShortcutToGroupQuestion();  // "...delete this shortcut..."
ShellMessage ChangeIconFailedMessage();  // "Change icon failed"

enum class OkResult {
  Saved,     // the store changed: refresh the windows and save
  NotSaved,  // no usable path (or nothing to store): nothing was written
};

enum class ChoiceResult {
  Declined,  // the user said No, or the entry cannot take the choice: nothing changed
  Changed,   // the entry changed; the dialog stays open and reloads
  Added,     // add mode made the new entry; the dialog's work is done
};

class PropertyEditor {
 public:
  // `context` is the item menu's (member, slot, position); `addMode` its add-shortcut flag.
  // `osMajor` is the running Windows' major version, for the default groups.
  PropertyEditor(ItemContext& items, const ItemMenuContext& context, bool addMode,
                 PropertyPrompts& prompts, std::uint32_t osMajor);

  bool addMode() const { return addMode_; }
  // The entry the dialog edits: the context member (for a link kind on a ring slot, the
  // slot); 0 in add mode until something was added.
  int item() const { return item_; }
  const ShortcutItem* record() const;

  // Fills the view from the entry and remembers what it showed, so that OK can tell which
  // fields the user typed.
  PropertyView Reload();

  // OK: the path is the link text, else the target text, when it exists or is a web
  // address; without one nothing is written. Edit mode rebuilds the shortcut from the path
  // (keeping a custom icon the user chose), then stores the fields the user changed. Add
  // mode puts the path into the context slot: a new member of a group, or the blank or
  // shortcut slot itself.
  OkResult Ok(const PropertyInput& input);

  // A file chosen with the browse button: edit mode rebuilds the entry from it at once (a
  // custom icon stays); add mode only takes it as the path. False when nothing changed.
  bool Browse(const std::string& file);

  // A link kind picked from the list.
  ChoiceResult ChooseLinkKind(LinkKind kind);

  // The type option clicked; Declined leaves the former option selected.
  ChoiceResult SwitchType(PropertyType type);

  // Makes `picture` the entry's custom icon; tells "Change icon failed" when no icon can
  // be made of it.
  bool ChangeIcon(const std::string& picture);
  // Drops the custom icon and makes the default one again from the path.
  bool RestoreIcon();

 private:
  ShortcutItem& Entry(int n);
  bool OnRing() const { return context_.OnRing(); }
  bool ValidPath(const std::string& path) const;
  // FillItemFromPath with the user's custom icon kept.
  int Rebuild(const std::string& path, int item, const std::string& title);
  void ApplyTyped(ShortcutItem& entry, const PropertyInput& input, const std::string& path);
  ChoiceResult ReplaceSlot(int slot, LinkKind kind, bool ask);
  ChoiceResult ClientMember(int item, LinkKind kind);

  ItemContext& items_;
  ItemEditor editor_;
  ItemMenuContext context_;
  bool addMode_;
  PropertyPrompts& prompts_;
  std::uint32_t osMajor_;
  int item_ = 0;
  PropertyView shown_;
};

}  // namespace kivo
