// Feeds damaged ".ico" files to the directory reader and the image choice: every entry it
// accepts must describe bytes inside the file, and the chosen image must be one of them.
#include <cstdint>
#include <cstdlib>

#include "items/icon_format.h"

#include "fuzz_check.h"

using kivo::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kivo::ByteSpan bytes(data, size);
  const auto entries = kivo::ParseIcoDirectory(bytes);
  Check(entries.size() <= (size < 6 ? 0 : (size - 6) / 16));
  unsigned sum = 0;
  for (const auto& entry : entries) {
    Check(entry.width >= 1 && entry.width <= 256 && entry.height >= 1 && entry.height <= 256);
    Check(entry.bytes > 0 && entry.offset >= 6 + 16 * entries.size());
    const auto image = kivo::IcoImageBytes(bytes, entry);
    Check(image.size() == entry.bytes);
    Check(image.data() == data + entry.offset);
    // Touch the first and last byte so that a wrong span shows up under ASan.
    sum += image.front() + image.back();
    kivo::IsPng(image);
    kivo::IcoImageBitCount(bytes, entry);
  }
  const auto chosen = kivo::ChooseIcoEntry(bytes, entries);
  if (chosen) {
    Check(*chosen < entries.size());
    const auto bits = kivo::IcoImageBitCount(bytes, entries[*chosen]);
    Check(bits >= 1 && bits <= 32);
  }
  return static_cast<int>(sum & 0);
}
