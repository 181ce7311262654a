// DualString: block sizes, contents, BSTR hand-over and allocation failure.
#include "strings/dual_string.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/counting_memory.h"
#include "fakes/fake_codepages.h"
#include "platform/text.h"

namespace tms {
namespace {

using testing::CountingMemory;
using testing::DoubleByteCodepage;
using testing::SingleByteCodepage;

std::u16string WideOf(DualString& text) {
  return text.GetWide() == nullptr ? u"<absent>" : std::u16string(text.GetWide());
}
std::string AnsiOf(DualString& text) {
  return text.GetAnsi() == nullptr ? "<absent>" : std::string(text.GetAnsi());
}

struct SizeCase {
  const char* name;
  std::function<void(DualString&, CountingMemory&)> fill;
  int32_t ansiSize;
  int32_t wideSize;
  const char* ansiText;
  const char16_t* wideText;
};

// Block sizes in a single-byte code page, as the allocator records them.
TEST(DualString, BlockSizesFollowMeasuredCountsInSingleByteCodepage) {
  const SizeCase cases[] = {
      {"SetWide whole", [](DualString& s, CountingMemory&) { s.SetWide(u"abc"); }, 5, 8, "abc",
       u"abc"},
      {"SetAnsi whole", [](DualString& s, CountingMemory&) { s.SetAnsi("abc"); }, 4, 10, "abc",
       u"abc"},
      {"SetWide count", [](DualString& s, CountingMemory&) { s.SetWide(u"abcdef", 3); }, 4, 8,
       "abc", u"abc"},
      {"SetAnsi count", [](DualString& s, CountingMemory&) { s.SetAnsi("abcdef", 3); }, 4, 8,
       "abc", u"abc"},
      {"SetWide count 0", [](DualString& s, CountingMemory&) { s.SetWide(u"abc", 0); }, 1, 2, "",
       u""},
      {"SetAnsi count 0", [](DualString& s, CountingMemory&) { s.SetAnsi("abc", 0); }, 1, 2, "",
       u""},
      {"SetWide null", [](DualString& s, CountingMemory&) { s.SetWide(static_cast<const WideChar*>(nullptr)); },
       2, 2, "", u""},
      {"SetAnsi null", [](DualString& s, CountingMemory&) { s.SetAnsi(static_cast<const char*>(nullptr)); },
       1, 4, "", u""},
      {"SetWide empty", [](DualString& s, CountingMemory&) { s.SetWide(u""); }, 2, 2, "", u""},
      // A null text with a count, and negative counts, read as nothing.
      {"SetAnsi null, count 5",
       [](DualString& s, CountingMemory&) { s.SetAnsi(static_cast<const char*>(nullptr), 5); },
       1, 2, "", u""},
      {"SetWide null, count 5",
       [](DualString& s, CountingMemory&) { s.SetWide(static_cast<const WideChar*>(nullptr), 5); },
       1, 2, "", u""},
      {"SetAnsi count -1", [](DualString& s, CountingMemory&) { s.SetAnsi("abc", -1); }, 1, 2, "",
       u""},
      {"SetWide count -1", [](DualString& s, CountingMemory&) { s.SetWide(u"abc", -1); }, 1, 2, "",
       u""},
      {"Allocate -4", [](DualString& s, CountingMemory&) { s.Allocate(-4); }, 1, 2, "", u""},
      {"SetBSTR reserve 5",
       [](DualString& s, CountingMemory& m) {
         Bstr bstr = m.AllocBstr(u"abc");
         s.SetBSTR(&bstr, 5);
         m.FreeBstr(bstr);
       },
       10, 18, "abc", u"abc"},
      // The block is rounded up to whole units: the half-filled last unit
      // and the terminator lie inside it.
      {"SetBSTR of odd byte length",
       [](DualString& s, CountingMemory& m) {
         Bstr bstr = m.AllocBstr(u"abc");
         m.ReportOddBstrLengths(true);
         s.SetBSTR(&bstr, 0);
         m.ReportOddBstrLengths(false);
         m.FreeBstr(bstr);
       },
       5, 8, "abc", u"abc"},
      {"SetBSTR null slot", [](DualString& s, CountingMemory&) { s.SetBSTR(nullptr, 5); }, 7, 12,
       "", u""},
      {"SetBSTR null BSTR",
       [](DualString& s, CountingMemory&) {
         Bstr bstr = nullptr;
         s.SetBSTR(&bstr, 5);
       },
       7, 12, "", u""},
      {"Allocate 10", [](DualString& s, CountingMemory&) { s.Allocate(10); }, 11, 22, "", u""},
      {"Allocate 0", [](DualString& s, CountingMemory&) { s.Allocate(0); }, 1, 2, "", u""},
      {"AnsiToWide count",
       [](DualString& s, CountingMemory&) {
         s.SetAnsi("abcdef");
         s.AnsiToWide(2);
       },
       7, 6, "abcdef", u"ab"},
      {"WideToAnsi count",
       [](DualString& s, CountingMemory&) {
         s.SetWide(u"abcdef");
         s.WideToAnsi(4);
       },
       5, 14, "abcd", u"abcdef"},
      {"AnsiToWide count 0",
       [](DualString& s, CountingMemory&) {
         s.SetAnsi("abc");
         s.AnsiToWide(0);
       },
       4, 2, "abc", u""},
      {"WideToAnsi count 0",
       [](DualString& s, CountingMemory&) {
         s.SetWide(u"abc");
         s.WideToAnsi(0);
       },
       1, 8, "", u"abc"},
      {"WideToAnsiWithReserve -3",
       [](DualString& s, CountingMemory&) {
         s.SetWide(u"ab");
         s.WideToAnsiWithReserve(-3);
       },
       4, 6, "ab", u"ab"},
      {"SetBSTR reserve -2",
       [](DualString& s, CountingMemory& m) {
         Bstr bstr = m.AllocBstr(u"abc");
         s.SetBSTR(&bstr, -2);
         m.FreeBstr(bstr);
       },
       5, 8, "abc", u"abc"},
      {"WideToAnsiWithReserve",
       [](DualString& s, CountingMemory&) {
         s.SetWide(u"ab");
         s.WideToAnsiWithReserve(7);
       },
       11, 6, "ab", u"ab"},
      {"refill replaces both sides",
       [](DualString& s, CountingMemory&) {
         s.SetWide(u"a long first text");
         s.SetAnsi("xy");
       },
       3, 8, "xy", u"xy"},
  };
  CountingMemory memory;
  SingleByteCodepage codepage;
  for (const SizeCase& row : cases) {
    SCOPED_TRACE(row.name);
    {
      DualString text(memory, codepage);
      row.fill(text, memory);
      EXPECT_EQ(text.GetAnsiSize(), row.ansiSize);
      EXPECT_EQ(text.GetWideSize(), row.wideSize);
      EXPECT_EQ(AnsiOf(text), row.ansiText);
      EXPECT_EQ(WideOf(text), row.wideText);
      EXPECT_EQ(memory.liveBlocks(), 2);
    }
    EXPECT_EQ(memory.live(), 0);
  }
}

// In a double-byte code page the blocks follow what the conversion measures,
// never the input lengths.
TEST(DualString, BlockSizesFollowMeasuredCountsInDoubleByteCodepage) {
  CountingMemory memory;
  DoubleByteCodepage codepage;
  {
    // Two non-ASCII units and one ASCII unit: 2 + 2 + 1 bytes and a terminator.
    DualString text(memory, codepage, u"\x65e5\x672cx");
    EXPECT_EQ(text.GetWideSize(), 8);
    EXPECT_EQ(text.GetAnsiSize(), 7);
    EXPECT_EQ(TextLength(text.GetAnsi()), 5);
  }
  {
    // Five bytes, two of them double-byte pairs: three units.
    DualString text(memory, codepage, "\x81\x41\x82\x42z", 5);
    EXPECT_EQ(text.GetAnsiSize(), 6);
    EXPECT_EQ(text.GetWideSize(), 8);
    EXPECT_EQ(TextLength(text.GetWide()), 3);
  }
  {
    // A count that splits a pair converts what the count holds.
    DualString text(memory, codepage, u"\x65e5\x672c", 1);
    EXPECT_EQ(text.GetWideSize(), 4);
    EXPECT_EQ(text.GetAnsiSize(), 3);
  }
  EXPECT_EQ(memory.live(), 0);
}

TEST(DualString, CountedCopyKeepsInnerZeros) {
  CountingMemory memory;
  SingleByteCodepage codepage;
  DualString text(memory, codepage, "ab\0cd", 5);
  ASSERT_NE(text.GetWide(), nullptr);
  EXPECT_EQ(text.GetWideSize(), 12);
  const std::u16string units(text.GetWide(), 5);
  EXPECT_EQ(units, std::u16string(u"ab\0cd", 5));
  EXPECT_EQ(WideOf(text), u"ab");
  EXPECT_EQ(text.GetWide()[5], 0);
}

TEST(DualString, BstrWithInnerZeroKeepsAllUnitsButAnsiStopsAtZero) {
  CountingMemory memory;
  SingleByteCodepage codepage;
  Bstr bstr = memory.AllocBstrLen(u"ab\0cd", 5);
  {
    DualString text(memory, codepage, &bstr, 0);
    EXPECT_EQ(text.GetWideSize(), 12);
    EXPECT_EQ(std::u16string(text.GetWide(), 5), std::u16string(u"ab\0cd", 5));
    EXPECT_EQ(AnsiOf(text), "ab");
    EXPECT_EQ(text.GetAnsiSize(), 4);  // "ab", its terminator, and one spare zero
  }
  memory.FreeBstr(bstr);
  EXPECT_EQ(memory.live(), 0);
}

TEST(DualString, BstrOperationsReplaceTheSlotsBstr) {
  CountingMemory memory;
  SingleByteCodepage codepage;
  Bstr slot = memory.AllocBstr(u"old");
  {
    DualString text(memory, codepage, u"new text");
    Bstr made = text.WideToBSTR(&slot);
    EXPECT_EQ(made, slot);
    EXPECT_EQ(std::u16string(slot), u"new text");
    EXPECT_EQ(memory.BstrByteLen(slot), 16u);
    EXPECT_EQ(memory.liveBstrs(), 1);

    made = text.WideToBSTR(&slot, 3);
    EXPECT_EQ(std::u16string(slot), u"new");
    EXPECT_EQ(memory.BstrByteLen(slot), 6u);

    text.SetAnsi("ansi");
    made = text.AnsiToBSTR(&slot);
    EXPECT_EQ(std::u16string(slot), u"ansi");
    made = text.AnsiToBSTR(&slot, 2);
    EXPECT_EQ(std::u16string(slot), u"an");
    EXPECT_EQ(memory.liveBstrs(), 1);

    // Without a slot the caller owns the returned BSTR.
    Bstr loose = text.WideToBSTR(nullptr);
    EXPECT_EQ(std::u16string(loose), u"an");
    EXPECT_EQ(memory.liveBstrs(), 2);
    memory.FreeBstr(loose);
  }
  memory.FreeBstr(slot);
  EXPECT_EQ(memory.live(), 0);
}

TEST(DualString, WideToBstrWithoutWideCopy) {
  CountingMemory memory;
  SingleByteCodepage codepage;
  Bstr slot = memory.AllocBstr(u"old");
  DualString empty(memory, codepage);
  // Whole: the slot's BSTR is released and null stored.
  EXPECT_EQ(empty.WideToBSTR(&slot), nullptr);
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(memory.liveBstrs(), 0);
  // Counted: a BSTR of that many zero units.
  Bstr zeros = empty.WideToBSTR(&slot, 4);
  ASSERT_NE(zeros, nullptr);
  EXPECT_EQ(memory.BstrByteLen(zeros), 8u);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(zeros[i], 0) << i;
  memory.FreeBstr(slot);
}

// Counts of zero and below make an empty BSTR, never null; the slot's old
// BSTR is replaced.
TEST(DualString, ZeroAndNegativeCountsMakeEmptyBstrs) {
  const struct {
    const char* name;
    std::function<Bstr(DualString&, Bstr*)> convert;
  } cases[] = {
      {"AnsiToBSTR 0", [](DualString& s, Bstr* slot) { return s.AnsiToBSTR(slot, 0); }},
      {"AnsiToBSTR -1", [](DualString& s, Bstr* slot) { return s.AnsiToBSTR(slot, -1); }},
      {"WideToBSTR 0", [](DualString& s, Bstr* slot) { return s.WideToBSTR(slot, 0); }},
      {"WideToBSTR -1", [](DualString& s, Bstr* slot) { return s.WideToBSTR(slot, -1); }},
      {"WideToBSTR 0 without a wide copy",
       [](DualString& s, Bstr* slot) {
         s.FreeWide();
         return s.WideToBSTR(slot, 0);
       }},
  };
  CountingMemory memory;
  SingleByteCodepage codepage;
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    Bstr slot = memory.AllocBstr(u"old");
    {
      DualString text(memory, codepage, "abc");
      const Bstr made = row.convert(text, &slot);
      ASSERT_NE(made, nullptr);
      EXPECT_EQ(made, slot);
      EXPECT_EQ(memory.BstrByteLen(made), 0u);
      EXPECT_EQ(made[0], 0);
      EXPECT_EQ(memory.liveBstrs(), 1);
    }
    memory.FreeBstr(slot);
    EXPECT_EQ(memory.live(), 0);
  }
}

// When the wide block cannot be had there is no new BSTR, so the slot keeps
// the one it holds, with a count or without.
TEST(DualString, AnsiToBstrKeepsTheSlotWhenTheWideBlockFails) {
  const struct {
    const char* name;
    std::function<Bstr(DualString&, Bstr*)> convert;
  } cases[] = {
      {"whole", [](DualString& s, Bstr* slot) { return s.AnsiToBSTR(slot); }},
      {"count 2", [](DualString& s, Bstr* slot) { return s.AnsiToBSTR(slot, 2); }},
      {"count 0", [](DualString& s, Bstr* slot) { return s.AnsiToBSTR(slot, 0); }},
  };
  CountingMemory memory;
  SingleByteCodepage codepage;
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    Bstr slot = memory.AllocBstr(u"slot");
    {
      DualString text(memory, codepage, "abc");
      memory.FailAllocationNumber(1);
      EXPECT_EQ(row.convert(text, &slot), nullptr);
      memory.FailAllocationNumber(0);
    }
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(std::u16string(slot), u"slot");
    memory.FreeBstr(slot);
    EXPECT_EQ(memory.live(), 0);
  }
}

// A count beyond what the wide block holds is cut to the block rather than
// read past it (a multi-byte code page gives fewer units than bytes).
TEST(DualString, CountedBstrNeverReadsPastTheWideBlock) {
  CountingMemory memory;
  DoubleByteCodepage codepage;
  DualString text(memory, codepage, "\x81\x41\x82\x42");
  Bstr made = text.AnsiToBSTR(nullptr, 4);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(memory.BstrByteLen(made), 4u);
  memory.FreeBstr(made);
  made = text.WideToBSTR(nullptr, 100);
  EXPECT_EQ(memory.BstrByteLen(made), 4u);
  memory.FreeBstr(made);
}

TEST(DualString, FreeIsIdempotentAndSizesDropToZero) {
  CountingMemory memory;
  SingleByteCodepage codepage;
  DualString text(memory, codepage, 10);
  EXPECT_EQ(text.GetAnsiSize(), 11);
  EXPECT_EQ(text.GetWideSize(), 22);
  text.Free();
  text.Free();
  EXPECT_EQ(text.GetAnsiSize(), 0);
  EXPECT_EQ(text.GetWideSize(), 0);
  EXPECT_EQ(text.GetAnsi(), nullptr);
  EXPECT_EQ(text.GetWide(), nullptr);
  EXPECT_EQ(memory.live(), 0);
}

// Every operation, with each of its allocations failing in turn: the object
// stays valid (a side is either absent or a terminated text in a block of
// the right size), nothing leaks, and nothing is read from a missing block
// (the sanitizer build checks the latter).
TEST(DualString, FailedAllocationLeavesSideAbsentAndLeaksNothing) {
  const std::function<void(DualString&, Bstr*)> operations[] = {
      [](DualString& s, Bstr*) { s.SetWide(u"abc"); },
      [](DualString& s, Bstr*) { s.SetWide(u"abcdef", 3); },
      [](DualString& s, Bstr*) { s.SetAnsi("abc"); },
      [](DualString& s, Bstr*) { s.SetAnsi("abcdef", 4); },
      [](DualString& s, Bstr* slot) { s.SetBSTR(slot, 5); },
      [](DualString& s, Bstr*) { s.Allocate(8); },
      [](DualString& s, Bstr* slot) {
        s.SetAnsi("abc");
        s.AnsiToBSTR(slot);
      },
      [](DualString& s, Bstr* slot) {
        s.SetAnsi("abc");
        s.AnsiToBSTR(slot, 2);
      },
      [](DualString& s, Bstr* slot) {
        s.SetWide(u"abc");
        s.WideToBSTR(slot);
      },
      [](DualString& s, Bstr* slot) {
        s.SetWide(u"abc");
        s.WideToBSTR(slot, 3);
      },
      [](DualString& s, Bstr*) {
        s.SetWide(u"abc");
        s.WideToAnsiWithReserve(4);
      },
  };
  CountingMemory memory;
  SingleByteCodepage codepage;
  int index = 0;
  for (const auto& operation : operations) {
    for (int failing = 1; failing <= 4; ++failing) {
      SCOPED_TRACE(::testing::Message() << "operation " << index << ", failing allocation "
                                        << failing);
      Bstr slot = memory.AllocBstr(u"slot");
      memory.FailAllocationNumber(failing);
      {
        DualString text(memory, codepage);
        operation(text, &slot);
        memory.FailAllocationNumber(0);
        if (text.GetAnsi() != nullptr) {
          EXPECT_LT(TextLength(text.GetAnsi()), text.GetAnsiSize());
        }
        if (text.GetWide() != nullptr) {
          EXPECT_LT(2 * TextLength(text.GetWide()), text.GetWideSize());
        }
      }
      // The slot holds its old BSTR or a complete replacement.
      if (slot != nullptr) {
        EXPECT_EQ(memory.BstrByteLen(slot) % 2, 0u);
      }
      memory.FreeBstr(slot);
      EXPECT_EQ(memory.live(), 0);
    }
    ++index;
  }
}

}  // namespace
}  // namespace tms
