// Flattened names and backup paths beside the byte copying they need: the
// lengths (the capacity is checked before anything is written), and one
// pass that copies the bytes and replaces ':' and '\' by '~'.
#include <stdlib.h>
#include <string.h>

#include "TolvaricModeSupport.h"
#include "benchmarks/benchmark_pairs.h"

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

void FlattenExport(benchmark::State& state) {
  char destination[128];
  for (auto _ : state) {
    const char* path = kPath;
    benchmark::DoNotOptimize(path);
    benchmark::DoNotOptimize(tmsModifyOriginalFileName(path, destination, sizeof destination));
    benchmark::ClobberMemory();
  }
}

void FlattenBaselineRun(benchmark::State& state) {
  char destination[128];
  for (auto _ : state) {
    const char* path = kPath;
    benchmark::DoNotOptimize(path);
    benchmark::DoNotOptimize(FlattenBaseline(path, destination, sizeof destination));
    benchmark::ClobberMemory();
  }
}

TMS_BENCHMARK_PAIR("tmsModifyOriginalFileName (56 bytes)", true, FlattenExport,
                   FlattenBaselineRun);

void BackupPathExport(benchmark::State& state) {
  char destination[128];
  for (auto _ : state) {
    const char* folder = kFolder;
    const char* path = kPath;
    benchmark::DoNotOptimize(folder);
    benchmark::DoNotOptimize(path);
    benchmark::DoNotOptimize(tmsGetPathForBackup(folder, path, destination, sizeof destination));
    benchmark::ClobberMemory();
  }
}

void BackupPathBaselineRun(benchmark::State& state) {
  char destination[128];
  for (auto _ : state) {
    const char* folder = kFolder;
    const char* path = kPath;
    benchmark::DoNotOptimize(folder);
    benchmark::DoNotOptimize(path);
    benchmark::DoNotOptimize(BackupPathBaseline(folder, path, destination, sizeof destination));
    benchmark::ClobberMemory();
  }
}

// The baseline and the scratch buffer that the backup path's contract
// prescribes: the flattened name is made in a block from the free store.
void BackupPathWithScratch(benchmark::State& state) {
  char destination[128];
  for (auto _ : state) {
    const char* folder = kFolder;
    const char* path = kPath;
    benchmark::DoNotOptimize(folder);
    benchmark::DoNotOptimize(path);
    void* volatile scratch = malloc(strlen(path) + 2);
    benchmark::DoNotOptimize(BackupPathBaseline(folder, path, destination, sizeof destination));
    free(scratch);
    benchmark::ClobberMemory();
  }
}

TMS_BENCHMARK_PAIR("tmsGetPathForBackup (9 + 56 bytes)", true, BackupPathExport,
                   BackupPathBaselineRun);
TMS_BENCHMARK_PAIR("tmsGetPathForBackup vs baseline + scratch block", true, BackupPathExport,
                   BackupPathWithScratch);

}  // namespace
}  // namespace tms::bench
