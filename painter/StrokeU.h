// Coverage of one stroke segment: which pixels a pen of the brush width
// covers from the previous point to the new one, and which the dab at the
// new point covers. Results come as horizontal runs, clipped to a rectangle,
// so any layer can apply them with its own rule.
//
// Geometry (all exact): a pixel (x, y) is covered by a shape when its centre
// (x + 0.5, y + 0.5) lies inside it.
// - The dab of size n at point p fills the n x n square whose top-left pixel
//   is (p.x - n div 2, p.y - n div 2): the whole square for n <= 2, the
//   ellipse inscribed in it (a disc, boundary included) from n = 3.
// - The pen of width n >= 2 covers every pixel whose centre lies within n / 2
//   of the segment joining the centres of the two dab squares (round caps and
//   joins); its ends are therefore exactly the dabs. Width 1 is a plain
//   one-pixel Bresenham line between the points.
#pragma once

#include <functional>
#include <vector>

#include "painter/PaintCommonU.h"

namespace tw {

// Receives the pixels x0..x1-1 of row y. Runs may overlap; every rule the
// layers use (replace, AND, OR) gives the same result for a pixel covered
// twice.
using TSpanSink = std::function<void(int y, int x0, int x1)>;

// The dab of one size as runs per row, worked out once per brush size.
class TDabShape {
 public:
  explicit TDabShape(int size = 1);
  int Size() const { return FSize; }
  // Covered columns of row `row` of the dab square, relative to its left
  // edge: Left(row) .. Right(row) - 1.
  int Left(int row) const { return FLeft[size_t(row)]; }
  int Right(int row) const { return FRight[size_t(row)]; }

 private:
  int FSize;
  std::vector<int> FLeft, FRight;
};

void CoverDab(TPoint p, const TDabShape& dab, const TRect& clip, const TSpanSink& sink);
void CoverLine(TPoint from, TPoint to, const TDabShape& dab, const TRect& clip,
               const TSpanSink& sink);

// The same for a size given directly (the shape is worked out on the way).
void CoverDab(TPoint p, int size, const TRect& clip, const TSpanSink& sink);
void CoverLine(TPoint from, TPoint to, int width, const TRect& clip, const TSpanSink& sink);

// The reference predicates the runs obey, for tests and for the ends of runs.
bool DabCovers(TPoint p, int size, int x, int y);
bool LineCovers(TPoint from, TPoint to, int width, int x, int y);

}  // namespace tw
