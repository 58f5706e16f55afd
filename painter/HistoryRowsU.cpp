#include "painter/HistoryRowsU.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw {
namespace {

// A run takes four bytes: the pixel's bytes, then the length less one.
constexpr size_t RunBytes = 4;

// Offset of the first byte where a and b differ, or n.
size_t FirstMismatch(const uint8_t* a, const uint8_t* b, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const unsigned equal = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)));
    if (equal != 0xFFFF) return i + size_t(__builtin_ctz(~equal));
  }
#endif
  for (; i + 8 <= n; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    if (x != y) return i + size_t(__builtin_ctzll(x ^ y)) / 8;
  }
  for (; i < n; ++i)
    if (a[i] != b[i]) return i;
  return n;
}

void FillPixels(uint8_t* dst, int n, int bytesPerPixel, const uint8_t* pixel) {
  if (bytesPerPixel == 1) {
    std::memset(dst, pixel[0], size_t(n));
    return;
  }
  const size_t bytes = size_t(n) * 3;
  dst[0] = pixel[0];
  dst[1] = pixel[1];
  dst[2] = pixel[2];
  // The written part doubles until the run is full.
  for (size_t done = 3; done < bytes; done *= 2)
    std::memcpy(dst + done, dst, std::min(done, bytes - done));
}

}  // namespace

uint32_t StoreRow(const uint8_t* src, int n, int bytesPerPixel, uint8_t* slot) {
  const size_t bpp = size_t(bytesPerPixel);
  const size_t room = size_t(n) * bpp;
  const size_t maxRuns = room / RunBytes;
  // Pixel j + 1 equals pixel j exactly where the row and the row shifted by
  // one pixel agree.
  const size_t compared = room - bpp;
  // Flat rows are the most common; the library's compare tells them fastest.
  const bool flat = std::memcmp(src, src + bpp, compared) == 0;
  uint32_t runs = 0;
  for (size_t from = 0; from < room;) {
    if (runs == maxRuns) {
      std::memcpy(slot, src, room);
      return RawRow;
    }
    const size_t mismatch =
        flat ? compared : from + FirstMismatch(src + from, src + from + bpp, compared - from);
    const size_t end = (mismatch / bpp + 1) * bpp;
    uint8_t* run = slot + runs * RunBytes;
    run[0] = src[from];
    run[1] = bpp == 3 ? src[from + 1] : 0;
    run[2] = bpp == 3 ? src[from + 2] : 0;
    run[3] = uint8_t((end - from) / bpp - 1);
    ++runs;
    from = end;
  }
  return runs;
}

size_t RowBytes(uint32_t header, int n, int bytesPerPixel) {
  return header == RawRow ? size_t(n) * size_t(bytesPerPixel) : header * RunBytes;
}

void LoadRow(uint8_t* dst, int n, int bytesPerPixel, uint32_t header, const uint8_t* slot) {
  if (header == RawRow) {
    std::memcpy(dst, slot, size_t(n) * size_t(bytesPerPixel));
    return;
  }
  for (uint32_t r = 0; r < header; ++r) {
    const uint8_t* run = slot + r * RunBytes;
    const int length = run[3] + 1;
    FillPixels(dst, length, bytesPerPixel, run);
    dst += size_t(length) * size_t(bytesPerPixel);
  }
}

}  // namespace tw
