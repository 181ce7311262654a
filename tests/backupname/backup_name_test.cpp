// Flattened names and backup paths: the bytes written, the capacity rules of
// both operations, and the cases that must leave the destination untouched.
#include "backupname/backup_name.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "fakes/counting_memory.h"

namespace tms {
namespace {

using testing::CountingMemory;

constexpr char kGuard = static_cast<char>(0xCC);
constexpr size_t kBufferSize = 64;

struct Destination {
  Destination() { memset(bytes, kGuard, sizeof bytes); }
  // The text written, and every byte after its terminator still the guard.
  void ExpectText(const char* expected) const {
    EXPECT_EQ(std::string(bytes), expected);
    for (size_t i = strlen(expected) + 1; i < sizeof bytes; ++i) {
      EXPECT_EQ(bytes[i], kGuard) << "byte " << i;
    }
  }
  void ExpectUntouched() const {
    for (size_t i = 0; i < sizeof bytes; ++i) EXPECT_EQ(bytes[i], kGuard) << "byte " << i;
  }
  char bytes[kBufferSize];
};

void ExpectResult(int32_t result, const Destination& destination, const char* expected) {
  if (expected == nullptr) {
    EXPECT_EQ(result, 0);
    destination.ExpectUntouched();
  } else {
    EXPECT_EQ(result, 1);
    destination.ExpectText(expected);
  }
}

TEST(BackupName, FlattenTurnsColonsAndBackslashesIntoTildes) {
  const struct {
    const char* name;
    const char* source;
    uint32_t capacity;
    const char* expected;  // null: 0 and nothing written
  } rows[] = {
      {"drive and folders", "C:\\Docs\\page.htm", 64, "C~~Docs~page.htm"},
      {"network path", "\\\\server\\share\\f.txt", 64, "~~server~share~f.txt"},
      {"other bytes pass", "a/b c;d~e\x7F\xFF", 64, "a/b c;d~e\x7F\xFF"},
      // Each byte on its own: a trail byte 0x5C is a backslash too.
      {"double-byte trail bytes", "\x95\x5C\x83\x5C:\x81\x40", 64, "\x95\x7E\x83\x7E~\x81\x40"},
      {"empty, capacity 2", "", 2, ""},
      {"empty, capacity 1", "", 1, nullptr},
      {"empty, capacity 0", "", 0, nullptr},
      {"10 bytes, capacity 11", "C:\\abc.txt", 11, nullptr},
      {"10 bytes, capacity 12", "C:\\abc.txt", 12, "C~~abc.txt"},
      {"capacity 2^31", "C:\\a", 0x80000000u, "C~~a"},
      {"capacity 2^32 - 1", "C:\\a", 0xFFFFFFFFu, "C~~a"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Destination destination;
    ExpectResult(FlattenFileName(row.source, destination.bytes, row.capacity), destination,
                 row.expected);
  }
}

TEST(BackupName, BackupPathJoinsFolderAndFlattenedName) {
  const struct {
    const char* name;
    const char* folder;
    const char* source;
    int32_t capacity;
    const char* expected;  // null: 0 and nothing written
  } rows[] = {
      {"folder without backslash", "D:\\Backup", "C:\\Docs\\a.htm", 64,
       "D:\\Backup\\C~~Docs~a.htm"},
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
  };
  CountingMemory memory;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Destination destination;
    ExpectResult(MakeBackupPath(memory, row.folder, row.source, destination.bytes, row.capacity),
                 destination, row.expected);
    EXPECT_EQ(memory.live(), 0);
  }
}

TEST(BackupName, NullPointersWriteNothing) {
  CountingMemory memory;
  Destination destination;
  EXPECT_EQ(FlattenFileName(nullptr, destination.bytes, kBufferSize), 0);
  EXPECT_EQ(FlattenFileName("C:\\a", nullptr, kBufferSize), 0);
  EXPECT_EQ(MakeBackupPath(memory, nullptr, "C:\\a", destination.bytes, kBufferSize), 0);
  EXPECT_EQ(MakeBackupPath(memory, "D:", nullptr, destination.bytes, kBufferSize), 0);
  EXPECT_EQ(MakeBackupPath(memory, "D:", "C:\\a", nullptr, kBufferSize), 0);
  destination.ExpectUntouched();
  EXPECT_EQ(memory.allocations(), 0);
}

// Without its scratch buffer the backup path is not begun at all: no folder,
// no backslash.
TEST(BackupName, BackupPathWritesNothingWithoutItsScratchBuffer) {
  CountingMemory memory;
  memory.FailAll(true);
  Destination destination;
  EXPECT_EQ(MakeBackupPath(memory, "D:\\Backup", "C:\\a", destination.bytes, kBufferSize), 0);
  destination.ExpectUntouched();
  EXPECT_EQ(memory.live(), 0);
}

}  // namespace
}  // namespace tms
