// Stroke benchmarks: brush stroke segments of the paint model against
// QPainter drawing the same segments on a QImage of the picture's size, pen
// widths 12 and 60, replace and AND. The stroke runs round a closed loop
// across the picture in steps of a few pixels, as a mouse drag delivers them,
// so it can go on for any number of iterations; one iteration is one segment.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "bench/BenchSuitesU.h"
#include "bench/BenchSummaryU.h"
#include "bench/LineArtU.h"
#include "base/ErrorsU.h"
#include "painter/PainterU.h"
#include "painter/StrokeU.h"

namespace tw::bench {
namespace {

constexpr int Width = 2400, Height = 1800;
constexpr int PenWidths[] = {12, 60};
constexpr TColor Paint = 0x3080F0;

// A wobbly ellipse round the picture's centre, points about 4 pixels apart;
// the last point is a step away from the first, so the loop repeats.
std::vector<TPoint> StrokePath() {
  const double cx = Width / 2.0, cy = Height / 2.0, rx = Width * 0.38, ry = Height * 0.38;
  const double perimeter = 2 * std::numbers::pi * std::sqrt((rx * rx + ry * ry) / 2);
  const int n = int(perimeter / 4);
  std::vector<TPoint> path;
  for (int i = 0; i < n; ++i) {
    const double t = 2 * std::numbers::pi * i / n;
    const double wobble = 1 + 0.05 * std::sin(7 * t);
    const TPoint p{Nearest(cx + rx * wobble * std::cos(t)),
                   Nearest(cy + ry * wobble * std::sin(t))};
    if (path.empty() || !(path.back() == p)) path.push_back(p);
  }
  return path;
}

struct TStrokeScene {
  TPainterModel Model;
  QImage Image;
  std::vector<TPoint> Path;
};

QImage ToQImage(const TRaster24& picture) {
  QImage image(picture.Width(), picture.Height(), QImage::Format_RGB888);
  for (int y = 0; y < picture.Height(); ++y)
    std::memcpy(image.scanLine(y), picture.Row(y), size_t(picture.Width()) * 3);
  return image;
}

void SetUpPainter(QPainter& painter, int penWidth, bool andMode) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(QBrush(QColor(GetRValue(Paint), GetGValue(Paint), GetBValue(Paint))),
                      penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setCompositionMode(andMode ? QPainter::RasterOp_SourceAndDestination
                                     : QPainter::CompositionMode_Source);
}

// QPainter has to cover about as many pixels per segment as the engine does,
// or the comparison would weigh different work: one segment on white, pixel
// counts within 15 %.
void CheckSameCoverage(const TStrokeScene& s) {
  const TPoint a = s.Path[0], b = s.Path[s.Path.size() / 8];
  for (int penWidth : PenWidths) {
    QImage image(Width, Height, QImage::Format_RGB888);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      SetUpPainter(painter, penWidth, false);
      painter.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
    }
    int64_t theirs = 0;
    for (int y = 0; y < Height; ++y) {
      const uchar* row = image.constScanLine(y);
      for (int x = 0; x < Width; ++x)
        if (row[3 * x] != 0xFF || row[3 * x + 1] != 0xFF || row[3 * x + 2] != 0xFF) ++theirs;
    }
    std::vector<uint8_t> covered(size_t(Width) * Height, 0);
    const TSpanSink sink = [&](int y, int x0, int x1) {
      std::memset(&covered[size_t(y) * Width + x0], 1, size_t(x1 - x0));
    };
    const TRect all{0, 0, Width, Height};
    CoverLine(a, b, penWidth, all, sink);
    CoverDab(b, penWidth, all, sink);
    CoverDab(a, penWidth, all, sink);
    int64_t ours = 0;
    for (uint8_t c : covered) ours += c;
    if (theirs < ours * 85 / 100 || theirs > ours * 115 / 100)
      throw EError("QPainter covers " + std::to_string(theirs) + " pixels of a width " +
                   std::to_string(penWidth) + " segment, the engine " + std::to_string(ours));
  }
}

std::unique_ptr<TStrokeScene> BuildStrokeScene() {
  auto s = std::make_unique<TStrokeScene>();
  const TLineArt art = MakeLineArt(Width, Height);
  s->Model.MaxHistory = 0;
  s->Model.LoadPicture(art.Picture);
  s->Image = ToQImage(art.Picture);
  s->Path = StrokePath();
  CheckSameCoverage(*s);
  return s;
}

TStrokeScene* StrokeScene(benchmark::State& state) {
  static std::unique_ptr<TStrokeScene> scene;
  static std::string error;
  if (!scene && error.empty()) {
    try {
      scene = BuildStrokeScene();
    } catch (const std::exception& e) {
      error = std::string("stroke scene: ") + e.what();
    }
  }
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return nullptr;
  }
  return scene.get();
}

void StrokeOurs(benchmark::State& state, int penWidth, bool andMode) {
  TStrokeScene* s = StrokeScene(state);
  if (!s) return;
  TPainterModel& m = s->Model;
  m.SetPaintMode(pmBrush);
  m.SetBrushSize(penWidth);
  m.SetMixMode(andMode ? mmDarken : mmOver);
  m.SetPaintColor(Paint);
  const std::vector<TPoint>& path = s->Path;
  m.BeginStroke(path[0]);
  size_t k = 0;
  for (auto _ : state) {
    if (++k == path.size()) k = 0;
    m.StrokeTo(path[k]);
  }
  m.EndStroke();
  state.SetItemsProcessed(state.iterations());
}

void StrokeQPainter(benchmark::State& state, int penWidth, bool andMode) {
  TStrokeScene* s = StrokeScene(state);
  if (!s) return;
  QPainter painter(&s->Image);
  SetUpPainter(painter, penWidth, andMode);
  const std::vector<TPoint>& path = s->Path;
  size_t k = 0;
  for (auto _ : state) {
    const TPoint from = path[k];
    if (++k == path.size()) k = 0;
    const TPoint to = path[k];
    painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
  }
  painter.end();
  state.SetItemsProcessed(state.iterations());
}

std::string StrokeName(int penWidth, bool andMode, const char* side) {
  return "Stroke/" + std::to_string(Width) + "x" + std::to_string(Height) + "/W" +
         std::to_string(penWidth) + "/" + (andMode ? "And" : "Replace") + "/" + side;
}

}  // namespace

void RegisterStrokeBenchmarks() {
  for (int penWidth : PenWidths)
    for (bool andMode : {false, true}) {
      const std::string ours = StrokeName(penWidth, andMode, "Ours");
      const std::string theirs = StrokeName(penWidth, andMode, "QPainter");
      benchmark::RegisterBenchmark(ours.c_str(), [=](benchmark::State& st) {
        StrokeOurs(st, penWidth, andMode);
      })->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(theirs.c_str(), [=](benchmark::State& st) {
        StrokeQPainter(st, penWidth, andMode);
      })->Unit(benchmark::kMicrosecond);
      AddComparison({"Stroke segment width " + std::to_string(penWidth) + " " +
                         (andMode ? "And" : "Replace") + " vs QPainter",
                     ours, theirs, TTarget::FasterBy, 2});
    }
}

}  // namespace tw::bench
