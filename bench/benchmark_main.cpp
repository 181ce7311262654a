// Runs the benchmark pairs and ends the console report with a table of
// each export's time over its baseline's.
#include <stdio.h>

#include <algorithm>
#include <map>

#include "benchmark_pairs.h"

namespace tms::bench {
namespace {

std::vector<BenchmarkPair>& MutablePairs() {
  static std::vector<BenchmarkPair> pairs;
  return pairs;
}

// Google Benchmark 1.8 replaced Run::error_occurred with Run::skipped (an
// error or a skip); the overload that compiles with the installed version
// is taken.
template <typename BenchmarkRun>
auto WasSkipped(const BenchmarkRun& run, int) -> decltype(static_cast<bool>(run.skipped)) {
  return static_cast<bool>(run.skipped);
}
template <typename BenchmarkRun>
bool WasSkipped(const BenchmarkRun& run, long) {
  return run.error_occurred;
}

// The console report, remembering the CPU time per call of every run; with
// repetitions the table uses the median.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !WasSkipped(run, 0)) {
        nanoseconds_[run.run_name.str()].push_back(
            run.GetAdjustedCPUTime() * benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
            benchmark::GetTimeUnitMultiplier(run.time_unit));
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    printf("\n%-56s %9s %9s %6s\n", "export (pure: makes no system call)", "ns/call", "baseline",
           "ratio");
    for (const BenchmarkPair& pair : Pairs()) {
      const double measured = Median(pair.name);
      const double baseline = Median(BaselineName(pair.name));
      if (measured <= 0 || baseline <= 0) continue;
      printf("%-56s %9.1f %9.1f %6.2f%s\n", (pair.name + (pair.pure ? " (pure)" : "")).c_str(),
             measured, baseline, measured / baseline,
             pair.pure && measured > 1.5 * baseline ? "  over 1.5" : "");
    }
  }

 private:
  double Median(const std::string& name) const {
    const auto found = nanoseconds_.find(name);
    if (found == nanoseconds_.end()) return 0;
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  }

  std::map<std::string, std::vector<double>> nanoseconds_;
};

}  // namespace

int RegisterPair(const char* name, bool pure, Body measured, Body baseline) {
  benchmark::RegisterBenchmark(name, measured);
  benchmark::RegisterBenchmark(BaselineName(name).c_str(), baseline);
  MutablePairs().push_back({name, pure});
  return 0;
}

const std::vector<BenchmarkPair>& Pairs() { return MutablePairs(); }

std::string BaselineName(const std::string& name) { return name + " [baseline]"; }

}  // namespace tms::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tms::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
