#include "painter/QGfxUtilU.h"

#include <algorithm>
#include <climits>

#include "base/ErrorsU.h"

namespace tw {

THLSValue THLS::Pack() const {
  const auto byte = [](int v) { return THLSValue(std::clamp(v, 0, HLSMax)); };
  return byte(S) | (byte(L) << 8) | (THLSValue(WrapHue(H)) << 16);
}

THLS THLS::Unpack(THLSValue hls) {
  return {int((hls >> 16) & 0xFF), int((hls >> 8) & 0xFF), int(hls & 0xFF)};
}

int RoundDiv(int a, int b) {
  if (b == 0) throw EError("RoundDiv: division by zero");
  // In 64 bits a + b / 2 cannot overflow; C++ division truncates toward zero,
  // which is the rounding this function is defined by.
  const int64_t q = (int64_t(a) + b / 2) / b;
  return int(std::clamp<int64_t>(q, INT_MIN, INT_MAX));
}

int WrapHue(int h) {
  // The closed form of repeated adding or subtracting of 240, so a far-off
  // value costs no more than a near one.
  if (h < 0) return (h % HLSMax + HLSMax) % HLSMax;
  if (h > HLSMax) return (h - 1) % HLSMax + 1;
  return h;
}

THLSValue ColorToHLS(TColor c) {
  const int r = GetRValue(c);
  const int g = GetGValue(c);
  const int b = GetBValue(c);
  const int cMax = std::max({r, g, b});
  const int cMin = std::min({r, g, b});
  THLS hls;
  hls.L = RoundDiv((cMax + cMin) * HLSMax, 510);
  if (cMax == cMin) {
    hls.H = GreyHue;
    return hls.Pack();
  }
  // Neither divisor can be 0 here: cMax > cMin makes cMax + cMin positive,
  // and L > 120 needs cMax + cMin above 255, where 510 - cMax - cMin is 0
  // only for cMax = cMin = 255.
  const int range = cMax - cMin;
  if (hls.L <= HLSMax / 2)
    hls.S = RoundDiv(range * HLSMax, cMax + cMin);
  else
    hls.S = RoundDiv(range * HLSMax, 510 - cMax - cMin);
  const int rd = RoundDiv((cMax - r) * 40, range);
  const int gd = RoundDiv((cMax - g) * 40, range);
  const int bd = RoundDiv((cMax - b) * 40, range);
  if (r == cMax)
    hls.H = bd - gd;
  else if (g == cMax)
    hls.H = 80 + rd - bd;
  else
    hls.H = 160 + gd - rd;
  hls.H = WrapHue(hls.H);
  return hls.Pack();
}

int HueToValue(int lo, int hi, int hue) {
  hue = WrapHue(hue);
  // RoundDiv((hi - lo) * t, 40) in 64 bits: callers may pass any ints for lo
  // and hi, not only 0..240.
  const auto ramp = [lo, hi](int t) {
    const int64_t span = int64_t(hi) - lo;
    return int(lo + (span * t + 20) / 40);
  };
  if (hue < 40) return ramp(hue);
  if (hue < 120) return hi;
  if (hue < 160) return ramp(160 - hue);
  return lo;
}

TColor HLSToColor(THLSValue hls) {
  const THLS c = THLS::Unpack(hls);
  const int l = std::min(c.L, HLSMax);
  const int s = std::min(c.S, HLSMax);
  if (s == 0) {
    const auto v = uint8_t(l * 255 / HLSMax);
    return RGB(v, v, v);
  }
  const int m2 = l <= HLSMax / 2 ? RoundDiv(l * (HLSMax + s), HLSMax)
                                 : l + s - RoundDiv(l * s, HLSMax);
  const int m1 = 2 * l - m2;
  // With L and S in 0..240, 0 <= m1 <= m2 <= 240, so every channel is 0..255.
  const auto channel = [m1, m2](int hue) {
    return uint8_t(RoundDiv(HueToValue(m1, m2, hue) * 255, HLSMax));
  };
  return RGB(channel(c.H + 80), channel(c.H), channel(c.H - 80));
}

TColor DarkenColor(TColor c, int percent) {
  percent = std::clamp(percent, 0, 100);
  THLS h = THLS::Unpack(ColorToHLS(c));
  h.L = RoundDiv((100 - percent) * h.L, 100);
  return HLSToColor(h.Pack());
}

TColor LightenColor(TColor c, int percent) {
  percent = std::clamp(percent, 0, 100);
  THLS h = THLS::Unpack(ColorToHLS(c));
  h.L += RoundDiv(percent * (HLSMax - h.L), 100);
  return HLSToColor(h.Pack());
}

}  // namespace tw
