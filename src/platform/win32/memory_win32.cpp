// Win32 allocators: global memory for blocks, OLE Automation for BSTRs, the
// process heap for scratch buffers (the DLL links no C runtime, so there is
// no malloc).
#include <windows.h>
#include <oleauto.h>
#include <string.h>

#include "platform/memory.h"

namespace tms::platform {
namespace {

class Win32Memory final : public Memory {
 public:
  constexpr Win32Memory() = default;

  void* AllocZeroedBlock(uint32_t bytes) override {
    return reinterpret_cast<void*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes));
  }
  void FreeBlock(void* block) override {
    if (block != nullptr) GlobalFree(reinterpret_cast<HGLOBAL>(block));
  }
  uint32_t BlockSize(const void* block) override {
    if (block == nullptr) return 0;
    return static_cast<uint32_t>(GlobalSize(reinterpret_cast<HGLOBAL>(const_cast<void*>(block))));
  }

  Bstr AllocBstr(const WideChar* text) override {
    if (text == nullptr) return nullptr;
    return reinterpret_cast<Bstr>(SysAllocString(reinterpret_cast<const OLECHAR*>(text)));
  }
  Bstr AllocBstrLen(const WideChar* text, uint32_t count) override {
    BSTR made = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text), count);
    // Without a source the system leaves the units uninitialised.
    if (made != nullptr && text == nullptr) memset(made, 0, count * sizeof(OLECHAR));
    return reinterpret_cast<Bstr>(made);
  }
  void FreeBstr(Bstr bstr) override { SysFreeString(reinterpret_cast<BSTR>(bstr)); }
  uint32_t BstrByteLen(Bstr bstr) override {
    return bstr == nullptr ? 0 : SysStringByteLen(reinterpret_cast<BSTR>(bstr));
  }

  void* AllocScratch(size_t bytes) override { return HeapAlloc(GetProcessHeap(), 0, bytes); }
  void FreeScratch(void* scratch) override {
    if (scratch != nullptr) HeapFree(GetProcessHeap(), 0, scratch);
  }
};

// Stateless, so it lives in read-only memory; the DLL has no writable data.
constexpr Win32Memory systemMemory;

}  // namespace

Memory& SystemMemory() { return const_cast<Win32Memory&>(systemMemory); }

}  // namespace tms::platform
