// The software sound device and its buffers: argument checks and the
// caller's side of every operation; the mixing is the engine's.
#include "sound/auSoftwareDeviceU.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "sound/auSoundEngineU.h"

namespace tw {

namespace {

// The largest ring a buffer may have; more is surely a caller's mistake.
constexpr uint32_t MaxRingBytes = 0x0FFFFFFF;

bool IsPlayableFormat(const TAudioFormat& Format) {
  return Format.FormatTag == 1 && (Format.Channels == 1 || Format.Channels == 2) &&
         (Format.BitsPerSample == 8 || Format.BitsPerSample == 16) &&
         Format.SampleRate >= 100 && Format.SampleRate <= 100000 &&
         Format.BlockAlign == Format.Channels * Format.BitsPerSample / 8;
}

class TSoftwareSoundBuffer : public TSoundBuffer {
 public:
  TSoftwareSoundBuffer(std::shared_ptr<TSoundEngine> Engine, std::shared_ptr<TSoundRing> Ring)
      : FEngine(std::move(Engine)), FRing(std::move(Ring)) {}
  ~TSoftwareSoundBuffer() override { FEngine->RemoveRing(FRing.get()); }

  int32_t Lock(uint32_t Offset, uint32_t Length, void** Ptr1, uint32_t* Len1, void** Ptr2,
               uint32_t* Len2) override {
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    const uint32_t Size = FRing->Size;
    if (!Ptr1 || !Len1 || Offset >= Size || Length == 0 || Length > Size)
      return SoundResult::InvalidParam;
    const uint32_t First = std::min(Length, Size - Offset);
    *Ptr1 = FRing->Staging.data() + Offset;
    *Len1 = First;
    // Without somewhere to put the wrapped part only the first is granted.
    if (Ptr2 && Len2) {
      *Ptr2 = Length > First ? FRing->Staging.data() : nullptr;
      *Len2 = Length - First;
    }
    return SoundResult::Ok;
  }

  int32_t Unlock(void* Ptr1, uint32_t Len1, void* Ptr2, uint32_t Len2) override {
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    uint32_t Offset1 = 0;
    uint32_t Offset2 = 0;
    if (!StagingOffset(Ptr1, Len1, &Offset1) || (Ptr2 && !StagingOffset(Ptr2, Len2, &Offset2)) ||
        (!Ptr2 && Len2 != 0))
      return SoundResult::InvalidParam;
    std::lock_guard Guard(FEngine->Mutex);
    auto& R = *FRing;
    std::memcpy(R.Data.data() + Offset1, R.Staging.data() + Offset1, Len1);
    if (Ptr2) std::memcpy(R.Data.data() + Offset2, R.Staging.data() + Offset2, Len2);
    return SoundResult::Ok;
  }

  int32_t GetPlayCursor(uint32_t* Position) override {
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    if (!Position) return SoundResult::InvalidParam;
    *Position = FRing->Cursor.load();
    return SoundResult::Ok;
  }

  int32_t PlayLooping() override {
    std::lock_guard Guard(FEngine->Mutex);
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    if (!FRing->Playing) {
      FRing->Playing = true;
      FRing->Restart = true;
    }
    return SoundResult::Ok;
  }

  int32_t Stop() override {
    std::lock_guard Guard(FEngine->Mutex);
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    FRing->Playing = false;
    return SoundResult::Ok;
  }

  int32_t SetPlayCursor(uint32_t Position) override {
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    if (Position >= FRing->Size) return SoundResult::InvalidParam;
    std::lock_guard Guard(FEngine->Mutex);
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    FRing->Cursor.store(Position - Position % FRing->FrameBytes);
    FRing->Restart = true;
    return SoundResult::Ok;
  }

  int32_t SetVolume(int32_t Volume) override {
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    if (Volume < SoundVolumeMin || Volume > SoundVolumeMax) return SoundResult::InvalidParam;
    std::lock_guard Guard(FEngine->Mutex);
    FRing->Volume = Volume;
    return SoundResult::Ok;
  }

  int32_t SetPan(int32_t Pan) override {
    if (FRing->Lost.load()) return SoundResult::BufferLost;
    if (Pan < SoundPanLeft || Pan > SoundPanRight) return SoundResult::InvalidParam;
    std::lock_guard Guard(FEngine->Mutex);
    FRing->Pan = Pan;
    return SoundResult::Ok;
  }

 private:
  // Where a pointer handed out by Lock lies in the ring, when it is one
  // and the length stays inside the ring.
  bool StagingOffset(const void* Ptr, uint32_t Length, uint32_t* Offset) const {
    const auto* Begin = FRing->Staging.data();
    const auto* At = static_cast<const uint8_t*>(Ptr);
    if (!At || At < Begin || At >= Begin + FRing->Size) return false;
    *Offset = uint32_t(At - Begin);
    return Length <= FRing->Size - *Offset;
  }

  std::shared_ptr<TSoundEngine> FEngine;
  std::shared_ptr<TSoundRing> FRing;
};

class TSoftwareSoundDevice : public TSoundDevice {
 public:
  explicit TSoftwareSoundDevice(std::shared_ptr<TSoundEngine> Engine)
      : FEngine(std::move(Engine)) {}
  ~TSoftwareSoundDevice() override { FEngine->Close(); }

  int32_t SetCooperativeLevel(int Level) override {
    if (Level < SoundLevelNormal || Level > SoundLevelExclusive) return SoundResult::InvalidParam;
    FLevel = Level;
    return SoundResult::Ok;
  }
  // The primary output is the engine's, running since the device opened.
  int32_t CreatePrimaryOutput() override { return SoundResult::Ok; }
  int32_t GetPrimaryFormat(TAudioFormat* Format) override {
    if (!Format) return SoundResult::InvalidParam;
    *Format = FEngine->PrimaryFormat();
    return SoundResult::Ok;
  }
  int32_t SetPrimaryFormat(const TAudioFormat& Format) override {
    if (!IsPlayableFormat(Format)) return SoundResult::BadFormat;
    FEngine->SetPrimaryFormat(Format);
    return SoundResult::Ok;
  }
  int32_t SetSpeakerConfig(uint32_t Config) override {
    FSpeakerConfig = Config;
    return SoundResult::Ok;
  }
  int32_t PlayPrimaryLooping() override { return SoundResult::Ok; }

  int32_t CreateStreamBuffer(uint32_t Size, const TAudioFormat& Format,
                             std::unique_ptr<TSoundBuffer>* Buffer) override {
    if (!Buffer) return SoundResult::InvalidParam;
    if (!IsPlayableFormat(Format)) return SoundResult::BadFormat;
    if (Size == 0 || Size % Format.BlockAlign != 0 || Size > MaxRingBytes)
      return SoundResult::InvalidParam;
    std::shared_ptr<TSoundRing> Ring;
    try {
      Ring = std::make_shared<TSoundRing>(Size, Format, FEngine->OutputRate());
    } catch (const std::bad_alloc&) {
      return SoundResult::OutOfMemory;
    }
    FEngine->AddRing(Ring);
    *Buffer = std::make_unique<TSoftwareSoundBuffer>(FEngine, std::move(Ring));
    return SoundResult::Ok;
  }

  void SimulateLoss() { FEngine->SimulateLoss(); }
  uint32_t Step(uint32_t Frames) { return FEngine->Step(Frames); }

 private:
  std::shared_ptr<TSoundEngine> FEngine;
  // Accepted and kept; a software device shares the output with everyone
  // and has no speakers to configure.
  [[maybe_unused]] int FLevel = SoundLevelNormal;
  [[maybe_unused]] uint32_t FSpeakerConfig = 0;
};

}  // namespace

int32_t CreateSoftwareSoundDevice(const std::string& Id, std::unique_ptr<TSoundDevice>* Device) {
  if (!Device) return SoundResult::InvalidParam;
  auto Engine = std::make_shared<TSoundEngine>(CurrentSoundSinkChoice(), Id);
  const int32_t Result = Engine->Open();
  if (Result != SoundResult::Ok) return Result;
  *Device = std::make_unique<TSoftwareSoundDevice>(std::move(Engine));
  return SoundResult::Ok;
}

void SimulateSoundDeviceLoss(TSoundDevice& Device) {
  if (auto* Software = dynamic_cast<TSoftwareSoundDevice*>(&Device)) Software->SimulateLoss();
}

uint32_t StepSoundDevice(TSoundDevice& Device, uint32_t Frames) {
  if (auto* Software = dynamic_cast<TSoftwareSoundDevice*>(&Device)) return Software->Step(Frames);
  return 0;
}

}  // namespace tw
