// The benchmark suites of the engine benchmark program. Each registers its
// benchmarks with Google Benchmark and its comparisons with the summary;
// main calls them before the run.
#pragma once

namespace tw::bench {

// The fill against cv::floodFill, and the whole-layer AND it is bounded by.
void RegisterFillBenchmarks();
// Stroke segments against QPainter.
void RegisterStrokeBenchmarks();
// The undo push against a plain copy of the same bytes.
void RegisterHistoryBenchmarks();

}  // namespace tw::bench
