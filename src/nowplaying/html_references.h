// Turning a title into pure ASCII for an HTML page of any code page: every
// character at or above 128 becomes a decimal numeric character reference.
#pragma once

#include "platform/memory.h"
#include "platform/types.h"

namespace tms {

// Replaces the BSTR in `title` with its encoded form; the old BSTR is
// released and the new one has the same owner. Units below 128 stay as they
// are, markup characters included ("Rock & Roll" is unchanged). A valid
// surrogate pair becomes one reference of its code point, a lone surrogate
// "&#65533;". Example: u"caf\u00E9 \U0001F600" becomes "caf&#233; &#128512;".
// When memory runs out the title is left as it was. A null slot or title is
// left alone.
void EncodeHtmlReferences(platform::Memory& memory, Bstr* title);

}  // namespace tms
