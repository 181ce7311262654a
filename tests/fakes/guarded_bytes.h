// An output buffer pre-filled with a guard byte, with guarded room after
// the bytes a call may write: shows what the call wrote and that it wrote
// nothing more. Shared by the unit, DLL and stress tests.
#pragma once

#include <string.h>

#include <string>

namespace tms::testing {

class GuardedBytes {
 public:
  static constexpr char kGuard = static_cast<char>(0xCC);

  // `size` bytes the call may write, then 16 it must leave alone.
  explicit GuardedBytes(size_t size) : bytes_(size + 16, kGuard), size_(size) {}
  char* get() { return &bytes_[0]; }

  // `text` and its terminator within the size, then only guard bytes.
  bool Holds(const std::string& text) const {
    return text.size() < size_ &&
           bytes_.compare(0, text.size() + 1, text.c_str(), text.size() + 1) == 0 &&
           Untouched(text.size() + 1);
  }
  // Only guard bytes from `from` on.
  bool Untouched(size_t from = 0) const {
    return bytes_.find_first_not_of(kGuard, from) == std::string::npos;
  }
  // The text written within the size, for answers and failure messages.
  std::string Text() const { return std::string(bytes_.data(), strnlen(bytes_.data(), size_)); }

 private:
  std::string bytes_;
  size_t size_;
};

}  // namespace tms::testing
