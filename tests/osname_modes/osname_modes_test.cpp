// The OS-name exports under every Windows version Wine can pose as. The
// driver copies itself once per version mode under a name of its own, gives
// each name its mode under Wine's AppDefaults, and starts the copies at once.
// Each copy reads the version facts itself with the same system calls the
// library makes, composes the names it expects from them, calls the DLL and
// writes both into a report that the driver compares.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "osname/host_os_name.h"

namespace {

using tms::HostVersionFacts;
using tms::NameForm;

const char* const kModes[] = {"win31", "win95",     "win98",   "winme",   "nt351", "nt40",
                              "win2k", "winxp",     "winxp64", "win2003", "vista", "win2008",
                              "win7",  "win2008r2", "win8",    "win81",   "win10"};

// ---------------------------------------------------------------------------
// The child: one version mode.

using GetNativeSystemInfoFunction = void(WINAPI*)(SYSTEM_INFO*);
using GetProductInfoFunction = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);
using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

template <typename Function>
Function Find(const char* library, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(library), name)));
}

bool IsNt(const HostVersionFacts& facts, DWORD major, DWORD minor) {
  return facts.platformId == 2 && facts.majorVersion == major && facts.minorVersion == minor;
}

// The facts as a host would read them by hand. `reported` keeps what
// GetVersionExA said before the kernel's answer replaced it.
bool ReadFacts(HostVersionFacts* facts, OSVERSIONINFOEXA* reported) {
  *facts = {};
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  facts->hasExtendedFacts = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != 0;
  if (!facts->hasExtendedFacts) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
  }
  *reported = info;
  facts->platformId = info.dwPlatformId;
  facts->majorVersion = info.dwMajorVersion;
  facts->minorVersion = info.dwMinorVersion;
  facts->buildNumber = info.dwBuildNumber;
  lstrcpynA(facts->servicePackText, info.szCSDVersion, sizeof facts->servicePackText);
  facts->servicePackMajor = info.wServicePackMajor;
  facts->servicePackMinor = info.wServicePackMinor;
  facts->suiteMask = info.wSuiteMask;
  facts->productType = info.wProductType;

  auto rtlGetVersion = Find<RtlGetVersionFunction>("ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW kernel = {};
  kernel.dwOSVersionInfoSize = sizeof kernel;
  if (IsNt(*facts, 6, 2) && rtlGetVersion != nullptr && rtlGetVersion(&kernel) == 0 &&
      (kernel.dwMajorVersion > 6 || (kernel.dwMajorVersion == 6 && kernel.dwMinorVersion > 2))) {
    facts->majorVersion = kernel.dwMajorVersion;
    facts->minorVersion = kernel.dwMinorVersion;
    facts->buildNumber = kernel.dwBuildNumber;
    WideCharToMultiByte(CP_ACP, 0, kernel.szCSDVersion, -1, facts->servicePackText,
                        sizeof facts->servicePackText, nullptr, nullptr);
  }

  SYSTEM_INFO system = {};
  if (auto native = Find<GetNativeSystemInfoFunction>("kernel32.dll", "GetNativeSystemInfo")) {
    native(&system);
  } else {
    GetSystemInfo(&system);
  }
  facts->processorArchitecture = system.wProcessorArchitecture;

  auto getProductInfo = Find<GetProductInfoFunction>("kernel32.dll", "GetProductInfo");
  if ((IsNt(*facts, 6, 0) || IsNt(*facts, 6, 1)) && getProductInfo != nullptr) {
    DWORD number = 0;
    getProductInfo(facts->majorVersion, facts->minorVersion, facts->servicePackMajor,
                   facts->servicePackMinor, &number);
    facts->productNumber = number;
  }
  HKEY key = nullptr;
  if (facts->platformId == 2 && facts->majorVersion <= 4 && !facts->hasExtendedFacts &&
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                    KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    char value[80] = {};
    DWORD size = sizeof value;
    if (RegQueryValueExA(key, "ProductType", nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                         &size) == ERROR_SUCCESS) {
      lstrcpynA(facts->registryProductType, value, sizeof facts->registryProductType);
    }
    RegCloseKey(key);
  }
  if (facts->platformId == 2 && facts->majorVersion == 4 &&
      lstrcmpiA(facts->servicePackText, "Service Pack 6") == 0 &&
      RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009", 0,
                    KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    facts->hasQ246009Hotfix = true;
    RegCloseKey(key);
  }
  if (IsNt(*facts, 5, 2)) facts->isServerR2 = GetSystemMetrics(89) != 0;
  if (IsNt(*facts, 5, 1)) {
    facts->isTabletPC = GetSystemMetrics(86) != 0;
    facts->isMediaCenter = GetSystemMetrics(87) != 0;
    facts->isStarter = GetSystemMetrics(88) != 0;
  }
  return true;
}

// What the export must write: the composed name less one trailing blank.
std::string ExpectedName(const HostVersionFacts& facts, NameForm form, bool omitVendor,
                         bool breakLine) {
  char text[tms::kLongNameBytes];
  tms::ComposeHostOSName(facts, form, omitVendor, breakLine, text, sizeof text);
  std::string name = text;
  if (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

// One line per entry; line breaks inside a text are written as \r and \n.
std::string Escape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\r') {
      escaped += "\\r";
    } else if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

int RunChild(const char* reportPath) {
  FILE* report = fopen(reportPath, "w");
  if (report == nullptr) return 2;
  HMODULE library = LoadLibraryA("TolvaricModeSupport.DLL");
  auto getName = reinterpret_cast<int(WINAPI*)(char*, int, int)>(
      reinterpret_cast<void*>(GetProcAddress(library, "tmsGetHostOSName")));
  auto getShortName = reinterpret_cast<int(WINAPI*)(char*)>(
      reinterpret_cast<void*>(GetProcAddress(library, "tmsGetHostOSNameShort")));
  if (getName == nullptr || getShortName == nullptr) {
    fprintf(report, "error=library or export missing\n");
    fclose(report);
    return 3;
  }

  HostVersionFacts facts;
  OSVERSIONINFOEXA reported = {};
  const bool readable = ReadFacts(&facts, &reported);
  fprintf(report, "platform=%lu\nreported=%lu.%lu.%lu\nversion=%lu.%lu.%lu\nbuild=%lu\n",
          static_cast<unsigned long>(facts.platformId),
          static_cast<unsigned long>(reported.dwMajorVersion),
          static_cast<unsigned long>(reported.dwMinorVersion),
          static_cast<unsigned long>(reported.dwBuildNumber),
          static_cast<unsigned long>(facts.majorVersion),
          static_cast<unsigned long>(facts.minorVersion),
          static_cast<unsigned long>(facts.buildNumber),
          static_cast<unsigned long>(facts.buildNumber & 0xFFFF));
  fprintf(report,
          "facts=sp '%s' extended %d type %u suite 0x%04X arch %u product %lu registry '%s' "
          "r2 %d metrics %d%d%d\n",
          facts.servicePackText, facts.hasExtendedFacts, facts.productType, facts.suiteMask,
          facts.processorArchitecture, static_cast<unsigned long>(facts.productNumber),
          facts.registryProductType, facts.isServerR2, facts.isMediaCenter, facts.isStarter,
          facts.isTabletPC);

  const struct {
    const char* name;
    NameForm form;
    bool omitVendor;
    bool breakLine;
  } variants[] = {
      {"long", NameForm::kLong, false, false},
      {"long-no-vendor", NameForm::kLong, true, false},
      {"long-break", NameForm::kLong, false, true},
      {"long-no-vendor-break", NameForm::kLong, true, true},
      {"short", NameForm::kShort, true, false},
  };
  for (const auto& variant : variants) {
    char buffer[tms::kLongNameBytes + 16];
    memset(buffer, 0xCC, sizeof buffer);
    const int result = variant.form == NameForm::kLong
                           ? getName(buffer, variant.omitVendor, variant.breakLine)
                           : getShortName(buffer);
    const size_t length = strnlen(buffer, sizeof buffer);
    bool untouchedAfter = length < sizeof buffer;
    for (size_t i = length + 1; i < sizeof buffer; ++i) {
      untouchedAfter = untouchedAfter && buffer[i] == static_cast<char>(0xCC);
    }
    const std::string expected =
        readable ? ExpectedName(facts, variant.form, variant.omitVendor, variant.breakLine)
                 : "Unknown OS";
    fprintf(report, "%s=%d %s\n", variant.name, untouchedAfter ? result : -1,
            Escape(std::string(buffer, length)).c_str());
    fprintf(report, "%s.expected=%d %s\n", variant.name, readable ? 1 : 0,
            Escape(expected).c_str());
  }
  fclose(report);
  return 0;
}

// ---------------------------------------------------------------------------
// The driver.

std::string Directory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory = path;
  return directory.substr(0, directory.find_last_of('\\') + 1);
}

bool SetWineVersion(const std::string& exeName, const char* mode) {
  const std::string keyPath = "Software\\Wine\\AppDefaults\\" + exeName;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG status = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(mode),
                                     lstrlenA(mode) + 1);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

std::map<std::string, std::string> ReadReport(const std::string& path) {
  std::map<std::string, std::string> entries;
  FILE* file = fopen(path.c_str(), "r");
  if (file == nullptr) return entries;
  char line[1024];
  while (fgets(line, sizeof line, file) != nullptr) {
    std::string text = line;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    const size_t equals = text.find('=');
    if (equals != std::string::npos) entries[text.substr(0, equals)] = text.substr(equals + 1);
  }
  fclose(file);
  return entries;
}

// The platform family each mode stands for, only to make sure the mode took.
DWORD FamilyOf(const std::string& mode) {
  if (mode == "win31") return 0;
  if (mode == "win95" || mode == "win98" || mode == "winme") return 1;
  return 2;
}

TEST(HostOSNameUnderWine, EveryVersionModeGetsTheNameOfItsFacts) {
  if (Find<void*>("ntdll.dll", "wine_get_version") == nullptr) {
    GTEST_SKIP() << "version modes exist only under Wine";
  }
  const std::string directory = Directory();
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);

  struct Child {
    std::string mode, exe, report;
    HANDLE process;
  };
  std::vector<Child> children;
  for (const char* mode : kModes) {
    const std::string exeName = std::string("tms_osname_mode_") + mode + ".exe";
    Child child = {mode, directory + exeName, directory + "tms_osname_mode_" + mode + ".txt",
                   nullptr};
    DeleteFileA(child.report.c_str());
    ASSERT_TRUE(CopyFileA(self, child.exe.c_str(), FALSE)) << child.exe;
    ASSERT_TRUE(SetWineVersion(exeName, mode)) << mode;
    std::string commandLine = "\"" + child.exe + "\" --child \"" + child.report + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessA(child.exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                               nullptr, directory.c_str(), &startup, &started))
        << mode;
    CloseHandle(started.hThread);
    child.process = started.hProcess;
    children.push_back(child);
  }

  for (Child& child : children) {
    SCOPED_TRACE(child.mode);
    EXPECT_EQ(WaitForSingleObject(child.process, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.process, &exitCode);
    CloseHandle(child.process);
    EXPECT_EQ(exitCode, 0u);

    std::map<std::string, std::string> report = ReadReport(child.report);
    EXPECT_EQ(report["error"], "");
    EXPECT_EQ(report["platform"], std::to_string(FamilyOf(child.mode)));
    for (const char* variant :
         {"long", "long-no-vendor", "long-break", "long-no-vendor-break", "short"}) {
      SCOPED_TRACE(variant);
      EXPECT_FALSE(report[variant].empty());
      EXPECT_EQ(report[variant], report[std::string(variant) + ".expected"]);
    }
    // Checks that need no composition: NT names end in the low 16 bits of
    // the build, and a capped version is named by the kernel's number.
    if (report["platform"] == "2") {
      const std::string build = "(Build " + report["build"] + ")";
      const std::string& longName = report["long"];
      EXPECT_EQ(longName.compare(longName.size() - build.size(), build.size(), build), 0);
      if (report["reported"] != report["version"]) {
        const std::string version = report["version"];
        const std::string majorMinor = version.substr(0, version.find_last_of('.'));
        EXPECT_NE(longName.find("Windows NT " + majorMinor + " "), std::string::npos);
      }
    }
    printf("%-10s %s | %s\n", child.mode.c_str(), report["facts"].c_str(),
           report["version"].c_str());
    printf("%-10s long  %s\n%-10s short %s\n", "", report["long"].c_str(), "",
           report["short"].c_str());
    DeleteFileA(child.exe.c_str());
    DeleteFileA(child.report.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "--child") == 0) return RunChild(argv[2]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
