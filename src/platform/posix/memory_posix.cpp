// POSIX allocators with the Windows contracts: blocks that know their size,
// BSTRs with a 32-bit byte-length prefix, and the C heap as free store.
#include <stdlib.h>
#include <string.h>

#include "platform/memory.h"
#include "platform/text.h"

namespace tms::platform {
namespace {

// Each block is preceded by a header that records the requested size; the
// header keeps the block maximally aligned.
union BlockHeader {
  uint32_t size;
  max_align_t alignment;
};

class PosixMemory final : public Memory {
 public:
  constexpr PosixMemory() = default;

  void* AllocZeroedBlock(uint32_t bytes) override {
    auto* header = static_cast<BlockHeader*>(calloc(1, sizeof(BlockHeader) + size_t{bytes}));
    if (header == nullptr) return nullptr;
    header->size = bytes;
    return header + 1;
  }
  void FreeBlock(void* block) override {
    if (block != nullptr) free(static_cast<BlockHeader*>(block) - 1);
  }
  uint32_t BlockSize(const void* block) override {
    if (block == nullptr) return 0;
    return (static_cast<const BlockHeader*>(block) - 1)->size;
  }

  Bstr AllocBstr(const WideChar* text) override {
    if (text == nullptr) return nullptr;
    return AllocBstrLen(text, static_cast<uint32_t>(TextLength(text)));
  }
  Bstr AllocBstrLen(const WideChar* text, uint32_t count) override {
    // The byte length must fit the 32-bit prefix, as on Windows.
    if (count > (UINT32_MAX - 8) / sizeof(WideChar)) return nullptr;
    const uint32_t bytes = count * sizeof(WideChar);
    auto* prefix = static_cast<uint32_t*>(malloc(sizeof(uint32_t) + bytes + sizeof(WideChar)));
    if (prefix == nullptr) return nullptr;
    *prefix = bytes;
    auto* units = reinterpret_cast<Bstr>(prefix + 1);
    if (text != nullptr) {
      memcpy(units, text, bytes);
    } else {
      memset(units, 0, bytes);
    }
    units[count] = 0;
    // The block is owned through the text pointer, as a BSTR is.
    // cppcheck-suppress memleak
    return units;
  }
  void FreeBstr(Bstr bstr) override {
    if (bstr != nullptr) free(reinterpret_cast<uint32_t*>(bstr) - 1);
  }
  uint32_t BstrByteLen(Bstr bstr) override {
    return bstr == nullptr ? 0 : *(reinterpret_cast<const uint32_t*>(bstr) - 1);
  }

  void* AllocScratch(size_t bytes) override { return malloc(bytes); }
  void FreeScratch(void* scratch) override { free(scratch); }
};

PosixMemory systemMemory;

}  // namespace

Memory& SystemMemory() { return systemMemory; }

}  // namespace tms::platform
