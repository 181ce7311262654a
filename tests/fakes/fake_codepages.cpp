// The deterministic code pages used by the string tests.
#include "fakes/fake_codepages.h"

#include "platform/text.h"

namespace tms::testing {
namespace {

template <typename Unit>
int32_t SourceLength(const Unit* source, int32_t sourceLength) {
  return sourceLength == -1 ? TextLength(source) + 1 : sourceLength;
}

bool MeasureOnly(const void* target, int32_t targetCount) {
  return target == nullptr || targetCount == 0;
}

}  // namespace

int32_t SingleByteCodepage::AnsiToWide(const char* source, int32_t sourceLength,
                                       WideChar* target, int32_t targetCount) {
  if (source == nullptr || sourceLength == 0) return 0;
  const int32_t length = SourceLength(source, sourceLength);
  if (MeasureOnly(target, targetCount)) return length;
  if (length > targetCount) return 0;
  for (int32_t i = 0; i < length; ++i) target[i] = static_cast<unsigned char>(source[i]);
  return length;
}

int32_t SingleByteCodepage::WideToAnsi(const WideChar* source, int32_t sourceLength,
                                       char* target, int32_t targetCount) {
  if (source == nullptr || sourceLength == 0) return 0;
  const int32_t length = SourceLength(source, sourceLength);
  if (MeasureOnly(target, targetCount)) return length;
  if (length > targetCount) return 0;
  for (int32_t i = 0; i < length; ++i) {
    target[i] = source[i] <= 0xFF ? static_cast<char>(source[i]) : '?';
  }
  return length;
}

int32_t DoubleByteCodepage::AnsiToWide(const char* source, int32_t sourceLength,
                                       WideChar* target, int32_t targetCount) {
  if (source == nullptr || sourceLength == 0) return 0;
  const int32_t length = SourceLength(source, sourceLength);
  const bool measureOnly = MeasureOnly(target, targetCount);
  int32_t written = 0;
  for (int32_t i = 0; i < length; ++i) {
    const auto lead = static_cast<unsigned char>(source[i]);
    WideChar unit = lead;
    if (lead >= 0x81) {
      // A zero never trails a lead byte: before one, as before the end, the
      // lead byte stands alone.
      if (i + 1 < length && source[i + 1] != 0) {
        unit = static_cast<WideChar>(0x100 + ((lead - 0x81) << 8) +
                                     static_cast<unsigned char>(source[++i]));
      } else {
        unit = u'?';
      }
    }
    if (!measureOnly) {
      if (written >= targetCount) return 0;
      target[written] = unit;
    }
    ++written;
  }
  return written;
}

int32_t DoubleByteCodepage::WideToAnsi(const WideChar* source, int32_t sourceLength,
                                       char* target, int32_t targetCount) {
  if (source == nullptr || sourceLength == 0) return 0;
  const int32_t length = SourceLength(source, sourceLength);
  const bool measureOnly = MeasureOnly(target, targetCount);
  int32_t written = 0;
  for (int32_t i = 0; i < length; ++i) {
    const WideChar unit = source[i];
    const int32_t bytes = unit < 0x80 ? 1 : 2;
    if (!measureOnly) {
      if (written + bytes > targetCount) return 0;
      if (bytes == 1) {
        target[written] = static_cast<char>(unit);
      } else {
        const int32_t code = unit < 0x100 ? 0 : unit - 0x100;
        target[written] = static_cast<char>(0x81 + ((code >> 8) & 0x7E));
        target[written + 1] = static_cast<char>(code & 0xFF);
      }
    }
    written += bytes;
  }
  return written;
}

}  // namespace tms::testing
