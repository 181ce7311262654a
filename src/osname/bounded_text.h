// BoundedText: appends texts and decimal numbers to a fixed buffer, never
// past its end. What does not fit is cut off; the text stays terminated.
//
// Example: with a buffer of 6 bytes, Append("Win") then AppendDecimal(-12)
// then Append("x") holds "Win-1".
#pragma once

#include "platform/types.h"

namespace tms {

class BoundedText {
 public:
  // `capacity` counts the terminator, so at most capacity - 1 characters fit.
  BoundedText(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {
    buffer_[0] = 0;
  }
  template <size_t kCapacity>
  explicit BoundedText(char (&buffer)[kCapacity]) : BoundedText(buffer, kCapacity) {}

  void Append(const char* text) { Append(text, capacity_); }

  // At most `count` characters of `text`.
  void Append(const char* text, size_t count) {
    // Locals rather than members: a store through a char pointer may alias
    // any member, which would make the compiler reload them at every byte.
    char* out = buffer_ + length_;
    char* const last = buffer_ + capacity_ - 1;
    char* const stop = count < static_cast<size_t>(last - out) ? out + count : last;
    while (out < stop && *text != 0) *out++ = *text++;
    *out = 0;
    length_ = static_cast<size_t>(out - buffer_);
  }

  // Decimal form of a signed 32-bit number, as the "%d" format writes it.
  void AppendDecimal(int32_t value) {
    char digits[12];
    size_t start = sizeof digits - 1;
    digits[start] = 0;
    // Work on the magnitude as unsigned, so that INT32_MIN needs no special case.
    uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
      digits[--start] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--start] = '-';
    Append(digits + start);
  }

  const char* text() const { return buffer_; }
  size_t length() const { return length_; }

 private:
  char* buffer_;
  size_t capacity_;
  size_t length_ = 0;
};

}  // namespace tms
