// Feeds damaged shell link files to their reader and the target choice: whatever the bytes,
// the reader stays inside them, every text it returns is text the bytes could hold, and the
// target chosen from what it read is one of the candidates and a plausible path.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "items/link_target.h"
#include "items/shell_link_format.h"
#include "support/iconv_codec.h"

#include "fuzz_check.h"

using kivo::fuzz::Check;

namespace {

void Exercise(std::string_view bytes) {
  static const kivo::testing::IconvCodec codec("CP936");
  const std::size_t size = bytes.size();
  const auto link = kivo::ReadShellLinkFile(bytes, codec);
  if (!link) return;
  Check(size >= 0x4C && link->idListBytes <= size);
  // Each byte gives at most three UTF-8 bytes (a GBK pair or a UTF-16 unit gives three).
  for (const std::string* text :
       {&link->localBasePath, &link->commonPathSuffix, &link->netName, &link->name,
        &link->relativePath, &link->workingDir, &link->arguments, &link->iconLocation,
        &link->environmentTarget, &link->environmentIcon}) {
    Check(text->size() <= size * 3);
  }
  const std::string info = kivo::LinkInfoTarget(*link);
  Check(info.size() <=
        link->localBasePath.size() + link->netName.size() + link->commonPathSuffix.size() + 1);

  kivo::LinkTargetSources sources;
  sources.shellPath = link->name;
  sources.rawPath = link->workingDir;
  sources.linkInfoPath = info;
  sources.relativePath = link->relativePath;
  sources.environmentPath = link->environmentTarget;
  const auto candidates = kivo::LinkTargetCandidates(
      sources, "C:\\Links\\x.lnk", [](std::string_view path) { return std::string(path); });
  const std::string chosen = kivo::ChooseLinkTarget(
      candidates, [](const std::string& path) { return path.size() % 2 == 0; });
  if (!chosen.empty()) {
    Check(kivo::IsPlausibleTargetPath(chosen));
    Check(std::find(candidates.begin(), candidates.end(), chosen) != candidates.end());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Exercise(bytes);
  // The same bytes behind a sound header whose flags are their first four bytes, so that
  // the run spends its time in the structures after the header.
  if (size >= 4) {
    std::string framed("\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 20);
    framed.append(bytes.substr(0, 4));
    framed.append(0x4C - framed.size(), '\0');
    framed.append(bytes.substr(4));
    // A copy of exactly its size: ASan sees any read past it (a string has its NUL there).
    const std::vector<char> exact(framed.begin(), framed.end());
    Exercise(std::string_view(exact.data(), exact.size()));
  }
  return 0;
}
