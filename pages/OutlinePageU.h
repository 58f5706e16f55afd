// Tracing any image into a colouring page: the outlines of its colour regions
// and its own thin dark lines, in black on white. A line drawing keeps its
// lines, a cartoon's flat fills turn white inside their outlines, and a photo
// is first simplified into a few large regions of one colour each.
#pragma once

#include <functional>

#include "painter/RasterU.h"

namespace tw {

// The long side the tracing works at: small images are enlarged to it, large
// photos reduced to it, so lines come out equally thick for any input.
constexpr int OutlineWorkingSide = 1200;
// Images up to this long side are traced at their own size when larger than
// OutlineWorkingSide.
constexpr int OutlineLargestTracedSide = 1600;

struct TOutlineOptions {
  // Black parts of fewer pixels than this are dropped; white parts of fewer
  // pixels than this become black, as no child could fill them. The tracer
  // raises both to what its working size needs.
  int SpeckSize = 0;
  int HoleSize = 0;
};

struct TOutlineReport {
  int Regions = 0;        // colour regions traced
  int SpecksRemoved = 0;  // black parts dropped
  int HolesFilled = 0;    // white parts made black
};

// The traced page, holding only 0x000000 and 0xFFFFFF. White margins around
// the drawing are cut down to a narrow border first; the page's long side
// is then OutlineWorkingSide (or the drawing's own, when it lies between
// that and OutlineLargestTracedSide).
// progress, when given, hears fractions from 0 to 1 between the stages, on
// the calling thread. Uses no state beyond the call: calls on several
// threads at once are safe. Throws EError for negative sizes and when the
// image cannot be traced (memory running out).
TRaster24 TraceOutlines(const TRaster24& image, const TOutlineOptions& options = {},
                        TOutlineReport* report = nullptr,
                        const std::function<void(double)>& progress = {});

}  // namespace tw
