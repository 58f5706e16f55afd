// StretchU: turns a rectangle of the colour layer into screen pixels at the
// painter's scale. Shrinking averages the source area under each screen
// pixel (with fractional coverage at its edges), enlarging interpolates
// bilinearly between the four source pixels around the screen pixel's centre,
// and scales within 0.01 of 1 show each screen pixel as an exact copy of the
// picture pixel under it.
//
// Each screen pixel depends only on its own position and the scale, never on
// the rectangle being drawn, so repainting a small part of the control gives
// exactly the pixels a full repaint would give there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "painter/PaintCommonU.h"
#include "painter/RasterU.h"

namespace tw {

// True when the picture is shown pixel for pixel at this scale.
bool IsCopyScale(double scale);

// Writes the screen pixels `dest` (control pixels, half-open) of `source`
// shown at `scale` to `out`: dest.Width() x dest.Height() pixels of R, G, B
// bytes, rows `outStride` bytes apart. Screen pixel (dx, dy) shows:
// - copy scale: picture pixel (nearest(dx / scale), nearest(dy / scale)), so
//   the screen matches the control-to-picture conversion of the mouse;
// - shrinking: the mean of the picture area [dx / scale, (dx + 1) / scale) x
//   [dy / scale, (dy + 1) / scale);
// - enlarging: the bilinear value at ((dx + 0.5) / scale - 0.5,
//   (dy + 0.5) / scale - 0.5).
// Positions beyond the picture take the nearest edge pixels. Throws EError for
// an empty source, a scale that is not a positive finite number, or a null
// `out` with a non-empty `dest`.
void StretchToScreen(const TRaster24& source, double scale, const TRect& dest, uint8_t* out,
                     size_t outStride);

// The same into a new raster of dest's size.
TRaster24 StretchToScreen(const TRaster24& source, double scale, const TRect& dest);

// The screen pixels whose shown values draw on some picture pixel of
// `pictureRect` at this scale: what must be repainted when that rectangle of
// the picture changed. It holds the rectangle's edges scaled with nearest()
// and, when the scale smooths, the extra pixel or two around them that the
// filter blends in, so a change never leaves a stale seam. May reach beyond
// the scaled picture; empty for an empty rectangle.
TRect AffectedScreenRect(const TRect& pictureRect, double scale);

}  // namespace tw
