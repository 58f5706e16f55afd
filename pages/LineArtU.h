// Turning a scanned, photographed or anti-aliased drawing into clean line
// art for a colouring page: pure black lines on pure white, without the
// stray dots a scan leaves and without white holes too small for a child to
// fill.
#pragma once

#include <cstdint>

#include "painter/RasterU.h"

namespace tw {

struct TLineArtOptions {
  // Pixels whose luminance is below this (1 to 255) become black; 0 picks
  // the threshold from the picture's own histogram (OtsuThreshold) in
  // MakeLineArt, and traces outlines instead in MakeColouringPage.
  int Threshold = 0;
  // Black parts of fewer pixels than this become white (0 keeps them all).
  int SpeckSize = 24;
  // White parts of fewer pixels than this become black (0 keeps them all).
  int HoleSize = 150;
};

// The threshold used when a picture gives no better one.
constexpr int DefaultLineArtThreshold = 128;

// Brightness 0 to 255 with the usual video weights; pure black gives 0 and
// pure white 255 exactly.
uint8_t Luminance(TColor color);

// The luminance threshold (1 to 255, black below it) that best splits the
// picture's pixels into a dark and a light class: Otsu's method, which
// maximises the variance between the two classes. A picture of a single
// brightness gives DefaultLineArtThreshold.
int OtsuThreshold(const TRaster24& image);

// Black where the luminance is below threshold, white elsewhere.
TRaster1 ThresholdLuminance(const TRaster24& image, int threshold);

// Every connected part made of pixels of the given value (TRaster1::Black or
// TRaster1::White) with fewer than minSize pixels takes the other value.
// eightConnected joins diagonal neighbours too. Returns how many parts were
// changed.
int RemoveSmallParts(TRaster1& layer, uint8_t value, int minSize, bool eightConnected);

// What a conversion did, for the tool to tell the author.
struct TLineArtReport {
  int Threshold = 0;  // 0 when the outlines were traced instead
  int SpecksRemoved = 0;
  int HolesFilled = 0;
  int Regions = 0;  // the colour regions traced
};

// The whole conversion: luminance, threshold, then black specks removed
// (8-connected, so a thin diagonal line counts as one part) and after that
// small white holes closed (4-connected, the way the fill spreads, so the
// holes are exactly the regions a click could fill). The result holds only
// 0x000000 and 0xFFFFFF.
TRaster24 MakeLineArt(const TRaster24& image, const TLineArtOptions& options,
                      TLineArtReport* report = nullptr);

// How many pixels are neither pure black nor pure white.
int64_t CountOffPalettePixels(const TRaster24& image);

}  // namespace tw
