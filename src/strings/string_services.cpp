// The string services behind tmsGetStringLength and tmsCopyString.
#include "strings/string_services.h"

#include "platform/text.h"
#include "strings/dual_string.h"

namespace tms {

int32_t MeasureWideText(const WideChar* text) { return TextLength(text); }

void CopyWideTextAsAnsi(platform::Memory& memory, platform::Codepage& codepage,
                        const WideChar* source, char* destination) {
  if (source == nullptr || destination == nullptr) return;
  DualString text(memory, codepage, source);
  // A missing wide copy would leave an empty ANSI copy that is not the
  // caller's text: write nothing rather than a wrong result.
  if (text.GetWide() == nullptr || text.GetAnsi() == nullptr) return;
  const char* ansi = text.GetAnsi();
  CopyUnits(destination, ansi, static_cast<size_t>(TextLength(ansi)) + 1);
}

}  // namespace tms
