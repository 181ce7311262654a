// The allocators the library draws on: zero-filled blocks for conversion
// buffers, OLE Automation strings, and a general-purpose heap for scratch.
#pragma once

#include "platform/types.h"

namespace tms::platform {

class Memory {
 public:
  // A zero-filled block of exactly `bytes` bytes, or null.
  virtual void* AllocZeroedBlock(uint32_t bytes) = 0;
  // Releases a block from AllocZeroedBlock; null is accepted.
  virtual void FreeBlock(void* block) = 0;
  // The size of a block as requested when it was allocated.
  virtual uint32_t BlockSize(const void* block) = 0;

  // A new BSTR holding `text` up to its first zero unit; null for null text
  // or when memory runs out.
  virtual Bstr AllocBstr(const WideChar* text) = 0;
  // A new BSTR of exactly `count` units copied from `text`; when `text` is
  // null the units are zero. Null when memory runs out.
  virtual Bstr AllocBstrLen(const WideChar* text, uint32_t count) = 0;
  // Releases a BSTR; null is accepted.
  virtual void FreeBstr(Bstr bstr) = 0;
  // Bytes of the BSTR's text without its terminator; 0 for null.
  virtual uint32_t BstrByteLen(Bstr bstr) = 0;

  // Uninitialised memory from the general-purpose heap (the free store; on
  // Windows the process heap), or null.
  virtual void* AllocScratch(size_t bytes) = 0;
  virtual void FreeScratch(void* scratch) = 0;

 protected:
  ~Memory() = default;
};

// The operating system's allocators.
Memory& SystemMemory();

}  // namespace tms::platform
