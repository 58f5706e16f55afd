// A colouring page made from any image: clean black lines on white at a size
// the program handles well. The picture tool's line-art packing and pages
// dropped on the program's window both come from here.
#pragma once

#include <functional>

#include "pages/LineArtU.h"
#include "pages/OutlinePageU.h"
#include "pages/ShrinkU.h"
#include "painter/RasterU.h"

namespace tw {

// With options.Threshold 0 the image's colour regions and thin dark lines
// are traced (TraceOutlines), so drawings, cartoons and photos all give a
// page of closed outlines; with a threshold the image is thresholded into
// line art (MakeLineArt), byte for byte as authors packing their own
// drawings expect. When the page's long side is larger than maxSide (0: any
// size) it is shrunk so that no line breaks. The lines are cleaned at full
// size first, so shrinking keeps every one. progress, when given, hears
// fractions from 0 to 1 on the calling thread.
TRaster24 MakeColouringPage(const TRaster24& image, const TLineArtOptions& options = {},
                            int maxSide = DefaultMaxPictureSide,
                            TLineArtReport* report = nullptr,
                            const std::function<void(double)>& progress = {});

}  // namespace tw
