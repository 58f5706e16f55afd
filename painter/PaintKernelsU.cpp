#include "painter/PaintKernelsU.h"

#include "painter/ByteScanU.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw {
namespace {

// Runs shorter than this are done in 8-byte words: setting up vectors
// costs more than it saves.
constexpr int ShortRun = 16;

// Bits 0, 3, 6, ... 45: the first byte of each of sixteen pixels, which is
// the red byte; shifted by one the green, by two the blue.
constexpr uint64_t PixelStarts = 0x249249249249ull;

// Pixels 0..n-1 from p on, one at a time, for runs too short for a word and
// the rest of a run without vectors; the colour is passed in locals so the
// compiler need not reload it after every byte written.
bool ApplyShort(uint8_t* p, int n, TMixOp op, uint8_t r, uint8_t g, uint8_t b) {
  switch (op) {
    case TMixOp::Replace:
      for (int i = 0; i < n; ++i, p += 3) p[0] = r, p[1] = g, p[2] = b;
      return false;
    case TMixOp::Or:
      for (int i = 0; i < n; ++i, p += 3) p[0] |= r, p[1] |= g, p[2] |= b;
      return false;
    case TMixOp::And: {
      bool black = false;
      for (int i = 0; i < n; ++i, p += 3) {
        p[0] &= r, p[1] &= g, p[2] &= b;
        black |= (p[0] | p[1] | p[2]) == 0;
      }
      return black;
    }
  }
  return false;
}

void Store8(uint8_t* p, uint64_t w) { std::memcpy(p, &w, 8); }

// Mixes a run of at least 8 bytes at p in 8-byte words: word :=
// mix(word, colour), the last word ending exactly at the run's end and
// overlapping the one before (every rule gives the same pixel when applied
// twice). The last word is read before anything is written: a read that
// overlaps a write just made waits for it to reach the cache. Byte k of a
// run is channel k % 3, so a word's colour at offset k starts at
// pattern + k % 3.
// mix also gets the word's offset.
template <class TMix>
[[gnu::always_inline]] inline void MixWords(uint8_t* p, int bytes, const uint8_t* pattern, TMix mix) {
  const int lastAt = bytes - 8;
  const uint64_t last = mix(Load8(p + lastAt), Load8(pattern + lastAt % 3), lastAt);
  for (int k = 0; k < lastAt; k += 8)
    Store8(p + k, mix(Load8(p + k), Load8(pattern + k % 3), k));
  Store8(p + lastAt, last);
}

// One bit per zero byte of w, bit i for byte i.
uint64_t ZeroByteBits(uint64_t w) {
#if defined(__SSE2__)
  // The upper half of v is zero, so it is compared with bytes that are not.
  const __m128i v = _mm_cvtsi64_si128(int64_t(w));
  return uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set_epi64x(-1, 0)))));
#else
  // ZeroBytes sets the top bit of each zero byte; the multiplication
  // gathers the eight bits into the top byte.
  return ((ZeroBytes(w) >> 7) * 0x0102040810204080ull) >> 56;
#endif
}

bool AnyBlack(const uint8_t* p, int n) {
  for (int i = 0; i < n; ++i, p += 3)
    if ((p[0] | p[1] | p[2]) == 0) return true;
  return false;
}

#if defined(__SSE2__)
__m128i Load(const uint8_t* q) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)); }
void Store(uint8_t* q, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(q), v); }

// Mixes a run of n >= 16 pixels at p in groups of sixteen, three vectors
// each: mix(a, b, c) changes them in place. Always inlined, so that what
// mix keeps across groups stays in registers. The last group ends exactly at
// the run's end, overlapping the one before, and is read first (as in
// MixWords). A group starts on a pixel, so byte k of it is always channel
// k % 3.
template <class TMix>
[[gnu::always_inline]] inline void MixGroups(uint8_t* p, const __m128i* pattern, int n, TMix mix) {
  uint8_t* const tail = p + 3 * (n - 16);
  __m128i ta = Load(tail), tb = Load(tail + 16), tc = Load(tail + 32);
  mix(ta, tb, tc, pattern);
  for (int i = 0; i + 16 < n; i += 16, p += 48) {
    __m128i a = Load(p), b = Load(p + 16), c = Load(p + 32);
    mix(a, b, c, pattern);
    Store(p, a), Store(p + 16, b), Store(p + 32, c);
  }
  Store(tail, ta), Store(tail + 16, tb), Store(tail + 32, tc);
}
#endif

}  // namespace

TSpanMixer::TSpanMixer(TColor c, TMixOp op)
    : FOp(op), FR(GetRValue(c)), FG(GetGValue(c)), FB(GetBValue(c)) {
  for (int i = 0; i < 48; i += 3) {
    FPattern[i] = FR;
    FPattern[i + 1] = FG;
    FPattern[i + 2] = FB;
  }
}

[[gnu::always_inline]] inline bool TSpanMixer::Mix(uint8_t* row, int x0, int x1) const {
  const int n = x1 - x0;
  if (n <= 0) return false;
  uint8_t* p = row + 3 * x0;
  if (n < 3) return ApplyShort(p, n, FOp, FR, FG, FB);
  if (n < ShortRun) {
    // Narrow regions fill in runs of a few pixels: a handful of 8-byte
    // words instead of three bytes at a time.
    const int bytes = 3 * n;
    switch (FOp) {
      case TMixOp::Replace:
        MixWords(p, bytes, FPattern, [](uint64_t, uint64_t c, int) { return c; });
        return false;
      case TMixOp::Or:
        MixWords(p, bytes, FPattern, [](uint64_t w, uint64_t c, int) { return w | c; });
        return false;
      case TMixOp::And: {
        // Bit k is set when byte k of the run became zero; a pixel is black
        // when its three bits are. Read from the words just mixed, not from
        // memory.
        uint64_t zeros = 0;
        MixWords(p, bytes, FPattern, [&](uint64_t w, uint64_t c, int k) {
          const uint64_t mixed = w & c;
          zeros |= ZeroByteBits(mixed) << k;
          return mixed;
        });
        return (zeros & zeros >> 1 & zeros >> 2 & PixelStarts) != 0;
      }
    }
  }
#if defined(__SSE2__)
  const __m128i* pattern = reinterpret_cast<const __m128i*>(FPattern);
  switch (FOp) {
    case TMixOp::Replace:
      MixGroups(p, pattern, n, [](__m128i& a, __m128i& b, __m128i& c, const __m128i* v) {
        // Each group's first vector is read, though nothing needs it: a
        // line only written waits in the queue of writes before the
        // processor asks memory for it, one line at a time, while reads
        // ask for many at once. Every 64-byte line holds the start of a
        // 48-byte group.
        asm("" : : "x"(a));
        a = v[0], b = v[1], c = v[2];
      });
      return false;
    case TMixOp::Or:
      MixGroups(p, pattern, n, [](__m128i& a, __m128i& b, __m128i& c, const __m128i* v) {
        a = _mm_or_si128(a, v[0]), b = _mm_or_si128(b, v[1]), c = _mm_or_si128(c, v[2]);
      });
      return false;
    case TMixOp::And: {
      // A pixel is black when its red, green and blue bytes all are. Each
      // byte position of the group keeps its least value over the run, one
      // instruction per vector; when no red byte, no green byte or no blue
      // byte of the run became zero, no pixel can be black. Only runs where
      // all three did (zero bytes in one channel alone are common) are read
      // again pixel by pixel, from the nearest cache.
      __m128i least0 = _mm_set1_epi8(-1), least1 = least0, least2 = least0;
      MixGroups(p, pattern, n, [&](__m128i& a, __m128i& b, __m128i& c, const __m128i* v) {
        a = _mm_and_si128(a, v[0]), b = _mm_and_si128(b, v[1]), c = _mm_and_si128(c, v[2]);
        least0 = _mm_min_epu8(least0, a);
        least1 = _mm_min_epu8(least1, b);
        least2 = _mm_min_epu8(least2, c);
      });
      const __m128i zero = _mm_setzero_si128();
      auto zeros = [&](__m128i v) {
        return uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero))));
      };
      const uint64_t z = zeros(least0) | zeros(least1) << 16 | zeros(least2) << 32;
      if ((z & PixelStarts) && (z & PixelStarts << 1) && (z & PixelStarts << 2))
        return AnyBlack(p, n);
      return false;
    }
  }
  return false;
#else
  bool black = false;
  for (int left = n; left >= 16; left -= 16, p += 48)
    switch (FOp) {
      case TMixOp::Replace:
        std::memcpy(p, FPattern, 48);
        break;
      case TMixOp::Or:
        for (int i = 0; i < 48; ++i) p[i] |= FPattern[i];
        break;
      case TMixOp::And:
        for (int i = 0; i < 48; ++i) p[i] &= FPattern[i];
        black = black || AnyBlack(p, 16);
        break;
    }
  // The rest is a short run starting at p.
  return ApplyShort(p, n % 16, FOp, FR, FG, FB) || black;
#endif
}

// How many runs ahead of the one it mixes ApplyRuns asks for the memory of
// the next: enough to cover the wait while narrow runs are mixed.
constexpr size_t PrefetchRuns = 16;

bool TSpanMixer::Apply(uint8_t* row, int x0, int x1) const { return Mix(row, x0, x1); }

void TSpanMixer::ApplyRuns(TRaster24& layer, const TPixelRun* runs, size_t n,
                           std::vector<uint32_t>& black) const {
  for (size_t i = 0; i < n; ++i) {
    if (i + PrefetchRuns < n) {
      // Every line of the run; rows lie far apart in memory, where the
      // processor does not look ahead by itself.
      const TPixelRun& ahead = runs[i + PrefetchRuns];
      const uint8_t* c = layer.Row(ahead.Y);
      for (int b = 3 * ahead.X0; b < 3 * ahead.X1; b += 64) __builtin_prefetch(c + b, 1);
      __builtin_prefetch(c + 3 * ahead.X1 - 1, 1);
    }
    const TPixelRun& r = runs[i];
    if (Mix(layer.Row(r.Y), r.X0, r.X1)) black.push_back(uint32_t(i));
  }
}

void BorderFromColour(const uint8_t* colourRow, uint8_t* borderRow, int x0, int x1) {
  const uint8_t* c = colourRow + 3 * x0;
  uint8_t* b = borderRow + x0;
  for (int i = 0; i < x1 - x0; ++i)
    b[i] = (c[3 * i] | c[3 * i + 1] | c[3 * i + 2]) ? TRaster1::White : TRaster1::Black;
}

void ComposeRect(TRaster24& colour, const TRaster1& outline, TRaster1& border, const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* c = colour.Row(y) + 3 * r.Left;
    const uint8_t* o = outline.Row(y) + r.Left;
    uint8_t* b = border.Row(y) + r.Left;
    const int n = r.Width();
    for (int i = 0; i < n; ++i) {
      const uint8_t m = o[i];
      const uint8_t cr = c[3 * i] & m, cg = c[3 * i + 1] & m, cb = c[3 * i + 2] & m;
      c[3 * i] = cr;
      c[3 * i + 1] = cg;
      c[3 * i + 2] = cb;
      b[i] = (cr | cg | cb) ? TRaster1::White : TRaster1::Black;
    }
  }
}

void ComposeSpan(TRaster24& colour, const TRaster1& outline, TRaster1& border, int y, int x0,
                 int x1, bool mayBeBlack) {
  if (x1 <= x0) return;
  if (mayBeBlack) {
    ComposeRect(colour, outline, border, {x0, y, x1, y + 1});
    return;
  }
  // The run holds no black paint, so it splits into stretches over white
  // outline (colour kept, border white) and over black outline (colour and
  // border black), each a plain byte fill.
  const uint8_t* o = outline.Row(y);
  uint8_t* c = colour.Row(y);
  uint8_t* b = border.Row(y);
  int x = x0;
#if defined(__SSE2__)
  // Most runs of a stroke cross no line art: sixteen outline bytes are
  // checked and sixteen border bytes set at a time, the last group ending
  // exactly at the run's end.
  if (x1 - x0 >= 16) {
    const __m128i zero = _mm_setzero_si128(), white = _mm_set1_epi8(char(TRaster1::White));
    bool clear = true;
    for (int i = x0; clear && i < x1; i += 16) {
      const int at = std::min(i, x1 - 16);
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(o + at));
      clear = _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)) == 0;
    }
    if (clear) {
      for (int i = x0; i < x1; i += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(b + std::min(i, x1 - 16)), white);
      return;
    }
  }
#endif
  while (x < x1) {
    const int black = x + FindZero(o + x, x1 - x);
    SetBytes(b + x, TRaster1::White, black - x);
    if (black >= x1) break;
    x = black + FindNonZero(o + black, x1 - black);
    std::memset(c + 3 * black, 0, size_t(x - black) * 3);
    SetBytes(b + black, TRaster1::Black, x - black);
  }
}

void MaskedCombineSpan(TRaster24& colour, TRaster24& scratch, const TRaster1& mask, int y,
                       int x0, int x1) {
  uint8_t* c = colour.Row(y) + 3 * x0;
  uint8_t* s = scratch.Row(y) + 3 * x0;
  const uint8_t* m = mask.Row(y) + x0;
  for (int i = 0; i < x1 - x0; ++i) {
    const uint8_t mi = m[i];
    for (int k = 0; k < 3; ++k) {
      s[3 * i + k] |= mi;
      c[3 * i + k] = (c[3 * i + k] | uint8_t(~mi)) & s[3 * i + k];
    }
  }
}

}  // namespace tw
