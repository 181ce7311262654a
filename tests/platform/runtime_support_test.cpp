// The Windows DLL's own memcpy, memmove, memset, memcmp and strlen, compiled
// here under other names beside the test program's C library and checked
// against what the C library promises.
#include <gtest/gtest.h>
#include <string.h>

#define TMS_RUNTIME_NAME(name) tested_##name
#include "platform/win32/runtime_support_win32.cpp"

namespace tms {
namespace {

constexpr size_t kBufferSize = 32;
constexpr unsigned char kSentinel = 0xCC;

// A buffer of distinct bytes, so that any byte out of place shows.
void FillDistinct(unsigned char* buffer) {
  for (size_t i = 0; i < kBufferSize; ++i) buffer[i] = static_cast<unsigned char>(0x40 + i);
}

TEST(RuntimeSupport, MemmoveCopiesOverlappingBlocksInEitherDirection) {
  const struct {
    const char* name;
    size_t source, target, count;
  } rows[] = {
      {"apart", 0, 16, 8},
      {"target inside the source, ahead", 4, 7, 12},
      {"target one byte ahead", 4, 5, 20},
      {"target behind, overlapping", 9, 3, 12},
      {"target one byte behind", 5, 4, 20},
      {"same block", 6, 6, 10},
      {"adjacent", 0, 8, 8},
      {"nothing", 3, 9, 0},
      {"whole buffer", 0, 0, kBufferSize},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    unsigned char actual[kBufferSize];
    unsigned char expected[kBufferSize];
    FillDistinct(actual);
    FillDistinct(expected);
    unsigned char staged[kBufferSize];
    memcpy(staged, expected + row.source, row.count);
    memcpy(expected + row.target, staged, row.count);
    EXPECT_EQ(tested_memmove(actual + row.target, actual + row.source, row.count),
              actual + row.target);
    EXPECT_EQ(memcmp(actual, expected, kBufferSize), 0);
  }
}

TEST(RuntimeSupport, MemcpyAndMemsetWriteExactlyCountBytes) {
  for (size_t count : {size_t{0}, size_t{1}, size_t{7}, kBufferSize - 1}) {
    SCOPED_TRACE(count);
    unsigned char source[kBufferSize];
    FillDistinct(source);
    unsigned char target[kBufferSize + 1];
    memset(target, kSentinel, sizeof target);
    EXPECT_EQ(tested_memcpy(target, source, count), target);
    EXPECT_EQ(memcmp(target, source, count), 0);
    for (size_t i = count; i < sizeof target; ++i) EXPECT_EQ(target[i], kSentinel) << i;

    // Only the low byte of the value is stored.
    memset(target, kSentinel, sizeof target);
    EXPECT_EQ(tested_memset(target, 0x1A5, count), target);
    for (size_t i = 0; i < count; ++i) EXPECT_EQ(target[i], 0xA5) << i;
    for (size_t i = count; i < sizeof target; ++i) EXPECT_EQ(target[i], kSentinel) << i;
  }
}

TEST(RuntimeSupport, MemcmpOrdersBytesAsUnsignedAndStopsAtCount) {
  const struct {
    const char* left;
    const char* right;
    size_t count;
    int sign;
  } rows[] = {
      {"abc", "abc", 3, 0},
      {"abc", "abd", 3, -1},
      {"abd", "abc", 3, 1},
      {"abX", "abY", 2, 0},
      {"x", "y", 0, 0},
      {"\x80", "\x01", 1, 1},  // 0x80 is above 0x01, not a negative char
      {"a\xFF", "a\x7F", 2, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.left << " / " << row.right << ", " << row.count);
    const int result = tested_memcmp(row.left, row.right, row.count);
    EXPECT_EQ((result > 0) - (result < 0), row.sign);
  }
}

TEST(RuntimeSupport, StrlenCountsBytesBeforeTheFirstZero) {
  EXPECT_EQ(tested_strlen(""), 0u);
  EXPECT_EQ(tested_strlen("C:\\Backup"), 9u);
  EXPECT_EQ(tested_strlen("\xE9t\xE9"), 3u);
  EXPECT_EQ(tested_strlen("ab\0cd"), 2u);
}

}  // namespace
}  // namespace tms
