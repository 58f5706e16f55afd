// Filling a channel's ring buffer: priming it whole, topping up what the
// play cursor left behind, rewinding a looped file in the same fill, and
// serving a short looped section from one decoded copy.
#include <algorithm>
#include <cstring>

#include "sound/auDSMixerU.h"

namespace tw {

namespace {

// A looped section up to a quarter of the ring (one second) is decoded once
// and copied from then on; a longer one is read again from the file at each
// pass, which costs at most four rewinds per ring.
constexpr uint32_t LoopCopyRingFraction = 4;

}  // namespace

void TauDSMixerChannel::Refill() {
  if (!FBuffer) CreateBuffer();
  if (!FPrimed) {
    FillRegion(0, FBufferSize);
    if (FBuffer) FPrimed = true;
    return;
  }
  // Every byte the cursor has left behind since the last refill gets the
  // data due one ring length later.
  const uint32_t Cursor = PlayCursor();
  if (FWritePosition <= Cursor) {
    FillRegion(FWritePosition, Cursor - FWritePosition);
  } else {
    FillRegion(FWritePosition, FBufferSize - FWritePosition);
    if (!FBuffer) return;
    FillRegion(0, Cursor);
  }
  if (FBuffer) FWritePosition = Cursor;
}

bool TauDSMixerChannel::MakeLoopCopy() {
  DropLoopCopy();
  const int64_t Start = FReader->Start();
  const int64_t End = FReader->Length() != 0
                          ? std::min(Start + FReader->Length(), FReader->Duration())
                          : FReader->Duration();
  const uint32_t Limit = FBufferSize / LoopCopyRingFraction;
  const int64_t Expected =
      (End - Start) * FReader->Format().AvgBytesPerSec / AudioTimeUnitsPerSecond;
  if (Expected > int64_t(Limit)) return false;
  // Room for the rounding of times to whole frames; a section that turns
  // out longer than that is left to the file.
  FLoopCopy.resize(size_t(Limit) + 2u * FBlockAlign);
  FReader->Seek(0);
  size_t Got = 0;
  while (Got < FLoopCopy.size()) {
    const int64_t Read = FReader->Read(FLoopCopy.data() + Got, int64_t(FLoopCopy.size() - Got));
    if (Read <= 0) break;
    if (Got == 0) FLoopCopyStartTime = FReader->SampleStartTime();
    FLoopCopyEndTime = FReader->SampleEndTime();
    Got += size_t(Read);
  }
  if (Got == 0 || Got > Limit) {
    DropLoopCopy();
    FReader->Seek(0);
    return false;
  }
  FLoopCopy.resize(Got);
  FLoopCopyAt = 0;
  return true;
}

void TauDSMixerChannel::DropLoopCopy() {
  std::vector<uint8_t>().swap(FLoopCopy);
  FLoopCopyAt = -1;
}

int64_t TauDSMixerChannel::LoopCopyTime(size_t Offset) const {
  return FLoopCopyStartTime + int64_t(__int128(FLoopCopyEndTime - FLoopCopyStartTime) *
                                      int64_t(Offset) / int64_t(FLoopCopy.size()));
}

void TauDSMixerChannel::FillRegion(uint32_t Offset, uint32_t Length) {
  if (Length == 0) return;
  // Decoding goes into the mirror first, so the device region is locked
  // only for the copy.
  uint32_t At = Offset;
  int64_t Left = Length;
  bool Rewound = false;
  while (Left > 0) {
    MixerAssert(Left >= 1, "Read from file not higher than 0");
    if (FEndPosition != -1) {
      std::memset(FMirror.data() + At, PcmSilenceByte(FBitsPerSample), size_t(Left));
      FPositionTimes.Log(At, uint32_t(At + Left), FReader->SampleEndTime(),
                         FReader->SampleEndTime());
      Left = 0;
    } else if (FLoopCopyAt >= 0) {
      const size_t From = size_t(FLoopCopyAt);
      const size_t Count = std::min(size_t(Left), FLoopCopy.size() - From);
      std::memcpy(FMirror.data() + At, FLoopCopy.data() + From, Count);
      FPositionTimes.Log(At, uint32_t(At + Count), LoopCopyTime(From),
                         LoopCopyTime(From + Count));
      At += uint32_t(Count);
      Left -= int64_t(Count);
      FLoopCopyAt = int64_t(From + Count);
      if (size_t(FLoopCopyAt) == FLoopCopy.size()) {
        // The end of the section; Loop is read here as it is at the end
        // of the file.
        if (FLoop) {
          FLoopCopyAt = 0;
        } else {
          FEndPosition = int32_t(At);
          DropLoopCopy();
        }
      }
    } else {
      const int64_t Read = FReader->Read(FMirror.data() + At, Left);
      if (Read > 0) {
        FPositionTimes.Log(At, uint32_t(At + Read), FReader->SampleStartTime(),
                           FReader->SampleEndTime());
        Left -= Read;
        Rewound = false;
      }
      if (Left > 0) {
        // The file has no more data. Looping reads it again from its start
        // in the same fill, so no silence comes between; a file that gives
        // nothing even right after a rewind ends here as well, or this
        // loop would never end.
        At += uint32_t(Read);
        if (!FLoop || Rewound) {
          FEndPosition = int32_t(At);
        } else if (MakeLoopCopy()) {
          continue;
        }
        FReader->Seek(0);
        Rewound = true;
      }
    }
  }

  void* Region1 = nullptr;
  void* Region2 = nullptr;
  uint32_t Length1 = 0;
  uint32_t Length2 = 0;
  int32_t Result = FBuffer->Lock(Offset, Length, &Region1, &Length1, &Region2, &Length2);
  if (Result == SoundResult::BufferLost) {
    HandleBufferLost();
    return;
  }
  CheckSoundResult(Result);
  if (Length1 != Length) {
    FBuffer->Unlock(Region1, Length1, Region2, Length2);
    MixerAssert(false, "Locked different size from requested");
  }
  std::memcpy(Region1, FMirror.data() + Offset, Length);
  Result = FBuffer->Unlock(Region1, Length1, Region2, Length2);
  if (Result == SoundResult::BufferLost) {
    HandleBufferLost();
    return;
  }
  CheckSoundResult(Result);
}

}  // namespace tw
