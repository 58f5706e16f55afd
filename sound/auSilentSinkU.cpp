// The silent sink: takes the mixed output at the rate it would play and
// drops it, so play cursors advance in real time without a sound card (or
// as fast as a stepped device mixes).
#include <algorithm>

#include "sound/auSoundSinkU.h"

namespace tw {

namespace {

class TSilentSink : public TSoundSink {
 public:
  TSilentSink(const TAudioFormat& Format, bool Paced)
      : FFormat(Format), FPeriod(std::max<uint32_t>(1, Format.SampleRate / 100)),
        FPaced(Paced), FClock(Format.SampleRate) {}
  const TAudioFormat& Format() const override { return FFormat; }
  uint32_t PeriodFrames() const override { return FPeriod; }
  bool Write(const uint8_t*, uint32_t Frames) override {
    if (FPaced) FClock.Wait(Frames);
    return true;
  }

 private:
  TAudioFormat FFormat;
  uint32_t FPeriod;
  bool FPaced;
  TSinkClock FClock;
};

}  // namespace

std::unique_ptr<TSoundSink> OpenSilentSink(const TAudioFormat& Wanted, bool Paced) {
  return std::make_unique<TSilentSink>(
      MakePcmFormat(Wanted.SampleRate, Wanted.Channels, Wanted.BitsPerSample), Paced);
}

}  // namespace tw
