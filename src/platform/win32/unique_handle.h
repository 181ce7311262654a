// Sole owners of Win32 handles: one class for every kind, closed by the
// kind's own release function when the owner goes.
#pragma once

#include <windows.h>

namespace tms::platform {

template <typename Handle, void (*Close)(Handle)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  // Closes any handle held and hands out the slot for a call that opens one.
  Handle* put() {
    reset();
    return &handle_;
  }
  Handle release() {
    Handle handedOver = handle_;
    handle_ = nullptr;
    return handedOver;
  }
  void reset(Handle replacement = nullptr) {
    Handle old = handle_;
    handle_ = replacement;
    if (old != nullptr) Close(old);
  }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

inline void CloseRegistryKey(HKEY key) {
  RegCloseKey(key);
}

// Unloading leaves the caller's last error as it was: it may still hold the
// reason for a failure that the unload follows.
inline void FreeLibraryKeepingLastError(HMODULE module) {
  const DWORD lastError = GetLastError();
  FreeLibrary(module);
  SetLastError(lastError);
}

using UniqueHkey = UniqueHandle<HKEY, CloseRegistryKey>;
using UniqueHmodule = UniqueHandle<HMODULE, FreeLibraryKeepingLastError>;

}  // namespace tms::platform
