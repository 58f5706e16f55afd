// The channel's position log.
#include "sound/auPositionTimesU.h"

#include "sound/auDirectXErrorU.h"

namespace tw {

void TPositionTimes::Log(uint32_t PositionStart, uint32_t PositionEnd, int64_t TimeStart,
                         int64_t TimeEnd) {
  TEntry& Entry = FEntries[std::size_t(FNextIndex)];
  Entry.PositionStart = PositionStart;
  Entry.PositionEnd = PositionEnd;
  Entry.TimeStart = TimeStart;
  Entry.TimeEnd = TimeEnd;
  MixerAssert(TimeStart <= TimeEnd, "Internal Error: Time Start higher then Time End");
  MixerAssert(PositionStart < PositionEnd,
              "Internal Error: Position Start not inferior to Position End");
  FNextIndex = (FNextIndex + 1) % Count;
}

}  // namespace tw
