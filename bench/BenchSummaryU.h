// The comparison table of a benchmark run. The benchmark sources register,
// beside their benchmarks, the pairs to compare (ours against a reference)
// and the target each pair has to meet; RunBenchmarksWithSummary runs Google
// Benchmark as usual, collects every result through its reporter and prints
// the table at the end: our time, the reference time, the ratio, the target
// and whether it is met.
//
// Times are CPU times per iteration; with --benchmark_repetitions the median
// of the repetitions is used. CPU time rather than wall time because the
// benchmarks are single-threaded and often run beside compilers on a shared
// machine: time the process spends descheduled is not the code's.
#pragma once

#include <string>

namespace tw::bench {

enum class TTarget {
  Info,             // no target, the ratio is printed for reading only
  FasterBy,         // reference time / our time >= Value
  TimeRatioAtMost,  // our time / reference time <= Value
  TimeAtMost,       // our time <= Value microseconds
  RateAtLeast,      // our items per second >= Value million
};

struct TComparison {
  std::string Title;
  // Benchmark names as Google Benchmark prints them; Reference may be empty.
  std::string Ours;
  std::string Reference;
  TTarget Kind = TTarget::Info;
  double Value = 0;
  // Compare the time per processed item instead of per iteration (for pairs
  // that process different amounts, such as one region and a whole layer).
  bool PerItem = false;
};

void AddComparison(TComparison comparison);

// Runs the registered benchmarks with the command-line flags of Google
// Benchmark and prints the table. Returns the process exit code.
int RunBenchmarksWithSummary(int argc, char** argv);

}  // namespace tw::bench
