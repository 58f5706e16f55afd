// TPositionTimes: a channel's log of which media times went to which bytes
// of its ring buffer. It keeps the last 50 refilled ranges in a ring; the
// channel writes it on every fill, and it is there so a position in the ring
// can be traced back to the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tw {

class TPositionTimes {
 public:
  static constexpr int Count = 50;

  struct TEntry {
    uint32_t PositionStart = 0;
    uint32_t PositionEnd = 0;
    int64_t TimeStart = 0;  // 100-nanosecond units
    int64_t TimeEnd = 0;
  };

  // Records that the bytes [PositionStart, PositionEnd) of the ring hold
  // the media from TimeStart to TimeEnd. An empty or reversed byte range, or
  // reversed times, is an internal error.
  void Log(uint32_t PositionStart, uint32_t PositionEnd, int64_t TimeStart, int64_t TimeEnd);

  const TEntry& Entry(int Index) const { return FEntries.at(std::size_t(Index)); }
  // The entry the next Log writes (0..Count-1).
  int NextIndex() const { return FNextIndex; }

 private:
  std::array<TEntry, Count> FEntries{};
  int FNextIndex = 0;
};

}  // namespace tw
