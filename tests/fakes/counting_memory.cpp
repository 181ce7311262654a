// Counting and failure injection over the system allocators.
#include "fakes/counting_memory.h"

namespace tms::testing {

bool CountingMemory::ShouldFail() {
  ++allocationsSeen_;
  return failAll_ || (failAt_ != 0 && allocationsSeen_ == failAt_);
}

void* CountingMemory::AllocZeroedBlock(uint32_t bytes) {
  if (ShouldFail()) return nullptr;
  void* block = system_.AllocZeroedBlock(bytes);
  if (block != nullptr) ++liveBlocks_, ++allocations_;
  return block;
}

void CountingMemory::FreeBlock(void* block) {
  if (block != nullptr) --liveBlocks_;
  system_.FreeBlock(block);
}

Bstr CountingMemory::AllocBstr(const WideChar* text) {
  if (text == nullptr) return nullptr;
  if (ShouldFail()) return nullptr;
  Bstr made = system_.AllocBstr(text);
  if (made != nullptr) ++liveBstrs_, ++allocations_;
  return made;
}

Bstr CountingMemory::AllocBstrLen(const WideChar* text, uint32_t count) {
  if (ShouldFail()) return nullptr;
  Bstr made = system_.AllocBstrLen(text, count);
  if (made != nullptr) ++liveBstrs_, ++allocations_;
  return made;
}

void CountingMemory::FreeBstr(Bstr bstr) {
  if (bstr != nullptr) --liveBstrs_;
  system_.FreeBstr(bstr);
}

void* CountingMemory::AllocScratch(size_t bytes) {
  if (ShouldFail()) return nullptr;
  void* scratch = system_.AllocScratch(bytes);
  if (scratch != nullptr) ++liveScratch_, ++allocations_;
  return scratch;
}

void CountingMemory::FreeScratch(void* scratch) {
  if (scratch != nullptr) --liveScratch_;
  system_.FreeScratch(scratch);
}

}  // namespace tms::testing
