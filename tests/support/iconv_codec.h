// The ANSI code page on Linux, through glibc's iconv (for example "CP936" or "CP1252").
#pragma once

#include <string>

#include "core/ansi_codec.h"

namespace kivo::testing {

class IconvCodec : public AnsiCodec {
 public:
  explicit IconvCodec(std::string codePage);
  ~IconvCodec() override;
  IconvCodec(const IconvCodec&) = delete;
  IconvCodec& operator=(const IconvCodec&) = delete;
  std::string Encode(std::string_view utf8) const override;
  std::string Decode(std::string_view ansi) const override;
  bool CanRepresent(std::string_view utf8) const override;

 private:
  void *toAnsi_, *fromAnsi_;  // iconv_t, opened once: opening costs far more than converting
};

}  // namespace kivo::testing
