// Feeds damaged menu files to the loader. A sound file is 1.3 MB, so besides the raw input
// (almost always the wrong size) the input is also read as patches laid over a sound file:
// that reaches the record checks and the text decoding behind the size test. The
// safety-copy protocol itself is fuzzed with the small settings file.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/store_file.h"
#include "support/iconv_codec.h"

#include "fuzz_check.h"

namespace {

using kivo::fuzz::Check;

const kivo::testing::IconvCodec& Codec() {
  static const kivo::testing::IconvCodec codec("CP936");
  return codec;
}

const std::string& SoundFile() {
  static const std::string bytes = [] {
    kivo::ShortcutStore store;
    for (int g = 3; g <= 36; ++g) {
      auto& group = store.Groups[static_cast<std::size_t>(g)];
      group.Count = g % 5;
      for (int m = 1; m <= group.Count; ++m)
        group.Members[static_cast<std::size_t>(m)] = 129 + g * 5 + m;
      store.Items[static_cast<std::size_t>(g)].ItemType = g % 2 ? 4 : 1;
      store.Items[static_cast<std::size_t>(g)].Title = "组 " + std::to_string(g);
    }
    store.Items[200].LinkPath = "C:\\程序\\记事本.lnk";
    return kivo::EncodeStoreFile(store, Codec());
  }();
  return bytes;
}

void Exercise(const std::string& bytes) {
  const auto image = kivo::DecodeStoreFile(bytes, Codec());
  if (!image) return;
  // Whatever was accepted must be safe to take in and to write back out.
  kivo::ShortcutStore store;
  kivo::ApplyStoreFile(store, *image);
  for (int g = 3; g <= 36; ++g) {
    const auto& group = store.Groups[static_cast<std::size_t>(g)];
    Check(group.Count >= 0 && group.Count <= kivo::GroupCapacity(g));
    Check(group.Members.size() == static_cast<std::size_t>(kivo::GroupCapacity(g) + 1));
  }
  const std::string again = kivo::EncodeStoreFile(store, Codec());
  Check(again.size() == kivo::kStoreFileSize);
  const auto reread = kivo::DecodeStoreFile(again, Codec());
  Check(reread.has_value());
  Check(reread->store.Groups == store.Groups);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  Exercise(input);

  // Patches: [offset:4][length:2][bytes...] repeated, laid over a sound file. The buffer
  // is reused: fresh 1.3 MB allocations would cost more than the decoding.
  static std::string patched;
  patched.assign(SoundFile());
  std::size_t pos = 0;
  while (pos + 6 <= input.size()) {
    std::uint32_t offset = 0;
    for (int i = 0; i < 4; ++i)
      offset |= static_cast<std::uint32_t>(
                    static_cast<unsigned char>(input[pos + static_cast<std::size_t>(i)]))
                << (8 * i);
    const std::size_t length = static_cast<unsigned char>(input[pos + 4]) |
                               static_cast<std::size_t>(static_cast<unsigned char>(input[pos + 5]))
                                   << 8;
    pos += 6;
    const std::size_t take = std::min(length, input.size() - pos);
    const std::size_t at = offset % patched.size();
    patched.replace(at, std::min(take, patched.size() - at), input, pos, take);
    pos += take;
  }
  if (!input.empty() && (static_cast<unsigned char>(input[0]) & 1)) {
    patched.resize(patched.size() - (static_cast<unsigned char>(input.back()) % 3));
  }
  Exercise(patched);

  return 0;
}
