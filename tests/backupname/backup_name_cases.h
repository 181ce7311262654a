// Flattened names and backup paths with their expected bytes, shared by the
// unit tests, the tests of the real exports (under Wine in every code page)
// and the stress tests, and the outcome they all check.
#pragma once

#include <stdint.h>

#include "fakes/guarded_bytes.h"

namespace tms::testing {

struct FlattenCase {
  const char* name;
  const char* source;
  uint32_t capacity;     // unsigned, as the export takes it
  const char* expected;  // null: 0 and nothing written
};

inline constexpr FlattenCase kFlattenCases[] = {
    {"drive and folders", "C:\\Docs\\page.htm", 64, "C~~Docs~page.htm"},
    {"network path", "\\\\server\\share\\f.txt", 64, "~~server~share~f.txt"},
    {"other bytes pass", "a/b c;d~e\x7F\xFF", 64, "a/b c;d~e\x7F\xFF"},
    // Each byte on its own, whatever the code page: a trail byte 0x5C is a
    // backslash too.
    {"double-byte trail bytes", "\x95\x5C\x83\x5C:\x81\x40", 64, "\x95\x7E\x83\x7E~\x81\x40"},
    {"empty, capacity 2", "", 2, ""},
    {"empty, capacity 1", "", 1, nullptr},
    {"empty, capacity 0", "", 0, nullptr},
    {"10 bytes, capacity 11", "C:\\abc.txt", 11, nullptr},
    {"10 bytes, capacity 12", "C:\\abc.txt", 12, "C~~abc.txt"},
    {"capacity 2^31 - 1", "C:\\a", 0x7FFFFFFFu, "C~~a"},
    {"capacity 2^31", "C:\\a", 0x80000000u, "C~~a"},
    {"capacity 2^32 - 1", "C:\\a", 0xFFFFFFFFu, "C~~a"},
    {"null source", nullptr, 64, nullptr},
};

struct BackupPathCase {
  const char* name;
  const char* folder;
  const char* source;
  int32_t capacity;      // signed, as the export takes it
  const char* expected;  // null: 0 and nothing written
};

inline constexpr BackupPathCase kBackupPathCases[] = {
    {"folder without backslash", "D:\\Backup", "C:\\Docs\\a.htm", 64, "D:\\Backup\\C~~Docs~a.htm"},
    {"folder with backslash", "D:\\Backup\\", "C:\\Docs\\a.htm", 64, "D:\\Backup\\C~~Docs~a.htm"},
    {"two trailing backslashes kept", "D:\\B\\\\", "x", 64, "D:\\B\\\\x"},
    {"empty folder", "", "C:\\Docs\\a.htm", 64, "\\C~~Docs~a.htm"},
    {"folder is a backslash", "\\", "C:\\a", 64, "\\C~~a"},
    {"folder is not flattened", "D:", "C:\\a", 64, "D:\\C~~a"},
    {"empty source", "D:\\B", "", 64, "D:\\B\\"},
    // A trail byte 0x5C ends the folder like a backslash.
    {"folder ends in a trail byte 0x5C", "D:\\\x95\\", "C:\\a", 64, "D:\\\x95\\C~~a"},
    {"double-byte source", "D:", "\x95\x5C.txt", 64, "D:\\\x95~.txt"},
    // Capacity: both lengths plus 2, whether or not a backslash is added.
    {"exact capacity", "D:\\B", "C:\\a", 10, "D:\\B\\C~~a"},
    {"one too small", "D:\\B", "C:\\a", 9, nullptr},
    {"exact, folder ends in backslash", "D:\\B\\", "C:\\a", 11, "D:\\B\\C~~a"},
    {"one too small, folder ends in backslash", "D:\\B\\", "C:\\a", 10, nullptr},
    {"empty texts, capacity 2", "", "", 2, "\\"},
    {"empty texts, capacity 1", "", "", 1, nullptr},
    {"capacity 0", "D:", "a", 0, nullptr},
    {"capacity -1", "D:", "a", -1, nullptr},
    {"capacity -2^31", "D:", "a", INT32_MIN, nullptr},
    {"capacity 2^31 - 1", "D:", "a", INT32_MAX, "D:\\a"},
    {"null folder", nullptr, "C:\\a", 64, nullptr},
    {"null source", "D:", nullptr, 64, nullptr},
};

// A destination of exactly the row's capacity, but no larger than any
// expected text needs (a larger capacity only permits).
inline GuardedBytes DestinationFor(int64_t capacity) {
  return GuardedBytes(capacity < 0 ? 0 : capacity < 64 ? capacity : 64);
}

// 1 with `expected` written; for null `expected`, 0 with nothing written.
inline bool HasOutcome(int64_t result, const GuardedBytes& destination, const char* expected) {
  if (expected == nullptr) return result == 0 && destination.Untouched();
  return result == 1 && destination.Holds(expected);
}

}  // namespace tms::testing
