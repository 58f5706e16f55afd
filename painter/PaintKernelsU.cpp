#include "painter/PaintKernelsU.h"

#include <cstring>

namespace tw {
namespace {

// Sixteen pixels of one colour: 48 bytes, a whole number of pixels and of
// 16-byte vectors, so the fixed-size loops below vectorise.
constexpr int PatternPixels = 16;
constexpr int PatternBytes = PatternPixels * 3;

struct TPattern {
  alignas(16) uint8_t Bytes[PatternBytes];
  explicit TPattern(TColor c) {
    for (int i = 0; i < PatternBytes; i += 3) {
      Bytes[i] = GetRValue(c);
      Bytes[i + 1] = GetGValue(c);
      Bytes[i + 2] = GetBValue(c);
    }
  }
};

}  // namespace

void MixSpan(uint8_t* row, int x0, int x1, TColor c, TMixOp op) {
  if (x1 <= x0) return;
  const TPattern pat(c);
  uint8_t* p = row + 3 * x0;
  size_t bytes = size_t(x1 - x0) * 3;
  switch (op) {
    case TMixOp::Replace:
      for (; bytes >= PatternBytes; bytes -= PatternBytes, p += PatternBytes)
        std::memcpy(p, pat.Bytes, PatternBytes);
      std::memcpy(p, pat.Bytes, bytes);
      break;
    case TMixOp::And:
      for (; bytes >= PatternBytes; bytes -= PatternBytes, p += PatternBytes)
        for (int i = 0; i < PatternBytes; ++i) p[i] &= pat.Bytes[i];
      for (size_t i = 0; i < bytes; ++i) p[i] &= pat.Bytes[i];
      break;
    case TMixOp::Or:
      for (; bytes >= PatternBytes; bytes -= PatternBytes, p += PatternBytes)
        for (int i = 0; i < PatternBytes; ++i) p[i] |= pat.Bytes[i];
      for (size_t i = 0; i < bytes; ++i) p[i] |= pat.Bytes[i];
      break;
  }
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

void MaskedCombineRect(TRaster24& colour, TRaster24& scratch, const TRaster1& mask,
                       const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* c = colour.Row(y) + 3 * r.Left;
    uint8_t* s = scratch.Row(y) + 3 * r.Left;
    const uint8_t* m = mask.Row(y) + r.Left;
    const int n = r.Width();
    for (int i = 0; i < n; ++i) {
      const uint8_t mi = m[i];
      for (int k = 0; k < 3; ++k) {
        s[3 * i + k] |= mi;
        c[3 * i + k] = (c[3 * i + k] | uint8_t(~mi)) & s[3 * i + k];
      }
    }
  }
}

}  // namespace tw
