// The pixel kernels against plain per-pixel references: every run length
// around the vector widths, every rule, and the black report of AND.
#include <gtest/gtest.h>

#include <random>

#include "painter/PaintKernelsU.h"

namespace tw::test {
namespace {

TEST(SpanMixer, MatchesPerPixelRulesAndReportsBlackExactlyForAnd) {
  std::mt19937 rng(42);
  const int W = 80;
  for (int round = 0; round < 3000; ++round) {
    TRaster24 row(W, 1);
    for (int x = 0; x < W; ++x) {
      // Few distinct values, so AND often meets pixels it turns black.
      const TColor pick[] = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x010101, TColor(rng())};
      row.SetPixel(x, 0, pick[rng() % 6] & 0xFFFFFF);
    }
    const TRaster24 before = row;
    const TMixOp op = TMixOp(rng() % 3);
    const TColor c = TColor(rng() % 4 == 0 ? 0xFEFE00 : rng() & 0xFFFFFF) | (op != TMixOp::And);
    const int x0 = int(rng() % W), x1 = x0 + int(rng() % (W - x0 + 1));
    const bool black = TSpanMixer(c, op).Apply(row.Row(0), x0, x1);
    bool anyBlack = false;
    for (int x = 0; x < W; ++x) {
      const TColor old = before.Pixel(x, 0);
      TColor want = old;
      if (x >= x0 && x < x1) {
        want = op == TMixOp::Replace ? c : op == TMixOp::And ? (old & c) : (old | c);
        anyBlack |= want == 0;
      }
      ASSERT_EQ(row.Pixel(x, 0), want) << "round " << round << " x " << x;
    }
    if (op == TMixOp::And)
      ASSERT_EQ(black, anyBlack) << "round " << round << " run " << x0 << ".." << x1;
    else
      ASSERT_FALSE(black);
  }
}

TEST(ComposeSpan, BlackOutlineWinsAndTheBorderFollowsTheColour) {
  TRaster24 colour(6, 1);
  TRaster1 outline(6, 1, TRaster1::White), border(6, 1, TRaster1::White);
  const TColor pixels[] = {0x123456, 0x000000, 0x0000FF, 0x00FF00, 0xFFFFFF, 0x000001};
  for (int x = 0; x < 6; ++x) colour.SetPixel(x, 0, pixels[x]);
  outline.SetPixel(2, 0, false);
  ComposeSpan(colour, outline, border, 0, 0, 6, true);
  EXPECT_EQ(colour.Pixel(2, 0), 0u);
  EXPECT_EQ(colour.Pixel(0, 0), 0x123456u);
  const bool wantWhite[] = {true, false, false, true, true, true};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(border.IsWhite(x, 0), wantWhite[x]) << x;
}

}  // namespace
}  // namespace tw::test
