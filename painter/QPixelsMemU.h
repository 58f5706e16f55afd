// Mixing two colours the way paints mix: blue and yellow give green, not
// grey, and opposite colours make mud. The mix works in HLS (QGfxUtilU) on a
// warped hue circle in which red to yellow takes as much room as yellow to
// blue, because that is how the wheel of mixing paints is laid out.
#pragma once

#include <cstdint>

#include "painter/PaintCommonU.h"
#include "painter/QGfxUtilU.h"

namespace tw {

// Stretches the red-to-yellow part of the hue circle (0..40) over a third of
// it (0..80) and squeezes yellow-to-blue (40..160) into 80..160; hues above
// 160 stay. UnwarpHue is its inverse up to rounding: the squeezed part loses
// resolution, so UnwarpHue(WarpHue(41)) is 42.
uint8_t WarpHue(uint8_t h);
uint8_t UnwarpHue(uint8_t h);

// Straight interpolation of a toward b by the share w of b, the hue taking
// the shorter way round the circle. A grey's hue (S 0) does not count: the
// other colour's hue is taken; likewise white's saturation (L 240). w is
// clamped to 0..1, and a w that is not a number counts as 0.
THLSValue BlendHLS(THLSValue a, THLSValue b, double w);

// A mixed with B, w the share of B (0 gives A, 1 gives B, up to rounding).
// w is clamped to 0..1, and a w that is not a number counts as 0, so a bad
// share never spoils the paint A already holds.
TColor MixColors(TColor A, TColor B, double w);

}  // namespace tw
