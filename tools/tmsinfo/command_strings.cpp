// tmsinfo version / copy: the version and the string services.
#include <stdio.h>

#include <string>

#include "TolvaricModeSupport.h"
#include "commands.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

// The command line's text as UTF-16: from the ANSI code page on Windows,
// from UTF-8 elsewhere.
std::u16string ToWide(const char* text) {
  std::u16string wide;
#if defined(_WIN32)
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units <= 1) return wide;
  wide.resize(static_cast<size_t>(units));
  MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<LPWSTR>(&wide[0]), units);
  wide.pop_back();
#else
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  while (*bytes != 0) {
    char32_t codePoint = *bytes++;
    int trailing = codePoint >= 0xF0 ? 3 : codePoint >= 0xE0 ? 2 : codePoint >= 0xC0 ? 1 : 0;
    codePoint &= trailing == 3 ? 0x07 : trailing == 2 ? 0x0F : trailing == 1 ? 0x1F : 0x7F;
    for (; trailing > 0 && (*bytes & 0xC0) == 0x80; --trailing) {
      codePoint = (codePoint << 6) | (*bytes++ & 0x3F);
    }
    if (codePoint >= 0x10000) {
      wide.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
    } else {
      wide.push_back(static_cast<char16_t>(codePoint));
    }
  }
#endif
  return wide;
}

}  // namespace

int RunVersion(LibraryLoader& library, int /*argc*/, char** /*argv*/) {
  TmsResult(TMS_API * getVersion)(TmsDllVersionInfo*) = nullptr;
  if (!FindExport(library, "DllGetVersion", &getVersion)) {
    fprintf(stderr, "tmsinfo: %s\n", library.error());
    return kExitNoLibrary;
  }
  struct {
    unsigned int cbSize, major, minor, build, platform;
  } info = {20, 0, 0, 0, 0};
  const TmsResult result = getVersion(reinterpret_cast<TmsDllVersionInfo*>(&info));
  if (result != 0) {
    fprintf(stderr, "tmsinfo: DllGetVersion failed (0x%08lX)\n",
            static_cast<unsigned long>(result));
    return kExitFailure;
  }
  printf("TolvaricModeSupport %u.%u build %u (platform %u)\n", info.major, info.minor, info.build,
         info.platform);
  return kExitOk;
}

int RunCopy(LibraryLoader& library, int argc, char** argv) {
  if (argc != 1) {
    fprintf(stderr, "usage: tmsinfo copy TEXT\n");
    return kExitUsage;
  }
  int(TMS_API * getLength)(const TmsWideChar*) = nullptr;
  void(TMS_API * copyString)(const TmsWideChar*, char*) = nullptr;
  if (!FindExport(library, "tmsGetStringLength", &getLength) ||
      !FindExport(library, "tmsCopyString", &copyString)) {
    fprintf(stderr, "tmsinfo: %s\n", library.error());
    return kExitNoLibrary;
  }
  const std::u16string wide = ToWide(argv[0]);
  const auto* text = reinterpret_cast<const TmsWideChar*>(wide.c_str());
  const int length = getLength(text);
  // Up to three bytes per unit covers every code page, UTF-8 included.
  std::string ansi(static_cast<size_t>(length) * 3 + 1, '\0');
  copyString(text, &ansi[0]);
  printf("length: %d\nansi: %s\n", length, ansi.c_str());
  return kExitOk;
}
