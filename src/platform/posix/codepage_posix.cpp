// On POSIX the 8-bit "ANSI" encoding is UTF-8.
#include "platform/codepage.h"
#include "platform/posix/utf8.h"

namespace tms::platform {
namespace {

class PosixCodepage final : public Codepage {
 public:
  constexpr PosixCodepage() = default;

  int32_t AnsiToWide(const char* source, int32_t sourceLength, WideChar* target,
                     int32_t targetCount) override {
    return Utf8ToUtf16(source, sourceLength, target, targetCount);
  }
  int32_t WideToAnsi(const WideChar* source, int32_t sourceLength, char* target,
                     int32_t targetCount) override {
    return Utf16ToUtf8(source, sourceLength, target, targetCount);
  }
};

PosixCodepage systemCodepage;

}  // namespace

Codepage& SystemCodepage() { return systemCodepage; }

}  // namespace tms::platform
