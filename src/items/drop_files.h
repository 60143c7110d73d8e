// Files dropped on the dock: which badge a drag shows over each entry, and what a drop
// does (into a group, in place of a shortcut, into a new group, into the recycle bin).
// Portable: the questions, the input box and the recycle bin are reached through DropHost.
#pragma once

#include <string>
#include <vector>

#include "core/shell_utilities.h"
#include "items/item_context.h"
#include "items/item_editor.h"

namespace kivo {

// What the pointer carries over the ring while files are dragged.
enum class DropBadge : int { None = 0, NoDrop, AddIcon, ReplaceIcon };

// A drop hands on at most this many paths; the rest are left where they are.
inline constexpr int kMaxDroppedPaths = 1024;

// The badge over ring slot `target` (0 the centre, -1 none), with `filesOnOffer` when the
// drag carries paths the dock can take.
DropBadge DragOverBadge(const ShortcutStore& store, const Settings& settings, int target,
                        bool filesOnOffer);

// How many members a group of `kind` may reach by a drop (a shortcut or blank slot
// becomes a group of 36).
int DropGroupLimit(int kind);

ShellMessage GroupFullMessage();
ShellMessage RecycleDroppedQuestion();
ShellMessage DesktopGroupFullMessage();
inline constexpr const char* kNewGroupPrompt =
    "Kivo Launcher will create a new shortcut group for you. Please enter the new group name.";
inline constexpr const char* kNewGroupTitle = "Add Shortcut Group";
inline constexpr const char* kNewGroupDefaultName = "New Group";

// What carrying out a drop asks of the user and the system.
class DropHost {
 public:
  virtual ~DropHost() = default;
  // Shows a message; true when the answer was Yes.
  virtual bool Show(const ShellMessage& message) = 0;
  // The input box; "" when the user gave no name.
  virtual std::string AskText(const std::string& prompt, const std::string& title) = 0;
  // Moves one file or folder to the recycle bin; true when the shell did.
  virtual bool Recycle(const std::string& path) = 0;
};

enum class DropResult {
  Ignored,          // no target, dragging locked, nothing dropped
  Refused,          // the target takes no files
  Full,             // the group (or every place for the centre) is full: the user was told
  RecycleDeclined,  // the user kept the files
  Recycled,         // moved to the recycle bin (`count` of them)
  Added,            // `count` items were filled in ring slot `target`
};

struct DropOutcome {
  DropResult result = DropResult::Ignored;
  int target = -1;  // the slot the paths went to (the centre's drop lands elsewhere)
  int count = 0;
  friend bool operator==(const DropOutcome&, const DropOutcome&) = default;
};

// Carries out a drop of `paths` on ring slot `slot` (0 the centre). The caller refreshes
// the dock and saves the store afterwards.
DropOutcome DropFiles(ItemContext& context, ItemEditor& editor, DropHost& host, int slot,
                      std::vector<std::string> paths);

}  // namespace kivo
