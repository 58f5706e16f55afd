// Making a picture smaller for a colouring page. Line art keeps every line:
// each new pixel takes the darkest value under it, so shrinking never breaks
// a line and no fill can leak through a gap it made. Colours stored as they
// are take the mean of the area under each new pixel.
#pragma once

#include "painter/RasterU.h"

namespace tw {

// The long side a packed picture gets at most unless asked otherwise: pages
// of that size show sharply on large screens, print well, and keep the
// program's memory and fills modest.
constexpr int DefaultMaxPictureSide = 2400;

struct TPictureSize {
  int Width = 0;
  int Height = 0;
};

// The size of a width x height picture scaled so its long side is maxSide,
// the same when it is no larger or maxSide is 0.
TPictureSize FitPictureSize(int width, int height, int maxSide);

// Each pixel of the width x height result holds, per channel, the smallest
// value of the image pixels under it.
TRaster24 ShrinkDarkest(const TRaster24& image, int width, int height);

// Each pixel of the result is the mean of the image area under it.
TRaster24 ShrinkAveraged(const TRaster24& image, int width, int height);

}  // namespace tw
