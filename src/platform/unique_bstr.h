// Sole owner of one BSTR, released through the allocator that made it.
#pragma once

#include "platform/memory.h"

namespace tms {

// Puts `replacement` into the slot, then releases the BSTR the slot held.
// The new one must exist before the old one goes: it may have been copied
// from it.
inline void ReplaceBstr(platform::Memory& memory, Bstr* slot, Bstr replacement) {
  const Bstr old = *slot;
  *slot = replacement;
  memory.FreeBstr(old);
}

class UniqueBstr {
 public:
  UniqueBstr(platform::Memory& memory, Bstr bstr = nullptr) : memory_(memory), bstr_(bstr) {}
  ~UniqueBstr() { memory_.FreeBstr(bstr_); }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;

  Bstr get() const { return bstr_; }
  Bstr* slot() { return &bstr_; }
  // Hands the BSTR over; the owner is empty afterwards.
  Bstr release() {
    Bstr handedOver = bstr_;
    bstr_ = nullptr;
    return handedOver;
  }
  void reset(Bstr replacement = nullptr) { ReplaceBstr(memory_, &bstr_, replacement); }
  explicit operator bool() const { return bstr_ != nullptr; }

 private:
  platform::Memory& memory_;
  Bstr bstr_;
};

}  // namespace tms
