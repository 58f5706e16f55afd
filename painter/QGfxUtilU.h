// Integer conversions between RGB colours and hue-luminance-saturation (HLS)
// on a scale of 240, the lighter and darker shades the paint wells draw their
// bevels with, and the two integer helpers all of them round with. Everything
// is integer arithmetic with one rounding rule (RoundDiv), so every result is
// exactly reproducible.
#pragma once

#include <cstdint>

#include "painter/PaintCommonU.h"

namespace tw {

// An HLS colour packed in 32 bits: S in the low byte, L in the next, H in the
// third, 0 in the top byte. H is a circle where 240 is the same as 0 (red 0,
// yellow 40, green 80, cyan 120, blue 160, magenta 200); L runs from black 0
// to white 240; S from grey 0 to full 240.
using THLSValue = uint32_t;

// The hue of a grey, whose hue is undefined.
constexpr int GreyHue = 160;
// The top of the H, L and S scales.
constexpr int HLSMax = 240;

// An HLS value taken apart, for the arithmetic on its components.
struct THLS {
  int H = 0;
  int L = 0;
  int S = 0;

  // The hue is wrapped onto the circle and L and S are clamped to 0..240, so
  // every component fits its byte.
  THLSValue Pack() const;
  static THLS Unpack(THLSValue hls);
  friend bool operator==(const THLS&, const THLS&) = default;
};

// (a + b div 2) div b with div truncating toward zero, so halves round away
// from zero for positive quotients and negative numerators truncate toward
// zero. Throws EError when b is 0; a quotient beyond the int range (only
// INT_MIN / -1) saturates.
int RoundDiv(int a, int b);

// Brings a hue onto the circle: negative values gain 240 until they are not,
// values above 240 lose 240 until they are not, so 240 itself stays 240. The
// result is 0..240.
int WrapHue(int h);

// Only the three colour bytes of c are converted; the top byte (clNone's
// marker) is ignored. A grey gets hue 160.
THLSValue ColorToHLS(TColor c);

// The inverse of ColorToHLS up to rounding; a grey's channels are truncated,
// not rounded. L and S above 240 (a byte holds up to 255) count as 240; the
// top byte of hls is ignored. The result's top byte is 0.
TColor HLSToColor(THLSValue hls);

// One channel, on the 0..240 scale, of the colour whose channels lie between
// lo and hi: the channel whose hue offset is hue (wrapped onto the circle
// first) rises from lo to hi over 0..40, stays at hi up to 120, falls back
// over 120..160 and stays at lo beyond.
int HueToValue(int lo, int hi, int hue);

// c with its luminance L scaled to L * (100 - percent) / 100. percent is
// clamped to 0..100.
TColor DarkenColor(TColor c, int percent);

// c with its luminance moved percent of the way toward white. percent is
// clamped to 0..100.
TColor LightenColor(TColor c, int percent);

}  // namespace tw
