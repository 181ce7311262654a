// tmsinfo: a command-line host that shows what the library answers.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "TolvaricModeSupport.h"
#include "commands.h"
#include "library_loader.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(LibraryLoader& library, int argc, char** argv);
};

const Command kCommands[] = {
    {"version", "version              library version (DllGetVersion)", RunVersion},
    {"copy", "copy TEXT            measure TEXT and copy it back as ANSI", RunCopy},
    {"day", "day [YYYY-MM-DD]     day number of today or of the date; 2000-07-27 is day 1", RunDay},
    {"flatten", "flatten PATH         PATH flattened into a backup file name", RunFlatten},
    {"backup", "backup FOLDER PATH   full path of the backup copy of PATH in FOLDER", RunBackup},
    {"os", "os [--no-vendor] [--break] | os --short\n"
           "                       the host's OS name, long or short",
     RunOs},
    {"color", "color                pick a colour in the colour dialog", RunColor},
    {"music", "music [--html]       title of the music a player plays, or exit code 1", RunMusic},
    {"video", "video [--html]       title of the video a player plays, or exit code 1", RunVideo},
    {"all", "all [--json]         everything the library can say about this machine\n"
            "                       (never opens the colour dialog); --json for scripts",
     RunAll},
};

void PrintHelp(FILE* out) {
  fprintf(out, "usage: tmsinfo COMMAND [ARGUMENTS]\n\ncommands:\n");
  for (const Command& command : kCommands) fprintf(out, "  %s\n", command.usage);
  fprintf(out,
          "\nmusic and video print the title in the ANSI code page (UTF-8 on Linux), copied\n"
          "with tmsCopyString; --html asks for HTML character references (NT family only).\n");
  fprintf(out,
          "\nexit codes: 0 success, 1 the library reported failure or nothing to show,\n"
          "            2 wrong usage, 3 the library or an export could not be loaded.\n"
          "            'all' reports every fact it can even so, and exits 3 if an export\n"
          "            is missing, else 1 if any fact failed (\"failures\" in --json).\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0) {
    PrintHelp(argc < 2 ? stderr : stdout);
    return argc < 2 ? kExitUsage : kExitOk;
  }
  for (const Command& command : kCommands) {
    if (strcmp(argv[1], command.name) != 0) continue;
    LibraryLoader library;
    if (!library.Load()) {
      fprintf(stderr, "tmsinfo: %s\n", library.error());
      return kExitNoLibrary;
    }
    return command.run(library, argc - 2, argv + 2);
  }
  fprintf(stderr, "tmsinfo: unknown command '%s'\n\n", argv[1]);
  PrintHelp(stderr);
  return kExitUsage;
}
