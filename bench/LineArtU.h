// Procedural colouring-book line art for the benchmarks: a white picture
// with closed shapes (circles, rectangles, ellipses) in 1-px and 3-px black
// outlines, loose 1-px and 3-px lines, and a comb of 5-px corridors in its own
// black frame. The same size always gives the same picture, so runs compare.
//
// The regions the benchmarks fill are known by construction: the background
// is one 4-connected region around everything, every shape's inside is its
// own region, and the comb (one horizontal bar with vertical teeth hanging
// from it) is another.
#pragma once

#include "painter/PaintCommonU.h"
#include "painter/RasterU.h"

namespace tw::bench {

struct TLineArt {
  TRaster24 Picture;
  // A point in each region the benchmarks fill.
  TPoint BackgroundSeed;
  TPoint MediumSeed;  // inside a medium circle
  TPoint SmallSeed;   // inside a small circle, fewer than 1000 pixels
  TPoint CombSeed;    // in the comb's bar
};

// Sizes from 600 x 450 up; the benchmarks use 2400 x 1800 and 4800 x 3600.
TLineArt MakeLineArt(int width, int height);

// A white picture cut by 1-px black lines into eight cells of equal size,
// four across and two down, for actions that each change an eighth of it.
struct TEighths {
  TRaster24 Picture;
  TPoint Seeds[8];
};
TEighths MakeEighths(int width, int height);

// Counts the pixels of the 4-connected region of equal colour around seed:
// a plain breadth-first search, independent of the engine's fill, used to
// check what the benchmarks fill.
int CountRegion(const TRaster24& picture, TPoint seed);

}  // namespace tw::bench
