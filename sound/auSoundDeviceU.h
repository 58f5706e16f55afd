// The program's sound output device, as the mixer and its channels see it:
// a device with a primary output stage that plays all the time, and
// streaming ring buffers, each in its own PCM format, that the device
// converts, attenuates, pans and mixes into the primary format. Every
// operation returns a 32-bit result code (0 on success); a buffer whose
// device went away answers SoundResult::BufferLost from then on.
//
// Which sink the default device writes to is chosen when it is created:
// the process-wide override set with SetSoundSink, else the environment
// variable TINTWELL_SOUND ("alsa", "silent" or "capture:<file.wav>"), else
// ALSA with a quiet fall-back to the clock-paced silent sink.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/auAudioFileReadU.h"

namespace tw {

namespace SoundResult {
constexpr int32_t Ok = 0;
constexpr int32_t NotSupported = int32_t(0x80004001u);
constexpr int32_t Generic = int32_t(0x80004005u);
constexpr int32_t OutOfMemory = int32_t(0x8007000Eu);
constexpr int32_t InvalidParam = int32_t(0x80070057u);
constexpr int32_t Allocated = int32_t(0x8878000Au);
constexpr int32_t ControlUnavailable = int32_t(0x8878001Eu);
constexpr int32_t InvalidCall = int32_t(0x88780032u);
constexpr int32_t BadFormat = int32_t(0x88780064u);
constexpr int32_t NoDriver = int32_t(0x88780078u);
constexpr int32_t BufferLost = int32_t(0x88780096u);
}  // namespace SoundResult

// Cooperative levels.
constexpr int SoundLevelNormal = 1;
constexpr int SoundLevelPriority = 2;
constexpr int SoundLevelExclusive = 3;

// Volume and pan are hundredths of a decibel.
constexpr int32_t SoundVolumeMin = -10000;  // silence
constexpr int32_t SoundVolumeMax = 0;       // full level
constexpr int32_t SoundPanLeft = -10000;
constexpr int32_t SoundPanRight = 10000;

struct TSoundDeviceInfo {
  std::string Description;
  std::string Id;  // empty for the system's default device
};

// Lists the output devices, the default device first with an empty Id.
std::vector<TSoundDeviceInfo> EnumerateSoundDevices();

// Where the mixed output of a newly created device goes.
struct TSoundSinkChoice {
  enum TKind { Auto, Alsa, Silent, Capture } Kind = Auto;
  std::string CaptureFile;  // the WAV file of a Capture sink
  // The device mixes only when StepSoundDevice asks it to, and the silent
  // and capture sinks take the output at once instead of in real time: a
  // test then knows exactly how much was played.
  bool Stepped = false;
};
// Overrides the environment's choice for devices created from now on;
// Auto restores the environment's choice.
void SetSoundSink(const TSoundSinkChoice& Choice);

// A streaming ring buffer on the device. Positions are byte offsets into
// the ring; the play cursor always lies on a sample frame boundary.
class TSoundBuffer {
 public:
  virtual ~TSoundBuffer() = default;
  // Grants a writable view of the region (Offset, Length) of the ring: the
  // part up to the ring's end in Ptr1/Len1 and the wrapped rest, if any, in
  // Ptr2/Len2 (null/0 when the region does not wrap).
  virtual int32_t Lock(uint32_t Offset, uint32_t Length, void** Ptr1, uint32_t* Len1,
                       void** Ptr2, uint32_t* Len2) = 0;
  virtual int32_t Unlock(void* Ptr1, uint32_t Len1, void* Ptr2, uint32_t Len2) = 0;
  virtual int32_t GetPlayCursor(uint32_t* Position) = 0;
  // Plays cycling through the ring until stopped.
  virtual int32_t PlayLooping() = 0;
  // Stops; the play cursor stays where it is.
  virtual int32_t Stop() = 0;
  virtual int32_t SetPlayCursor(uint32_t Position) = 0;
  virtual int32_t SetVolume(int32_t Volume) = 0;
  virtual int32_t SetPan(int32_t Pan) = 0;
};

// An open output device.
class TSoundDevice {
 public:
  virtual ~TSoundDevice() = default;
  virtual int32_t SetCooperativeLevel(int Level) = 0;
  virtual int32_t CreatePrimaryOutput() = 0;
  virtual int32_t GetPrimaryFormat(TAudioFormat* Format) = 0;
  // The device may adjust the format; GetPrimaryFormat reports what it took.
  virtual int32_t SetPrimaryFormat(const TAudioFormat& Format) = 0;
  virtual int32_t SetSpeakerConfig(uint32_t Config) = 0;
  // Starts the primary output; it runs from then on.
  virtual int32_t PlayPrimaryLooping() = 0;
  // A ring buffer of exactly Size bytes holding PCM in Format (1 or 2
  // channels, 8 or 16 bits, any rate the device can resample).
  virtual int32_t CreateStreamBuffer(uint32_t Size, const TAudioFormat& Format,
                                     std::unique_ptr<TSoundBuffer>* Buffer) = 0;
};

// Creates the device with the given Id (empty: the default device).
using TSoundDeviceCreateFunc = int32_t (*)(const std::string& Id,
                                           std::unique_ptr<TSoundDevice>* Device);
// The device-creation entry point the mixer calls; tests may replace it.
// Initially the program's software sound device.
extern TSoundDeviceCreateFunc SoundDeviceCreate;
int32_t CreateSoftwareSoundDevice(const std::string& Id, std::unique_ptr<TSoundDevice>* Device);

// The system's millisecond tick counter (wraps at 2^32).
uint32_t SoundTickCount();

}  // namespace tw
