// The silent sink: takes the mixed output at the rate it would play and
// drops it, so play cursors advance in real time without a sound card.
#include <algorithm>

#include "sound/auSoundSinkU.h"

namespace tw {

namespace {

class TSilentSink : public TSoundSink {
 public:
  explicit TSilentSink(const TAudioFormat& Format)
      : FFormat(Format), FPeriod(std::max<uint32_t>(1, Format.SampleRate / 100)),
        FClock(Format.SampleRate) {}
  const TAudioFormat& Format() const override { return FFormat; }
  uint32_t PeriodFrames() const override { return FPeriod; }
  bool Write(const uint8_t*, uint32_t Frames) override {
    FClock.Wait(Frames);
    return true;
  }

 private:
  TAudioFormat FFormat;
  uint32_t FPeriod;
  TSinkClock FClock;
};

}  // namespace

std::unique_ptr<TSoundSink> OpenSilentSink(const TAudioFormat& Wanted) {
  return std::make_unique<TSilentSink>(
      MakePcmFormat(Wanted.SampleRate, Wanted.Channels, Wanted.BitsPerSample));
}

}  // namespace tw
