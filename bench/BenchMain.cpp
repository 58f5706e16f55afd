// Entry point of the engine benchmark program: registers every suite, runs
// them with Google Benchmark's flags and prints the comparison table.
#include "bench/BenchSuitesU.h"
#include "bench/BenchSummaryU.h"

int main(int argc, char** argv) {
  tw::bench::RegisterFillBenchmarks();
  tw::bench::RegisterStrokeBenchmarks();
  tw::bench::RegisterHistoryBenchmarks();
  return tw::bench::RunBenchmarksWithSummary(argc, argv);
}
