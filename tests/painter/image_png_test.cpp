// PNG decoding of files written here with libpng: every colour type, 1 to 16
// bits, interlaced, with transparency shown over white.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <random>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"

namespace tw {
namespace {

struct TPngFile {
  TPngFile(int width, int height, int colorType, int bitDepth = 8, bool interlaced = false)
      : Width(width),
        Height(height),
        ColorType(colorType),
        BitDepth(bitDepth),
        Interlaced(interlaced) {}

  int Width;
  int Height;
  int ColorType;
  int BitDepth;
  bool Interlaced;
  std::vector<png_color> Palette;
  std::vector<uint8_t> Transparency;
  // Packed rows as PNG stores them (16-bit samples most significant byte first).
  std::vector<std::vector<uint8_t>> Rows;
};

void AppendToVector(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// Only trivially destructible locals live past the setjmp.
bool WritePngSteps(png_structp png, png_infop info, const TPngFile& file, std::vector<uint8_t>* out,
                   png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendToVector, nullptr);
  png_set_IHDR(png, info, png_uint_32(file.Width), png_uint_32(file.Height), file.BitDepth,
               file.ColorType, file.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!file.Palette.empty()) png_set_PLTE(png, info, file.Palette.data(), int(file.Palette.size()));
  if (!file.Transparency.empty())
    png_set_tRNS(png, info, file.Transparency.data(), int(file.Transparency.size()), nullptr);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

std::vector<uint8_t> WritePng(const TPngFile& file) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  for (const auto& row : file.Rows) rows.push_back(const_cast<png_bytep>(row.data()));
  std::vector<uint8_t> out;
  const bool written = WritePngSteps(png, info, file, &out, rows.data());
  png_destroy_write_struct(&png, &info);
  EXPECT_TRUE(written);
  return out;
}

uint8_t OverWhite(int value, int alpha) {
  return uint8_t(std::lround((value * alpha + 255.0 * (255 - alpha)) / 255.0));
}

uint8_t From16(int value) { return uint8_t(std::lround(value * 255.0 / 65535.0)); }

TEST(ImagePng, ColourWithAlphaIsShownOverWhite) {
  std::mt19937 random(7);
  TPngFile file{9, 4, PNG_COLOR_TYPE_RGB_ALPHA};
  for (int y = 0; y < 4; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < 9; ++x) {
      const uint8_t alpha = x == 0 ? 0 : x == 1 ? 255 : uint8_t(random());
      for (int c = 0; c < 3; ++c) row.push_back(uint8_t(random()));
      row.push_back(alpha);
    }
    file.Rows.push_back(row);
  }
  const std::vector<uint8_t> png = WritePng(file);
  const TRaster24 image = DecodeImage(png.data(), png.size());
  ASSERT_EQ(image.Width(), 9);
  ASSERT_EQ(image.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 9; ++x) {
      const uint8_t* p = file.Rows[y].data() + 4 * x;
      EXPECT_EQ(image.Pixel(x, y),
                RGB(OverWhite(p[0], p[3]), OverWhite(p[1], p[3]), OverWhite(p[2], p[3])));
    }
}

TEST(ImagePng, AlphaIsKeptWhenAskedFor) {
  // RGBA kept byte for byte; a palette with transparency and opaque grey
  // expand to RGBA the same way the plain decoder sees them.
  std::mt19937 random(9);
  TPngFile rgba{6, 3, PNG_COLOR_TYPE_RGB_ALPHA, 8, true};
  for (int y = 0; y < 3; ++y) {
    std::vector<uint8_t> row;
    for (int i = 0; i < 6 * 4; ++i) row.push_back(uint8_t(random()));
    rgba.Rows.push_back(row);
  }
  const std::vector<uint8_t> rgbaPng = WritePng(rgba);
  const TRgbaImage image = DecodePngWithAlpha(rgbaPng.data(), rgbaPng.size());
  ASSERT_EQ(image.Width, 6);
  ASSERT_EQ(image.Height, 3);
  for (int y = 0; y < 3; ++y)
    EXPECT_TRUE(std::equal(rgba.Rows[y].begin(), rgba.Rows[y].end(),
                           image.Pixels.begin() + y * 6 * 4));

  TPngFile palette{3, 1, PNG_COLOR_TYPE_PALETTE, 8};
  palette.Palette = {{200, 10, 20}, {1, 2, 3}, {40, 80, 120}};
  palette.Transparency = {255, 0, 128};
  palette.Rows = {{0, 1, 2}};
  const std::vector<uint8_t> palettePng = WritePng(palette);
  const TRgbaImage decoded = DecodePngWithAlpha(palettePng.data(), palettePng.size());
  const std::vector<uint8_t> expected = {200, 10, 20, 255, 1, 2, 3, 0, 40, 80, 120, 128};
  EXPECT_EQ(decoded.Pixels, expected);

  TPngFile grey{2, 1, PNG_COLOR_TYPE_GRAY, 8};
  grey.Rows = {{7, 250}};
  const std::vector<uint8_t> greyPng = WritePng(grey);
  EXPECT_EQ(DecodePngWithAlpha(greyPng.data(), greyPng.size()).Pixels,
            (std::vector<uint8_t>{7, 7, 7, 255, 250, 250, 250, 255}));

  const uint8_t damaged[] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0};
  EXPECT_THROW(DecodePngWithAlpha(damaged, sizeof damaged), EError);
}

TEST(ImagePng, PaletteWithTransparencyDecodes) {
  // 2 bits a pixel, four pixels a byte, most significant first.
  TPngFile file{5, 2, PNG_COLOR_TYPE_PALETTE, 2};
  file.Palette = {{200, 10, 20}, {0, 0, 0}, {40, 80, 120}, {255, 255, 0}};
  file.Transparency = {255, 0, 128};
  file.Rows = {{0b00011011, 0b00000000}, {0b11100100, 0b10000000}};
  const std::vector<uint8_t> png = WritePng(file);
  const TRaster24 image = DecodeImage(png.data(), png.size());
  const TColor c0 = RGB(200, 10, 20), c1 = clWhite,
               c2 = RGB(OverWhite(40, 128), OverWhite(80, 128), OverWhite(120, 128)),
               c3 = RGB(255, 255, 0);
  const TColor expected[2][5] = {{c0, c1, c2, c3, c0}, {c3, c2, c1, c0, c2}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(image.Pixel(x, y), expected[y][x]) << "at " << x << "," << y;
}

TEST(ImagePng, SixteenBitSamplesAreRoundedToEightBits) {
  // Interlaced 16-bit RGB and plain 16-bit grey; sample values chosen so
  // that taking the high byte would be off by one where rounding is not.
  std::mt19937 random(8);
  TPngFile rgb{11, 7, PNG_COLOR_TYPE_RGB, 16, true};
  TPngFile grey{11, 7, PNG_COLOR_TYPE_GRAY, 16};
  for (int y = 0; y < 7; ++y) {
    std::vector<uint8_t> rgbRow, greyRow;
    for (int x = 0; x < 11; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int v = int(random() % 65536);
        rgbRow.push_back(uint8_t(v >> 8));
        rgbRow.push_back(uint8_t(v));
      }
      const int g = (x * 23) * 257 + 120;
      greyRow.push_back(uint8_t(g >> 8));
      greyRow.push_back(uint8_t(g));
    }
    rgb.Rows.push_back(rgbRow);
    grey.Rows.push_back(greyRow);
  }
  const std::vector<uint8_t> rgbPng = WritePng(rgb), greyPng = WritePng(grey);
  const TRaster24 rgbImage = DecodeImage(rgbPng.data(), rgbPng.size());
  const TRaster24 greyImage = DecodeImage(greyPng.data(), greyPng.size());
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 11; ++x) {
      const uint8_t* p = rgb.Rows[y].data() + 6 * x;
      EXPECT_EQ(rgbImage.Pixel(x, y),
                RGB(From16(p[0] << 8 | p[1]), From16(p[2] << 8 | p[3]), From16(p[4] << 8 | p[5])));
      const uint8_t g = From16((x * 23) * 257 + 120);
      EXPECT_EQ(g, x * 23);
      EXPECT_EQ(greyImage.Pixel(x, y), RGB(g, g, g));
    }
}

TEST(ImagePng, OneBitGreyAndGreyWithAlphaDecode) {
  TPngFile bits{10, 1, PNG_COLOR_TYPE_GRAY, 1};
  bits.Rows = {{0b10110000, 0b01000000}};
  const std::vector<uint8_t> bitsPng = WritePng(bits);
  const TRaster24 bitsImage = DecodeImage(bitsPng.data(), bitsPng.size());
  const bool white[10] = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(bitsImage.Pixel(x, 0), white[x] ? clWhite : clBlack) << x;

  TPngFile greyAlpha{3, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8};
  greyAlpha.Rows = {{100, 255, 100, 0, 100, 51}};
  const std::vector<uint8_t> png = WritePng(greyAlpha);
  const TRaster24 image = DecodeImage(png.data(), png.size());
  EXPECT_EQ(image.Pixel(0, 0), RGB(100, 100, 100));
  EXPECT_EQ(image.Pixel(1, 0), clWhite);
  const uint8_t g = OverWhite(100, 51);
  EXPECT_EQ(image.Pixel(2, 0), RGB(g, g, g));
}

}  // namespace
}  // namespace tw
