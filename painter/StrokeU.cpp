#include "painter/StrokeU.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tw {
namespace {

// Twice the centre of the dab square at p: doubling keeps half-pixel centres
// integral.
int64_t DoubledCentre(int v, int size) { return 2 * int64_t(v) - 2 * (size / 2) + size; }

int64_t ISqrt(int64_t v) {
  if (v <= 0) return 0;
  int64_t r = int64_t(std::sqrt(double(v)));
  while (r * r > v) --r;
  while ((r + 1) * (r + 1) <= v) ++r;
  return r;
}

// Floor and ceiling of a / 2 for any sign.
int64_t FloorHalf(int64_t a) { return a >= 0 ? a / 2 : -((-a + 1) / 2); }
int64_t CeilHalf(int64_t a) { return -FloorHalf(-a); }

int64_t Floor(double v) {
  const int64_t i = int64_t(v);
  return i > v ? i - 1 : i;
}

void Emit(int64_t y, int64_t x0, int64_t x1, const TRect& clip, const TSpanSink& sink) {
  x0 = std::max<int64_t>(x0, clip.Left);
  x1 = std::min<int64_t>(x1, clip.Right);
  if (x0 < x1) sink(int(y), int(x0), int(x1));
}

// The pen's body between the two end discs: the points within the pen's
// half width of the line through the two centres whose projection falls
// between them. Doubled coordinates throughout.
struct TBand {
  int64_t Ax, Ay, Bx, By;
  int64_t R;  // doubled half width = the pen width
  int64_t Dx, Dy, LenSq;
  double RL, InvDx, InvDy;
  // Cross products below this bound square without overflowing 64 bits.
  static constexpr int64_t SmallCross = int64_t(1) << 31;

  TBand(TPoint a, TPoint b, int width)
      : Ax(DoubledCentre(a.x, width)),
        Ay(DoubledCentre(a.y, width)),
        Bx(DoubledCentre(b.x, width)),
        By(DoubledCentre(b.y, width)),
        R(width),
        Dx(Bx - Ax),
        Dy(By - Ay),
        LenSq(Dx * Dx + Dy * Dy),
        RL(double(width) * std::sqrt(double(LenSq))),
        InvDx(Dx ? 1.0 / double(Dx) : 0),
        InvDy(Dy ? 1.0 / double(Dy) : 0) {
    PrepareBounds();
  }

  // Whether the pen (body or ends) covers pixel (x, y), exactly.
  bool Covers(int64_t x, int64_t y) const {
    const int64_t px = 2 * x + 1 - Ax, py = 2 * y + 1 - Ay;
    const int64_t dot = px * Dx + py * Dy;
    if (dot <= 0 || LenSq == 0) return px * px + py * py <= R * R;
    if (dot >= LenSq) {
      const int64_t qx = 2 * x + 1 - Bx, qy = 2 * y + 1 - By;
      return qx * qx + qy * qy <= R * R;
    }
    const int64_t cross = px * Dy - py * Dx;
    if (cross > -SmallCross && cross < SmallCross && LenSq < SmallCross && R < (1 << 15))
      return cross * cross <= R * R * LenSq;
    const __int128 wide = cross;
    return wide * wide <= __int128(R * R) * LenSq;
  }

  // The columns of row y inside the body, up to rounding, in pixels; false
  // when the row misses it.
  bool Estimate(int64_t y, double& lo, double& hi) const {
    const double Y = 2.0 * double(y) + 1 - double(Ay);
    // Within the pen's reach of the line: |Dx * Y - Dy * X| <= R * L, and
    // projecting between the ends: 0 <= Dx * X + Dy * Y <= LenSq, with X and
    // Y relative to the first centre. Each bound is linear in the row.
    if (!RowInReach(Y)) return false;
    const double reachLo = ReachLo0 + ReachSlope * Y, reachHi = ReachHi0 + ReachSlope * Y;
    const double spanLo = SpanLo0 + SpanSlope * Y, spanHi = SpanHi0 + SpanSlope * Y;
    const double bl = std::max(reachLo, spanLo), bh = std::min(reachHi, spanHi);
    if (bl > bh) return false;
    lo = (bl + double(Ax) - 1) * 0.5;
    hi = (bh + double(Ax) - 1) * 0.5;
    return true;
  }

  bool RowInReach(double Y) const {
    if (LenSq == 0) return false;
    if (Dy == 0) return std::abs(double(Dx) * Y) <= RL;
    if (Dx == 0) return Y * double(Dy) >= 0 && Y * double(Dy) <= double(LenSq);
    return true;
  }

  // The bounds on X as lines in Y, worked out once per segment.
  double ReachLo0 = -HUGE_VAL, ReachHi0 = HUGE_VAL, ReachSlope = 0;
  double SpanLo0 = -HUGE_VAL, SpanHi0 = HUGE_VAL, SpanSlope = 0;

  void PrepareBounds() {
    if (Dy != 0) {
      // X = (Dx * Y -+ R L) / Dy
      const double a = -RL * InvDy, b = RL * InvDy;
      ReachLo0 = std::min(a, b);
      ReachHi0 = std::max(a, b);
      ReachSlope = double(Dx) * InvDy;
    }
    if (Dx != 0) {
      // X = (0 - Dy * Y) / Dx .. (LenSq - Dy * Y) / Dx
      const double a = 0.0, b = double(LenSq) * InvDx;
      SpanLo0 = std::min(a, b);
      SpanHi0 = std::max(a, b);
      SpanSlope = -double(Dy) * InvDx;
    }
  }
};

}  // namespace

TDabShape::TDabShape(int size) : FSize(std::max(size, 1)) {
  FLeft.resize(size_t(FSize));
  FRight.resize(size_t(FSize));
  // The square's centre, doubled and relative to its top-left corner, is
  // (size, size).
  const int64_t n = FSize;
  for (int64_t row = 0; row < n; ++row) {
    if (n <= 2) {
      FLeft[size_t(row)] = 0;
      FRight[size_t(row)] = int(n);
      continue;
    }
    // (2x + 1 - n)^2 <= n^2 - (2 row + 1 - n)^2
    const int64_t dy = 2 * row + 1 - n;
    const int64_t s = ISqrt(n * n - dy * dy);
    FLeft[size_t(row)] = int(CeilHalf(n - s - 1));
    FRight[size_t(row)] = int(FloorHalf(n + s - 1) + 1);
  }
}

bool DabCovers(TPoint p, int size, int x, int y) {
  if (size < 1) size = 1;
  p = ClampPoint(p);
  const int64_t left = int64_t(p.x) - size / 2, top = int64_t(p.y) - size / 2;
  if (x < left || x >= left + size || y < top || y >= top + size) return false;
  if (size <= 2) return true;
  const int64_t cx = DoubledCentre(p.x, size), cy = DoubledCentre(p.y, size);
  const int64_t dx = 2 * int64_t(x) + 1 - cx, dy = 2 * int64_t(y) + 1 - cy;
  return dx * dx + dy * dy <= int64_t(size) * size;
}

void CoverDab(TPoint p, const TDabShape& dab, const TRect& clip, const TSpanSink& sink) {
  p = ClampPoint(p);
  const int size = dab.Size();
  const int64_t left = int64_t(p.x) - size / 2, top = int64_t(p.y) - size / 2;
  const int64_t y0 = std::max<int64_t>(top, clip.Top);
  const int64_t y1 = std::min<int64_t>(top + size, clip.Bottom);
  for (int64_t y = y0; y < y1; ++y)
    Emit(y, left + dab.Left(int(y - top)), left + dab.Right(int(y - top)), clip, sink);
}

void CoverDab(TPoint p, int size, const TRect& clip, const TSpanSink& sink) {
  CoverDab(p, TDabShape(size), clip, sink);
}

bool LineCovers(TPoint from, TPoint to, int width, int x, int y) {
  if (width < 1) width = 1;
  from = ClampPoint(from);
  to = ClampPoint(to);
  if (width == 1) {
    bool hit = false;
    const TRect one{x, y, x + 1, y + 1};
    CoverLine(from, to, 1, one, [&](int, int, int) { hit = true; });
    return hit;
  }
  return TBand(from, to, width).Covers(x, y);
}

namespace {

void CoverBresenham(TPoint from, TPoint to, const TRect& clip, const TSpanSink& sink) {
  // The pixels of one row are gathered into runs.
  int64_t x = from.x, y = from.y;
  const int64_t dx = std::abs(int64_t(to.x) - from.x), sx = from.x < to.x ? 1 : -1;
  const int64_t dy = -std::abs(int64_t(to.y) - from.y), sy = from.y < to.y ? 1 : -1;
  int64_t err = dx + dy;
  int64_t rowY = y, minX = x, maxX = x;
  auto flush = [&] {
    if (rowY >= clip.Top && rowY < clip.Bottom) Emit(rowY, minX, maxX + 1, clip, sink);
  };
  while (x != to.x || y != to.y) {
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
    if (y != rowY) {
      flush();
      rowY = y;
      minX = maxX = x;
    } else {
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
    }
  }
  flush();
}

}  // namespace

void CoverLine(TPoint from, TPoint to, const TDabShape& dab, const TRect& clip,
               const TSpanSink& sink) {
  if (clip.IsEmpty()) return;
  from = ClampPoint(from);
  to = ClampPoint(to);
  const int width = dab.Size();
  if (width == 1) {
    CoverBresenham(from, to, clip, sink);
    return;
  }
  // The pen is the union of the dab at each end and the body between them;
  // it is convex, so on each row the union of the three runs is one run.
  const TBand band(from, to, width);
  const int64_t half = width / 2;
  const int64_t topA = int64_t(from.y) - half, topB = int64_t(to.y) - half;
  const int64_t leftA = int64_t(from.x) - half, leftB = int64_t(to.x) - half;
  const int64_t y0 = std::max<int64_t>(std::min(topA, topB), clip.Top);
  const int64_t y1 = std::min<int64_t>(std::max(topA, topB) + width, clip.Bottom);
  for (int64_t y = y0; y < y1; ++y) {
    int64_t l = INT64_MAX, r = INT64_MIN;  // covered columns l..r
    if (y >= topA && y < topA + width) {
      l = std::min(l, leftA + dab.Left(int(y - topA)));
      r = std::max(r, leftA + dab.Right(int(y - topA)) - 1);
    }
    if (y >= topB && y < topB + width) {
      l = std::min(l, leftB + dab.Left(int(y - topB)));
      r = std::max(r, leftB + dab.Right(int(y - topB)) - 1);
    }
    double lo, hi;
    if (band.Estimate(y, lo, hi)) {
      int64_t bl = Floor(lo);
      if (bl < lo) ++bl;
      int64_t br = Floor(hi);
      // The estimate is exact but for rounding, far below this margin; only
      // an end this close to a pixel centre needs the exact test, which
      // settles it within a pixel.
      constexpr double Margin = 1e-6;
      if (bl - lo <= Margin || lo - (bl - 1) <= Margin) {
        while (band.Covers(bl - 1, y)) --bl;
        while (bl <= br + 1 && !band.Covers(bl, y)) ++bl;
      }
      if (hi - br <= Margin || (br + 1) - hi <= Margin) {
        while (band.Covers(br + 1, y)) ++br;
        while (br >= bl - 1 && !band.Covers(br, y)) --br;
      }
      if (bl <= br) {
        l = std::min(l, bl);
        r = std::max(r, br);
      }
    }
    if (l <= r) Emit(y, l, r + 1, clip, sink);
  }
}

void CoverLine(TPoint from, TPoint to, int width, const TRect& clip, const TSpanSink& sink) {
  CoverLine(from, to, TDabShape(width), clip, sink);
}

}  // namespace tw
