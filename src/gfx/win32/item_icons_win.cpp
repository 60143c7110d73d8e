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

// Row icons are ScaleToDpi(32) pixels square and ring pictures are kept at the centre
// icon's size. A cached copy is named by its size, so copies for monitors of different dpi
// live side by side, and at 96 dpi they are named as they always were.
int RowIconEdge(const RingMetrics& metrics) {
  return ScaleToDpi(kPopupIconSize, metrics.Dpi);
}

struct SourcePicture {
  GpBitmapPtr image;
  bool cached = false;  // the copy from the icon cache, already at the size kept
  std::string file;     // the icon file it comes from ("" for the shell's icon)
  IconStamp stamp;
};

// Whether a cached copy has the size it was written at: a row's is square, a ring copy is
// only written for a picture scaled down, so its longer side is the centre icon's.
bool CopyFits(const std::pair<int, int>& size, int copySize, bool square) {
  if (square) return size == std::pair{copySize, copySize};
  return std::max(size.first, size.second) == copySize && std::min(size.first, size.second) > 0;
}

// The custom icon file, else the icon file, else the shell's icon for the path. With a cache
// folder, a file's copy at `copySize` (square for a row) stands in for decoding the file.
SourcePicture SourceImage(const ShortcutItem& item, const std::string& cacheFolder, int copySize,
                          bool square) {
  for (const std::string* file : {&item.CustomIconFile.str(), &item.IconFile.str()}) {
    const std::optional<IconStamp> stamp = SourceStamp(*file);
    if (!stamp) continue;
    if (!cacheFolder.empty()) {
      GpBitmapPtr copy = ReadCachedIcon(IconCacheFile(cacheFolder, *file, copySize), *stamp);
      if (copy && CopyFits(ImageSize(copy.get()), copySize, square)) {
        return {std::move(copy), true, *file, *stamp};
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

bool IsRingEntry(const ShortcutItem& item) {
  switch (item.ItemType) {
    case 1:
    case 2:
    case 4:
    case 6:
    case 9:
    case 10:
      return true;
    default:
      return false;
  }
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
  const bool row = IsPopupRow(item);
  SourcePicture picture = SourceImage(item, row || IsRingEntry(item) ? cacheFolder : std::string(),
                                      row ? rowEdge : metrics.C, row);
  GpBitmapPtr& source = picture.image;
  if (!source) {
    item.ItemIndex = TemplateIconFor(item);
    return;
  }
  const auto [width, height] = ImageSize(source.get());
  if (IsRingEntry(item)) {
    // Nothing on the ring is drawn larger than the centre icon, so a larger picture is
    // kept at that size: the same pixels on screen for a quarter of the memory and of
    // the work of each magnified frame.
    // The scaled picture is kept in the icon cache, so the next start reads 64 KB instead
    // of decoding the file. A picture no larger is kept as decoded, and not cached: its
    // copy would save little and would not be the same pixels (the copy is premultiplied).
    if (std::max(width, height) > metrics.C && !picture.cached) {
      const double scale = static_cast<double>(metrics.C) / std::max(width, height);
      source = MakeScaledImage(source.get(), std::max(1, static_cast<int>(width * scale + 0.5)),
                               std::max(1, static_cast<int>(height * scale + 0.5)));
      if (!picture.file.empty() && !cacheFolder.empty()) {
        WriteCachedIcon(cacheFolder, IconCacheFile(cacheFolder, picture.file, metrics.C),
                        source.get(), picture.stamp);
      }
    }
    images.Set(ImageTable::Icon, number, std::move(source));
    images.BuildVariant(ImageTable::Icon, number, 1, metrics.N, metrics.N);
  } else if (row) {
    // Rows of a popup need only the small image; the full one is not kept.
    if (picture.cached) {
      images.Release(ImageTable::Icon, number);
      images.SetVariant(ImageTable::Icon, number, kPopupVariant, std::move(source));
      return;
    }
    images.Set(ImageTable::Icon, number, std::move(source));
    images.BuildVariant(ImageTable::Icon, number, kPopupVariant, rowEdge, rowEdge);
    images.DropFull(ImageTable::Icon, number);
    if (!picture.file.empty() && !cacheFolder.empty()) {
      WriteCachedIcon(cacheFolder, IconCacheFile(cacheFolder, picture.file, rowEdge),
                      images.Get({ImageTable::Icon, number, kPopupVariant}), picture.stamp);
    }
  } else if (item.ItemType == kItemUser) {
    images.Set(ImageTable::Icon, number, MakeScaledIconImage(source.get(), width, height));
  }
}

void ReleaseItemImages(ImageTables& images, int number) {
  images.Release(ImageTable::Icon, number);
}

}  // namespace kivo::win
