// Fill benchmarks: the paint model's fill against OpenCV's cv::floodFill on
// the same line art, for three regions (the large background, a small circle,
// the comb of 5-px corridors) in the three mix modes; and the in-place AND of
// the whole colour layer, the least work any fill of that many pixels can do.
//
// Both sides fill the same pixels: before the first benchmark of a size every
// pair is run once and the images compared byte for byte, and the filled area
// is checked against an independent count of the region.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "bench/BenchSuitesU.h"
#include "bench/BenchSummaryU.h"
#include "bench/LineArtU.h"
#include "base/ErrorsU.h"
#include "painter/PainterU.h"

namespace tw::bench {
namespace {

enum TRegion { rgBackground, rgSmall, rgComb };
constexpr const char* RegionNames[] = {"Background", "Small", "Comb"};

constexpr TPaintMixMode Modes[] = {mmOver, mmDarken, mmLighten};
constexpr const char* ModeNames[] = {"Replace", "And", "Or"};

// Two paint colours per mix mode, alternated so that every fill changes the
// region. Every colour has the top bit of red set (the OR colours add to a
// red that has it), so no combination is ever black: the regions keep their
// shape however often they are filled.
constexpr TColor Paints[3][2] = {{0x3080F0, 0x60A0C0}, {0x4090E0, 0x20C0B0}, {0x102030, 0x302010}};

// A picture loaded into a paint model and, as the same pixels, into an
// OpenCV image; shared by all fill benchmarks of one size.
struct TFillScene {
  TPainterModel Model;
  cv::Mat Image;
  // (height + 2) x (width + 2), for OpenCV's mask-only mode.
  cv::Mat Mask;
  TPoint Seeds[3];
  int Pixels[3] = {};
  // The colour each paint colour becomes in the colour layer.
  TColor Effective[3][2] = {};
};

int Height(int width) { return width * 3 / 4; }

std::string SizeName(int width) {
  return std::to_string(width) + "x" + std::to_string(Height(width));
}

TMixOp OpOf(int mode) { return mode == 0 ? TMixOp::Replace : mode == 1 ? TMixOp::And : TMixOp::Or; }

void OurFill(TFillScene& s, TRegion region, int mode, int colour) {
  s.Model.SetPaintColor(Paints[mode][colour]);
  s.Model.ApplyToolAt(s.Seeds[region]);
}

// The reference: for replace cv::floodFill itself; for AND and OR, which it
// cannot do, its mask-only mode (the mask cleared first) and then the colour
// combined under the mask. Returns the filled area.
int OpenCvFill(TFillScene& s, TRegion region, TMixOp op, TColor colour) {
  const cv::Scalar value(GetRValue(colour), GetGValue(colour), GetBValue(colour));
  const cv::Point seed(s.Seeds[region].x, s.Seeds[region].y);
  const cv::Scalar exact(0, 0, 0);
  if (op == TMixOp::Replace) return cv::floodFill(s.Image, seed, value, nullptr, exact, exact, 4);
  s.Mask.setTo(cv::Scalar(0));
  const int area = cv::floodFill(s.Image, s.Mask, seed, cv::Scalar(), nullptr, exact, exact,
                                 4 | cv::FLOODFILL_MASK_ONLY | (255 << 8));
  const cv::Mat inside = s.Mask(cv::Rect(1, 1, s.Image.cols, s.Image.rows));
  if (op == TMixOp::And)
    cv::bitwise_and(s.Image, value, s.Image, inside);
  else
    cv::bitwise_or(s.Image, value, s.Image, inside);
  return area;
}

bool SameImages(const TRaster24& ours, const cv::Mat& theirs) {
  for (int y = 0; y < ours.Height(); ++y)
    if (std::memcmp(ours.Row(y), theirs.ptr(y), size_t(ours.Width()) * 3) != 0) return false;
  return true;
}

// Runs every pair once, each side with the same colour, and throws when the
// two differ or miss the independently counted region.
void CheckSameFills(TFillScene& s) {
  if (s.Pixels[rgSmall] >= 1000)
    throw EError("the small region has " + std::to_string(s.Pixels[rgSmall]) + " pixels");
  for (int region = 0; region < 3; ++region)
    for (int mode = 0; mode < 3; ++mode) {
      s.Model.SetMixMode(Modes[mode]);
      OurFill(s, TRegion(region), mode, 0);
      const int area = OpenCvFill(s, TRegion(region), OpOf(mode), s.Effective[mode][0]);
      const std::string what = std::string(RegionNames[region]) + " " + ModeNames[mode];
      if (area != s.Pixels[region])
        throw EError("cv::floodFill filled " + std::to_string(area) + " pixels of " + what +
                     ", the region has " + std::to_string(s.Pixels[region]));
      if (!SameImages(s.Model.ColorLayer(), s.Image))
        throw EError("the two fills of " + what + " differ");
    }
}

std::unique_ptr<TFillScene> BuildFillScene(int width) {
  auto s = std::make_unique<TFillScene>();
  const TLineArt art = MakeLineArt(width, Height(width));
  const TRaster24& picture = art.Picture;
  s->Seeds[rgBackground] = art.BackgroundSeed;
  s->Seeds[rgSmall] = art.SmallSeed;
  s->Seeds[rgComb] = art.CombSeed;
  for (int region = 0; region < 3; ++region)
    s->Pixels[region] = CountRegion(picture, s->Seeds[region]);

  s->Model.MaxHistory = 0;
  s->Model.LoadPicture(picture);
  s->Model.SetPaintMode(pmFill);
  for (int mode = 0; mode < 3; ++mode) {
    s->Model.SetMixMode(Modes[mode]);
    for (int colour = 0; colour < 2; ++colour) {
      s->Model.SetPaintColor(Paints[mode][colour]);
      s->Effective[mode][colour] = s->Model.EffectivePaint();
    }
  }
  s->Image = cv::Mat(picture.Height(), picture.Width(), CV_8UC3);
  for (int y = 0; y < picture.Height(); ++y)
    std::memcpy(s->Image.ptr(y), picture.Row(y), size_t(picture.Width()) * 3);
  s->Mask = cv::Mat::zeros(picture.Height() + 2, picture.Width() + 2, CV_8UC1);
  CheckSameFills(*s);
  return s;
}

// The scene of a size, built on first use; null (and the benchmark skipped
// with the reason) when it cannot be built or the two fills disagree.
TFillScene* FillScene(int width, benchmark::State& state) {
  static std::map<int, std::unique_ptr<TFillScene>> scenes;
  static std::map<int, std::string> errors;
  if (!scenes.count(width) && !errors.count(width)) {
    try {
      scenes[width] = BuildFillScene(width);
    } catch (const std::exception& e) {
      errors[width] = std::string("fill scene: ") + e.what();
    }
  }
  if (errors.count(width)) {
    state.SkipWithError(errors[width].c_str());
    return nullptr;
  }
  return scenes[width].get();
}

void FillOurs(benchmark::State& state, int width, TRegion region, int mode) {
  TFillScene* s = FillScene(width, state);
  if (!s) return;
  s->Model.SetMixMode(Modes[mode]);
  int colour = 0;
  for (auto _ : state) OurFill(*s, region, mode, colour ^= 1);
  state.SetItemsProcessed(state.iterations() * s->Pixels[region]);
}

void FillOpenCv(benchmark::State& state, int width, TRegion region, int mode) {
  TFillScene* s = FillScene(width, state);
  if (!s) return;
  int colour = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(OpenCvFill(*s, region, OpOf(mode), s->Effective[mode][colour ^= 1]));
  state.SetItemsProcessed(state.iterations() * s->Pixels[region]);
}

// The whole colour layer ANDed in place: 3 bytes read and 3 written per
// pixel, by the engine's span kernel or by a plain per-pixel loop.
void LayerAnd(benchmark::State& state, int width, bool kernel) {
  TFillScene* s = FillScene(width, state);
  if (!s) return;
  TRaster24 layer;
  layer.CopyFrom(s->Model.ColorLayer());
  const int w = layer.Width(), h = layer.Height();
  int colour = 0;
  for (auto _ : state) {
    const TColor c = Paints[1][colour ^= 1];
    if (kernel) {
      const TSpanMixer mixer(c, TMixOp::And);
      for (int y = 0; y < h; ++y) mixer.Apply(layer.Row(y), 0, w);
    } else {
      const uint8_t r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      for (int y = 0; y < h; ++y) {
        uint8_t* p = layer.Row(y);
        for (int x = 0; x < w; ++x, p += 3) {
          p[0] &= r;
          p[1] &= g;
          p[2] &= b;
        }
      }
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(w) * h);
  state.SetBytesProcessed(state.iterations() * int64_t(w) * h * 6);
}

std::string FillName(int width, TRegion region, int mode, const char* side) {
  return "Fill/" + SizeName(width) + "/" + RegionNames[region] + "/" + ModeNames[mode] + "/" + side;
}

void RegisterFillPair(int width, TRegion region, int mode) {
  benchmark::RegisterBenchmark(FillName(width, region, mode, "Ours").c_str(),
                               [=](benchmark::State& st) { FillOurs(st, width, region, mode); })
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark(FillName(width, region, mode, "OpenCV").c_str(),
                               [=](benchmark::State& st) { FillOpenCv(st, width, region, mode); })
      ->Unit(benchmark::kMicrosecond);
}

void AddFillComparison(int width, TRegion region, int mode, TTarget kind, double value) {
  const char* reference = mode == 0 ? "cv::floodFill" : "floodFill mask + bitwise";
  const std::string title = "Fill " + SizeName(width) + " " + RegionNames[region] + " " +
                            ModeNames[mode] + " vs " + reference;
  AddComparison({title, FillName(width, region, mode, "Ours"),
                 FillName(width, region, mode, "OpenCV"), kind, value});
}

}  // namespace

void RegisterFillBenchmarks() {
  // The engine fills on one thread; so does the reference.
  cv::setNumThreads(1);
  for (int width : {2400, 4800}) {
    for (int mode = 0; mode < 3; ++mode) {
      RegisterFillPair(width, rgBackground, mode);
      AddFillComparison(width, rgBackground, mode, TTarget::FasterBy, mode == 0 ? 4 : 6);
    }
    for (int mode = 0; mode < 3; ++mode) {
      RegisterFillPair(width, rgComb, mode);
      AddFillComparison(width, rgComb, mode, TTarget::RateAtLeast, 300);
    }
    if (width == 4800)
      for (int mode = 0; mode < 3; ++mode) {
        RegisterFillPair(width, rgSmall, mode);
        AddFillComparison(width, rgSmall, mode, TTarget::TimeAtMost, 10);
      }

    const std::string size = SizeName(width);
    const std::string kernel = "LayerAnd/" + size + "/SpanMixer";
    const std::string loop = "LayerAnd/" + size + "/PlainLoop";
    benchmark::RegisterBenchmark(kernel.c_str(), [=](benchmark::State& st) {
      LayerAnd(st, width, true);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(loop.c_str(), [=](benchmark::State& st) {
      LayerAnd(st, width, false);
    })->Unit(benchmark::kMicrosecond);
    const std::string fill = FillName(width, rgBackground, 0, "Ours");
    AddComparison(
        {"Fill " + size + " Background Replace / whole-layer AND", fill, kernel, TTarget::Info, 0});
    AddComparison({"  the same per pixel", fill, kernel, TTarget::Info, 0, true});
    AddComparison(
        {"Whole-layer AND " + size + ": TSpanMixer vs plain loop", kernel, loop, TTarget::Info, 0});
  }
}

}  // namespace tw::bench
