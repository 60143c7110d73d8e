// Little-endian reading and writing of the data files' fixed records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kivo {

class ByteWriter {
 public:
  explicit ByteWriter(std::string& out) : out_(out) {}
  template <typename Int>
  void Put(Int value) {
    auto bits = static_cast<std::uint64_t>(static_cast<std::make_unsigned_t<Int>>(value));
    for (std::size_t i = 0; i < sizeof(Int); ++i) {
      out_.push_back(static_cast<char>(bits & 0xFF));
      bits >>= 8;
    }
  }
  void PutBytes(std::string_view bytes) { out_.append(bytes); }

 private:
  std::string& out_;
};

// Reads from a buffer whose total size the caller has already checked; reading past the
// end yields zeros and marks the reader as overrun instead of touching memory.
class ByteReader {
 public:
  explicit ByteReader(std::string_view data) : data_(data) {}
  template <typename Int>
  Int Get() {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(Int); ++i) {
      bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(Byte())) << (8 * i);
    }
    return static_cast<Int>(static_cast<std::make_unsigned_t<Int>>(bits));
  }
  std::string_view GetBytes(std::size_t count) {
    if (count > data_.size() - pos_) {
      overrun_ = true;
      pos_ = data_.size();
      return {};
    }
    const auto bytes = data_.substr(pos_, count);
    pos_ += count;
    return bytes;
  }
  std::size_t position() const { return pos_; }
  bool overrun() const { return overrun_; }

 private:
  char Byte() {
    if (pos_ >= data_.size()) {
      overrun_ = true;
      return 0;
    }
    return data_[pos_++];
  }
  std::string_view data_;
  std::size_t pos_ = 0;
  bool overrun_ = false;
};

}  // namespace kivo
