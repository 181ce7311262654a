// Win32 version facts. GetNativeSystemInfo, GetProductInfo and RtlGetVersion
// are newer than the oldest systems the library loads on, so they are looked
// up by name and never imported.
#include <windows.h>

#include "platform/text.h"
#include "platform/version_source.h"
#include "platform/win32/unique_handle.h"

namespace tms::platform {
namespace {

using GetNativeSystemInfoFunction = void(WINAPI*)(SYSTEM_INFO*);
using GetProductInfoFunction = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);
using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

// The address of `name` in an already loaded system library, or null.
template <typename Function>
Function FindSystemFunction(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class Win32VersionSource final : public VersionSource {
 public:
  constexpr Win32VersionSource() = default;

  bool QueryVersion(uint32_t recordSize, VersionRecord* record) override {
    *record = VersionRecord{};
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = recordSize;
    // NT 4 before its sixth service pack refuses the extended record. Wine
    // answers both record sizes in every version mode, so under Wine this
    // call never fails and only the fakes of the native tests take the
    // refusal (and the registry reads that follow it).
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
    record->majorVersion = info.dwMajorVersion;
    record->minorVersion = info.dwMinorVersion;
    record->buildNumber = info.dwBuildNumber;
    record->platformId = info.dwPlatformId;
    // Wine's service-pack text is at most 24 characters (a longer registry
    // value comes back empty), far below this bound: no Wine test reaches it.
    CopyUnits(record->servicePackText, info.szCSDVersion, sizeof record->servicePackText - 1);
    if (recordSize >= sizeof info) {
      record->servicePackMajor = info.wServicePackMajor;
      record->servicePackMinor = info.wServicePackMinor;
      record->suiteMask = info.wSuiteMask;
      record->productType = info.wProductType;
    }
    return true;
  }

  bool QueryKernelVersion(VersionRecord* record) override {
    *record = VersionRecord{};
    // Wine has it in every version mode and it never fails there, so no
    // Wine test takes these two returns.
    auto rtlGetVersion = FindSystemFunction<RtlGetVersionFunction>("ntdll.dll", "RtlGetVersion");
    if (rtlGetVersion == nullptr) return false;
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion(&info) != 0) return false;
    record->majorVersion = info.dwMajorVersion;
    record->minorVersion = info.dwMinorVersion;
    record->buildNumber = info.dwBuildNumber;
    record->platformId = info.dwPlatformId;
    // A text that does not fit the ANSI field fails to convert and stays
    // empty. Wine's texts are at most 24 characters, so under Wine the
    // conversion never fails and the bounds below are never reached.
    if (WideCharToMultiByte(CP_ACP, 0, info.szCSDVersion, -1, record->servicePackText,
                            sizeof record->servicePackText, nullptr, nullptr) == 0) {
      record->servicePackText[0] = 0;
    }
    record->servicePackText[sizeof record->servicePackText - 1] = 0;
    return true;
  }

  bool NativeProcessorArchitecture(uint16_t* architecture) override {
    auto getNativeSystemInfo =
        FindSystemFunction<GetNativeSystemInfoFunction>("kernel32.dll", "GetNativeSystemInfo");
    // Missing before XP, never under Wine. Its answer differs from
    // GetSystemInfo's only for a 32-bit process on a 64-bit system, which
    // the prefixes the tests use never run.
    if (getNativeSystemInfo == nullptr) return false;
    SYSTEM_INFO info = {};
    getNativeSystemInfo(&info);
    *architecture = info.wProcessorArchitecture;
    return true;
  }

  uint16_t ProcessorArchitecture() override {
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    return info.wProcessorArchitecture;
  }

  bool ProductInfo(uint32_t major, uint32_t minor, uint32_t servicePackMajor,
                   uint32_t servicePackMinor, uint32_t* productNumber) override {
    auto getProductInfo =
        FindSystemFunction<GetProductInfoFunction>("kernel32.dll", "GetProductInfo");
    if (getProductInfo == nullptr) return false;  // before Vista; never under Wine
    DWORD number = 0;
    getProductInfo(major, minor, servicePackMajor, servicePackMinor, &number);
    *productNumber = number;
    return true;
  }

  // Asked only after the extended version record was refused, which Wine
  // never does (see QueryVersion): no Wine test reaches this read.
  bool ReadMachineValue(const char* keyPath, const char* valueName, char* buffer,
                        uint32_t* byteCount) override {
    UniqueHkey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
      return false;
    }
    DWORD size = *byteCount;
    const LONG status = RegQueryValueExA(key.get(), valueName, nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    *byteCount = size;
    return status == ERROR_SUCCESS;
  }

  bool MachineKeyExists(const char* keyPath) override {
    UniqueHkey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, key.put()) ==
           ERROR_SUCCESS;
  }

  int32_t SystemMetric(int32_t index) override { return GetSystemMetrics(index); }
};

// Stateless, so it lives in read-only memory; the DLL has no writable data.
constexpr Win32VersionSource systemVersionSource;

}  // namespace

VersionSource& SystemVersionSource() {
  return const_cast<Win32VersionSource&>(systemVersionSource);
}

}  // namespace tms::platform
