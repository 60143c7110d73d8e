// Everything that making, changing and deleting shortcuts works with.
#pragma once

#include <string>

#include "core/ansi_codec.h"
#include "core/file_system.h"
#include "core/paths.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/store.h"
#include "items/item_system.h"

namespace kivo {

// The questions and notices of item editing. Windows shows message boxes; tests answer.
class ItemPrompts {
 public:
  virtual ~ItemPrompts() = default;
  // "Replace shortcut": the dropped path would replace a ring shortcut. True = Yes.
  virtual bool ConfirmReplaceShortcut() = 0;
  // "Delete Shortcut Group" / "Delete All Programs Group". True = Yes.
  virtual bool ConfirmDeleteGroup(bool allProgramsGroup) = 0;
  // Every item for group members is taken: nothing more can be stored.
  virtual void TellStoreFull() = 0;
  // The path cannot be kept in the store's ANSI fields without damage.
  virtual void TellPathNotStorable(const std::string& path) = 0;
};

// The item images the windows draw, kept in step with the items.
class ItemImages {
 public:
  virtual ~ItemImages() = default;
  // (Re)loads the item's images from its icon files (LoadItemIcon).
  virtual void Load(int item) = 0;
  // Releases every image of the item.
  virtual void Release(int item) = 0;
};

struct ItemContext {
  ShortcutStore& store;
  const AppPaths& paths;
  const Settings& settings;
  FileSystem& files;
  ItemSystem& system;
  IconMaker& icons;
  Registry& registry;
  const AnsiCodec& codec;
  ItemPrompts& prompts;
  ItemImages& images;
};

}  // namespace kivo
