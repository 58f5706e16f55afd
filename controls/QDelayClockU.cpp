// The real delay clock: a precise single-shot QTimer per delay.
#include "controls/QDelayClockU.h"

#include <QTimer>

namespace tw {

namespace {

class TQTimerDelay : public TQDelay {
 public:
  TQTimerDelay() {
    FTimer.setSingleShot(true);
    FTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FTimer, &QTimer::timeout, [this] {
      if (OnElapsed) OnElapsed();
    });
  }
  void Start(int Milliseconds) override {
    FTimer.stop();
    FTimer.start(Milliseconds);
  }
  void Stop() override { FTimer.stop(); }
  bool Active() const override { return FTimer.isActive(); }

 private:
  QTimer FTimer;
};

class TQRealDelayClock : public TQDelayClock {
 public:
  std::unique_ptr<TQDelay> MakeDelay() override { return std::make_unique<TQTimerDelay>(); }
};

TQDelayClock* ChosenClock = nullptr;

}  // namespace

TQDelayClock& RealDelayClock() {
  static TQRealDelayClock Clock;
  return Clock;
}

void SetDelayClock(TQDelayClock* Clock) { ChosenClock = Clock; }

TQDelayClock& CurrentDelayClock() { return ChosenClock ? *ChosenClock : RealDelayClock(); }

}  // namespace tw
