// The recording sound device for the mixer's tests.
#include "tests/sound/FakeSoundDevice.h"

#include <algorithm>
#include <cstring>

#include "sound/auAudioFileReadU.h"

namespace tw::test {

TFakeBuffer::TFakeBuffer(uint32_t Size, const TAudioFormat& Format)
    : FSize(Size), FFormat(Format), FData(Size, Untouched) {}

std::vector<uint8_t> TFakeBuffer::Data() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FData;
}

void TFakeBuffer::SetCursor(uint32_t Position) {
  std::lock_guard<std::mutex> Guard(FMutex);
  FCursor = Position % FSize;
  FCursor -= FCursor % FFormat.BlockAlign;
}

uint32_t TFakeBuffer::Cursor() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FCursor;
}

int TFakeBuffer::CursorReadsOf(uint32_t Position) const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return int(std::count(FCursorReads.begin(), FCursorReads.end(), Position));
}

int TFakeBuffer::CursorReads() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return int(FCursorReads.size());
}

bool TFakeBuffer::Playing() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FPlaying;
}

bool TFakeBuffer::Released() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FReleased;
}

int TFakeBuffer::PlayCalls() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FPlayCalls;
}

std::vector<int32_t> TFakeBuffer::Volumes() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FVolumes;
}

int32_t TFakeBuffer::Volume() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FVolume;
}

int32_t TFakeBuffer::Pan() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FPan;
}

int TFakeBuffer::PanCalls() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FPanCalls;
}

void TFakeBuffer::Lose() {
  std::lock_guard<std::mutex> Guard(FMutex);
  FLost = true;
}

void TFakeBuffer::LoseOnNextPlay() {
  std::lock_guard<std::mutex> Guard(FMutex);
  FLoseOnPlay = true;
}

void TFakeBuffer::LoseOnNextLock() {
  std::lock_guard<std::mutex> Guard(FMutex);
  FLoseOnLock = true;
}

void TFakeBuffer::HoldVolumeCalls() {
  std::lock_guard<std::mutex> Guard(FMutex);
  FHoldVolume = true;
}

void TFakeBuffer::ReleaseVolumeCalls() {
  std::lock_guard<std::mutex> Guard(FMutex);
  FHoldVolume = false;
  FHoldChanged.notify_all();
}

bool TFakeBuffer::VolumeCallHeld() const {
  std::lock_guard<std::mutex> Guard(FMutex);
  return FVolumeHeld;
}

void TFakeBuffer::WaitForHeldVolumeCall() {
  std::unique_lock<std::mutex> Guard(FMutex);
  FHoldChanged.wait(Guard, [this] { return FVolumeHeld; });
}

int32_t TFakeBuffer::Lock(uint32_t Offset, uint32_t Length, void** Ptr1, uint32_t* Len1,
                          void** Ptr2, uint32_t* Len2) {
  std::lock_guard<std::mutex> Guard(FMutex);
  if (FLoseOnLock) {
    FLoseOnLock = false;
    FLost = true;
  }
  if (FLost) return SoundResult::BufferLost;
  if (Offset >= FSize || Length == 0 || Length > FSize) return SoundResult::InvalidParam;
  // The caller writes into a staging copy that Unlock moves into the ring
  // under the mutex, so the test can read the ring at any time.
  FStaging.assign(Length, 0);
  FLockOffset = Offset;
  const uint32_t First = std::min(Length, FSize - Offset);
  *Ptr1 = FStaging.data();
  *Len1 = First;
  *Ptr2 = First < Length ? FStaging.data() + First : nullptr;
  *Len2 = Length - First;
  return SoundResult::Ok;
}

int32_t TFakeBuffer::Unlock() {
  std::lock_guard<std::mutex> Guard(FMutex);
  if (FLost) return SoundResult::BufferLost;
  for (size_t Index = 0; Index < FStaging.size(); ++Index)
    FData[(FLockOffset + Index) % FSize] = FStaging[Index];
  FStaging.clear();
  return SoundResult::Ok;
}

int32_t TFakeBuffer::GetPlayCursor(uint32_t* Position) {
  std::lock_guard<std::mutex> Guard(FMutex);
  if (FLost) return SoundResult::BufferLost;
  *Position = FCursor;
  FCursorReads.push_back(*Position);
  return SoundResult::Ok;
}

int32_t TFakeBuffer::PlayLooping() {
  std::lock_guard<std::mutex> Guard(FMutex);
  ++FPlayCalls;
  if (FLoseOnPlay) {
    FLoseOnPlay = false;
    FLost = true;
  }
  if (FLost) return SoundResult::BufferLost;
  FPlaying = true;
  return SoundResult::Ok;
}

int32_t TFakeBuffer::Stop() {
  std::lock_guard<std::mutex> Guard(FMutex);
  if (FLost) return SoundResult::BufferLost;
  FPlaying = false;
  return SoundResult::Ok;
}

int32_t TFakeBuffer::SetPlayCursor(uint32_t Position) {
  std::lock_guard<std::mutex> Guard(FMutex);
  if (FLost) return SoundResult::BufferLost;
  if (Position >= FSize) return SoundResult::InvalidParam;
  FCursor = Position;
  return SoundResult::Ok;
}

int32_t TFakeBuffer::SetVolume(int32_t Value) {
  std::unique_lock<std::mutex> Guard(FMutex);
  FVolumeHeld = FHoldVolume;
  FHoldChanged.notify_all();
  FHoldChanged.wait(Guard, [this] { return !FHoldVolume; });
  FVolumeHeld = false;
  if (FLost) return SoundResult::BufferLost;
  if (Value > 0 || Value < -10000) return SoundResult::InvalidParam;
  FVolume = Value;
  FVolumes.push_back(Value);
  return SoundResult::Ok;
}

int32_t TFakeBuffer::SetPan(int32_t Value) {
  std::lock_guard<std::mutex> Guard(FMutex);
  ++FPanCalls;
  if (FLost) return SoundResult::BufferLost;
  if (Value > 10000 || Value < -10000) return SoundResult::InvalidParam;
  FPan = Value;
  return SoundResult::Ok;
}

void TFakeBuffer::Release() {
  std::lock_guard<std::mutex> Guard(FMutex);
  FReleased = true;
  FPlaying = false;
}

struct TFakeSoundState {
  mutable std::mutex Mutex;
  std::vector<std::string> Calls;
  std::vector<std::shared_ptr<TFakeBuffer>> Buffers;
  int DevicesCreated = 0;
  int DevicesAlive = 0;
  TAudioFormat Primary{1, 2, 22050, 88200, 4, 16, 0};
  uint32_t MaxRate = 48000;
  uint16_t MaxBits = 16;
  int32_t CreateResult = 0;

  void Record(const std::string& Call) {
    std::lock_guard<std::mutex> Guard(Mutex);
    Calls.push_back(Call);
  }
};

namespace {

std::shared_ptr<TFakeSoundState> CurrentState;

class TFakeSoundBuffer : public TSoundBuffer {
 public:
  explicit TFakeSoundBuffer(std::shared_ptr<TFakeBuffer> Buffer) : FBuffer(std::move(Buffer)) {}
  ~TFakeSoundBuffer() override { FBuffer->Release(); }
  int32_t Lock(uint32_t Offset, uint32_t Length, void** Ptr1, uint32_t* Len1, void** Ptr2,
               uint32_t* Len2) override {
    return FBuffer->Lock(Offset, Length, Ptr1, Len1, Ptr2, Len2);
  }
  int32_t Unlock(void*, uint32_t, void*, uint32_t) override { return FBuffer->Unlock(); }
  int32_t GetPlayCursor(uint32_t* Position) override { return FBuffer->GetPlayCursor(Position); }
  int32_t PlayLooping() override { return FBuffer->PlayLooping(); }
  int32_t Stop() override { return FBuffer->Stop(); }
  int32_t SetPlayCursor(uint32_t Position) override { return FBuffer->SetPlayCursor(Position); }
  int32_t SetVolume(int32_t Volume) override { return FBuffer->SetVolume(Volume); }
  int32_t SetPan(int32_t Pan) override { return FBuffer->SetPan(Pan); }

 private:
  std::shared_ptr<TFakeBuffer> FBuffer;
};

class TFakeSoundDevice : public TSoundDevice {
 public:
  explicit TFakeSoundDevice(std::shared_ptr<TFakeSoundState> State) : FState(std::move(State)) {
    std::lock_guard<std::mutex> Guard(FState->Mutex);
    ++FState->DevicesCreated;
    ++FState->DevicesAlive;
  }
  ~TFakeSoundDevice() override {
    std::lock_guard<std::mutex> Guard(FState->Mutex);
    --FState->DevicesAlive;
    FState->Calls.push_back("Destroy()");
  }
  int32_t SetCooperativeLevel(int Level) override {
    FState->Record("SetCooperativeLevel(" + std::to_string(Level) + ")");
    return Level >= 1 && Level <= 3 ? SoundResult::Ok : SoundResult::InvalidParam;
  }
  int32_t CreatePrimaryOutput() override {
    FState->Record("CreatePrimaryOutput()");
    return SoundResult::Ok;
  }
  int32_t GetPrimaryFormat(TAudioFormat* Format) override {
    FState->Record("GetPrimaryFormat()");
    std::lock_guard<std::mutex> Guard(FState->Mutex);
    *Format = FState->Primary;
    return SoundResult::Ok;
  }
  int32_t SetPrimaryFormat(const TAudioFormat& Format) override {
    FState->Record("SetPrimaryFormat(" + std::to_string(Format.Channels) + "," +
                   std::to_string(Format.BitsPerSample) + "," +
                   std::to_string(Format.SampleRate) + ")");
    std::lock_guard<std::mutex> Guard(FState->Mutex);
    TAudioFormat Taken = Format;
    Taken.SampleRate = std::min(Taken.SampleRate, FState->MaxRate);
    Taken.BitsPerSample = std::min(Taken.BitsPerSample, FState->MaxBits);
    Taken.BlockAlign = uint16_t(Taken.Channels * Taken.BitsPerSample / 8);
    Taken.AvgBytesPerSec = Taken.BlockAlign * Taken.SampleRate;
    FState->Primary = Taken;
    return SoundResult::Ok;
  }
  int32_t SetSpeakerConfig(uint32_t Config) override {
    FState->Record("SetSpeakerConfig(" + std::to_string(Config) + ")");
    return SoundResult::Ok;
  }
  int32_t PlayPrimaryLooping() override {
    FState->Record("PlayPrimaryLooping()");
    return SoundResult::Ok;
  }
  int32_t CreateStreamBuffer(uint32_t Size, const TAudioFormat& Format,
                             std::unique_ptr<TSoundBuffer>* Buffer) override {
    FState->Record("CreateStreamBuffer(" + std::to_string(Size) + ")");
    if (Size == 0 || Format.BlockAlign == 0 || Size % Format.BlockAlign != 0)
      return SoundResult::InvalidParam;
    std::lock_guard<std::mutex> Guard(FState->Mutex);
    auto Shared = std::make_shared<TFakeBuffer>(Size, Format);
    FState->Buffers.push_back(Shared);
    *Buffer = std::make_unique<TFakeSoundBuffer>(Shared);
    return SoundResult::Ok;
  }

 private:
  std::shared_ptr<TFakeSoundState> FState;
};

int32_t CreateFakeDevice(const std::string& Id, std::unique_ptr<TSoundDevice>* Device) {
  CurrentState->Record("Create(" + Id + ")");
  int32_t Result;
  {
    std::lock_guard<std::mutex> Guard(CurrentState->Mutex);
    Result = CurrentState->CreateResult;
  }
  if (Result != SoundResult::Ok) return Result;
  *Device = std::make_unique<TFakeSoundDevice>(CurrentState);
  return SoundResult::Ok;
}

}  // namespace

TFakeSound::TFakeSound()
    : FState(std::make_shared<TFakeSoundState>()), FSavedCreate(SoundDeviceCreate) {
  CurrentState = FState;
  SoundDeviceCreate = &CreateFakeDevice;
}

TFakeSound::~TFakeSound() {
  SoundDeviceCreate = FSavedCreate;
  CurrentState.reset();
}

std::vector<std::string> TFakeSound::Calls() const {
  std::lock_guard<std::mutex> Guard(FState->Mutex);
  return FState->Calls;
}

int TFakeSound::DevicesCreated() const {
  std::lock_guard<std::mutex> Guard(FState->Mutex);
  return FState->DevicesCreated;
}

int TFakeSound::DevicesAlive() const {
  std::lock_guard<std::mutex> Guard(FState->Mutex);
  return FState->DevicesAlive;
}

std::vector<std::shared_ptr<TFakeBuffer>> TFakeSound::Buffers() const {
  std::lock_guard<std::mutex> Guard(FState->Mutex);
  return FState->Buffers;
}

std::shared_ptr<TFakeBuffer> TFakeSound::LastBuffer() const {
  std::lock_guard<std::mutex> Guard(FState->Mutex);
  return FState->Buffers.empty() ? nullptr : FState->Buffers.back();
}

int TFakeSound::LiveBuffers() const {
  int Live = 0;
  for (const std::shared_ptr<TFakeBuffer>& Buffer : Buffers())
    if (!Buffer->Released()) ++Live;
  return Live;
}

void TFakeSound::SetPrimaryFormat(const TAudioFormat& Format) {
  std::lock_guard<std::mutex> Guard(FState->Mutex);
  FState->Primary = Format;
}

void TFakeSound::SetPrimaryLimits(uint32_t MaxRate, uint16_t MaxBits) {
  std::lock_guard<std::mutex> Guard(FState->Mutex);
  FState->MaxRate = MaxRate;
  FState->MaxBits = MaxBits;
}

void TFakeSound::SetCreateResult(int32_t Code) {
  std::lock_guard<std::mutex> Guard(FState->Mutex);
  FState->CreateResult = Code;
}


std::string SoundDataFile(const std::string& Name) {
  return std::string(TINTWELL_TEST_DATA) + "/sound/data/" + Name;
}

std::vector<uint8_t> DecodeWholeFile(const std::string& FileName) {
  TauAudioFileReader Reader(FileName);
  std::vector<uint8_t> Result;
  std::vector<uint8_t> Block(65536);
  for (;;) {
    const int64_t Read = Reader.Read(Block.data(), int64_t(Block.size()));
    if (Read <= 0) break;
    Result.insert(Result.end(), Block.begin(), Block.begin() + Read);
  }
  return Result;
}

}  // namespace tw::test
