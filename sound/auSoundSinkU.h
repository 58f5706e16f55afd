// Where the software sound device sends its mixed output: the sink
// interface, the three sinks (ALSA, clock-paced silence, WAV capture) and
// the clock that keeps them to real time. A sink is opened
// with the primary format the device wants and reports the format it took;
// the device's mixing thread is its only user after that.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sound/auSoundDeviceU.h"

namespace tw {

class TSoundSink {
 public:
  virtual ~TSoundSink() = default;
  // The primary format the sink actually plays (PCM, 1-2 channels, 8/16 bits).
  virtual const TAudioFormat& Format() const = 0;
  // How many sample frames one Write takes: one mixing period.
  virtual uint32_t PeriodFrames() const = 0;
  // Plays Frames sample frames in Format, blocking until the sink can take
  // the next period; this is what paces the mixing thread. False when the
  // output device has gone away for good.
  virtual bool Write(const uint8_t* Data, uint32_t Frames) = 0;
};

// Opens the ALSA PCM device Name ("default" for the system's default) with
// low latency; null when it cannot be opened or takes no usable format.
std::unique_ptr<TSoundSink> OpenAlsaSink(const std::string& Name, const TAudioFormat& Wanted);
// The output-capable ALSA PCM devices other than "default", by name with
// their descriptions; empty when ALSA lists nothing.
std::vector<TSoundDeviceInfo> AlsaOutputDevices();
// A sink that discards the output in real time (at once when not Paced).
std::unique_ptr<TSoundSink> OpenSilentSink(const TAudioFormat& Wanted, bool Paced = true);
// A sink that writes the output in real time (at once when not Paced) to a
// 16-bit PCM WAV file (8-bit output is widened); null when the file cannot
// be created.
std::unique_ptr<TSoundSink> OpenWavCaptureSink(const std::string& FileName,
                                               const TAudioFormat& Wanted, bool Paced = true);

// The sink that devices created now should use: SetSoundSink's override,
// else the TINTWELL_SOUND environment variable, else Auto.
TSoundSinkChoice CurrentSoundSinkChoice();

// A complete PCM format record for the given shape.
TAudioFormat MakePcmFormat(uint32_t SampleRate, uint16_t Channels, uint16_t BitsPerSample);

// Paces a sink in real time: each Wait returns when the frames handed out
// so far, less Lead frames, are due, counted from the first call. With no
// lead it paces a sink without hardware; with a lead it only holds back a
// device that takes frames faster than it could play them (some virtual
// ALSA devices do). A sink far behind (a stalled process) starts counting
// afresh instead of racing to catch up.
class TSinkClock {
 public:
  explicit TSinkClock(uint32_t SampleRate, uint32_t LeadFrames = 0)
      : FRate(SampleRate), FLead(LeadFrames) {}
  void Wait(uint32_t Frames) {
    using namespace std::chrono;
    const auto Now = steady_clock::now();
    if (!FStarted || Now - Due() > milliseconds(200) + FramesToTime(FLead)) {
      FStart = Now;
      FFrames = 0;
      FStarted = true;
    }
    FFrames += Frames;
    std::this_thread::sleep_until(Due());
  }
  void Restart() { FStarted = false; }

 private:
  std::chrono::nanoseconds FramesToTime(int64_t Frames) const {
    return std::chrono::nanoseconds(Frames * 1000000000 / int64_t(FRate));
  }
  std::chrono::steady_clock::time_point Due() const {
    return FStart + FramesToTime(int64_t(FFrames) - int64_t(FLead));
  }
  uint32_t FRate;
  uint32_t FLead;
  bool FStarted = false;
  std::chrono::steady_clock::time_point FStart;
  uint64_t FFrames = 0;
};

}  // namespace tw
