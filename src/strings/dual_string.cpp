// DualString: block bookkeeping and conversions between the two copies.
#include "strings/dual_string.h"

#include "platform/text.h"
#include "platform/unique_bstr.h"

namespace tms {
namespace {

int32_t NonNegative(int32_t count) { return count < 0 ? 0 : count; }

// Block sizes are computed in 64 bits; a size the 32-bit allocator cannot
// express is treated as a failed allocation.
template <typename Unit>
Unit* AllocateUnits(platform::Memory& memory, int64_t bytes) {
  if (bytes <= 0 || bytes > INT32_MAX) return nullptr;
  return static_cast<Unit*>(memory.AllocZeroedBlock(static_cast<uint32_t>(bytes)));
}

}  // namespace

DualString::DualString(platform::Memory& memory, platform::Codepage& codepage)
    : memory_(memory), codepage_(codepage) {}

DualString::DualString(platform::Memory& memory, platform::Codepage& codepage, const char* ansi)
    : DualString(memory, codepage) {
  SetAnsi(ansi);
}

DualString::DualString(platform::Memory& memory, platform::Codepage& codepage, const char* ansi,
                       int32_t count)
    : DualString(memory, codepage) {
  SetAnsi(ansi, count);
}

DualString::DualString(platform::Memory& memory, platform::Codepage& codepage,
                       const WideChar* wide)
    : DualString(memory, codepage) {
  SetWide(wide);
}

DualString::DualString(platform::Memory& memory, platform::Codepage& codepage,
                       const WideChar* wide, int32_t count)
    : DualString(memory, codepage) {
  SetWide(wide, count);
}

DualString::DualString(platform::Memory& memory, platform::Codepage& codepage, Bstr* slot,
                       int32_t reserve)
    : DualString(memory, codepage) {
  SetBSTR(slot, reserve);
}

DualString::DualString(platform::Memory& memory, platform::Codepage& codepage, int32_t size)
    : DualString(memory, codepage) {
  Allocate(size);
}

DualString::~DualString() { Free(); }

void DualString::SetAnsi(const char* ansi) {
  FreeAnsi();
  const int32_t length = TextLength(ansi);
  ansiText_ = AllocateUnits<char>(memory_, int64_t{length} + 1);
  if (ansiText_ != nullptr && ansi != nullptr) CopyUnits(ansiText_, ansi, length + 1);
  AnsiToWide();
}

void DualString::SetAnsi(const char* ansi, int32_t count) {
  count = ansi == nullptr ? 0 : NonNegative(count);
  FreeAnsi();
  ansiText_ = AllocateUnits<char>(memory_, int64_t{count} + 1);
  if (ansiText_ != nullptr) CopyUnits(ansiText_, ansi, count);
  AnsiToWide(count);
}

void DualString::SetWide(const WideChar* wide) {
  FreeWide();
  const int32_t length = TextLength(wide);
  wideText_ = AllocateUnits<WideChar>(memory_, 2 * int64_t{length} + 2);
  if (wideText_ != nullptr && wide != nullptr) CopyUnits(wideText_, wide, length + 1);
  WideToAnsi();
}

void DualString::SetWide(const WideChar* wide, int32_t count) {
  count = wide == nullptr ? 0 : NonNegative(count);
  FreeWide();
  wideText_ = AllocateUnits<WideChar>(memory_, 2 * int64_t{count} + 2);
  if (wideText_ != nullptr) CopyUnits(wideText_, wide, count);
  WideToAnsi(count);
}

void DualString::SetBSTR(const Bstr* slot, int32_t reserve) {
  reserve = NonNegative(reserve);
  FreeWide();
  const Bstr source = slot == nullptr ? nullptr : *slot;
  const uint32_t byteLength = memory_.BstrByteLen(source);
  // A BSTR made from bytes may hold an odd number of them; the block is
  // rounded up to whole units so that the last, half-filled unit and the
  // terminator after it both lie inside it.
  const int64_t blockBytes = int64_t{byteLength} + (byteLength % 2) + 2 * int64_t{reserve} + 2;
  wideText_ = AllocateUnits<WideChar>(memory_, blockBytes);
  if (wideText_ != nullptr && source != nullptr) {
    CopyUnits(reinterpret_cast<char*>(wideText_), reinterpret_cast<const char*>(source),
              byteLength);
  }
  WideToAnsiWithReserve(reserve);
}

void DualString::Allocate(int32_t size) {
  size = NonNegative(size);
  Free();
  ansiText_ = AllocateUnits<char>(memory_, int64_t{size} + 1);
  wideText_ = AllocateUnits<WideChar>(memory_, 2 * (int64_t{size} + 1));
}

void DualString::AnsiToWide() { RebuildWide(-1); }
void DualString::AnsiToWide(int32_t count) { RebuildWide(NonNegative(count)); }
void DualString::WideToAnsi() { RebuildAnsi(-1, 0); }
void DualString::WideToAnsi(int32_t count) { RebuildAnsi(NonNegative(count), 0); }
void DualString::WideToAnsiWithReserve(int32_t reserve) { RebuildAnsi(-1, NonNegative(reserve)); }

void DualString::RebuildWide(int32_t count) {
  FreeWide();
  int32_t units = 0;
  if (ansiText_ != nullptr && count != 0) {
    units = NonNegative(codepage_.AnsiToWide(ansiText_, count, nullptr, 0));
  }
  wideText_ = AllocateUnits<WideChar>(memory_, 2 * int64_t{units} + 2);
  if (wideText_ != nullptr && units > 0) codepage_.AnsiToWide(ansiText_, count, wideText_, units);
}

void DualString::RebuildAnsi(int32_t count, int32_t reserve) {
  FreeAnsi();
  int32_t bytes = 0;
  if (wideText_ != nullptr && count != 0) {
    bytes = NonNegative(codepage_.WideToAnsi(wideText_, count, nullptr, 0));
  }
  ansiText_ = AllocateUnits<char>(memory_, int64_t{bytes} + reserve + 1);
  if (ansiText_ != nullptr && bytes > 0) codepage_.WideToAnsi(wideText_, count, ansiText_, bytes);
}

int32_t DualString::GetAnsiSize() const {
  return static_cast<int32_t>(memory_.BlockSize(ansiText_));
}

int32_t DualString::GetWideSize() const {
  return static_cast<int32_t>(memory_.BlockSize(wideText_));
}

int32_t DualString::WideCapacityUnits() const {
  if (wideText_ == nullptr) return 0;
  return GetWideSize() / 2 - 1;
}

Bstr DualString::HandOver(Bstr* slot, Bstr made, bool sourcePresent) {
  // A failed allocation keeps the slot's BSTR: it is released only once its
  // replacement exists. An absent source yields null, which replaces it.
  if (made == nullptr && sourcePresent) return nullptr;
  if (slot != nullptr) ReplaceBstr(memory_, slot, made);
  return made;
}

Bstr DualString::AnsiToBSTR(Bstr* slot) {
  AnsiToWide();
  // The wide copy is absent here only when its block could not be had.
  if (wideText_ == nullptr) return HandOver(slot, nullptr, true);
  return WideToBSTR(slot);
}

Bstr DualString::AnsiToBSTR(Bstr* slot, int32_t count) {
  count = NonNegative(count);
  AnsiToWide(count);
  if (wideText_ == nullptr) return HandOver(slot, nullptr, true);
  // In a multi-byte code page N bytes can give fewer than N units; the BSTR
  // is then shortened to the units that exist rather than read past the block.
  const int32_t available = WideCapacityUnits();
  const int32_t units = count < available ? count : available;
  return HandOver(slot, memory_.AllocBstrLen(wideText_, static_cast<uint32_t>(units)), true);
}

Bstr DualString::WideToBSTR(Bstr* slot) {
  if (wideText_ == nullptr) return HandOver(slot, nullptr, false);
  return HandOver(slot, memory_.AllocBstr(wideText_), true);
}

Bstr DualString::WideToBSTR(Bstr* slot, int32_t count) {
  count = NonNegative(count);
  if (wideText_ == nullptr) {
    // No wide copy: a BSTR of `count` zero units.
    return HandOver(slot, memory_.AllocBstrLen(nullptr, static_cast<uint32_t>(count)), true);
  }
  const int32_t available = WideCapacityUnits();
  const int32_t units = count < available ? count : available;
  return HandOver(slot, memory_.AllocBstrLen(wideText_, static_cast<uint32_t>(units)), true);
}

void DualString::FreeAnsi() {
  memory_.FreeBlock(ansiText_);
  ansiText_ = nullptr;
}

void DualString::FreeWide() {
  memory_.FreeBlock(wideText_);
  wideText_ = nullptr;
}

void DualString::Free() {
  FreeAnsi();
  FreeWide();
}

}  // namespace tms
