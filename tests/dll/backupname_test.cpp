// tmsModifyOriginalFileName and tmsGetPathForBackup through the real DLL, in
// every code page: the rows the unit tests run, with the capacity passed as
// the raw 32-bit word, unsigned for the one and signed for the other.
#include <gtest/gtest.h>

#include "backupname/backup_name_cases.h"
#include "dll/dll_harness.h"

namespace tms::dlltest {
namespace {

using testing::DestinationFor;
using testing::HasOutcome;

TEST(DllBackupNames, FlattenRows) {
  for (const testing::FlattenCase& row : testing::kFlattenCases) {
    SCOPED_TRACE(row.name);
    auto destination = DestinationFor(row.capacity);
    const StackCall call = CallExport("tmsModifyOriginalFileName",
                                      {Arg(row.source), Arg(destination.get()), row.capacity});
    EXPECT_TRUE(HasOutcome(call.result, destination, row.expected))
        << "returned " << call.result << ", wrote " << destination.Text();
  }
}

TEST(DllBackupNames, BackupPathRows) {
  for (const testing::BackupPathCase& row : testing::kBackupPathCases) {
    SCOPED_TRACE(row.name);
    auto destination = DestinationFor(row.capacity);
    const StackCall call =
        CallExport("tmsGetPathForBackup", {Arg(row.folder), Arg(row.source), Arg(destination.get()),
                                           static_cast<uint32_t>(row.capacity)});
    EXPECT_TRUE(HasOutcome(call.result, destination, row.expected))
        << "returned " << call.result << ", wrote " << destination.Text();
  }
}

}  // namespace
}  // namespace tms::dlltest
