// Eight threads call every export that needs no user, 100,000 calls in all,
// and check every result: the library keeps nothing from one call to the
// next, so each call must give what it gives alone. The library is loaded
// by name as a host loads it: natively (under ThreadSanitizer in the tsan
// preset) and the real DLL under Wine.
#include <gtest/gtest.h>
#include <stdio.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "stress/export_exercises.h"

namespace tms::stress {
namespace {

constexpr uint32_t kThreads = 8;
constexpr uint32_t kTotalCalls = 100000;
constexpr size_t kFailuresKept = 5;

// Calls [first, last) of the run; call n exercises row n % rows, so each
// thread goes through every export over and over.
void RunCalls(const LoadedExports& exports, const Baseline& baseline, uint32_t first, uint32_t last,
              std::vector<std::string>* failures) {
  for (uint32_t call = first; call < last; ++call) {
    const size_t row = call % kExportExerciseCount;
    const auto round = static_cast<uint32_t>(call / kExportExerciseCount);
    const char* wrong = exports.Exercise(row, round, baseline);
    if (wrong != nullptr && failures->size() < kFailuresKept) {
      failures->push_back(std::string(kExportExercises[row].name) + ", " + wrong + ", round " +
                          std::to_string(round));
    }
  }
}

TEST(Concurrency, EightThreadsCallEveryExportAtOnce) {
  LoadedExports exports;
  std::string error;
  ASSERT_TRUE(exports.Load(&error)) << error;
  const Baseline baseline = exports.ReadBaseline();

  std::atomic<uint32_t> started{0};
  std::vector<std::vector<std::string>> failures(kThreads);  // the first few of each
  std::vector<std::thread> threads;
  const auto begin = std::chrono::steady_clock::now();
  for (uint32_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // All threads begin together, so that their calls overlap.
      started.fetch_add(1);
      while (started.load() < kThreads) std::this_thread::yield();
      RunCalls(exports, baseline, kTotalCalls / kThreads * t, kTotalCalls / kThreads * (t + 1),
               &failures[t]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  const auto elapsed = std::chrono::steady_clock::now() - begin;

  for (const auto& thread : failures) {
    for (const std::string& failure : thread) ADD_FAILURE() << "wrong result: " << failure;
  }
  printf("%u calls on %u threads in %lld ms\n", kTotalCalls, kThreads,
         static_cast<long long>(
             std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
}

}  // namespace
}  // namespace tms::stress
