// The span (scanline) flood fill over a byte map: every 4-connected pixel
// reachable from the seed without crossing a 0x00 byte is reported once as
// part of a horizontal run. The map doubles as the visited marker, so the
// fill needs no extra per-pixel memory; its own work stack holds pending
// runs only, and nothing is done outside the region.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "painter/ByteScanU.h"
#include "painter/PaintCommonU.h"
#include "painter/RasterU.h"

namespace tw {

// How a filled run is marked so that it is not filled again.
enum class TFloodMark {
  // Every byte of the run becomes 0x00: the map ends up filled.
  Fill,
  // Only the run's first byte becomes the visited mark. A run always
  // reaches from border to border, so its first byte speaks for all of it.
  // Other non-zero bytes count as not visited, so a caller may leave its
  // marks in the map and use another mark for the next fill.
  FirstByte,
};
constexpr uint8_t FloodVisited = 0x01;

// How many rows ahead of a run going up or down the fill asks for the map's
// memory: enough to cover the wait while the narrowest runs are found.
constexpr int FloodAheadRows = 8;

// onSpan(y, x0, x1) receives each filled run, pixels x0..x1-1 of row y, in
// the order they are filled. The map's bytes are 0x00 for borders and
// non-zero elsewhere; with FirstByte, a run's first byte becomes visited
// (never 0x00). A seed outside the map or on a 0x00 byte fills nothing.
template <TFloodMark Mark, class TOnSpan>
void FloodSpans(TRaster1& map, TPoint seed, TOnSpan&& onSpan,
                uint8_t visited = FloodVisited) {
  const int w = map.Width();
  const int h = map.Height();
  if (seed.x < 0 || seed.y < 0 || seed.x >= w || seed.y >= h) return;
  if (map.Row(seed.y)[seed.x] == 0) return;

  // A run of row y - dy, pixels xl..xr, was filled; row y is to be explored.
  struct TSegment {
    int y, xl, xr, dy;
  };
  std::vector<TSegment> stack;
  stack.reserve(64);
  auto push = [&](int y, int xl, int xr, int dy) {
    if (y >= 0 && y < h) stack.push_back({y, xl, xr, dy});
  };
  // Takes the run l..r-1 of row y unless it was taken before.
  auto take = [&](uint8_t* row, int y, int l, int r) {
    if constexpr (Mark == TFloodMark::Fill) {
      SetBytes(row + l, 0, r - l);
    } else {
      if (row[l] == visited) return false;
      row[l] = visited;
    }
    onSpan(y, l, r);
    return true;
  };

  {
    uint8_t* row = map.Row(seed.y);
    const int l = FindZeroBackward(row, seed.x);
    const int r = seed.x + 1 + FindZero(row + seed.x + 1, w - seed.x - 1);
    take(row, seed.y, l, r);
    push(seed.y + 1, l, r - 1, 1);
    push(seed.y - 1, l, r - 1, -1);
  }
  while (!stack.empty()) {
    const TSegment s = stack.back();
    stack.pop_back();
    uint8_t* row = map.Row(s.y);
    int x = s.xl;
    if (row[x]) {
      // A narrow region mostly goes on straight: the run here has the ends
      // of the run it continues. That is tested first, and the test only
      // steers a branch, so the processor guesses the ends and goes on to
      // the next row without waiting for this one to arrive from memory.
      const int l = x == 0 || row[x - 1] == 0 ? x : FindZeroBackward(row, x);
      const bool sameEnd = (s.xr + 1 == w || row[s.xr + 1] == 0) &&
                           NoZeroBefore(row + x + 1, s.xr - x, w - x - 1);
      const int r = sameEnd ? s.xr + 1 : x + 1 + FindZero(row + x + 1, w - x - 1);
      if (take(row, s.y, l, r)) {
        if (l < s.xl) push(s.y - s.dy, l, s.xl - 1, -s.dy);
        push(s.y + s.dy, l, r - 1, s.dy);
        // Rows lie far apart in memory, where the processor does not look
        // ahead by itself; the way the fill goes, some rows on, is asked
        // for now.
        const int ahead = s.y + FloodAheadRows * s.dy;
        if (ahead >= 0 && ahead < h)
          for (const uint8_t* a = map.Row(ahead) + l, *end = a + (r - l); a < end; a += 64)
            __builtin_prefetch(a);
        if (r - 1 > s.xr) push(s.y - s.dy, s.xr + 1, r - 1, -s.dy);
      }
      x = r;
    }
    for (;;) {
      ++x;
      if (x > s.xr) break;
      x += FindNonZero(row + x, s.xr + 1 - x);
      if (x > s.xr) break;
      const int l = x;
      const int r = l + 1 + FindZero(row + l + 1, w - l - 1);
      if (take(row, s.y, l, r)) {
        push(s.y + s.dy, l, r - 1, s.dy);
        if (r - 1 > s.xr) push(s.y - s.dy, s.xr + 1, r - 1, -s.dy);
      }
      x = r;
    }
  }
}

}  // namespace tw
