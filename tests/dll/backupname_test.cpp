// tmsModifyOriginalFileName and tmsGetPathForBackup through the real DLL: the
// 32-bit capacity is unsigned for the one and signed for the other.
#include <gtest/gtest.h>
#include <string.h>

#include "dll/dll_harness.h"

namespace tms::dlltest {
namespace {

constexpr char kGuard = static_cast<char>(0xCC);

struct Guarded {
  Guarded() { memset(bytes, kGuard, sizeof bytes); }
  bool Untouched() const {
    for (char byte : bytes) {
      if (byte != kGuard) return false;
    }
    return true;
  }
  // 1 with `expected` and its terminator written and the next byte still the
  // guard; or, for null `expected`, 0 with nothing written.
  void ExpectOutcome(uint32_t result, const char* expected) const {
    if (expected == nullptr) {
      EXPECT_EQ(result, 0u);
      EXPECT_TRUE(Untouched());
      return;
    }
    EXPECT_EQ(result, 1u);
    EXPECT_STREQ(bytes, expected);
    EXPECT_EQ(bytes[strlen(expected) + 1], kGuard);
  }
  char bytes[64];
};

struct CapacityRow {
  uint32_t capacity;
  bool accepted;
};

TEST(DllBackupNames, FlattenCapacityIsUnsigned) {
  const char* source = "C:\\abc.txt";  // 10 bytes
  const CapacityRow rows[] = {{0, false},         {11, false},        {12, true},
                              {0x7FFFFFFF, true}, {0x80000000, true}, {0xFFFFFFFF, true}};
  for (const CapacityRow& row : rows) {
    SCOPED_TRACE(row.capacity);
    Guarded destination;
    const StackCall call = CallExport("tmsModifyOriginalFileName",
                                      {Arg(source), Arg(destination.bytes), row.capacity});
    destination.ExpectOutcome(call.result, row.accepted ? "C~~abc.txt" : nullptr);
  }
}

TEST(DllBackupNames, BackupPathCapacityIsSigned) {
  const char* folder = "D:\\Backup";       // 9 bytes
  const char* source = "C:\\Docs\\a.htm";  // 13 bytes
  const CapacityRow rows[] = {{23, false},         {24, true},          {0x7FFFFFFF, true},
                              {0x80000000, false}, {0xFFFFFFFF, false}, {0, false}};
  for (const CapacityRow& row : rows) {
    SCOPED_TRACE(row.capacity);
    Guarded destination;
    const StackCall call = CallExport(
        "tmsGetPathForBackup", {Arg(folder), Arg(source), Arg(destination.bytes), row.capacity});
    destination.ExpectOutcome(call.result, row.accepted ? "D:\\Backup\\C~~Docs~a.htm" : nullptr);
  }
}

// The texts are bytes, whatever the active code page: the trail byte 0x5C
// of a double-byte character is flattened like a backslash.
TEST(DllBackupNames, BytesPassOneAtATimeInEveryCodepage) {
  Guarded flattened;
  flattened.ExpectOutcome(CallExport("tmsModifyOriginalFileName",
                                     {Arg("\x95\x5C\\\x81\x40:"), Arg(flattened.bytes), 64})
                              .result,
                          "\x95~~\x81\x40~");
  Guarded path;
  path.ExpectOutcome(
      CallExport("tmsGetPathForBackup", {Arg("D:\\\x95\\"), Arg("a:b"), Arg(path.bytes), 64})
          .result,
      "D:\\\x95\\a~b");
}

TEST(DllBackupNames, NullPointersWriteNothing) {
  Guarded destination;
  EXPECT_EQ(CallExport("tmsModifyOriginalFileName", {0, Arg(destination.bytes), 64}).result, 0u);
  EXPECT_EQ(CallExport("tmsModifyOriginalFileName", {Arg("a"), 0, 64}).result, 0u);
  EXPECT_EQ(CallExport("tmsGetPathForBackup", {0, Arg("a"), Arg(destination.bytes), 64}).result,
            0u);
  EXPECT_EQ(CallExport("tmsGetPathForBackup", {Arg("D:"), 0, Arg(destination.bytes), 64}).result,
            0u);
  EXPECT_EQ(CallExport("tmsGetPathForBackup", {Arg("D:"), Arg("a"), 0, 64}).result, 0u);
  EXPECT_TRUE(destination.Untouched());
}

}  // namespace
}  // namespace tms::dlltest
