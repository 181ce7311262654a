// Sole owner of one loaded library, released when the owner goes.
#pragma once

#include <windows.h>

namespace tms::platform {

class UniqueHmodule {
 public:
  UniqueHmodule() = default;
  explicit UniqueHmodule(HMODULE module) : module_(module) {}
  ~UniqueHmodule() { reset(); }
  UniqueHmodule(const UniqueHmodule&) = delete;
  UniqueHmodule& operator=(const UniqueHmodule&) = delete;

  HMODULE get() const { return module_; }
  HMODULE release() {
    HMODULE handedOver = module_;
    module_ = nullptr;
    return handedOver;
  }
  // Unloading leaves the caller's last error as it was: it may still hold
  // the reason for a failure that the unload follows.
  void reset(HMODULE replacement = nullptr) {
    HMODULE old = module_;
    module_ = replacement;
    if (old == nullptr) return;
    const DWORD lastError = GetLastError();
    FreeLibrary(old);
    SetLastError(lastError);
  }
  explicit operator bool() const { return module_ != nullptr; }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace tms::platform
