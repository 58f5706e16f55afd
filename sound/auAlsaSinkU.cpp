// The ALSA sink: plays the mixed output on an ALSA PCM device with low
// latency (periods of about 10 ms, a buffer of four), recovers from
// underruns and reports the device gone when ALSA says so. It never runs
// ahead of real time by more than its buffer and a margin, so play cursors
// keep time even on a virtual device that swallows frames at once. Also lists
// ALSA's output devices. libasound's own error printing is silenced: a
// machine without a sound card is normal here, not worth a message.
#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "sound/auSoundSinkU.h"

namespace tw {

namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void QuietAlsaErrors() {
  static std::once_flag Once;
  std::call_once(Once, [] { snd_lib_error_set_handler(&IgnoreAlsaError); });
}

// Waiting for room is bounded so a stalled device cannot hold the mixing
// thread (and the device's closing) for long; the period is then dropped.
constexpr int WaitSliceMs = 100;
constexpr int MaxWaitSlices = 10;

class TAlsaSink : public TSoundSink {
 public:
  explicit TAlsaSink(snd_pcm_t* Pcm) : FPcm(Pcm) {}
  ~TAlsaSink() override {
    snd_pcm_drop(FPcm);
    snd_pcm_close(FPcm);
  }
  const TAudioFormat& Format() const override { return FFormat; }
  uint32_t PeriodFrames() const override { return FPeriod; }

  bool Configure(const TAudioFormat& Wanted) {
    snd_pcm_hw_params_t* Hw = nullptr;
    if (snd_pcm_hw_params_malloc(&Hw) < 0) return false;
    const bool Ok = ConfigureHardware(Hw, Wanted);
    snd_pcm_hw_params_free(Hw);
    if (!Ok) return false;
    snd_pcm_sw_params_t* Sw = nullptr;
    if (snd_pcm_sw_params_malloc(&Sw) < 0) return false;
    // Start as soon as one period is queued; wake when a period has room.
    const bool SwOk = snd_pcm_sw_params_current(FPcm, Sw) >= 0 &&
                      snd_pcm_sw_params_set_start_threshold(FPcm, Sw, FPeriod) >= 0 &&
                      snd_pcm_sw_params_set_avail_min(FPcm, Sw, FPeriod) >= 0 &&
                      snd_pcm_sw_params(FPcm, Sw) >= 0;
    snd_pcm_sw_params_free(Sw);
    return SwOk && snd_pcm_prepare(FPcm) >= 0;
  }

  bool Write(const uint8_t* Data, uint32_t Frames) override {
    uint32_t Done = 0;
    int Waits = 0;
    while (Done < Frames) {
      const snd_pcm_sframes_t Written =
          snd_pcm_writei(FPcm, Data + size_t(Done) * FFormat.BlockAlign, Frames - Done);
      if (Written >= 0) {
        Done += uint32_t(Written);
        continue;
      }
      if (Written == -EAGAIN) {
        if (++Waits > MaxWaitSlices) return true;
        const int Ready = snd_pcm_wait(FPcm, WaitSliceMs);
        if (Ready < 0 && !Recover(Ready)) return false;
        continue;
      }
      if (!Recover(int(Written))) return false;
    }
    FClock.Wait(Frames);
    return true;
  }

 private:
  bool ConfigureHardware(snd_pcm_hw_params_t* Hw, const TAudioFormat& Wanted) {
    if (snd_pcm_hw_params_any(FPcm, Hw) < 0) return false;
    if (snd_pcm_hw_params_set_access(FPcm, Hw, SND_PCM_ACCESS_RW_INTERLEAVED) < 0) return false;
    const bool Want8 = Wanted.BitsPerSample == 8;
    uint16_t Bits = Want8 ? 8 : 16;
    if (snd_pcm_hw_params_set_format(FPcm, Hw, Want8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE) <
        0) {
      Bits = Want8 ? 16 : 8;
      if (snd_pcm_hw_params_set_format(FPcm, Hw,
                                       Want8 ? SND_PCM_FORMAT_S16_LE : SND_PCM_FORMAT_U8) < 0)
        return false;
    }
    unsigned int Channels = Wanted.Channels;
    if (snd_pcm_hw_params_set_channels_near(FPcm, Hw, &Channels) < 0) return false;
    if (Channels < 1 || Channels > 2) return false;
    snd_pcm_hw_params_set_rate_resample(FPcm, Hw, 1);
    unsigned int Rate = Wanted.SampleRate;
    int Dir = 0;
    if (snd_pcm_hw_params_set_rate_near(FPcm, Hw, &Rate, &Dir) < 0 || Rate == 0) return false;
    snd_pcm_uframes_t Period = std::max(1u, Rate / 100);
    Dir = 0;
    if (snd_pcm_hw_params_set_period_size_near(FPcm, Hw, &Period, &Dir) < 0) return false;
    snd_pcm_uframes_t Buffer = Period * 4;
    if (snd_pcm_hw_params_set_buffer_size_near(FPcm, Hw, &Buffer) < 0) return false;
    if (snd_pcm_hw_params(FPcm, Hw) < 0) return false;
    Dir = 0;
    if (snd_pcm_hw_params_get_period_size(Hw, &Period, &Dir) < 0 || Period == 0) return false;
    if (snd_pcm_hw_params_get_buffer_size(Hw, &Buffer) < 0) return false;
    FPeriod = uint32_t(Period);
    FFormat = MakePcmFormat(Rate, uint16_t(Channels), Bits);
    FClock = TSinkClock(Rate, uint32_t(Buffer) + Rate / 4);
    return true;
  }

  // Underruns and suspends are recovered; anything else means the device
  // is gone (unplugged, its server ended).
  bool Recover(int Error) {
    if (Error != -EPIPE && Error != -ESTRPIPE && Error != -EINTR) return false;
    FClock.Restart();
    return snd_pcm_recover(FPcm, Error, 1) >= 0;
  }

  snd_pcm_t* FPcm;
  TAudioFormat FFormat;
  uint32_t FPeriod = 1;
  // Holds the mixing thread to real time should the device not; a real
  // device never lets it get this far ahead (its buffer plus 250 ms).
  TSinkClock FClock{1};
};

std::string Describe(const char* Description, const char* Name) {
  std::string Text = Description && *Description ? Description : Name;
  // ALSA splits card and use over two lines.
  for (size_t At = Text.find('\n'); At != std::string::npos; At = Text.find('\n', At))
    Text.replace(At, 1, ", ");
  return Text;
}

}  // namespace

std::unique_ptr<TSoundSink> OpenAlsaSink(const std::string& Name, const TAudioFormat& Wanted) {
  QuietAlsaErrors();
  snd_pcm_t* Pcm = nullptr;
  if (snd_pcm_open(&Pcm, Name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
    return nullptr;
  auto Sink = std::make_unique<TAlsaSink>(Pcm);
  if (!Sink->Configure(Wanted)) return nullptr;
  return Sink;
}

std::vector<TSoundDeviceInfo> AlsaOutputDevices() {
  QuietAlsaErrors();
  std::vector<TSoundDeviceInfo> Devices;
  void** Hints = nullptr;
  if (snd_device_name_hint(-1, "pcm", &Hints) < 0 || !Hints) return Devices;
  for (void** Hint = Hints; *Hint; ++Hint) {
    char* Name = snd_device_name_get_hint(*Hint, "NAME");
    char* Description = snd_device_name_get_hint(*Hint, "DESC");
    char* Direction = snd_device_name_get_hint(*Hint, "IOID");
    // No direction means the device does both.
    const bool Output = !Direction || std::strcmp(Direction, "Output") == 0;
    if (Name && Output && std::strcmp(Name, "default") != 0)
      Devices.push_back({Describe(Description, Name), Name});
    std::free(Name);
    std::free(Description);
    std::free(Direction);
  }
  snd_device_name_free_hint(Hints);
  return Devices;
}

}  // namespace tw
