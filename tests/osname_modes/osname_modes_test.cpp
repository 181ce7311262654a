// The OS-name exports under every Windows version Wine can pose as. The
// driver copies itself once per version mode under a name of its own, gives
// each name its mode under Wine's AppDefaults, and starts the copies at once.
// Each copy reports the version facts Wine gives it and what the DLL wrote
// (also into a null buffer); the driver compares both with the table below,
// whose names are written out by hand from the label tables. Where Wine 8
// and Wine 10 give a mode different facts, its row holds both, and the Wine
// the test runs under picks one. A second table sets the NT facts Wine takes
// from the machine's registry when a program has no version mode; it runs
// only in a prefix of its own, since every program there without a mode
// sees those values.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "TolvaricModeSupport.h"
#include "fakes/guarded_bytes.h"

namespace {

// The kernel's version that Wine gives for a mode, and the service-pack and
// build part of the names that follows from it.
struct KernelBuild {
  const char* version;     // major.minor.build; null: this Wine has no such mode
  const char* longSuffix;  // "" off NT
  const char* shortSuffix;
};

// One version mode: the facts Wine gives for it and the names they make.
// Names are split where the line break goes: the product and edition part,
// and on NT the service-pack and build part. The long form opens with the
// vendor word, which the flag can leave out.
struct ModeRow {
  const char* mode;
  int platform;
  int productType;  // 1 workstation, 2 domain controller, 3 server
  const char* servicePack;
  const char* longName;
  const char* shortName;
  KernelBuild wine8;
  // Where Wine 10 answers differently: its kernel version; else as Wine 8.
  KernelBuild wine10 = {};
  // Where an x64 processor changes the names (64-bit Wine reports one,
  // 32-bit Wine an x86): the names then; null where they stay.
  const char* longNameX64 = nullptr;
  const char* shortNameX64 = nullptr;
};

const ModeRow kModes[] = {
    // The build of the non-NT families carries the version in its high
    // word; only NT names show it.
    {"win31", 0, 0, "Win32s 1.3", "Windows 3.10 (Win32s)", "Win 3.10 (Win32s)", {"3.10.0", "", ""}},
    {"win95", 1, 0, "", "Windows 95", "Win95", {"4.0.67109814", "", ""}},
    // The second character of " A " marks the Second Edition.
    {"win98", 1, 0, " A ", "Windows 98 Second Edition", "Win98SE", {"4.10.67766446", "", ""}},
    {"winme", 1, 0, " ", "Windows Millennium Edition", "WinME", {"4.90.73010104", "", ""}},
    // Wine answers the extended query of NT 3.51, whose product type then
    // picks the NT 4 edition label; a real NT 3.51 has no such record.
    {"nt351", 2, 1, "Service Pack 5", "Windows NT Workstation 4.0 ", "WinNT Wks 4.0 ",
     {"3.51.1057", "Service Pack 5 (Build 1057)", "SP5 (Build 1057)"}},
    {"nt40", 2, 1, "Service Pack 6a", "Windows NT Workstation 4.0 ", "WinNT Wks 4.0 ",
     {"4.0.1381", "Service Pack 6a (Build 1381)", "SP6a (Build 1381)"}},
    {"win2k", 2, 1, "Service Pack 4", "Windows 2000 Professional ", "Win2000 Prof ",
     {"5.0.2195", "Service Pack 4 (Build 2195)", "SP4 (Build 2195)"}},
    {"winxp", 2, 1, "Service Pack 3", "Windows XP Professional ", "WinXP Prof ",
     {"5.1.2600", "Service Pack 3 (Build 2600)", "SP3 (Build 2600)"}},
    // 32-bit Wine reports an x86 processor, so XP x64 is named as the
    // Server 2003 it shares its version with; 64-bit Wine reports x64. The
    // short x64 label has no closing blank.
    {"winxp64", 2, 1, "Service Pack 2", "Windows Server 2003 Standard Edition ", "Win2003 Std Ed ",
     {"5.2.3790", "Service Pack 2 (Build 3790)", "SP2 (Build 3790)"}, {},
     "Windows XP Professional x64 Edition ", "WinXP Prof x64"},
    {"win2003", 2, 3, "Service Pack 2", "Windows Server 2003 Standard Edition ", "Win2003 Std Ed ",
     {"5.2.3790", "Service Pack 2 (Build 3790)", "SP2 (Build 3790)"}, {},
     "Windows Server 2003 Standard x64 Edition ", "Win2003 Std x64 Ed "},
    // Wine's product number for workstations, 28, has no edition label.
    {"vista", 2, 1, "Service Pack 2", "Windows Vista ", "Win Vista ",
     {"6.0.6002", "Service Pack 2 (Build 6002)", "SP2 (Build 6002)"}},
    {"win2008", 2, 3, "Service Pack 2", "Windows Server 2008 Standard Edition ", "Win2008 Std Ed ",
     {"6.0.6002", "Service Pack 2 (Build 6002)", "SP2 (Build 6002)"}},
    // Wine swaps the product types of these two: win7 answers as a server
    // (3) and win2008r2 as a workstation (1); Windows answers the other way.
    {"win7", 2, 3, "Service Pack 1", "Windows Server 2008 R2 Standard Edition ",
     "Win2008 R2 Std Ed ", {"6.1.7601", "Service Pack 1 (Build 7601)", "SP1 (Build 7601)"}},
    {"win2008r2", 2, 1, "Service Pack 1", "Windows 7 ", "Win7 ",
     {"6.1.7601", "Service Pack 1 (Build 7601)", "SP1 (Build 7601)"}},
    {"win8", 2, 1, "", "Windows 8 ", "Win8 ", {"6.2.9200", "(Build 9200)", "(Build 9200)"}},
    // GetVersionExA is capped at 6.2.9200 in these modes, as on Windows for
    // a program without a compatibility manifest; the kernel's version
    // names them.
    {"win81", 2, 1, "", "Windows NT 6.3 ", "WinNT 6.3 ",
     {"6.3.9600", "(Build 9600)", "(Build 9600)"}},
    {"win10", 2, 1, "", "Windows NT 10.0 ", "WinNT 10.0 ",
     {"10.0.18362", "(Build 18362)", "(Build 18362)"},
     {"10.0.19043", "(Build 19043)", "(Build 19043)"}},
    // Wine 10 adds this mode; Wine 8 has none.
    {"win11", 2, 1, "", "Windows NT 10.0 ", "WinNT 10.0 ", {nullptr, "", ""},
     {"10.0.22000", "(Build 22000)", "(Build 22000)"}},
};

// The registry values behind a program with no version mode, and the facts
// and names they give (the row's mode is its label). Wine reads the product
// type itself and answers the extended record, so the library's own read of
// ProductType never runs; the Q246009 key the library looks up itself.
struct RegistryRow {
  ModeRow facts;
  const char* currentVersion;
  const char* buildNumber;
  const char* productType;  // null: no such value
  bool hasQ246009;
};

const RegistryRow kRegistryRows[] = {
    {{"NT 4 SP6 with Q246009", 2, 1, "Service Pack 6", "Windows NT Workstation 4.0 ",
      "WinNT Wks 4.0 ", {"4.0.1381", "Service Pack 6a (Build 1381)", "SP6a (Build 1381)"}},
     "4.0", "1381", "WinNT", true},
    {{"NT 4 SP6 without Q246009", 2, 1, "Service Pack 6", "Windows NT Workstation 4.0 ",
      "WinNT Wks 4.0 ", {"4.0.1381", "Service Pack 6 (Build 1381)", "SP6 (Build 1381)"}},
     "4.0", "1381", "WinNT", false},
    {{"NT 4 ServerNT", 2, 3, "Service Pack 6", "Windows NT Server 4.0 ", "WinNT Srv 4.0 ",
      {"4.0.1381", "Service Pack 6a (Build 1381)", "SP6a (Build 1381)"}},
     "4.0", "1381", "ServerNT", true},
    {{"NT 4 LanmanNT", 2, 2, "Service Pack 6", "Windows NT Server 4.0 ", "WinNT Srv 4.0 ",
      {"4.0.1381", "Service Pack 6 (Build 1381)", "SP6 (Build 1381)"}},
     "4.0", "1381", "LanmanNT", false},
    // An unknown or missing product type gives type 0: no edition.
    {{"NT 4 unknown product type", 2, 0, "Service Pack 6", "Windows NT ", "WinNT ",
      {"4.0.1381", "Service Pack 6a (Build 1381)", "SP6a (Build 1381)"}},
     "4.0", "1381", "Bogus", true},
    {{"NT 4 no product type", 2, 0, "Service Pack 6", "Windows NT ", "WinNT ",
      {"4.0.1381", "Service Pack 6 (Build 1381)", "SP6 (Build 1381)"}},
     "4.0", "1381", nullptr, false},
    // Longer than the 80 bytes the library reads it into; Wine, which reads
    // it itself, takes it as unknown as well.
    {{"NT 4 overlong product type", 2, 0, "Service Pack 6", "Windows NT ", "WinNT ",
      {"4.0.1381", "Service Pack 6a (Build 1381)", "SP6a (Build 1381)"}},
     "4.0", "1381",
     "WinNT WinNT WinNT WinNT WinNT WinNT WinNT WinNT "
     "WinNT WinNT WinNT WinNT WinNT WinNT WinNT WinNT",
     true},
    // 24 characters, the longest text Wine passes on (a longer one comes
    // back empty); not "Service Pack 6" exactly, so the hotfix adds no "a".
    {{"NT 4, longest service-pack text", 2, 1, "Service Pack 6 Update 12",
      "Windows NT Workstation 4.0 ", "WinNT Wks 4.0 ",
      {"4.0.1381", "Service Pack 6 Update 12 (Build 1381)", "SP6 Update 12 (Build 1381)"}},
     "4.0", "1381", "WinNT", true},
    // The ANSI query is capped at 6.2 with the same text; the name takes
    // version and text from the kernel's own answer.
    {{"6.3 with a service pack", 2, 1, "Service Pack 1", "Windows NT 6.3 ", "WinNT 6.3 ",
      {"6.3.9600", "Service Pack 1 (Build 9600)", "SP1 (Build 9600)"}},
     "6.3", "9600", "WinNT", false},
};

// ---------------------------------------------------------------------------
// The child: one version mode.

// One line per entry; the line break inside a name is written as \r\n.
std::string Escape(std::string text) {
  const size_t lineBreak = text.find("\r\n");
  return lineBreak == std::string::npos ? text : text.replace(lineBreak, 2, "\\r\\n");
}

// The flags as a host passes them: any nonzero value counts.
const struct {
  const char* name;
  bool isShort;
  int omitVendor, breakLine;
} kVariants[] = {
    {"long", false, 0, 0},           {"long-no-vendor", false, 1, 0},
    {"long-break", false, 0, 1},     {"long-no-vendor-break", false, 1, 1},
    {"long-flags-5-7", false, 5, 7}, {"short", true, 1, 0},
};

template <typename Function>
Function Find(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int RunChild(const char* reportPath) {
  FILE* report = fopen(reportPath, "w");
  if (report == nullptr) return 2;
  HMODULE library = LoadLibraryA("TolvaricModeSupport.DLL");
  const auto getName = Find<decltype(&tmsGetHostOSName)>(library, "tmsGetHostOSName");
  const auto getShortName =
      Find<decltype(&tmsGetHostOSNameShort)>(library, "tmsGetHostOSNameShort");
  if (getName == nullptr || getShortName == nullptr) {
    fprintf(report, "error=library or export missing\n");
    fclose(report);
    return 3;
  }

  // The facts as Wine gives them; the kernel's version where the ANSI
  // query is capped.
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW kernel = {};
  kernel.dwOSVersionInfoSize = sizeof kernel;
  const auto rtlGetVersion =
      Find<RtlGetVersionFunction>(GetModuleHandleA("ntdll.dll"), "RtlGetVersion");
  if (info.dwPlatformId != VER_PLATFORM_WIN32_NT || rtlGetVersion == nullptr ||
      rtlGetVersion(&kernel) != 0) {
    kernel.dwMajorVersion = info.dwMajorVersion;
    kernel.dwMinorVersion = info.dwMinorVersion;
    kernel.dwBuildNumber = info.dwBuildNumber;
  }
  SYSTEM_INFO system = {};
  GetNativeSystemInfo(&system);
  fprintf(report, "x64=%d\n", system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64);
  fprintf(report, "platform=%lu\nversion=%lu.%lu.%lu\ntype=%u\nsp=%s\n",
          static_cast<unsigned long>(info.dwPlatformId),
          static_cast<unsigned long>(kernel.dwMajorVersion),
          static_cast<unsigned long>(kernel.dwMinorVersion),
          static_cast<unsigned long>(kernel.dwBuildNumber), info.wProductType, info.szCSDVersion);

  for (const auto& variant : kVariants) {
    tms::testing::GuardedBytes buffer(variant.isShort ? TMS_OS_NAME_SHORT_SIZE : TMS_OS_NAME_SIZE);
    const int result = variant.isShort
                           ? getShortName(buffer.get())
                           : getName(buffer.get(), variant.omitVendor, variant.breakLine);
    const std::string name = buffer.Text();
    fprintf(report, "%s=%d %s\n", variant.name, buffer.Holds(name) ? result : -1,
            Escape(name).c_str());
  }
  fprintf(report, "null-buffer=%d %d\n", getName(nullptr, 0, 1), getShortName(nullptr));
  fclose(report);
  return 0;
}

// ---------------------------------------------------------------------------
// The driver.

// Creates the key when it is missing.
// Sets a text value; null removes the value.
bool SetText(HKEY root, const char* key, const char* name, const char* text) {
  if (text == nullptr) {
    const LONG status = RegDeleteKeyValueA(root, key, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  return RegSetKeyValueA(root, key, name, REG_SZ, text, lstrlenA(text) + 1) == ERROR_SUCCESS;
}

// Wine's per-program settings, where a program's version mode is kept.
std::string AppDefaultsKey(const std::string& exeName) {
  return "Software\\Wine\\AppDefaults\\" + exeName;
}

bool SetWineVersion(const std::string& exeName, const char* mode) {
  return SetText(HKEY_CURRENT_USER, AppDefaultsKey(exeName).c_str(), "Version", mode);
}

std::map<std::string, std::string> ReadReport(const std::string& path) {
  std::map<std::string, std::string> entries;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) entries[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return entries;
}

// The kernel build a row gives under the running Wine release.
const KernelBuild& BuildUnder(const ModeRow& row, int wineMajor) {
  return wineMajor == 10 && row.wine10.version != nullptr ? row.wine10 : row.wine8;
}

// What a variant must report: the export's result (1) and its text.
std::string Expected(const ModeRow& row, const KernelBuild& build, bool x64, bool isShort,
                     int omitVendor, int breakLine) {
  const char* longName = x64 && row.longNameX64 != nullptr ? row.longNameX64 : row.longName;
  const char* shortName = x64 && row.shortNameX64 != nullptr ? row.shortNameX64 : row.shortName;
  std::string name = isShort ? shortName : longName;
  if (!isShort && omitVendor == 0) name = "Microsoft " + name;
  if (breakLine != 0 && row.platform == 2) name += "\\r\\n";
  return "1 " + name + (isShort ? build.shortSuffix : build.longSuffix);
}

// The major version of the Wine the test runs under; 0 off Wine.
int WineMajor() {
  using WineGetVersion = const char*(CDECL*)();
  const auto wineGetVersion =
      Find<WineGetVersion>(GetModuleHandleA("ntdll.dll"), "wine_get_version");
  return wineGetVersion == nullptr ? 0 : atoi(wineGetVersion());
}

// A copy of this program, started as a child that writes its report.
struct Child {
  const ModeRow* row;
  std::string exe, report;
  HANDLE process;
};

// Copies this program to `exeName` beside it and starts the copy;
// `prepare` runs in between (it gives the copy its version facts).
template <typename Prepare>
Child StartChild(const ModeRow& row, const std::string& exeName, Prepare prepare) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string directory(self, strrchr(self, '\\') + 1);
  Child child = {&row, directory + exeName, directory + exeName + ".txt", nullptr};
  DeleteFileA(child.report.c_str());
  EXPECT_TRUE(CopyFileA(self, child.exe.c_str(), FALSE)) << child.exe;
  prepare();
  std::string commandLine = "\"" + child.exe + "\" --child \"" + child.report + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (CreateProcessA(child.exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                     directory.c_str(), &startup, &started)) {
    CloseHandle(started.hThread);
    child.process = started.hProcess;
  }
  EXPECT_NE(child.process, nullptr) << row.mode;
  return child;
}

// Waits for the child and compares its report with its row.
void CheckChild(Child& child, const KernelBuild& build) {
  const ModeRow& row = *child.row;
  SCOPED_TRACE(row.mode);
  if (child.process == nullptr) return;
  EXPECT_EQ(WaitForSingleObject(child.process, 60000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(child.process, &exitCode);
  CloseHandle(child.process);
  EXPECT_EQ(exitCode, 0u);

  std::map<std::string, std::string> report = ReadReport(child.report);
  EXPECT_EQ(report["error"], "");
  // The facts first: a row whose facts Wine no longer gives is out of date.
  EXPECT_EQ(report["platform"], std::to_string(row.platform));
  EXPECT_EQ(report["version"], build.version);
  EXPECT_EQ(report["type"], std::to_string(row.productType));
  EXPECT_EQ(report["sp"], row.servicePack);
  for (const auto& variant : kVariants) {
    SCOPED_TRACE(variant.name);
    EXPECT_EQ(report[variant.name], Expected(row, build, report["x64"] == "1", variant.isShort,
                                             variant.omitVendor, variant.breakLine));
  }
  EXPECT_EQ(report["null-buffer"], "0 0");
  DeleteFileA(child.exe.c_str());
  DeleteFileA(child.report.c_str());
}

TEST(HostOSNameUnderWine, EveryVersionModeGetsItsName) {
  const int wineMajor = WineMajor();
  if (wineMajor == 0) GTEST_SKIP() << "version modes exist only under Wine";
  // The table holds the facts of the Wine releases Debian 12 and 13 ship.
  ASSERT_TRUE(wineMajor == 8 || wineMajor == 10)
      << "Wine " << wineMajor << " has no facts in this table (it knows Wine 8 and 10): "
      << "run its version modes and write where they differ onto the rows";

  std::vector<Child> children;
  for (const ModeRow& row : kModes) {
    if (BuildUnder(row, wineMajor).version == nullptr) continue;  // no such mode in this Wine
    const std::string exeName = std::string("tms_osname_mode_") + row.mode + ".exe";
    children.push_back(StartChild(
        row, exeName, [&] { EXPECT_TRUE(SetWineVersion(exeName, row.mode)) << row.mode; }));
  }
  for (Child& child : children) CheckChild(child, BuildUnder(*child.row, wineMajor));
}

// ---------------------------------------------------------------------------
// The registry rows.

constexpr char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kProductKey[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr char kHotfixKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

// One machine value as the prefix had it, put back when the test ends.
class SavedValue {
 public:
  SavedValue(const char* key, const char* name) : key_(key), name_(name) {
    DWORD size = sizeof data_;
    present_ = RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type_, data_,
                            &size) == ERROR_SUCCESS;
    size_ = size;
  }
  ~SavedValue() {
    if (present_) {
      RegSetKeyValueA(HKEY_LOCAL_MACHINE, key_, name_, type_, data_, size_);
    } else {
      RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key_, name_);
    }
  }

 private:
  const char* key_;
  const char* name_;
  bool present_;
  DWORD type_ = 0, size_ = 0;
  char data_[256] = {};
};

bool SetMachineText(const char* key, const char* name, const char* text) {
  return SetText(HKEY_LOCAL_MACHINE, key, name, text);
}

bool SetHotfix(bool present) {
  if (present) return SetMachineText(kHotfixKey, "Installed", "1");
  const LONG status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHotfixKey);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// The values are the prefix's for every program without a version mode, so
// the test runs only where the test command gave it a prefix of its own
// (TMS_OWN_WINE_PREFIX), and one row at a time; it puts the values back.
TEST(HostOSNameUnderWine, RegistryFactsGetTheirNames) {
  if (WineMajor() == 0) GTEST_SKIP() << "the registry's facts are read so only under Wine";
  if (GetEnvironmentVariableA("TMS_OWN_WINE_PREFIX", nullptr, 0) == 0) {
    GTEST_SKIP() << "needs a Wine prefix of its own (TMS_OWN_WINE_PREFIX)";
  }
  const SavedValue saved[] = {{kVersionKey, "CurrentVersion"},
                              {kVersionKey, "CurrentBuildNumber"},
                              {kVersionKey, "CSDVersion"},
                              // Taken before CurrentVersion where a prefix has them.
                              {kVersionKey, "CurrentMajorVersionNumber"},
                              {kVersionKey, "CurrentMinorVersionNumber"},
                              {kProductKey, "ProductType"}};
  const bool hadHotfix = RegGetValueA(HKEY_LOCAL_MACHINE, kHotfixKey, "Installed", RRF_RT_ANY,
                                      nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  const std::string exeName = "tms_osname_registry.exe";
  RegDeleteTreeA(HKEY_CURRENT_USER, AppDefaultsKey(exeName).c_str());
  for (const RegistryRow& row : kRegistryRows) {
    Child child = StartChild(row.facts, exeName, [&] {
      EXPECT_TRUE(SetMachineText(kVersionKey, "CurrentMajorVersionNumber", nullptr));
      EXPECT_TRUE(SetMachineText(kVersionKey, "CurrentMinorVersionNumber", nullptr));
      EXPECT_TRUE(SetMachineText(kVersionKey, "CurrentVersion", row.currentVersion));
      EXPECT_TRUE(SetMachineText(kVersionKey, "CurrentBuildNumber", row.buildNumber));
      EXPECT_TRUE(SetMachineText(kVersionKey, "CSDVersion", row.facts.servicePack));
      EXPECT_TRUE(SetMachineText(kProductKey, "ProductType", row.productType));
      EXPECT_TRUE(SetHotfix(row.hasQ246009));
    });
    CheckChild(child, row.facts.wine8);
  }
  SetHotfix(hadHotfix);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "--child") == 0) return RunChild(argv[2]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
