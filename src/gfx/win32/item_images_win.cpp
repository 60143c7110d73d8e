#include "gfx/win32/item_images_win.h"

#include "gfx/win32/item_icons_win.h"

namespace kivo::win {

void WinItemImages::Load(int item) {
  if (images_ && metrics_) LoadItemIcon(store_, *images_, *metrics_, item, cacheFolder_);
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
