// tmsModifyOriginalFileName and tmsGetPathForBackup through the real DLL: the
// 32-bit capacity is unsigned for the one and signed for the other.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

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
  char bytes[64];
};

TEST(DllBackupNames, FlattenCapacityIsUnsigned) {
  const char* source = "C:\\abc.txt";  // 10 bytes
  const struct {
    uint32_t capacity;
    uint32_t expected;
  } rows[] = {{0, 0}, {11, 0}, {12, 1}, {0x7FFFFFFF, 1}, {0x80000000, 1}, {0xFFFFFFFF, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.capacity);
    Guarded destination;
    const StackCall call = CallExport("tmsModifyOriginalFileName",
                                      {Arg(source), Arg(destination.bytes), row.capacity});
    EXPECT_EQ(call.result, row.expected);
    if (row.expected == 1) {
      EXPECT_STREQ(destination.bytes, "C~~abc.txt");
      EXPECT_EQ(destination.bytes[11], kGuard);
    } else {
      EXPECT_TRUE(destination.Untouched());
    }
  }
}

TEST(DllBackupNames, BackupPathCapacityIsSigned) {
  const char* folder = "D:\\Backup";       // 9 bytes
  const char* source = "C:\\Docs\\a.htm";  // 13 bytes
  const struct {
    uint32_t capacity;
    uint32_t expected;
  } rows[] = {{23, 0}, {24, 1}, {0x7FFFFFFF, 1}, {0x80000000, 0}, {0xFFFFFFFF, 0}, {0, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.capacity);
    Guarded destination;
    const StackCall call = CallExport(
        "tmsGetPathForBackup", {Arg(folder), Arg(source), Arg(destination.bytes), row.capacity});
    EXPECT_EQ(call.result, row.expected);
    if (row.expected == 1) {
      EXPECT_STREQ(destination.bytes, "D:\\Backup\\C~~Docs~a.htm");
      EXPECT_EQ(destination.bytes[24], kGuard);
    } else {
      EXPECT_TRUE(destination.Untouched());
    }
  }
}

// The texts are bytes, whatever the active code page: the trail byte 0x5C
// of a double-byte character is flattened like a backslash.
TEST(DllBackupNames, BytesPassOneAtATimeInEveryCodepage) {
  Guarded flattened;
  EXPECT_EQ(CallExport("tmsModifyOriginalFileName",
                       {Arg("\x95\x5C\\\x81\x40:"), Arg(flattened.bytes), 64})
                .result,
            1u);
  EXPECT_EQ(std::string(flattened.bytes), "\x95~~\x81\x40~");
  Guarded path;
  EXPECT_EQ(CallExport("tmsGetPathForBackup", {Arg(""), Arg("a:b"), Arg(path.bytes), 64}).result,
            1u);
  EXPECT_EQ(std::string(path.bytes), "\\a~b");
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
