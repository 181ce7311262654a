// tmsinfo version / copy: the version and the string services.
#include <stdio.h>

#include <string>

#include "TolvaricModeSupport.h"
#include "ansi_text.h"
#include "commands.h"

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
  const std::u16string wide = AnsiToWide(argv[0]);
  const auto* text = reinterpret_cast<const TmsWideChar*>(wide.c_str());
  const int length = getLength(text);
  // Up to three bytes per unit covers every code page, UTF-8 included.
  std::string ansi(static_cast<size_t>(length) * 3 + 1, '\0');
  copyString(text, &ansi[0]);
  printf("length: %d\nansi: %s\n", length, ansi.c_str());
  return kExitOk;
}
