#include "painter/PaintKernelsU.h"

#include "painter/ByteScanU.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw {
namespace {

// Runs shorter than this are done pixel by pixel: setting up vectors costs
// more than it saves.
constexpr int ShortRun = 16;

// Bits 0, 3, 6, ... 45: the first byte of each of sixteen pixels.
constexpr uint64_t PixelStarts = 0x249249249249ull;

}  // namespace

TSpanMixer::TSpanMixer(TColor c, TMixOp op)
    : FOp(op), FR(GetRValue(c)), FG(GetGValue(c)), FB(GetBValue(c)) {
  for (int i = 0; i < 48; i += 3) {
    FPattern[i] = FR;
    FPattern[i + 1] = FG;
    FPattern[i + 2] = FB;
  }
}

bool TSpanMixer::Apply(uint8_t* row, int x0, int x1) const {
  int n = x1 - x0;
  if (n <= 0) return false;
  uint8_t* p = row + 3 * x0;
  if (n < ShortRun) {
    switch (FOp) {
      case TMixOp::Replace:
        for (int i = 0; i < n; ++i, p += 3) p[0] = FR, p[1] = FG, p[2] = FB;
        return false;
      case TMixOp::Or:
        for (int i = 0; i < n; ++i, p += 3) p[0] |= FR, p[1] |= FG, p[2] |= FB;
        return false;
      case TMixOp::And: {
        bool black = false;
        for (int i = 0; i < n; ++i, p += 3) {
          p[0] &= FR, p[1] &= FG, p[2] &= FB;
          black |= (p[0] | p[1] | p[2]) == 0;
        }
        return black;
      }
    }
  }
#if defined(__SSE2__)
  const __m128i v0 = _mm_load_si128(reinterpret_cast<const __m128i*>(FPattern));
  const __m128i v1 = _mm_load_si128(reinterpret_cast<const __m128i*>(FPattern + 16));
  const __m128i v2 = _mm_load_si128(reinterpret_cast<const __m128i*>(FPattern + 32));
  auto load = [](const uint8_t* q) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)); };
  auto store = [](uint8_t* q, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(q), v); };
  uint64_t black = 0;
  // Whole groups of sixteen pixels, then one more group ending exactly at the
  // run's end (overlapping the last one; every rule is idempotent, and AND's
  // black test reads the result).
  const int groups = n / 16;
  for (int g = 0; g <= groups; ++g) {
    if (g == groups) {
      if (n % 16 == 0) break;
      p = row + 3 * (x1 - 16);
    }
    switch (FOp) {
      case TMixOp::Replace:
        store(p, v0), store(p + 16, v1), store(p + 32, v2);
        break;
      case TMixOp::Or:
        store(p, _mm_or_si128(load(p), v0));
        store(p + 16, _mm_or_si128(load(p + 16), v1));
        store(p + 32, _mm_or_si128(load(p + 32), v2));
        break;
      case TMixOp::And: {
        const __m128i a = _mm_and_si128(load(p), v0);
        const __m128i b = _mm_and_si128(load(p + 16), v1);
        const __m128i c = _mm_and_si128(load(p + 32), v2);
        store(p, a), store(p + 16, b), store(p + 32, c);
        const __m128i zero = _mm_setzero_si128();
        // Most groups hold no zero byte at all; only those that do are looked
        // at pixel by pixel.
        const __m128i least = _mm_min_epu8(a, _mm_min_epu8(b, c));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(least, zero)) == 0) break;
        // One bit per zero byte; a pixel is black when its three bytes are.
        const uint64_t z = uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(a, zero)))) |
                           uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(b, zero)))) << 16 |
                           uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(c, zero)))) << 32;
        black |= z & (z >> 1) & (z >> 2) & PixelStarts;
        break;
      }
    }
    p += 48;
  }
  return black != 0;
#else
  bool black = false;
  for (; n >= 16; n -= 16, p += 48)
    switch (FOp) {
      case TMixOp::Replace:
        std::memcpy(p, FPattern, 48);
        break;
      case TMixOp::Or:
        for (int i = 0; i < 48; ++i) p[i] |= FPattern[i];
        break;
      case TMixOp::And:
        for (int i = 0; i < 48; ++i) p[i] &= FPattern[i];
        for (int i = 0; i < 48; i += 3) black |= (p[i] | p[i + 1] | p[i + 2]) == 0;
        break;
    }
  // The rest is a short run starting at p.
  return Apply(p, 0, n) || black;
#endif
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
