// A colouring page made from an image: clean line art at most the page size,
// with every line kept through the shrinking. (Traced pages have tests of
// their own in outline_page_test.cpp.)
#include <gtest/gtest.h>

#include "pages/ColouringPageU.h"
#include "pictures/picture_tool_art.h"

namespace tw {
namespace {

TEST(ColouringPage, SmallDrawingIsItsLineArt) {
  TLineArtOptions options;
  options.Threshold = 128;
  options.SpeckSize = 4;
  options.HoleSize = 6;
  TLineArtReport report;
  const TRaster24 page =
      MakeColouringPage(test::FromGreyArt(test::GreyDrawing), options, 100, &report);
  EXPECT_EQ(test::ToArt(page), test::GreyDrawingLineArt);
  EXPECT_EQ(report.SpecksRemoved, 1);
  EXPECT_EQ(report.HolesFilled, 1);
}

TEST(ColouringPage, LargeImageShrinksToTheLongSideAndKeepsThinLines) {
  // A grey image with a one-pixel dark line every seventh column: shrunk to
  // a third, every line must still cross the page from top to bottom.
  TRaster24 image(300, 90, RGB(230, 230, 230));
  for (int x = 3; x < image.Width(); x += 7)
    for (int y = 0; y < image.Height(); ++y) image.SetPixel(x, y, RGB(40, 40, 40));
  const TRaster24 page = MakeColouringPage(image, {}, 100);
  ASSERT_EQ(page.Width(), 100);
  ASSERT_EQ(page.Height(), 30);
  EXPECT_EQ(CountOffPalettePixels(page), 0);
  for (int x0 = 3; x0 < image.Width(); x0 += 7) {
    const int x = x0 * 100 / 300;
    for (int y = 0; y < page.Height(); ++y) ASSERT_EQ(page.Pixel(x, y), clBlack) << x << "," << y;
  }
}

TEST(ColouringPage, DefaultSizeLimitIsThePictureLimit) {
  TLineArtOptions options;
  options.Threshold = DefaultLineArtThreshold;
  const TRaster24 page =
      MakeColouringPage(TRaster24(DefaultMaxPictureSide + 600, 30, clWhite), options);
  EXPECT_EQ(page.Width(), DefaultMaxPictureSide);
  EXPECT_EQ(page.Height(), 24);
}

}  // namespace
}  // namespace tw
