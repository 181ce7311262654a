// Fuzzes flattened names and backup paths with random bytes and capacities,
// the huge and negative ones included. Texts and destinations are heap
// blocks of exactly their size; a destination is as large as the capacity
// claims, or, where that is too large to allocate, exactly as large as the
// result. A flattened name must be as long as its source, with no ':' or
// '\' and every other byte kept; a backup path must be the folder, a '\'
// where the folder does not end in one, and the flattened name. A refused
// call must leave the destination untouched, and the scratch buffer of a
// backup path must be released on every path, also when it cannot be had.
#include <stdint.h>
#include <string.h>

#include <string>

#include "backupname/backup_name.h"
#include "fakes/counting_memory.h"
#include "fuzz/fuzz_input.h"

namespace {

using tms::fuzz::Check;
using tms::fuzz::ExactBlock;
using tms::fuzz::FuzzInput;

constexpr char kGuard = static_cast<char>(0xCC);
// Capacities up to this size get a destination of that size.
constexpr int64_t kLargestAllocatedCapacity = 4096;

// A capacity near the one the call needs, small, or any (the limits of its
// type are rows of the shared tables).
int64_t PickCapacity(FuzzInput& input, int64_t needed) {
  switch (input.Byte() % 3) {
    case 0:
      return needed - 3 + input.Byte() % 7;
    case 1:
      return input.Count(512);
    default:
      return input.Word();
  }
}

// A destination as large as `capacity` says when that can be had, else
// exactly `written` bytes: a sound call writes no more than that.
size_t DestinationSize(int64_t capacity, size_t written) {
  if (capacity < 0) return 0;
  return capacity <= kLargestAllocatedCapacity ? static_cast<size_t>(capacity) : written;
}

bool IsFlattened(const std::string& source, const char* flat, size_t length) {
  if (length != source.size()) return false;
  for (size_t i = 0; i < length; ++i) {
    const bool separator = source[i] == ':' || source[i] == '\\';
    if (separator ? flat[i] == ':' || flat[i] == '\\' : flat[i] != source[i]) return false;
  }
  return true;
}

// A refused call writes nothing; an accepted one writes a terminated text
// that `holds` accepts and nothing after it.
template <typename Holds>
void CheckOutcome(int32_t result, bool accepted, const ExactBlock& destination, Holds holds) {
  if (!accepted) {
    Check(result == 0);
    Check(destination.FilledFrom(0, kGuard));
    return;
  }
  Check(result == 1);
  const char* written = destination.get();
  const size_t length = strnlen(written, destination.size());
  Check(length < destination.size());
  Check(holds(written, length));
  Check(destination.FilledFrom(length + 1, kGuard));
}

void FuzzFlatten(FuzzInput& input) {
  ExactBlock source(input.Text(255));
  const std::string text(source.get());
  const int64_t needed = static_cast<int64_t>(text.size()) + 2;
  // The capacity is unsigned: a negative pick wraps to a large size.
  const auto capacity = static_cast<uint32_t>(PickCapacity(input, needed));
  const bool accepted = capacity >= needed;
  ExactBlock destination(DestinationSize(capacity, text.size() + 1), kGuard);
  const int32_t result = tms::FlattenFileName(source.get(), destination.get(), capacity);
  CheckOutcome(result, accepted, destination, [&text](const char* flat, size_t length) {
    return IsFlattened(text, flat, length);
  });
}

void FuzzBackupPath(FuzzInput& input, tms::testing::CountingMemory& memory) {
  ExactBlock folder(input.Text(255));
  ExactBlock source(input.Text(255));
  const std::string folderText(folder.get());
  const std::string sourceText(source.get());
  const int64_t needed = static_cast<int64_t>(folderText.size() + sourceText.size()) + 2;
  const auto capacity = static_cast<int32_t>(PickCapacity(input, needed));
  const bool scratchFails = input.Byte() % 8 == 0;
  memory.FailAllocationNumber(scratchFails ? 1 : 0);

  const bool accepted = capacity >= needed && !scratchFails;
  // The folder and its closing '\\' when it lacks one.
  const std::string folderPart =
      folderText.empty() || folderText.back() != '\\' ? folderText + '\\' : folderText;
  const size_t written = folderPart.size() + sourceText.size() + 1;
  ExactBlock destination(DestinationSize(capacity, written), kGuard);
  const int32_t result =
      tms::MakeBackupPath(memory, folder.get(), source.get(), destination.get(), capacity);
  memory.FailAllocationNumber(0);
  CheckOutcome(result, accepted, destination, [&](const char* path, size_t length) {
    return length >= folderPart.size() &&
           folderPart.compare(0, folderPart.size(), path, folderPart.size()) == 0 &&
           IsFlattened(sourceText, path + folderPart.size(), length - folderPart.size());
  });
  Check(memory.live() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  tms::testing::CountingMemory memory;
  while (!input.empty()) {
    if (input.Flag()) {
      FuzzBackupPath(input, memory);
    } else {
      FuzzFlatten(input);
    }
  }
  return 0;
}
