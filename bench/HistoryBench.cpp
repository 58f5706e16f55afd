// Undo benchmarks: one PushHistory in steady state (the history full, so the
// oldest step's buffers are reused) against a plain memcpy of the same bytes,
// the colour layer and the outline layer, into buffers allocated beforehand.
// Both sides alternate between two sets of destination buffers, as a history
// of two steps does.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSuitesU.h"
#include "bench/BenchSummaryU.h"
#include "bench/LineArtU.h"
#include "painter/PainterU.h"

namespace tw::bench {
namespace {

constexpr int HistorySteps = 2;

struct THistoryScene {
  TPainterModel Model;
  // Per step: the colour bytes and the outline bytes.
  std::vector<uint8_t> Copies[HistorySteps][2];
};

std::string SizeName(int width) {
  return std::to_string(width) + "x" + std::to_string(width * 3 / 4);
}

THistoryScene* HistoryScene(int width, benchmark::State& state) {
  static std::map<int, std::unique_ptr<THistoryScene>> scenes;
  if (!scenes.count(width)) {
    try {
      auto s = std::make_unique<THistoryScene>();
      s->Model.LoadPicture(MakeLineArt(width, width * 3 / 4).Picture);
      s->Model.MaxHistory = HistorySteps;
      // The vectors are zero-filled, so their pages exist before timing.
      for (auto& step : s->Copies) {
        step[0].assign(s->Model.ColorLayer().ByteSize(), 0);
        step[1].assign(s->Model.OutlineLayer().ByteSize(), 0);
      }
      scenes[width] = std::move(s);
    } catch (const std::exception& e) {
      state.SkipWithError(e.what());
      return nullptr;
    }
  }
  return scenes[width].get();
}

void PushOurs(benchmark::State& state, int width) {
  THistoryScene* s = HistoryScene(width, state);
  if (!s) return;
  TPainterModel& m = s->Model;
  m.ClearHistory();
  for (int i = 0; i < HistorySteps; ++i) m.PushHistory();
  for (auto _ : state) m.PushHistory();
  m.ClearHistory();
  const size_t bytes = m.ColorLayer().ByteSize() + m.OutlineLayer().ByteSize();
  state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}

void PushMemcpy(benchmark::State& state, int width) {
  THistoryScene* s = HistoryScene(width, state);
  if (!s) return;
  const TRaster24& colour = s->Model.ColorLayer();
  const TRaster1& outline = s->Model.OutlineLayer();
  int step = 0;
  for (auto _ : state) {
    step = (step + 1) % HistorySteps;
    std::memcpy(s->Copies[step][0].data(), colour.Data(), colour.ByteSize());
    std::memcpy(s->Copies[step][1].data(), outline.Data(), outline.ByteSize());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(colour.ByteSize() + outline.ByteSize()));
}

}  // namespace

void RegisterHistoryBenchmarks() {
  for (int width : {2400, 4800}) {
    const std::string ours = "UndoPush/" + SizeName(width) + "/Ours";
    const std::string theirs = "UndoPush/" + SizeName(width) + "/Memcpy";
    benchmark::RegisterBenchmark(ours.c_str(), [=](benchmark::State& st) {
      PushOurs(st, width);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(theirs.c_str(), [=](benchmark::State& st) {
      PushMemcpy(st, width);
    })->Unit(benchmark::kMicrosecond);
    AddComparison({"Undo push " + SizeName(width) + " vs memcpy of the same bytes", ours, theirs,
                   TTarget::TimeRatioAtMost, 1.5});
  }
}

}  // namespace tw::bench
