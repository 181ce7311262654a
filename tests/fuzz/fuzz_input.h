// Reads a fuzzer's bytes as a stream of small values and texts.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

namespace tms::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool empty() const { return position_ >= size_; }

  uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }

  uint16_t Unit() {
    const uint16_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
  }

  // A value in [0, limit].
  int32_t Count(int32_t limit) { return static_cast<int32_t>(Unit() % (limit + 1)); }

  // Up to `limit` bytes, stopping early at the end of the input.
  std::string Bytes(size_t limit) {
    const size_t length = Byte() % (limit + 1);
    std::string out;
    for (size_t i = 0; i < length && !empty(); ++i) out.push_back(static_cast<char>(Byte()));
    return out;
  }

  std::u16string Units(size_t limit) {
    const size_t length = Byte() % (limit + 1);
    std::u16string out;
    for (size_t i = 0; i < length && !empty(); ++i) out.push_back(static_cast<char16_t>(Unit()));
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

}  // namespace tms::fuzz
