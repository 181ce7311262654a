// tmsinfo flatten / backup: backup file names and backup paths.
#include <stdio.h>
#include <string.h>

#include <string>

#include "TolvaricModeSupport.h"
#include "commands.h"

int RunFlatten(LibraryLoader& library, int argc, char** argv) {
  if (argc != 1) {
    fprintf(stderr, "usage: tmsinfo flatten PATH\n");
    return kExitUsage;
  }
  int(TMS_API * modifyFileName)(const char*, char*, unsigned int) = nullptr;
  if (!FindExport(library, "tmsModifyOriginalFileName", &modifyFileName)) {
    fprintf(stderr, "tmsinfo: %s\n", library.error());
    return kExitNoLibrary;
  }
  // The flattened name needs its length plus 2 bytes.
  std::string name(strlen(argv[0]) + 2, '\0');
  if (modifyFileName(argv[0], &name[0], static_cast<unsigned int>(name.size())) == 0) {
    fprintf(stderr, "tmsinfo: tmsModifyOriginalFileName failed\n");
    return kExitFailure;
  }
  printf("%s\n", name.c_str());
  return kExitOk;
}

int RunBackup(LibraryLoader& library, int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: tmsinfo backup FOLDER PATH\n");
    return kExitUsage;
  }
  int(TMS_API * getPathForBackup)(const char*, const char*, char*, int) = nullptr;
  if (!FindExport(library, "tmsGetPathForBackup", &getPathForBackup)) {
    fprintf(stderr, "tmsinfo: %s\n", library.error());
    return kExitNoLibrary;
  }
  // Folder, backslash, flattened path and terminator.
  std::string path(strlen(argv[0]) + strlen(argv[1]) + 2, '\0');
  if (getPathForBackup(argv[0], argv[1], &path[0], static_cast<int>(path.size())) == 0) {
    fprintf(stderr, "tmsinfo: tmsGetPathForBackup failed\n");
    return kExitFailure;
  }
  printf("%s\n", path.c_str());
  return kExitOk;
}
