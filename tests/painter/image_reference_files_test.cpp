// Decoding files written by another program (ImageMagick, through
// tests/fuzz/make-seeds.sh) whose pixels follow simple rules, in every
// variant the readers support: palette, grey, 16-bit, interlaced, alpha,
// bit-field and CMYK files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"

namespace tw {
namespace {

const std::string SeedFolder = std::string(TINTWELL_TEST_DATA) + "/fuzz/seeds/";

// The pictures make-seeds.sh draws, 16 x 8 pixels each.
TColor Grad(int x, int y) { return RGB(uint8_t(17 * x), uint8_t(36 * y), uint8_t(255 - 17 * x)); }
TColor GradOverWhite(int x, int y) {
  const int alpha = 36 * y;
  auto over = [alpha](int v) { return uint8_t((v * alpha + 255 * (255 - alpha) + 127) / 255); };
  return RGB(over(17 * x), over(36 * y), over(255 - 17 * x));
}
TColor Greys(int x, int) { return RGB(uint8_t(17 * x), uint8_t(17 * x), uint8_t(17 * x)); }
TColor Checker(int x, int y) { return (x + y) % 3 == 0 ? clBlack : clWhite; }

struct TReferenceFile {
  const char* Name;
  std::function<TColor(int, int)> Expected;
  // The largest difference allowed in any channel: 0 for lossless files.
  int Tolerance;
};

void ExpectPicture(const TReferenceFile& file) {
  SCOPED_TRACE(file.Name);
  const TRaster24 image = ReadImageFile(SeedFolder + file.Name);
  ASSERT_EQ(image.Width(), 16);
  ASSERT_EQ(image.Height(), 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      const TColor want = file.Expected(x, y), got = image.Pixel(x, y);
      const int error = std::max({std::abs(GetRValue(want) - GetRValue(got)),
                                  std::abs(GetGValue(want) - GetGValue(got)),
                                  std::abs(GetBValue(want) - GetBValue(got))});
      ASSERT_LE(error, file.Tolerance)
          << "at " << x << "," << y << ": " << std::hex << got << " for " << want;
    }
}

TEST(ImageReferenceFiles, LosslessFilesDecodeExactly) {
  const TReferenceFile files[] = {
      {"grad.png", Grad, 0},
      {"grad-interlaced.png", Grad, 0},
      {"grad-16bit.png", Grad, 0},
      {"grad-palette.png", Grad, 0},
      {"gradA.png", GradOverWhite, 0},
      {"greys.png", Greys, 0},
      {"greys-16bit.png", Greys, 0},
      {"checker.png", Checker, 0},
      {"grad.gif", Grad, 0},
      {"grad-interlaced.gif", Grad, 0},
      {"checker.gif", Checker, 0},
      {"grad-24bit.bmp", Grad, 0},
      {"grad-8bit.bmp", Grad, 0},
      {"greys-4bit.bmp", Greys, 0},
      {"checker-1bit.bmp", Checker, 0},
      {"grad-32bit.bmp", Grad, 0},
  };
  for (const TReferenceFile& file : files) ExpectPicture(file);
}

TEST(ImageReferenceFiles, ReducedAndLossyFilesDecodeClosely) {
  const TReferenceFile files[] = {
      // 5 and 6 bits a channel: within one step of 255/31, as the writer
      // may truncate rather than round.
      {"grad-rgb565.bmp", Grad, 9},
      // JPEG at quality 95 on a smooth picture.
      {"grad.jpg", Grad, 12},
      {"grad-progressive.jpg", Grad, 24},
      {"greys.jpg", Greys, 12},
      {"grad-cmyk.jpg", Grad, 24},
  };
  for (const TReferenceFile& file : files) ExpectPicture(file);
}

TEST(ImageReferenceFiles, RunLengthCompressedBmpIsNotSupported) {
  try {
    ReadImageFile(SeedFolder + "grad-8bit-rle.bmp");
    FAIL() << "no error";
  } catch (const EError& e) {
    EXPECT_NE(std::string(e.what()).find("not a picture file this program can read"),
              std::string::npos);
  }
}

TEST(ImageReferenceFiles, EverySeedIsChecked) {
  // A new seed gets an expectation above.
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SeedFolder))
    count += entry.is_regular_file();
  EXPECT_EQ(count, 22u);
}

}  // namespace
}  // namespace tw
