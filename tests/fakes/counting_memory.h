// A Memory that forwards to the system's allocators while counting what is
// live, recording block sizes, and failing chosen allocations on request.
#pragma once

#include "platform/memory.h"

namespace tms::testing {

class CountingMemory final : public platform::Memory {
 public:
  CountingMemory() : system_(platform::SystemMemory()) {}

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
  int liveScratch() const { return liveScratch_; }
  int live() const { return liveBlocks_ + liveBstrs_ + liveScratch_; }
  int allocations() const { return allocations_; }

  void* AllocZeroedBlock(uint32_t bytes) override;
  void FreeBlock(void* block) override;
  uint32_t BlockSize(const void* block) override { return system_.BlockSize(block); }
  Bstr AllocBstr(const WideChar* text) override;
  Bstr AllocBstrLen(const WideChar* text, uint32_t count) override;
  void FreeBstr(Bstr bstr) override;
  uint32_t BstrByteLen(Bstr bstr) override {
    const uint32_t bytes = system_.BstrByteLen(bstr);
    return oddBstrLengths_ && bytes > 0 ? bytes - 1 : bytes;
  }
  void* AllocScratch(size_t bytes) override;
  void FreeScratch(void* scratch) override;

 private:
  bool ShouldFail();

  platform::Memory& system_;
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
