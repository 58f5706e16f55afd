// In-process measurements of the real program: the program starts as it
// always does (settings, catalog, main window, deferred start), and once its
// first picture is shown this driver, running inside its event loop, times
// what a child does with the window and prints the figures:
//   - opening a picture of about 1200 pixels (decode, layers, stored
//     colouring, first paint), from the neighbouring picture;
//   - a brush stroke at zoom 1 on the window grown to the whole screen: the
//     time per segment and the paint regions each segment asked for;
//   - resident memory after the start and after ten strokes;
//   - a fill of the picture's largest region from the Space key (the
//     keyboard's left button) to the painted result;
//   - what keeping the colouring on disk in the background adds to an action
//     on the UI thread: a fill and a brush stroke with and without it.
// Every time ends when the painter's paint event has run and its window's
// update was handed to the window system.
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/ApplicationU.h"
#include "app/ColoringAutosaveU.h"
#include "app/PaintF.h"
#include "bench/app/AppBenchProbeU.h"
#include "controls/QImgButtonU.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/QFoldersU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {
namespace {

constexpr int OpenRuns = 10;
constexpr int Strokes = 10;
constexpr int SegmentsPerStroke = 20;
constexpr int SegmentStep = 12;
constexpr int AutosaveBlocks = 6;
constexpr int AutosaveRunsPerBlock = 5;

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Memory(const char* when) {
  const TMemory m = ReadMemory();
  std::printf("memory %-34s VmRSS %7.1f MiB  VmHWM %7.1f MiB\n", when, m.RssKiB / 1024.0,
              m.HwmKiB / 1024.0);
}

int LongSide(const TPainter& p) { return std::max(p.UnscaledWidth(), p.UnscaledHeight()); }

void SendMouse(QWidget& w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), QPointF(w.mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(&w, &event);
}

void ChooseTool(TFMain& form, TPaintMode mode) {
  TQImgButton* button = form.ToolButton(mode);
  if (button == nullptr) return;
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
  Settle();
}

// Picks the catalog entry whose long side is nearest 1200 pixels, opening
// every picture once (which also warms the file cache).
int FindPicture(TFMain& form) {
  int best = form.CurrentPicture();
  int bestDistance = 1 << 30;
  const int count = int(form.Catalog().size());
  for (int i = 0; i < count; ++i) {
    TFMain::Guarded([&] { form.OpenPicture(i); });
    Settle();
    if (!form.Painter().HasPicture()) continue;
    const int distance = std::abs(LongSide(form.Painter()) - 1200);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

// A checksum of the colour layer, to tell whether an opening brought back
// the stored colouring.
uint64_t LayerSum(const TPainter& p) {
  const TRaster24& layer = p.ColorLayer();
  uint64_t sum = 0;
  for (int y = 0; y < layer.Height(); ++y) {
    const uint8_t* row = layer.Row(y);
    for (int x = 0; x < layer.Width() * 3; ++x) sum = sum * 31 + row[x];
  }
  return sum;
}

void MeasureOpening(TFMain& form, TPaintProbe& probe, int picture, uint64_t colouredSum) {
  const int count = int(form.Catalog().size());
  const int other = (picture + count - 1) % count;
  std::vector<double> loads, total;
  for (int run = 0; run < OpenRuns; ++run) {
    form.OpenPicture(other);
    Settle();
    const int before = probe.Paints();
    const double t0 = NowMs();
    form.OpenPicture(picture);
    const double t1 = NowMs();
    if (!probe.WaitForPaint(before)) {
      std::printf("open: no paint within the time limit\n");
      return;
    }
    const double t2 = NowMs();
    loads.push_back(t1 - t0);
    total.push_back(t2 - t0);
  }
  const TPainter& p = form.Painter();
  std::printf("open  picture %d (%dx%d, shown at scale %.3f), %d runs, from picture %d, "
              "stored colouring brought back: %s\n",
              picture, p.UnscaledWidth(), p.UnscaledHeight(), p.Scale(), OpenRuns, other,
              LayerSum(p) == colouredSum ? "yes" : "no");
  std::printf("open  OpenPicture (store, decode, layers, colouring)  median %6.1f ms\n",
              Median(loads));
  std::printf("open  ... to the first paint done                     median %6.1f ms"
              "  (min %.1f, max %.1f)   target 50 ms\n",
              Median(total), *std::min_element(total.begin(), total.end()),
              *std::max_element(total.begin(), total.end()));
}

// One brush stroke across the middle of the visible picture; returns the
// per-segment times and adds each segment's paint area to `areas`.
void Stroke(TFMain& form, TPaintProbe& probe, int index, std::vector<double>& times,
            std::vector<double>& areas, std::vector<double>& rects) {
  TPainter& p = form.Painter();
  const QRect visible = p.visibleRegion().boundingRect();
  const int span = SegmentsPerStroke * SegmentStep;
  const int x0 = visible.center().x() - span / 2;
  const int y0 = visible.top() + visible.height() / 4 + index * 15;
  QPoint at(x0, y0);
  SendMouse(p, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  Settle();
  for (int s = 0; s < SegmentsPerStroke; ++s) {
    at += QPoint(SegmentStep, (s % 2 ? 3 : -3));
    probe.Reset();
    const double t0 = NowMs();
    SendMouse(p, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    if (!probe.WaitForPaint(0)) continue;
    times.push_back(NowMs() - t0);
    areas.push_back(double(RegionArea(probe.Painted())));
    rects.push_back(double(probe.Painted().rectCount()));
  }
  SendMouse(p, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  Settle();
}

void MeasureStrokes(TFMain& form, TPaintProbe& probe) {
  ChooseTool(form, pmBrush);
  TPainter& p = form.Painter();
  const QRect visible = p.visibleRegion().boundingRect();
  std::vector<double> times, areas, rects;
  for (int i = 0; i < Strokes; ++i) Stroke(form, probe, i, times, areas, rects);
  std::printf("stroke window %dx%d, painter %dx%d (visible %dx%d), scale %.3f, zoom %.1f, "
              "brush %d px, mode %d\n",
              form.width(), form.height(), p.width(), p.height(), visible.width(),
              visible.height(), p.Scale(), form.Zoom(), p.BrushSize(), int(p.PaintMode()));
  std::printf("stroke %zu segments of about %d px: time per segment median %.2f ms, max %.2f ms\n",
              times.size(), SegmentStep, Median(times),
              times.empty() ? 0.0 : *std::max_element(times.begin(), times.end()));
  const double whole = double(visible.width()) * visible.height();
  std::printf("stroke paint region per segment: median %.0f px (%.2f%% of the visible painter), "
              "max %.0f px, median %.0f rectangles\n",
              Median(areas), whole > 0 ? 100.0 * Median(areas) / whole : 0.0,
              areas.empty() ? 0.0 : *std::max_element(areas.begin(), areas.end()), Median(rects));
  std::printf("stroke undo steps held: %d\n", p.HistorySteps());
}

// The largest 4-connected region of paintable (white in the outline layer)
// pixels, by breadth-first search; returns one of its points and its size.
std::pair<TPoint, long> LargestRegion(const TPainter& p) {
  const TRaster1& outline = p.OutlineLayer();
  const int w = outline.Width(), h = outline.Height();
  std::vector<uint8_t> seen(size_t(w) * size_t(h), 0);
  TPoint best{};
  long bestSize = 0;
  std::deque<TPoint> queue;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (seen[size_t(y) * w + x] || !outline.IsWhite(x, y)) continue;
      long size = 0;
      seen[size_t(y) * w + x] = 1;
      queue.push_back({x, y});
      while (!queue.empty()) {
        const TPoint q = queue.front();
        queue.pop_front();
        ++size;
        const TPoint next[4] = {{q.x + 1, q.y}, {q.x - 1, q.y}, {q.x, q.y + 1}, {q.x, q.y - 1}};
        for (const TPoint& n : next) {
          if (n.x < 0 || n.y < 0 || n.x >= w || n.y >= h) continue;
          uint8_t& s = seen[size_t(n.y) * w + n.x];
          if (s || !outline.IsWhite(n.x, n.y)) continue;
          s = 1;
          queue.push_back(n);
        }
      }
      if (size > bestSize) {
        bestSize = size;
        best = {x, y};
      }
    }
  return {best, bestSize};
}

// A control position inside the region of seed. The seed is the region's
// first pixel in reading order; a pixel a little inside keeps the scaled
// position off the outline.
QPoint InsideRegion(const TPainter& p, TPoint seed) {
  const QPoint control(int(seed.x * p.Scale() + 0.5), int(seed.y * p.Scale() + 0.5));
  QPoint inside = control;
  for (int d = 1; d < 12; ++d) {
    const TPoint t = p.ControlToPicture(control + QPoint(d, d));
    if (t.x < p.UnscaledWidth() && t.y < p.UnscaledHeight() &&
        p.OutlineLayer().IsWhite(t.x, t.y)) {
      inside = control + QPoint(d, d);
    }
  }
  return inside;
}

void MeasureFill(TFMain& form, TPaintProbe& probe, int picture) {
  form.OpenPicture(picture);
  form.DropColoring();
  form.OpenPicture(picture);
  Settle();
  ChooseTool(form, pmFill);
  TPainter& p = form.Painter();
  const auto [seed, size] = LargestRegion(p);
  const QPoint inside = InsideRegion(p, seed);
  const TPoint target = p.ControlToPicture(inside);
  const TColor before = p.ColorLayer().Pixel(target.x, target.y);
  QCursor::setPos(p.mapToGlobal(inside));
  Settle();
  probe.Reset();
  const double t0 = NowMs();
  QTest::keyPress(&form, Qt::Key_Space);
  const bool painted = probe.WaitForPaint(0, 5000);
  const double t1 = NowMs();
  QTest::keyRelease(&form, Qt::Key_Space);
  Settle();
  const TColor after = p.ColorLayer().Pixel(target.x, target.y);
  std::printf("fill  largest region of picture %d: %ld px (%.1f%% of %dx%d), at (%d,%d)\n",
              picture, size, 100.0 * double(size) / (double(p.UnscaledWidth()) * p.UnscaledHeight()),
              p.UnscaledWidth(), p.UnscaledHeight(), target.x, target.y);
  std::printf("fill  Space key press to painted result: %.1f ms, painted %lld px, pixel %06X -> "
              "%06X%s\n",
              t1 - t0, RegionArea(probe.Painted()), unsigned(before), unsigned(after),
              painted && before != after ? "" : "  (FAILED: no change seen)");
}

// One action on the UI thread, timed from its first event to the end of the
// paint it caused, then the autosave's two ticks on a clock moved far on:
// the one that copies the changed area and hands it to the writer, and,
// after the writer has finished, the one that takes its result. The write
// itself runs on the writer's thread and is not counted. Each part is
// timed on the wall clock and as the UI thread's own processor time, which
// other processes on a busy machine do not stretch.
struct TActionTimes {
  double ActionMs = 0, ActionCpuMs = 0, TicksMs = 0, TicksCpuMs = 0;
};

TActionTimes TimedAction(TFMain& form, TPaintProbe& probe, TAutosaveTime& clock,
                         const std::function<void()>& action) {
  Settle();
  TActionTimes times;
  const int before = probe.Paints();
  const double t0 = NowMs(), c0 = ThreadCpuMs();
  action();
  probe.WaitForPaint(before);
  times.ActionMs = NowMs() - t0;
  times.ActionCpuMs = ThreadCpuMs() - c0;
  clock += std::chrono::minutes(1);
  double t = NowMs(), c = ThreadCpuMs();
  form.AutosaveTick();
  times.TicksMs = NowMs() - t;
  times.TicksCpuMs = ThreadCpuMs() - c;
  form.Autosave().WaitForWrite();
  t = NowMs();
  c = ThreadCpuMs();
  form.AutosaveTick();
  times.TicksMs += NowMs() - t;
  times.TicksCpuMs += ThreadCpuMs() - c;
  return times;
}

void MeasureAutosave(TFMain& form, TPaintProbe& probe, int picture) {
  TAutosaveTime clock = TAutosaveClock::now();
  form.SetAutosaveClock([&clock] { return clock; });
  form.OpenPicture(picture);
  form.DropColoring();
  form.OpenPicture(picture);
  TPainter& p = form.Painter();
  const QPoint inside = InsideRegion(p, LargestRegion(p).first);
  const QRect visible = p.visibleRegion().boundingRect();
  const TColor paints[2] = {0x3050E0, 0x40C020};
  auto fill = [&p, inside] {
    SendMouse(p, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
    SendMouse(p, QEvent::MouseButtonRelease, inside, Qt::LeftButton, Qt::NoButton);
  };
  int strokes = 0;
  auto stroke = [&p, visible, &strokes] {
    QPoint at(visible.center().x() - SegmentsPerStroke * SegmentStep / 2,
              visible.top() + visible.height() / 4 + (strokes++ % 10) * 15);
    SendMouse(p, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    for (int s = 0; s < SegmentsPerStroke; ++s) {
      at += QPoint(SegmentStep, s % 2 ? 3 : -3);
      SendMouse(p, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    }
    SendMouse(p, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  };
  const std::string colourFile = NativePath(
      ColoringFileNames(form.Catalog()[size_t(picture)], QCSetting().ReadPathSave()).ColorFile);
  std::printf("autosave picture %d (%dx%d), %d runs of each action without and with the "
              "background write (StayColored 1 and 2)\n",
              picture, p.UnscaledWidth(), p.UnscaledHeight(), AutosaveBlocks * AutosaveRunsPerBlock);
  for (int kind = 0; kind < 2; ++kind) {
    ChooseTool(form, kind == 0 ? pmFill : pmBrush);
    std::vector<double> alone, with, ticks, aloneWall, withWall;
    auto act = [&](int run) {
      // Two paints in turn, so every fill changes the region.
      p.SetPaintColor(paints[run % 2]);
      return kind == 0 ? TimedAction(form, probe, clock, fill)
                       : TimedAction(form, probe, clock, stroke);
    };
    // Untimed first: the undo history fills up and then reuses its blocks.
    for (int run = 0; run < p.MaxHistory + 2; ++run) act(run);
    // Blocks without and with the write in turn, so both see the machine in
    // the same state; the first action of a block, which follows the other
    // kind, is not counted.
    for (int block = 0; block < AutosaveBlocks; ++block)
      for (const int stay : {int(scWhileRunning), int(scAcrossRuns)}) {
        QCSetting().Store().WriteInteger("StayColored", stay, SectionMain);
        act(0);
        for (int run = 1; run <= AutosaveRunsPerBlock; ++run) {
          const TActionTimes t = act(run);
          if (stay == scAcrossRuns) {
            with.push_back(t.ActionCpuMs + t.TicksCpuMs);
            ticks.push_back(t.TicksCpuMs);
            withWall.push_back(t.ActionMs + t.TicksMs);
          } else {
            alone.push_back(t.ActionCpuMs);
            aloneWall.push_back(t.ActionMs);
          }
        }
      }
    std::printf("autosave %s: UI thread alone median %.2f ms, with the write %.2f ms "
                "(its ticks %.2f ms, max %.2f ms): ratio %.2f, added %.2f ms   target 2 ms\n",
                kind == 0 ? "fill of the largest region" : "brush stroke of 20 segments",
                Median(alone), Median(with), Median(ticks),
                *std::max_element(ticks.begin(), ticks.end()),
                Median(alone) > 0 ? Median(with) / Median(alone) : 0.0,
                Median(with) - Median(alone));
    std::printf("autosave %s: wall clock alone median %.2f ms, with the write %.2f ms\n",
                kind == 0 ? "fill of the largest region" : "brush stroke of 20 segments",
                Median(aloneWall), Median(withWall));
  }
  QCSetting().Store().WriteInteger("StayColored", scAcrossRuns, SectionMain);
  std::printf("autosave stored colouring written: %s\n",
              std::filesystem::exists(colourFile) ? "yes" : "NO (FAILED)");
  form.SetAutosaveClock(nullptr);
}

void RunMeasurements(TFMain& form) {
  TPaintProbe probe(form.Painter());
  // Without a window manager nothing maximises the window: it is given the
  // whole screen, as maximising would.
  if (QScreen* screen = form.screen()) form.setGeometry(screen->availableGeometry());
  Settle();
  Memory("after start (first picture shown)");
  std::printf("start picture %d: %dx%d\n", form.CurrentPicture(), form.Painter().UnscaledWidth(),
              form.Painter().UnscaledHeight());
  const int picture = FindPicture(form);
  form.OpenPicture(picture);
  Settle();
  // A stored colouring for the picture, so opening it loads one.
  ChooseTool(form, pmBrush);
  std::vector<double> t, a, r;
  Stroke(form, probe, 0, t, a, r);
  MeasureOpening(form, probe, picture, LayerSum(form.Painter()));
  form.OpenPicture(picture);
  form.Painter().ClearHistory();
  Settle();
  Memory("with the picture open, no history");
  MeasureStrokes(form, probe);
  Memory("after ten strokes (full history)");
  MeasureFill(form, probe, picture);
  MeasureAutosave(form, probe, picture);
  std::fflush(stdout);
}

}  // namespace
}  // namespace tw

int main(int argc, char** argv) {
  return tw::RunMeasuredWindow(argc, argv, tw::RunMeasurements);
}
