// Pixel kernels of the paint model: combining runs of pixels with a paint
// colour by the mix rule, and the passes that keep the colour layer composed
// with the outline. They work on raw rows and never allocate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "painter/PaintCommonU.h"
#include "painter/RasterU.h"

namespace tw {

// How paint combines with the colour already there.
enum class TMixOp : uint8_t { Replace, And, Or };

// A horizontal run of pixels: X0..X1-1 of row Y. Every coordinate of a
// picture fits 16 bits, and small runs keep the list of a large narrow
// region small.
struct TPixelRun {
  uint16_t Y, X0, X1;
};
static_assert(MaxPictureSide <= 0xFFFF);

// One paint colour and rule, prepared once for the many runs of a fill or a
// stroke segment.
class TSpanMixer {
 public:
  TSpanMixer(TColor c, TMixOp op);

  // Combines pixels x0..x1-1 of a 24-bit row. Returns true when the rule may
  // have left a pure black pixel in the run: never for replace and OR (the
  // paint is never black), exactly when it did for AND.
  bool Apply(uint8_t* row, int x0, int x1) const;
  // Apply to each of n runs of the layer, in order, asking for the memory
  // of the runs a few places further on ahead; the index of every run
  // Apply would have returned true for is added to black. One call for a
  // fill's many narrow runs instead of one each.
  void ApplyRuns(TRaster24& layer, const TPixelRun* runs, size_t n,
                 std::vector<uint32_t>& black) const;

  TMixOp Op() const { return FOp; }

 private:
  bool Mix(uint8_t* row, int x0, int x1) const;

  TMixOp FOp;
  uint8_t FR, FG, FB;
  // Sixteen pixels of the colour: a whole number of pixels and of 16-byte
  // vectors.
  alignas(16) uint8_t FPattern[48];
};

// Inside r: colour := colour AND outline, then the border map is 0x00 where
// the colour is pure black and 0xFF elsewhere.
void ComposeRect(TRaster24& colour, const TRaster1& outline, TRaster1& border, const TRect& r);

// The same for pixels x0..x1-1 of row y after they were painted. When the
// outline is white along the run and the paint cannot have left black there,
// the colour needs nothing and the border is simply white.
void ComposeSpan(TRaster24& colour, const TRaster1& outline, TRaster1& border, int y, int x0,
                 int x1, bool mayBeBlack);

// Border map bytes for pixels x0..x1-1 of one row, from the colour row.
void BorderFromColour(const uint8_t* colourRow, uint8_t* borderRow, int x0, int x1);

// Pixels x0..x1-1 of row y, for the masked brush: where the mask is black the
// colour layer takes the scratch pixel, elsewhere it stays (the scratch layer
// turns white there).
void MaskedCombineSpan(TRaster24& colour, TRaster24& scratch, const TRaster1& mask, int y,
                       int x0, int x1);

}  // namespace tw
