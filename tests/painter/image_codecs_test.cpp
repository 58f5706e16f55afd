// Round trips of the picture encoders through real files and back through
// the decoders: BMP and GIF exact, JPEG close; hand-built BMP variants; the
// format is told by content, not by name.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/PictureTestUtil.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

using test::TTempFolder;

TRaster24 RandomRaster(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  TRaster24 raster(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) raster.SetPixel(x, y, random() & 0xFFFFFF);
  return raster;
}

TRaster1 RandomOutline(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  TRaster1 outline(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) outline.SetPixel(x, y, random() & 1);
  return outline;
}

void ExpectSamePixels(const TRaster24& expected, const TRaster24& actual) {
  ASSERT_EQ(expected.Width(), actual.Width());
  ASSERT_EQ(expected.Height(), actual.Height());
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x)
      ASSERT_EQ(expected.Pixel(x, y), actual.Pixel(x, y)) << "at " << x << "," << y;
}

TRaster24 ThroughFile(const TTempFolder& folder, const std::string& name,
                      const std::vector<uint8_t>& bytes) {
  WriteFileAtomically(folder.File(name), bytes);
  return ReadImageFile(folder.File(name));
}

uint32_t LittleEndian32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (uint32_t(bytes[at + 3]) << 24);
}

TEST(ImageCodecs, Bmp24RoundTripIsExactAndRowsArePadded) {
  TTempFolder folder;
  // 37 pixels make 111 bytes a row, padded to 112.
  const TRaster24 picture = RandomRaster(37, 23, 1);
  const std::vector<uint8_t> bytes = EncodeBmp(picture);
  EXPECT_EQ(bytes[28], 24);
  EXPECT_EQ(bytes.size(), 54u + 112u * 23u);
  EXPECT_EQ(LittleEndian32(bytes, 2), bytes.size());
  ExpectSamePixels(picture, ThroughFile(folder, "colour.bmp", bytes));
}

TEST(ImageCodecs, Bmp1BitRoundTripKeepsBlackAndWhite) {
  TTempFolder folder;
  const TRaster1 outline = RandomOutline(45, 17, 2);
  const std::vector<uint8_t> bytes = EncodeBmp(outline);
  EXPECT_EQ(bytes[28], 1);
  // Two colour-table entries; 45 bits round up to 8 bytes a row.
  EXPECT_EQ(bytes.size(), 54u + 8u + 8u * 17u);
  ExpectSamePixels(ToRaster24(outline), ThroughFile(folder, "outline.bmp", bytes));
}

TEST(ImageCodecs, GifWithAtMost256ColoursRoundTripsExactly) {
  TTempFolder folder;
  TRaster24 picture(40, 30);
  std::mt19937 random(3);
  std::vector<TColor> colours = {clBlack, clWhite};
  while (colours.size() < 256) colours.push_back(random() & 0xFFFFFF);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) picture.SetPixel(x, y, colours[(x * 7 + y * 40) % 256]);
  ExpectSamePixels(picture, ThroughFile(folder, "many.gif", EncodeGif(picture)));

  TRaster24 fewColours(9, 5, RGB(10, 200, 30));
  fewColours.SetPixel(4, 2, RGB(250, 0, 7));
  fewColours.SetPixel(8, 4, clBlack);
  ExpectSamePixels(fewColours, ThroughFile(folder, "few.gif", EncodeGif(fewColours)));
}

TEST(ImageCodecs, GifOutlineIsATwoColourGif) {
  TTempFolder folder;
  const TRaster1 outline = RandomOutline(33, 21, 4);
  const std::vector<uint8_t> bytes = EncodeGif(outline);
  // Screen descriptor flags: a global colour table of 2^(0+1) entries.
  EXPECT_EQ(bytes[10] & 0x87, 0x80);
  ExpectSamePixels(ToRaster24(outline), ThroughFile(folder, "outline.gif", bytes));
}

TEST(ImageCodecs, JpegRoundTripIsClose) {
  TTempFolder folder;
  TRaster24 picture(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) picture.SetPixel(x, y, RGB(uint8_t(x * 4), uint8_t(y * 5), 128));
  const TRaster24 decoded = ThroughFile(folder, "smooth.jpg", EncodeJpeg(picture, 80));
  ASSERT_EQ(decoded.Width(), 64);
  ASSERT_EQ(decoded.Height(), 48);
  double totalError = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const TColor a = picture.Pixel(x, y), b = decoded.Pixel(x, y);
      const int error = std::abs(GetRValue(a) - GetRValue(b)) +
                        std::abs(GetGValue(a) - GetGValue(b)) +
                        std::abs(GetBValue(a) - GetBValue(b));
      EXPECT_LE(error, 24) << "at " << x << "," << y;
      totalError += error;
    }
  // Under 3 levels a channel on average.
  EXPECT_LT(totalError / (64 * 48), 8.0);
}

TEST(ImageCodecs, FormatIsToldByContentNotName) {
  TTempFolder folder;
  const TRaster24 picture = RandomRaster(5, 4, 5);
  ExpectSamePixels(picture, ThroughFile(folder, "actually-a-bmp.gif", EncodeBmp(picture)));
  const std::vector<uint8_t> gif = EncodeGif(picture);
  EXPECT_EQ(SniffImageFormat(gif.data(), gif.size()), TImageFormat::Gif);
  const std::vector<uint8_t> jpeg = EncodeJpeg(picture, 80);
  EXPECT_EQ(SniffImageFormat(jpeg.data(), jpeg.size()), TImageFormat::Jpeg);
  const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_EQ(SniffImageFormat(png, sizeof png), TImageFormat::Png);
  EXPECT_EQ(SniffImageFormat(png, 4), TImageFormat::Unknown);
  const uint8_t text[] = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_EQ(SniffImageFormat(text, sizeof text), TImageFormat::Unknown);
}

// A BMP with a 40-byte header, written field by field.
std::vector<uint8_t> MakeBmp(int width, int height, int bpp, const std::vector<TColor>& palette,
                             const std::vector<uint8_t>& pixels, uint32_t compression = 0) {
  std::vector<uint8_t> out(54 + 4 * palette.size(), 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(10, uint32_t(out.size()));
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  out[26] = 1;
  out[28] = uint8_t(bpp);
  put32(30, compression);
  put32(46, uint32_t(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) {
    out[54 + 4 * i] = GetBValue(palette[i]);
    out[55 + 4 * i] = GetGValue(palette[i]);
    out[56 + 4 * i] = GetRValue(palette[i]);
  }
  out.insert(out.end(), pixels.begin(), pixels.end());
  put32(2, uint32_t(out.size()));
  return out;
}

TEST(ImageCodecs, BmpVariantsDecode) {
  const TColor red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  // 8-bit, top-down (negative height): the first stored row is the top one.
  const std::vector<uint8_t> topDown =
      MakeBmp(3, -2, 8, {red, green, blue}, {0, 1, 2, 0, 2, 2, 1, 0});
  TRaster24 image = DecodeImage(topDown.data(), topDown.size());
  EXPECT_EQ(image.Pixel(0, 0), red);
  EXPECT_EQ(image.Pixel(2, 0), blue);
  EXPECT_EQ(image.Pixel(0, 1), blue);
  EXPECT_EQ(image.Pixel(2, 1), green);

  // 4-bit, bottom-up: high nibble first; the first stored row is the bottom.
  const std::vector<uint8_t> fourBit =
      MakeBmp(3, 2, 4, {red, green, blue}, {0x01, 0x20, 0, 0, 0x22, 0x10, 0, 0});
  image = DecodeImage(fourBit.data(), fourBit.size());
  EXPECT_EQ(image.Pixel(0, 1), red);
  EXPECT_EQ(image.Pixel(1, 1), green);
  EXPECT_EQ(image.Pixel(2, 1), blue);
  EXPECT_EQ(image.Pixel(0, 0), blue);
  EXPECT_EQ(image.Pixel(2, 0), green);

  // 32-bit B, G, R, unused; 16-bit 5-5-5 with 31 widened to 255.
  const std::vector<uint8_t> bgrx = MakeBmp(2, 1, 32, {}, {10, 20, 30, 0, 200, 100, 50, 0});
  image = DecodeImage(bgrx.data(), bgrx.size());
  EXPECT_EQ(image.Pixel(0, 0), RGB(30, 20, 10));
  EXPECT_EQ(image.Pixel(1, 0), RGB(50, 100, 200));
  const std::vector<uint8_t> rgb555 = MakeBmp(2, 1, 16, {}, {0x00, 0x7C, 0x1F, 0x00});
  image = DecodeImage(rgb555.data(), rgb555.size());
  EXPECT_EQ(image.Pixel(0, 0), red);
  EXPECT_EQ(image.Pixel(1, 0), blue);

  const std::vector<uint8_t> rle = MakeBmp(2, 1, 8, {red}, {2, 0, 0, 1}, 1);
  EXPECT_THROW(DecodeImage(rle.data(), rle.size()), EError);
}

TEST(ImageCodecs, ReadingNamesTheFile) {
  TTempFolder folder;
  const std::string missing = folder.File("nowhere.gif");
  try {
    ReadImageFile(missing);
    FAIL() << "no error";
  } catch (const EError& e) {
    EXPECT_EQ(std::string(e.what()), "The file \"" + missing + "\" does not exist.");
  }
  const std::string text = folder.File("notes.gif");
  WriteFileAtomically(text, {'n', 'o', 't', 'e', 's'});
  try {
    ReadImageFile(text);
    FAIL() << "no error";
  } catch (const EError& e) {
    EXPECT_NE(std::string(e.what()).find(text), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("not a picture file this program can read"),
              std::string::npos);
  }
  EXPECT_THROW(ReadImageFile(folder.File("")), EError);
  EXPECT_THROW(ReadImageFile(""), EError);
  if (geteuid() != 0) {
    const std::vector<uint8_t> bytes = EncodeBmp(RandomRaster(2, 2, 6));
    WriteFileAtomically(folder.File("locked.bmp"), bytes);
    fs::permissions(folder.File("locked.bmp"), fs::perms::none);
    EXPECT_THROW(ReadImageFile(folder.File("locked.bmp")), EError);
  }
}

}  // namespace
}  // namespace tw
