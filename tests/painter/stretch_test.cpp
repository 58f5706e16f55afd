// Showing the colour layer at a scale: exact copies near 1, area averages when
// shrinking, bilinear values when enlarging, and screen pixels that never
// depend on which rectangle is drawn. The filtered results are compared with
// a plain double-precision reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "base/ErrorsU.h"
#include "painter/StretchU.h"

namespace tw::test {
namespace {

TRaster24 RandomRaster(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  TRaster24 r(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) r.SetPixel(x, y, rng() & 0xFFFFFF);
  return r;
}

TRect FullScreen(const TRaster24& src, double scale) {
  return {0, 0, Nearest(src.Width() * scale), Nearest(src.Height() * scale)};
}

int Channel(TColor c, int k) { return int((c >> (8 * k)) & 0xFF); }

// The mean of the picture area under screen pixel (dx, dy), clipped to the
// picture, in doubles.
double AreaMean(const TRaster24& src, double scale, int dx, int dy, int k) {
  const double inv = 1.0 / scale;
  const double x0 = std::clamp(dx * inv, 0.0, double(src.Width()));
  const double x1 = std::clamp((dx + 1) * inv, 0.0, double(src.Width()));
  const double y0 = std::clamp(dy * inv, 0.0, double(src.Height()));
  const double y1 = std::clamp((dy + 1) * inv, 0.0, double(src.Height()));
  double sum = 0, area = 0;
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) {
      const double cw = std::max(0.0, std::min(x1, x + 1.0) - std::max(x0, double(x)));
      const double ch = std::max(0.0, std::min(y1, y + 1.0) - std::max(y0, double(y)));
      sum += cw * ch * Channel(src.Pixel(x, y), k);
      area += cw * ch;
    }
  return sum / area;
}

double Bilinear(const TRaster24& src, double scale, int dx, int dy, int k) {
  const double inv = 1.0 / scale;
  const double sx = std::clamp((dx + 0.5) * inv - 0.5, 0.0, src.Width() - 1.0);
  const double sy = std::clamp((dy + 0.5) * inv - 0.5, 0.0, src.Height() - 1.0);
  const int x0 = int(sx), y0 = int(sy);
  const int x1 = std::min(x0 + 1, src.Width() - 1), y1 = std::min(y0 + 1, src.Height() - 1);
  const double fx = sx - x0, fy = sy - y0;
  const double top = Channel(src.Pixel(x0, y0), k) * (1 - fx) + Channel(src.Pixel(x1, y0), k) * fx;
  const double bottom =
      Channel(src.Pixel(x0, y1), k) * (1 - fx) + Channel(src.Pixel(x1, y1), k) * fx;
  return top * (1 - fy) + bottom * fy;
}

TEST(Stretch, ScaleOneIsAnExactCopy) {
  const TRaster24 src = RandomRaster(37, 23, 1);
  const TRaster24 out = StretchToScreen(src, 1.0, FullScreen(src, 1.0));
  ASSERT_EQ(out.Width(), 37);
  ASSERT_EQ(out.Height(), 23);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(out.Pixel(x, y), src.Pixel(x, y)) << x << "," << y;
}

TEST(Stretch, ScaleNearOneCopiesThePicturePixelUnderEachScreenPixel) {
  // 1.005 is within 0.01 of 1: no smoothing, each screen pixel is the picture
  // pixel the mouse conversion nearest(x * InverseScale) gives for it.
  const TRaster24 src = RandomRaster(420, 9, 2);
  for (double scale : {1.005, 0.995}) {
    const TRect full = FullScreen(src, scale);
    const TRaster24 out = StretchToScreen(src, scale, full);
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x) {
        const int sx = std::min(Nearest(x * (1.0 / scale)), src.Width() - 1);
        const int sy = std::min(Nearest(y * (1.0 / scale)), src.Height() - 1);
        ASSERT_EQ(out.Pixel(x, y), src.Pixel(sx, sy)) << scale << ": " << x << "," << y;
      }
  }
}

TEST(Stretch, HalfScaleOfACheckerGivesTheMean) {
  const TColor a = RGB(10, 20, 30), b = RGB(50, 100, 200);
  TRaster24 src(8, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) src.SetPixel(x, y, (x + y) % 2 ? a : b);
  const TRaster24 out = StretchToScreen(src, 0.5, FullScreen(src, 0.5));
  ASSERT_EQ(out.Width(), 4);
  ASSERT_EQ(out.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(out.Pixel(x, y), RGB(30, 60, 115)) << x << "," << y;
}

TEST(Stretch, ShrinkingMatchesTheAreaMean) {
  const TRaster24 src = RandomRaster(41, 29, 3);
  for (double scale : {0.37, 0.5, 0.8, 0.98}) {
    const TRaster24 out = StretchToScreen(src, scale, FullScreen(src, scale));
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x)
        for (int k = 0; k < 3; ++k)
          ASSERT_NEAR(Channel(out.Pixel(x, y), k), AreaMean(src, scale, x, y, k), 1.0)
              << scale << ": " << x << "," << y << " channel " << k;
  }
}

TEST(Stretch, EnlargingMatchesBilinearInterpolation) {
  const TRaster24 src = RandomRaster(19, 13, 4);
  for (double scale : {1.02, 1.5, 2.0, 3.7}) {
    const TRaster24 out = StretchToScreen(src, scale, FullScreen(src, scale));
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x)
        for (int k = 0; k < 3; ++k)
          ASSERT_NEAR(Channel(out.Pixel(x, y), k), Bilinear(src, scale, x, y, k), 1.0)
              << scale << ": " << x << "," << y << " channel " << k;
  }
}

TEST(Stretch, PartialRepaintEqualsTheSamePartOfAFullRepaint) {
  const TRaster24 src = RandomRaster(53, 47, 5);
  std::mt19937 rng(6);
  for (double scale : {0.13, 0.37, 0.5, 0.98, 1.0, 1.005, 1.02, 1.5, 2.0, 3.3}) {
    const TRect full = FullScreen(src, scale);
    const TRaster24 whole = StretchToScreen(src, scale, full);
    for (int i = 0; i < 40; ++i) {
      std::uniform_int_distribution<int> xs(0, full.Right - 1), ys(0, full.Bottom - 1);
      int l = xs(rng), r = xs(rng), t = ys(rng), b = ys(rng);
      if (l > r) std::swap(l, r);
      if (t > b) std::swap(t, b);
      const TRect part{l, t, r + 1, b + 1};
      const TRaster24 piece = StretchToScreen(src, scale, part);
      for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x)
          ASSERT_EQ(piece.Pixel(x, y), whole.Pixel(l + x, t + y))
              << scale << ": " << l + x << "," << t + y;
    }
  }
}

TEST(Stretch, WritesIntoACallerBufferWithItsStride) {
  const TRaster24 src = RandomRaster(20, 20, 7);
  const TRect part{3, 4, 13, 9};
  const size_t stride = 40;
  std::vector<uint8_t> buffer(stride * 5, 0xAB);
  StretchToScreen(src, 1.5, part, buffer.data(), stride);
  const TRaster24 expected = StretchToScreen(src, 1.5, part);
  for (int y = 0; y < 5; ++y) {
    EXPECT_EQ(0, std::memcmp(buffer.data() + y * stride, expected.Row(y), 30)) << y;
    // Bytes past the row are the caller's and stay untouched.
    for (size_t i = 30; i < stride; ++i) ASSERT_EQ(buffer[y * stride + i], 0xAB);
  }
}

TEST(Stretch, EnlargingKeepsFlatRegionsFlat) {
  const TColor red = RGB(200, 30, 40), blue = RGB(20, 60, 220);
  TRaster24 src(20, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) src.SetPixel(x, y, x < 10 ? red : blue);
  const double scale = 3;
  const TRaster24 out = StretchToScreen(src, scale, FullScreen(src, scale));
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      // Screen pixel x samples at (x + 0.5) / 3 - 0.5; only samples between
      // picture columns 9 and 10 see both colours.
      const double sx = (x + 0.5) / scale - 0.5;
      if (sx <= 9) {
        ASSERT_EQ(out.Pixel(x, y), red) << x << "," << y;
      } else if (sx >= 10) {
        ASSERT_EQ(out.Pixel(x, y), blue) << x << "," << y;
      }
    }
  // A picture of one colour stays that colour at every scale, up to the edges
  // and beyond them.
  const TRaster24 flat(17, 11, RGB(123, 45, 67));
  for (double scale : {0.3, 0.77, 1.3, 2.5, 7.0}) {
    const TRect wide{-3, -2, Nearest(17 * scale) + 4, Nearest(11 * scale) + 3};
    const TRaster24 shown = StretchToScreen(flat, scale, wide);
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x)
        ASSERT_EQ(shown.Pixel(x, y), RGB(123, 45, 67)) << scale << ": " << x << "," << y;
  }
}

TEST(Stretch, PositionsBeyondThePictureTakeTheEdgePixels) {
  const TRaster24 src = RandomRaster(6, 4, 8);
  const TRaster24 out = StretchToScreen(src, 1.0, TRect{-2, -1, 9, 6});
  EXPECT_EQ(out.Pixel(0, 0), src.Pixel(0, 0));
  EXPECT_EQ(out.Pixel(10, 6), src.Pixel(5, 3));
  EXPECT_EQ(out.Pixel(5, 3), src.Pixel(3, 2));
}

TEST(Stretch, AChangeShowsOnlyInsideItsAffectedScreenRect) {
  std::mt19937 rng(10);
  for (double scale : {0.3, 0.5, 0.98, 1.0, 0.995, 1.005, 1.02, 1.5, 2.0, 3.3}) {
    const TRaster24 before = RandomRaster(31, 27, 11);
    const TRect full = FullScreen(before, scale);
    const TRaster24 shownBefore = StretchToScreen(before, scale, full);
    for (int i = 0; i < 25; ++i) {
      std::uniform_int_distribution<int> xs(0, 30), ys(0, 26);
      int l = xs(rng), r = xs(rng), t = ys(rng), b = ys(rng);
      if (l > r) std::swap(l, r);
      if (t > b) std::swap(t, b);
      const TRect changed{l, t, r + 1, b + 1};
      TRaster24 after = before;
      for (int y = changed.Top; y < changed.Bottom; ++y)
        for (int x = changed.Left; x < changed.Right; ++x)
          after.SetPixel(x, y, before.Pixel(x, y) ^ 0x808080);
      const TRaster24 shownAfter = StretchToScreen(after, scale, full);
      const TRect affected = AffectedScreenRect(changed, scale);
      for (int y = 0; y < full.Bottom; ++y)
        for (int x = 0; x < full.Right; ++x)
          if (shownAfter.Pixel(x, y) != shownBefore.Pixel(x, y)) {
            ASSERT_TRUE(affected.Contains(x, y)) << scale << ": " << x << "," << y;
          }
      // It is the scaled rectangle and at most the filter's reach around it.
      const TRect scaled{Nearest(l * scale), Nearest(t * scale), Nearest((r + 1) * scale),
                         Nearest((b + 1) * scale)};
      const int reach = scale == 1.0 ? 0 : int(std::ceil(scale / 2)) + 1;
      EXPECT_EQ(UnionRect(affected, scaled), affected);
      EXPECT_GE(affected.Left, scaled.Left - reach);
      EXPECT_GE(affected.Top, scaled.Top - reach);
      EXPECT_LE(affected.Right, scaled.Right + reach);
      EXPECT_LE(affected.Bottom, scaled.Bottom + reach);
    }
  }
  EXPECT_TRUE(AffectedScreenRect(TRect{}, 2.0).IsEmpty());
}

TEST(Stretch, RefusesBadInputWithAClearError) {
  const TRaster24 src = RandomRaster(4, 4, 9);
  uint8_t pixel[4];
  const TRect one{0, 0, 1, 1};
  EXPECT_THROW(StretchToScreen(src, 0.0, one, pixel, 4), EError);
  EXPECT_THROW(StretchToScreen(src, -1.0, one, pixel, 4), EError);
  EXPECT_THROW(StretchToScreen(src, std::nan(""), one, pixel, 4), EError);
  EXPECT_THROW(StretchToScreen(src, INFINITY, one, pixel, 4), EError);
  EXPECT_THROW(StretchToScreen(TRaster24(), 1.0, one, pixel, 4), EError);
  EXPECT_THROW(StretchToScreen(src, 1.0, one, nullptr, 4), EError);
  // Nothing to draw is not an error.
  EXPECT_NO_THROW(StretchToScreen(src, 2.0, TRect{}, nullptr, 0));
}

}  // namespace
}  // namespace tw::test
