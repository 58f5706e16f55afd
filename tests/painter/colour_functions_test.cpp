// The integer colour functions: HLS conversions, shades, hue warping and the
// paint-like mix. Expected values are worked out by hand from the integer
// rules; the property tests sweep coarse grids of colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "base/ErrorsU.h"
#include "painter/QGfxUtilU.h"
#include "painter/QPixelsMemU.h"

namespace tw {
namespace {

constexpr TColor Red = RGB(255, 0, 0);
constexpr TColor Green = RGB(0, 255, 0);
constexpr TColor Blue = RGB(0, 0, 255);
constexpr TColor Yellow = RGB(255, 255, 0);
constexpr TColor Cyan = RGB(0, 255, 255);
constexpr TColor Magenta = RGB(255, 0, 255);

THLS Hls(TColor c) { return THLS::Unpack(ColorToHLS(c)); }

// The largest difference of one channel between a and b.
int Distance(TColor a, TColor b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

std::vector<TColor> Grid(int step) {
  std::vector<TColor> out;
  for (int r = 0; r < 256; r += step)
    for (int g = 0; g < 256; g += step)
      for (int b = 0; b < 256; b += step) out.push_back(RGB(uint8_t(r), uint8_t(g), uint8_t(b)));
  return out;
}

// The same as repeated adding or subtracting of 240, literally.
int WrapHueByLoop(int h) {
  while (h < 0) h += 240;
  while (h > 240) h -= 240;
  return h;
}

TEST(RoundDiv, RoundsHalvesUpForPositiveQuotients) {
  EXPECT_EQ(RoundDiv(7, 2), 4);    // (7 + 1) / 2
  EXPECT_EQ(RoundDiv(5, 3), 2);    // (5 + 1) / 3
  EXPECT_EQ(RoundDiv(4, 3), 1);    // (4 + 1) / 3 = 5 / 3
  EXPECT_EQ(RoundDiv(0, 510), 0);  // (0 + 255) / 510
}

TEST(RoundDiv, NegativeNumeratorsTruncateTowardZero) {
  EXPECT_EQ(RoundDiv(-7, 2), -3);  // (-7 + 1) / 2 = -6 / 2
  // (-5 + 1) / 3 = -4 / 3 truncates to -1; rounding to nearest would give -2.
  EXPECT_EQ(RoundDiv(-5, 3), -1);
  EXPECT_EQ(RoundDiv(5, -3), -1);  // (5 + -1) / -3 = 4 / -3
}

TEST(RoundDiv, ZeroDivisorAndOverflowAreSafe) {
  EXPECT_THROW(RoundDiv(1, 0), EError);
  // INT_MAX + 1 would overflow in int: 2147483648 / 3 = 715827882.67.
  EXPECT_EQ(RoundDiv(INT_MAX, 3), 715827882);
  EXPECT_EQ(RoundDiv(INT_MIN, -1), INT_MAX);
}

TEST(WrapHue, EdgeValues) {
  EXPECT_EQ(WrapHue(-80), 160);
  EXPECT_EQ(WrapHue(320), 80);
  EXPECT_EQ(WrapHue(240), 240);
  EXPECT_EQ(WrapHue(0), 0);
  EXPECT_EQ(WrapHue(-240), 0);
  EXPECT_EQ(WrapHue(241), 1);
  EXPECT_EQ(WrapHue(480), 240);
}

TEST(WrapHue, MatchesTheLoopOverEverySixteenBitValue) {
  for (int h = INT16_MIN; h <= INT16_MAX; ++h) {
    const int w = WrapHue(h);
    ASSERT_EQ(w, WrapHueByLoop(h)) << h;
    ASSERT_TRUE(w >= 0 && w <= 240) << h;
  }
}

TEST(WrapHue, FarValuesLandOnTheCircle) {
  for (int h : {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX}) {
    const int w = WrapHue(h);
    EXPECT_TRUE(w >= 0 && w <= 240) << h;
    EXPECT_EQ((int64_t(h) - w) % 240, 0) << h;
  }
}

TEST(HLSPacking, SaturationLowLuminanceNextHueThird) {
  EXPECT_EQ((THLS{40, 120, 240}.Pack()), 0x002878F0u);
  EXPECT_EQ(THLS::Unpack(0x002878F0u), (THLS{40, 120, 240}));
  // The hue wraps onto the circle (300 -> 60 = 0x3C); L and S are clamped.
  EXPECT_EQ((THLS{300, -5, 999}.Pack()), 0x003C00F0u);
}

TEST(ColorToHLS, WhiteAndBlack) {
  // L = (510 * 240 + 255) div 510 = 240; a grey has S 0 and H 160.
  EXPECT_EQ(Hls(clWhite), (THLS{160, 240, 0}));
  EXPECT_EQ(Hls(clBlack), (THLS{160, 0, 0}));
}

TEST(ColorToHLS, PrimariesAndSecondaries) {
  // Red: L = (255 * 240 + 255) div 510 = 120; S = (255 * 240 + 127) div 255
  // = 240; Gd = Bd = (255 * 40 + 127) div 255 = 40, so H = Bd - Gd = 0.
  EXPECT_EQ(Hls(Red), (THLS{0, 120, 240}));
  EXPECT_EQ(ColorToHLS(Red), 0x000078F0u);
  // Yellow: R is the maximum, Bd = 40, Gd = 0, H = 40.
  EXPECT_EQ(Hls(Yellow), (THLS{40, 120, 240}));
  // Green: 80 + Rd - Bd = 80 + 40 - 40.
  EXPECT_EQ(Hls(Green).H, 80);
  // Cyan: G is the maximum, 80 + Rd - Bd = 80 + 40 - 0.
  EXPECT_EQ(Hls(Cyan).H, 120);
  // Blue: 160 + Gd - Rd = 160 + 40 - 40.
  EXPECT_EQ(Hls(Blue), (THLS{160, 120, 240}));
  // Magenta: R is the maximum, Bd - Gd = 0 - 40 wraps to 200.
  EXPECT_EQ(Hls(Magenta).H, 200);
}

TEST(ColorToHLS, GreyComesBackTruncated) {
  // 0x80 = 128: L = (256 * 240 + 255) div 510 = 61695 div 510 = 120; back,
  // 120 * 255 div 240 = 127.5 truncates to 127.
  EXPECT_EQ(Hls(RGB(0x80, 0x80, 0x80)), (THLS{160, 120, 0}));
  EXPECT_EQ(HLSToColor(ColorToHLS(RGB(0x80, 0x80, 0x80))), RGB(0x7F, 0x7F, 0x7F));
}

TEST(ColorToHLS, IgnoresTheTopByte) {
  EXPECT_EQ(ColorToHLS(clNone), ColorToHLS(clWhite));
  EXPECT_EQ(ColorToHLS(0xAB000000u | Red), ColorToHLS(Red));
}

TEST(HLSToColor, PrimariesAndSecondariesComeBackExactly) {
  for (TColor c : {Red, Green, Blue, Yellow, Cyan, Magenta, clBlack, clWhite})
    EXPECT_EQ(HLSToColor(ColorToHLS(c)), c) << std::hex << c;
}

TEST(HLSToColor, OutOfRangeBytesAreSafe) {
  // H 255, L 255 and S 255 are read as L 240, S 240: white.
  EXPECT_EQ(HLSToColor(0x00FFFFFFu), clWhite);
  EXPECT_EQ(HLSToColor(0xAB000000u | ColorToHLS(Red)), Red);
}

// H, L and S are each rounded to within half a step. On the 240 scale, half
// a hue step moves the middle channel by up to 0.5 * 240 / 40 = 3, half a
// luminance step a channel by up to 1 (M1 rises by up to 2 per step), half a
// saturation step by up to 0.25, and the roundings of M2 (which M1 doubles)
// and of the ramp add 1.5: 5.75 in all, 6.11 on the 255 scale. With the final
// rounding to a whole channel that is below 6.7, so at most 6.
constexpr int RoundTripBound = 6;

TEST(HLSToColor, RoundTripStaysClose) {
  for (TColor c : Grid(5)) {
    const TColor back = HLSToColor(ColorToHLS(c));
    ASSERT_LE(Distance(c, back), RoundTripBound) << std::hex << c;
    ASSERT_EQ(back >> 24, 0u);
  }
}

TEST(HueToValue, RampsBetweenLoAndHi) {
  EXPECT_EQ(HueToValue(0, 240, 20), 120);  // (240 * 20 + 20) div 40
  EXPECT_EQ(HueToValue(0, 240, 40), 240);
  EXPECT_EQ(HueToValue(0, 240, 119), 240);
  EXPECT_EQ(HueToValue(0, 240, 140), 120);  // (240 * (160 - 140) + 20) div 40
  EXPECT_EQ(HueToValue(0, 240, 160), 0);
  EXPECT_EQ(HueToValue(0, 240, -80), 0);   // wraps to 160
  EXPECT_EQ(HueToValue(0, 240, 280), 240);  // wraps to 40
  // Far-off bounds do not overflow: INT_MIN + (2^32 - 1) * 20 / 40, rounded.
  EXPECT_EQ(HueToValue(INT_MIN, INT_MAX, 20), 0);
}

TEST(DarkenLighten, GreyExamples) {
  // 0xA7 = 167: L = (334 * 240 + 255) div 510 = 157.
  // Darken 50: L = (50 * 157 + 50) div 100 = 79; 79 * 255 div 240 = 83 = 0x53.
  EXPECT_EQ(DarkenColor(RGB(0xA7, 0xA7, 0xA7), 50), RGB(0x53, 0x53, 0x53));
  // Lighten 50: L = 157 + (50 * 83 + 50) div 100 = 199; 199 * 255 div 240
  // = 211 = 0xD3.
  EXPECT_EQ(LightenColor(RGB(0xA7, 0xA7, 0xA7), 50), RGB(0xD3, 0xD3, 0xD3));
}

TEST(DarkenLighten, EndsAndClampedPercents) {
  for (TColor c : Grid(51)) {
    const TColor same = HLSToColor(ColorToHLS(c));
    EXPECT_EQ(DarkenColor(c, 0), same);
    EXPECT_EQ(LightenColor(c, 0), same);
    EXPECT_EQ(DarkenColor(c, 100), clBlack);
    EXPECT_EQ(LightenColor(c, 100), clWhite);
    EXPECT_EQ(DarkenColor(c, -20), same);
    EXPECT_EQ(DarkenColor(c, INT_MAX), clBlack);
    EXPECT_EQ(LightenColor(c, INT_MIN), same);
    EXPECT_EQ(LightenColor(c, 150), clWhite);
  }
}

TEST(DarkenLighten, MonotonicInPercent) {
  const auto noBrighter = [](TColor x, TColor y) {
    return GetRValue(y) <= GetRValue(x) && GetGValue(y) <= GetGValue(x) &&
           GetBValue(y) <= GetBValue(x);
  };
  for (TColor c : Grid(15)) {
    for (int p = 0; p < 100; ++p) {
      ASSERT_TRUE(noBrighter(DarkenColor(c, p), DarkenColor(c, p + 1))) << std::hex << c << p;
      ASSERT_TRUE(noBrighter(LightenColor(c, p + 1), LightenColor(c, p))) << std::hex << c << p;
    }
  }
}

TEST(WarpHue, EdgeValues) {
  EXPECT_EQ(WarpHue(0), 0);
  EXPECT_EQ(WarpHue(40), 80);    // 2 * 40
  EXPECT_EQ(WarpHue(41), 81);    // (1 * 80 + 60) div 120 + 80
  EXPECT_EQ(WarpHue(160), 160);  // (120 * 80 + 60) div 120 + 80
  EXPECT_EQ(WarpHue(200), 200);
  EXPECT_EQ(UnwarpHue(80), 40);
  EXPECT_EQ(UnwarpHue(81), 42);  // (1 * 120 + 40) div 80 + 40
  EXPECT_EQ(UnwarpHue(160), 160);
  EXPECT_EQ(UnwarpHue(255), 255);
}

TEST(WarpHue, UnwarpUndoesWarpWithinOneHueStep) {
  // Red to yellow is doubled and comes back exactly; yellow to blue is
  // squeezed to two thirds, and the two roundings lose at most one step.
  for (int h = 0; h <= 255; ++h) {
    const int back = UnwarpHue(WarpHue(uint8_t(h)));
    if (h <= 40 || h > 160)
      EXPECT_EQ(back, h);
    else
      EXPECT_LE(std::abs(back - h), 1) << h;
  }
}

TEST(BlendHLS, HueTakesTheShorterWay) {
  const THLSValue a = THLS{230, 120, 240}.Pack();
  const THLSValue b = THLS{10, 120, 240}.Pack();
  // d = 10 - 230 = -220, the other way round is +20: 230 + 10 = 240, which
  // stays 240; at 0.75, 230 + 15 = 245 wraps to 5.
  EXPECT_EQ(THLS::Unpack(BlendHLS(a, b, 0.5)), (THLS{240, 120, 240}));
  EXPECT_EQ(THLS::Unpack(BlendHLS(a, b, 0.75)), (THLS{5, 120, 240}));
}

TEST(BlendHLS, GreyHasNoHueAndWhiteNoSaturation) {
  // A grey takes the other hue; S = nearest(240 * 0.25 + 0) = 60.
  EXPECT_EQ(THLS::Unpack(BlendHLS(THLS{160, 100, 0}.Pack(), THLS{40, 120, 240}.Pack(), 0.25)),
            (THLS{40, 105, 60}));
  // White keeps the other colour's saturation: L = 240 + nearest(-60) = 180.
  EXPECT_EQ(THLS::Unpack(BlendHLS(THLS{160, 240, 0}.Pack(), THLS{0, 120, 240}.Pack(), 0.5)),
            (THLS{0, 180, 240}));
}

TEST(BlendHLS, HalvesRoundToEven) {
  // L: 0 + nearest(2.5) = 2 and 0 + nearest(1.5) = 2.
  EXPECT_EQ(THLS::Unpack(BlendHLS(THLS{0, 0, 100}.Pack(), THLS{0, 5, 100}.Pack(), 0.5)).L, 2);
  EXPECT_EQ(THLS::Unpack(BlendHLS(THLS{0, 0, 100}.Pack(), THLS{0, 3, 100}.Pack(), 0.5)).L, 2);
}

TEST(BlendHLS, BadSharesAreClamped) {
  const THLSValue a = THLS{20, 100, 200}.Pack();
  const THLSValue b = THLS{100, 50, 40}.Pack();
  EXPECT_EQ(BlendHLS(a, b, std::nan("")), a);
  EXPECT_EQ(BlendHLS(a, b, -3.0), a);
  EXPECT_EQ(BlendHLS(a, b, 7.0), b);
}

TEST(MixColors, YellowIntoBlueGivesGreenCyan) {
  // Warped hues: blue 160, yellow 80; the blend lands at 160 - 40 = 120.
  // g = 80 / 120 = 2/3, k = 1/3, m = 1: S = nearest(2/3 * 240) = 160.
  // UnwarpHue(120) = (40 * 120 + 40) div 80 + 40 = 100. Back with L 120:
  // M2 = (120 * 400 + 120) div 240 = 200, M1 = 40;
  // R (hue 180) = 40 -> 43, G (hue 100) = 200 -> 213,
  // B (hue 20) = 40 + (160 * 20 + 20) div 40 = 120 -> 128.
  EXPECT_EQ(MixColors(Blue, Yellow, 0.5), RGB(43, 213, 128));
}

TEST(MixColors, DropsOfBlueIntoYellow) {
  // One drop: hue 80 + nearest(80 / 6) = 93; m = 1/3, k = 1/3:
  // S = nearest((1 - 1/9) * 240) = 213; UnwarpHue(93) = 60.
  // M2 = (120 * 453 + 120) div 240 = 227, M1 = 13;
  // R (hue 140) = 13 + (214 * 20 + 20) div 40 = 120 -> 128,
  // G (hue 60) = 227 -> 241, B (hue 220) = 13 -> 14.
  EXPECT_EQ(MixColors(Yellow, Blue, 1.0 / 6), RGB(128, 241, 14));
  // Five drops: hue 80 + nearest(400 / 6) = 147, S 213 again (m = 1/3);
  // UnwarpHue(147) = (67 * 120 + 40) div 80 + 40 = 141;
  // R (hue 221) = 13 -> 14, G (hue 141) = 13 + (214 * 19 + 20) div 40 = 115
  // -> 122, B (hue 61) = 227 -> 241.
  EXPECT_EQ(MixColors(Yellow, Blue, 5.0 / 6), RGB(14, 122, 241));
}

TEST(MixColors, WarpedHuesHalfACircleApartMakeGrey) {
  // Orange RGB(255, 128, 0) has H 20 (Gd = (127 * 40 + 127) div 255 = 20),
  // warped 40; blue is warped 160: 120 apart, so g = 1, k = 1.
  const TColor orange = RGB(255, 128, 0);
  ASSERT_EQ(Hls(orange), (THLS{20, 120, 240}));
  // At 0.5, m = 1 and S becomes 0: grey of L 120 = 127.
  EXPECT_EQ(MixColors(orange, Blue, 0.5), RGB(127, 127, 127));
  // Beside the middle m = 0.8, S = nearest(0.2 * 240) = 48, and the hue is
  // that of the larger share. M2 = (120 * 288 + 120) div 240 = 144, M1 = 96.
  // At 0.6 blue's hue 160: R = G = 96 -> 102, B = 144 -> 153.
  EXPECT_EQ(MixColors(orange, Blue, 0.6), RGB(102, 102, 153));
  // At 0.4 orange's hue 20: R = 144 -> 153, G = 96 + (48 * 20 + 20) div 40
  // = 120 -> 128, B = 96 -> 102.
  EXPECT_EQ(MixColors(orange, Blue, 0.4), RGB(153, 128, 102));
}

TEST(MixColors, NearWhiteTakesTheOtherHue) {
  // RGB(255, 250, 250): L = (505 * 240 + 255) div 510 = 238, S 240, H 0. As
  // L > 230 it takes blue's hue 160, so no magenta appears: H 160,
  // L = 238 + nearest(-59) = 179, S 240; M2 = 179 + 240 - 179 = 240,
  // M1 = 118 -> 125 for R and G, B = 240 -> 255.
  const TColor pinkWhite = RGB(255, 250, 250);
  ASSERT_EQ(Hls(pinkWhite), (THLS{0, 238, 240}));
  EXPECT_EQ(MixColors(pinkWhite, Blue, 0.5), RGB(125, 125, 255));
  // White (a grey) takes red's hue and saturation: H 0, L 180, S 240;
  // M2 = 240, M1 = 120 -> 128.
  EXPECT_EQ(MixColors(clWhite, Red, 0.5), RGB(255, 128, 128));
}

// Mixing a colour with itself changes nothing in HLS but the trip through
// the warped hue.
TColor SelfMixReference(TColor c) {
  THLS h = Hls(c);
  h.H = UnwarpHue(WarpHue(uint8_t(h.H)));
  return HLSToColor(h.Pack());
}

// The warp may lose one more hue step: 240 / 40 = 6 on the 240 scale, 6.38
// on the 255 scale. 6.11 + 6.38 and the final rounding stay below 13.
constexpr int SelfMixBound = 12;

TEST(MixColors, WithItselfGivesItselfBack) {
  for (TColor c : Grid(15)) {
    for (double w : {0.0, 0.3, 0.5, 1.0}) {
      const TColor mixed = MixColors(c, c, w);
      ASSERT_EQ(mixed, SelfMixReference(c)) << std::hex << c << " " << w;
      ASSERT_LE(Distance(mixed, c), SelfMixBound) << std::hex << c << " " << w;
    }
  }
}

TEST(MixColors, EndSharesGiveTheEnds) {
  std::vector<TColor> saturated;
  for (TColor c : Grid(51)) {
    const THLS h = Hls(c);
    if (h.S >= 10 && h.L >= 10 && h.L <= 230) saturated.push_back(c);
  }
  ASSERT_GT(saturated.size(), 100u);
  for (TColor a : saturated) {
    for (TColor b : saturated) {
      const TColor first = MixColors(a, b, 0);
      const TColor second = MixColors(a, b, 1);
      ASSERT_EQ(first, SelfMixReference(a)) << std::hex << a << " " << b;
      ASSERT_EQ(second, SelfMixReference(b)) << std::hex << a << " " << b;
      ASSERT_LE(Distance(first, a), SelfMixBound);
      ASSERT_LE(Distance(second, b), SelfMixBound);
    }
  }
}

TEST(MixColors, BadSharesAreClamped) {
  const TColor a = RGB(200, 40, 90);
  const TColor b = RGB(30, 160, 220);
  EXPECT_EQ(MixColors(a, b, std::nan("")), MixColors(a, b, 0));
  EXPECT_EQ(MixColors(a, b, -0.5), MixColors(a, b, 0));
  EXPECT_EQ(MixColors(a, b, 4), MixColors(a, b, 1));
  EXPECT_EQ(MixColors(a, b, std::numeric_limits<double>::infinity()), MixColors(a, b, 1));
}

}  // namespace
}  // namespace tw
