#include "core/store_file.h"

#include "core/byte_io.h"

namespace kivo {
namespace {

constexpr std::int16_t kVbTrue = -1;

std::size_t ElementCount(int group) {
  return static_cast<std::size_t>(GroupCapacity(group) + 1);
}

template <std::size_t Width>
void PutText(ByteWriter& out, const AnsiCodec& codec, const FixedText<Width>& text) {
  out.PutBytes(EncodeFixedText(codec, text.str(), Width));
}

template <std::size_t Width>
void GetText(ByteReader& in, const AnsiCodec& codec, FixedText<Width>& text) {
  text = DecodeFixedText(codec, in.GetBytes(Width));
}

void PutItem(ByteWriter& out, const AnsiCodec& codec, const ShortcutItem& item) {
  out.Put<std::int32_t>(item.ItemType);
  out.Put<std::uint8_t>(item.ItemClass);
  out.Put<std::int16_t>(item.IsSystem ? kVbTrue : 0);
  out.Put<std::int32_t>(item.CommandId);
  out.Put<std::int16_t>(item.Reserved);
  out.Put<std::int32_t>(item.ItemIndex);
  PutText(out, codec, item.LinkPath);
  PutText(out, codec, item.Title);
  PutText(out, codec, item.CustomIconFile);
  PutText(out, codec, item.IconFile);
  PutText(out, codec, item.TargetPath);
  PutText(out, codec, item.Arguments);
  out.Put<std::int32_t>(item.RunWindow);
}

bool IsKnownKind(std::int32_t kind) {
  switch (kind) {
    case 0:
    case 1:
    case 2:
    case 4:
    case 5:
    case 6:
    case 9:
    case 10:
    case 11:
    case 12:
      return true;
    default:
      return false;
  }
}

ShortcutItem GetItem(ByteReader& in, const AnsiCodec& codec, int number) {
  ShortcutItem item;
  item.ItemType = in.Get<std::int32_t>();
  item.ItemClass = in.Get<std::uint8_t>();
  item.IsSystem = in.Get<std::int16_t>() != 0;
  item.CommandId = in.Get<std::int32_t>();
  item.Reserved = in.Get<std::int16_t>();
  item.ItemIndex = in.Get<std::int32_t>();
  GetText(in, codec, item.LinkPath);
  GetText(in, codec, item.Title);
  GetText(in, codec, item.CustomIconFile);
  GetText(in, codec, item.IconFile);
  GetText(in, codec, item.TargetPath);
  GetText(in, codec, item.Arguments);
  item.RunWindow = in.Get<std::int32_t>();

  // Single fields that other parts use as an index or a choice are brought back into
  // range, so one damaged value costs one setting rather than the whole store.
  if (!IsKnownKind(item.ItemType)) item.ItemType = number <= kLastRingGroup ? kItemShortcut : 0;
  if (item.ItemClass > 2) item.ItemClass = 0;
  if (item.ItemIndex < 0 || item.ItemIndex > kLastItem) item.ItemIndex = number;
  if (item.RunWindow < 0 || item.RunWindow > 2) item.RunWindow = 0;
  return item;
}

bool GetGroup(ByteReader& in, int number, ItemGroup& group) {
  const auto dimensions = in.Get<std::int16_t>();
  const auto elements = in.Get<std::int32_t>();
  const auto lowerBound = in.Get<std::int32_t>();
  if (dimensions != 1 || lowerBound != 0 ||
      elements != static_cast<std::int32_t>(ElementCount(number))) {
    return false;
  }
  group.Members.resize(ElementCount(number));
  for (auto& member : group.Members) member = in.Get<std::int32_t>();
  group.Count = in.Get<std::int32_t>();
  if (group.Count < 0 || group.Count > GroupCapacity(number)) return false;
  for (std::int32_t slot = 1; slot <= group.Count; ++slot) {
    const auto member = group.Members[static_cast<std::size_t>(slot)];
    if (member < 0 || member > kLastItem) return false;
  }
  return !in.overrun();
}

}  // namespace

std::string EncodeStoreFile(const ShortcutStore& store, const AnsiCodec& codec) {
  std::string bytes;
  bytes.reserve(kStoreFileSize);
  ByteWriter out(bytes);
  for (int g = kFirstRingGroup; g <= kLastRingGroup; ++g) {
    const ItemGroup& group = store.Groups[static_cast<std::size_t>(g)];
    const std::size_t elements = ElementCount(g);
    out.Put<std::int16_t>(1);
    out.Put<std::int32_t>(static_cast<std::int32_t>(elements));
    out.Put<std::int32_t>(0);
    for (std::size_t i = 0; i < elements; ++i) {
      out.Put<std::int32_t>(i < group.Members.size() ? group.Members[i] : 0);
    }
    out.Put<std::int32_t>(group.Count);
  }
  for (const ShortcutItem& item : store.Items) PutItem(out, codec, item);
  return bytes;
}

std::optional<StoreFileImage> DecodeStoreFile(const std::string& bytes, const AnsiCodec& codec) {
  if (bytes.size() != kStoreFileSize) return std::nullopt;
  StoreFileImage image;
  ByteReader in(bytes);
  for (int g = kFirstRingGroup; g <= kLastRingGroup; ++g) {
    if (!GetGroup(in, g, image.store.Groups[static_cast<std::size_t>(g)])) return std::nullopt;
  }
  for (int i = 0; i < kItemCount; ++i) {
    image.store.Items[static_cast<std::size_t>(i)] = GetItem(in, codec, i);
  }
  if (in.overrun() || in.position() != bytes.size()) return std::nullopt;
  return image;
}

void ApplyStoreFile(ShortcutStore& store, const StoreFileImage& image) {
  for (int g = kFirstRingGroup; g <= kLastRingGroup; ++g) {
    const auto index = static_cast<std::size_t>(g);
    store.Groups[index] = image.store.Groups[index];
  }
  for (int i = 0; i < kItemCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const ShortcutItem& stored = image.store.Items[index];
    if (i >= kFirstBuiltInCommand && i <= kLastBuiltInCommand) {
      store.Items[index].CustomIconFile = stored.CustomIconFile;
      continue;
    }
    store.Items[index] = stored;
    if (i <= kLastRingGroup && stored.ItemType == kItemUnused) {
      store.Items[index].ItemType = kItemShortcut;
    }
  }
  // The full/empty marks are refreshed once the group entries themselves are loaded;
  // only real group entries carry them.
  for (int g = kFirstRingGroup; g <= kLastRingGroup; ++g) {
    const auto kind = store.Items[static_cast<std::size_t>(g)].ItemType;
    const bool isGroupEntry = kind == kItemGroup || kind == kItemAllProgramsGroup;
    if (isGroupEntry && store.Groups[static_cast<std::size_t>(g)].Count > 1) {
      UpdateGroupTitle(store, g);
    }
  }
}

}  // namespace kivo
