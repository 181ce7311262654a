// Flattened file names and backup paths.
#include "backupname/backup_name.h"

#include "platform/text.h"

namespace tms {
namespace {

constexpr char kBackslash = '\\';

// The flattened name and its terminator, plus the one spare byte that
// flattening has always demanded of its callers.
int64_t FlattenedSizeNeeded(int32_t sourceLength) { return int64_t{sourceLength} + 2; }

// Copies the `length` bytes of `source` and its terminator, turning ':' and
// '\' into '~'. A counted loop, which the compiler turns into vector code.
void FlattenInto(char* target, const char* source, int32_t length) {
  for (int32_t i = 0; i <= length; ++i) {
    const char byte = source[i];
    target[i] = byte == ':' || byte == kBackslash ? '~' : byte;
  }
}

// Sole owner of one scratch block from the free store.
class ScratchBlock {
 public:
  ScratchBlock(platform::Memory& memory, size_t bytes)
      : memory_(memory), bytes_(static_cast<char*>(memory.AllocScratch(bytes))) {}
  ~ScratchBlock() {
    if (bytes_ != nullptr) memory_.FreeScratch(bytes_);
  }
  ScratchBlock(const ScratchBlock&) = delete;
  ScratchBlock& operator=(const ScratchBlock&) = delete;
  char* get() const { return bytes_; }

 private:
  platform::Memory& memory_;
  char* bytes_;
};

}  // namespace

bool FlattenFileName(const char* source, char* destination, uint32_t capacity) {
  if (source == nullptr || destination == nullptr) return false;
  const int32_t length = TextLength(source);
  if (int64_t{capacity} < FlattenedSizeNeeded(length)) return false;
  FlattenInto(destination, source, length);
  return true;
}

bool MakeBackupPath(platform::Memory& memory, const char* folder, const char* source,
                    char* destination, int32_t capacity) {
  if (folder == nullptr || source == nullptr || destination == nullptr) return false;
  const int32_t folderLength = TextLength(folder);
  const int32_t sourceLength = TextLength(source);
  // The folder, one backslash, the flattened name and the terminator.
  if (int64_t{folderLength} + sourceLength + 2 > capacity) return false;

  // Had before anything is written, so that a failure leaves the
  // destination as it was.
  const int64_t scratchSize = FlattenedSizeNeeded(sourceLength);
  const ScratchBlock flattened(memory, static_cast<size_t>(scratchSize));
  if (flattened.get() == nullptr) return false;
  FlattenInto(flattened.get(), source, sourceLength);

  CopyUnits(destination, folder, static_cast<size_t>(folderLength));
  char* end = destination + folderLength;
  if (folderLength == 0 || folder[folderLength - 1] != kBackslash) *end++ = kBackslash;
  CopyUnits(end, flattened.get(), static_cast<size_t>(sourceLength) + 1);
  return true;
}

}  // namespace tms
