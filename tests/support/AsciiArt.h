// Small pictures written as text, so pixel tests read like the pictures they
// check: one character per pixel, one string per row.
//   '#' black   '.' white   'r' red   'g' green   'b' blue   'y' yellow
//   'm' magenta 'c' cyan    'o' grey (0x808080)   'x' 0x000001 (almost black)
// Any other colour prints as '?'.
#pragma once

#include <string>
#include <vector>

#include "painter/PainterU.h"
#include "painter/RasterU.h"

namespace tw::test {

using TArt = std::vector<std::string>;

TColor ArtColor(char c);
char ArtChar(TColor c);

TRaster24 FromArt(const TArt& art);
TArt ToArt(const TRaster24& raster);
TArt ToArt(const TRaster1& raster);

// A painter model with the picture loaded, as the main window sets one up.
void LoadArt(TPainterModel& painter, const TArt& art);

// True when both rasters have the same size and the same pixels.
bool SamePixels(const TRaster24& a, const TRaster24& b);
bool SamePixels(const TRaster1& a, const TRaster1& b);

}  // namespace tw::test
