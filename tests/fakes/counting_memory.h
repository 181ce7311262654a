// A Memory that forwards to the system's allocators while counting what is
// live, and fails chosen allocations on request.
#pragma once

#include "platform/memory.h"

namespace tms::testing {

class CountingMemory final : public platform::Memory {
 public:
  // Make the n-th allocation from now on (1-based, any kind) fail; 0 never.
  void FailAllocationNumber(int n) {
    failAt_ = n;
    allocationsSeen_ = 0;
  }
  // Make every allocation fail.
  void FailAll(bool fail) { failAll_ = fail; }
  // Report every BSTR one byte shorter, as one made from an odd number of
  // bytes would be.
  void ReportOddBstrLengths(bool odd) { oddBstrLengths_ = odd; }

  int liveBlocks() const { return liveBlocks_; }
  int liveBstrs() const { return liveBstrs_; }
  int live() const { return liveBlocks_ + liveBstrs_ + liveScratch_; }
  // Allocations that succeeded since construction.
  int allocations() const { return allocations_; }

  void* AllocZeroedBlock(uint32_t bytes) override {
    return ShouldFail() ? nullptr : Counted(system_.AllocZeroedBlock(bytes), liveBlocks_);
  }
  void FreeBlock(void* block) override { system_.FreeBlock(Released(block, liveBlocks_)); }
  uint32_t BlockSize(const void* block) override { return system_.BlockSize(block); }
  Bstr AllocBstr(const WideChar* text) override {
    // Null text makes no BSTR, so it is no allocation that could fail.
    if (text == nullptr) return nullptr;
    return ShouldFail() ? nullptr : Counted(system_.AllocBstr(text), liveBstrs_);
  }
  Bstr AllocBstrLen(const WideChar* text, uint32_t count) override {
    return ShouldFail() ? nullptr : Counted(system_.AllocBstrLen(text, count), liveBstrs_);
  }
  void FreeBstr(Bstr bstr) override { system_.FreeBstr(Released(bstr, liveBstrs_)); }
  uint32_t BstrByteLen(Bstr bstr) override {
    const uint32_t bytes = system_.BstrByteLen(bstr);
    return oddBstrLengths_ && bytes > 0 ? bytes - 1 : bytes;
  }
  void* AllocScratch(size_t bytes) override {
    return ShouldFail() ? nullptr : Counted(system_.AllocScratch(bytes), liveScratch_);
  }
  void FreeScratch(void* scratch) override { system_.FreeScratch(Released(scratch, liveScratch_)); }

 private:
  bool ShouldFail() { return ++allocationsSeen_ == failAt_ || failAll_; }
  template <typename Pointer>
  Pointer Counted(Pointer made, int& live) {
    if (made != nullptr) ++live, ++allocations_;
    return made;
  }
  template <typename Pointer>
  Pointer Released(Pointer freed, int& live) {
    if (freed != nullptr) --live;
    return freed;
  }

  platform::Memory& system_ = platform::SystemMemory();
  int failAt_ = 0;
  bool failAll_ = false;
  bool oddBstrLengths_ = false;
  int allocationsSeen_ = 0;
  int allocations_ = 0;
  int liveBlocks_ = 0;
  int liveBstrs_ = 0;
  int liveScratch_ = 0;
};

}  // namespace tms::testing
