// GIF images that do not fit their screen: only the rows that land on the
// screen are decoded (interlaced or not), nothing after the last of them is
// read, an image that cannot show is not decoded at all, and one that would
// cost far more decoding than its screen holds is refused.
#include <gtest/gtest.h>

#include <cstring>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"
#include "support/CraftedGif.h"

namespace tw {
namespace {

using test::TGifLayout;

const TColor Colours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), clBlack};

// Row r of the image is all colour r % 4.
std::vector<uint8_t> StripedGif(const TGifLayout& layout) {
  std::vector<uint8_t> indices;
  for (int row = 0; row < layout.Height; ++row)
    indices.insert(indices.end(), size_t(layout.Width), uint8_t(row % 4));
  return test::IndexedGif(layout, indices);
}

// Decodes from a stream and tells how many bytes the decoder took.
TRaster24 DecodeCounting(const std::vector<uint8_t>& gif, size_t& taken) {
  taken = 0;
  return DecodeGif([&](uint8_t* buffer, size_t count) {
    const size_t n = std::min(count, gif.size() - taken);
    std::memcpy(buffer, gif.data() + taken, n);
    taken += n;
    return n;
  });
}

std::string DecodeError(const std::vector<uint8_t>& gif) {
  try {
    DecodeImage(gif.data(), gif.size());
  } catch (const EError& e) {
    return e.what();
  }
  return "";
}

TEST(ImageGifBounds, TallImageKeepsTheRowsThatLandOnTheScreen) {
  for (const bool interlaced : {false, true})
    for (const int top : {0, 2}) {
      const TGifLayout layout{4, 5, 0, top, 4, 20, interlaced};
      const std::vector<uint8_t> gif = StripedGif(layout);
      const TRaster24 image = DecodeImage(gif.data(), gif.size());
      ASSERT_EQ(image.Width(), 4);
      ASSERT_EQ(image.Height(), 5);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4; ++x)
          EXPECT_EQ(image.Pixel(x, y), y < top ? clWhite : Colours[(y - top) % 4])
              << "interlaced " << interlaced << ", top " << top << ", at " << x << "," << y;
    }
}

TEST(ImageGifBounds, WideImageIsCutAtTheScreensRightEdge) {
  const TGifLayout layout{3, 4, 1, 0, 12, 4, true};
  std::vector<uint8_t> indices;
  for (int row = 0; row < 4; ++row)
    for (int x = 0; x < 12; ++x) indices.push_back(uint8_t((row + x) % 4));
  const std::vector<uint8_t> gif = test::IndexedGif(layout, indices);
  const TRaster24 image = DecodeImage(gif.data(), gif.size());
  ASSERT_EQ(image.Width(), 3);
  ASSERT_EQ(image.Height(), 4);
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(image.Pixel(0, y), clWhite);
    for (int x = 1; x < 3; ++x) EXPECT_EQ(image.Pixel(x, y), Colours[(y + x - 1) % 4]);
  }
}

TEST(ImageGifBounds, HugeInterlacedImageOnATinyScreenReadsOnlyItsFirstRow) {
  // The whole 65535 x 65535 image (about 1.5 MB of data) is in the file,
  // but only its first row can show.
  const TGifLayout layout{1, 1, 0, 0, 65535, 65535, true};
  const std::vector<uint8_t> whole = test::UniformGif(layout);
  ASSERT_GT(whole.size(), size_t(1'000'000));
  size_t taken = 0;
  const TRaster24 image = DecodeCounting(whole, taken);
  ASSERT_EQ(image.Width(), 1);
  ASSERT_EQ(image.Height(), 1);
  EXPECT_EQ(image.Pixel(0, 0), Colours[0]);
  EXPECT_LT(taken, whole.size() / 100);

  // A file cut off after that first row gives the same picture.
  const std::vector<uint8_t> cut = test::UniformGif(layout, 65535);
  ASSERT_LT(cut.size(), size_t(1000));
  const TRaster24 fromCut = DecodeImage(cut.data(), cut.size());
  EXPECT_EQ(fromCut.Pixel(0, 0), Colours[0]);
}

TEST(ImageGifBounds, HugeImageOnASmallScreenReadsOnlyTheRowsItShows) {
  const TGifLayout layout{3, 2, 0, 0, 65535, 65535, false};
  const std::vector<uint8_t> cut = test::UniformGif(layout, 2 * 65535);
  const TRaster24 image = DecodeImage(cut.data(), cut.size());
  ASSERT_EQ(image.Width(), 3);
  ASSERT_EQ(image.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(image.Pixel(x, y), Colours[0]);
  // One row fewer is a damaged file: the second row is needed.
  EXPECT_NE(DecodeError(test::UniformGif(layout, 65535)).find("damaged"), std::string::npos);
}

TEST(ImageGifBounds, ImageOutsideTheScreenIsNotDecoded) {
  // Its data ends at once, which would be an error if it were decoded.
  for (const TGifLayout layout :
       {TGifLayout{4, 4, 4, 0, 5, 5, false}, TGifLayout{4, 4, 0, 4, 5, 5, true}}) {
    const std::vector<uint8_t> gif = test::UniformGif(layout, 0);
    const TRaster24 image = DecodeImage(gif.data(), gif.size());
    ASSERT_EQ(image.Width(), 4);
    ASSERT_EQ(image.Height(), 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(image.Pixel(x, y), clWhite);
  }
}

TEST(ImageGifBounds, ImageCostingFarMoreThanItsScreenIsRefused) {
  // Interlaced, the second screen row comes after half of the image's rows;
  // not interlaced, every row is 65535 pixels for one that shows.
  const std::vector<std::pair<TGifLayout, std::string>> cases = {
      {{1, 2, 0, 0, 65535, 65535, true}, "1 x 2 screen"},
      {{1, 16384, 0, 0, 65535, 16384, false}, "1 x 16384 screen"}};
  for (const auto& [layout, screen] : cases) {
    const std::string message = DecodeError(test::UniformGif(layout, 0));
    EXPECT_NE(message.find("damaged"), std::string::npos) << message;
    EXPECT_NE(message.find("65535 x " + std::to_string(layout.Height) + " pixels"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find(screen), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace tw
