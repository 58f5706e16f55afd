// A sound clock for tests: its time stands still until the test moves it,
// and a channel's refill thread waiting on it never wakes by itself, so a
// round runs only when the test runs it. A TManualSoundClock sets itself
// as the clock of the channels created during its lifetime.
#pragma once

#include <atomic>
#include <cstdint>

#include "sound/auDSMixerU.h"
#include "sound/auSoundClockU.h"
#include "sound/auUpdateChannelThreadU.h"

namespace tw::test {

class TManualSoundClock : public TSoundClock {
 public:
  TManualSoundClock() { SetSoundClock(this); }
  ~TManualSoundClock() override { SetSoundClock(nullptr); }
  TManualSoundClock(const TManualSoundClock&) = delete;
  TManualSoundClock& operator=(const TManualSoundClock&) = delete;

  uint32_t TickCount() override { return FNow.load(); }
  bool WaitFor(TauAutoResetEvent& Wake, uint32_t) override {
    Wake.Wait();
    return true;
  }

  void Advance(uint32_t Milliseconds) { FNow += Milliseconds; }

  // Moves time on by the channel's refill interval and runs the round then
  // due, in the calling thread; false when the round did not tick.
  bool Round(TauDSMixerChannel& Channel) {
    Advance(Channel.Thread().Interval());
    return Channel.Thread().RunRound();
  }

 private:
  std::atomic<uint32_t> FNow{0};
};

}  // namespace tw::test
