// Item editing's images as the image tables' entries.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "dock/ring_geometry.h"
#include "gfx/win32/image_tables.h"
#include "items/item_context.h"

namespace kivo::win {

// Until the windows exist there are no tables: the items are loaded with the skin then.
class WinItemImages final : public ItemImages {
 public:
  explicit WinItemImages(ShortcutStore& store) : store_(store) {}
  // Attaching (or detaching, before GDI+ stops) drops the scratch tables of the cache.
  void Attach(ImageTables* images, const RingMetrics* metrics) {
    images_ = images;
    metrics_ = metrics;
    scratch_.reset();
  }
  // Popup rows' small images are kept in this folder (IconCacheFolder); none without it.
  void UseIconCache(std::string folder) { cacheFolder_ = std::move(folder); }
  // Without the tables (entries made before the windows exist, as the default groups at a
  // first start) a popup row's small copy still goes into the icon cache, so the first
  // list that shows the row need not decode its picture.
  void Load(int item) override;
  void Release(int item) override;
  // Loads a popup row's image the first time it is needed: start-up loads only what the
  // ring shows, so that a store full of shortcuts does not slow every start.
  void Ensure(int item);

 private:
  ShortcutStore& store_;
  ImageTables* images_ = nullptr;
  const RingMetrics* metrics_ = nullptr;
  std::string cacheFolder_;
  std::unique_ptr<ImageTables> scratch_;  // where rows are made for the cache alone
};

}  // namespace kivo::win
