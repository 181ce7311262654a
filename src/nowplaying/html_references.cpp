// Decimal HTML references for every character outside ASCII.
#include "nowplaying/html_references.h"

#include "platform/unique_bstr.h"

namespace tms {
namespace {

constexpr uint32_t kLastAscii = 127;
constexpr uint32_t kReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

struct CodePoint {
  uint32_t value;
  int32_t units;  // UTF-16 units it occupies in the text
};

// The character that starts at `text`, which is terminated. Browsers show a
// reference to a single surrogate as a replacement mark anyway; naming it
// U+FFFD says so explicitly.
CodePoint CodePointAt(const WideChar* text) {
  const uint32_t unit = text[0];
  const uint32_t next = text[1];
  if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
    return {0x10000u + ((unit - 0xD800u) << 10) + (next - 0xDC00u), 2};
  }
  if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) return {kReplacementCharacter, 1};
  return {unit, 1};
}

int32_t DecimalDigits(uint32_t value) {
  int32_t digits = 1;
  for (; value >= 10; value /= 10) ++digits;
  return digits;
}

// "&#" + digits + ";" for a reference, one unit for ASCII.
int32_t EncodedLength(uint32_t value) {
  return value <= kLastAscii ? 1 : DecimalDigits(value) + 3;
}

WideChar* AppendReference(WideChar* out, uint32_t value) {
  *out++ = u'&';
  *out++ = u'#';
  const int32_t digits = DecimalDigits(value);
  for (int32_t i = digits - 1; i >= 0; --i, value /= 10) {
    out[i] = static_cast<WideChar>(u'0' + value % 10);
  }
  out += digits;
  *out++ = u';';
  return out;
}

}  // namespace

void EncodeHtmlReferences(platform::Memory& memory, Bstr* title) {
  if (title == nullptr || *title == nullptr) return;
  const WideChar* source = *title;

  // Both passes step over ASCII, which most titles are made of, before
  // looking for surrogates.
  int64_t encodedLength = 0;
  for (const WideChar* at = source; *at != 0;) {
    if (*at <= kLastAscii) {
      ++encodedLength;
      ++at;
      continue;
    }
    const CodePoint character = CodePointAt(at);
    encodedLength += EncodedLength(character.value);
    at += character.units;
  }
  // The estimate is exact (the length of each character's form comes from
  // the same functions that write it), so the text is built straight into
  // a BSTR of its final length and needs no second copy.
  if (encodedLength > INT32_MAX / 2) return;
  Bstr encoded = memory.AllocBstrLen(nullptr, static_cast<uint32_t>(encodedLength));
  if (encoded == nullptr) return;

  WideChar* out = encoded;
  for (const WideChar* at = source; *at != 0;) {
    if (*at <= kLastAscii) {
      *out++ = *at++;
      continue;
    }
    const CodePoint character = CodePointAt(at);
    out = AppendReference(out, character.value);
    at += character.units;
  }
  ReplaceBstr(memory, title, encoded);
}

}  // namespace tms
