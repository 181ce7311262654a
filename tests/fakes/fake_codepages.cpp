// The deterministic code pages used by the string tests.
#include "fakes/fake_codepages.h"

#include "platform/text.h"

namespace tms::testing {
namespace {

// Converts into `target` when it is not null; returns the units written or
// needed.
int32_t ToWide(bool doubleByte, const char* source, int32_t length, WideChar* target) {
  int32_t written = 0;
  for (int32_t i = 0; i < length; ++i, ++written) {
    const auto lead = static_cast<unsigned char>(source[i]);
    WideChar unit = lead;
    if (doubleByte && lead >= 0x81) {
      // A zero never trails a lead byte: before one, as before the end, the
      // lead byte stands alone.
      if (i + 1 < length && source[i + 1] != 0) {
        unit = static_cast<WideChar>(0x100 + ((lead - 0x81) << 8) +
                                     static_cast<unsigned char>(source[++i]));
      } else {
        unit = u'?';
      }
    }
    if (target != nullptr) target[written] = unit;
  }
  return written;
}

int32_t ToAnsi(bool doubleByte, const WideChar* source, int32_t length, char* target) {
  int32_t written = 0;
  for (int32_t i = 0; i < length; ++i) {
    const WideChar unit = source[i];
    if (!doubleByte || unit < 0x80) {
      if (target != nullptr) target[written] = unit <= 0xFF ? static_cast<char>(unit) : '?';
      ++written;
      continue;
    }
    const int32_t code = unit < 0x100 ? 0 : unit - 0x100;
    if (target != nullptr) {
      target[written] = static_cast<char>(0x81 + ((code >> 8) & 0x7E));
      target[written + 1] = static_cast<char>(code & 0xFF);
    }
    written += 2;
  }
  return written;
}

// The conversion call's contract: -1 is the whole text with its terminator,
// a null target or a zero count only measures.
template <typename From, typename To>
int32_t Run(int32_t (*convert)(bool, const From*, int32_t, To*), bool doubleByte,
            const From* source, int32_t sourceLength, To* target, int32_t targetCount) {
  if (source == nullptr || sourceLength == 0) return 0;
  const int32_t length = sourceLength == -1 ? TextLength(source) + 1 : sourceLength;
  const int32_t needed = convert(doubleByte, source, length, nullptr);
  if (target == nullptr || targetCount == 0) return needed;
  return needed > targetCount ? 0 : convert(doubleByte, source, length, target);
}

}  // namespace

template <bool kDoubleByte>
int32_t FakeCodepage<kDoubleByte>::AnsiToWide(const char* source, int32_t sourceLength,
                                              WideChar* target, int32_t targetCount) {
  return Run(ToWide, kDoubleByte, source, sourceLength, target, targetCount);
}

template <bool kDoubleByte>
int32_t FakeCodepage<kDoubleByte>::WideToAnsi(const WideChar* source, int32_t sourceLength,
                                              char* target, int32_t targetCount) {
  return Run(ToAnsi, kDoubleByte, source, sourceLength, target, targetCount);
}

template class FakeCodepage<false>;
template class FakeCodepage<true>;

}  // namespace tms::testing
