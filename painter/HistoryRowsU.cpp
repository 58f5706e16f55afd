#include "painter/HistoryRowsU.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw {
namespace {

bool SamePixel(const uint8_t* a, const uint8_t* b, size_t bpp) {
  return a[0] == b[0] && (bpp == 1 || (a[1] == b[1] && a[2] == b[2]));
}

// bytes / bpp, without a division by a number only known at run time: it
// would take longer than checking a whole row of one colour.
size_t PixelsIn(size_t bytes, size_t bpp) { return bpp == 1 ? bytes : bytes / 3; }

// The number of pixels at the start of p[0..n) (n pixels of bpp bytes) equal
// to p's first pixel.
size_t SamePixels(const uint8_t* p, size_t n, size_t bpp) {
  const size_t bytes = n * bpp;
  size_t i = bpp;
#if defined(__SSE2__)
  // Sixteen pixels of three bytes fill three vectors. When the first sixteen
  // pixels are alike (each equals the next), they are the pattern the rest
  // of the run is checked against; as it starts on any pixel, the last 48
  // bytes are one more block. Most rows a step keeps are one colour all
  // along, so 96 bytes at a time are only checked for any difference, and
  // only the block where the run ends is looked at closer.
  auto load = [&](size_t at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
  };
  auto same = [&](size_t at, __m128i v) {
    return uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(load(at), v))));
  };
  if (bytes >= 48 + bpp) {
    const __m128i v0 = load(0), v1 = load(16), v2 = load(32);
    const uint64_t start = same(bpp, v0) & same(16 + bpp, v1) & same(32 + bpp, v2);
    if (start == 0xFFFF) {
      auto differs = [&](size_t at) {
        return _mm_or_si128(_mm_or_si128(_mm_xor_si128(load(at), v0),
                                         _mm_xor_si128(load(at + 16), v1)),
                            _mm_xor_si128(load(at + 32), v2));
      };
      for (i = 48; i + 96 <= bytes; i += 96) {
        const __m128i d = _mm_or_si128(differs(i), differs(i + 48));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(d, _mm_setzero_si128())) != 0xFFFF) break;
      }
      for (;; i += 48) {
        const size_t at = std::min(i, bytes - 48);
        const uint64_t equal = same(at, v0) | same(at + 16, v1) << 16 | same(at + 32, v2) << 32;
        if (equal != 0xFFFFFFFFFFFFull) return PixelsIn(at + size_t(__builtin_ctzll(~equal)), bpp);
        if (at + 48 == bytes) return n;
      }
    }
  }
#endif
  for (; i < bytes; i += bpp)
    if (!SamePixel(p + i, p, bpp)) return PixelsIn(i, bpp);
  return n;
}

void FillPixels(uint8_t* dst, size_t n, int bytesPerPixel, const uint8_t* pixel) {
  if (bytesPerPixel == 1) {
    std::memset(dst, pixel[0], n);
    return;
  }
  const size_t bytes = n * 3;
  dst[0] = pixel[0];
  dst[1] = pixel[1];
  dst[2] = pixel[2];
  // The written part doubles until the run is full.
  for (size_t done = 3; done < bytes; done *= 2)
    std::memcpy(dst + done, dst, std::min(done, bytes - done));
}

}  // namespace

size_t StoreRuns(const uint8_t* src, size_t n, int bytesPerPixel, uint8_t* runs,
                 size_t maxRuns) {
  const size_t bpp = size_t(bytesPerPixel);
  size_t count = 0;
  for (size_t from = 0; from < n; ++count) {
    if (count == maxRuns) return NoRuns;
    const uint8_t* pixel = src + from * bpp;
    const size_t length = SamePixels(pixel, n - from, bpp);
    uint8_t* run = runs + count * RunBytes;
    const uint32_t stored = uint32_t(length);
    std::memcpy(run, &stored, 4);
    run[4] = pixel[0];
    run[5] = bpp == 3 ? pixel[1] : 0;
    run[6] = bpp == 3 ? pixel[2] : 0;
    run[7] = 0;
    from += length;
  }
  return count;
}

const uint8_t* LoadRuns(uint8_t* dst, size_t n, int bytesPerPixel, const uint8_t* runs) {
  for (size_t done = 0; done < n; runs += RunBytes) {
    uint32_t length;
    std::memcpy(&length, runs, 4);
    // A damaged run never writes past the row.
    const size_t take = std::min(size_t(length), n - done);
    if (take == 0) break;
    FillPixels(dst + done * size_t(bytesPerPixel), take, bytesPerPixel, runs + 4);
    done += take;
  }
  return runs;
}

}  // namespace tw
