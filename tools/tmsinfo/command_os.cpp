// tmsinfo os: the host's OS name, long or short.
#include <stdio.h>
#include <string.h>

#include "TolvaricModeSupport.h"
#include "commands.h"

int RunOs(LibraryLoader& library, int argc, char** argv) {
  bool omitVendor = false;
  bool breakLine = false;
  bool shortForm = false;
  for (int i = 0; i < argc; ++i) {
    if (strcmp(argv[i], "--no-vendor") == 0) {
      omitVendor = true;
    } else if (strcmp(argv[i], "--break") == 0) {
      breakLine = true;
    } else if (strcmp(argv[i], "--short") == 0) {
      shortForm = true;
    } else {
      fprintf(stderr, "tmsinfo: unknown option '%s'\n", argv[i]);
      fprintf(stderr, "usage: tmsinfo os [--no-vendor] [--break] | tmsinfo os --short\n");
      return kExitUsage;
    }
  }
  if (shortForm && (omitVendor || breakLine)) {
    fprintf(stderr, "tmsinfo: --short takes no other option\n");
    return kExitUsage;
  }

  // The long form's size holds the short form too.
  char name[TMS_OS_NAME_SIZE] = {};
  int result = 0;
  if (shortForm) {
    int(TMS_API * getShortName)(char*) = nullptr;
    if (!FindExport(library, "tmsGetHostOSNameShort", &getShortName)) {
      fprintf(stderr, "tmsinfo: %s\n", library.error());
      return kExitNoLibrary;
    }
    result = getShortName(name);
  } else {
    int(TMS_API * getName)(char*, int, int) = nullptr;
    if (!FindExport(library, "tmsGetHostOSName", &getName)) {
      fprintf(stderr, "tmsinfo: %s\n", library.error());
      return kExitNoLibrary;
    }
    result = getName(name, omitVendor ? 1 : 0, breakLine ? 1 : 0);
  }
  // The line break is "\r\n"; stdout writes a newline its own way.
  for (const char* c = name; *c != 0; ++c) {
    if (!(c[0] == '\r' && c[1] == '\n')) putchar(*c);
  }
  putchar('\n');
  return result != 0 ? kExitOk : kExitFailure;
}
