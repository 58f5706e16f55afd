// Undo benchmarks: what keeping undo steps adds to the actions that make
// them, at three picture sizes.
//
// A visit (FillVisit/<size>/History10|NoHistory): the picture is opened as
// the program opens one (the layers loaded, the history cleared; not timed),
// then twelve fills each change an eighth of it, timed together. With
// MaxHistory 10 the last two fills also drop the oldest step. The first fills
// after opening are part of every iteration, so a cost that only the first
// steps of a visit pay shows here. Target: at most twice the time of the
// same visit with MaxHistory 0.
//
// A stroke (StrokeHistory/<size>): press, twenty 12-px brush segments and
// release at the same place of each picture, MaxHistory 10 and the history
// full. The work is the same on every size, so the time must be too; the
// target compares the largest and the smallest picture.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "bench/BenchSuitesU.h"
#include "bench/BenchSummaryU.h"
#include "bench/LineArtU.h"
#include "painter/PainterU.h"

namespace tw::bench {
namespace {

constexpr int Sizes[][2] = {{1200, 1200}, {2400, 1800}, {4800, 3600}};
constexpr int FillsPerVisit = 12;
constexpr TColor Paints[2] = {0x3080F0, 0x60A0C0};

std::string SizeName(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

TEighths* Picture(int width, int height) {
  static std::map<int, std::unique_ptr<TEighths>> pictures;
  auto& p = pictures[width];
  if (!p) p = std::make_unique<TEighths>(MakeEighths(width, height));
  return p.get();
}

void FillVisit(benchmark::State& state, int width, int height, int maxHistory) {
  const TEighths* e = Picture(width, height);
  TPainterModel m;
  m.MaxHistory = maxHistory;
  m.SetPaintMode(pmFill);
  for (auto _ : state) {
    state.PauseTiming();
    m.LoadPicture(e->Picture);
    m.ClearHistory();
    state.ResumeTiming();
    // Eight cells, then the first four again in the other colour.
    for (int fill = 0; fill < FillsPerVisit; ++fill) {
      m.SetPaintColor(Paints[fill / 8]);
      m.ApplyToolAt(e->Seeds[fill % 8]);
    }
  }
  state.SetItemsProcessed(state.iterations() * FillsPerVisit);
}

void StrokeHistory(benchmark::State& state, int width, int height) {
  const TEighths* e = Picture(width, height);
  TPainterModel m;
  m.LoadPicture(e->Picture);
  m.MaxHistory = 10;
  m.SetPaintMode(pmBrush);
  m.SetBrushSize(12);
  int stroke = 0;
  auto draw = [&] {
    m.SetPaintColor(Paints[stroke++ & 1]);
    m.ApplyToolAt({100, 100});
    for (int i = 1; i <= 20; ++i) m.StrokeTo({100 + 4 * i, 100 + (i & 3)});
    m.EndStroke();
  };
  for (int i = 0; i < m.MaxHistory; ++i) draw();
  for (auto _ : state) draw();
}

}  // namespace

void RegisterHistoryBenchmarks() {
  for (const auto& size : Sizes) {
    const int w = size[0], h = size[1];
    const std::string name = SizeName(w, h);
    const std::string with = "FillVisit/" + name + "/History10";
    const std::string without = "FillVisit/" + name + "/NoHistory";
    benchmark::RegisterBenchmark(with.c_str(), [=](benchmark::State& st) {
      FillVisit(st, w, h, 10);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(without.c_str(), [=](benchmark::State& st) {
      FillVisit(st, w, h, 0);
    })->Unit(benchmark::kMicrosecond);
    AddComparison({"Twelve fills of an eighth after opening " + name + ", MaxHistory 10 vs 0",
                   with, without, TTarget::TimeRatioAtMost, 2});
  }
  for (const auto& size : Sizes) {
    const int w = size[0], h = size[1];
    benchmark::RegisterBenchmark(("StrokeHistory/" + SizeName(w, h)).c_str(),
                                 [=](benchmark::State& st) { StrokeHistory(st, w, h); })
        ->Unit(benchmark::kMicrosecond);
  }
  const std::string small = "StrokeHistory/" + SizeName(Sizes[0][0], Sizes[0][1]);
  for (int i = 1; i < 3; ++i) {
    const std::string name = SizeName(Sizes[i][0], Sizes[i][1]);
    AddComparison({"A 20-segment stroke with undo, " + name + " vs " +
                       SizeName(Sizes[0][0], Sizes[0][1]),
                   "StrokeHistory/" + name, small, TTarget::TimeRatioAtMost, 1.5});
  }
}

}  // namespace tw::bench
