// Flattened names and backup paths beside the byte copying they need: the
// lengths (the capacity is checked before anything is written), and one
// pass that copies the bytes and replaces ':' and '\' by '~'.
#include <stdlib.h>
#include <string.h>

#include "TolvaricModeSupport.h"
#include "benchmark_pairs.h"

namespace tms::bench {
namespace {

const char kFolder[] = "D:\\Backup";
const char kPath[] = "C:\\Documents and Settings\\All Users\\Documents\\page.htm";

// Copies `length` bytes and the terminator, replacing as it goes.
inline void CopyFlattened(char* target, const char* source, size_t length) {
  for (size_t i = 0; i <= length; ++i) {
    const char byte = source[i];
    target[i] = byte == ':' || byte == '\\' ? '~' : byte;
  }
}

__attribute__((noipa)) int FlattenBaseline(const char* source, char* destination,
                                              unsigned int capacity) {
  const size_t length = strlen(source);
  if (capacity < length + 2) return 0;
  CopyFlattened(destination, source, length);
  return 1;
}

__attribute__((noipa)) int BackupPathBaseline(const char* folder, const char* source,
                                                 char* destination, int capacity) {
  const size_t folderLength = strlen(folder);
  const size_t sourceLength = strlen(source);
  if (capacity < 0 || static_cast<size_t>(capacity) < folderLength + sourceLength + 2) return 0;
  memcpy(destination, folder, folderLength);
  char* end = destination + folderLength;
  if (folderLength == 0 || folder[folderLength - 1] != '\\') *end++ = '\\';
  CopyFlattened(end, source, sourceLength);
  return 1;
}

// The baseline and the scratch buffer that the backup path's contract
// prescribes: the flattened name is made in a block from the free store.
__attribute__((noipa)) int BackupPathWithScratch(const char* folder, const char* source,
                                                 char* destination, int capacity) {
  void* volatile scratch = malloc(strlen(source) + 2);
  const int result = BackupPathBaseline(folder, source, destination, capacity);
  free(scratch);
  return result;
}

// The texts pass through DoNotOptimize, so that no length is known in advance.
template <int (*kFlatten)(const char*, char*, unsigned int)>
void Flatten(benchmark::State& state) {
  char destination[128];
  for (auto _ : state) {
    const char* path = kPath;
    benchmark::DoNotOptimize(path);
    benchmark::DoNotOptimize(kFlatten(path, destination, sizeof destination));
    benchmark::ClobberMemory();
  }
}

template <int (*kBackupPath)(const char*, const char*, char*, int)>
void BackupPath(benchmark::State& state) {
  char destination[128];
  for (auto _ : state) {
    const char* folder = kFolder;
    const char* path = kPath;
    benchmark::DoNotOptimize(folder);
    benchmark::DoNotOptimize(path);
    benchmark::DoNotOptimize(kBackupPath(folder, path, destination, sizeof destination));
    benchmark::ClobberMemory();
  }
}

TMS_BENCHMARK_PAIR("tmsModifyOriginalFileName (56 bytes)", true,
                   Flatten<tmsModifyOriginalFileName>, Flatten<FlattenBaseline>);
TMS_BENCHMARK_PAIR("tmsGetPathForBackup (9 + 56 bytes)", true, BackupPath<tmsGetPathForBackup>,
                   BackupPath<BackupPathBaseline>);
TMS_BENCHMARK_PAIR("tmsGetPathForBackup vs baseline + scratch block", true,
                   BackupPath<tmsGetPathForBackup>, BackupPath<BackupPathWithScratch>);

}  // namespace
}  // namespace tms::bench
