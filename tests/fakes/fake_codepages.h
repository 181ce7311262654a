// Deterministic stand-ins for the active code page, so that block sizes can
// be checked the same way on every system:
// - SingleByteCodepage: one byte per unit; units above 0xFF become '?'.
// - DoubleByteCodepage: ASCII is one byte; every other unit takes two bytes
//   (a lead byte >= 0x81 and a trail byte), and such a pair reads back as one
//   unit. A lead byte without its trail byte (at the end or before a zero
//   byte) reads as '?'.
// A target too small fails the conversion as a whole: 0, nothing written.
#pragma once

#include "platform/codepage.h"

namespace tms::testing {

template <bool kDoubleByte>
class FakeCodepage final : public platform::Codepage {
 public:
  int32_t AnsiToWide(const char* source, int32_t sourceLength, WideChar* target,
                     int32_t targetCount) override;
  int32_t WideToAnsi(const WideChar* source, int32_t sourceLength, char* target,
                     int32_t targetCount) override;
};

using SingleByteCodepage = FakeCodepage<false>;
using DoubleByteCodepage = FakeCodepage<true>;

}  // namespace tms::testing
