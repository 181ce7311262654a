// DualString: block sizes and contents, BSTR hand-over, and allocation
// failure injected call by call, over deterministic code pages.
#include "strings/dual_string.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "fakes/counting_memory.h"
#include "fakes/fake_codepages.h"
#include "platform/text.h"

namespace tms {
namespace {

using namespace std::string_view_literals;
using testing::CountingMemory;

constexpr bool kSingle = false;
constexpr bool kDouble = true;
// The null text of either kind (empty views of no text).
constexpr std::string_view kNull;
constexpr std::u16string_view kNullWide;

// How a row fills the object; `ansi`, `wide` and `count` are the arguments.
enum Fill {
  kSetAnsi,
  kSetAnsiCount,
  kSetWide,
  kSetWideCount,
  kSetBstr,            // a BSTR of `wide` (kNullWide: a null BSTR), `count` the reserve
  kSetOddBstr,         // the same BSTR reporting one byte fewer, as one of odd length
  kSetBstrNullSlot,    // SetBSTR(nullptr, count)
  kAllocate,           // Allocate(count)
  kAnsiToWide,         // SetAnsi(ansi), then AnsiToWide(count)
  kWideToAnsi,         // SetWide(wide), then WideToAnsi(count)
  kWideToAnsiReserve,  // SetWide(wide), then WideToAnsiWithReserve(count)
  kRefill,             // SetWide(wide), then SetAnsi(ansi)
  kFreeTwice,          // Allocate(count), then Free() twice
};

struct FillCase {
  const char* name;
  bool doubleByte;
  Fill fill;
  std::string_view ansi;  // kNull / kNullWide: a null text
  std::u16string_view wide;
  int32_t count;
  // Block sizes as the allocator records them (0: absent), and what each
  // block holds up to its last nonzero unit.
  int32_t ansiSize;
  int32_t wideSize;
  std::string_view ansiHeld;
  std::u16string_view wideHeld;
};

const FillCase kFillCases[] = {
    {"SetWide whole", kSingle, kSetWide, kNull, u"abc", 0, 5, 8, "abc", u"abc"},
    {"SetAnsi whole", kSingle, kSetAnsi, "abc", kNullWide, 0, 4, 10, "abc", u"abc"},
    {"SetWide count", kSingle, kSetWideCount, kNull, u"abcdef", 3, 4, 8, "abc", u"abc"},
    {"SetAnsi count", kSingle, kSetAnsiCount, "abcdef", kNullWide, 3, 4, 8, "abc", u"abc"},
    {"SetWide count 0", kSingle, kSetWideCount, kNull, u"abc", 0, 1, 2, "", u""},
    // One unit: the smallest count that converts anything.
    {"SetAnsi count 1", kSingle, kSetAnsiCount, "abc", kNullWide, 1, 2, 4, "a", u"a"},
    {"SetWide count 1", kSingle, kSetWideCount, kNull, u"abc", 1, 2, 4, "a", u"a"},
    {"SetAnsi count 0", kSingle, kSetAnsiCount, "abc", kNullWide, 0, 1, 2, "", u""},
    {"SetWide null", kSingle, kSetWide, kNull, kNullWide, 0, 2, 2, "", u""},
    {"SetAnsi null", kSingle, kSetAnsi, kNull, kNullWide, 0, 1, 4, "", u""},
    {"SetWide empty", kSingle, kSetWide, kNull, u"", 0, 2, 2, "", u""},
    // A null text with a count, and negative counts, read as nothing.
    {"SetAnsi null, count 5", kSingle, kSetAnsiCount, kNull, kNullWide, 5, 1, 2, "", u""},
    {"SetWide null, count 5", kSingle, kSetWideCount, kNull, kNullWide, 5, 1, 2, "", u""},
    {"SetAnsi count -1", kSingle, kSetAnsiCount, "abc", kNullWide, -1, 1, 2, "", u""},
    {"SetWide count -1", kSingle, kSetWideCount, kNull, u"abc", -1, 1, 2, "", u""},
    {"Allocate -4", kSingle, kAllocate, kNull, kNullWide, -4, 1, 2, "", u""},
    {"Allocate 0", kSingle, kAllocate, kNull, kNullWide, 0, 1, 2, "", u""},
    {"Allocate 10", kSingle, kAllocate, kNull, kNullWide, 10, 11, 22, "", u""},
    {"Free twice drops both blocks", kSingle, kFreeTwice, kNull, kNullWide, 10, 0, 0, "", u""},
    {"counted copy keeps inner zeros", kSingle, kSetAnsiCount, "ab\0cd"sv, kNullWide, 5, 6, 12,
     "ab\0cd"sv, u"ab\0cd"sv},
    {"SetBSTR reserve 5", kSingle, kSetBstr, kNull, u"abc", 5, 10, 18, "abc", u"abc"},
    {"SetBSTR reserve -2", kSingle, kSetBstr, kNull, u"abc", -2, 5, 8, "abc", u"abc"},
    // The block is rounded up to whole units: the half-filled last unit and
    // the terminator lie inside it.
    {"SetBSTR of odd byte length", kSingle, kSetOddBstr, kNull, u"abc", 0, 5, 8, "abc", u"abc"},
    {"SetBSTR null slot", kSingle, kSetBstrNullSlot, kNull, kNullWide, 5, 7, 12, "", u""},
    {"SetBSTR null BSTR", kSingle, kSetBstr, kNull, kNullWide, 5, 7, 12, "", u""},
    // The wide side keeps every unit; the ANSI side stops at the first zero
    // ("ab", its terminator, and one spare zero).
    {"SetBSTR with an inner zero", kSingle, kSetBstr, kNull, u"ab\0cd"sv, 0, 4, 12, "ab",
     u"ab\0cd"sv},
    {"AnsiToWide count", kSingle, kAnsiToWide, "abcdef", kNullWide, 2, 7, 6, "abcdef", u"ab"},
    {"AnsiToWide count 0", kSingle, kAnsiToWide, "abc", kNullWide, 0, 4, 2, "abc", u""},
    {"WideToAnsi count", kSingle, kWideToAnsi, kNull, u"abcdef", 4, 5, 14, "abcd", u"abcdef"},
    {"WideToAnsi count 0", kSingle, kWideToAnsi, kNull, u"abc", 0, 1, 8, "", u"abc"},
    {"WideToAnsiWithReserve", kSingle, kWideToAnsiReserve, kNull, u"ab", 7, 11, 6, "ab", u"ab"},
    {"WideToAnsiWithReserve -3", kSingle, kWideToAnsiReserve, kNull, u"ab", -3, 4, 6, "ab", u"ab"},
    {"refill replaces both sides", kSingle, kRefill, "xy", u"a long first text", 0, 3, 8, "xy",
     u"xy"},
    // In a double-byte code page the blocks follow what the conversion
    // measures, never the input lengths: two non-ASCII units and one ASCII
    // unit are 2 + 2 + 1 bytes; five bytes with two pairs are three units.
    {"double-byte SetWide", kDouble, kSetWide, kNull, u"\x65E5\x672Cx", 0, 7, 8, "\xE5\xE5\xE7,x",
     u"\x65E5\x672Cx"},
    {"double-byte SetAnsi count", kDouble, kSetAnsiCount, "\x81\x41\x82\x42z", kNullWide, 5, 6, 8,
     "\x81\x41\x82\x42z", u"\x141\x242z"},
    {"double-byte count of one unit", kDouble, kSetWideCount, kNull, u"\x65E5\x672C", 1, 3, 4,
     "\xE5\xE5", u"\x65E5"},
};

void Apply(const FillCase& row, DualString& text, CountingMemory& memory) {
  switch (row.fill) {
    case kSetAnsi:
      text.SetAnsi(row.ansi.data());
      break;
    case kSetAnsiCount:
      text.SetAnsi(row.ansi.data(), row.count);
      break;
    case kSetWide:
      text.SetWide(row.wide.data());
      break;
    case kSetWideCount:
      text.SetWide(row.wide.data(), row.count);
      break;
    case kSetBstr:
    case kSetOddBstr: {
      Bstr bstr =
          row.wide.data() == nullptr
              ? nullptr
              : memory.AllocBstrLen(row.wide.data(), static_cast<uint32_t>(row.wide.size()));
      memory.ReportOddBstrLengths(row.fill == kSetOddBstr);
      text.SetBSTR(&bstr, row.count);
      memory.ReportOddBstrLengths(false);
      memory.FreeBstr(bstr);
      break;
    }
    case kSetBstrNullSlot:
      text.SetBSTR(nullptr, row.count);
      break;
    case kAllocate:
      text.Allocate(row.count);
      break;
    case kAnsiToWide:
      text.SetAnsi(row.ansi.data());
      text.AnsiToWide(row.count);
      break;
    case kWideToAnsi:
      text.SetWide(row.wide.data());
      text.WideToAnsi(row.count);
      break;
    case kWideToAnsiReserve:
      text.SetWide(row.wide.data());
      text.WideToAnsiWithReserve(row.count);
      break;
    case kRefill:
      text.SetWide(row.wide.data());
      text.SetAnsi(row.ansi.data());
      break;
    case kFreeTwice:
      text.Allocate(row.count);
      text.Free();
      text.Free();
      break;
  }
}

// A block's units up to its last nonzero one: the text with any inner zeros.
template <typename Unit>
std::basic_string<Unit> Held(const Unit* block, int32_t bytes) {
  std::basic_string<Unit> units(block, block + bytes / static_cast<int32_t>(sizeof(Unit)));
  while (!units.empty() && units.back() == 0) units.pop_back();
  return units;
}

// The ASCII rows hold in every code page, so they also run through the
// system's own (natively UTF-8; under Wine 1252, 1251 and 932).
TEST(DualString, BlockSizesFollowMeasuredCounts) {
  CountingMemory memory;
  testing::SingleByteCodepage singleByte;
  testing::DoubleByteCodepage doubleByte;
  for (const FillCase& row : kFillCases) {
    for (const bool systemPage : {false, true}) {
      if (systemPage && row.doubleByte) continue;
      SCOPED_TRACE(::testing::Message() << row.name << (systemPage ? ", system code page" : ""));
      platform::Codepage& codepage = systemPage       ? platform::SystemCodepage()
                                     : row.doubleByte ? static_cast<platform::Codepage&>(doubleByte)
                                                      : singleByte;
      {
        DualString text(memory, codepage);
        Apply(row, text, memory);
        EXPECT_EQ(text.GetAnsiSize(), row.ansiSize);
        EXPECT_EQ(text.GetWideSize(), row.wideSize);
        EXPECT_EQ(text.GetAnsi() != nullptr, row.ansiSize > 0);
        EXPECT_EQ(text.GetWide() != nullptr, row.wideSize > 0);
        EXPECT_EQ(Held(text.GetAnsi(), text.GetAnsiSize()), std::string(row.ansiHeld));
        EXPECT_EQ(Held(text.GetWide(), text.GetWideSize()), std::u16string(row.wideHeld));
        EXPECT_EQ(memory.liveBlocks(), (row.ansiSize > 0) + (row.wideSize > 0));
      }
      EXPECT_EQ(memory.live(), 0);
    }
  }
}

// Each fill with each of its allocations failing in turn: a side is either
// absent or a terminated text in its block, and nothing leaks (the sanitizer
// build checks that nothing is read from a missing block).
TEST(DualString, FailedAllocationLeavesSideAbsentAndLeaksNothing) {
  CountingMemory memory;
  testing::SingleByteCodepage codepage;
  for (const FillCase& row : kFillCases) {
    for (int failing = 1; failing <= 4; ++failing) {
      SCOPED_TRACE(::testing::Message() << row.name << ", failing allocation " << failing);
      {
        DualString text(memory, codepage);
        memory.FailAllocationNumber(failing);
        Apply(row, text, memory);
        memory.FailAllocationNumber(0);
        if (text.GetAnsi() != nullptr) {
          EXPECT_LT(TextLength(text.GetAnsi()), text.GetAnsiSize());
        }
        if (text.GetWide() != nullptr) {
          EXPECT_LT(2 * TextLength(text.GetWide()), text.GetWideSize());
        }
      }
      EXPECT_EQ(memory.live(), 0);
    }
  }
}

// The BSTR operations, on an object made with SetAnsi(ansi), into a slot
// that holds "old" or into no slot.
enum Convert {
  kAnsiToBstr,
  kWideToBstr,
  kWideToBstrNoWide,  // FreeWide() first
};

constexpr int32_t kWhole = INT32_MIN;  // the overload without a count
constexpr bool kSlot = true;
constexpr bool kNoSlot = false;

struct BstrCase {
  const char* name;
  bool doubleByte;
  const char* ansi;
  Convert convert;
  int32_t count;
  bool intoSlot;
  int failing;  // the allocation of the call that fails; 0 none
  // The units of the BSTR returned and of the slot's afterwards; "<null>".
  std::u16string_view made;
  std::u16string_view slot;
};

const BstrCase kBstrCases[] = {
    {"WideToBSTR whole", kSingle, "new text", kWideToBstr, kWhole, kSlot, 0, u"new text",
     u"new text"},
    {"WideToBSTR count", kSingle, "new text", kWideToBstr, 3, kSlot, 0, u"new", u"new"},
    {"AnsiToBSTR whole", kSingle, "ansi", kAnsiToBstr, kWhole, kSlot, 0, u"ansi", u"ansi"},
    {"AnsiToBSTR count", kSingle, "ansi", kAnsiToBstr, 2, kSlot, 0, u"an", u"an"},
    // Without a slot the caller owns the returned BSTR.
    {"WideToBSTR without a slot", kSingle, "an", kWideToBstr, kWhole, kNoSlot, 0, u"an", u"old"},
    // Without a wide copy: whole, the slot's BSTR is released and null
    // stored; counted, a BSTR of that many zero units.
    {"WideToBSTR whole, no wide copy", kSingle, "abc", kWideToBstrNoWide, kWhole, kSlot, 0,
     u"<null>", u"<null>"},
    {"WideToBSTR count, no wide copy", kSingle, "abc", kWideToBstrNoWide, 4, kSlot, 0,
     u"\0\0\0\0"sv, u"\0\0\0\0"sv},
    // Counts of zero and below make an empty BSTR, never null.
    {"AnsiToBSTR 0", kSingle, "abc", kAnsiToBstr, 0, kSlot, 0, u"", u""},
    {"AnsiToBSTR -1", kSingle, "abc", kAnsiToBstr, -1, kSlot, 0, u"", u""},
    {"WideToBSTR 0", kSingle, "abc", kWideToBstr, 0, kSlot, 0, u"", u""},
    {"WideToBSTR -1", kSingle, "abc", kWideToBstr, -1, kSlot, 0, u"", u""},
    {"WideToBSTR 0, no wide copy", kSingle, "abc", kWideToBstrNoWide, 0, kSlot, 0, u"", u""},
    // When the wide block or the BSTR cannot be had there is no new BSTR, so
    // the slot keeps the one it holds, with a count or without.
    {"AnsiToBSTR whole, wide block fails", kSingle, "abc", kAnsiToBstr, kWhole, kSlot, 1, u"<null>",
     u"old"},
    {"AnsiToBSTR count 2, wide block fails", kSingle, "abc", kAnsiToBstr, 2, kSlot, 1, u"<null>",
     u"old"},
    {"AnsiToBSTR count 0, wide block fails", kSingle, "abc", kAnsiToBstr, 0, kSlot, 1, u"<null>",
     u"old"},
    {"AnsiToBSTR whole, BSTR fails", kSingle, "abc", kAnsiToBstr, kWhole, kSlot, 2, u"<null>",
     u"old"},
    {"AnsiToBSTR count 2, BSTR fails", kSingle, "abc", kAnsiToBstr, 2, kSlot, 2, u"<null>", u"old"},
    {"WideToBSTR whole, BSTR fails", kSingle, "abc", kWideToBstr, kWhole, kSlot, 1, u"<null>",
     u"old"},
    {"WideToBSTR count 2, BSTR fails", kSingle, "abc", kWideToBstr, 2, kSlot, 1, u"<null>", u"old"},
    {"WideToBSTR count, no wide copy, BSTR fails", kSingle, "abc", kWideToBstrNoWide, 4, kSlot, 1,
     u"<null>", u"old"},
    // A count beyond what the wide block holds is cut to the block rather
    // than read past it: four bytes are two units here (and the whole text's
    // wide block holds its converted terminator as well).
    {"AnsiToBSTR count past the units", kDouble, "\x81\x41\x82\x42", kAnsiToBstr, 4, kNoSlot, 0,
     u"\x141\x242", u"old"},
    {"WideToBSTR count past the units", kDouble, "\x81\x41\x82\x42", kWideToBstr, 100, kNoSlot, 0,
     u"\x141\x242\0"sv, u"old"},
};

Bstr ConvertRow(const BstrCase& row, DualString& text, Bstr* slot) {
  if (row.convert == kWideToBstrNoWide) text.FreeWide();
  const bool fromAnsi = row.convert == kAnsiToBstr;
  if (row.count == kWhole) return fromAnsi ? text.AnsiToBSTR(slot) : text.WideToBSTR(slot);
  return fromAnsi ? text.AnsiToBSTR(slot, row.count) : text.WideToBSTR(slot, row.count);
}

// A BSTR's units, its terminator checked; "<null>" for none.
std::u16string UnitsOf(CountingMemory& memory, Bstr bstr) {
  if (bstr == nullptr) return u"<null>";
  const size_t units = memory.BstrByteLen(bstr) / 2;
  EXPECT_EQ(bstr[units], 0);
  return std::u16string(bstr, units);
}

TEST(DualString, BstrOperationsHandOverOrKeepTheSlot) {
  CountingMemory memory;
  testing::SingleByteCodepage singleByte;
  testing::DoubleByteCodepage doubleByte;
  for (const BstrCase& row : kBstrCases) {
    SCOPED_TRACE(row.name);
    Bstr slot = memory.AllocBstr(u"old");
    Bstr made = nullptr;
    {
      DualString text(memory,
                      row.doubleByte ? static_cast<platform::Codepage&>(doubleByte) : singleByte,
                      row.ansi);
      memory.FailAllocationNumber(row.failing);
      made = ConvertRow(row, text, row.intoSlot ? &slot : nullptr);
      memory.FailAllocationNumber(0);
    }
    EXPECT_EQ(UnitsOf(memory, made), std::u16string(row.made));
    EXPECT_EQ(UnitsOf(memory, slot), std::u16string(row.slot));
    if (row.intoSlot && made != nullptr) {
      EXPECT_EQ(made, slot);
    }
    if (!row.intoSlot) memory.FreeBstr(made);
    memory.FreeBstr(slot);
    // Nothing left: the slot's old BSTR was released when it was replaced.
    EXPECT_EQ(memory.live(), 0);
  }
}

}  // namespace
}  // namespace tms
