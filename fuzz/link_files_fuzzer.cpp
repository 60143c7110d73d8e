// Feeds damaged Internet shortcut files and version resources to their readers: whatever
// the bytes, a result is whole text (no read past the end) and a URL is never empty.
#include <cstdint>
#include <string>
#include <string_view>

#include "items/link_files.h"
#include "support/iconv_codec.h"

#include "fuzz_check.h"

using kivo::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const kivo::testing::IconvCodec codec("CP936");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const auto link = kivo::ParseInternetShortcut(bytes, codec)) Check(!link->target.empty());
  for (const char* name : {"FileDescription", "", "F"}) {
    if (const auto value = kivo::FindVersionString(bytes, name)) {
      // Each UTF-16 unit gives at most three UTF-8 bytes.
      Check(value->size() <= size / 2 * 3);
    }
  }
  return 0;
}
