// Making shortcuts from paths: what kind of thing a path names, its title, its icon and
// where it goes in the store.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "items/item_context.h"
#include "items/link_files.h"

namespace kivo {

// The title a path gets: its last component; programs and shortcut files (".EXE",
// ".LNK") without the extension unless `isFolder`.
std::string TitleFromPath(std::string_view path, bool isFolder);

class ItemEditor {
 public:
  explicit ItemEditor(ItemContext& context) : context_(context) {}

  // Puts a file, folder, drive or web address into ring slot `slot`: into its group, in
  // place of its shortcut (after asking) or into a blank slot. A path that does not exist,
  // is already in the group, does not fit the group or cannot be stored is not added.
  // `title` replaces the derived title; `iconFile` is a web address's icon. Returns the
  // item that was filled, 0 when nothing changed.
  int AddToGroup(std::string_view path, int slot, std::string_view title = {},
                 std::string_view iconFile = {});

  // Rewrites item `item` from a path, without asking. Returns `item`, or 0 when the path
  // cannot be stored.
  int FillItemFromPath(std::string_view path, int item, std::string_view title = {},
                       std::string_view iconFile = {});

  // Makes the item's icon again from its LinkPath; only IconFile and ItemIndex change.
  // False when the item has no path.
  bool RebuildItemIcon(int item);

  // False when group `slot` already lists the path (letter case counts).
  bool GroupAcceptsPath(int slot, std::string_view path) const;

  // Reads a shell link (".lnk") or an Internet shortcut (".url") into linkInfo().
  void ReadLink(const std::string& linkPath);

  // While quiet, paths that cannot be stored and a full store are skipped without a word
  // (the default groups are built at start-up without questions).
  void SetQuiet(bool quiet) { quiet_ = quiet; }

  const LinkInfo& linkInfo() const { return link_; }
  // The item whose icon was made last.
  int iconTargetItem() const { return iconTarget_; }

 private:
  bool Exists(std::string_view path, bool expand) const;
  std::string Expanded(std::string_view path) const;
  bool Storable(const std::string& path) const;
  std::string SystemIcon(std::string_view name) const;

  void Classify(ShortcutItem& item, int number, const std::string& path, std::string_view title,
                std::string_view iconFile);
  void ClassifyShortcutFile(ShortcutItem& item, const std::string& path);
  void ClassifyInternetShortcut(ShortcutItem& item, const std::string& path);
  void ClassifyProgram(ShortcutItem& item, const std::string& path, const std::string& program,
                       const std::string& key);
  void ClassifyDocument(ShortcutItem& item, const std::string& path, const std::string& key);
  void ClassifyDirectory(ShortcutItem& item, const std::string& path, const std::string& folder,
                         bool throughLink);
  std::string ProgramTitle(const std::string& path, const std::string& program) const;

  // Icon files: a fresh name in the user icon folder, written by one of the makers below;
  // on failure the fallback file of the system icon folder.
  std::string MakeIcon(std::string_view fallback,
                       const std::function<bool(const std::string&)>& make);
  bool ExtractFromLink(const std::string& pngFile);  // the link's icon location, else its target

  ItemContext& context_;
  LinkInfo link_;
  int iconTarget_ = 0;
  bool quiet_ = false;
};

}  // namespace kivo
