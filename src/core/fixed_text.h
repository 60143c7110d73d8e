// A text field of a fixed number of characters: a longer value is cut on assignment, and
// the value is kept as the cleaned text every reader expects.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/text.h"

namespace kivo {

template <std::size_t Width>
class FixedText {
 public:
  static constexpr std::size_t kWidth = Width;

  FixedText() = default;
  FixedText(std::string_view text) { Assign(text); }    // NOLINT: assigning text is the point
  FixedText(const char* text) { Assign(text); }         // NOLINT
  FixedText(const std::string& text) { Assign(text); }  // NOLINT

  const std::string& str() const { return text_; }
  operator const std::string&() const { return text_; }  // NOLINT
  operator std::string_view() const { return text_; }    // NOLINT
  bool empty() const { return text_.empty(); }
  bool operator==(const FixedText& other) const = default;
  template <typename Text>
  requires(std::is_convertible_v<const Text&, std::string_view> &&
           !std::is_same_v<Text, FixedText>) friend bool
  operator==(const FixedText& a, const Text& b) {
    return std::string_view(a.text_) == std::string_view(b);
  }
  friend std::ostream& operator<<(std::ostream& out, const FixedText& text) {
    return out << '"' << text.text_ << '"';
  }

 private:
  void Assign(std::string_view text) { text_ = CleanText(CutToChars(text, Width)); }
  std::string text_;
};

}  // namespace kivo
