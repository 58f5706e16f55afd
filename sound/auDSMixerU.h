// The sound mixer and its channels.
//
// TauDSMixer owns the sound output device and its primary output (opened
// lazily, when the first channel needs an output buffer), holds the output
// settings and keeps its channels. TauDSMixerChannel plays one audio file:
// it decodes the file with a TauAudioFileReader and streams the PCM, in the
// file's own format, through a 4-second ring buffer on the device, which
// its refill thread (TauUpdateChannelThread) tops up every 400 ms. The
// device converts and mixes; the mixer does no sample arithmetic.
//
// Threads: the thread that creates a channel calls its operations; the
// channel's refill thread runs the tick. Both take the channel's lock, with
// a 250 ms time-out after which an operation silently does nothing. The
// refill rounds and fades keep the time of the sound clock that was current
// when the channel was made (sound/auSoundClockU.h). OnEnd
// and OnFadeEnd run in the creating thread, through the notifier that was
// current there when the channel was made (sound/auNotifyU.h); OnBufferLost
// runs at once in whichever thread met the loss, with the lock held.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "sound/auAudioFileReadU.h"
#include "sound/auDirectXErrorU.h"
#include "sound/auNotifyU.h"
#include "sound/auPositionTimesU.h"
#include "sound/auSoundClockU.h"
#include "sound/auSoundDeviceU.h"
#include "sound/auUpdateChannelThreadU.h"

namespace tw {

// Sample width of the primary output: 8 shifted left by the ordinal.
enum TBitsPerSample { bs8Bit, bs16Bit };
// How the program shares the output device.
enum TCooperativeLevel { lNormal, lPriority, lExclusive };

enum class TauChannelState { Stopped = 0, Playing = 1, Paused = 2 };

// The notifications a channel's refill thread posts to the creating thread,
// numbered from the base of user messages.
constexpr uint32_t ChannelNotifyBase = 1024;
constexpr uint32_t ChannelNotifyEnd = ChannelNotifyBase + 1;
constexpr uint32_t ChannelNotifyFadeEnd = ChannelNotifyBase + 2;

// The byte value of silence in PCM of the given width: unsigned 8-bit
// samples centre on 128, signed 16-bit ones on 0.
uint8_t PcmSilenceByte(uint32_t BitsPerSample);

// The sound output devices, enumerated once when first asked for and kept
// for the program's life: parallel lists, the default device first with an
// empty identifier.
const std::vector<std::string>& SoundDeviceDescriptions();
const std::vector<std::string>& SoundDeviceIds();

class TauDSMixer;

class TauDSMixerChannel {
 public:
  virtual ~TauDSMixerChannel();
  TauDSMixerChannel(const TauDSMixerChannel&) = delete;
  TauDSMixerChannel& operator=(const TauDSMixerChannel&) = delete;

  TauDSMixer& Mixer() const { return FMixer; }

  // Opens the file (an empty name only closes the current one). Stops the
  // channel and resets Volume, Pan, Loop, StartTime and EndTime to 0/false.
  void SetFileName(const std::string& Value);
  const std::string& FileName() const { return FFileName; }
  // Takes effect at the next end of the file met while refilling.
  void SetLoop(bool Value) { FLoop = Value; }
  bool Loop() const { return FLoop; }
  // Hundredths of a decibel: 0 is full level, -10000 silence.
  void SetVolume(int32_t Value);
  int32_t Volume() const { return FVolume; }
  // -10000 left only, 0 centre, 10000 right only.
  void SetPan(int32_t Value);
  int32_t Pan() const { return FPan; }
  // The part of the file to play, in milliseconds (0, 0: the whole file).
  void SetStartTime(int32_t Value);
  int32_t StartTime() const { return FStartTime; }
  void SetEndTime(int32_t Value);
  int32_t EndTime() const { return FEndTime; }

  // Starts or resumes playing; nothing when already playing. Without a
  // file raises "No file opened".
  void Play();
  // Stops the output where it is; Play resumes from there.
  void Pause();
  // Stops and rewinds to StartTime; nothing without an output buffer.
  void Stop();
  // Moves the volume from its present value to EndVolume over Time
  // milliseconds, in steps of one tick, then posts OnFadeEnd. Only a
  // playing channel fades, but the arguments are checked in any state.
  void FadeTo(uint32_t Time, int32_t EndVolume);

  uint32_t Duration() const { return FDuration; }  // milliseconds
  uint32_t SampleRate() const { return FSampleRate; }
  uint32_t Channels() const { return FChannels; }
  uint32_t BitsPerSample() const { return FBitsPerSample; }
  uint32_t BlockAlign() const { return FBlockAlign; }
  TauChannelState State() const { return FState; }
  // The position log; read it only while the channel is not playing.
  const TPositionTimes& PositionTimes() const { return FPositionTimes; }
  const TauUpdateChannelThread& Thread() const { return *FThread; }
  TauUpdateChannelThread& Thread() { return *FThread; }

  std::function<void(TauDSMixerChannel& Sender)> OnEnd;
  std::function<void(TauDSMixerChannel& Sender)> OnBufferLost;
  std::function<void(TauDSMixerChannel& Sender)> OnFadeEnd;

 protected:
  // Channels are made by TauDSMixer::AddChannel, which registers them.
  explicit TauDSMixerChannel(TauDSMixer& Mixer);

 private:
  friend class TauDSMixer;
  friend class TauUpdateChannelThread;

  void Tick();
  void TickSteps();
  void Refill();
  void FillRegion(uint32_t Offset, uint32_t Length);
  // Decodes the whole looped section into FLoopCopy when it is short;
  // false (and the reader rewound) when it is not.
  bool MakeLoopCopy();
  void DropLoopCopy();
  // The media time at a byte offset of the copy.
  int64_t LoopCopyTime(size_t Offset) const;
  void CreateBuffer();
  void CloseBuffer();
  void CloseBufferLocked();
  void StopOutput(bool IgnoreDeviceErrors);
  void HandleBufferLost();
  uint32_t PlayCursor();
  int64_t DistanceToEnd();
  void Notify(uint32_t Message);
  void HandleNotification(uint32_t Message);

  TauDSMixer& FMixer;
  std::unique_ptr<TSoundBuffer> FBuffer;
  std::string FFileName;
  std::atomic<bool> FLoop{false};
  bool FPrimed = false;
  bool FFading = false;
  bool FDraining = false;
  uint32_t FSampleRate = 0;
  uint32_t FChannels = 0;
  uint32_t FBitsPerSample = 0;
  uint32_t FBlockAlign = 0;
  uint32_t FDuration = 0;
  int32_t FStartTime = 0;
  int32_t FEndTime = 0;
  uint32_t FBufferTime = 4000;
  uint32_t FBufferSize = 0;
  uint32_t FEndThreshold = 0;
  uint32_t FWritePosition = 0;
  uint32_t FLastRefillTick = 0;
  uint32_t FFadeStartTick = 0;
  uint32_t FFadeEndTick = 0;
  std::atomic<int32_t> FVolume{0};
  std::atomic<int32_t> FPan{0};
  int32_t FFadeFromVolume = 0;
  int32_t FFadeToVolume = 0;
  int32_t FEndPosition = -1;
  std::unique_ptr<TauAudioFileReader> FReader;
  std::atomic<TauChannelState> FState{TauChannelState::Stopped};
  TPositionTimes FPositionTimes;
  std::vector<uint8_t> FMirror;
  // A short looped section decoded once, its media times, and where the
  // next fill takes up in it (-1: the fill reads the file).
  std::vector<uint8_t> FLoopCopy;
  int64_t FLoopCopyStartTime = 0;
  int64_t FLoopCopyEndTime = 0;
  int64_t FLoopCopyAt = -1;
  std::shared_ptr<TauChannelLock> FLock;
  TauNotifier* FNotifier;
  TSoundClock* FClock;
  // Posted notifications hold only a weak reference, so one that arrives
  // after the channel is gone finds the token expired and does nothing.
  std::shared_ptr<TauDSMixerChannel*> FAlive;
  std::weak_ptr<TauDSMixerChannel*> FAliveWeak;
  std::unique_ptr<TauUpdateChannelThread> FThread;
};

class TauDSMixer {
 public:
  TauDSMixer() = default;
  // Closes, then destroys every channel still registered, in the order
  // they were added.
  ~TauDSMixer();
  TauDSMixer(const TauDSMixer&) = delete;
  TauDSMixer& operator=(const TauDSMixer&) = delete;

  // Opens the device and starts its primary output; nothing when open.
  void Open();
  // Closes the channels' output buffers, then the primary output and the
  // device. Channels make new buffers when they next play.
  void Close();
  bool IsOpen() const { return FDevice != nullptr; }
  // The device, opening the mixer first when needed.
  TSoundDevice& GetDevice();

  // BitsPerSample, Stereo and Level take effect at the next opening.
  TBitsPerSample BitsPerSample() const { return FBitsPerSample; }
  void SetBitsPerSample(TBitsPerSample Value) { FBitsPerSample = Value; }
  bool Stereo() const { return FStereo; }
  void SetStereo(bool Value) { FStereo = Value; }
  // Hz, kept within 100..100000.
  int32_t Frequency() const { return FFrequency; }
  void SetFrequency(int32_t Value);
  TCooperativeLevel Level() const { return FLevel; }
  void SetLevel(TCooperativeLevel Value) { FLevel = Value; }
  // Handed to an open device at once, and to the device at each opening.
  uint32_t SpeakerConfig() const { return FSpeakerConfig; }
  void SetSpeakerConfig(uint32_t Value);

  // Creates a channel registered with this mixer, which owns it. TChannel
  // may be a class derived from TauDSMixerChannel.
  template <class TChannel = TauDSMixerChannel>
  TChannel& AddChannel();
  // Unregisters and destroys the channel; nothing for a stranger.
  void RemoveChannel(TauDSMixerChannel& Channel);
  size_t ChannelCount() const { return FChannels.size(); }
  TauDSMixerChannel& Channel(size_t Index) const { return *FChannels.at(Index); }

 private:
  TBitsPerSample FBitsPerSample = bs16Bit;
  bool FStereo = true;
  int32_t FFrequency = 44100;
  TCooperativeLevel FLevel = lPriority;
  uint32_t FSpeakerConfig = 4;
  // The device with its primary output playing; none while closed.
  std::unique_ptr<TSoundDevice> FDevice;
  // Index into SoundDeviceIds() of the device to open; this program always
  // uses the default device. The cooperative level needs no window here.
  size_t FDeviceIndex = 0;
  std::vector<std::unique_ptr<TauDSMixerChannel>> FChannels;
};

template <class TChannel>
TChannel& TauDSMixer::AddChannel() {
  static_assert(std::is_base_of_v<TauDSMixerChannel, TChannel>);
  std::unique_ptr<TChannel> Channel(new TChannel(*this));
  TChannel& Result = *Channel;
  FChannels.push_back(std::move(Channel));
  return Result;
}

}  // namespace tw
