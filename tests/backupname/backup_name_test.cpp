// Flattened names and backup paths: the shared rows (bytes written, the
// capacity rules of both operations, null texts), a null destination, and
// the scratch buffer of a backup path failing.
#include "backupname/backup_name.h"

#include <gtest/gtest.h>

#include "backupname/backup_name_cases.h"
#include "fakes/counting_memory.h"

namespace tms {
namespace {

using testing::CountingMemory;
using testing::DestinationFor;
using testing::HasOutcome;

TEST(BackupName, FlattenTurnsColonsAndBackslashesIntoTildes) {
  for (const testing::FlattenCase& row : testing::kFlattenCases) {
    SCOPED_TRACE(row.name);
    auto destination = DestinationFor(row.capacity);
    const bool result = FlattenFileName(row.source, destination.get(), row.capacity);
    EXPECT_TRUE(HasOutcome(result, destination, row.expected))
        << "returned " << result << ", wrote " << destination.Text();
  }
}

TEST(BackupName, BackupPathJoinsFolderAndFlattenedName) {
  CountingMemory memory;
  for (const testing::BackupPathCase& row : testing::kBackupPathCases) {
    SCOPED_TRACE(row.name);
    auto destination = DestinationFor(row.capacity);
    const bool result =
        MakeBackupPath(memory, row.folder, row.source, destination.get(), row.capacity);
    EXPECT_TRUE(HasOutcome(result, destination, row.expected))
        << "returned " << result << ", wrote " << destination.Text();
    EXPECT_EQ(memory.live(), 0);
  }
}

TEST(BackupName, NullDestinationIsNotWrittenAndNothingIsAllocated) {
  CountingMemory memory;
  EXPECT_EQ(FlattenFileName("C:\\a", nullptr, 64), 0);
  EXPECT_EQ(MakeBackupPath(memory, "D:", "C:\\a", nullptr, 64), 0);
  EXPECT_EQ(MakeBackupPath(memory, nullptr, "C:\\a", nullptr, 64), 0);
  EXPECT_EQ(memory.allocations(), 0);
}

// Without its scratch buffer the backup path is not begun at all: no folder,
// no backslash.
TEST(BackupName, BackupPathWritesNothingWithoutItsScratchBuffer) {
  CountingMemory memory;
  memory.FailAll(true);
  testing::GuardedBytes destination(64);
  EXPECT_FALSE(MakeBackupPath(memory, "D:\\Backup", "C:\\a", destination.get(), 64));
  EXPECT_TRUE(destination.Untouched());
  EXPECT_EQ(memory.live(), 0);
}

}  // namespace
}  // namespace tms
