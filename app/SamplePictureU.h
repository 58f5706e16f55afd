// A line-art picture drawn in code, so the painter can be tried without any
// picture files: a house, a sun, a tree, overlapping circles, lines one and
// three pixels wide, and a square whose outline touches itself only
// diagonally at one corner (the fill must not leak through there).
#pragma once

#include "painter/RasterU.h"

namespace tw {

TRaster24 MakeSamplePicture(int width = 900, int height = 650);

}  // namespace tw
