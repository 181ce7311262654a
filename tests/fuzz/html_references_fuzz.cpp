// Fuzzes the HTML references of now-playing titles: random UTF-16 titles
// (surrogates in and out of pairs, U+FFFF, inner zeros, now and then tens
// of thousands of units). The encoded title is pure ASCII with each
// character outside ASCII as its shortest reference, and reading the
// references back gives the characters of the title up to its first zero, a
// surrogate outside a pair as U+FFFD. When an allocation fails the title
// stays as it was; nothing leaks.
#include <string>

#include "fakes/counting_memory.h"
#include "fuzz/code_points.h"
#include "fuzz/fuzz_input.h"
#include "nowplaying/html_references.h"

namespace {

using tms::Bstr;
using tms::fuzz::Check;
using tms::fuzz::FuzzInput;

// Titles hold no '&', so that every "&#" in the result is a reference (that
// markup stays as it is, the unit tests show).
std::u16string PickTitle(FuzzInput& input) {
  std::u16string title = input.Units(64);
  for (char16_t& unit : title) {
    // Surrogates and the ends of the ranges the references are sized by.
    const char16_t near[] = {0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xFFFF, 0x7F, 0x80, 999, 1000};
    if (input.Byte() % 4 == 0) unit = input.Pick(near);
    if (unit == u'&') unit = u'+';
  }
  input.MaybeHuge(title);
  return title;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  tms::testing::CountingMemory memory;
  while (!input.empty()) {
    const std::u16string units = PickTitle(input);
    const std::u16string title = units.substr(0, units.find(u'\0'));
    Bstr bstr = memory.AllocBstrLen(units.data(), static_cast<uint32_t>(units.size()));
    const Bstr before = bstr;
    const int failing = input.Byte() % 4 == 0 ? 1 + input.Byte() % 2 : 0;
    memory.FailAllocationNumber(failing);
    tms::EncodeHtmlReferences(memory, &bstr);
    memory.FailAllocationNumber(0);

    Check(memory.live() == 1);
    const std::u16string encoded(bstr, memory.BstrByteLen(bstr) / sizeof(char16_t));
    if (bstr == before) {
      // Left alone: only when an allocation failed, and then unchanged.
      Check(failing != 0 && encoded == units);
    } else {
      Check(failing != 1);
      Check(bstr[encoded.size()] == 0);
      Check(tms::fuzz::DecodeReferences(encoded) == tms::fuzz::CodePoints(title));
    }
    memory.FreeBstr(bstr);
    Check(memory.live() == 0);
  }
  tms::EncodeHtmlReferences(memory, nullptr);
  Bstr none = nullptr;
  tms::EncodeHtmlReferences(memory, &none);
  Check(none == nullptr && memory.live() == 0);
  return 0;
}
