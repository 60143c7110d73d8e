#include "gfx/win32/item_images_win.h"

#include "gfx/win32/item_icons_win.h"

namespace kivo::win {

void WinItemImages::Load(int item) {
  if (images_ && metrics_) {
    LoadItemIcon(store_, *images_, *metrics_, item, cacheFolder_);
    return;
  }
  if (cacheFolder_.empty() || item < 0 || item > kLastItem) return;
  const int kind = store_.Items[static_cast<std::size_t>(item)].ItemType;
  if (kind != kItemGroupMember && kind != kItemBuiltInCommand) return;
  if (!scratch_) scratch_ = std::make_unique<ImageTables>();
  LoadItemIcon(store_, *scratch_, RingMetrics{}, item, cacheFolder_);
  scratch_->Release(ImageTable::Icon, item);
}

void WinItemImages::Release(int item) {
  if (images_) ReleaseItemImages(*images_, item);
}

void WinItemImages::Ensure(int item) {
  if (!images_ || item < 0 || item > kLastItem) return;
  if (images_->Get({ImageTable::Icon, item, 0}) ||
      images_->Get({ImageTable::Icon, item, kPopupVariant})) {
    return;
  }
  Load(item);
}

}  // namespace kivo::win
