#include "painter/PaintCommonU.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tw {

TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

TRect IntersectRect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (r.IsEmpty()) return {};
  return r;
}

TPoint ClampPoint(TPoint p) {
  return {std::clamp(p.x, -PointLimit, PointLimit), std::clamp(p.y, -PointLimit, PointLimit)};
}

int Nearest(double v) {
  // A value beyond the integer range (or not a number) would make the
  // conversion undefined; it is pinned to the range's ends (0 for NaN).
  if (std::isnan(v)) return 0;
  v = std::clamp(v, double(std::numeric_limits<int>::min()),
                 double(std::numeric_limits<int>::max()));
  // The default floating-point rounding mode rounds halves to even.
  return int(std::nearbyint(v));
}

}  // namespace tw
