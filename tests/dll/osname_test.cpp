// tmsGetHostOSName and tmsGetHostOSNameShort as a host calls them: the
// buffer bounds, the flags and the null buffer. The names of each Windows
// version are checked by tms_osname_modes.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "dll/dll_harness.h"

namespace tms::dlltest {
namespace {

constexpr char kSentinel = static_cast<char>(0xCC);

struct NameCall {
  uint32_t result;
  std::string text;
};

// Calls into a sentinel-filled buffer larger than the form needs and checks
// that no byte past the terminator, and none past `room`, was written.
NameCall CallName(const char* exportName, std::initializer_list<uint32_t> flags, size_t room) {
  char buffer[256];
  memset(buffer, kSentinel, sizeof buffer);
  StackCall call = {};
  if (flags.size() == 0) {
    call = CallExport(exportName, {Arg(buffer)});
  } else {
    call = CallExport(exportName, {Arg(buffer), flags.begin()[0], flags.begin()[1]});
  }
  const size_t length = strnlen(buffer, sizeof buffer);
  EXPECT_LT(length, room);
  for (size_t i = length + 1; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], kSentinel) << i;
  return {call.result, std::string(buffer, length)};
}

TEST(DllHostOSName, FlagsChangeOnlyTheVendorWordAndTheLineBreak) {
  const NameCall plain = CallName("tmsGetHostOSName", {0, 0}, 182);
  const NameCall noVendor = CallName("tmsGetHostOSName", {1, 0}, 182);
  const NameCall broken = CallName("tmsGetHostOSName", {0, 7}, 182);
  const NameCall shortName = CallName("tmsGetHostOSNameShort", {}, 130);
  ASSERT_EQ(plain.result, 1u);
  EXPECT_EQ(noVendor.result, 1u);
  EXPECT_EQ(broken.result, 1u);
  EXPECT_EQ(shortName.result, 1u);
  EXPECT_EQ(plain.text, "Microsoft " + noVendor.text);
  // Any nonzero flag counts; under Wine the host is NT, so the break is there.
  const size_t lineBreak = broken.text.find("\r\n");
  ASSERT_NE(lineBreak, std::string::npos) << broken.text;
  EXPECT_EQ(std::string(broken.text).erase(lineBreak, 2), plain.text);
  EXPECT_EQ(shortName.text.compare(0, 3, "Win"), 0) << shortName.text;
  EXPECT_EQ(shortName.text.find("Microsoft"), std::string::npos);
  EXPECT_EQ(plain.text.back(), ')');
  EXPECT_EQ(shortName.text.back(), ')');
}

TEST(DllHostOSName, NullBufferGivesZero) {
  EXPECT_EQ(CallExport("tmsGetHostOSName", {0, 0, 1}).result, 0u);
  EXPECT_EQ(CallExport("tmsGetHostOSNameShort", {0}).result, 0u);
}

}  // namespace
}  // namespace tms::dlltest
