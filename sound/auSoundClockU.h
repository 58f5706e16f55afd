// TSoundClock: the time the sound channels run on. A channel's refill
// thread waits on it between rounds, and the channel measures its refill
// interval and its fades by the clock's millisecond tick count. The
// program runs on the real clock. A test sets a clock of its own before it
// makes channels: such a clock decides when a refill thread's wait ends (a
// manual one never ends it by itself) and what time each round sees, so
// the test runs every round at a moment it chose.
#pragma once

#include <cstdint>

namespace tw {

class TauAutoResetEvent;

class TSoundClock {
 public:
  virtual ~TSoundClock() = default;
  // Milliseconds, wrapping at 2^32.
  virtual uint32_t TickCount() = 0;
  // Blocks until Wake is set (true) or Milliseconds of this clock have
  // passed (false).
  virtual bool WaitFor(TauAutoResetEvent& Wake, uint32_t Milliseconds) = 0;
};

// The system's tick counter and timed waits.
TSoundClock& RealSoundClock();

// Makes Clock the one channels created from now on take, in every thread;
// null goes back to the real clock. Clock must outlive those channels.
void SetSoundClock(TSoundClock* Clock);
TSoundClock& CurrentSoundClock();

}  // namespace tw
