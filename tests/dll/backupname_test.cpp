// tmsModifyOriginalFileName and tmsGetPathForBackup through the real DLL, in
// every code page: the rows the unit tests run, with the capacity passed as
// the raw 32-bit word, unsigned for the one and signed for the other.
#include <gtest/gtest.h>

#include "backupname/backup_name_cases.h"
#include "dll/dll_harness.h"

namespace tms::dlltest {
namespace {

using testing::GuardedDestination;

TEST(DllBackupNames, FlattenRows) {
  for (const testing::FlattenCase& row : testing::kFlattenCases) {
    SCOPED_TRACE(row.name);
    GuardedDestination destination;
    const StackCall call = CallExport("tmsModifyOriginalFileName",
                                      {Arg(row.source), Arg(destination.bytes), row.capacity});
    destination.Expect(call.result, row.expected);
  }
}

TEST(DllBackupNames, BackupPathRows) {
  for (const testing::BackupPathCase& row : testing::kBackupPathCases) {
    SCOPED_TRACE(row.name);
    GuardedDestination destination;
    const StackCall call =
        CallExport("tmsGetPathForBackup", {Arg(row.folder), Arg(row.source), Arg(destination.bytes),
                                           static_cast<uint32_t>(row.capacity)});
    destination.Expect(call.result, row.expected);
  }
}

}  // namespace
}  // namespace tms::dlltest
