// The version resource, read back the way Windows Explorer reads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dll/dll_harness.h"

namespace tms::dlltest {
namespace {

class VersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Library(), nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(Library(), path, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    data_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data_.data()));
  }

  // A value of the string block, asked for in UTF-16 as Explorer does.
  std::wstring Value(const wchar_t* key) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041904b0\\") + key;
    if (!VerQueryValueW(data_.data(), query.c_str(), &value, &length)) return L"<missing>";
    return static_cast<const wchar_t*>(value);
  }

  std::vector<BYTE> data_;
};

TEST_F(VersionResource, FixedInfoCarriesVersionFlagsAndType) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x000A0000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x000A0000u);
  EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed->dwFileFlags, 0x2u);
  EXPECT_EQ(fixed->dwFileOS, 0x4u);
  EXPECT_EQ(fixed->dwFileType, 0x2u);
  EXPECT_EQ(fixed->dwFileSubtype, 0u);
}

TEST_F(VersionResource, TranslationIsRussianUnicode) {
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0419);
  EXPECT_EQ(translation[1], 0x04B0);
}

TEST_F(VersionResource, StringBlockHoldsEveryKey) {
  EXPECT_EQ(Value(L"FileVersion"), L"1.00.0010");
  EXPECT_EQ(Value(L"ProductVersion"), L"1.00.0010");
  EXPECT_EQ(Value(L"InternalName"), L"TolvaricModeSupport");
  EXPECT_EQ(Value(L"OriginalFilename"), L"TolvaricModeSupport.DLL");
  for (const wchar_t* key : {L"Comments", L"CompanyName", L"FileDescription", L"LegalCopyright",
                             L"LegalTrademarks", L"ProductName", L"Dedication"}) {
    SCOPED_TRACE(::testing::Message() << key);
    const std::wstring value = Value(key);
    EXPECT_NE(value, L"<missing>");
    EXPECT_FALSE(value.empty());
  }
  // The Cyrillic key.
  EXPECT_EQ(
      Value(L"\x0421\x0442\x0430\x0442\x0443\x0441 \x043F\x0440\x043E\x0435\x043A\x0442\x0430"),
      L"Retail build");
  EXPECT_EQ(Value(L"WWW").rfind(L"https://", 0), 0u);
}

}  // namespace
}  // namespace tms::dlltest
