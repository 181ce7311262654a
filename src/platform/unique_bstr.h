// Sole owner of one BSTR, released through the allocator that made it.
#pragma once

#include "platform/memory.h"

namespace tms {

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
  void reset(Bstr replacement = nullptr) {
    Bstr old = bstr_;
    bstr_ = replacement;
    memory_.FreeBstr(old);
  }
  explicit operator bool() const { return bstr_ != nullptr; }

 private:
  platform::Memory& memory_;
  Bstr bstr_;
};

}  // namespace tms
