// TQDelay and TQDelayClock: the time the controls' delays run on (the hint
// delay). A TQDelay is one restartable single-shot delay; the delay clock
// makes them. The program's clock makes delays that run on real time in
// the event loop. A test sets a clock of its own before it creates
// controls and moves that clock's time on by hand, so a delay ends at a
// step the test chose and never between steps.
#pragma once

#include <functional>
#include <memory>

namespace tw {

class TQDelay {
 public:
  virtual ~TQDelay() = default;
  // Starts the delay afresh: OnElapsed runs Milliseconds from now, once.
  virtual void Start(int Milliseconds) = 0;
  // Ends a pending delay without OnElapsed.
  virtual void Stop() = 0;
  virtual bool Active() const = 0;

  std::function<void()> OnElapsed;
};

class TQDelayClock {
 public:
  virtual ~TQDelayClock() = default;
  virtual std::unique_ptr<TQDelay> MakeDelay() = 0;
};

// Delays on real time, run by the event loop of the thread that made them.
TQDelayClock& RealDelayClock();

// Makes Clock the one controls created from now on take; null goes back
// to the real clock. Clock must outlive the delays it made.
void SetDelayClock(TQDelayClock* Clock);
TQDelayClock& CurrentDelayClock();

}  // namespace tw
