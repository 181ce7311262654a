// DualString over the real Win32 code page and global memory: the blocks
// follow what the active code page measures (1252, 1251 or double-byte 932).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/memory.h"
#include "strings/dual_string.h"

namespace tms {
namespace {

TEST(DualStringWin32, BlocksFollowTheActiveCodepage) {
  const struct {
    UINT codepage;
    const char* name;
    const WideChar* wide;  // when set: SetWide, else SetAnsi with `ansi`
    const char* ansi;
    int32_t ansiSize;
    int32_t wideSize;
  } rows[] = {
      // ASCII is one byte per unit in every code page.
      {0, "ascii from wide", u"abc", nullptr, 5, 8},
      {0, "ascii from ansi", nullptr, "abc", 4, 10},
      {1252, "latin from wide", u"caf\xE9", nullptr, 6, 10},
      {1252, "four high bytes", nullptr, "\x93\xFA\x96\x7B", 5, 12},
      {1251, "cyrillic from wide", u"\x0416\x0416", nullptr, 4, 6},
      // Double-byte: two units give four bytes, four bytes give two units.
      {932, "kanji from wide", u"\x65E5\x672Cx", nullptr, 7, 8},
      {932, "kanji from ansi", nullptr, "\x93\xFA\x96\x7B", 5, 8},
  };
  const UINT active = GetACP();
  for (const auto& row : rows) {
    if (row.codepage != 0 && row.codepage != active) continue;
    SCOPED_TRACE(row.name);
    DualString text(platform::SystemMemory(), platform::SystemCodepage());
    if (row.wide != nullptr) {
      text.SetWide(row.wide);
    } else {
      text.SetAnsi(row.ansi);
    }
    EXPECT_EQ(text.GetAnsiSize(), row.ansiSize);
    EXPECT_EQ(text.GetWideSize(), row.wideSize);
  }
}

}  // namespace
}  // namespace tms
