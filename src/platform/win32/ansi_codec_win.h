// The system ANSI code page (CP_ACP), in which the data files keep their texts.
#pragma once

#include "core/ansi_codec.h"

namespace kivo::win {

class SystemAnsiCodec : public AnsiCodec {
 public:
  std::string Encode(std::string_view utf8) const override;
  std::string Decode(std::string_view ansi) const override;
  bool CanRepresent(std::string_view utf8) const override;
};

}  // namespace kivo::win
