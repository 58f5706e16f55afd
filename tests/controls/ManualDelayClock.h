// A delay clock for tests: its time stands still until the test advances
// it, and a delay ends exactly when the time it was started for has
// passed, inside Advance. A TManualDelayClock sets itself as the clock of
// the controls created during its lifetime.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "controls/QDelayClockU.h"

namespace tw::test {

class TManualDelayClock : public TQDelayClock {
 public:
  TManualDelayClock() { SetDelayClock(this); }
  ~TManualDelayClock() override { SetDelayClock(nullptr); }
  TManualDelayClock(const TManualDelayClock&) = delete;
  TManualDelayClock& operator=(const TManualDelayClock&) = delete;

  std::unique_ptr<TQDelay> MakeDelay() override { return std::make_unique<TDelay>(*this); }

  // Moves time on, ending every delay that falls due on the way, earliest
  // first.
  void Advance(int Milliseconds) {
    const long long Until = FNow + Milliseconds;
    for (;;) {
      TDelay* Next = nullptr;
      for (TDelay* Delay : FDelays)
        if (Delay->FActive && Delay->FDue <= Until && (!Next || Delay->FDue < Next->FDue))
          Next = Delay;
      if (!Next) break;
      FNow = Next->FDue;
      Next->FActive = false;
      if (Next->OnElapsed) Next->OnElapsed();
    }
    FNow = Until;
  }

 private:
  class TDelay : public TQDelay {
   public:
    explicit TDelay(TManualDelayClock& Clock) : FClock(Clock) { FClock.FDelays.push_back(this); }
    ~TDelay() override { std::erase(FClock.FDelays, this); }
    void Start(int Milliseconds) override {
      FDue = FClock.FNow + Milliseconds;
      FActive = true;
    }
    void Stop() override { FActive = false; }
    bool Active() const override { return FActive; }

    TManualDelayClock& FClock;
    long long FDue = 0;
    bool FActive = false;
  };

  long long FNow = 0;
  std::vector<TDelay*> FDelays;
};

}  // namespace tw::test
