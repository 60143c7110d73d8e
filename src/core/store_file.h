// The menu file "KivoMenu.cfg": groups 3..36, then items 0..1024, as fixed records.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/ansi_codec.h"
#include "core/store.h"

namespace kivo {

inline constexpr std::size_t kItemRecordSize = 1297;
inline constexpr std::size_t kGroupBlockSize = 9460;
inline constexpr std::size_t kStoreFileSize = kGroupBlockSize + kItemCount * kItemRecordSize;

std::string EncodeStoreFile(const ShortcutStore& store, const AnsiCodec& codec);

// What a sound menu file holds: the user groups and every item record as stored.
struct StoreFileImage {
  ShortcutStore store;
};

// Decodes a menu file, or nothing when it is not a sound one: wrong size, a group record
// whose dimensions are not the expected ones, a `Count` beyond the group's capacity or a
// member number outside 0..1024. Out-of-range values of single fields (a window state or
// class the program does not know) are repaired rather than rejected.
std::optional<StoreFileImage> DecodeStoreFile(const std::string& bytes, const AnsiCodec& codec);

// Takes a decoded file into the live store, which already holds the built-in definitions:
// user groups replaced wholesale, items 0..64 and 129..1024 taken as stored (an unused
// ring item 0..36 becomes an ordinary shortcut), items 65..128 keep their built-in
// definition except for the user's own icon file.
void ApplyStoreFile(ShortcutStore& store, const StoreFileImage& image);

}  // namespace kivo
