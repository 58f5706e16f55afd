// GIF specifics: the colour reduction of layers with more than 256 colours
// (black and white kept apart, no dithering, bounded error), the first image
// placed on a white screen, and decoding from a stream.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <random>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"

namespace tw {
namespace {

int ChannelError(TColor a, TColor b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

// Checks what the reduction promises for every pixel, and returns the
// largest and mean channel error.
std::pair<int, double> CheckReduction(const TRaster24& source) {
  const std::vector<uint8_t> gif = EncodeGif(source);
  const TRaster24 out = DecodeImage(gif.data(), gif.size());
  EXPECT_EQ(out.Width(), source.Width());
  EXPECT_EQ(out.Height(), source.Height());
  std::map<TColor, TColor> mapping;
  int worst = 0;
  double total = 0;
  for (int y = 0; y < source.Height(); ++y)
    for (int x = 0; x < source.Width(); ++x) {
      const TColor in = source.Pixel(x, y), got = out.Pixel(x, y);
      EXPECT_EQ(in == clBlack, got == clBlack) << "at " << x << "," << y;
      EXPECT_EQ(in == clWhite, got == clWhite) << "at " << x << "," << y;
      // No dithering: one source colour always gives one output colour.
      auto [known, added] = mapping.emplace(in, got);
      EXPECT_EQ(known->second, got) << "at " << x << "," << y;
      worst = std::max(worst, ChannelError(in, got));
      total += ChannelError(in, got);
    }
  return {worst, total / (double(source.Width()) * source.Height())};
}

TEST(ImageGif, ReductionOfAGradientKeepsBlackAndWhiteAndStaysClose) {
  // 64 x 64 levels of red and green: 4096 colours, more than 256, plus
  // near-black and near-white pixels that must not collapse onto black or
  // white, and a black frame and white band that must stay exact.
  TRaster24 picture(256, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 256; ++x) picture.SetPixel(x, y, RGB(uint8_t(x / 4 * 4), uint8_t(y), 90));
  for (int x = 0; x < 256; ++x) {
    picture.SetPixel(x, 0, clBlack);
    picture.SetPixel(x, 1, RGB(0, 0, 1));
    picture.SetPixel(x, 2, RGB(1, 1, 1));
    picture.SetPixel(x, 3, clWhite);
    picture.SetPixel(x, 4, RGB(255, 255, 254));
    picture.SetPixel(x, 5, RGB(254, 254, 254));
  }
  const auto [worst, mean] = CheckReduction(picture);
  // 254 free entries over a 64 x 200 sheet of colours leave cells of about
  // 7 x 7 levels: a few levels off on average, never far.
  EXPECT_LE(worst, 24);
  EXPECT_LT(mean, 6.0);
}

TEST(ImageGif, ReductionOfManyFlatRegionsStaysClose) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    std::mt19937 random(seed);
    // 400 regions of 10 x 10 pixels, each a random colour; a fifth of them
    // are dark or light to crowd the colours next to black and white.
    TRaster24 picture(200, 200);
    for (int region = 0; region < 400; ++region) {
      TColor c = random() & 0xFFFFFF;
      if (region % 10 == 0)
        c = RGB(uint8_t(random() % 3), uint8_t(random() % 3), uint8_t(random() % 3));
      if (region % 10 == 1) c = RGB(uint8_t(253 + random() % 3), 255, uint8_t(253 + random() % 3));
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
          picture.SetPixel(region % 20 * 10 + x, region / 20 * 10 + y, c);
    }
    const auto [worst, mean] = CheckReduction(picture);
    // 400 colours into 254 entries: the close pairs share an entry.
    EXPECT_LE(worst, 32) << "seed " << seed;
    EXPECT_LT(mean, 6.0) << "seed " << seed;
  }
}

// A GIF written with giflib itself: a 10 x 8 screen, a 4 x 3 image at (3, 2)
// whose colour 3 is transparent, and a second image of garbage.
std::vector<uint8_t> OffsetGif() {
  struct TSink {
    static int Write(GifFileType* gif, const GifByteType* data, int length) {
      auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
      out->insert(out->end(), data, data + length);
      return length;
    }
  };
  std::vector<uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, TSink::Write, &error);
  GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, 10, 8, 8, 0, map);
  GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, 3};
  GifByteType extension[4];
  const size_t length = EGifGCBToExtension(&control, extension);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension);
  EGifPutImageDesc(gif, 3, 2, 4, 3, false, nullptr);
  GifPixelType rows[3][4] = {{0, 1, 2, 3}, {3, 3, 0, 0}, {2, 2, 2, 1}};
  for (auto& row : rows) EGifPutLine(gif, row, 4);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  bytes.pop_back();  // the trailer; a broken second image follows instead
  const uint8_t broken[] = {0x2C, 0, 0, 0, 0, 5, 0, 5, 0, 0, 0x08, 0xFF, 0xFF, 0xFF};
  bytes.insert(bytes.end(), broken, broken + sizeof broken);
  return bytes;
}

void ExpectOffsetGifPixels(const TRaster24& image) {
  ASSERT_EQ(image.Width(), 10);
  ASSERT_EQ(image.Height(), 8);
  const TColor red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  const TColor expected[3][4] = {
      {red, green, blue, clWhite}, {clWhite, clWhite, red, red}, {blue, blue, blue, green}};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
      EXPECT_EQ(image.Pixel(x, y), inside ? expected[y - 2][x - 3] : clWhite)
          << "at " << x << "," << y;
    }
}

TEST(ImageGif, FirstImageIsPlacedOnAWhiteScreen) {
  const std::vector<uint8_t> gif = OffsetGif();
  ExpectOffsetGifPixels(DecodeImage(gif.data(), gif.size()));
}

TEST(ImageGif, StreamMayHandOutFewBytesAtATime) {
  const std::vector<uint8_t> gif = OffsetGif();
  size_t position = 0;
  const TRaster24 image = DecodeGif([&](uint8_t* buffer, size_t count) {
    const size_t n = std::min({count, size_t(3), gif.size() - position});
    std::memcpy(buffer, gif.data() + position, n);
    position += n;
    return n;
  });
  ExpectOffsetGifPixels(image);
  EXPECT_LT(position, gif.size());
}

TEST(ImageGif, StreamErrorsReachTheCaller) {
  const std::vector<uint8_t> gif = OffsetGif();
  size_t position = 0;
  auto failing = [&](uint8_t* buffer, size_t count) -> size_t {
    if (position >= 40) throw EError("The stream broke.");
    const size_t n = std::min(count, size_t(40) - position);
    std::memcpy(buffer, gif.data() + position, n);
    position += n;
    return n;
  };
  try {
    DecodeGif(failing);
    FAIL() << "no error";
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "The stream broke.");
  }
  EXPECT_THROW(DecodeGif([](uint8_t*, size_t) { return size_t(0); }), EError);
}

}  // namespace
}  // namespace tw
