// The software sound device's engine: sink ownership, ring registry and
// the mixing thread.
#include "sound/auSoundEngineU.h"

#include <algorithm>
#include <cstring>

namespace tw {

namespace {

uint8_t SilenceByte(const TAudioFormat& Format) { return Format.BitsPerSample == 8 ? 128 : 0; }

bool SameShape(const TAudioFormat& A, const TAudioFormat& B) {
  return A.Channels == B.Channels && A.SampleRate == B.SampleRate &&
         A.BitsPerSample == B.BitsPerSample;
}

}  // namespace

TSoundRing::TSoundRing(uint32_t Size, const TAudioFormat& Format, uint32_t OutputRate)
    : Size(Size),
      Format(Format),
      FrameBytes(uint32_t(Format.Channels) * Format.BitsPerSample / 8),
      Staging(Size, SilenceByte(Format)),
      Data(Size, SilenceByte(Format)) {
  if (Format.SampleRate != OutputRate)
    Resampler.Configure(Format.SampleRate, OutputRate, Format.Channels);
}

TSoundEngine::TSoundEngine(const TSoundSinkChoice& Choice, const std::string& DeviceId)
    : FChoice(Choice), FAlsaName(DeviceId.empty() ? "default" : DeviceId) {}

TSoundEngine::~TSoundEngine() { Close(); }

std::unique_ptr<TSoundSink> TSoundEngine::OpenChosenSink(const TAudioFormat& Format,
                                                         TSinkKind* Kind) {
  switch (FChoice.Kind) {
    case TSoundSinkChoice::Silent:
      *Kind = TSinkKind::Silent;
      return OpenSilentSink(Format, !FChoice.Stepped);
    case TSoundSinkChoice::Capture:
      *Kind = TSinkKind::Capture;
      return OpenWavCaptureSink(FChoice.CaptureFile, Format, !FChoice.Stepped);
    case TSoundSinkChoice::Alsa:
    case TSoundSinkChoice::Auto:
      *Kind = TSinkKind::Alsa;
      return OpenAlsaSink(FAlsaName, Format);
  }
  return nullptr;
}

int32_t TSoundEngine::Open() {
  const TAudioFormat Default = MakePcmFormat(44100, 2, 16);
  TSinkKind Kind = TSinkKind::Silent;
  std::unique_ptr<TSoundSink> Sink = OpenChosenSink(Default, &Kind);
  if (!Sink) {
    if (FChoice.Kind != TSoundSinkChoice::Auto) return SoundResult::NoDriver;
    // No sound card (a build machine, a headless session): play to nowhere.
    Sink = OpenSilentSink(Default, !FChoice.Stepped);
    Kind = TSinkKind::Silent;
  }
  {
    std::lock_guard Guard(Mutex);
    FFormat = Sink->Format();
    FSinkKind = Kind;
  }
  FSink = std::move(Sink);
  StartMixing();
  return SoundResult::Ok;
}

void TSoundEngine::Close() {
  StopMixing();
  std::unique_ptr<TSoundSink> Sink;
  std::unique_ptr<TSoundSink> Pending;
  {
    std::lock_guard Guard(Mutex);
    FClosed = true;
    LoseRingsLocked();
    Pending = std::move(FPendingSink);
  }
  Sink = std::move(FSink);
}

TAudioFormat TSoundEngine::PrimaryFormat() {
  std::lock_guard Guard(Mutex);
  return FFormat;
}

uint32_t TSoundEngine::OutputRate() {
  std::lock_guard Guard(Mutex);
  return FFormat.SampleRate;
}

void TSoundEngine::SetPrimaryFormat(const TAudioFormat& Format) {
  {
    std::lock_guard Guard(Mutex);
    if (FClosed || SameShape(Format, FFormat)) return;
  }
  StopMixing();
  TSinkKind Kind;
  bool FellBack;
  std::unique_ptr<TSoundSink> Pending;
  {
    std::lock_guard Guard(Mutex);
    Kind = FSinkKind;
    FellBack = FFellBack;
    // A swap the stopped thread did not make yet is made here, in the new
    // format: ALSA that came back is opened again.
    Pending = std::move(FPendingSink);
    if (Pending) Kind = TSinkKind::Alsa;
    if (FLossPending && Kind == TSinkKind::Capture) Kind = TSinkKind::Silent;
    FLossPending = false;
  }
  // The old sinks go first: a hardware device may not open twice.
  FSink.reset();
  Pending.reset();
  std::unique_ptr<TSoundSink> Sink;
  if (Kind != TSinkKind::Silent) Sink = OpenChosenSink(Format, &Kind);
  if (!Sink) {
    // Silent was chosen or is standing in; or the device refused the
    // format, which a later ring creation may retry like a loss.
    if (Kind != TSinkKind::Silent && Kind != TSinkKind::Capture) FellBack = true;
    Sink = OpenSilentSink(Format, !FChoice.Stepped);
    Kind = TSinkKind::Silent;
  }
  {
    std::lock_guard Guard(Mutex);
    FFormat = Sink->Format();
    FSinkKind = Kind;
    FFellBack = FellBack;
  }
  FSink = std::move(Sink);
  StartMixing();
}

void TSoundEngine::AddRing(const std::shared_ptr<TSoundRing>& Ring) {
  TAudioFormat Format;
  {
    std::lock_guard Guard(Mutex);
    const bool Retry = FFellBack && !FRetrying && !FClosed &&
                       (FChoice.Kind == TSoundSinkChoice::Auto ||
                        FChoice.Kind == TSoundSinkChoice::Alsa);
    if (!Retry) {
      FRings.push_back(Ring);
      return;
    }
    FRetrying = true;
    Format = FFormat;
  }
  // Opening may take a while; the mixing thread keeps writing silence.
  TSinkKind Kind;
  std::unique_ptr<TSoundSink> Sink = OpenChosenSink(Format, &Kind);
  std::unique_ptr<TSoundSink> Stale;
  std::lock_guard Guard(Mutex);
  FRetrying = false;
  if (Sink && !FClosed) {
    Stale = std::move(FPendingSink);
    FPendingSink = std::move(Sink);
    FFellBack = false;
  }
  FRings.push_back(Ring);
}

void TSoundEngine::RemoveRing(const TSoundRing* Ring) {
  std::lock_guard Guard(Mutex);
  std::erase_if(FRings, [Ring](const std::shared_ptr<TSoundRing>& R) { return R.get() == Ring; });
}

void TSoundEngine::SimulateLoss() {
  std::lock_guard Guard(Mutex);
  if (!FClosed) LoseDeviceLocked();
}

void TSoundEngine::LoseDeviceLocked() {
  LoseRingsLocked();
  // The mixing thread swaps in the silent sink at its next period; a ring
  // created from now on may already try ALSA again.
  FLossPending = true;
  if (FSinkKind == TSinkKind::Alsa) FFellBack = true;
}

void TSoundEngine::LoseRingsLocked() {
  for (const auto& Ring : FRings) {
    Ring->Lost.store(true);
    Ring->Playing = false;
  }
  FRings.clear();
}

void TSoundEngine::StartMixing() {
  if (FChoice.Stepped) return;
  FStopping.store(false);
  FThread = std::thread([this] { Run(); });
}

void TSoundEngine::StopMixing() {
  if (!FThread.joinable()) return;
  FStopping.store(true);
  FThread.join();
}

void TSoundEngine::GatherLocked(uint32_t Period, uint32_t OutputRate,
                                std::vector<std::shared_ptr<TSoundRing>>& Active) {
  for (const auto& Ring : FRings) {
    TSoundRing& R = *Ring;
    if (!R.Playing) continue;
    const bool Resample = R.Format.SampleRate != OutputRate;
    if (Resample && R.Resampler.TargetRate() != OutputRate) {
      R.Resampler.Configure(R.Format.SampleRate, OutputRate, R.Format.Channels);
    } else if (R.Restart && Resample) {
      R.Resampler.Reset();
    }
    R.Restart = false;
    const uint32_t Frames = Resample ? R.Resampler.InputFramesNeeded(Period) : Period;
    const size_t Bytes = size_t(Frames) * R.FrameBytes;
    if (R.Raw.size() < Bytes) R.Raw.resize(Bytes);
    // The ring may be shorter than one period: copy round it as often as needed.
    uint32_t At = R.Cursor.load(std::memory_order_relaxed);
    size_t Done = 0;
    while (Done < Bytes) {
      const size_t Part = std::min<size_t>(Bytes - Done, R.Size - At);
      std::memcpy(R.Raw.data() + Done, R.Data.data() + At, Part);
      Done += Part;
      At = uint32_t((At + Part) % R.Size);
    }
    R.Cursor.store(At);
    R.RawFrames = Frames;
    // A mono output has no sides to pan between.
    R.Gains = VolumeAndPanToGains(R.Volume, FFormat.Channels == 2 ? R.Pan : 0);
    Active.push_back(Ring);
  }
}

void TSoundEngine::Run() {
  while (!FStopping.load()) MixPeriod();
}

uint32_t TSoundEngine::Step(uint32_t Frames) {
  if (!FChoice.Stepped || !FSink) return 0;
  uint32_t Done = 0;
  while (Done < Frames) Done += MixPeriod();
  return Done;
}

uint32_t TSoundEngine::MixPeriod() {
  std::unique_ptr<TSoundSink> Retired;
  uint32_t Period;
  TAudioFormat Format;
  {
    std::lock_guard Guard(Mutex);
    // A reopened ALSA device, else silence after a loss; the old sink is
    // closed outside the mutex.
    if (FPendingSink) {
      Retired = std::move(FSink);
      FSink = std::move(FPendingSink);
      FSinkKind = TSinkKind::Alsa;
      FFormat = FSink->Format();
    } else if (FLossPending) {
      Retired = std::move(FSink);
      FSink = OpenSilentSink(FFormat, !FChoice.Stepped);
      FSinkKind = TSinkKind::Silent;
    }
    FLossPending = false;
    Format = FFormat;
    Period = FSink->PeriodFrames();
    GatherLocked(Period, Format.SampleRate, FActive);
  }
  Retired.reset();

  const uint32_t OutChannels = Format.Channels;
  FSum.assign(size_t(Period) * OutChannels, 0.0f);
  for (const auto& Ring : FActive) {
    TSoundRing& R = *Ring;
    const uint32_t Ch = R.Format.Channels;
    const size_t InSamples = size_t(R.RawFrames) * Ch;
    if (R.Samples.size() < InSamples) R.Samples.resize(InSamples);
    PcmToFloat(R.Raw.data(), R.RawFrames, Ch, R.Format.BitsPerSample, R.Samples.data());
    const float* Voice = R.Samples.data();
    if (R.Format.SampleRate != Format.SampleRate) {
      if (R.Converted.size() < size_t(Period) * Ch) R.Converted.resize(size_t(Period) * Ch);
      R.Resampler.Process(R.Samples.data(), R.RawFrames, R.Converted.data(), Period);
      Voice = R.Converted.data();
    }
    MixInto(Voice, Period, Ch, R.Gains, FSum.data(), OutChannels);
  }
  // A buffer destroyed meanwhile is freed here, outside the mutex.
  FActive.clear();

  FOutput.resize(size_t(Period) * Format.BlockAlign);
  FloatToPcm(FSum.data(), uint32_t(FSum.size()), Format.BitsPerSample, FOutput.data());
  if (!FSink->Write(FOutput.data(), Period)) {
    std::lock_guard Guard(Mutex);
    LoseDeviceLocked();
  }
  return Period;
}

}  // namespace tw
