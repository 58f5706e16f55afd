#include "painter/StrokeU.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tw {
namespace {

// Points farther out than this are pulled in, so that every product below
// fits its integer type; the pointer never gets this far from a picture.
constexpr int64_t CoordLimit = 1 << 20;

TPoint ClampPoint(TPoint p) {
  return {int(std::clamp<int64_t>(p.x, -CoordLimit, CoordLimit)),
          int(std::clamp<int64_t>(p.y, -CoordLimit, CoordLimit))};
}

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

void Emit(int y, int64_t x0, int64_t x1, const TRect& clip, const TSpanSink& sink) {
  x0 = std::max<int64_t>(x0, clip.Left);
  x1 = std::min<int64_t>(x1, clip.Right);
  if (x0 < x1) sink(y, int(x0), int(x1));
}

struct TCapsule {
  int64_t Ax, Ay, Bx, By;  // doubled centres
  int64_t R;               // doubled radius = pen width
  int64_t Dx, Dy, LenSq;
  double Len;
  // Cross products below this bound square without overflowing 64 bits.
  static constexpr int64_t SmallCross = int64_t(1) << 31;

  TCapsule(TPoint a, TPoint b, int width)
      : Ax(DoubledCentre(a.x, width)),
        Ay(DoubledCentre(a.y, width)),
        Bx(DoubledCentre(b.x, width)),
        By(DoubledCentre(b.y, width)),
        R(width),
        Dx(Bx - Ax),
        Dy(By - Ay),
        LenSq(Dx * Dx + Dy * Dy),
        Len(std::sqrt(double(LenSq))) {}

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

  // An estimate of the covered columns of row y, in pixels, or false when
  // the row surely misses the capsule.
  bool Estimate(int y, double& lo, double& hi) const {
    const double Y = 2.0 * y + 1;
    lo = HUGE_VAL;
    hi = -HUGE_VAL;
    auto disc = [&](double cx, double cy) {
      const double d = R * double(R) - (Y - cy) * (Y - cy);
      if (d < 0) return;
      const double s = std::sqrt(d);
      lo = std::min(lo, cx - s);
      hi = std::max(hi, cx + s);
    };
    disc(double(Ax), double(Ay));
    disc(double(Bx), double(By));
    if (LenSq > 0) {
      // Within R of the line, and projecting between the two ends.
      const double L = Len;
      double bl = -HUGE_VAL, bh = HUGE_VAL;
      const double c = double(Dx) * (Y - Ay);
      if (Dy != 0) {
        double e1 = Ax + (c - R * L) / Dy, e2 = Ax + (c + R * L) / Dy;
        bl = std::max(bl, std::min(e1, e2));
        bh = std::min(bh, std::max(e1, e2));
      } else if (std::abs(c) > R * L) {
        bh = -HUGE_VAL;
      }
      const double q = double(Dy) * (Y - Ay);
      if (Dx != 0) {
        double e1 = Ax + (0 - q) / Dx, e2 = Ax + (double(LenSq) - q) / Dx;
        bl = std::max(bl, std::min(e1, e2));
        bh = std::min(bh, std::max(e1, e2));
      } else if (q < 0 || q > double(LenSq)) {
        bh = -HUGE_VAL;
      }
      if (bl <= bh) {
        lo = std::min(lo, bl);
        hi = std::max(hi, bh);
      }
    }
    if (lo > hi) return false;
    lo = (lo - 1) / 2;
    hi = (hi - 1) / 2;
    return true;
  }
};

}  // namespace

bool DabCovers(TPoint p, int size, int x, int y) {
  p = ClampPoint(p);
  const int64_t left = int64_t(p.x) - size / 2, top = int64_t(p.y) - size / 2;
  if (x < left || x >= left + size || y < top || y >= top + size) return false;
  if (size <= 2) return true;
  const int64_t cx = DoubledCentre(p.x, size), cy = DoubledCentre(p.y, size);
  const int64_t dx = 2 * int64_t(x) + 1 - cx, dy = 2 * int64_t(y) + 1 - cy;
  return dx * dx + dy * dy <= int64_t(size) * size;
}

void CoverDab(TPoint p, int size, const TRect& clip, const TSpanSink& sink) {
  if (size < 1) size = 1;
  p = ClampPoint(p);
  const int64_t left = int64_t(p.x) - size / 2, top = int64_t(p.y) - size / 2;
  const int64_t y0 = std::max<int64_t>(top, clip.Top);
  const int64_t y1 = std::min<int64_t>(top + size, clip.Bottom);
  const int64_t cx = DoubledCentre(p.x, size), cy = DoubledCentre(p.y, size);
  for (int64_t y = y0; y < y1; ++y) {
    if (size <= 2) {
      Emit(int(y), left, left + size, clip, sink);
      continue;
    }
    // (2x + 1 - cx)^2 <= size^2 - (2y + 1 - cy)^2
    const int64_t dy = 2 * y + 1 - cy;
    const int64_t s = ISqrt(int64_t(size) * size - dy * dy);
    Emit(int(y), CeilHalf(cx - s - 1), FloorHalf(cx + s - 1) + 1, clip, sink);
  }
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
  return TCapsule(from, to, width).Covers(x, y);
}

void CoverLine(TPoint from, TPoint to, int width, const TRect& clip, const TSpanSink& sink) {
  if (width < 1) width = 1;
  if (clip.IsEmpty()) return;
  from = ClampPoint(from);
  to = ClampPoint(to);
  if (width == 1) {
    // Bresenham, with the pixels of one row gathered into runs.
    int64_t x = from.x, y = from.y;
    const int64_t dx = std::abs(int64_t(to.x) - from.x), sx = from.x < to.x ? 1 : -1;
    const int64_t dy = -std::abs(int64_t(to.y) - from.y), sy = from.y < to.y ? 1 : -1;
    int64_t err = dx + dy;
    int64_t rowY = y, minX = x, maxX = x;
    auto flush = [&] {
      if (rowY >= clip.Top && rowY < clip.Bottom) Emit(int(rowY), minX, maxX + 1, clip, sink);
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
    return;
  }

  const TCapsule cap(from, to, width);
  const int64_t half = width / 2, rest = width - half;
  const int64_t top = std::min(from.y, to.y) - half, bottom = std::max(from.y, to.y) + rest;
  const int64_t y0 = std::max<int64_t>(top, clip.Top), y1 = std::min<int64_t>(bottom, clip.Bottom);
  for (int64_t y = y0; y < y1; ++y) {
    double lo, hi;
    if (!cap.Estimate(int(y), lo, hi)) continue;
    int64_t l = int64_t(std::ceil(lo)), r = int64_t(std::floor(hi));
    // The estimate is off by at most a pixel; the exact test settles the ends.
    while (cap.Covers(l - 1, y)) --l;
    while (l <= r && !cap.Covers(l, y)) ++l;
    if (l > r) {
      if (!cap.Covers(l, y)) continue;
      r = l;
    }
    while (cap.Covers(r + 1, y)) ++r;
    while (r >= l && !cap.Covers(r, y)) --r;
    if (l <= r) Emit(int(y), l, r + 1, clip, sink);
  }
}

}  // namespace tw
