// UTF-8 <-> UTF-16 conversion. Invalid input (stray or truncated UTF-8
// sequences, overlong forms, encoded surrogates, lone UTF-16 surrogates)
// becomes U+FFFD; a conversion never fails for its input, only for a target
// that is too small.
#include "platform/posix/utf8.h"

#include "platform/text.h"

namespace tms::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point starting at bytes[*position], advancing the position
// past what was consumed (one byte for an invalid lead or sequence).
char32_t DecodeUtf8(const unsigned char* bytes, int32_t length, int32_t* position) {
  const unsigned char lead = bytes[*position];
  ++*position;
  if (lead < 0x80) return lead;
  int32_t trailing = 0;
  char32_t codePoint = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1, codePoint = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2, codePoint = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3, codePoint = lead & 0x07, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  if (*position + trailing > length) return kReplacement;
  for (int32_t i = 0; i < trailing; ++i) {
    const unsigned char next = bytes[*position + i];
    if ((next & 0xC0) != 0x80) return kReplacement;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF ||
      (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    return kReplacement;
  }
  *position += trailing;
  return codePoint;
}

// Decodes one code point of UTF-16, pairing surrogates where they pair.
char32_t DecodeUtf16(const WideChar* units, int32_t length, int32_t* position) {
  const char32_t unit = units[*position];
  ++*position;
  if (unit < 0xD800 || unit > 0xDFFF) return unit;
  if (unit <= 0xDBFF && *position < length) {
    const char32_t low = units[*position];
    if (low >= 0xDC00 && low <= 0xDFFF) {
      ++*position;
      return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return kReplacement;
}

int32_t EncodeUtf8(char32_t codePoint, unsigned char* out) {
  if (codePoint < 0x80) {
    out[0] = static_cast<unsigned char>(codePoint);
    return 1;
  }
  if (codePoint < 0x800) {
    out[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
    out[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 2;
  }
  if (codePoint < 0x10000) {
    out[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
    out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 3;
  }
  out[0] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
  out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
  out[2] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
  out[3] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  return 4;
}

}  // namespace

int32_t Utf8ToUtf16(const char* source, int32_t sourceLength, WideChar* target,
                    int32_t targetCount) {
  if (source == nullptr || sourceLength == 0 || sourceLength < -1) return 0;
  const int32_t length = sourceLength == -1 ? TextLength(source) + 1 : sourceLength;
  const bool measureOnly = target == nullptr || targetCount == 0;
  // A target too small fails as a whole, before anything is written.
  if (!measureOnly && Utf8ToUtf16(source, sourceLength, nullptr, 0) > targetCount) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(source);
  int32_t written = 0;
  for (int32_t position = 0; position < length;) {
    const char32_t codePoint = DecodeUtf8(bytes, length, &position);
    const int32_t units = codePoint >= 0x10000 ? 2 : 1;
    if (!measureOnly) {
      if (units == 2) {
        target[written] = static_cast<WideChar>(0xD800 + ((codePoint - 0x10000) >> 10));
        target[written + 1] = static_cast<WideChar>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
      } else {
        target[written] = static_cast<WideChar>(codePoint);
      }
    }
    written += units;
  }
  return written;
}

int32_t Utf16ToUtf8(const WideChar* source, int32_t sourceLength, char* target,
                    int32_t targetCount) {
  if (source == nullptr || sourceLength == 0 || sourceLength < -1) return 0;
  const int32_t length = sourceLength == -1 ? TextLength(source) + 1 : sourceLength;
  const bool measureOnly = target == nullptr || targetCount == 0;
  if (!measureOnly && Utf16ToUtf8(source, sourceLength, nullptr, 0) > targetCount) return 0;
  int32_t written = 0;
  for (int32_t position = 0; position < length;) {
    unsigned char encoded[4];
    const int32_t bytes = EncodeUtf8(DecodeUtf16(source, length, &position), encoded);
    if (!measureOnly) {
      for (int32_t i = 0; i < bytes; ++i) target[written + i] = static_cast<char>(encoded[i]);
    }
    written += bytes;
  }
  return written;
}

}  // namespace tms::platform
