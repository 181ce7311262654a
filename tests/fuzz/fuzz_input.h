// Reads a fuzzer's bytes as a stream of small values and texts, and holds
// texts and output buffers in heap blocks of exactly their size, so that
// AddressSanitizer reports any access past their ends.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

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

  uint32_t Word() {
    const uint32_t low = Unit();
    return low | (uint32_t{Unit()} << 16);
  }

  bool Flag() { return (Byte() & 1) != 0; }

  // A value in [0, limit].
  int32_t Count(int32_t limit) { return static_cast<int32_t>(Unit() % (limit + 1)); }

  // One of `choices`.
  template <typename T, size_t kCount>
  T Pick(const T (&choices)[kCount]) {
    return choices[Byte() % kCount];
  }

  // Up to `limit` bytes, stopping early at the end of the input.
  std::string Bytes(size_t limit) {
    const size_t length = Byte() % (limit + 1);
    std::string out;
    for (size_t i = 0; i < length && !empty(); ++i) out.push_back(static_cast<char>(Byte()));
    return out;
  }

  // Up to `limit` bytes, none of them zero: a whole text without its terminator.
  std::string Text(size_t limit) {
    std::string out = Bytes(limit);
    for (char& byte : out) {
      if (byte == 0) byte = '\\';
    }
    return out;
  }

  std::u16string Units(size_t limit) {
    const size_t length = Byte() % (limit + 1);
    std::u16string out;
    for (size_t i = 0; i < length && !empty(); ++i) out.push_back(static_cast<char16_t>(Unit()));
    return out;
  }

  // Now and then the text repeated to up to 65,535 units, as long as a
  // window title may be; once an input at most, as such a text is slow to
  // check.
  void MaybeHuge(std::u16string& text) {
    if (hugeTaken_ || Byte() != 0xFF) return;
    hugeTaken_ = true;
    const size_t size = Unit();
    while (!text.empty() && text.size() < size) text += text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool hugeTaken_ = false;
};

// A heap block of exactly `size` bytes, each set to `fill`.
class ExactBlock {
 public:
  ExactBlock(size_t size, char fill) : size_(size), bytes_(static_cast<char*>(malloc(size))) {
    if (bytes_ == nullptr && size != 0) abort();
    if (size != 0) memset(bytes_, fill, size);
  }
  // The bytes and `terminators` zero bytes, and nothing after them.
  explicit ExactBlock(const std::string& bytes, size_t terminators = 1)
      : ExactBlock(bytes.size() + terminators, 0) {
    if (!bytes.empty()) memcpy(bytes_, bytes.data(), bytes.size());
  }
  ~ExactBlock() { free(bytes_); }
  ExactBlock(const ExactBlock&) = delete;
  ExactBlock& operator=(const ExactBlock&) = delete;

  char* get() { return bytes_; }
  const char* get() const { return bytes_; }
  size_t size() const { return size_; }

  // Every byte from `from` on still holds `fill`.
  bool FilledFrom(size_t from, char fill) const {
    for (size_t i = from; i < size_; ++i) {
      if (bytes_[i] != fill) return false;
    }
    return true;
  }

 private:
  size_t size_;
  char* bytes_;
};

// Stops the run with a crash report when a property does not hold.
inline void Check(bool condition) {
  if (!condition) abort();
}

}  // namespace tms::fuzz
