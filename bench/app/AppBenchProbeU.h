// The measuring tools of the in-process program measurements: a probe that
// records the paint events a widget receives (how many, the rectangles
// asked for), the wait for the next paint, a monotonic clock and the
// thread's processor time in milliseconds, the process's resident memory
// from /proc, and the median.
#pragma once

#include <QObject>
#include <QRect>
#include <QRegion>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace tw {

// Milliseconds on the monotonic clock.
double NowMs();
// The calling thread's processor time in milliseconds.
double ThreadCpuMs();

// VmRSS and VmHWM of this process in KiB, from /proc/self/status.
struct TMemory {
  long RssKiB = 0;
  long HwmKiB = 0;
};
TMemory ReadMemory();

double Median(std::vector<double> values);

// Watches one widget's paint events; the watched widget paints as always.
class TPaintProbe : public QObject {
 public:
  explicit TPaintProbe(QWidget& Watched);

  int Paints() const { return FPaints; }
  // The region of the latest paint event, in the widget's coordinates.
  const QRegion& LastRegion() const { return FLastRegion; }
  // The union of every paint region since the last Reset.
  const QRegion& Painted() const { return FPainted; }
  void Reset();

  // Runs the event loop until the widget has been painted at least once
  // more than `paintsBefore` and the window's pending updates are done
  // (painted and handed to the window system). False after TimeoutMs.
  bool WaitForPaint(int paintsBefore, double TimeoutMs = 2000);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& FWatched;
  int FPaints = 0;
  QRegion FLastRegion;
  QRegion FPainted;
};

// The number of pixels a region covers.
long long RegionArea(const QRegion& region);

class TFMain;

// Runs the program as it starts for a user, with a main window whose
// deferred start has run and whose picture is shown handed to Measure,
// then ends; Prepare runs first, once the program's globals exist.
int RunMeasuredWindow(int argc, char** argv, const std::function<void(TFMain&)>& Measure,
                      const std::function<void()>& Prepare = {});

}  // namespace tw
