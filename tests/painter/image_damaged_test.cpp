// Bad picture data: empty, unknown, truncated, corrupted and oversized
// files end in EError with a clear message, never in a crash, and an
// oversized picture is refused before its pixels are allocated.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"

namespace tw {
namespace {

std::string DecodeError(const std::vector<uint8_t>& bytes) {
  try {
    DecodeImage(bytes.data(), bytes.size());
  } catch (const EError& e) {
    return e.what();
  }
  return "";
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A picture with fine detail, so that the pixel data fills most of each file.
TRaster24 NoisyPicture() {
  std::mt19937 random(11);
  TRaster24 picture(48, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 48; ++x) picture.SetPixel(x, y, random() & 0xFFFFFF);
  return picture;
}

std::vector<std::vector<uint8_t>> EncodedFiles() {
  const TRaster24 picture = NoisyPicture();
  return {EncodeBmp(picture), EncodeGif(picture), EncodeJpeg(picture, 80),
          EncodeBmp(TRaster1(30, 20, 0xFF))};
}

TEST(ImageDamaged, EmptyAndUnknownDataAreRefused) {
  EXPECT_EQ(DecodeError({}), "The data is empty.");
  EXPECT_THROW(DecodeImage(nullptr, 10), EError);
  EXPECT_EQ(DecodeError({'G', 'I', 'F'}), "The data is not a picture file this program can read.");
  EXPECT_TRUE(Contains(DecodeError({'B', 'M', 1, 2}), "damaged"));
}

TEST(ImageDamaged, EveryTruncationIsAnErrorOrAWholePicture) {
  for (const std::vector<uint8_t>& file : EncodedFiles()) {
    const TRaster24 whole = DecodeImage(file.data(), file.size());
    for (size_t length = 1; length < file.size(); ++length) {
      const std::vector<uint8_t> cut(file.begin(), file.begin() + ptrdiff_t(length));
      try {
        const TRaster24 image = DecodeImage(cut.data(), cut.size());
        // Only the bytes after the pixels (a trailer, an end marker) may be
        // missing.
        EXPECT_GT(length, file.size() * 9 / 10)
            << "format " << int(SniffImageFormat(file.data(), 4));
        EXPECT_EQ(image.Width(), whole.Width());
        EXPECT_EQ(image.Height(), whole.Height());
      } catch (const EError& e) {
        EXPECT_TRUE(Contains(e.what(), "damaged") || Contains(e.what(), "not a picture"))
            << e.what();
      }
    }
  }
}

TEST(ImageDamaged, CorruptedBytesNeverCrash) {
  std::mt19937 random(12);
  for (const std::vector<uint8_t>& file : EncodedFiles())
    for (int trial = 0; trial < 300; ++trial) {
      std::vector<uint8_t> bad = file;
      for (int i = 0; i < 1 + trial % 8; ++i)
        bad[4 + random() % (bad.size() - 4)] = uint8_t(random());
      try {
        const TRaster24 image = DecodeImage(bad.data(), bad.size());
        EXPECT_FALSE(image.IsEmpty());
      } catch (const EError&) {
      }
    }
}

void ExpectTooLarge(const std::vector<uint8_t>& bytes, const std::string& size) {
  const std::string message = DecodeError(bytes);
  EXPECT_TRUE(Contains(message, size + " pixels, larger than this program can open")) << message;
}

TEST(ImageDamaged, OversizedPicturesAreRefusedBeforeAllocation) {
  // GIF: a screen descriptor of 20000 x 20000 and nothing after it.
  ExpectTooLarge({'G', 'I', 'F', '8', '9', 'a', 0x20, 0x4E, 0x20, 0x4E, 0, 0, 0}, "20000 x 20000");
  // 16384 x 16384 is within the side limit but far beyond 100 megapixels.
  ExpectTooLarge({'G', 'I', 'F', '8', '9', 'a', 0x00, 0x40, 0x00, 0x40, 0, 0, 0}, "16384 x 16384");

  std::vector<uint8_t> bmp = EncodeBmp(TRaster24(2, 2, clWhite));
  const uint8_t hundredThousand[4] = {0xA0, 0x86, 0x01, 0x00};
  std::copy(hundredThousand, hundredThousand + 4, bmp.begin() + 18);
  std::copy(hundredThousand, hundredThousand + 4, bmp.begin() + 22);
  ExpectTooLarge(bmp, "100000 x 100000");

  // PNG: signature and an IHDR chunk of 50000 x 50000 with a correct CRC.
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
  const uint8_t ihdr[17] = {'I', 'H', 'D', 'R', 0, 0, 0xC3, 0x50, 0, 0, 0xC3, 0x50, 8, 2, 0, 0, 0};
  png.insert(png.end(), ihdr, ihdr + 17);
  const uLong crc = crc32(crc32(0, nullptr, 0), ihdr, 17);
  for (int shift = 24; shift >= 0; shift -= 8) png.push_back(uint8_t(crc >> shift));
  ExpectTooLarge(png, "50000 x 50000");

  // JPEG: the frame header of a real file patched to 60000 x 60000.
  std::vector<uint8_t> jpeg = EncodeJpeg(TRaster24(8, 8, clWhite), 80);
  for (size_t i = 2; i + 8 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = jpeg[i + 7] = 0xEA;
      jpeg[i + 6] = jpeg[i + 8] = 0x60;
      break;
    }
  ExpectTooLarge(jpeg, "60000 x 60000");
}

TEST(ImageDamaged, KeptFuzzerFindingsDecodeOrFailCleanly) {
  const std::filesystem::path folder =
      std::filesystem::path(TINTWELL_TEST_DATA) / "fuzz" / "regressions";
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    try {
      DecodeImage(bytes.data(), bytes.size());
    } catch (const EError&) {
    }
  }
}

}  // namespace
}  // namespace tw
