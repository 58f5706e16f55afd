// The shipped picture catalog, data/catalog/*.twf, made by
// scripts/make-catalog.sh: every picture loads through TQCGraphic, speaks
// every interface language, is a clean black-and-white colouring page of a
// sensible size, and is credited.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pictures/PictureTestUtil.h"
#include "pictures/QCGraphicU.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

const std::string RepositoryTop = TINTWELL_TEST_DATA "/..";
const std::vector<std::string> ShippedLanguages = {"en_us", "de_de", "fr_fr", "es_es", "it_it",
                                                   "nl_nl", "pl_pl", "pt_br", "ru_ru", "uk_ua"};
constexpr size_t MinCatalogSize = 25;

std::vector<std::string> CatalogFiles() {
  std::vector<std::string> files;
  const fs::path folder = fs::path(RepositoryTop) / "data" / "catalog";
  if (!fs::is_directory(folder)) return files;
  for (const auto& item : fs::directory_iterator(folder)) {
    if (item.path().extension() == ".twf") files.push_back(item.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadWholeFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Counts pure black and pure white pixels; anything else counts as other.
struct TPixelCount {
  int64_t Black = 0, White = 0, Other = 0;
};

TPixelCount CountPixels(const TRaster24& image) {
  TPixelCount count;
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* p = image.Row(y);
    for (int x = 0; x < image.Width(); ++x, p += 3) {
      if (p[0] == 0 && p[1] == 0 && p[2] == 0) {
        ++count.Black;
      } else if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
        ++count.White;
      } else {
        ++count.Other;
      }
    }
  }
  return count;
}

// Whether the outermost rows and columns are all white, so the paper around
// the drawing is one connected area that a fill covers in one go.
bool HasWhiteFrame(const TRaster24& image) {
  auto white = [&](int x, int y) {
    const uint8_t* p = image.Row(y) + 3 * x;
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
  };
  for (int x = 0; x < image.Width(); ++x) {
    if (!white(x, 0) || !white(x, image.Height() - 1)) return false;
  }
  for (int y = 0; y < image.Height(); ++y) {
    if (!white(0, y) || !white(image.Width() - 1, y)) return false;
  }
  return true;
}

TEST(CatalogTest, ShipsAtLeastTwentyFivePictures) {
  EXPECT_GE(CatalogFiles().size(), MinCatalogSize);
}

TEST(CatalogTest, EveryPictureLoadsWithoutAWarning) {
  for (const std::string& file : CatalogFiles()) {
    SCOPED_TRACE(file);
    test::TWarningRecorder recorder;
    TQCGraphic graphic;
    ASSERT_NO_THROW(graphic.LoadFromFile(file));
    EXPECT_TRUE(recorder.Messages.empty());
    EXPECT_EQ(graphic.Version(), CurrentPictureVersion);
    EXPECT_FALSE(graphic.FileName().empty());
  }
}

TEST(CatalogTest, EveryPictureHasItsTextsInEveryShippedLanguage) {
  for (const std::string& file : CatalogFiles()) {
    SCOPED_TRACE(file);
    test::TWarningRecorder recorder;
    TQCGraphic graphic;
    ASSERT_NO_THROW(graphic.LoadFromFile(file));
    EXPECT_EQ(graphic.Entries().size(), ShippedLanguages.size());
    const std::string author = graphic.GetAuthor("en_us");
    for (const std::string& language : ShippedLanguages) {
      SCOPED_TRACE(language);
      EXPECT_FALSE(graphic.GetTitle(language).empty());
      EXPECT_FALSE(graphic.GetDescription(language).empty());
      EXPECT_FALSE(graphic.GetAuthor(language).empty());
      // The author is a name, the same whatever the interface language.
      EXPECT_EQ(graphic.GetAuthor(language), author);
    }
    // Children see a name, never an address to write to.
    EXPECT_EQ(author.find('@'), std::string::npos) << author;
    // Translations are real: a language other than English has its own
    // description, not a copy of the English one.
    EXPECT_NE(graphic.GetDescription("de_de"), graphic.GetDescription("en_us"));
    EXPECT_NE(graphic.GetDescription("ru_ru"), graphic.GetDescription("uk_ua"));
  }
}

TEST(CatalogTest, EveryImageIsPureBlackAndWhiteLineArt) {
  for (const std::string& file : CatalogFiles()) {
    SCOPED_TRACE(file);
    test::TWarningRecorder recorder;
    TQCGraphic graphic;
    ASSERT_NO_THROW(graphic.LoadFromFile(file));
    const TRaster24& image = graphic.Image();
    ASSERT_FALSE(image.IsEmpty());
    EXPECT_EQ(graphic.Width(), image.Width());
    EXPECT_EQ(graphic.Height(), image.Height());
    const TPixelCount count = CountPixels(image);
    EXPECT_EQ(count.Other, 0);
    // Lines, not blots: most of a colouring page is paper to colour.
    const int64_t area = int64_t(image.Width()) * image.Height();
    EXPECT_GT(count.Black, area / 50);
    EXPECT_LT(count.Black, area / 2);
    EXPECT_TRUE(HasWhiteFrame(image));
  }
}

TEST(CatalogTest, EveryImageIsAboutTwelveHundredPixelsOnItsLongSide) {
  for (const std::string& file : CatalogFiles()) {
    SCOPED_TRACE(file);
    test::TWarningRecorder recorder;
    TQCGraphic graphic;
    ASSERT_NO_THROW(graphic.LoadFromFile(file));
    const int longSide = std::max(graphic.Width(), graphic.Height());
    EXPECT_GE(longSide, 1100);
    EXPECT_LE(longSide, 1300);
  }
}

TEST(CatalogTest, CreditsNameEveryPictureAndItsLicence) {
  const std::string credits = ReadWholeFile(RepositoryTop + "/CREDITS");
  ASSERT_FALSE(credits.empty());
  for (const std::string& file : CatalogFiles()) {
    const std::string entry = "data/catalog/" + fs::path(file).filename().string() + ":";
    const size_t at = credits.find(entry);
    ASSERT_NE(at, std::string::npos) << entry;
    const size_t next = credits.find("data/catalog/", at + entry.size());
    const std::string block = credits.substr(at, next == std::string::npos ? next : next - at);
    EXPECT_NE(block.find("author:"), std::string::npos) << entry;
    EXPECT_NE(block.find("source:  openclipart-svg, "), std::string::npos) << entry;
    EXPECT_NE(block.find("licence: public domain"), std::string::npos) << entry;
    // The full credit stays here; the name the picture shows is either it or
    // given on its own line.
    test::TWarningRecorder recorder;
    TQCGraphic graphic;
    ASSERT_NO_THROW(graphic.LoadFromFile(file));
    const std::string shown = graphic.GetAuthor("en_us");
    EXPECT_TRUE(block.find("author:  " + shown + "\n") != std::string::npos ||
                block.find("shown:   " + shown + "\n") != std::string::npos)
        << entry << " " << shown;
  }
}

}  // namespace
}  // namespace tw
