// Length and copy helpers for zero-terminated texts, with null read as empty.
// These are pure functions with the semantics of the system's lstr* calls,
// written once so that logic and tests need no system call for them.
#pragma once

#include <string.h>

#include "platform/types.h"

namespace tms {

// The C library's strlen scans many bytes at a time; a loop here would go
// byte by byte.
inline int32_t TextLength(const char* text) {
  if (text == nullptr) return 0;
  return static_cast<int32_t>(strlen(text));
}

inline int32_t TextLength(const WideChar* text) {
  if (text == nullptr) return 0;
  int32_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

template <typename Unit>
inline void CopyUnits(Unit* target, const Unit* source, size_t count) {
  for (size_t i = 0; i < count; ++i) target[i] = source[i];
}

}  // namespace tms
