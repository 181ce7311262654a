// Fuzzes DualString with random sequences of its operations over the real
// code page and a counting allocator. After every step each side that exists
// is a terminated text inside its block, the blocks have the sizes the
// measured counts call for, and at the end nothing is left allocated.
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

int32_t MeasureAnsi(tms::platform::Codepage& codepage, const WideChar* wide, int32_t count) {
  return count == 0 ? 0 : codepage.WideToAnsi(wide, count, nullptr, 0);
}

int32_t MeasureWide(tms::platform::Codepage& codepage, const char* ansi, int32_t count) {
  return count == 0 ? 0 : codepage.AnsiToWide(ansi, count, nullptr, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tms::fuzz::FuzzInput input(data, size);
  tms::testing::CountingMemory memory;
  tms::platform::Codepage& codepage = tms::platform::SystemCodepage();
  Bstr slot = nullptr;
  {
    DualString text(memory, codepage);
    while (!input.empty()) {
      // Now and then an allocation fails; the object must stay sound.
      memory.FailAllocationNumber(input.Byte() % 8 == 0 ? 1 + input.Byte() % 3 : 0);
      switch (input.Byte() % 12) {
        case 0: {
          const std::string ansi = input.Bytes(64);
          text.SetAnsi(ansi.c_str());
          if (text.GetAnsi() != nullptr) Check(text.GetAnsiSize() == tms::TextLength(ansi.c_str()) + 1);
          break;
        }
        case 1: {
          const std::string ansi = input.Bytes(64);
          const int32_t count = input.Count(static_cast<int32_t>(ansi.size()));
          text.SetAnsi(ansi.data(), count);
          if (text.GetAnsi() != nullptr) {
            Check(text.GetAnsiSize() == count + 1);
            if (text.GetWide() != nullptr) {
              Check(text.GetWideSize() == 2 * MeasureWide(codepage, ansi.data(), count) + 2);
            }
          }
          break;
        }
        case 2: {
          const std::u16string wide = input.Units(64);
          text.SetWide(wide.c_str());
          if (text.GetWide() != nullptr) {
            Check(text.GetWideSize() == 2 * tms::TextLength(wide.c_str()) + 2);
            if (text.GetAnsi() != nullptr) {
              Check(text.GetAnsiSize() == MeasureAnsi(codepage, text.GetWide(), -1) + 1);
            }
          }
          break;
        }
        case 3: {
          const std::u16string wide = input.Units(64);
          const int32_t count = input.Count(static_cast<int32_t>(wide.size()));
          text.SetWide(wide.data(), count);
          if (text.GetWide() != nullptr && text.GetAnsi() != nullptr) {
            Check(text.GetAnsiSize() == MeasureAnsi(codepage, wide.data(), count) + 1);
          }
          break;
        }
        case 4: {
          const int32_t reserve = input.Count(16);
          text.SetBSTR(&slot, reserve);
          if (text.GetWide() != nullptr) {
            Check(text.GetWideSize() ==
                  static_cast<int32_t>(memory.BstrByteLen(slot)) + 2 * reserve + 2);
          }
          break;
        }
        case 5:
          text.Allocate(input.Count(64));
          break;
        case 6:
          text.AnsiToWide(input.Count(text.GetAnsiSize() > 0 ? text.GetAnsiSize() - 1 : 0));
          break;
        case 7:
          text.WideToAnsi(input.Count(text.GetWideSize() > 0 ? text.GetWideSize() / 2 - 1 : 0));
          break;
        case 8:
          text.WideToAnsiWithReserve(input.Count(16));
          break;
        case 9:
          if (input.Byte() % 2 == 0) {
            text.AnsiToBSTR(&slot);
          } else {
            text.AnsiToBSTR(&slot, input.Count(text.GetAnsiSize() > 0 ? text.GetAnsiSize() - 1 : 0));
          }
          break;
        case 10:
          if (input.Byte() % 2 == 0) {
            text.WideToBSTR(&slot);
          } else {
            text.WideToBSTR(&slot, input.Count(text.GetWideSize() > 0 ? text.GetWideSize() / 2 - 1 : 0));
          }
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
