// POSIX settings file access: the executable's path from /proc, '/' as the
// folder separator, and INI files read and edited with the Windows profile
// functions' rules (see ini_text.h).
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/ini_text.h"
#include "platform/settings_store.h"

namespace tms::platform {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Sole owner of one block from the C heap.
class HeapBytes {
 public:
  HeapBytes() = default;
  explicit HeapBytes(size_t size) : data_(static_cast<char*>(malloc(size))) {}
  ~HeapBytes() { free(data_); }
  HeapBytes(const HeapBytes&) = delete;
  HeapBytes& operator=(const HeapBytes&) = delete;
  HeapBytes& operator=(HeapBytes&& other) noexcept {
    free(data_);
    data_ = other.data_;
    other.data_ = nullptr;
    return *this;
  }
  char* get() const { return data_; }

 private:
  char* data_ = nullptr;
};

// The whole content of an open regular file.
class FileBytes {
 public:
  bool Read(int fd) {
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const size_t expected = static_cast<size_t>(status.st_size);
    bytes_ = HeapBytes(expected + 1);
    if (bytes_.get() == nullptr) return false;
    while (size_ < expected) {
      const ssize_t got =
          pread(fd, bytes_.get() + size_, expected - size_, static_cast<off_t>(size_));
      if (got < 0) return false;
      if (got == 0) break;
      size_ += static_cast<size_t>(got);
    }
    return true;
  }
  const char* data() const { return bytes_.get(); }
  size_t size() const { return size_; }

 private:
  HeapBytes bytes_;
  size_t size_ = 0;
};

bool WriteAll(int fd, const char* bytes, size_t count, size_t offset) {
  while (count > 0) {
    const ssize_t put = pwrite(fd, bytes, count, static_cast<off_t>(offset));
    if (put <= 0) return false;
    bytes += put;
    count -= static_cast<size_t>(put);
    offset += static_cast<size_t>(put);
  }
  return true;
}

class PosixSettingsStore final : public SettingsStore {
 public:
  constexpr PosixSettingsStore() = default;

  uint32_t ExecutablePath(char* path, uint32_t capacity) override {
    if (capacity == 0) return 0;
    const ssize_t length = readlink("/proc/self/exe", path, capacity);
    if (length <= 0) {
      path[0] = 0;
      return 0;
    }
    if (static_cast<size_t>(length) >= capacity) return capacity;
    path[length] = 0;
    return static_cast<uint32_t>(length);
  }

  const char* FindFileName(const char* path) override {
    const char* slash = strrchr(path, '/');
    return slash == nullptr ? path : slash + 1;
  }

  void AddSeparator(char* path) override {
    const size_t length = strlen(path);
    if (length == 0 || path[length - 1] == '/') return;
    path[length] = '/';
    path[length + 1] = 0;
  }

  uint32_t ReadProfileString(const char* file, const char* section, const char* key, char* value,
                             uint32_t capacity) override {
    if (capacity == 0) return 0;
    value[0] = 0;
    // Non-blocking, so that a FIFO in the file's place cannot stall the call.
    const Descriptor fd(open(file, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    FileBytes content;
    ini::Span found;
    if (fd.get() < 0 || !content.Read(fd.get()) ||
        !ini::FindValue(content.data(), content.size(), section, key, &found)) {
      return 0;
    }
    const size_t copied = found.length < capacity ? found.length : capacity - 1;
    memcpy(value, content.data() + found.offset, copied);
    value[copied] = 0;
    return static_cast<uint32_t>(copied);
  }

  // The file is edited in place, from its first changed byte on, so that
  // it keeps its owner and permissions and a read-only file stays as it is.
  bool WriteProfileString(const char* file, const char* section, const char* key,
                          const char* value) override {
    const Descriptor fd(open(file, O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
    FileBytes content;
    if (fd.get() < 0 || !content.Read(fd.get())) return false;
    const ini::WritePlan plan = ini::PlanWrite(content.data(), content.size(), section, key);
    const size_t newSize =
        ini::ApplyWrite(plan, content.data(), content.size(), section, key, value, nullptr);
    const HeapBytes updated(newSize);
    if (updated.get() == nullptr) return false;
    ini::ApplyWrite(plan, content.data(), content.size(), section, key, value, updated.get());
    return WriteAll(fd.get(), updated.get() + plan.offset, newSize - plan.offset, plan.offset) &&
           (newSize >= content.size() || ftruncate(fd.get(), static_cast<off_t>(newSize)) == 0);
  }
};

PosixSettingsStore systemSettingsStore;

}  // namespace

SettingsStore& SystemSettingsStore() {
  return systemSettingsStore;
}

}  // namespace tms::platform
