#include "bench/app/AppBenchProbeU.h"

#include <QCoreApplication>
#include <QTimer>
#include <QEvent>
#include <QPaintEvent>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <memory>

#include "app/ApplicationU.h"
#include "app/PaintF.h"
#include "painter/qt/PainterQtU.h"

namespace tw {

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

TMemory ReadMemory() {
  TMemory memory;
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  std::string unit;
  while (status >> key) {
    if (key == "VmRSS:" && status >> value >> unit) memory.RssKiB = value;
    if (key == "VmHWM:" && status >> value >> unit) memory.HwmKiB = value;
  }
  return memory;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long long RegionArea(const QRegion& region) {
  long long area = 0;
  for (const QRect& r : region) area += (long long)r.width() * r.height();
  return area;
}

TPaintProbe::TPaintProbe(QWidget& Watched) : FWatched(Watched) {
  FWatched.installEventFilter(this);
}

void TPaintProbe::Reset() {
  FPaints = 0;
  FLastRegion = QRegion();
  FPainted = QRegion();
}

bool TPaintProbe::WaitForPaint(int paintsBefore, double TimeoutMs) {
  const double deadline = NowMs() + TimeoutMs;
  // The widget's paint and the flush of its window happen in one update
  // request, so once the paint was seen, the picture has gone out too.
  while (FPaints <= paintsBefore) {
    if (NowMs() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

bool TPaintProbe::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &FWatched && event->type() == QEvent::Paint) {
    ++FPaints;
    FLastRegion = static_cast<QPaintEvent*>(event)->region();
    FPainted += FLastRegion;
  }
  return false;
}

int RunMeasuredWindow(int argc, char** argv, const std::function<void(TFMain&)>& Measure,
                      const std::function<void()>& Prepare) {
  return RunTintwell(argc, argv, [Measure, Prepare] {
    if (Prepare) Prepare();
    auto form = std::make_unique<TFMain>();
    TFMain* f = form.get();
    // Polls until the deferred start has run and a picture is shown, then
    // measures and ends the event loop.
    auto* poll = new QTimer(f);
    QObject::connect(poll, &QTimer::timeout, f, [f, poll, Measure] {
      if (!f->Started() || !f->Painter().HasPicture()) return;
      poll->stop();
      TFMain::Guarded([f, &Measure] { Measure(*f); });
      QCoreApplication::exit(0);
    });
    poll->start(20);
    return form;
  });
}

}  // namespace tw
