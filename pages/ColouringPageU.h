// A colouring page made from any image: clean black lines on white at a size
// the program handles well. The picture tool's line-art packing and pages
// dropped on the program's window both come from here.
#pragma once

#include "pages/LineArtU.h"
#include "pages/ShrinkU.h"
#include "painter/RasterU.h"

namespace tw {

// The image turned into line art (see MakeLineArt) and, when its long side is
// larger than maxSide (0: any size), shrunk so that no line breaks. The
// lines are cleaned at full size first, so shrinking keeps every one.
TRaster24 MakeColouringPage(const TRaster24& image, const TLineArtOptions& options = {},
                            int maxSide = DefaultMaxPictureSide,
                            TLineArtReport* report = nullptr);

}  // namespace tw
