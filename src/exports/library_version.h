// The version the library reports, in one place for DllGetVersion and the
// version resource.
#pragma once

#define TMS_VERSION_MAJOR 1
#define TMS_VERSION_MINOR 0
#define TMS_VERSION_BUILD 10
#define TMS_VERSION_TEXT "1.00.0010"
