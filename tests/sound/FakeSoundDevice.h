// A sound device for the mixer's tests: it plays nothing, records what it
// is asked, and lets the test move each ring buffer's play cursor, look at
// the bytes written into the ring, and make a buffer lost or slow. A TFakeSound installs it as the
// device-creation entry point for its own lifetime.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sound/auSoundDeviceU.h"

namespace tw::test {

// One ring buffer as the test sees it; shared with the buffer object that
// the channel owns, so it stays readable after the channel released it.
class TFakeBuffer {
 public:
  TFakeBuffer(uint32_t Size, const TAudioFormat& Format);

  // Every byte starts as this, so written silence can be told apart.
  static constexpr uint8_t Untouched = 0xA5;

  uint32_t Size() const { return FSize; }
  const TAudioFormat& Format() const { return FFormat; }
  std::vector<uint8_t> Data() const;
  // Moves the play cursor (kept on a frame boundary).
  void SetCursor(uint32_t Position);
  uint32_t Cursor() const;
  // How often GetPlayCursor answered Position.
  int CursorReadsOf(uint32_t Position) const;
  int CursorReads() const;
  bool Playing() const;
  bool Released() const;
  int PlayCalls() const;
  std::vector<int32_t> Volumes() const;  // every SetVolume, in order
  int32_t Volume() const;
  int32_t Pan() const;
  int PanCalls() const;

  // Every later operation answers BufferLost.
  void Lose();
  void LoseOnNextPlay();
  void LoseOnNextLock();
  // While held, SetVolume waits inside the call until released.
  void HoldVolumeCalls();
  void ReleaseVolumeCalls();
  // True once a SetVolume call is waiting in the hold.
  bool VolumeCallHeld() const;
  // Blocks until a SetVolume call is waiting in the hold.
  void WaitForHeldVolumeCall();

  // The buffer interface, through TFakeSoundBuffer.
  int32_t Lock(uint32_t Offset, uint32_t Length, void** Ptr1, uint32_t* Len1, void** Ptr2,
               uint32_t* Len2);
  int32_t Unlock();
  int32_t GetPlayCursor(uint32_t* Position);
  int32_t PlayLooping();
  int32_t Stop();
  int32_t SetPlayCursor(uint32_t Position);
  int32_t SetVolume(int32_t Value);
  int32_t SetPan(int32_t Value);
  void Release();

 private:
  const uint32_t FSize;
  const TAudioFormat FFormat;
  mutable std::mutex FMutex;
  std::condition_variable FHoldChanged;
  std::vector<uint8_t> FData;
  std::vector<uint8_t> FStaging;
  uint32_t FLockOffset = 0;
  uint32_t FCursor = 0;
  bool FPlaying = false;
  bool FReleased = false;
  bool FLost = false;
  bool FLoseOnPlay = false;
  bool FLoseOnLock = false;
  bool FHoldVolume = false;
  bool FVolumeHeld = false;
  int FPlayCalls = 0;
  int FPanCalls = 0;
  std::vector<uint32_t> FCursorReads;
  std::vector<int32_t> FVolumes;
  int32_t FVolume = 0;
  int32_t FPan = 0;
};

struct TFakeSoundState;

class TFakeSound {
 public:
  TFakeSound();
  ~TFakeSound();
  TFakeSound(const TFakeSound&) = delete;
  TFakeSound& operator=(const TFakeSound&) = delete;

  // Device calls in order, e.g. "Create()", "SetCooperativeLevel(2)",
  // "SetPrimaryFormat(2,16,44100)", "SetSpeakerConfig(4)".
  std::vector<std::string> Calls() const;
  int DevicesCreated() const;
  int DevicesAlive() const;
  std::vector<std::shared_ptr<TFakeBuffer>> Buffers() const;
  std::shared_ptr<TFakeBuffer> LastBuffer() const;
  int LiveBuffers() const;

  // The format the primary output starts with.
  void SetPrimaryFormat(const TAudioFormat& Format);
  // The highest rate and width the primary output takes; above them it
  // adjusts the format it is given.
  void SetPrimaryLimits(uint32_t MaxRate, uint16_t MaxBits);
  // The result code device creation answers.
  void SetCreateResult(int32_t Code);

 private:
  std::shared_ptr<TFakeSoundState> FState;
  TSoundDeviceCreateFunc FSavedCreate;
};

// The path of a file in tests/sound/data.
std::string SoundDataFile(const std::string& Name);

// The whole PCM of a file, decoded by a reader of its own.
std::vector<uint8_t> DecodeWholeFile(const std::string& FileName);

}  // namespace tw::test
