#include "gfx/win32/item_icons_win.h"

#include <algorithm>

#include "core/text.h"
#include "items/builtin_items.h"
#include "platform/win32/icon_extract_win.h"
#include "platform/win32/image_files.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

bool IsFile(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES;
}

// The shell's icon for a path (any file, folder or drive), as a bitmap of its own.
GpBitmapPtr ShellIcon(const std::string& path) {
  const GpBitmapPtr icon = ShellIconBitmap(path);
  if (!icon) return nullptr;
  const auto [width, height] = ImageSize(icon.get());
  return MakeScaledImage(icon.get(), width, height);
}

GpBitmapPtr SourceImage(const ShortcutItem& item) {
  for (const std::string* file : {&item.CustomIconFile.str(), &item.IconFile.str()}) {
    if (IsFile(*file)) {
      if (GpBitmapPtr image = LoadImageFile(Widen(*file))) return image;
    }
  }
  const std::string& link = item.LinkPath.str();
  return IsFile(link) ? ShellIcon(link) : nullptr;
}

}  // namespace

int TemplateIconFor(const ShortcutItem& item) {
  switch (item.ItemClass) {
    case 1:
      return kApplicationTemplate;
    case 2:
      return kFileTemplate;
    default:
      return kShortcutTemplate;
  }
}

void LoadItemIcon(ShortcutStore& store, ImageTables& images, const RingMetrics& metrics,
                  int number) {
  if (number < 0 || number > kLastItem) return;
  ShortcutItem& item = store.Items[static_cast<std::size_t>(number)];
  GpBitmapPtr source = SourceImage(item);
  if (!source) {
    item.ItemIndex = TemplateIconFor(item);
    return;
  }
  const auto [width, height] = ImageSize(source.get());
  switch (item.ItemType) {
    case 1:
    case 2:
    case 4:
    case 6:
    case 9:
    case 10:
      // Nothing on the ring is drawn larger than the centre icon, so a larger picture is
      // kept at that size: the same pixels on screen for a quarter of the memory and of
      // the work of each magnified frame.
      if (std::max(width, height) > kCentreIconSize) {
        const double scale = static_cast<double>(kCentreIconSize) / std::max(width, height);
        source = MakeScaledImage(source.get(), std::max(1, static_cast<int>(width * scale + 0.5)),
                                 std::max(1, static_cast<int>(height * scale + 0.5)));
      }
      images.Set(ImageTable::Icon, number, std::move(source));
      images.BuildVariant(ImageTable::Icon, number, 1, metrics.N, metrics.N);
      break;
    case 5:
    case 11: {
      // Rows of a popup need only the small image; the full one is not kept.
      images.Set(ImageTable::Icon, number, std::move(source));
      images.BuildVariant(ImageTable::Icon, number, kPopupVariant, kPopupIconSize, kPopupIconSize);
      images.DropFull(ImageTable::Icon, number);
      break;
    }
    case kItemUser:
      images.Set(ImageTable::Icon, number, MakeScaledIconImage(source.get(), width, height));
      break;
    default:
      break;
  }
}

void ReleaseItemImages(ImageTables& images, int number) {
  images.Release(ImageTable::Icon, number);
}

}  // namespace kivo::win
