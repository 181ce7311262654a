// tmsinfo color: the colour dialog and the HTML colour it gives.
#include <stdio.h>

#include "TolvaricModeSupport.h"
#include "commands.h"

int RunColor(LibraryLoader& library, int argc, char** /*argv*/) {
  if (argc != 0) {
    fprintf(stderr, "usage: tmsinfo color\n");
    return kExitUsage;
  }
  int(TMS_API * getHtmlColor)(TmsWindow, char*) = nullptr;
  if (!FindExport(library, "tmsGetHTMLColor", &getHtmlColor)) {
    fprintf(stderr, "tmsinfo: %s\n", library.error());
    return kExitNoLibrary;
  }
  char color[TMS_HTML_COLOR_SIZE] = {};
  const int result = getHtmlColor(nullptr, color);
  if (result == 0) {
    printf("cancelled: the user chose no colour\n");
    return kExitFailure;
  }
  printf("colour: %s\n", color);
  return kExitOk;
}
