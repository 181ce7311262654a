// Every export's benchmark runs beside a baseline that does only the work
// its contract cannot avoid; the report ends with the ratio of the two.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace tms::bench {

using Body = void (*)(benchmark::State&);

struct BenchmarkPair {
  std::string name;      // the export's benchmark; the baseline's adds " [baseline]"
  bool pure;             // true when the export makes no system call
};

// Registers `measured` under `name` and `baseline` beside it.
int RegisterPair(const char* name, bool pure, Body measured, Body baseline);

const std::vector<BenchmarkPair>& Pairs();

std::string BaselineName(const std::string& name);

}  // namespace tms::bench

#define TMS_BENCHMARK_CONCAT_INNER(a, b) a##b
#define TMS_BENCHMARK_CONCAT(a, b) TMS_BENCHMARK_CONCAT_INNER(a, b)
// TMS_BENCHMARK_PAIR("tmsGetDayNumEx", true, DayNumEx, DaysFromCivil);
#define TMS_BENCHMARK_PAIR(name, pure, measured, baseline)            \
  static const int TMS_BENCHMARK_CONCAT(registered_pair_, __LINE__) = \
      ::tms::bench::RegisterPair(name, pure, measured, baseline)
