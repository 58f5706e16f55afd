// Line art for the picture tool: brightness, the histogram threshold, speck
// and hole removal checked on small drawn pictures and against slow but
// obviously right reference versions on random pictures.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "base/ErrorsU.h"
#include "pages/LineArtU.h"
#include "pictures/picture_tool_art.h"
#include "support/AsciiArt.h"

namespace tw {
namespace {

using test::TArt;

TRaster1 Layer(const TArt& art) {
  TRaster1 r(int(art.at(0).size()), int(art.size()));
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) r.SetPixel(x, y, art[y].at(x) == '.');
  return r;
}

TEST(PictureToolLineArt, LuminanceKeepsGreysAndWeighsGreenMost) {
  // The weights add up to 256, so any grey keeps its level exactly.
  for (int g = 0; g < 256; ++g) EXPECT_EQ(Luminance(RGB(g, g, g)), g);
  EXPECT_GT(Luminance(RGB(0, 255, 0)), Luminance(RGB(255, 0, 0)));
  EXPECT_GT(Luminance(RGB(255, 0, 0)), Luminance(RGB(0, 0, 255)));
}

TEST(PictureToolLineArt, ThresholdMakesDarkerPixelsBlack) {
  TRaster24 ramp(4, 1);
  ramp.SetPixel(0, 0, RGB(0, 0, 0));
  ramp.SetPixel(1, 0, RGB(99, 99, 99));
  ramp.SetPixel(2, 0, RGB(100, 100, 100));
  ramp.SetPixel(3, 0, RGB(255, 255, 255));
  EXPECT_EQ(test::ToArt(ThresholdLuminance(ramp, 100)), (TArt{"##.."}));
  EXPECT_EQ(test::ToArt(ThresholdLuminance(ramp, 1)), (TArt{"#..."}));
  EXPECT_EQ(test::ToArt(ThresholdLuminance(ramp, 255)), (TArt{"###."}));
  EXPECT_THROW(ThresholdLuminance(ramp, 0), EError);
  EXPECT_THROW(ThresholdLuminance(ramp, 256), EError);
}

TEST(PictureToolLineArt, OtsuSplitsTwoLevelsJustAboveTheDarkOne) {
  // Every threshold from 31 to 220 gives the same two classes; the first is
  // taken.
  TRaster24 image(10, 10, RGB(220, 220, 220));
  for (int x = 0; x < 10; ++x) image.SetPixel(x, 3, RGB(30, 30, 30));
  EXPECT_EQ(OtsuThreshold(image), 31);
  EXPECT_EQ(OtsuThreshold(TRaster24(5, 5, RGB(90, 90, 90))), DefaultLineArtThreshold);
}

double BetweenClassVariance(const std::vector<int>& levels, int threshold) {
  double dark = 0, light = 0, darkSum = 0, lightSum = 0;
  for (int level : levels) {
    if (level < threshold) {
      ++dark;
      darkSum += level;
    } else {
      ++light;
      lightSum += level;
    }
  }
  if (dark == 0 || light == 0) return 0;
  const double d = darkSum / dark - lightSum / light;
  return dark * light * d * d;
}

TEST(PictureToolLineArt, OtsuFindsTheBestSplitOfRandomPictures) {
  std::mt19937 random(7);
  for (int round = 0; round < 60; ++round) {
    TRaster24 image(9, 7);
    std::vector<int> levels;
    const int centres[2] = {int(random() % 128), 128 + int(random() % 128)};
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) {
        const int level = std::clamp(centres[random() % 2] + int(random() % 61) - 30, 0, 255);
        image.SetPixel(x, y, RGB(level, level, level));
        levels.push_back(level);
      }
    double best = 0;
    for (int t = 1; t <= 255; ++t) best = std::max(best, BetweenClassVariance(levels, t));
    const int found = OtsuThreshold(image);
    ASSERT_GE(found, 1);
    ASSERT_LE(found, 255);
    EXPECT_GE(BetweenClassVariance(levels, found), best * (1 - 1e-9)) << "round " << round;
  }
}

TEST(PictureToolLineArt, BlackPartsJoinDiagonallyOnlyWhenAsked) {
  const TArt art = {
      "#.......",
      ".#......",
      "..#.....",
      "........",
      "....##..",
  };
  TRaster1 eight = Layer(art);
  EXPECT_EQ(RemoveSmallParts(eight, TRaster1::Black, 3, true), 1);
  EXPECT_EQ(test::ToArt(eight), (TArt{
                                    "#.......",
                                    ".#......",
                                    "..#.....",
                                    "........",
                                    "........",
                                }));
  TRaster1 four = Layer(art);
  EXPECT_EQ(RemoveSmallParts(four, TRaster1::Black, 3, false), 4);
  EXPECT_EQ(test::ToArt(four), (TArt(5, "........")));
}

TEST(PictureToolLineArt, WhiteHolesTouchingAtACornerAreSeparateForTheFill) {
  const TArt art = {
      "########",
      "#..#.###",
      "#..##.##",
      "########",
  };
  TRaster1 four = Layer(art);
  EXPECT_EQ(RemoveSmallParts(four, TRaster1::White, 2, false), 2);
  EXPECT_EQ(test::ToArt(four), (TArt{
                                   "########",
                                   "#..#####",
                                   "#..#####",
                                   "########",
                               }));
  TRaster1 eight = Layer(art);
  EXPECT_EQ(RemoveSmallParts(eight, TRaster1::White, 2, true), 0);
  EXPECT_EQ(test::ToArt(eight), art);
  TRaster1 none = Layer(art);
  EXPECT_EQ(RemoveSmallParts(none, TRaster1::White, 0, false), 0);
  EXPECT_EQ(test::ToArt(none), art);
}

// Labels spread between equal neighbours until nothing changes; then every
// part smaller than minSize flips. Slow, but plainly right.
int ReferenceRemove(TRaster1& layer, uint8_t value, int minSize, bool eightConnected) {
  const int w = layer.Width();
  const int h = layer.Height();
  std::vector<int> label(size_t(w * h), -1);
  for (int i = 0; i < w * h; ++i)
    if (layer.Pixel(i % w, i / w) == value) label[i] = i;
  for (bool changed = true; changed;) {
    changed = false;
    for (int i = 0; i < w * h; ++i) {
      if (label[i] < 0) continue;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          if (!eightConnected && dx != 0 && dy != 0) continue;
          const int x = i % w + dx;
          const int y = i / w + dy;
          if (x < 0 || y < 0 || x >= w || y >= h) continue;
          const int other = label[size_t(y * w + x)];
          if (other >= 0 && other < label[i]) {
            label[i] = other;
            changed = true;
          }
        }
    }
  }
  std::map<int, int> sizes;
  for (int l : label)
    if (l >= 0) ++sizes[l];
  int small = 0;
  for (const auto& [l, size] : sizes) small += size < minSize ? 1 : 0;
  for (int i = 0; i < w * h; ++i)
    if (label[i] >= 0 && sizes[label[i]] < minSize)
      layer.SetPixel(i % w, i / w, value == TRaster1::Black);
  return small;
}

TEST(PictureToolLineArt, RemovingSmallPartsMatchesTheReference) {
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    TRaster1 layer(1 + int(random() % 16), 1 + int(random() % 12));
    const unsigned blackShare = 2 + random() % 6;
    for (int y = 0; y < layer.Height(); ++y)
      for (int x = 0; x < layer.Width(); ++x) layer.SetPixel(x, y, random() % 10 >= blackShare);
    const uint8_t value = round % 2 ? TRaster1::Black : TRaster1::White;
    const bool eight = round % 4 < 2;
    const int minSize = 1 + int(random() % 9);
    TRaster1 expected;
    expected.CopyFrom(layer);
    const int expectedCount = ReferenceRemove(expected, value, minSize, eight);
    const int count = RemoveSmallParts(layer, value, minSize, eight);
    ASSERT_EQ(test::ToArt(layer), test::ToArt(expected)) << "round " << round;
    EXPECT_EQ(count, expectedCount) << "round " << round;
  }
}

TEST(PictureToolLineArt, GreyDrawingBecomesCleanBlackAndWhite) {
  TLineArtOptions options;
  options.Threshold = 128;
  options.SpeckSize = 4;
  options.HoleSize = 6;
  TLineArtReport report;
  const TRaster24 result = MakeLineArt(test::FromGreyArt(test::GreyDrawing), options, &report);
  EXPECT_EQ(test::ToArt(result), test::GreyDrawingLineArt);
  EXPECT_EQ(report.Threshold, 128);
  EXPECT_EQ(report.SpecksRemoved, 1);
  EXPECT_EQ(report.HolesFilled, 1);
  EXPECT_EQ(CountOffPalettePixels(result), 0);
}

TEST(PictureToolLineArt, HistogramThresholdGivesPureBlackAndWhiteForColours) {
  std::mt19937 random(3);
  TRaster24 image(20, 15);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      image.SetPixel(x, y, RGB(random() % 256, random() % 256, random() % 256));
  TLineArtReport report;
  const TRaster24 result = MakeLineArt(image, TLineArtOptions(), &report);
  EXPECT_EQ(CountOffPalettePixels(result), 0);
  EXPECT_EQ(report.Threshold, OtsuThreshold(image));
}

TEST(PictureToolLineArt, NegativeSizesAreRefused) {
  TLineArtOptions options;
  options.SpeckSize = -1;
  EXPECT_THROW(MakeLineArt(TRaster24(2, 2, clWhite), options), EError);
}

}  // namespace
}  // namespace tw
