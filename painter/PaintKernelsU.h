// Pixel kernels of the paint model: combining a run of pixels with a paint
// colour by the mix rule, and the per-rectangle passes that keep the colour
// layer composed with the outline. They work on raw rows and never allocate.
#pragma once

#include <cstdint>

#include "painter/PaintCommonU.h"
#include "painter/RasterU.h"

namespace tw {

// How paint combines with the colour already there.
enum class TMixOp : uint8_t { Replace, And, Or };

// Combines pixels x0..x1-1 of a 24-bit row with colour c.
void MixSpan(uint8_t* row, int x0, int x1, TColor c, TMixOp op);

// Inside r: colour := colour AND outline, then the border map is 0x00 where
// the colour is pure black and 0xFF elsewhere.
void ComposeRect(TRaster24& colour, const TRaster1& outline, TRaster1& border, const TRect& r);

// Inside r, for the masked brush: where the mask is black the colour layer
// takes the scratch pixel, elsewhere it stays (the scratch layer turns white
// there).
void MaskedCombineRect(TRaster24& colour, TRaster24& scratch, const TRaster1& mask,
                       const TRect& r);

}  // namespace tw
