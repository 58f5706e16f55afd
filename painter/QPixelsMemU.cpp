#include "painter/QPixelsMemU.h"

#include <cmath>
#include <cstdlib>

namespace tw {
namespace {

// Below this saturation a colour counts as nearly grey, below this luminance
// as nearly black; above the second luminance as nearly white. Such a colour
// has no hue worth keeping and takes the other colour's.
constexpr int NearGrey = 10;
constexpr int NearBlack = 10;
constexpr int NearWhite = 230;
// Warped hues further apart than this share of half the circle make mud.
constexpr double HueDistanceThreshold = 0.5;
// How much of the saturation opposite hues take away at an even mix.
constexpr double DesaturationStrength = 1.0;
// When the hues are this nearly opposite, the blended hue means nothing and
// the hue of the larger share is taken instead.
constexpr double HuePickThreshold = 0.8;

double ClampShare(double w) {
  if (std::isnan(w)) return 0.0;
  return std::fmin(std::fmax(w, 0.0), 1.0);
}

bool Faint(const THLS& c) { return c.S < NearGrey; }
bool Dark(const THLS& c) { return c.L < NearBlack; }
bool Pale(const THLS& c) { return c.L > NearWhite; }

// True when x lacks a hue worth keeping and y has one.
bool TakesHueFrom(const THLS& x, const THLS& y) {
  return (Faint(x) && !Faint(y)) || (Dark(x) && !Dark(y)) || (Pale(x) && !Pale(y));
}

}  // namespace

uint8_t WarpHue(uint8_t h) {
  if (h <= 40) return uint8_t(RoundDiv(h * 80, 40));
  if (h <= 160) return uint8_t(RoundDiv((h - 40) * 80, 120) + 80);
  return h;
}

uint8_t UnwarpHue(uint8_t h) {
  if (h <= 80) return uint8_t(RoundDiv(h * 40, 80));
  if (h <= 160) return uint8_t(RoundDiv((h - 80) * 120, 80) + 40);
  return h;
}

THLSValue BlendHLS(THLSValue a, THLSValue b, double w) {
  w = ClampShare(w);
  const THLS x = THLS::Unpack(a);
  const THLS y = THLS::Unpack(b);
  THLS c;
  if (x.S == 0) {
    c.H = y.H;
  } else if (y.S == 0) {
    c.H = x.H;
  } else {
    int d = y.H - x.H;
    if (d <= -HLSMax / 2)
      d += HLSMax;
    else if (d > HLSMax / 2)
      d -= HLSMax;
    int h = x.H + Nearest(d * w);
    if (h < 0)
      h += HLSMax;
    else if (h > HLSMax)
      h -= HLSMax;
    c.H = h;
  }
  c.L = x.L + Nearest((y.L - x.L) * w);
  if (x.L == HLSMax)
    c.S = y.S;
  else if (y.L == HLSMax)
    c.S = x.S;
  else
    c.S = Nearest((y.S - x.S) * w + x.S);
  return c.Pack();
}

TColor MixColors(TColor A, TColor B, double w) {
  w = ClampShare(w);
  THLS a = THLS::Unpack(ColorToHLS(A));
  THLS b = THLS::Unpack(ColorToHLS(B));
  if (TakesHueFrom(a, b))
    a.H = b.H;
  else if (TakesHueFrom(b, a))
    b.H = a.H;
  a.H = WarpHue(uint8_t(a.H));
  b.H = WarpHue(uint8_t(b.H));
  THLS c = THLS::Unpack(BlendHLS(a.Pack(), b.Pack(), w));

  double g = std::abs(a.H - b.H) / double(HLSMax / 2);
  if (g > 1) g = 2 - g;
  if (g > HueDistanceThreshold) {
    const double k = (g - HueDistanceThreshold) / (1 - HueDistanceThreshold);
    double m = 2 * w;
    if (m > 1) m = 2 - m;
    c.S = Nearest((1 - DesaturationStrength * m * k) * c.S);
    if (k > HuePickThreshold) c.H = w < 0.5 ? a.H : b.H;
  }
  c.H = UnwarpHue(uint8_t(c.H));
  return HLSToColor(c.Pack());
}

}  // namespace tw
