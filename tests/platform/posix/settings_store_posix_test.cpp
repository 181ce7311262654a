// The POSIX settings store over real files: reading, editing in place, and
// what it does when something other than a file is in the file's place.
#include <gtest/gtest.h>
#include <string.h>
#include <sys/stat.h>

#include <string>

#include "fakes/settings_files.h"
#include "platform/settings_store.h"

namespace tms::platform {
namespace {

TEST(SettingsStorePosix, ReadsCutToCapacityAndWritesShrinkTheFile) {
  testing::TempFolder folder;
  const std::string file = folder.Join("settings.ini");
  testing::WriteFileBytes(file, "[S]\r\nk=  0x000000FF0000  \r\n[T]\r\n");
  SettingsStore& store = SystemSettingsStore();
  char value[6];
  memset(value, 'x', sizeof value);
  EXPECT_EQ(store.ReadProfileString(file.c_str(), "S", "k", value, sizeof value), 5u);
  EXPECT_STREQ(value, "0x000");
  EXPECT_EQ(store.ReadProfileString(file.c_str(), "S", "missing", value, sizeof value), 0u);
  EXPECT_STREQ(value, "");

  EXPECT_TRUE(store.WriteProfileString(file.c_str(), "S", "k", "1"));
  EXPECT_EQ(testing::ReadFileBytes(file), "[S]\r\nk=1\r\n[T]\r\n");
  EXPECT_FALSE(store.WriteProfileString(folder.path().c_str(), "S", "k", "1"));
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
