#include "gfx/win32/item_icons_win.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "core/text.h"
#include "gfx/win32/icon_cache_win.h"
#include "items/builtin_items.h"
#include "platform/win32/icon_extract_win.h"
#include "platform/win32/image_files.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

// The shell's icon for a path (any file, folder or drive), as a bitmap of its own.
GpBitmapPtr ShellIcon(const std::string& path) {
  const GpBitmapPtr icon = ShellIconBitmap(path);
  if (!icon) return nullptr;
  const auto [width, height] = ImageSize(icon.get());
  return MakeScaledImage(icon.get(), width, height);
}

// --- Row icons at a dpi other than 96 ---
// A row's icon is ScaleToDpi(32) pixels square. Its small copy in the icon cache is named
// by its size ("...px48" at 150 %), so copies for different monitors live side by side and
// the 32-pixel copies are exactly what they are at 96 dpi.
int RowIconEdge(const RingMetrics& metrics) {
  return ScaleToDpi(kPopupIconSize, metrics.Dpi);
}

std::string RowCacheFile(const std::string& cacheFolder, const std::string& file, int edge) {
  std::string name = IconCacheFile(cacheFolder, file);
  const std::string suffix = std::to_string(kPopupIconSize);
  if (edge != kPopupIconSize && name.ends_with(suffix)) {
    name.replace(name.size() - suffix.size(), suffix.size(), std::to_string(edge));
  }
  return name;
}
// ---

struct SourcePicture {
  GpBitmapPtr image;
  bool cachedRow = false;  // the popup row's small copy from the icon cache
  std::string file;        // the icon file it comes from ("" for the shell's icon)
  IconStamp stamp;
};

// The custom icon file, else the icon file, else the shell's icon for the path. With a cache
// folder (popup rows), a file's small copy (`edge` square) stands in for decoding the file.
SourcePicture SourceImage(const ShortcutItem& item, const std::string& cacheFolder, int edge) {
  for (const std::string* file : {&item.CustomIconFile.str(), &item.IconFile.str()}) {
    const std::optional<IconStamp> stamp = SourceStamp(*file);
    if (!stamp) continue;
    if (!cacheFolder.empty()) {
      GpBitmapPtr small = ReadCachedIcon(RowCacheFile(cacheFolder, *file, edge), *stamp);
      if (small && ImageSize(small.get()) == std::pair{edge, edge}) {
        return {std::move(small), true, *file, *stamp};
      }
    }
    if (GpBitmapPtr image = LoadImageFile(Widen(*file))) {
      return {std::move(image), false, *file, *stamp};
    }
  }
  const std::string& link = item.LinkPath.str();
  if (link.empty() || ::GetFileAttributesW(Widen(link).c_str()) == INVALID_FILE_ATTRIBUTES) {
    return {};
  }
  return {ShellIcon(link), false, {}, {}};
}

bool IsPopupRow(const ShortcutItem& item) {
  return item.ItemType == kItemGroupMember || item.ItemType == kItemBuiltInCommand;
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

void LoadItemIcon(ShortcutStore& store, ImageTables& images, const RingMetrics& metrics, int number,
                  const std::string& cacheFolder) {
  if (number < 0 || number > kLastItem) return;
  ShortcutItem& item = store.Items[static_cast<std::size_t>(number)];
  const int rowEdge = RowIconEdge(metrics);
  SourcePicture picture =
      SourceImage(item, IsPopupRow(item) ? cacheFolder : std::string(), rowEdge);
  GpBitmapPtr& source = picture.image;
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
      if (std::max(width, height) > metrics.C) {
        const double scale = static_cast<double>(metrics.C) / std::max(width, height);
        source = MakeScaledImage(source.get(), std::max(1, static_cast<int>(width * scale + 0.5)),
                                 std::max(1, static_cast<int>(height * scale + 0.5)));
      }
      images.Set(ImageTable::Icon, number, std::move(source));
      images.BuildVariant(ImageTable::Icon, number, 1, metrics.N, metrics.N);
      break;
    case 5:
    case 11: {
      // Rows of a popup need only the small image; the full one is not kept.
      if (picture.cachedRow) {
        images.Release(ImageTable::Icon, number);
        images.SetVariant(ImageTable::Icon, number, kPopupVariant, std::move(source));
        break;
      }
      images.Set(ImageTable::Icon, number, std::move(source));
      images.BuildVariant(ImageTable::Icon, number, kPopupVariant, rowEdge, rowEdge);
      images.DropFull(ImageTable::Icon, number);
      if (!picture.file.empty() && !cacheFolder.empty()) {
        WriteCachedIcon(cacheFolder, RowCacheFile(cacheFolder, picture.file, rowEdge),
                        images.Get({ImageTable::Icon, number, kPopupVariant}), picture.stamp);
      }
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
