// The real sound clock and the process-wide choice of clock.
#include "sound/auSoundClockU.h"

#include <atomic>
#include <chrono>

#include "sound/auSoundDeviceU.h"
#include "sound/auUpdateChannelThreadU.h"

namespace tw {

namespace {

class TRealSoundClock : public TSoundClock {
 public:
  uint32_t TickCount() override { return SoundTickCount(); }
  bool WaitFor(TauAutoResetEvent& Wake, uint32_t Milliseconds) override {
    return Wake.WaitFor(std::chrono::milliseconds(Milliseconds));
  }
};

std::atomic<TSoundClock*> ChosenClock{nullptr};

}  // namespace

TSoundClock& RealSoundClock() {
  static TRealSoundClock Clock;
  return Clock;
}

void SetSoundClock(TSoundClock* Clock) { ChosenClock.store(Clock); }

TSoundClock& CurrentSoundClock() {
  TSoundClock* Clock = ChosenClock.load();
  return Clock ? *Clock : RealSoundClock();
}

}  // namespace tw
