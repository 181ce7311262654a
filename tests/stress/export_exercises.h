// Checked calls of every export that needs no user at the screen, for the
// stress tests: many threads at once, and many load and unload cycles. A
// round number picks each call's inputs, mostly a row of the shared case
// tables (the only run of some rows through the real DLL under Wine), and
// its result is checked against the row; what depends on the
// machine (today's date, the OS name) against what the export answered
// before the stress began.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "TolvaricModeSupport.h"
#include "library_loader.h"

namespace tms::stress {

// What the machine-dependent exports answered once, before the stress.
struct Baseline {
  int32_t today = 0;  // tmsGetDayNum; the next day is accepted as well
  // tmsGetHostOSName by (omitVendor, breakLine) as bits 0 and 1, and the
  // short name.
  int32_t longResults[4] = {};
  std::string longNames[4];
  int32_t shortResult = 0;
  std::string shortName;
};

struct ExportExercise {
  const char* name;
  // One call of the export at `address`: null when its result and what it
  // wrote are as expected, else the name of the case that went wrong.
  const char* (*call)(const void* address, uint32_t round, const Baseline& baseline);
};

// Every export except tmsGetHTMLColor, which waits for the user.
extern const ExportExercise kExportExercises[];
extern const size_t kExportExerciseCount;

// The library loaded by name, as a host loads it, and the exercised exports'
// addresses in table order.
class LoadedExports {
 public:
  // False, saying why in `error`, when the library or an export is missing.
  bool Load(std::string* error);
  // Calls exercise `row` with `round`; null or the case that went wrong.
  const char* Exercise(size_t row, uint32_t round, const Baseline& baseline) const {
    return kExportExercises[row].call(addresses_[row], round, baseline);
  }
  // Asks the machine-dependent exports once.
  Baseline ReadBaseline() const;

 private:
  const void* Named(const char* name) const;

  LibraryLoader library_;
  std::vector<const void*> addresses_;
};

}  // namespace tms::stress
