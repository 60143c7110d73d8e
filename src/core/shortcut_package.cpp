#include "core/shortcut_package.h"

#include <map>

#include "core/byte_io.h"
#include "core/store_file.h"

namespace kivo {
namespace {

struct BlockSpan {
  int item = 0;
  bool custom = false;
  std::size_t offset = 0;
  std::size_t length = 0;
};

// Calls `visit(item, custom, field)` for every icon field in package order: items
// 4..1024, each first its IconFile, then its CustomIconFile.
template <typename Store, typename Visit>
void ForEachIconField(Store& store, Visit&& visit) {
  for (int item = kFirstPackagedIconItem; item <= kLastItem; ++item) {
    auto& entry = store.Items[static_cast<std::size_t>(item)];
    visit(item, false, entry.IconFile);
    visit(item, true, entry.CustomIconFile);
  }
}

// The blocks a package holds after its menu file image when `folder` is the system icon
// folder it was written with; nothing unless they and the end marker fill it exactly.
std::optional<std::vector<BlockSpan>> FindBlocks(std::string_view bytes, const ShortcutStore& store,
                                                 const std::string& folder) {
  std::vector<BlockSpan> spans;
  std::size_t pos = kStoreFileSize;
  bool sound = true;
  ForEachIconField(store, [&](int item, bool custom, const auto& field) {
    if (!sound || !FieldCarriesBlock(field.str(), folder)) return;
    if (bytes.size() - pos < 4) {
      sound = false;
      return;
    }
    ByteReader in(bytes.substr(pos, 4));
    const auto length = in.Get<std::int32_t>();
    pos += 4;
    if (length < 0 || static_cast<std::size_t>(length) > bytes.size() - pos ||
        static_cast<std::size_t>(length) > kMaxPackageIconBytes) {
      sound = false;
      return;
    }
    spans.push_back({item, custom, pos, static_cast<std::size_t>(length)});
    pos += static_cast<std::size_t>(length);
  });
  if (!sound || bytes.substr(pos) != kPackageEndMarker) return std::nullopt;
  return spans;
}

// The folder the package's built-in entries take their pictures from: the most common
// folder among the icon files of items 1, 2, 37..42 and 65..128.
std::string PackageSystemFolder(const ShortcutStore& store) {
  std::map<std::string, int> votes;
  auto vote = [&](int item) {
    const std::string file = store.Items[static_cast<std::size_t>(item)].IconFile.str();
    const auto slash = file.rfind('\\');
    if (slash != std::string::npos && slash > 0) ++votes[file.substr(0, slash + 1)];
  };
  for (int item : {1, 2}) vote(item);
  for (int item = kFirstTemplateItem; item <= 42; ++item) vote(item);
  for (int item = kFirstBuiltInCommand; item <= kLastBuiltInCommand; ++item) vote(item);
  std::string best;
  int bestVotes = 0;
  for (const auto& [folder, count] : votes) {
    if (count > bestVotes) {
      best = folder;
      bestVotes = count;
    }
  }
  return best;
}

}  // namespace

bool FieldCarriesBlock(const std::string& field, const std::string& systemIconFolder) {
  return !field.empty() && field.compare(0, systemIconFolder.size(), systemIconFolder) != 0;
}

std::unique_ptr<ShortcutPackage> MakePackage(
    const ShortcutStore& store, const std::string& systemIconFolder,
    const std::function<std::optional<std::string>(const std::string&)>& readIcon) {
  auto made = std::make_unique<ShortcutPackage>();
  ShortcutPackage& package = *made;
  package.store = store;
  package.systemIconFolder = systemIconFolder;
  ForEachIconField(package.store, [&](int item, bool custom, auto& field) {
    const std::string path = field.str();
    if (!FieldCarriesBlock(path, systemIconFolder)) return;
    auto bytes = readIcon(path);
    if (!bytes || bytes->size() > kMaxPackageIconBytes) {
      field = std::string();
      return;
    }
    package.icons.push_back({item, custom, std::move(*bytes)});
  });
  return made;
}

std::string EncodePackage(const ShortcutPackage& package, const AnsiCodec& codec) {
  std::size_t total = kStoreFileSize + kPackageEndMarker.size();
  for (const PackageIcon& icon : package.icons) total += 4 + icon.bytes.size();
  std::string bytes = EncodeStoreFile(package.store, codec);
  bytes.reserve(total);
  ByteWriter out(bytes);
  for (const PackageIcon& icon : package.icons) {
    out.Put<std::int32_t>(static_cast<std::int32_t>(icon.bytes.size()));
    out.PutBytes(icon.bytes);
  }
  out.PutBytes(kPackageEndMarker);
  return bytes;
}

DecodedPackage DecodePackage(std::string_view bytes, const AnsiCodec& codec,
                             const std::string& systemIconFolder) {
  DecodedPackage result;
  if (bytes.size() < kStoreFileSize + kPackageEndMarker.size()) {
    result.defect = PackageDefect::TooShort;
    return result;
  }
  auto image = DecodeStoreFile(std::string(bytes.substr(0, kStoreFileSize)), codec);
  if (!image) {
    result.defect = PackageDefect::BadStoreImage;
    return result;
  }
  std::vector<std::string> folders;
  if (std::string own = PackageSystemFolder(image->store); !own.empty()) folders.push_back(own);
  if (folders.empty() || folders.front() != systemIconFolder) folders.push_back(systemIconFolder);
  for (const std::string& folder : folders) {
    const auto spans = FindBlocks(bytes, image->store, folder);
    if (!spans) continue;
    auto made = std::make_unique<ShortcutPackage>();
    ShortcutPackage& package = *made;
    package.systemIconFolder = folder;
    package.icons.reserve(spans->size());
    for (const BlockSpan& span : *spans) {
      package.icons.push_back(
          {span.item, span.custom, std::string(bytes.substr(span.offset, span.length))});
    }
    package.store = std::move(image->store);
    result.package = std::move(made);
    return result;
  }
  result.defect = PackageDefect::BadBlocks;
  return result;
}

}  // namespace kivo
