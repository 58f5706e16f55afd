// In-process measurements of the picture chooser in the real program:
//   tintwell_chooser_bench shipped        the catalog the program ships
//   tintwell_chooser_bench 500 FOLDER     500 copies of the shipped pictures
//                                         in FOLDER (made when missing),
//                                         listed as the catalog
// Each run opens the chooser from the Home key and times it to the first
// paint (placeholders) and to fully drawn (every tile in view shows its
// thumbnail, painted), then closes and opens it again; with 500 pictures
// it then scrolls from the top to the bottom by wheel notches and reports
// the time of each frame (the wheel event to its paint done). Run twice:
// the first run finds no kept thumbnails (cold), the second finds those
// the first one kept (warm). Prints the figures.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/ApplicationU.h"
#include "app/PaintF.h"
#include "app/PictureChooserU.h"
#include "app/ThumbnailKeyU.h"
#include "bench/app/AppBenchProbeU.h"
#include "painter/qt/PainterQtU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

constexpr int GeneratedCount = 500;
constexpr double FrameBudgetMs = 1000.0 / 60;

std::string Mode;
std::string GeneratedFolder;

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Writes the catalog of GeneratedCount copies of the shipped pictures
// (copied once) into the settings, so the window about to be made shows it.
void PrepareGenerated() {
  fs::create_directories(GeneratedFolder);
  std::vector<std::string> shipped;
  for (const auto& entry : fs::directory_iterator("catalog"))
    if (entry.path().extension() == ".twf") shipped.push_back(entry.path().string());
  std::sort(shipped.begin(), shipped.end());
  if (shipped.empty()) throw EError("no shipped pictures in catalog/");
  std::vector<std::string> entries;
  for (int i = 0; i < GeneratedCount; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "picture%03d.twf", i);
    const fs::path target = fs::path(GeneratedFolder) / name;
    if (!fs::exists(target)) fs::copy_file(shipped[size_t(i) % shipped.size()], target);
    entries.push_back(name);
  }
  QCSetting().Store().WriteString("PathCatalog", GeneratedFolder + "/", SectionMain);
  QCSetting().WriteCatalog(entries);
}

// How many of the catalog's pictures have a kept thumbnail.
int KeptThumbnails(const std::vector<std::string>& Entries) {
  std::error_code error;
  int n = 0;
  for (const std::string& entry : Entries) n += fs::exists(ThumbnailFileName(entry), error);
  return n;
}

// Tiles in view still showing a placeholder.
int WaitingInView(TPictureChooser& c) {
  int waiting = 0;
  const int last = c.Grid().LastVisible(c.ScrollOffset());
  for (int i = c.Grid().FirstVisible(c.ScrollOffset()); i <= last; ++i)
    waiting += c.Thumbnails().State(c.Entries()[size_t(i)]) == TThumbnailState::Waiting;
  return waiting;
}

struct TOpenTimes {
  double FirstPaintMs = 0, FullMs = 0;
  int InView = 0;
};

// From the Home key to the first paint and to every tile in view drawn
// with its thumbnail.
TOpenTimes TimeOpening(TFMain& form, TPaintProbe& probe) {
  TPictureChooser& c = form.Chooser();
  TOpenTimes times;
  probe.Reset();
  const double t0 = NowMs();
  QTest::keyClick(&form, Qt::Key_Home);
  probe.WaitForPaint(0);
  times.FirstPaintMs = NowMs() - t0;
  // Fully drawn: nothing in view is waiting, and the repaints the last
  // thumbnails asked for are done.
  while (WaitingInView(c) > 0 && NowMs() - t0 < 20000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  times.FullMs = NowMs() - t0;
  const int scroll = c.ScrollOffset();
  times.InView = c.Grid().LastVisible(scroll) - c.Grid().FirstVisible(scroll) + 1;
  return times;
}

void ScrollThrough(TFMain& form, TPaintProbe& probe) {
  TPictureChooser& c = form.Chooser();
  std::vector<double> frames;
  int placeholdersDrawn = 0;
  const QPointF at = QPointF(c.rect().center());
  while (c.ScrollOffset() < c.Grid().ClampScroll(1 << 30)) {
    probe.Reset();
    const double t0 = NowMs();
    QWheelEvent event(at, QPointF(c.mapToGlobal(at.toPoint())), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&c, &event);
    if (!probe.WaitForPaint(0)) break;
    frames.push_back(NowMs() - t0);
    placeholdersDrawn += WaitingInView(c);
  }
  if (frames.empty()) return;
  const double worst = *std::max_element(frames.begin(), frames.end());
  const long over =
      std::count_if(frames.begin(), frames.end(), [](double f) { return f > FrameBudgetMs; });
  std::printf(
      "chooser scroll top to bottom by wheel notches: %zu frames, frame time median "
      "%.2f ms, worst %.2f ms, %ld over %.1f ms; placeholder tiles drawn on the way %d\n",
      frames.size(), Median(frames), worst, over, FrameBudgetMs, placeholdersDrawn);
}

void RunMeasurements(TFMain& form) {
  if (QScreen* screen = form.screen()) form.setGeometry(screen->availableGeometry());
  Settle();
  TPictureChooser& c = form.Chooser();
  TPaintProbe probe(c);
  const int kept = KeptThumbnails(form.Catalog());
  const char* cache = kept > 0 ? "warm" : "cold";
  const double target = Mode == "500" ? 300 : 150;
  std::printf("chooser %zu pictures, window %dx%d, %d thumbnails kept before (%s)\n",
              form.Catalog().size(), form.width(), form.height(), kept, cache);
  const TOpenTimes first = TimeOpening(form, probe);
  std::printf(
      "chooser open (%s kept thumbnails): first paint %.1f ms, fully drawn (%d tiles "
      "in view) %.1f ms   target %.0f ms\n",
      cache, first.FirstPaintMs, first.InView, first.FullMs, target);
  // Everything asked for is made, so the next opening finds it kept.
  c.Thumbnails().Loader().WaitAndDeliver();
  QTest::keyClick(&form, Qt::Key_Escape);
  Settle();
  const TOpenTimes again = TimeOpening(form, probe);
  std::printf("chooser opened again in the same run: first paint %.1f ms, fully drawn %.1f ms\n",
              again.FirstPaintMs, again.FullMs);
  if (Mode == "500") ScrollThrough(form, probe);
  c.Thumbnails().Loader().WaitAndDeliver();
  QTest::keyClick(&form, Qt::Key_Escape);
  std::fflush(stdout);
}

}  // namespace
}  // namespace tw

int main(int argc, char** argv) {
  tw::Mode = argc > 1 ? argv[1] : "shipped";
  if (tw::Mode == "500") {
    if (argc < 3) {
      std::fprintf(stderr, "usage: tintwell_chooser_bench shipped | 500 FOLDER\n");
      return 2;
    }
    tw::GeneratedFolder = std::filesystem::absolute(argv[2]).string();
  }
  return tw::RunMeasuredWindow(argc, argv, tw::RunMeasurements, [] {
    if (tw::Mode == "500") tw::PrepareGenerated();
  });
}
