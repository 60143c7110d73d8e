// The system ANSI code page (CP_ACP), in which the data files keep their texts.
#pragma once

#include "core/ansi_codec.h"

namespace kivo::win {

class SystemAnsiCodec : public AnsiCodec {
 public:
  // Code page 0 is the system's ANSI code page; another number converts with that one
  // (936 for the search's pinyin initials, whatever the system's).
  explicit SystemAnsiCodec(unsigned codePage = 0) : codePage_(codePage) {}
  std::string Encode(std::string_view utf8) const override;
  std::string Decode(std::string_view ansi) const override;
  bool CanRepresent(std::string_view utf8) const override;

 private:
  unsigned codePage_;
};

}  // namespace kivo::win
