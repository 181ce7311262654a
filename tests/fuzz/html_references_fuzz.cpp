// Fuzzes the HTML references of now-playing titles: random UTF-16 titles
// (surrogates in and out of pairs, U+FFFF, inner zeros, now and then tens
// of thousands of units). The encoded title is pure ASCII, as long as the
// references of its characters call for, and reading the references back
// gives the characters of the title, a surrogate outside a pair as U+FFFD.
// When an allocation fails the title stays as it was; nothing leaks.
#include <string>

#include "fakes/counting_memory.h"
#include "fuzz/code_points.h"
#include "fuzz/fuzz_input.h"
#include "nowplaying/html_references.h"

namespace {

using tms::Bstr;
using tms::fuzz::Check;
using tms::fuzz::FuzzInput;

std::u16string PickTitle(FuzzInput& input) {
  std::u16string title = input.Units(64);
  for (char16_t& unit : title) {
    // Surrogates and the ends of the ranges the references are sized by.
    const char16_t near[] = {0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xFFFF, 0x7F, 0x80, 999, 1000};
    if (input.Byte() % 4 == 0) unit = input.Pick(near);
  }
  input.MaybeHuge(title);
  return title;
}

// The length of a character's reference: "&#", its digits and ";".
size_t ReferenceLength(uint32_t point) {
  return point < 1000 ? 6 : point < 10000 ? 7 : point < 100000 ? 8 : point < 1000000 ? 9 : 10;
}

// Reads the encoded text back along the title's characters: each ASCII
// character as itself, each other one as "&#", its decimal number without
// leading zeros, and ";". The whole text must be read that way, and be as
// long as the estimate of the references.
void CheckReadsBack(const std::u16string& title, const std::u16string& encoded) {
  size_t at = 0;
  size_t estimate = 0;
  for (const uint32_t point : tms::fuzz::CodePoints(title)) {
    if (point < 128) {
      Check(at < encoded.size() && encoded[at++] == point);
      ++estimate;
      continue;
    }
    Check(encoded.compare(at, 2, u"&#") == 0);
    const size_t digits = at += 2;
    uint32_t value = 0;
    while (at < encoded.size() && at - digits < 8 && encoded[at] >= u'0' && encoded[at] <= u'9') {
      value = value * 10 + (encoded[at++] - u'0');
    }
    Check(at > digits && encoded[digits] != u'0' && value == point);
    Check(at < encoded.size() && encoded[at++] == u';');
    estimate += ReferenceLength(point);
  }
  Check(at == encoded.size() && encoded.size() == estimate);
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
      for (const char16_t unit : encoded) Check(unit != 0 && unit < 128);
      Check(bstr[encoded.size()] == 0);
      CheckReadsBack(title, encoded);
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
