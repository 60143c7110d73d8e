#include "platform/win32/ansi_codec_win.h"

#include <windows.h>

#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

std::string ToAnsi(UINT codePage, const std::wstring& wide, BOOL* usedDefault) {
  if (wide.empty()) return {};
  // UTF-8 as the ANSI code page accepts no default-character query.
  if ((codePage == CP_ACP ? ::GetACP() : codePage) == CP_UTF8) usedDefault = nullptr;
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, usedDefault);
  if (length <= 0) return {};
  std::string result(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), size, result.data(), length, nullptr,
                        usedDefault);
  return result;
}

}  // namespace

std::string SystemAnsiCodec::Encode(std::string_view utf8) const {
  return ToAnsi(codePage_, Widen(utf8), nullptr);
}

std::string SystemAnsiCodec::Decode(std::string_view ansi) const {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = ::MultiByteToWideChar(codePage_, 0, ansi.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage_, 0, ansi.data(), size, wide.data(), length);
  return Narrow(wide);
}

bool SystemAnsiCodec::CanRepresent(std::string_view utf8) const {
  const std::wstring wide = Widen(utf8);
  BOOL usedDefault = FALSE;
  const std::string ansi = ToAnsi(codePage_, wide, &usedDefault);
  // The round trip also catches best-fit mappings that change a character silently.
  return !usedDefault && Decode(ansi) == Narrow(wide);
}

}  // namespace kivo::win
