// Feeds damaged group-icon resources to the reader and the image choice, and the input's
// first bytes as an icon index to the group-name choice.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "items/icon_format.h"

#include "fuzz_check.h"

using kivo::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kivo::ByteSpan bytes(data, size);
  const auto entries = kivo::ParseGroupIcon(bytes);
  Check(entries.size() <= (size < 6 ? 0 : (size - 6) / 14));
  if (!entries.empty()) Check(entries.size() == static_cast<std::size_t>(data[4] | (data[5] << 8)));
  for (const auto& entry : entries)
    Check(entry.width >= 1 && entry.width <= 256 && entry.height >= 1 && entry.height <= 256);

  const auto chosen = kivo::ChooseGroupIconEntry(entries);
  if (chosen) {
    Check(*chosen < entries.size());
    const auto& best = entries[*chosen];
    Check(best.bitCount >= 1 && best.bitCount <= 32);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const auto& e = entries[i];
      if (e.bitCount < 1 || e.bitCount > 32) continue;
      // Nothing usable is larger, deeper at the same size, or an equal that came earlier.
      Check(e.width < best.width || (e.width == best.width && e.bitCount < best.bitCount) ||
            (e.width == best.width && e.bitCount == best.bitCount && i >= *chosen));
    }
  } else {
    for (const auto& e : entries) Check(e.bitCount < 1 || e.bitCount > 32);
  }

  // The resource identifiers of the entries as enumerated names, chosen by an index taken
  // from the input.
  if (size >= 4) {
    std::vector<kivo::ResourceName> names;
    for (const auto& e : entries) names.push_back({true, e.resourceId, {}});
    const auto index = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
        static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24);
    const auto name = kivo::ChooseGroupIconName(names, index);
    if (index < 0) {
      Check(name.has_value() == (index >= -0xFFFF));
      if (name) Check(name->isId && name->id == -index);
    } else {
      Check(name.has_value() == !names.empty());
    }
    if (name) Check(!kivo::ResourceLookupName(*name).empty());
  }
  return 0;
}
