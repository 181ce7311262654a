// DualString: one text held as an ANSI copy and a wide (UTF-16) copy, each
// side rebuilt from the other by conversion in the active code page.
//
// Every block comes zero-filled from the platform's block allocator and is
// at least one unit larger than what is copied or converted into it, so both
// copies are always terminated. A block is never reused: filling a side
// releases its old block first. When an allocation fails, that side stays
// absent (null) and nothing is written to or read from it.
//
// Example: DualString(memory, codepage, u"abc") holds a wide block of 8 bytes
// and, in a single-byte code page, an ANSI block of 5 bytes, both "abc".
#pragma once

#include "platform/codepage.h"
#include "platform/memory.h"
#include "platform/types.h"

namespace tms {

class DualString {
 public:
  // Both sides absent.
  DualString(platform::Memory& memory, platform::Codepage& codepage);
  // SetAnsi with the whole text / with a byte count.
  DualString(platform::Memory& memory, platform::Codepage& codepage, const char* ansi);
  DualString(platform::Memory& memory, platform::Codepage& codepage, const char* ansi,
             int32_t count);
  // SetWide with the whole text / with a unit count.
  DualString(platform::Memory& memory, platform::Codepage& codepage, const WideChar* wide);
  DualString(platform::Memory& memory, platform::Codepage& codepage, const WideChar* wide,
             int32_t count);
  // SetBSTR from a slot with a reserve in characters.
  DualString(platform::Memory& memory, platform::Codepage& codepage, Bstr* slot,
             int32_t reserve);
  // Allocate room for `size` characters on both sides.
  DualString(platform::Memory& memory, platform::Codepage& codepage, int32_t size);
  ~DualString();

  DualString(const DualString&) = delete;
  DualString& operator=(const DualString&) = delete;

  // Filling operations. A null text counts as empty. Counts are the caller's
  // promise about its source; a negative count is read as 0.
  void SetAnsi(const char* ansi);
  void SetAnsi(const char* ansi, int32_t count);
  void SetWide(const WideChar* wide);
  void SetWide(const WideChar* wide, int32_t count);
  void SetBSTR(const Bstr* slot, int32_t reserve);
  void Allocate(int32_t size);

  // Rebuild one side from the other, whole or from the first `count` units.
  void AnsiToWide();
  void AnsiToWide(int32_t count);
  void WideToAnsi();
  void WideToAnsi(int32_t count);
  void WideToAnsiWithReserve(int32_t reserve);

  char* GetAnsi() { return ansiText_; }
  WideChar* GetWide() { return wideText_; }
  // Block sizes in bytes as the allocator records them; 0 when absent.
  int32_t GetAnsiSize() const;
  int32_t GetWideSize() const;

  // BSTR operations: the new BSTR is stored in the slot (when there is one),
  // after the BSTR that the slot held is released, and returned. If the new
  // BSTR cannot be allocated the slot keeps its BSTR and null is returned.
  Bstr AnsiToBSTR(Bstr* slot);
  Bstr AnsiToBSTR(Bstr* slot, int32_t count);
  Bstr WideToBSTR(Bstr* slot);
  Bstr WideToBSTR(Bstr* slot, int32_t count);

  void FreeAnsi();
  void FreeWide();
  void Free();

 private:
  // Count -1 means the whole text with its terminator.
  void RebuildWide(int32_t count);
  void RebuildAnsi(int32_t count, int32_t reserve);
  // Units of the wide block that lie before its guaranteed final zero unit.
  int32_t WideCapacityUnits() const;
  Bstr HandOver(Bstr* slot, Bstr made, bool sourcePresent);

  platform::Memory& memory_;
  platform::Codepage& codepage_;
  char* ansiText_ = nullptr;
  WideChar* wideText_ = nullptr;
};

}  // namespace tms
