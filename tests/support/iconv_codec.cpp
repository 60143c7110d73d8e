#include "support/iconv_codec.h"

#include <iconv.h>

#include <stdexcept>
#include <vector>

#include "core/text.h"

namespace kivo::testing {
namespace {

iconv_t Open(const std::string& from, const std::string& to) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open " + from + to);
  return cd;
}

// An unconvertible character becomes `replacement` instead of ending the conversion, as
// Windows does; `lossy` learns whether that happened.
std::string Convert(void* handle, bool fromUtf8, std::string_view in, std::string_view replacement,
                    bool* lossy = nullptr) {
  const auto cd = static_cast<iconv_t>(handle);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  for (std::size_t pos = 0; pos < in.size();) {
    // Try the longest run first: most texts convert whole.
    char* src = const_cast<char*>(in.data() + pos);
    std::size_t srcLeft = in.size() - pos;
    std::vector<char> buffer(srcLeft * 4 + 16);
    char* dst = buffer.data();
    std::size_t dstLeft = buffer.size();
    const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer.data(), buffer.size() - dstLeft);
    pos = in.size() - srcLeft;
    if (rc != static_cast<std::size_t>(-1)) break;
    // Skip one bad character (a whole UTF-8 sequence, or one byte of a code page).
    if (lossy) *lossy = true;
    out += replacement;
    pos += fromUtf8 ? Utf8SequenceLength(in, pos) : 1;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

IconvCodec::IconvCodec(std::string codePage)
    : toAnsi_(Open("UTF-8", codePage)), fromAnsi_(Open(codePage, "UTF-8")) {}

IconvCodec::~IconvCodec() {
  iconv_close(static_cast<iconv_t>(toAnsi_));
  iconv_close(static_cast<iconv_t>(fromAnsi_));
}

std::string IconvCodec::Encode(std::string_view utf8) const {
  return Convert(toAnsi_, true, utf8, "?");
}

std::string IconvCodec::Decode(std::string_view ansi) const {
  return Convert(fromAnsi_, false, ansi, "\xEF\xBF\xBD");
}

bool IconvCodec::CanRepresent(std::string_view utf8) const {
  bool lossy = false;
  Convert(toAnsi_, true, utf8, "?", &lossy);
  return !lossy;
}

}  // namespace kivo::testing
