#include "bench/BenchSummaryU.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tw::bench {
namespace {

struct TResult {
  double Seconds = 0;         // CPU time per iteration
  double ItemsPerSecond = 0;  // 0 when the benchmark reports no items
  std::string Error;
};

std::vector<TComparison>& Comparisons() {
  static std::vector<TComparison> list;
  return list;
}

// Shows the usual console output and keeps each benchmark's result: the
// median when there are repetitions (aggregates are reported after the
// single runs, so the median overwrites them), else the single run.
class TCollectingReporter : public benchmark::ConsoleReporter {
 public:
  // Colour only on a terminal, as Google Benchmark's own reporter does.
  TCollectingReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Color : OO_None) {}

  std::map<std::string, TResult> Results;

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string name = run.run_name.str();
      TResult result;
      if (run.error_occurred) {
        result.Error = run.error_message;
        Results[name] = result;
        continue;
      }
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      result.Seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const auto items = run.counters.find("items_per_second");
      if (items != run.counters.end()) result.ItemsPerSecond = items->second.value;
      Results[name] = result;
    }
  }
};

std::string FormatTime(double seconds) {
  char text[32];
  if (seconds < 1e-6)
    std::snprintf(text, sizeof text, "%.3g ns", seconds * 1e9);
  else if (seconds < 1e-3)
    std::snprintf(text, sizeof text, "%.3g us", seconds * 1e6);
  else if (seconds < 1)
    std::snprintf(text, sizeof text, "%.3g ms", seconds * 1e3);
  else
    std::snprintf(text, sizeof text, "%.3g s", seconds);
  return text;
}

std::string Format(const char* format, double value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The compared quantity: seconds per iteration, or per item.
bool Measure(const TResult& r, bool perItem, double& value) {
  if (!r.Error.empty()) return false;
  if (!perItem) {
    value = r.Seconds;
    return value > 0;
  }
  if (r.ItemsPerSecond <= 0) return false;
  value = 1 / r.ItemsPerSecond;
  return true;
}

std::string TargetText(const TComparison& c) {
  switch (c.Kind) {
    case TTarget::Info:
      return "-";
    case TTarget::FasterBy:
      return Format(">= %gx faster", c.Value);
    case TTarget::TimeRatioAtMost:
      return Format("<= %gx time", c.Value);
    case TTarget::TimeAtMost:
      return Format("<= %g us", c.Value);
    case TTarget::RateAtLeast:
      return Format(">= %g Mpx/s", c.Value);
  }
  return "-";
}

void PrintRow(const std::string& title, const std::string& ours, const std::string& reference,
              const std::string& ratio, const std::string& target, const std::string& result) {
  std::printf("%-62s %-22s %-12s %-14s %-16s %s\n", title.c_str(), ours.c_str(), reference.c_str(),
              ratio.c_str(), target.c_str(), result.c_str());
}

void PrintComparison(const TComparison& c, const std::map<std::string, TResult>& results) {
  const auto ours = results.find(c.Ours);
  const auto reference = c.Reference.empty() ? results.end() : results.find(c.Reference);
  // Rows whose benchmark was filtered out are left out.
  if (ours == results.end()) return;
  if (!c.Reference.empty() && reference == results.end()) {
    PrintRow(c.Title, "-", "-", "-", TargetText(c), "NOT RUN");
    return;
  }
  double mine = 0, theirs = 0;
  const bool haveMine = Measure(ours->second, c.PerItem, mine);
  const bool haveTheirs =
      reference != results.end() && Measure(reference->second, c.PerItem, theirs);
  if (!haveMine || (reference != results.end() && !haveTheirs)) {
    const std::string& error = !ours->second.Error.empty()  ? ours->second.Error
                               : reference != results.end() ? reference->second.Error
                                                            : std::string();
    PrintRow(c.Title, "-", "-", "-", TargetText(c), "ERROR " + error);
    return;
  }
  const std::string suffix = c.PerItem ? "/item" : "";
  std::string oursText = FormatTime(mine) + suffix;
  if (c.Kind == TTarget::RateAtLeast)
    oursText += Format(" = %.0f Mpx/s", ours->second.ItemsPerSecond / 1e6);
  const std::string referenceText = haveTheirs ? FormatTime(theirs) + suffix : "-";
  std::string ratioText = "-";
  if (haveTheirs) {
    if (c.Kind == TTarget::Info || c.Kind == TTarget::TimeRatioAtMost)
      ratioText = Format("%.2fx time", mine / theirs);
    else if (theirs >= mine)
      ratioText = Format("%.2fx faster", theirs / mine);
    else
      ratioText = Format("%.2fx slower", mine / theirs);
  }
  bool met = true;
  switch (c.Kind) {
    case TTarget::Info:
      break;
    case TTarget::FasterBy:
      met = theirs / mine >= c.Value;
      break;
    case TTarget::TimeRatioAtMost:
      met = mine / theirs <= c.Value;
      break;
    case TTarget::TimeAtMost:
      met = mine * 1e6 <= c.Value;
      break;
    case TTarget::RateAtLeast:
      met = ours->second.ItemsPerSecond / 1e6 >= c.Value;
      break;
  }
  PrintRow(c.Title, oursText, referenceText, ratioText, TargetText(c),
           c.Kind == TTarget::Info ? "-"
           : met                   ? "MET"
                                   : "NOT MET");
}

}  // namespace

void AddComparison(TComparison comparison) { Comparisons().push_back(std::move(comparison)); }

int RunBenchmarksWithSummary(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TCollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nSummary (CPU time per iteration; the median when repeated)\n");
  PrintRow("Comparison", "Ours", "Reference", "Ratio", "Target", "Result");
  for (const TComparison& c : Comparisons()) PrintComparison(c, reporter.Results);
  std::fflush(stdout);
  benchmark::Shutdown();
  return 0;
}

}  // namespace tw::bench
