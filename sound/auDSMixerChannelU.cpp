// The sound channel: file opening, the output buffer's life, play control,
// fades, and the refill thread's tick that keeps the ring buffer ahead of
// the play cursor and notices the end of play. Filling the ring is in
// auDSMixerChannelFillU.cpp.
#include <cstring>

#include "sound/auDSMixerU.h"

namespace tw {

TauDSMixerChannel::TauDSMixerChannel(TauDSMixer& Mixer)
    : FMixer(Mixer),
      FLock(std::make_shared<TauChannelLock>()),
      FNotifier(&ThreadNotifier()),
      FClock(&CurrentSoundClock()),
      FAlive(std::make_shared<TauDSMixerChannel*>(this)),
      FAliveWeak(FAlive) {
  FThread = std::make_unique<TauUpdateChannelThread>(*this, FLock, *FClock);
  FThread->SetInterval(TauUpdateChannelThread::DefaultInterval);
}

TauDSMixerChannel::~TauDSMixerChannel() {
  // The thread goes first: once it has ended nothing else touches the
  // channel, so the buffer and the file close without the lock.
  FThread->SetActive(false);
  FThread.reset();
  FAlive.reset();
  try {
    CloseBuffer();
  } catch (...) {
    // Rewinding a file that is being closed anyway may fail; nothing to do.
  }
  FReader.reset();
}

void TauDSMixerChannel::SetFileName(const std::string& Value) {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  CloseBuffer();
  FReader.reset();
  FVolume = 0;
  FPan = 0;
  FLoop = false;
  FStartTime = 0;
  FEndTime = 0;
  FFileName.clear();
  if (Value.empty()) return;

  auto Reader = std::make_unique<TauAudioFileReader>(Value);
  const TAudioFormat& Format = Reader->Format();
  // A file the checks reject is not kept: the channel then has no file,
  // as its empty FileName says.
  FDuration = uint32_t(Reader->Duration() / 10000);
  if (FDuration == 0) throw EError("Audio file is empty.");
  if (Format.Channels != 1 && Format.Channels != 2) throw EError("Invalid number of channels.");
  if (Format.BitsPerSample != 8 && Format.BitsPerSample != 16)
    throw EError("Invalid number of bits per sample.");
  FSampleRate = Format.SampleRate;
  FChannels = Format.Channels;
  FBitsPerSample = Format.BitsPerSample;
  FBlockAlign = Format.BlockAlign;
  FReader = std::move(Reader);
  SetStartTime(FStartTime);
  SetEndTime(FEndTime);
  FFileName = Value;
}

void TauDSMixerChannel::SetVolume(int32_t Value) {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  FVolume = Value;
  if (FBuffer) CheckSoundResult(FBuffer->SetVolume(Value));
}

void TauDSMixerChannel::SetPan(int32_t Value) {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  FPan = Value;
  if (FBuffer) CheckSoundResult(FBuffer->SetPan(Value));
}

void TauDSMixerChannel::SetStartTime(int32_t Value) {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  if (!FReader) {
    FStartTime = Value;
    return;
  }
  const int64_t Start = int64_t(Value) * 10000;
  if (Start == FReader->Start()) return;
  FReader->SetStart(Start);
  FStartTime = Value;
  // A copy of the old section must not play on; the reader takes over at
  // its next rewind.
  DropLoopCopy();
  // The play length follows the new start.
  SetEndTime(FEndTime);
}

void TauDSMixerChannel::SetEndTime(int32_t Value) {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  if (!FReader) {
    FEndTime = Value;
    return;
  }
  const int64_t Length = int64_t(Value) * 10000 - FReader->Start();
  if (Length == FReader->Length()) return;
  FReader->SetLength(Length);
  FEndTime = int32_t(Length / 10000 + FStartTime);
  DropLoopCopy();
}

void TauDSMixerChannel::Play() {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  if (FState == TauChannelState::Playing) return;
  if (!FBuffer) CreateBuffer();
  if (!FPrimed) {
    // A stopped channel starts at StartTime, also when StartTime moved
    // earlier after the reader was rewound to the old one.
    FReader->Seek(FReader->Start());
    Refill();
  }
  if (!FBuffer) return;  // lost while priming, and handled there
  const int32_t Result = FBuffer->PlayLooping();
  if (Result == SoundResult::BufferLost) {
    HandleBufferLost();
    return;
  }
  CheckSoundResult(Result);
  FState = TauChannelState::Playing;
  FThread->SetActive(true);
}

void TauDSMixerChannel::Pause() {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  if (!FBuffer) CreateBuffer();
  if (FState != TauChannelState::Playing) return;
  FThread->SetActive(false);
  CheckSoundResult(FBuffer->Stop());
  FState = TauChannelState::Paused;
  FFading = false;
}

void TauDSMixerChannel::Stop() {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  StopOutput(false);
}

void TauDSMixerChannel::FadeTo(uint32_t Time, int32_t EndVolume) {
  TauChannelLockGuard Guard(*FLock);
  if (!Guard.Owns()) return;
  if (EndVolume > 0 || EndVolume < -10000) throw EError("Fade error: EndVolume out of range");
  if (Time > 60000) throw EError("Fade error: Too long fade time");
  if (FState != TauChannelState::Playing) return;
  const uint32_t Now = FClock->TickCount();
  FFadeStartTick = Now;
  FFadeEndTick = Now + Time;
  FFadeFromVolume = FVolume;
  FFadeToVolume = EndVolume;
  FFading = true;
}

void TauDSMixerChannel::StopOutput(bool IgnoreDeviceErrors) {
  if (!FBuffer) return;
  const auto Check = [IgnoreDeviceErrors](int32_t Result) {
    if (!IgnoreDeviceErrors) CheckSoundResult(Result);
  };
  // The thread is gone already when the channel is being destroyed.
  if (FThread) FThread->SetActive(false);
  Check(FBuffer->Stop());
  FState = TauChannelState::Stopped;
  FFading = false;
  Check(FBuffer->SetPlayCursor(0));
  FWritePosition = 0;
  // The reader clamps this to its start, so the channel rewinds to StartTime.
  if (FReader) FReader->Seek(0);
  DropLoopCopy();
  FPrimed = false;
  FEndPosition = -1;
  FDraining = false;
}

void TauDSMixerChannel::CreateBuffer() {
  if (!FReader) throw EError("No file opened");
  const TAudioFormat& Format = FReader->Format();
  FBufferSize = Format.AvgBytesPerSec * FBufferTime / 1000;
  FEndThreshold = FBufferSize * 40 / 100;
  FMirror.assign(FBufferSize, 0);
  std::unique_ptr<TSoundBuffer> Buffer;
  CheckSoundResult(FMixer.GetDevice().CreateStreamBuffer(FBufferSize, Format, &Buffer));
  if (!Buffer) CheckSoundResult(SoundResult::Generic);
  FBuffer = std::move(Buffer);
  CheckSoundResult(FBuffer->SetVolume(FVolume));
  CheckSoundResult(FBuffer->SetPan(FPan));
}

void TauDSMixerChannel::CloseBuffer() {
  if (FBuffer) {
    // The buffer may be the one the device took away: its answers no
    // longer matter.
    StopOutput(true);
    FBuffer.reset();
  }
  std::vector<uint8_t>().swap(FMirror);
  DropLoopCopy();
  FEndThreshold = 0;
  FState = TauChannelState::Stopped;
  FWritePosition = 0;
  FPrimed = false;
  FEndPosition = -1;
  FDraining = false;
}

void TauDSMixerChannel::CloseBufferLocked() {
  // The mixer is closing the device under this buffer, so this waits for a
  // running tick instead of giving up.
  FLock->Lock();
  try {
    CloseBuffer();
  } catch (...) {
    FLock->Unlock();
    throw;
  }
  FLock->Unlock();
}

void TauDSMixerChannel::HandleBufferLost() {
  CloseBuffer();
  if (OnBufferLost) OnBufferLost(*this);
}

uint32_t TauDSMixerChannel::PlayCursor() {
  uint32_t Position = 0;
  CheckSoundResult(FBuffer->GetPlayCursor(&Position));
  return Position;
}

int64_t TauDSMixerChannel::DistanceToEnd() {
  int64_t Distance = int64_t(FEndPosition) - int64_t(PlayCursor());
  if (Distance <= 0) Distance += FBufferSize;
  return Distance;
}

void TauDSMixerChannel::Tick() {
  try {
    TickSteps();
  } catch (const EDirectXError& Error) {
    // Whichever operation of the tick meets the loss, the channel falls
    // back to Stopped without a buffer, as it does when a fill meets it.
    if (Error.ErrorCode != SoundResult::BufferLost || !FBuffer) throw;
    HandleBufferLost();
  }
}

void TauDSMixerChannel::TickSteps() {
  int64_t Distance = 0;
  bool HaveDistance = false;
  if (FDraining) {
    Distance = DistanceToEnd();
    HaveDistance = true;
    // The distance jumps from small to large once the cursor passes the
    // end of the data: EndThreshold exceeds the cursor's advance per tick.
    if (Distance > FEndThreshold) {
      StopOutput(false);
      Notify(ChannelNotifyEnd);
      return;
    }
  }
  const uint32_t Now = FClock->TickCount();
  if (uint32_t(Now - FLastRefillTick) >= FThread->Interval()) {
    FLastRefillTick = Now;
    if (FEndPosition != -1) {
      if (!HaveDistance) Distance = DistanceToEnd();
      if (Distance <= FEndThreshold) FDraining = true;
    }
    Refill();
  }
  if (FFading && FState == TauChannelState::Playing && FBuffer) {
    // Compared as a signed difference so the tick counter's wrap does not
    // end a fade early.
    if (int32_t(Now - FFadeEndTick) >= 0) {
      FFading = false;
      SetVolume(FFadeToVolume);
      Notify(ChannelNotifyFadeEnd);
    } else {
      // Wide arithmetic so no volume pair can overflow; the division
      // truncates toward zero.
      const int64_t Step = (int64_t(FFadeToVolume) - FFadeFromVolume) *
                           int32_t(Now - FFadeStartTick) / int32_t(FFadeEndTick - FFadeStartTick);
      SetVolume(int32_t(FFadeFromVolume + Step));
    }
  }
}

void TauDSMixerChannel::Notify(uint32_t Message) {
  FNotifier->Post([Alive = FAliveWeak, Message] {
    if (const std::shared_ptr<TauDSMixerChannel*> Channel = Alive.lock())
      (*Channel)->HandleNotification(Message);
  });
}

void TauDSMixerChannel::HandleNotification(uint32_t Message) {
  if (Message == ChannelNotifyEnd) {
    if (OnEnd) OnEnd(*this);
  } else if (Message == ChannelNotifyFadeEnd) {
    if (OnFadeEnd) OnFadeEnd(*this);
  }
}

}  // namespace tw
