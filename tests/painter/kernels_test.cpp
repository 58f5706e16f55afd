// The pixel kernels against plain per-pixel references: every run length
// around the vector widths, every rule, and the black report of AND.
#include <gtest/gtest.h>

#include <random>
#include <vector>

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

// AND reports black only when one pixel has all three bytes zero: zeros in
// each channel spread over different pixels are not black, at any run length
// (short runs, whole groups of sixteen, a last group overlapping the one
// before) and wherever the black pixel lies, up to the last pixel of the row.
TEST(SpanMixer, AndReportsBlackOnlyForAPixelWithAllThreeBytesZero) {
  const TColor paint = 0x7F7F7F;
  for (int n = 1; n <= 50; ++n) {
    // Each colour keeps one channel under the paint and loses the other
    // two, which were 0x80.
    TRaster24 row(n, 1);
    const TColor cycle[] = {0x8080FF, 0x80FF80, 0xFF8080};
    for (int x = 0; x < n; ++x) row.SetPixel(x, 0, cycle[x % 3]);
    EXPECT_FALSE(TSpanMixer(paint, TMixOp::And).Apply(row.Row(0), 0, n)) << n;
    for (int x = 0; x < n; ++x) {
      const TColor want = cycle[x % 3] & paint;
      ASSERT_EQ(row.Pixel(x, 0), want) << n << " " << x;
    }
    for (int at : {0, n / 2, n - 1}) {
      for (int x = 0; x < n; ++x) row.SetPixel(x, 0, cycle[x % 3]);
      row.SetPixel(at, 0, 0x808080);
      EXPECT_TRUE(TSpanMixer(paint, TMixOp::And).Apply(row.Row(0), 0, n)) << n << " " << at;
      EXPECT_EQ(row.Pixel(at, 0), 0u);
    }
  }
}

// ApplyRuns gives the same pixels as Apply run by run, in the same order
// (runs may overlap), and lists exactly the runs Apply reports black for.
TEST(SpanMixer, ApplyRunsMatchesApplyRunByRun) {
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    const int w = 1 + int(rng() % 40), h = 1 + int(rng() % 12);
    TRaster24 layer(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TColor pick[] = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, TColor(rng())};
        layer.SetPixel(x, y, pick[rng() % 5] & 0xFFFFFF);
      }
    TRaster24 expected = layer;
    const TMixOp op = TMixOp(rng() % 3);
    const TSpanMixer mixer(TColor(rng() & 0xFFFFFF) | (op != TMixOp::And), op);
    std::vector<TPixelRun> runs(rng() % 30);
    std::vector<uint32_t> expectedBlack;
    for (size_t i = 0; i < runs.size(); ++i) {
      const int x0 = int(rng() % w), x1 = x0 + 1 + int(rng() % (w - x0));
      runs[i] = {uint16_t(rng() % h), uint16_t(x0), uint16_t(x1)};
      if (mixer.Apply(expected.Row(runs[i].Y), x0, x1)) expectedBlack.push_back(uint32_t(i));
    }
    std::vector<uint32_t> black;
    mixer.ApplyRuns(layer, runs.data(), runs.size(), black);
    ASSERT_EQ(black, expectedBlack) << "round " << round;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(layer.Pixel(x, y), expected.Pixel(x, y)) << "round " << round;
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
