// The POSIX settings store over real files: reading, editing in place, and
// what it does when something other than a file is in the file's place, or
// when the system moves the bytes a few at a time or not at all.
#include <gtest/gtest.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

#include "fakes/settings_files.h"
#include "platform/posix/ini_edit_cases.h"
#include "platform/settings_store.h"

namespace {

// How this program's pread and pwrite behave: as the system's, moving one
// byte per call, reads failing, or writes making no progress.
enum class FileIo { kWhole, kOneByte, kReadsFail, kWritesStall };
FileIo fileIo = FileIo::kWhole;

}  // namespace

// These take the place of the C library's for the whole test program; the
// store's read and write loops must cope with what they answer.
extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  if (fileIo == FileIo::kReadsFail) {
    errno = EIO;
    return -1;
  }
  if (fileIo == FileIo::kOneByte && count > 1) count = 1;
  return syscall(SYS_pread64, fd, buffer, count, offset);
}

extern "C" ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
  if (fileIo == FileIo::kWritesStall) return 0;
  if (fileIo == FileIo::kOneByte && count > 1) count = 1;
  return syscall(SYS_pwrite64, fd, buffer, count, offset);
}

namespace tms::platform {
namespace {

// Every edit of the text rules, made in place of a file's bytes, with the
// bytes moved whole and one at a time, and read back the same way.
TEST(SettingsStorePosix, EditsInPlaceWhateverTheSystemMovesPerCall) {
  SettingsStore& store = SystemSettingsStore();
  for (const FileIo io : {FileIo::kWhole, FileIo::kOneByte}) {
    for (const testing::IniEditCase& row : testing::kIniEditCases) {
      SCOPED_TRACE(::testing::Message()
                   << row.name << (io == FileIo::kOneByte ? ", one byte per call" : ""));
      testing::TempFolder folder;
      const std::string file = folder.Join("settings.ini");
      if (row.before != nullptr) testing::WriteFileBytes(file, row.before);
      fileIo = io;
      const bool written = store.WriteProfileString(file.c_str(), row.section, row.key, row.value);
      char value[16];
      const uint32_t length =
          store.ReadProfileString(file.c_str(), row.section, row.key, value, sizeof value);
      fileIo = FileIo::kWhole;
      EXPECT_TRUE(written);
      EXPECT_EQ(testing::ReadFileBytes(file), row.after);
      EXPECT_EQ(length, strlen(row.value));
      EXPECT_STREQ(value, row.value);
    }
  }
}

// A value is cut to leave room for its terminator, and nothing past the
// capacity is written, also when the value is exactly as long as it.
TEST(SettingsStorePosix, ReadsCutToCapacity) {
  testing::TempFolder folder;
  const std::string file = folder.Join("settings.ini");
  testing::WriteFileBytes(file, "[S]\r\nk=  0x000000FF0000  \r\n[T]\r\n");
  SettingsStore& store = SystemSettingsStore();
  const struct {
    uint32_t capacity;
    const char* expected;
  } rows[] = {{1, ""}, {6, "0x000"}, {14, "0x000000FF000"}, {15, "0x000000FF0000"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.capacity);
    std::string value(row.capacity + 1, 'x');
    EXPECT_EQ(store.ReadProfileString(file.c_str(), "S", "k", &value[0], row.capacity),
              strlen(row.expected));
    EXPECT_STREQ(value.c_str(), row.expected);
    EXPECT_EQ(value.back(), 'x');
  }
  char value[6];
  EXPECT_EQ(store.ReadProfileString(file.c_str(), "S", "missing", value, sizeof value), 0u);
  EXPECT_STREQ(value, "");
  EXPECT_FALSE(store.WriteProfileString(folder.path().c_str(), "S", "k", "1"));
}

// A read that fails reads nothing; a write that makes no progress reports
// failure instead of waiting for it.
TEST(SettingsStorePosix, FailedReadsAndStalledWritesAreReported) {
  testing::TempFolder folder;
  const std::string file = folder.Join("settings.ini");
  testing::WriteFileBytes(file, "[S]\r\nk=1\r\n");
  SettingsStore& store = SystemSettingsStore();
  char value[8] = "x";
  fileIo = FileIo::kReadsFail;
  const uint32_t length = store.ReadProfileString(file.c_str(), "S", "k", value, sizeof value);
  const bool writtenAfterFailedRead = store.WriteProfileString(file.c_str(), "S", "k", "2");
  fileIo = FileIo::kWritesStall;
  const bool written = store.WriteProfileString(file.c_str(), "S", "k", "2");
  fileIo = FileIo::kWhole;
  EXPECT_EQ(length, 0u);
  EXPECT_STREQ(value, "");
  EXPECT_FALSE(writtenAfterFailedRead);
  EXPECT_FALSE(written);
  EXPECT_EQ(testing::ReadFileBytes(file), "[S]\r\nk=1\r\n");
}

// A pipe where the file should be is neither read nor written, and does not
// stall the call.
TEST(SettingsStorePosix, IgnoresAPipeInTheFilesPlace) {
  testing::TempFolder folder;
  const std::string pipe = folder.Join("settings.ini");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  char value[8] = "x";
  EXPECT_EQ(SystemSettingsStore().ReadProfileString(pipe.c_str(), "S", "k", value, 8), 0u);
  EXPECT_STREQ(value, "");
  EXPECT_FALSE(SystemSettingsStore().WriteProfileString(pipe.c_str(), "S", "k", "1"));
}

}  // namespace
}  // namespace tms::platform
