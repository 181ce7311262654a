// Fuzzes DualString with random sequences of its operations over the real
// code page and a counting allocator, some of whose allocations fail. After
// every step each side that exists is a terminated text inside its block, a
// side copied from the caller's text holds it in a block one unit larger,
// and at the end nothing is left allocated.
#include <string.h>

#include <string>

#include "fakes/counting_memory.h"
#include "fuzz/fuzz_input.h"
#include "platform/codepage.h"
#include "platform/text.h"
#include "strings/dual_string.h"

namespace {

using tms::Bstr;
using tms::DualString;
using tms::WideChar;
using tms::fuzz::Check;

// Every present side holds a terminated text within its block.
void CheckTerminated(DualString& text) {
  if (char* ansi = text.GetAnsi()) {
    Check(text.GetAnsiSize() >= 1);
    Check(ansi[text.GetAnsiSize() - 1] == 0);
  }
  if (WideChar* wide = text.GetWide()) {
    Check(text.GetWideSize() >= 2);
    Check(wide[text.GetWideSize() / 2 - 1] == 0);
  }
}

// A side copied from the caller's text holds its first `units` units in a
// block one unit larger.
template <typename Unit>
void CheckCopied(const Unit* side, int32_t blockBytes, const Unit* text, int32_t units) {
  if (side == nullptr) return;
  Check(blockBytes == static_cast<int32_t>(sizeof(Unit)) * (units + 1));
  Check(units == 0 || memcmp(side, text, sizeof(Unit) * units) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tms::fuzz::FuzzInput input(data, size);
  tms::testing::CountingMemory memory;
  Bstr slot = nullptr;
  {
    DualString text(memory, tms::platform::SystemCodepage());
    while (!input.empty()) {
      // Counts for the conversions reach up to what each side holds.
      const int32_t ansiUnits = text.GetAnsiSize() > 0 ? text.GetAnsiSize() - 1 : 0;
      const int32_t wideUnits = text.GetWideSize() > 0 ? text.GetWideSize() / 2 - 1 : 0;
      // Now and then an allocation fails; the object must stay sound.
      memory.FailAllocationNumber(input.Byte() % 8 == 0 ? 1 + input.Byte() % 3 : 0);
      const int step = input.Byte() % 12;
      switch (step) {
        case 0:
        case 1: {  // the caller's whole text, or its first `count` bytes
          const std::string ansi = input.Bytes(64);
          const int32_t count = step == 0 ? tms::TextLength(ansi.c_str())
                                          : input.Count(static_cast<int32_t>(ansi.size()));
          step == 0 ? text.SetAnsi(ansi.c_str()) : text.SetAnsi(ansi.data(), count);
          CheckCopied(text.GetAnsi(), text.GetAnsiSize(), ansi.data(), count);
          break;
        }
        case 2:
        case 3: {
          const std::u16string wide = input.Units(64);
          const int32_t count = step == 2 ? tms::TextLength(wide.c_str())
                                          : input.Count(static_cast<int32_t>(wide.size()));
          step == 2 ? text.SetWide(wide.c_str()) : text.SetWide(wide.data(), count);
          CheckCopied(text.GetWide(), text.GetWideSize(), wide.data(), count);
          break;
        }
        case 4: {
          const int32_t reserve = input.Count(16);
          text.SetBSTR(&slot, reserve);
          if (text.GetWide() != nullptr) {
            const uint32_t bytes = memory.BstrByteLen(slot);
            Check(text.GetWideSize() == static_cast<int32_t>(bytes) + 2 * reserve + 2);
            Check(bytes == 0 || memcmp(text.GetWide(), slot, bytes) == 0);
          }
          break;
        }
        case 5:
          text.Allocate(input.Count(64));
          break;
        case 6:
          text.AnsiToWide(input.Count(ansiUnits));
          break;
        case 7:
          text.WideToAnsi(input.Count(wideUnits));
          break;
        case 8:
          text.WideToAnsiWithReserve(input.Count(16));
          break;
        case 9:
          input.Flag() ? text.AnsiToBSTR(&slot) : text.AnsiToBSTR(&slot, input.Count(ansiUnits));
          break;
        case 10:
          input.Flag() ? text.WideToBSTR(&slot) : text.WideToBSTR(&slot, input.Count(wideUnits));
          break;
        default:
          text.Free();
          break;
      }
      memory.FailAllocationNumber(0);
      CheckTerminated(text);
      Check(memory.liveBlocks() <= 2);
      Check(memory.liveBstrs() == (slot != nullptr ? 1 : 0));
    }
  }
  memory.FreeBstr(slot);
  Check(memory.live() == 0);
  return 0;
}
