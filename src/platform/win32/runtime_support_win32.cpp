// The few C library functions that the Windows DLLs, which link no C
// runtime, still need: the block copies, fills and comparisons that the
// compiler emits calls to, and strlen, which platform/text.h calls. Built
// into the DLL alone, with -fno-tree-loop-distribute-patterns so that the
// compiler does not turn these loops back into calls of themselves.
//
// TMS_RUNTIME_NAME lets the tests compile the same code under other names,
// beside the C library of the test program.
#include <stddef.h>
#include <stdint.h>

#ifndef TMS_RUNTIME_NAME
#define TMS_RUNTIME_NAME(name) name
#endif

extern "C" {

void* TMS_RUNTIME_NAME(memcpy)(void* target, const void* source, size_t count) {
  auto* to = static_cast<unsigned char*>(target);
  const auto* from = static_cast<const unsigned char*>(source);
  for (size_t i = 0; i < count; ++i) to[i] = from[i];
  return target;
}

// Overlapping blocks: copy from the end when the target starts inside the
// source, so that no byte is overwritten before it has been read.
void* TMS_RUNTIME_NAME(memmove)(void* target, const void* source, size_t count) {
  auto* to = static_cast<unsigned char*>(target);
  const auto* from = static_cast<const unsigned char*>(source);
  // Unsigned arithmetic: true exactly when `from <= to < from + count`.
  if (reinterpret_cast<uintptr_t>(to) - reinterpret_cast<uintptr_t>(from) < count) {
    while (count > 0) {
      --count;
      to[count] = from[count];
    }
  } else {
    for (size_t i = 0; i < count; ++i) to[i] = from[i];
  }
  return target;
}

void* TMS_RUNTIME_NAME(memset)(void* target, int value, size_t count) {
  auto* to = static_cast<unsigned char*>(target);
  const auto byte = static_cast<unsigned char>(value);
  for (size_t i = 0; i < count; ++i) to[i] = byte;
  return target;
}

// Bytes compare as unsigned values, as the C library's memcmp does.
int TMS_RUNTIME_NAME(memcmp)(const void* left, const void* right, size_t count) {
  const auto* a = static_cast<const unsigned char*>(left);
  const auto* b = static_cast<const unsigned char*>(right);
  for (size_t i = 0; i < count; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

size_t TMS_RUNTIME_NAME(strlen)(const char* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

}  // extern "C"
