// tmsCopyString in the active ANSI code page (1252, 1251 or double-byte 932,
// chosen by the test run's LC_ALL).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "dll/dll_harness.h"
#include "fakes/guarded_bytes.h"
#include "platform/win32/codepage_cases.h"

namespace tms::dlltest {
namespace {

// What the export wrote; a copy that did not end in one terminator
// within the buffer is marked as such.
std::string CopyThroughDll(const void* text) {
  testing::GuardedBytes buffer(64);
  CallExport("tmsCopyString", {Arg(text), Arg(buffer.get())});
  const std::string copied = buffer.Text();
  return buffer.Holds(copied) ? copied : "(not one terminated text: " + copied + ")";
}

std::string SystemDefaultConversion(const wchar_t* text) {
  char buffer[64] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return buffer;
}

// The test runs name the code page they mean to run in; make sure Wine took it.
TEST(CodepageCopy, RunsInTheCodepageTheRunAskedFor) {
  char expected[16] = {};
  if (GetEnvironmentVariableA("TMS_EXPECT_ACP", expected, sizeof expected) == 0) {
    GTEST_SKIP() << "no code page asked for";
  }
  EXPECT_EQ(GetACP(), static_cast<UINT>(atoi(expected)));
}

TEST(CodepageCopy, WritesTheCodepagesOwnBytes) {
  const UINT active = GetACP();
  int checked = 0;
  for (const testing::CodepageCase& row : testing::kCodepageCases) {
    if (row.codepage != active) continue;
    SCOPED_TRACE(row.name);
    EXPECT_EQ(CopyThroughDll(row.wide), row.bytes);
    ++checked;
  }
  RecordProperty("codepage", static_cast<int>(active));
  EXPECT_GT(checked, 0) << "no row for code page " << active;
}

// Characters the code page lacks come out as the system's default
// conversion makes them, and the terminator is still written.
TEST(CodepageCopy, UnrepresentableCharactersFollowTheSystemConversion) {
  for (const wchar_t* text : {L"\x0101\x0113", L"\x4E2D\x6587", L"\x0416", L"\xD83D\xDE00!"}) {
    SCOPED_TRACE(::testing::Message() << "first unit " << static_cast<int>(text[0]));
    const std::string copied = CopyThroughDll(text);
    EXPECT_EQ(copied, SystemDefaultConversion(text));
    EXPECT_FALSE(copied.empty());
  }
}

// A null source or destination is ignored: nothing is written, and a null
// destination is never written through.
TEST(CodepageCopy, NullPointersWriteNothing) {
  const struct {
    const char* name;
    const char16_t* source;
    bool toBuffer;
  } rows[] = {{"null source", nullptr, true},
              {"null destination", u"abc", false},
              {"empty text, null destination", u"", false},
              {"both null", nullptr, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    testing::GuardedBytes buffer(64);
    CallExport("tmsCopyString", {Arg(row.source), Arg(row.toBuffer ? buffer.get() : nullptr)});
    EXPECT_TRUE(buffer.Untouched());
  }
}

}  // namespace
}  // namespace tms::dlltest
