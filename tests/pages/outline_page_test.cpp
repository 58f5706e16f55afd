// Pages traced from images: filled shapes become closed outlines with white
// insides, drawings keep their lines, the size is the page size, and the
// result is pure black and white. Fills are checked with a plain
// breadth-first search over the white pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <random>
#include <thread>
#include <vector>

#include "base/ErrorsU.h"
#include "pages/ColouringPageU.h"

namespace tw {
namespace {

struct TFill {
  int64_t Pixels = 0;
  bool TouchesEdge = false;
  std::vector<uint8_t> Inside;
  bool Has(const TRaster24& page, int x, int y) const {
    return Inside[size_t(y) * size_t(page.Width()) + size_t(x)] != 0;
  }
};

// The white pixels a fill from (x, y) reaches, spreading 4-connected.
TFill FillFrom(const TRaster24& page, int x, int y) {
  const int w = page.Width(), h = page.Height();
  TFill fill;
  fill.Inside.assign(size_t(w) * size_t(h), 0);
  if (page.Pixel(x, y) != clWhite) return fill;
  std::vector<std::pair<int, int>> work{{x, y}};
  fill.Inside[size_t(y) * size_t(w) + size_t(x)] = 1;
  while (!work.empty()) {
    const auto [px, py] = work.back();
    work.pop_back();
    ++fill.Pixels;
    if (px == 0 || py == 0 || px == w - 1 || py == h - 1) fill.TouchesEdge = true;
    const std::pair<int, int> around[4] = {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}};
    for (const auto& [nx, ny] : around) {
      if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
      uint8_t& seen = fill.Inside[size_t(ny) * size_t(w) + size_t(nx)];
      if (seen || page.Pixel(nx, ny) != clWhite) continue;
      seen = 1;
      work.push_back({nx, ny});
    }
  }
  return fill;
}

int64_t CountBlack(const TRaster24& page) {
  int64_t black = 0;
  for (int y = 0; y < page.Height(); ++y)
    for (int x = 0; x < page.Width(); ++x) black += page.Pixel(x, y) == clBlack;
  return black;
}

void DrawDisc(TRaster24& image, double cx, double cy, double r, TColor colour) {
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (std::hypot(x - cx, y - cy) <= r) image.SetPixel(x, y, colour);
}

// A ring of the given width; angles (in radians) inside the gap stay open.
void DrawRing(TRaster24& image, double cx, double cy, double r, double width, TColor colour,
              double gapFrom = 0, double gapTo = 0) {
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const double d = std::hypot(x - cx, y - cy);
      const double angle = std::atan2(y - cy, x - cx);
      if (std::abs(d - r) <= width / 2 && !(angle >= gapFrom && angle < gapTo))
        image.SetPixel(x, y, colour);
    }
}

TEST(OutlinePage, RedDiscBecomesAClosedRingWithAWhiteInside) {
  TRaster24 image(400, 400, clWhite);
  DrawDisc(image, 200, 200, 120, RGB(220, 30, 30));
  const TRaster24 page = MakeColouringPage(image);
  ASSERT_EQ(page.Width(), OutlineWorkingSide);
  ASSERT_EQ(page.Height(), OutlineWorkingSide);
  EXPECT_EQ(CountOffPalettePixels(page), 0);

  // The white paper around the disc is cut down to a narrow border, so the
  // disc fills most of the page, centred.
  const int c = page.Width() / 2;
  const TFill inside = FillFrom(page, c, c);
  EXPECT_FALSE(inside.TouchesEdge);
  EXPECT_GT(inside.Pixels, int64_t(0.55 * page.Width() * page.Height()));
  const TFill outside = FillFrom(page, 2, 2);
  EXPECT_TRUE(outside.TouchesEdge);
  EXPECT_FALSE(outside.Has(page, c, c));
  EXPECT_EQ(inside.Pixels + outside.Pixels + CountBlack(page),
            int64_t(page.Width()) * page.Height());
  // Only a ring is black, not the disc: a few per cent of the page.
  EXPECT_LT(CountBlack(page), int64_t(0.06 * page.Width() * page.Height()));
  // Each ray from the centre meets black once, at the rim, in a line of a
  // few pixels.
  for (int degrees = 0; degrees < 360; degrees += 15) {
    const double a = degrees * M_PI / 180;
    int black = 0;
    for (int d = 0; d < c; ++d)
      black += page.Pixel(int(c + d * std::cos(a)), int(c + d * std::sin(a))) == clBlack;
    EXPECT_GE(black, 3) << degrees;
    EXPECT_LE(black, 12) << degrees;
  }
}

TEST(OutlinePage, TwoTouchingColoursGetALineBetweenThem) {
  TRaster24 image(600, 400, RGB(240, 200, 40));
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 300; x < image.Width(); ++x) image.SetPixel(x, y, RGB(40, 90, 200));
  const TRaster24 page = MakeColouringPage(image);
  ASSERT_EQ(page.Width(), 1200);
  ASSERT_EQ(page.Height(), 800);
  EXPECT_EQ(CountOffPalettePixels(page), 0);
  const TFill left = FillFrom(page, 200, 400);
  EXPECT_FALSE(left.Has(page, 1000, 400));
  EXPECT_GT(left.Pixels, 500 * 800);
  for (int y = 0; y < page.Height(); ++y) {
    int black = 0;
    for (int x = 580; x < 620; ++x) black += page.Pixel(x, y) == clBlack;
    ASSERT_GE(black, 3) << y;
    ASSERT_LE(black, 10) << y;
  }
}

TEST(OutlinePage, LineDrawingKeepsItsLines) {
  // A drawing at the working size in a frame at the edge of the page: a
  // rectangle, a circle and a diagonal in 3-px black on white.
  TRaster24 image(1200, 900, clWhite);
  for (int x = 0; x < 1200; ++x) {
    image.SetPixel(x, 0, clBlack);
    image.SetPixel(x, 899, clBlack);
  }
  for (int y = 0; y < 900; ++y) {
    image.SetPixel(0, y, clBlack);
    image.SetPixel(1199, y, clBlack);
  }
  for (int x = 100; x < 700; ++x)
    for (int t = 0; t < 3; ++t) {
      image.SetPixel(x, 100 + t, clBlack);
      image.SetPixel(x, 500 + t, clBlack);
    }
  for (int y = 100; y < 503; ++y)
    for (int t = 0; t < 3; ++t) {
      image.SetPixel(100 + t, y, clBlack);
      image.SetPixel(697 + t, y, clBlack);
    }
  DrawRing(image, 950, 300, 150, 3, clBlack);
  for (int i = 0; i < 500; ++i)
    for (int t = 0; t < 3; ++t) image.SetPixel(150 + i + t, 850 - i / 2, clBlack);
  const TRaster24 page = MakeColouringPage(image);
  ASSERT_EQ(page.Width(), 1200);
  ASSERT_EQ(page.Height(), 900);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      if (image.Pixel(x, y) == clBlack) {
        ASSERT_EQ(page.Pixel(x, y), clBlack) << x << "," << y;
      }
    }
  // Lines stay lines: the shapes' insides are white and stay apart.
  const TFill box = FillFrom(page, 400, 300);
  EXPECT_FALSE(box.TouchesEdge);
  EXPECT_FALSE(box.Has(page, 950, 300));
  EXPECT_GT(box.Pixels, 560 * 360);
  const TFill ring = FillFrom(page, 950, 300);
  EXPECT_FALSE(ring.TouchesEdge);
  EXPECT_GT(ring.Pixels, int64_t(M_PI * 140 * 140));
  EXPECT_LT(CountBlack(page), int64_t(0.08 * 1200 * 900));
}

TEST(OutlinePage, GapOfAFewPixelsInAnOutlineIsClosed) {
  // Grey paper, so the page keeps the drawing's size, with a dark ring of
  // radius 300 that has a gap of about 4 px (0.013 rad) on its right.
  TRaster24 image(1200, 1200, RGB(235, 235, 235));
  DrawRing(image, 600, 600, 300, 3, RGB(30, 30, 30), -0.0067, 0.0067);
  ASSERT_NE(image.Pixel(900, 600), RGB(30, 30, 30));
  const TRaster24 page = MakeColouringPage(image);
  ASSERT_EQ(page.Width(), 1200);
  const TFill inside = FillFrom(page, 600, 600);
  EXPECT_FALSE(inside.TouchesEdge);
  EXPECT_GT(inside.Pixels, int64_t(M_PI * 290 * 290));
}

TEST(OutlinePage, SmallIconIsEnlargedToThePageSize) {
  TRaster24 icon(64, 48, RGB(250, 240, 200));
  DrawDisc(icon, 32, 24, 16, RGB(40, 160, 60));
  const TRaster24 page = MakeColouringPage(icon);
  EXPECT_EQ(page.Width(), OutlineWorkingSide);
  EXPECT_EQ(page.Height(), OutlineWorkingSide * 48 / 64);
  const TFill inside = FillFrom(page, page.Width() / 2, page.Height() / 2);
  EXPECT_FALSE(inside.TouchesEdge);
  EXPECT_GT(inside.Pixels, 10000);
}

TEST(OutlinePage, LargeImagesAreTracedAtThePageSizeThenFitTheLimit) {
  TRaster24 image(2000, 1500, RGB(250, 240, 200));
  DrawDisc(image, 1000, 750, 500, RGB(30, 30, 200));
  const TRaster24 page = MakeColouringPage(image);
  EXPECT_EQ(page.Width(), OutlineWorkingSide);
  EXPECT_EQ(page.Height(), 900);
  const TRaster24 small = MakeColouringPage(image, {}, 600);
  EXPECT_EQ(small.Width(), 600);
  EXPECT_EQ(small.Height(), 450);
  EXPECT_EQ(CountOffPalettePixels(small), 0);
  EXPECT_FALSE(FillFrom(small, 300, 225).TouchesEdge);
}

TEST(OutlinePage, NoisyColoursGivePureBlackAndWhite) {
  std::mt19937 random(5);
  TRaster24 image(300, 200);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      image.SetPixel(x, y, RGB(random() % 256, random() % 256, random() % 256));
  const TRaster24 page = MakeColouringPage(image);
  ASSERT_FALSE(page.IsEmpty());
  EXPECT_EQ(CountOffPalettePixels(page), 0);
}

TEST(OutlinePage, WhitePaperAroundADrawingIsCutAway) {
  // A green square of 100 px in the corner of a large white image.
  TRaster24 image(1000, 800, clWhite);
  for (int y = 50; y < 150; ++y)
    for (int x = 60; x < 160; ++x) image.SetPixel(x, y, RGB(30, 160, 60));
  const TRaster24 page = MakeColouringPage(image);
  ASSERT_EQ(page.Width(), OutlineWorkingSide);
  ASSERT_EQ(page.Height(), OutlineWorkingSide);
  // The square's inside is most of the page, its outline near the border.
  const TFill inside = FillFrom(page, 600, 600);
  EXPECT_FALSE(inside.TouchesEdge);
  EXPECT_GT(inside.Pixels, int64_t(0.7 * 1200 * 1200));
  EXPECT_EQ(page.Pixel(1, 600), clWhite);
}

TEST(OutlinePage, SingleColourAndTinyImagesGiveWhitePages) {
  for (const TRaster24& image : {TRaster24(300, 200, RGB(20, 120, 40)), TRaster24(300, 200, clWhite),
                                 TRaster24(1, 1, clBlack), TRaster24(1, 1, clWhite)}) {
    const TRaster24 page = MakeColouringPage(image);
    ASSERT_FALSE(page.IsEmpty());
    EXPECT_EQ(std::max(page.Width(), page.Height()), OutlineWorkingSide);
    EXPECT_EQ(CountBlack(page), 0) << image.Width() << "x" << image.Height();
    EXPECT_EQ(CountOffPalettePixels(page), 0);
  }
}

TEST(OutlinePage, ThinStripsOfAnyLengthGivePages) {
  for (const auto& [w, h] : {std::pair{3000, 2}, std::pair{1, 500}, std::pair{2, 1}}) {
    TRaster24 image(w, h, RGB(200, 60, 60));
    image.SetPixel(0, 0, clBlack);
    const TRaster24 page = MakeColouringPage(image);
    ASSERT_FALSE(page.IsEmpty()) << w << "x" << h;
    EXPECT_EQ(std::max(page.Width(), page.Height()), OutlineWorkingSide) << w << "x" << h;
    EXPECT_EQ(CountOffPalettePixels(page), 0) << w << "x" << h;
  }
}

TEST(OutlinePage, NegativeSizesAreRefused) {
  TLineArtOptions options;
  options.HoleSize = -1;
  EXPECT_THROW(MakeColouringPage(TRaster24(4, 4, clWhite), options), EError);
}

TEST(OutlinePage, ProgressRisesFromZeroToOne) {
  TRaster24 image(200, 100, clWhite);
  DrawDisc(image, 100, 50, 30, RGB(200, 0, 0));
  std::vector<double> heard;
  MakeColouringPage(image, {}, DefaultMaxPictureSide, nullptr,
                    [&heard](double done) { heard.push_back(done); });
  ASSERT_GE(heard.size(), 3u);
  EXPECT_EQ(heard.front(), 0.0);
  EXPECT_EQ(heard.back(), 1.0);
  for (size_t i = 1; i < heard.size(); ++i) EXPECT_GE(heard[i], heard[i - 1]);
}

// The threads of this process, counted by the kernel.
int RunningThreads() {
  return int(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                           std::filesystem::directory_iterator()));
}

TEST(OutlinePage, SameImageGivesTheSamePageOnAnyThreadAndLeavesNoThreadBehind) {
  TRaster24 image(300, 200, clWhite);
  DrawDisc(image, 100, 100, 60, RGB(200, 40, 40));
  DrawDisc(image, 200, 100, 60, RGB(40, 40, 200));
  TLineArtReport report;
  const TRaster24 first = MakeColouringPage(image, {}, DefaultMaxPictureSide, &report);
  EXPECT_EQ(report.Threshold, 0);
  EXPECT_GE(report.Regions, 3);
  TRaster24 onThreads[2];
  std::thread a([&] { onThreads[0] = MakeColouringPage(image); });
  std::thread b([&] { onThreads[1] = MakeColouringPage(image); });
  a.join();
  b.join();
  for (const TRaster24& page : onThreads) {
    ASSERT_EQ(page.Width(), first.Width());
    ASSERT_EQ(page.Height(), first.Height());
    for (int y = 0; y < page.Height(); ++y)
      ASSERT_EQ(std::memcmp(page.Row(y), first.Row(y), size_t(page.Width()) * 3), 0) << y;
  }
  // Idle worker threads would hang a test that forks, and sit in the
  // program for as long as it runs.
  EXPECT_EQ(RunningThreads(), 1);
}

TEST(OutlinePage, AThresholdGivesTheThresholdedLineArt) {
  TRaster24 image(50, 40, RGB(200, 200, 200));
  for (int x = 0; x < 50; ++x) image.SetPixel(x, 20, RGB(60, 60, 60));
  TLineArtOptions options;
  options.Threshold = 128;
  TLineArtReport report;
  const TRaster24 page = MakeColouringPage(image, options, DefaultMaxPictureSide, &report);
  const TRaster24 lineArt = MakeLineArt(image, options);
  ASSERT_EQ(page.Width(), 50);
  ASSERT_EQ(page.Height(), 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(page.Pixel(x, y), lineArt.Pixel(x, y));
  EXPECT_EQ(report.Threshold, 128);
}

}  // namespace
}  // namespace tw
