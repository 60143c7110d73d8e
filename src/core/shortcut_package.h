// The shortcut package that "Backup Shortcuts & Icons" writes: the whole menu file image,
// then the bytes of every icon file the store names outside the system icon folder, then
// the end marker "/END" and a zero byte. Packages travel between machines and program
// builds, so the layout is fixed; reading one trusts nothing in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ansi_codec.h"
#include "core/store.h"

namespace kivo {

// The largest icon file a package carries. Real icon files are a few hundred kilobytes at
// most; the bound keeps a damaged length from asking for gigabytes.
inline constexpr std::size_t kMaxPackageIconBytes = std::size_t{16} << 20;
// The largest package read at all: a full store whose every icon is large still fits.
inline constexpr std::size_t kMaxPackageBytes = std::size_t{512} << 20;
inline constexpr std::string_view kPackageEndMarker{"/END\0", 5};
// Items whose icon fields carry blocks: 4..1024.
inline constexpr int kFirstPackagedIconItem = 4;

// Whether a package carries the file an icon field names: the field is not empty and its
// leading characters are not the system icon folder's path (compared exactly, as packages
// written elsewhere compare them).
bool FieldCarriesBlock(const std::string& field, const std::string& systemIconFolder);

struct PackageIcon {
  int item = 0;
  bool custom = false;  // CustomIconFile, else IconFile
  std::string bytes;

  friend bool operator==(const PackageIcon&, const PackageIcon&) = default;
};

struct ShortcutPackage {
  ShortcutStore store;  // the menu file image as stored in the package
  // The system icon folder the package was written with: fields below it carry no block.
  std::string systemIconFolder;
  std::vector<PackageIcon> icons;  // in package order
};

// The package of `store`, made on this machine. A field whose file `readIcon` cannot give
// (missing, unreadable, larger than kMaxPackageIconBytes) is blanked in the package's copy
// of the store only.
std::unique_ptr<ShortcutPackage> MakePackage(
    const ShortcutStore& store, const std::string& systemIconFolder,
    const std::function<std::optional<std::string>(const std::string&)>& readIcon);

// The package's bytes. `package.icons` must be the blocks its store asks for, in order
// (MakePackage and DecodePackage give exactly those).
std::string EncodePackage(const ShortcutPackage& package, const AnsiCodec& codec);

enum class PackageDefect {
  None,
  TooShort,       // shorter than a menu file image and the end marker
  BadStoreImage,  // the menu file image fails the menu file's checks
  BadBlocks,      // a block length out of range, a block cut short, or no end marker
};

struct DecodedPackage {
  // Held on the heap: a store is a quarter of a megabyte, too much for a window thread's stack.
  std::unique_ptr<ShortcutPackage> package;
  PackageDefect defect = PackageDefect::None;
};

// Reads a package. The menu file image gets every check a menu file gets; each block
// length must satisfy 0 <= L <= the bytes left and L <= kMaxPackageIconBytes; the end
// marker must close the package exactly. The folder that decides which fields carry
// blocks is the one the package's own built-in entries name (a package from another
// machine), else `systemIconFolder`; whichever reads the package whole is taken.
DecodedPackage DecodePackage(std::string_view bytes, const AnsiCodec& codec,
                             const std::string& systemIconFolder);

}  // namespace kivo
