// Sole owner of one open registry key, closed when the owner goes.
#pragma once

#include <windows.h>

namespace tms::platform {

class UniqueHkey {
 public:
  UniqueHkey() = default;
  ~UniqueHkey() { reset(); }
  UniqueHkey(const UniqueHkey&) = delete;
  UniqueHkey& operator=(const UniqueHkey&) = delete;

  HKEY get() const { return key_; }
  // Closes any key held and hands out the slot for a call that opens one.
  HKEY* put() {
    reset();
    return &key_;
  }
  HKEY release() {
    HKEY handedOver = key_;
    key_ = nullptr;
    return handedOver;
  }
  void reset(HKEY replacement = nullptr) {
    HKEY old = key_;
    key_ = replacement;
    if (old != nullptr) RegCloseKey(old);
  }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace tms::platform
