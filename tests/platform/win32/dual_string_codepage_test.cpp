// DualString over the real Win32 code page and global memory: the blocks
// follow what the active code page measures (1252, 1251 or double-byte 932).
// ASCII, the same in every code page, is in tests/strings/dual_string_test.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/codepage.h"
#include "platform/memory.h"
#include "platform/text.h"
#include "platform/win32/codepage_cases.h"
#include "strings/dual_string.h"

namespace tms {
namespace {

// Each block is what the code page measures for the other side's text and
// its terminator, and one unit more.
TEST(DualStringWin32, BlocksFollowTheActiveCodepage) {
  int checked = 0;
  for (const testing::CodepageCase& row : testing::kCodepageCases) {
    if (row.codepage != GetACP()) continue;
    SCOPED_TRACE(row.name);
    DualString fromWide(platform::SystemMemory(), platform::SystemCodepage(), row.wide);
    EXPECT_STREQ(fromWide.GetAnsi(), row.bytes);
    EXPECT_EQ(fromWide.GetAnsiSize(), TextLength(row.bytes) + 2);
    DualString fromAnsi(platform::SystemMemory(), platform::SystemCodepage(), row.bytes);
    EXPECT_EQ(std::u16string(fromAnsi.GetWide()), row.wide);
    EXPECT_EQ(fromAnsi.GetWideSize(), 2 * TextLength(row.wide) + 4);
    ++checked;
  }
  EXPECT_GT(checked, 0) << "no row for code page " << GetACP();
}

}  // namespace
}  // namespace tms
