// Loads the picture files kept as fuzzing seeds. They were written by
// tests/fuzz/make-picture-seeds.py, a second implementation of the
// scrambling and the layout, around GIFs whose pixels follow simple rules:
//   grad     16 x 8, pixel (x, y) = (17x, 36y, 255 - 17x)
//   checker  16 x 8, black where (x + y) is a multiple of 3, else white
#include <gtest/gtest.h>

#include "pictures/PictureTestUtil.h"
#include "pictures/QCGraphicU.h"

namespace tw {
namespace {

std::string Seed(const std::string& name) {
  return std::string(TINTWELL_TEST_DATA) + "/fuzz/seeds-pictures/" + name;
}

void ExpectGrad(const TRaster24& image) {
  ASSERT_EQ(image.Width(), 16);
  ASSERT_EQ(image.Height(), 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(image.Pixel(x, y), RGB(17 * x, 36 * y, 255 - 17 * x)) << x << "," << y;
}

void ExpectChecker(const TRaster24& image) {
  ASSERT_EQ(image.Width(), 16);
  ASSERT_EQ(image.Height(), 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(image.Pixel(x, y), (x + y) % 3 == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255))
          << x << "," << y;
}

class PictureSeeds : public ::testing::Test {
 protected:
  void Load(const std::string& name) {
    test::TWarningRecorder recorder;
    Graphic.LoadFromFile(Seed(name));
    EXPECT_TRUE(recorder.Messages.empty());
    EXPECT_EQ(Graphic.FileName(), Seed(name));
  }
  TQCGraphic Graphic;
};

TEST_F(PictureSeeds, VersionZeroWithSingleByteTexts) {
  Load("grad-v0.twf");
  EXPECT_EQ(Graphic.Version(), 0);
  EXPECT_EQ(Graphic.GetTitle(""), "Caf\xC3\xA9");
  EXPECT_EQ(Graphic.GetAuthor(""), "\xE2\x82\xAC Ann");
  ExpectGrad(Graphic.Image());
}

TEST_F(PictureSeeds, VersionOne) {
  Load("grad-v1.twf");
  EXPECT_EQ(Graphic.Version(), 1);
  EXPECT_EQ(Graphic.GetTitle(""), "Gradient");
  ExpectGrad(Graphic.Image());
}

TEST_F(PictureSeeds, VersionTwoInterlaced) {
  Load("grad-v2.twf");
  EXPECT_EQ(Graphic.GetDescription(""), "Stored size");
  ExpectGrad(Graphic.Image());
}

TEST_F(PictureSeeds, VersionThreeWithTwoLanguages) {
  Load("checker-v3.twf");
  EXPECT_EQ(Graphic.GetTitle("de_de"), "Schachbrett");
  EXPECT_EQ(Graphic.GetAuthor("EN_US"), "Ann");
  ExpectChecker(Graphic.Image());
}

TEST_F(PictureSeeds, VersionThreeWithoutEntries) {
  Load("checker-v3-none.twf");
  EXPECT_TRUE(Graphic.Entries().empty());
  ExpectChecker(Graphic.Image());
}

TEST_F(PictureSeeds, VersionSevenWithALongDescriptionAndAWrongStoredSize) {
  Load("checker-v7.twf");
  EXPECT_EQ(Graphic.Version(), 7);
  EXPECT_EQ(Graphic.GetTitle("en_us"), "Caf\xC3\xA9");
  const std::string description = Graphic.GetDescription("en_us");
  ASSERT_EQ(description.size(), 300u);
  for (size_t i = 0; i < description.size(); ++i) EXPECT_EQ(description[i], char('a' + i % 26));
  EXPECT_EQ(Graphic.Width(), 16);
  EXPECT_EQ(Graphic.Height(), 8);
  ExpectChecker(Graphic.Image());
}

}  // namespace
}  // namespace tw
